// A hostile "moon" and a file system that refuses to save: the game, played
// as a player plays it, never crashes, always draws its table, and leaves the
// file either a well-formed ten-record file or exactly as it was.
#include "GameSession.h"
#include "HighscoreFile.h"

#include <sys/stat.h>

#include <random>
#include <regex>
#include <string>
#include <vector>

namespace {

std::string randomBytes() {
    std::mt19937 generator(20261206u);
    std::string bytes(64 * 1024, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(generator() & 0xFF);
    }
    return bytes;
}

std::string hundredThousandLines() {
    std::string bytes;
    for (int i = 0; i < 50000; ++i) {
        bytes += "Player " + std::to_string(i) + "\n" + std::to_string(i * 7919 % 100000) + "\n";
    }
    return bytes;
}

std::string oneMebibyteLine() {
    return std::string(1024 * 1024, 'a') + "\n";
}

// Ten records: these names with falling scores, or these scores with plain names.
std::string recordsWith(const std::vector<std::string>& names,
                        const std::vector<std::string>& scores) {
    std::vector<ScoreRecord> records;
    for (int i = 0; i < RecordsKept; ++i) {
        records.push_back({names.empty() ? "s" + std::to_string(i) : names[i],
                           scores.empty() ? std::to_string(100 - 10 * i) : scores[i]});
    }
    return highscoreFileOf(records);
}

std::string oddBytesInNames() {
    std::string high;
    for (int b = 128; b <= 255; ++b) {
        high += static_cast<char>(b);
    }
    return recordsWith({high, "tab\there", "\x01\x02\x03 ctrl", "\x1b[31mred\x1b[0m", "cr\rin name",
                        "del\x7f", std::string("nul\0after", 9), "caf\xc3\xa9 utf8", "\xff\xfe",
                        "plain"},
                       {});
}

std::string scoresBeyondInt() {
    return recordsWith({}, {"2147483648", "-2147483649", "99999999999999999999",
                            "-99999999999999999999", "4294967296", "2147483647", "-2147483648",
                            "+12", "0042", "  7"});
}

std::string crLfLineEnds() {
    return std::regex_replace(negativeScoresFile(), std::regex("\n"), "\r\n");
}

struct BadFile {
    const char* name;
    std::string (*bytes)();
};

void PrintTo(const BadFile& file, std::ostream* out) {
    *out << file.name;  // not its bytes
}

const BadFile BadFiles[] = {
    {"RandomBytes", randomBytes},         {"HundredThousandLines", hundredThousandLines},
    {"OneMebibyteLine", oneMebibyteLine}, {"HighBytesAndControlsInNames", oddBytesInNames},
    {"ScoresBeyondInt", scoresBeyondInt}, {"CrLfLineEnds", crLfLineEnds}};

bool isTable(const Image& image) {
    return cornersAreBackground(image) && !showsMainMenu(image) && !showsStatusLine(image) &&
           !showsNameEntry(image) && !showsDifficultyMenu(image);
}

// Each case is run both ways: the table visited from the main menu, and a
// game finished; then Escape ends the program.
class BadInput : public GameSession {
protected:
    // "Highscore", the table, any key, the main menu again, Escape.
    void visitTableAndQuit(const LaunchSettings& settings = LaunchSettings()) {
        ASSERT_TRUE(reachMainMenu(settings));
        choose(MainMenuRows[1]);
        ASSERT_TRUE(waitForSteadyScreen("the high-score table", isTable));
        leaveTableAndQuit();
    }

    // A game on "Easy" ended with Escape at 0 points, a name when it earns a
    // place, the table, the main menu again, Escape.
    void finishAGameAndQuit(const LaunchSettings& settings = LaunchSettings()) {
        ASSERT_TRUE(reachMainMenu(settings) && startPlaying(DifficultyRows[0]));
        pressKey("Escape");
        ASSERT_TRUE(waitForSteadyScreen("the name entry or the table", [](const Image& image) {
            return showsNameEntry(image) || isTable(image);
        }));
        enteredName = showsNameEntry(lastScreenshot());
        if (enteredName) {
            typeText("Bad");
            pressKey("Return");
            ASSERT_TRUE(waitForSteadyScreen("the high-score table", isTable));
        }
        leaveTableAndQuit();
        EXPECT_EQ(bottomLeftText(lastScreenshot()), "Last round's Points: 0");
    }

    // The table showed what the file now holds when it is whole; otherwise
    // the file is exactly what it was.
    void expectWholeOrUnchanged(const std::string& before) {
        const std::string after = readWorkFile("moon");
        EXPECT_EQ(workListing(), (std::vector<std::string>{"icon.bmp", "moon"}));
        if (malformation(after) != "") {
            EXPECT_EQ(after, before)
                << "\"moon\" is neither whole (" << malformation(after) << ") nor as it was";
            return;
        }
        const std::vector<ScoreRecord> records = recordsOf(after);
        for (int i = 0; i < TableRows; ++i) {
            EXPECT_EQ(shownRows[i], asRead(visibleRow(records[i]), TableRowCells)) << "row " << i;
        }
    }

