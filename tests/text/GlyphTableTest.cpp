#include "FrameInk.h"

#include "text/TextDisplay.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int BaselineRow = 2;
constexpr int TopRow = 12;
constexpr int XHeightTop = 8;  // the top row of a lowercase body

bool rowHasInk(char c, int row) {
    return glyphRows(c)[row] != 0;
}

int highestInkedRow(char c) {
    int row = TopRow;
    while (row >= 0 && !rowHasInk(c, row)) {
        --row;
    }
    return row;
}

}  // namespace

TEST(GlyphTable, SevenGlyphsHaveTheirFixedRows) {
    const std::vector<std::pair<char, std::vector<std::uint8_t>>> fixedGlyphs = {
        {' ', {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {'!', {0x00, 0x00, 0x18, 0x18, 0x00, 0x00, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18}},
        {'0', {0x00, 0x00, 0x3C, 0x66, 0xC3, 0xE3, 0xF3, 0xDB, 0xCF, 0xC7, 0xC3, 0x66, 0x3C}},
        {'A', {0x00, 0x00, 0xC3, 0xC3, 0xC3, 0xC3, 0xFF, 0xC3, 0xC3, 0xC3, 0x66, 0x3C, 0x18}},
        {'_', {0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {'g', {0x7E, 0xC3, 0x03, 0x03, 0x7F, 0xC3, 0xC3, 0xC3, 0x7E, 0x00, 0x00, 0x00, 0x00}},
        {'|', {0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18}},
    };
    for (const auto& [c, rows] : fixedGlyphs) {
        EXPECT_EQ(glyphRows(c), rows) << "glyph '" << c << "'";
    }
}

TEST(GlyphTable, ExactlyTheNineHangingGlyphsUseBothRowsBelowTheBaseline) {
    const std::string hanging = "/\\_|gjpqy";
    for (char c : printableCharacters()) {
        const bool hangs = hanging.find(c) != std::string::npos;
        EXPECT_EQ(rowHasInk(c, 0), hangs) << "glyph '" << c << "' row 0";
        EXPECT_EQ(rowHasInk(c, 1), hangs) << "glyph '" << c << "' row 1";
    }
}

TEST(GlyphTable, LettersAndDigitsStandOnTheBaselineAndReachTheirHeight) {
    const struct {
        std::string glyphs;
        int lowestTop;
        int highestTop;
    } heights[] = {
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", TopRow, TopRow},
        {"acemnorsuvwxz", XHeightTop, XHeightTop},  // the body of 'g'
        {"bdfhklt", XHeightTop + 1, TopRow},
    };
    for (const auto& group : heights) {
        for (char c : group.glyphs) {
            EXPECT_TRUE(rowHasInk(c, BaselineRow)) << "glyph '" << c << "' is off the baseline";
            EXPECT_GE(highestInkedRow(c), group.lowestTop) << "glyph '" << c << "'";
            EXPECT_LE(highestInkedRow(c), group.highestTop) << "glyph '" << c << "'";
        }
    }
}

// With the blank all zeros, this also means every other glyph has ink.
TEST(GlyphTable, NoTwoCharactersShareAGlyph) {
    std::set<std::vector<std::uint8_t>> seen;
    for (char c : printableCharacters()) {
        EXPECT_TRUE(seen.insert(glyphRows(c)).second) << "glyph '" << c << "' repeats another";
    }
}
