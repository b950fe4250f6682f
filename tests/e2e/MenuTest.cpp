// The main menu's ways into the other screens and back, clicked and keyed as
// a player does.
#include "GameSession.h"
#include "HighscoreFile.h"

namespace {

class Menus : public GameSession {};

TEST_F(Menus, InstructionsShowTheTenLinesAndAnyKeyOrButtonLeadsBack) {
    ASSERT_TRUE(reachMainMenu());
    ASSERT_TRUE(choose(MainMenuRows[2], "the instructions", showsInstructions));
    pressKey("space");
    ASSERT_TRUE(waitForScreen("the main menu after a key", showsMainMenu));
    ASSERT_TRUE(choose(MainMenuRows[2], "the instructions again", showsInstructions));
    click(300, 500, 3);
    ASSERT_TRUE(waitForScreen("the main menu after a right click", showsMainMenu));
}

TEST_F(Menus, HighscoreShowsTheFileBestFirstAndAnyButtonLeadsBack) {
    const std::vector<ScoreRecord> records = {
        {"Ann Lee", "900"}, {"Bob", "800"},   {"C3PO", "700"}, {"dan", "600"}, {"Eve Two", "500"},
        {"F", "400"},       {"g h i", "300"}, {"Jo", "200"},   {"", "0"},      {"Zed", "-5"}};
    const std::string file = highscoreFileOf(records);
    writeWorkFile("moon", file);
    std::vector<std::string> expected;
    for (const ScoreRecord& record : records) {
        expected.push_back(visibleRow(record));
    }
    ASSERT_TRUE(reachMainMenu());
    ASSERT_TRUE(choose(MainMenuRows[1], "the ten rows of the table",
                       [&](const Image& image) { return tableRows(image) == expected; }));
    click(300, 300);
    ASSERT_TRUE(waitForScreen("the main menu again", showsMainMenu));
    EXPECT_EQ(readWorkFile("moon"), file) << "leaving the table writes the same bytes back";
}

TEST_F(Menus, HighscoreWithoutAFileShowsAnEmptyTableAndLeavesAnEmptyFile) {
    ASSERT_TRUE(reachMainMenu());
    choose(MainMenuRows[1]);
    ASSERT_TRUE(waitForSteadyScreen("an empty table", isBlank));
    pressKey("Escape");
    ASSERT_TRUE(waitForScreen("the main menu again", showsMainMenu));
    EXPECT_EQ(workListing(), (std::vector<std::string>{"icon.bmp", "moon"}));
    EXPECT_EQ(readWorkFile("moon"), "");
}

TEST_F(Menus, NewGameThenEscapeInTheDifficultyMenuLeadsBackToTheMainMenu) {
    ASSERT_TRUE(reachMainMenu());
    ASSERT_TRUE(choose(MainMenuRows[0], "the difficulty menu", showsDifficultyMenu));
    pressKey("Escape");
    ASSERT_TRUE(waitForSteadyScreen("the main menu again", showsMainMenu));
    EXPECT_EQ(bottomLeftText(lastScreenshot()), "") << "no game was played";
}

}  // namespace
