#include "text/PageCues.h"
#include "text/TextDisplay.h"

namespace {

constexpr const char* PointsPrefix = "Points: ";
constexpr const char* LivesPrefix = "Lives: ";

constexpr float StatusBaselineY = -0.9f;
constexpr float PointsX = -0.9f;
constexpr float LivesX = -0.5f;
constexpr float LevelX = -0.1f;

}  // namespace

std::string TextDisplay::numberText(int n) {
    numberStream << n;
    std::string text = numberStream.str();
    // The stream is shared by the three texts: leave nothing for the next one.
    numberStream.str("");
    numberStream.clear();
    return text;
}

void TextDisplay::setPoints(int points) {
    pointsText = PointsPrefix + numberText(points);
}

void TextDisplay::setLives(int lives) {
    livesText = LivesPrefix + numberText(lives);
}

void TextDisplay::setLevel(int level) {
    levelText = LevelPrefix + numberText(level);
}

void TextDisplay::updateStatusLine(int points, int lives, int level) {
    setPoints(points);
    setLives(lives);
    setLevel(level);
}

void TextDisplay::drawStatusLine() {
    glColor3fv(textColor);
    glRasterPos2f(PointsX, StatusBaselineY);
    printString(pointsText);
    glRasterPos2f(LivesX, StatusBaselineY);
    printString(livesText);
    glRasterPos2f(LevelX, StatusBaselineY);
    printString(levelText);
}