    std::vector<std::string> shownRows;
    bool enteredName = false;

private:
    void leaveTableAndQuit() {
        shownRows = tableRows(lastScreenshot());
        pressKey("space");
        ASSERT_TRUE(waitForScreen("the main menu", showsMainMenu));
        expectEscapeEndsWithZero();
    }
};

class BadFileContent : public BadInput, public testing::WithParamInterface<BadFile> {};

TEST_P(BadFileContent, VisitingTheTableAndQuitting) {
    const std::string before = GetParam().bytes();
    writeWorkFile("moon", before);
    ASSERT_NO_FATAL_FAILURE(visitTableAndQuit());
    expectWholeOrUnchanged(before);
}

TEST_P(BadFileContent, FinishingAGameAndQuitting) {
    const std::string before = GetParam().bytes();
    writeWorkFile("moon", before);
    ASSERT_NO_FATAL_FAILURE(finishAGameAndQuit());
    expectWholeOrUnchanged(before);
}

INSTANTIATE_TEST_SUITE_P(Moon, BadFileContent, testing::ValuesIn(BadFiles),
                         [](const testing::TestParamInfo<BadFile>& info) {
                             return std::string(info.param.name);
                         });

// A directory named "moon" can be neither read nor replaced.
class MoonIsADirectory : public BadInput {
protected:
    void SetUp() override {
        BadInput::SetUp();
        ASSERT_EQ(mkdir(workPath("moon").c_str(), 0755), 0);
        writeWorkFile("moon/inside", "kept\n");
    }
    void expectDirectoryUntouched() {
        EXPECT_EQ(readWorkFile("moon/inside"), "kept\n");
        EXPECT_EQ(workListing(), (std::vector<std::string>{"icon.bmp", "moon"}));
        EXPECT_EQ(shownRows, std::vector<std::string>(TableRows, "")) << "an unreadable list";
    }
};

TEST_F(MoonIsADirectory, VisitingTheTableAndQuitting) {
    ASSERT_NO_FATAL_FAILURE(visitTableAndQuit());
    expectDirectoryUntouched();
}

TEST_F(MoonIsADirectory, FinishingAGameAndQuitting) {
    ASSERT_NO_FATAL_FAILURE(finishAGameAndQuit());
    EXPECT_FALSE(enteredName) << "0 points earned a place in an unreadable list";
    expectDirectoryUntouched();
}

// A save that cannot complete must leave "moon" as it was.
class SaveFails : public BadInput {
protected:
    void SetUp() override {
        BadInput::SetUp();
        writeWorkFile("moon", negativeScoresFile());
    }
    void expectNothingLost(const std::vector<std::string>& listing) {
        EXPECT_EQ(readWorkFile("moon"), negativeScoresFile());
        EXPECT_EQ(workListing(), listing) << "a failed save left something behind";
        EXPECT_EQ(shownRows.front(), "Old 1 -1") << "the table shows the file as it was";
    }
};

// The working directory is a full file system.
class FullFileSystem : public SaveFails {
protected:
    void SetUp() override {
        SaveFails::SetUp();
        if (!fillWorkDirFileSystem()) {
            GTEST_SKIP() << "mounting a small tmpfs is not permitted here";
        }
    }
};

TEST_F(FullFileSystem, VisitingTheTableAndQuitting) {
    ASSERT_NO_FATAL_FAILURE(visitTableAndQuit());
    expectNothingLost({"filler", "icon.bmp", "moon"});
}

TEST_F(FullFileSystem, FinishingAGameWithANewEntryAndQuitting) {
    ASSERT_NO_FATAL_FAILURE(finishAGameAndQuit());
    EXPECT_TRUE(enteredName) << "0 points beat the scores below 0";
    expectNothingLost({"filler", "icon.bmp", "moon"});
}

// Writing more than a few bytes fails with EFBIG (or, were SIGXFSZ not
// ignored by the game, the kernel would end it).
class FileSizeLimit : public SaveFails {};

TEST_F(FileSizeLimit, FinishingAGameWithANewEntryAndQuitting) {
    LaunchSettings settings;
    settings.fileSizeLimit = 16;  // any save of ten records needs more
    ASSERT_NO_FATAL_FAILURE(finishAGameAndQuit(settings));
    EXPECT_TRUE(enteredName);
    expectNothingLost({"icon.bmp", "moon"});
}

}  // namespace
