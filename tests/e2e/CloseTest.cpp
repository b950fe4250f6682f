// Closing the window ends the program at once with status 0, in every
// screen, and never writes "moon": a game or a name in progress is dropped.
#include "GameSession.h"
#include "HighscoreFile.h"
#include "Screens.h"

namespace {

// Ten records with scores below 0, so that a game of 0 points earns a place,
// and one line more than a save writes, so that any save would show.
const std::string SeededFile = highscoreFileOf({{"Ann Lee", "-1"},
                                                {"Bob", "-2"},
                                                {"C3PO", "-3"},
                                                {"dan", "-4"},
                                                {"Eve Two", "-5"},
                                                {"F", "-6"},
                                                {"g h i", "-7"},
                                                {"Jo", "-8"},
                                                {"K9", "-9"},
                                                {"Zed", "-10"}}) +
                               "a line no save writes\n";

class WindowClose : public GameSession {
protected:
    void SetUp() override {
        GameSession::SetUp();
        writeWorkFile("moon", SeededFile);
    }

    bool reachMainMenu() { return launch() && waitForSteadyScreen("the main menu", showsMainMenu); }

    bool reachPlay() {
        if (!reachMainMenu()) {
            return false;
        }
        click(MenuClickX, MainMenuRows[0].clickY);
        if (!waitForScreen("the difficulty menu", showsDifficultyMenu)) {
            return false;
        }
        click(MenuClickX, DifficultyRows[0].clickY);
        return waitForScreen("the status line", showsStatusLine);
    }

    void closeAndExpectNothingWritten() {
        requestWindowClose();
        ASSERT_TRUE(waitForExit());
        EXPECT_EQ(exitDescription(), "exit status 0");
        EXPECT_EQ(readWorkFile("moon"), SeededFile) << "\"moon\" was written";
        EXPECT_EQ(workListing(), (std::vector<std::string>{"icon.bmp", "moon"}));
    }
};

TEST_F(WindowClose, InTheMainMenu) {
    ASSERT_TRUE(reachMainMenu());
    closeAndExpectNothingWritten();
}

TEST_F(WindowClose, InTheDifficultyMenu) {
    ASSERT_TRUE(reachMainMenu());
    click(MenuClickX, MainMenuRows[0].clickY);
    ASSERT_TRUE(waitForScreen("the difficulty menu", showsDifficultyMenu));
    closeAndExpectNothingWritten();
}

TEST_F(WindowClose, InTheInstructions) {
    ASSERT_TRUE(reachMainMenu());
    click(MenuClickX, MainMenuRows[2].clickY);
    ASSERT_TRUE(waitForScreen("the instructions", showsInstructions));
    closeAndExpectNothingWritten();
}

TEST_F(WindowClose, DuringPlay) {
    ASSERT_TRUE(reachPlay());
    closeAndExpectNothingWritten();
}

TEST_F(WindowClose, InTheNameEntryWithANameTyped) {
    ASSERT_TRUE(reachPlay());
    pressKey("Escape");
    ASSERT_TRUE(waitForScreen("the name entry", showsNameEntry));
    typeText("Ann");
    ASSERT_TRUE(waitForScreen("the typed name",
                              [](const Image& image) { return typedName(image) == "Ann"; }));
    closeAndExpectNothingWritten();
}

TEST_F(WindowClose, InTheHighscoreScreen) {
    ASSERT_TRUE(reachMainMenu());
    click(MenuClickX, MainMenuRows[1].clickY);
    ASSERT_TRUE(waitForScreen("the table", [](const Image& image) {
        return tableRows(image).front() == "Ann Lee -1" && tableRows(image).back() == "Zed -10";
    }));
    closeAndExpectNothingWritten();
}

TEST_F(WindowClose, InTheHighscoreScreenAfterAGame) {
    ASSERT_TRUE(reachPlay());
    pressKey("Escape");
    ASSERT_TRUE(waitForScreen("the name entry", showsNameEntry));
    typeText("New");
    pressKey("Return");
    // The game's end has written the new entry; the table shows it.
    ASSERT_TRUE(waitForScreen("the table with the new entry", [](const Image& image) {
        return tableRows(image).front() == "New 0";
    }));
    const std::string afterGame = readWorkFile("moon");
    EXPECT_EQ(malformation(afterGame), "");
    requestWindowClose();
    ASSERT_TRUE(waitForExit());
    EXPECT_EQ(exitDescription(), "exit status 0");
    EXPECT_EQ(readWorkFile("moon"), afterGame) << "leaving by closing the window wrote \"moon\"";
}

}  // namespace
