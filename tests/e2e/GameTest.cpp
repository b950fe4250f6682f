// Whole games, played with the mouse and the keyboard: the status line, the
// lives that missed shots cost, a hit found and fired at by a small bot, the
// name entry and what reaches the file "moon".
#include "BallFinder.h"
#include "GameSession.h"
#include "HighscoreFile.h"
#include "Screens.h"

#include <string>

namespace {

constexpr int FieldClickY = 300;  // where play clicks land; only x matters to a shot
constexpr int LeftButton = 1;     // blue shots
constexpr int RightButton = 3;    // red shots
// The status line and what lies below it are no place to look for balls.
constexpr int StatusLineTop = 550;
// A shot crosses the whole field in 0.21 s of play; a hit shows well within this.
constexpr double ShotFlightSeconds = 2.0;
// Balls on "Normal" appear within some seconds and take over 9 s to fall through.
constexpr double BotSeconds = 60.0;
// Shots the bot may miss with before its lives run short: five lives, one kept.
constexpr int BotShots = 4;
constexpr int NormalPointsPerHit = 2;
// A shot can meet a ball whose centre is within 0.1 (30 px) of its x; a ball
// is 30 px in radius. A column this wide with no ball in sight stays clear for
// the 0.21 s a shot needs: a ball not yet in sight is too high to be reached.
constexpr int ClearHalfWidth = 70;
constexpr int ShotColumns[] = {75, 225, 375, 525, 150, 450, 300};

int numberAfter(const std::string& text, const std::string& prefix) {
    return std::stoi(text.substr(prefix.size()));
}

bool showsStatus(const Image& image, const char* points, const char* lives, const char* level) {
    const StatusLine status = readStatusLine(image);
    return status.points == points && status.lives == lives && status.level == level;
}

class Games : public GameSession {
protected:
    // From the start to the first frames of play on the given difficulty row.
    bool startPlaying(const MenuRow& difficulty) {
        if (!launch() || !waitForSteadyScreen("the main menu", showsMainMenu)) {
            return false;
        }
        click(MenuClickX, MainMenuRows[0].clickY);
        if (!waitForScreen("the difficulty menu", showsDifficultyMenu)) {
            return false;
        }
        click(MenuClickX, difficulty.clickY);
        return waitForScreen("the status line of a new game", [](const Image& image) {
            return showsStatus(image, "Points: 0", "Lives: 5", "Level: 0");
        });
    }

    // The bot: fires the matching button under the lowest ball on screen
    // until the points change. Returns the points, or 0 when no shot hit.
    int hitABall() {
        const double deadline = nowSeconds() + BotSeconds;
        int shotsLeft = BotShots;
        while (nowSeconds() < deadline) {
            const Image image = screenshot();
            const int points = pointsOn(image);
            if (points != 0) {
                return points;
            }
            const BallSpot* target = lowestBall(image);
            if (target != nullptr && shotsLeft > 0) {
                click(target->centerX, FieldClickY, target->blue ? LeftButton : RightButton);
                --shotsLeft;
                const int hit = awaitPoints();
                if (hit != 0) {
                    return hit;
                }
            }
            pollPause();
        }
        return 0;
    }

    // A window x where shots fired now reach the top without meeting a ball.
    int clearShotX() {
        int clearX = -1;
        waitForScreen("a column without balls to shoot through", [&](const Image& image) {
            for (int x : ShotColumns) {
                if (isClearColumn(image, x, ClearHalfWidth, StatusLineTop)) {
                    clearX = x;
                    return true;
                }
            }
            return false;
        });
        return clearX;
    }

private:
    static int pointsOn(const Image& image) {
        if (!showsStatusLine(image)) {
            return 0;
        }
        return numberAfter(readStatusLine(image).points, "Points: ");
    }

    const BallSpot* lowestBall(const Image& image) {
        balls = findBalls(image);
        for (const BallSpot& ball : balls) {
            if (ball.bottom < StatusLineTop) {
                return &ball;
            }
        }
        return nullptr;
    }

