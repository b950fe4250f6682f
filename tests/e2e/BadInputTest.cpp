// A hostile "moon" and a file system that refuses to save: the game, played
// as a player plays it, never crashes, always draws its table, and leaves the
// file either a well-formed ten-record file or exactly as it was.
#include "GameSession.h"
#include "HighscoreFile.h"
#include "Screens.h"
#include "TextReader.h"

#include <sys/stat.h>

#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::size_t RandomBytes = 64 * 1024;
constexpr unsigned RandomSeed = 20261206u;
constexpr int ManyLines = 100000;
constexpr std::size_t LongLineBytes = 1024 * 1024;
// Any save of ten records needs more than this.
constexpr long TinyFileSize = 16;

std::string randomBytes() {
    std::mt19937 generator(RandomSeed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(RandomBytes, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(byte(generator));
    }
    return bytes;
}

std::string manyLines() {
    std::string bytes;
    for (int i = 0; i < ManyLines / 2; ++i) {
        bytes += "Player " + std::to_string(i) + "\n" + std::to_string(i * 7919 % 100000) + "\n";
    }
    return bytes;
}

std::string oneLongLine() {
    std::string bytes;
    const std::string letters = "abcdefghij";
    while (bytes.size() < LongLineBytes) {
        bytes += letters;
    }
    bytes.resize(LongLineBytes);
    return bytes + "\n";
}

std::string oddBytesInNames() {
    std::string high;
    for (int b = 128; b <= 255; ++b) {
        high += static_cast<char>(b);
    }
    return highscoreFileOf({{high, "100"},
                            {"tab\there", "90"},
                            {"\x01\x02\x03 ctrl", "80"},
                            {"\x1b[31mred\x1b[0m", "70"},
                            {"cr\rin name", "60"},
                            {"del\x7f", "50"},
                            {std::string("nul\0after", 9), "40"},
                            {"caf\xc3\xa9 utf8", "30"},
                            {"\xff\xfe", "20"},
                            {"plain", "10"}});
}

std::string scoresBeyondInt() {
    return highscoreFileOf({{"s0", "2147483648"},
                            {"s1", "-2147483649"},
                            {"s2", "99999999999999999999"},
                            {"s3", "-99999999999999999999"},
                            {"s4", "4294967296"},
                            {"s5", "2147483647"},
                            {"s6", "-2147483648"},
                            {"s7", "+12"},
                            {"s8", "0042"},
                            {"s9", "  7"}});
}

std::string crlfLines() {
    std::string bytes;
    const char* names[] = {"Ann", "Bob", "Cy", "Di", "Ed", "Flo", "Gus", "Hal", "Ivy", "Jay"};
    int score = 100;
    for (const char* name : names) {
        bytes += std::string(name) + "\r\n" + std::to_string(score) + "\r\n";
        score -= 10;
    }
    return bytes;
}

// A well-formed file whose scores are below 0, so that a game of 0 points
// earns a place and its end must save.
std::string negativeScores() {
    std::vector<ScoreRecord> records;
    for (int i = 1; i <= RecordsKept; ++i) {
        records.push_back({"Old " + std::to_string(i), std::to_string(-i)});
    }
    return highscoreFileOf(records);
}

struct BadFile {
    const char* name;
    std::string (*bytes)();
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const BadFile& file, std::ostream* out) {
    *out << file.name;
}

const BadFile BadFiles[] = {
    {"RandomBytes", randomBytes},         {"HundredThousandLines", manyLines},
    {"OneMebibyteLine", oneLongLine},     {"HighBytesAndControlsInNames", oddBytesInNames},
    {"ScoresBeyondInt", scoresBeyondInt}, {"CrLfLineEnds", crlfLines}};

bool isTable(const Image& image) {
    return cornersAreBackground(image) && !showsMainMenu(image) && !showsStatusLine(image) &&
           !showsNameEntry(image) && !showsDifficultyMenu(image);
}

class BadInput : public GameSession {
protected:
    bool reachMainMenu() { return waitForSteadyScreen("the main menu", showsMainMenu); }

    // Main menu, "Highscore", the table, any key, the main menu again.
    bool visitTable() {
        click(MenuClickX, MainMenuRows[1].clickY);
        if (!waitForSteadyScreen("the high-score table", isTable)) {
            return false;
        }
        shownRows = tableRows(lastScreenshot());
        pressKey("space");
        return reachMainMenu();
    }

    // A game on "Easy" ended with Escape at 0 points, a name when it earns a
    // place, the table, the main menu again.
    bool finishAGame() {
        click(MenuClickX, MainMenuRows[0].clickY);
        if (!waitForScreen("the difficulty menu", showsDifficultyMenu)) {
            return false;
        }
        click(MenuClickX, DifficultyRows[0].clickY);
        if (!waitForScreen("the status line", showsStatusLine)) {
            return false;
        }
        pressKey("Escape");
        if (!waitForSteadyScreen("the name entry or the table", [](const Image& image) {
                return showsNameEntry(image) || isTable(image);
            })) {
            return false;
        }
        enteredName = showsNameEntry(lastScreenshot());
        if (enteredName) {
            typeText("Bad");
            pressKey("Return");
            if (!waitForSteadyScreen("the high-score table", isTable)) {
                return false;
            }
        }
        shownRows = tableRows(lastScreenshot());
        pressKey("space");
        return waitForScreen("the main menu after the game", [](const Image& image) {
            return showsMainMenu(image) && bottomLeftText(image) == "Last round's Points: 0";
        });
    }

    void quitWithStatusZero() {
        pressKey("Escape");
        ASSERT_TRUE(waitForExit());
        EXPECT_EQ(exitDescription(), "exit status 0");
    }

    // The table showed what the file now holds, row for row, when it is
    // whole; otherwise the file is exactly what it was.
    void expectWholeOrUnchanged(const std::string& before) {
        const std::string after = readWorkFile("moon");
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
};

class BadFileContent : public BadInput, public testing::WithParamInterface<BadFile> {};

TEST_P(BadFileContent, VisitingTheTableAndQuitting) {
    const std::string before = GetParam().bytes();
    writeWorkFile("moon", before);
    ASSERT_TRUE(launch() && reachMainMenu());
    ASSERT_TRUE(visitTable());
    quitWithStatusZero();
    expectWholeOrUnchanged(before);
    EXPECT_EQ(workListing(), (std::vector<std::string>{"icon.bmp", "moon"}));
}

TEST_P(BadFileContent, FinishingAGameAndQuitting) {
    const std::string before = GetParam().bytes();
    writeWorkFile("moon", before);
    ASSERT_TRUE(launch() && reachMainMenu());
    ASSERT_TRUE(finishAGame());
    quitWithStatusZero();
    expectWholeOrUnchanged(before);
    EXPECT_EQ(workListing(), (std::vector<std::string>{"icon.bmp", "moon"}));
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
    ASSERT_TRUE(launch() && reachMainMenu());
    ASSERT_TRUE(visitTable());
    quitWithStatusZero();
    expectDirectoryUntouched();
}

TEST_F(MoonIsADirectory, FinishingAGameAndQuitting) {
    ASSERT_TRUE(launch() && reachMainMenu());
    ASSERT_TRUE(finishAGame());
    EXPECT_FALSE(enteredName) << "0 points earned a place in an unreadable list";
    quitWithStatusZero();
    expectDirectoryUntouched();
}

// A save that cannot complete: the working directory is a full file system.
class FullFileSystem : public BadInput {
protected:
    void SetUp() override {
        BadInput::SetUp();
        writeWorkFile("moon", negativeScores());
        if (!fillWorkDirFileSystem()) {
            GTEST_SKIP() << "mounting a small tmpfs is not permitted here";
        }
    }
    void expectNothingLost() {
        EXPECT_EQ(readWorkFile("moon"), negativeScores());
        EXPECT_EQ(workListing(), (std::vector<std::string>{"filler", "icon.bmp", "moon"}))
            << "a failed save left something behind";
        EXPECT_EQ(shownRows.front(), "Old 1 -1") << "the table shows the file as it was";
    }
};

TEST_F(FullFileSystem, VisitingTheTableAndQuitting) {
    ASSERT_TRUE(launch() && reachMainMenu());
    ASSERT_TRUE(visitTable());
    quitWithStatusZero();
    expectNothingLost();
}

TEST_F(FullFileSystem, FinishingAGameWithANewEntryAndQuitting) {
    ASSERT_TRUE(launch() && reachMainMenu());
    ASSERT_TRUE(finishAGame());
    EXPECT_TRUE(enteredName) << "0 points beat the scores below 0";
    quitWithStatusZero();
    expectNothingLost();
}

// A save that cannot complete: writing more than a few bytes fails with
// EFBIG, as under a small "ulimit -f" in a shell that ignores SIGXFSZ (with
// the signal's default action the kernel ends the writer instead).
class FileSizeLimit : public BadInput {
protected:
    void SetUp() override {
        BadInput::SetUp();
        writeWorkFile("moon", negativeScores());
    }
};

TEST_F(FileSizeLimit, FinishingAGameWithANewEntryAndQuitting) {
    LaunchSettings settings;
    settings.fileSizeLimit = TinyFileSize;
    ASSERT_TRUE(launch(settings) && reachMainMenu());
    ASSERT_TRUE(finishAGame());
    EXPECT_TRUE(enteredName);
    quitWithStatusZero();
    EXPECT_EQ(readWorkFile("moon"), negativeScores());
    EXPECT_EQ(workListing(), (std::vector<std::string>{"icon.bmp", "moon"}))
        << "a failed save left something behind";
}

}  // namespace
