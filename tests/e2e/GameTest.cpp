// Whole games, played with the mouse and the keyboard: the status line, the
// lives that missed shots cost, a hit found and fired at by a small bot, the
// name entry and what reaches the file "moon".
#include "GameSession.h"
#include "HighscoreFile.h"

#include <optional>
#include <string>

namespace {

constexpr int FieldClickY = 300;    // where play clicks land; only x matters to a shot
constexpr int StatusLineTop = 550;  // no place to look for balls below
// A shot crosses the whole field in 0.21 s of play; a hit shows well within this.
constexpr double ShotFlightSeconds = 2.0;
// Balls on "Normal" appear within some seconds and take over 9 s to fall through.
constexpr double BotSeconds = 60.0;
constexpr int BotShots = 4;  // misses cost lives: five, one kept
constexpr int NormalPointsPerHit = 2;
// Lit balls, red (0.4, 0.1, 0.1) and blue (0.1, 0.1, 0.5), stand out of the
// background and the text by this much; a ball is 60 px wide, a dart 12.
constexpr int FamilyMargin = 50;
constexpr int MinBallRun = 24;
// A shot meets a ball whose centre is within 30 px of its x; a column this
// wide with no ball in sight stays clear for the 0.21 s a shot needs.
constexpr int ClearHalfWidth = 70;
constexpr int ShotColumns[] = {75, 225, 375, 525, 150, 450, 300};
const std::string LastRound = "Last round's Points: ";

// A ball's or a shot's colour, as the mouse button that fires it.
enum Family { None = 0, Blue = 1, Red = 3 };

Family familyOf(Rgb p) {
    if (p.r - p.b > FamilyMargin && p.r - p.g > FamilyMargin) {
        return Red;
    }
    return p.b - p.r > FamilyMargin && p.b - p.g > FamilyMargin ? Blue : None;
}

// The lowest ball in the field: the lowest row with a run of one colour
// wider than any dart; the middle of a chord is the ball's centre.
std::optional<std::pair<Family, int>> lowestBall(const Image& image) {
    for (int y = StatusLineTop - 1; y >= 0; --y) {
        for (int x = 0, end = 1; x < image.width(); x = end++) {
            const Family family = familyOf(image.at(x, y));
            while (end < image.width() && familyOf(image.at(end, y)) == family) {
                ++end;
            }
            if (family != None && end - x >= MinBallRun) {
                return std::make_pair(family, (x + end - 1) / 2);
            }
        }
    }
    return std::nullopt;
}

// No pixel of a ball or a shot in the columns x +- ClearHalfWidth above the status line.
bool isClearColumn(const Image& image, int x) {
    for (int y = 0; y < StatusLineTop; ++y) {
        for (int dx = -ClearHalfWidth; dx <= ClearHalfWidth; ++dx) {
            if (image.contains(x + dx, y) && familyOf(image.at(x + dx, y)) != None) {
                return false;
            }
        }
    }
    return true;
}

int pointsOn(const Image& image) {
    const std::vector<int> numbers = statusNumbers(image);
    return numbers.empty() ? 0 : numbers[0];
}

Shows livesLeft(int lives) {
    return [lives](const Image& image) {
        return statusNumbers(image) == std::vector<int>{0, lives, 0};
    };
}

class Games : public GameSession {
protected:
    // Fires the matching button under the lowest ball until the points change;
    // the points, or 0 when no shot hit.
    int hitABall() {
        int shotsLeft = BotShots;
        int points = 0;
        pollUntil(BotSeconds, [&] {
            if (const auto ball = lowestBall(screenshot())) {
                click(ball->second, FieldClickY, ball->first);
                --shotsLeft;
                if (pollFor(ShotFlightSeconds, [](const Image& i) { return pointsOn(i) != 0; })) {
                    points = pointsOn(lastScreenshot());
                }
            }
            return points != 0 || shotsLeft == 0;
        });
        return points;
    }

