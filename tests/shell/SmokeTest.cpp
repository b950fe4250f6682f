#include "shell/Game.h"
#include "support/TestSupport.h"
#include "text/TextDisplay.h"

#include <gtest/gtest.h>

TEST(GlyphReadBack, GOfNewGameMatchesItsRows) {
    Game& game = testGame();
    game.beginOverlayFrame();
    game.beginOverlayFrame();
    game.getTextDisplay().drawMainMenu();
    const std::vector<std::uint8_t> expected = {0x7E, 0xC3, 0x03, 0x03, 0x7F, 0xC3, 0xC3,
                                                0xC3, 0x7E, 0,    0,    0,    0};
    EXPECT_EQ(readGlyphCell(280, 390), expected);
}
