#pragma once

#include <GL/gl.h>

#include <sstream>
#include <string>

// The built-in 8 x 13 raster font and every text the game draws. Needs a
// current OpenGL context; one exists, owned by the game. Main thread only.
class TextDisplay {
public:
    static constexpr int FirstGlyph = 32;    // blank
    static constexpr int GlyphCount = 95;    // 32..126
    static constexpr int GlyphRows = 13;     // bottom row first
    static constexpr int GlyphAdvance = 10;  // pixels per character

    TextDisplay();   // flat shading, then builds the font's display lists
    ~TextDisplay();  // the lists live as long as the context

    // Draws at the current raster position, then makes textColor current (it
    // applies from the next raster position on). Bytes outside 32..126 draw
    // nothing and take no space.
    void printString(const char* text);
    void printString(const std::string& text);

    // Screen texts (text/ScreenTexts.cpp); each expects a begun overlay frame.
    void drawMainMenu();
    void drawDifficultyMenu();
    void drawInstructions();
    void drawLastRound();  // "Last round's " + pointsText, nothing before the first game

    // Status line (text/StatusLine.cpp): texts made on updates, drawn each frame.
    void setPoints(int points);
    void setLives(int lives);
    void setLevel(int level);
    void updateStatusLine(int points, int lives, int level);
    void drawStatusLine();  // at x 30, 150, 270 px on the baseline 30 px above the bottom

    const std::string& getPointsText() const { return pointsText; }
    const std::string& getLivesText() const { return livesText; }
    const std::string& getLevelText() const { return levelText; }
    const GLfloat* getTextColor() const { return textColor; }

private:
    void buildFont();
    std::string numberText(int n);  // decimal through numberStream, emptied after use

    unsigned char glyphRasters[GlyphCount][GlyphRows];
    GLuint listBase = 0;  // list of byte b is listBase + b, for all 256 byte values
    GLfloat textColor[4] = {0.2f, 0.2f, 0.3f, 1.0f};
    std::stringstream numberStream{std::ios::in | std::ios::out};
    std::string pointsText;  // "Points: N", empty until the first level starts
    std::string livesText;
    std::string levelText;
};