    int awaitPoints() {
        const double deadline = nowSeconds() + ShotFlightSeconds;
        while (nowSeconds() < deadline) {
            const int points = pointsOn(screenshot());
            if (points != 0) {
                return points;
            }
            pollPause();
        }
        return 0;
    }

    std::vector<BallSpot> balls;
};

TEST_F(Games, StatusLineStartsAtZeroPointsFiveLivesLevelZero) {
    ASSERT_TRUE(startPlaying(DifficultyRows[0]));
    EXPECT_TRUE(cornersAreBackground(lastScreenshot()));
}

TEST_F(Games, EveryShotThatReachesTheTopCostsOneLife) {
    ASSERT_TRUE(startPlaying(DifficultyRows[0]));
    const int firstX = clearShotX();
    ASSERT_GE(firstX, 0);
    click(firstX, FieldClickY, LeftButton);
    ASSERT_TRUE(waitForScreen("a life lost to one shot", [](const Image& image) {
        return showsStatus(image, "Points: 0", "Lives: 4", "Level: 0");
    }));
    const int nextX = clearShotX();
    ASSERT_GE(nextX, 0);
    clickTimes(nextX, FieldClickY, RightButton, 3);
    ASSERT_TRUE(waitForScreen("three more lives lost to three shots", [](const Image& image) {
        return showsStatus(image, "Points: 0", "Lives: 1", "Level: 0");
    }));
}

TEST_F(Games, FiveMissesOnEasyEndTheGameWithNoEntryAndZeroPointsInTheMainMenu) {
    ASSERT_TRUE(startPlaying(DifficultyRows[0]));
    const int x = clearShotX();
    ASSERT_GE(x, 0);
    clickTimes(x, FieldClickY, LeftButton, 5);

    // Without "moon" the list is empty and 0 points earn no place: no name
    // entry. The list, written empty, reads back as ten entries of 0.
    const std::vector<std::string> zeros(TableRows, " 0");
    ASSERT_TRUE(waitForScreen("the high-score table of ten empty entries",
                              [&](const Image& image) { return tableRows(image) == zeros; }));
    EXPECT_FALSE(showsStatusLine(lastScreenshot()));
    pressKey("Return");
    ASSERT_TRUE(waitForScreen("the main menu with the last round's points", [](const Image& image) {
        return showsMainMenu(image) && bottomLeftText(image) == "Last round's Points: 0";
    }));
    pressKey("Escape");
    ASSERT_TRUE(waitForExit());
    EXPECT_EQ(exitDescription(), "exit status 0");
    const std::string file = readWorkFile("moon");
    EXPECT_EQ(malformation(file), "");
    for (const ScoreRecord& record : recordsOf(file)) {
        EXPECT_EQ(record.name, "");
        EXPECT_EQ(record.score, "0");
    }
}

TEST_F(Games, AHitOnNormalIsEnteredWithATypedNameAndKeptInTheFile) {
    ASSERT_TRUE(startPlaying(DifficultyRows[1]));
    const int hitPoints = hitABall();
    ASSERT_GT(hitPoints, 0) << "the bot hit nothing; see the last screenshot";
    EXPECT_EQ(hitPoints % NormalPointsPerHit, 0) << hitPoints;

    // Escape ends the game like the last life lost.
    pressKey("Escape");
    ASSERT_TRUE(waitForScreen("the name entry", showsNameEntry));
    const std::string lastRound = bottomLeftText(lastScreenshot());
    ASSERT_EQ(lastRound.rfind("Last round's Points: ", 0), 0u) << lastRound;
    const int points = numberAfter(lastRound, "Last round's Points: ");
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
    EXPECT_EQ(bottomLeftText(lastScreenshot()),
              "Last round's " + std::string("Points: ") + std::to_string(points));
    pressKey("Escape");
    ASSERT_TRUE(waitForExit());
    EXPECT_EQ(exitDescription(), "exit status 0");

    const std::string file = readWorkFile("moon");
    EXPECT_EQ(malformation(file), "");
    const std::vector<ScoreRecord> records = recordsOf(file);
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.front().name, "Ann Lee");
    EXPECT_EQ(records.front().score, std::to_string(points));
}

}  // namespace