    // Fires these shots at once where they reach the top without meeting a ball.
    bool missWith(Family button, int shots) {
        int clearX = -1;
        if (!waitForScreen("a column without balls to shoot through", [&](const Image& image) {
                for (int x : ShotColumns) {
                    clearX = isClearColumn(image, x) ? x : clearX;
                }
                return clearX >= 0;
            })) {
            return false;
        }
        click(clearX, FieldClickY, button, shots);
        return true;
    }
};

TEST_F(Games, EveryShotThatReachesTheTopCostsOneLife) {
    ASSERT_TRUE(reachMainMenu() && startPlaying(DifficultyRows[0]));
    EXPECT_TRUE(cornersAreBackground(lastScreenshot()));
    ASSERT_TRUE(missWith(Blue, 1));
    ASSERT_TRUE(waitForScreen("a life lost to one shot", livesLeft(4)));
    ASSERT_TRUE(missWith(Red, 3));
    ASSERT_TRUE(waitForScreen("three more lives lost to three shots", livesLeft(1)));
}

TEST_F(Games, FiveMissesOnEasyEndTheGameWithNoEntryAndZeroPointsInTheMainMenu) {
    ASSERT_TRUE(reachMainMenu() && startPlaying(DifficultyRows[0]));
    ASSERT_TRUE(missWith(Blue, 5));

    // Without "moon" the list is empty and 0 points earn no place: no name
    // entry. The list, written empty, reads back as ten entries of 0.
    const std::vector<std::string> zeros(TableRows, " 0");
    ASSERT_TRUE(waitForScreen("the high-score table of ten empty entries",
                              [&](const Image& image) { return tableRows(image) == zeros; }));
    pressKey("Return");
    ASSERT_TRUE(waitForScreen("the main menu with the last round's points", [](const Image& image) {
        return showsMainMenu(image) && bottomLeftText(image) == LastRound + "0";
    }));
    expectEscapeEndsWithZero();
    EXPECT_EQ(readWorkFile("moon"), highscoreFileOf(std::vector<ScoreRecord>(10, {"", "0"})));
}

TEST_F(Games, AHitOnNormalIsEnteredWithATypedNameAndKeptInTheFile) {
    ASSERT_TRUE(reachMainMenu() && startPlaying(DifficultyRows[1]));
    const int hitPoints = hitABall();
    ASSERT_GT(hitPoints, 0) << "the bot hit nothing; see the last screenshot";
    EXPECT_EQ(hitPoints % NormalPointsPerHit, 0) << hitPoints;

    pressKey("Escape");  // ends the game like the last life lost
    ASSERT_TRUE(waitForScreen("the name entry", showsNameEntry));
    const std::string lastRound = bottomLeftText(lastScreenshot());
    ASSERT_EQ(lastRound.rfind(LastRound, 0), 0u) << lastRound;
    const int points = std::stoi(lastRound.substr(LastRound.size()));
    EXPECT_GE(points, hitPoints);
    EXPECT_EQ(points % NormalPointsPerHit, 0) << points;
    EXPECT_EQ(typedName(lastScreenshot()), "");

    typeText("Ann Lee");
    ASSERT_TRUE(waitForScreen("the typed name",
                              [](const Image& image) { return typedName(image) == "Ann Lee"; }));
    pressKey("Return");
    const std::string row = "Ann Lee " + std::to_string(points);
    ASSERT_TRUE(waitForScreen("the table with the new entry on top",
                              [&](const Image& image) { return tableRows(image).front() == row; }));
    pressKey("space");
    ASSERT_TRUE(waitForScreen("the main menu", showsMainMenu));
    EXPECT_EQ(bottomLeftText(lastScreenshot()), LastRound + std::to_string(points));
    expectEscapeEndsWithZero();

    const std::string file = readWorkFile("moon");
    EXPECT_EQ(malformation(file), "");
    EXPECT_EQ(file.rfind("Ann Lee\n" + std::to_string(points) + "\n", 0), 0u) << file;
}

}  // namespace
