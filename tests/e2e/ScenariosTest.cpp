// What only the real program under a real X server shows: the window at the start, a
// whole game by real clicks and keys, a save the file-size limit stops.
#include "GameSession.h"

#include <stb_image.h>

#include <cstdlib>

// libxdo 3 keeps a keyboard map from Xlib that it never frees: not a leak of ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:XkbGetMap\n";
}

namespace {

// The first two items of a menu: text from x 240 on baselines 210 and 255, clicked at x 300.
constexpr int ItemClickYs[] = {205, 250};
constexpr int BottomBaseline = 570;  // the status line, the last round's points
// The first ball to come down on "Normal" is the one that rand()'s unseeded
// sequence puts lowest: red, at x -0.351 (pixel 195), 0.2 above the field.
constexpr int LowestBallX = 195;
constexpr int FieldMiddle = 300;
// "moon": "Top" 999, then the new record, then "Old" -1, -3, ... to ten records.
// The odd scores leave no tie with the even points of a game on "Normal".
std::string moonFile(const Records& newRecord = {}) {
    Records records = {{"Top", 999}};
    records.insert(records.end(), newRecord.begin(), newRecord.end());
    for (int score = -1; records.size() < 10; score -= 2) {
        records.emplace_back("Old", score);
    }
    return scoreFile(records);
}

Shows reads(int left, int baseline, const std::string& text) {
    return [=](const Image& image) {
        return readText(image, left, baseline, static_cast<int>(text.size()) + 1) == text;
    };
}

const Shows showsMainMenu = reads(240, 210, "New game");  // the picture is compared once

// The number after prefix at the bottom left; -1 when that does not show.
int numberAfter(const std::string& prefix, const Image& image) {
    const std::string text = readText(image, 30, BottomBaseline, 30);
    return text.rfind(prefix, 0) == 0 ? std::atoi(text.c_str() + prefix.size()) : -1;
}

class Scenarios : public GameSession {
protected:
    bool choose(int item, const std::string& what, const Shows& shows) {
        click(300, ItemClickYs[item]);
        return waitFor(what, shows);
    }
};

TEST_F(Scenarios, StartShowsCaptionSizeIconAndMenuAndEscapeEndsWithZero) {
    ASSERT_TRUE(launch());  // found by its caption
    int width = 0, height = 0, channels = 0;
    const std::unique_ptr<stbi_uc, void (*)(void*)> file(
        stbi_load(workPath("icon.bmp").c_str(), &width, &height, &channels, 3), stbi_image_free);
    const std::vector<unsigned long> icon = windowIcon();
    ASSERT_TRUE(file && icon.size() == 2u + width * height) << "_NET_WM_ICON: w, h, ARGB pixels";
    EXPECT_EQ(icon[0], static_cast<unsigned long>(width));
    int transparent = 0;
    int unlike = 0;  // icon.bmp's pixels are opaque but for magenta at alpha 0
    for (int i = 0; i < width * height; ++i) {
        const stbi_uc* p = file.get() + 3 * i;
        const unsigned long rgb = p[0] << 16 | p[1] << 8 | p[2];
        const unsigned long argb = icon[2 + i] & 0xFFFFFFFF;  // Xlib sign-extends 32-bit items
        transparent += rgb == 0xFF00FF;
        unlike += rgb == 0xFF00FF ? argb >> 24 != 0 : argb != (0xFF000000 | rgb);
    }
    EXPECT_EQ(unlike, 0);
    EXPECT_GT(transparent, 0) << "icon.bmp has no magenta to check";

    // A frame reaches the window in one X request: no screenshot shows half of one.
    ASSERT_TRUE(waitFor("the main menu", showsMainMenu));
    EXPECT_EQ(differenceFromReference(lastShot, "main-menu"), "");
    pressKey("Escape");
    expectExitStatusZero();
    EXPECT_EQ(workEntries(), 1) << "nothing but icon.bmp";
}

// Start-up, a game on "Normal", a hit by the matching button fired under the
// lowest ball, Escape, the name entry, the table, the file.
TEST_F(Scenarios, AWholeGameEntersATypedNameThatTheTableShowsAndTheFileKeeps) {
    writeFile(workPath("moon"), moonFile());
    ASSERT_TRUE(launch() && waitFor("the main menu", showsMainMenu) &&
                choose(0, "the difficulty menu", reads(240, 210, "Easy")) &&
                choose(1, "a game on Normal", reads(30, BottomBaseline, "Points: 0")));
    // Once it is halfway down, a red shot under it meets it within a tenth of its fall.
    waitFor("the first ball halfway down", [](const Image& image) {
        const Rgb p = image.at(LowestBallX, FieldMiddle);
        return p.r > p.b + 50;
    });
    click(LowestBallX, FieldMiddle, 3);
    EXPECT_TRUE(
        waitFor("a hit", [](const Image& image) { return numberAfter("Points: ", image) > 0; }));
    pressKey("Escape");  // ends the game like its last life lost
    ASSERT_TRUE(waitFor("the name entry", reads(120, 180, "Please enter your name:")));
    const int points = numberAfter("Last round's Points: ", lastShot);
    ASSERT_GT(points, 0);
    EXPECT_EQ(points % 2, 0) << "a hit on Normal is worth 2";
    typeText("Ann Lee");
    ASSERT_TRUE(waitFor("the typed name", reads(120, 210, "Ann Lee")));
    pressKey("Return");
    const std::string row = "Ann Lee " + std::to_string(points);
    ASSERT_TRUE(waitFor("the name second in the table", reads(240, 90, row)));
    pressKey("space");
    ASSERT_TRUE(waitFor("the main menu", showsMainMenu));
    pressKey("Escape");
    expectExitStatusZero();
    EXPECT_EQ(readFile(workPath("moon")), moonFile({{"Ann Lee", points}}));
}

// The game ignores SIGXFSZ itself; it starts at its default, which would end it.
TEST_F(Scenarios, ASaveStoppedByTheFileSizeLimitLeavesTheFileWholeAndNoTemporary) {
    writeFile(workPath("moon"), moonFile());
    ASSERT_TRUE(launch(static_cast<long>(moonFile().size()) - 1));
    ASSERT_TRUE(waitFor("the main menu", showsMainMenu));
    ASSERT_TRUE(choose(1, "the table", reads(240, 30, "Top 999")));
    pressKey("space");  // leaving the table saves the list
    ASSERT_TRUE(waitFor("the main menu", showsMainMenu));
    pressKey("Escape");
    expectExitStatusZero();
    EXPECT_EQ(readFile(workPath("moon")), moonFile());
    EXPECT_EQ(workEntries(), 3) << "a temporary file left beside icon.bmp, moon and its lock";
}

}  // namespace
