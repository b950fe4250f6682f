// Closing the window ends the program at once with status 0, in every
// screen, and never writes "moon": a game or a name in progress is dropped.
#include "GameSession.h"
#include "HighscoreFile.h"

namespace {

// Scores below 0, so that a game of 0 points earns a place, and a line more
// than a save writes, so that any save would show.
const std::string SeededFile = negativeScoresFile() + "a line no save writes\n";

class WindowClose : public GameSession {
protected:
    void SetUp() override {
        GameSession::SetUp();
        writeWorkFile("moon", SeededFile);
        ASSERT_TRUE(reachMainMenu());
    }

    void closeAndExpectNothingWritten() {
        requestWindowClose();
        expectExitStatus(0);
        EXPECT_EQ(readWorkFile("moon"), SeededFile) << "\"moon\" was written";
        EXPECT_EQ(workListing(), (std::vector<std::string>{"icon.bmp", "moon"}));
    }
};

TEST_F(WindowClose, InTheMainMenu) {
    closeAndExpectNothingWritten();
}

TEST_F(WindowClose, InTheDifficultyMenu) {
    ASSERT_TRUE(choose(MainMenuRows[0], "the difficulty menu", showsDifficultyMenu));
    closeAndExpectNothingWritten();
}

TEST_F(WindowClose, InTheInstructions) {
    ASSERT_TRUE(choose(MainMenuRows[2], "the instructions", showsInstructions));
    closeAndExpectNothingWritten();
}

TEST_F(WindowClose, InTheHighscoreScreen) {
    ASSERT_TRUE(choose(MainMenuRows[1], "the table", [](const Image& image) {
        return tableRows(image).front() == "Old 1 -1" && tableRows(image).back() == "Old 10 -10";
    }));
    closeAndExpectNothingWritten();
}

TEST_F(WindowClose, DuringPlay) {
    ASSERT_TRUE(startPlaying(DifficultyRows[0]));
    closeAndExpectNothingWritten();
}

TEST_F(WindowClose, InTheNameEntryWithANameTyped) {
    ASSERT_TRUE(startPlaying(DifficultyRows[0]));
    pressKey("Escape");
    ASSERT_TRUE(waitForScreen("the name entry", showsNameEntry));
    typeText("Ann");
    ASSERT_TRUE(waitForScreen("the typed name",
                              [](const Image& image) { return typedName(image) == "Ann"; }));
    closeAndExpectNothingWritten();
}

}  // namespace
