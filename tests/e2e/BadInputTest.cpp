// A hostile "moon" and a file system that refuses to save: the game, played
// as a player plays it, never crashes, always draws its table, and leaves the
// file either a well-formed ten-record file or exactly as it was.
#include "GameSession.h"
#include "HighscoreFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <regex>
#include <string>
#include <vector>

namespace {

// Ten records: these names with falling scores, or plain names with these scores.
std::string tenRecords(const std::vector<std::string>& names,
                       const std::vector<std::string>& scores) {
    std::vector<ScoreRecord> records;
    for (int i = 0; i < RecordsKept; ++i) {
        records.push_back({names.empty() ? "s" + std::to_string(i) : names[i],
                           scores.empty() ? std::to_string(100 - 10 * i) : scores[i]});
    }
    return highscoreFileOf(records);
}

struct BadFile {
    const char* name;
    std::string (*bytes)();
};

void PrintTo(const BadFile& file, std::ostream* out) {
    *out << file.name;  // not its bytes
}

const BadFile BadFiles[] = {
    {"RandomBytes",
     [] {
         std::mt19937 generator(20261206u);
         std::string bytes(64 * 1024, '\0');
         std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<char>(generator()); });
         return bytes;
     }},
    {"HundredThousandLines",
     [] {
         std::string bytes;
         for (int i = 0; i < 50000; ++i) {
             bytes +=
                 "Player " + std::to_string(i) + "\n" + std::to_string(i * 7919 % 100000) + "\n";
         }
         return bytes;
     }},
    {"OneMebibyteLine", [] { return std::string(1024 * 1024, 'a') + "\n"; }},
    {"HighBytesAndControlsInNames",
     [] {
         std::string high(128, '\0');
         std::iota(high.begin(), high.end(), '\x80');  // bytes 128 to 255
         return tenRecords({high, "tab\there", "\x01\x02\x03 ctrl", "\x1b[31mred\x1b[0m",
                            "cr\rin name", "del\x7f", std::string("nul\0after", 9),
                            "caf\xc3\xa9 utf8", "\xff\xfe", "plain"},
                           {});
     }},
    {"ScoresBeyondInt",
     [] {
         return tenRecords({}, {"2147483648", "-2147483649", "99999999999999999999",
                                "-99999999999999999999", "4294967296", "2147483647", "-2147483648",
                                "+12", "0042", "  7"});
     }},
    {"CrLfLineEnds",
     [] { return std::regex_replace(negativeScoresFile(), std::regex("\n"), "\r\n"); }}};

bool isTable(const Image& image) {
    return cornersAreBackground(image) && !showsMainMenu(image) && !showsStatusLine(image) &&
           !showsNameEntry(image) && !showsDifficultyMenu(image);
}

// Each case is run both ways: the table visited from the main menu, and a
// game finished; then any key leads to the main menu and Escape ends the program.
class BadInput : public GameSession {
protected:
    void visitTableAndQuit() {
        ASSERT_TRUE(reachMainMenu());
        choose(MainMenuRows[1]);
        ASSERT_TRUE(waitForSteadyScreen("the high-score table", isTable));
        leaveTableAndQuit();
    }

    // A game on "Easy" ended with Escape at 0 points, and a name typed when it earns a place.
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

class BadFileContent : public BadInput, public testing::WithParamInterface<BadFile> {
protected:
    void SetUp() override {
        BadInput::SetUp();
        writeWorkFile("moon", before);
    }

    // The table showed what the file now holds when it is whole; otherwise
    // the file is exactly what it was.
    void expectWholeOrUnchanged() {
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

    const std::string before = GetParam().bytes();
};

TEST_P(BadFileContent, VisitingTheTableAndQuitting) {
    ASSERT_NO_FATAL_FAILURE(visitTableAndQuit());
    expectWholeOrUnchanged();
}

TEST_P(BadFileContent, FinishingAGameAndQuitting) {
    ASSERT_NO_FATAL_FAILURE(finishAGameAndQuit());
    expectWholeOrUnchanged();
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

// A save that cannot complete must leave "moon" as it was: on a full file
// system, or under a file-size limit that fails every save with EFBIG (were
// SIGXFSZ not ignored by the game, the kernel would end it).
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

TEST_F(SaveFails, UnderAFileSizeLimitFinishingAGameWithANewEntryAndQuitting) {
    LaunchSettings settings;
    settings.fileSizeLimit = 16;  // any save of ten records needs more
    ASSERT_NO_FATAL_FAILURE(finishAGameAndQuit(settings));
    EXPECT_TRUE(enteredName);
    expectNothingLost({"icon.bmp", "moon"});
}

}  // namespace
