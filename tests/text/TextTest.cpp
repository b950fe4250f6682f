// Every text of the game, compared with pictures of how it has always looked.
// A reference is rewritten after a deliberate change by running the test with
// QUENDLE_UPDATE_REFERENCES=1 (see HACKING.md), then looked at and committed.
#include "shell/Game.h"
#include "support/TestSupport.h"
#include "text/TextDisplay.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace {

TextDisplay& text() {
    return testGame().getTextDisplay();
}

// All 95 glyphs, 19 to a line; control and high bytes between them must draw
// nothing and take no space. The first line's colour is fixed at its raster
// position, before printString makes the text colour current for the rest.
void drawFontSheet() {
    glColor3f(1.0f, 0.0f, 0.0f);
    for (int line = 0; line < 5; ++line) {
        glRasterPos2f(-0.9f, 0.8f - 0.1f * line);
        std::string glyphs;
        for (int c = 32 + 19 * line; c < 32 + 19 * (line + 1); ++c) {
            glyphs += static_cast<char>(c);
        }
        text().printString(glyphs);
    }
    glRasterPos2f(-0.9f, 0.2f);
    text().printString("\x01"
                       "A\t\x7f\x80\xc8\x1f"
                       "A\xff");
}

}  // namespace

// The menus set a colour of their own first (0.2, 0, 0); no text may take it.
TEST(Texts, EachScreenLooksAsItsReference) {
    const struct {
        const char* name;
        void (*draw)();
    } screens[] = {
        {"font", drawFontSheet},
        {"main-menu",
         [] {
             glColor3f(0.2f, 0.0f, 0.0f);
             text().drawMainMenu();
             text().drawLastRound();
         }},
        {"difficulty-menu",
         [] {
             glColor3f(0.2f, 0.0f, 0.0f);
             text().drawDifficultyMenu();
         }},
        {"instructions", [] { text().drawInstructions(); }},
        // A five-digit score runs into "Lives: ", which stays put; the three
        // texts share one number stream, which must be left empty each time.
        {"status-line",
         [] {
             text().updateStatusLine(10000, 3, 12);
             text().drawStatusLine();
         }},
        {"main-menu-after-a-game",
         [] {
             text().updateStatusLine(-130, 2, 3);
             glColor3f(0.2f, 0.0f, 0.0f);
             text().drawMainMenu();
             text().drawLastRound();
         }},
    };
    for (const auto& screen : screens) {
        EXPECT_EQ(differenceFromReference(drawnFrame(screen.draw), screen.name), "") << screen.name;
    }
}
