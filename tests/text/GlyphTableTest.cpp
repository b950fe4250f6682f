#include "FrameInk.h"

#include "text/GlyphTable.h"
#include "text/TextDisplay.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int BelowBaselineRows = 2;  // rows 0 and 1
constexpr int TopRow = 12;
constexpr int BaselineRow = 2;
constexpr int XHeightTop = 8;  // the top row of a lowercase body

const std::string HangingGlyphs = "/\\_|gjpqy";
const std::string FlatLowercase = "acemnorsuvwxz";  // no ascender, no descender

std::string printableCharacters() {
    std::string all;
    for (int c = TextDisplay::FirstGlyph; c < TextDisplay::FirstGlyph + TextDisplay::GlyphCount;
         ++c) {
        all += static_cast<char>(c);
    }
    return all;
}

std::string describe(char c) {
    return std::string("glyph '") + c + "'";
}

bool rowHasInk(char c, int row) {
    return glyphRows(c)[row] != 0;
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
        EXPECT_EQ(glyphRows(c), rows) << describe(c);
    }
}

TEST(GlyphTable, OnlyTheNineHangingGlyphsReachBelowTheBaseline) {
    for (char c : printableCharacters()) {
        const bool hangs = rowHasInk(c, 0) || rowHasInk(c, 1);
        const bool mayHang = HangingGlyphs.find(c) != std::string::npos;
        if (!mayHang) {
            EXPECT_FALSE(hangs) << describe(c) << " uses rows 0-1";
        }
    }
}

TEST(GlyphTable, TheLettersWithDescendersUseBothRowsBelowTheBaseline) {
    for (char c : std::string("gjpqy/\\_|")) {
        for (int row = 0; row < BelowBaselineRows; ++row) {
            EXPECT_TRUE(rowHasInk(c, row)) << describe(c) << " row " << row;
        }
    }
}

TEST(GlyphTable, CapitalsAndDigitsStandOnTheBaselineAndReachTheTopRow) {
    for (char c : printableCharacters()) {
        if (!std::isupper(static_cast<unsigned char>(c)) &&
            !std::isdigit(static_cast<unsigned char>(c))) {
            continue;
        }
        EXPECT_TRUE(rowHasInk(c, BaselineRow)) << describe(c) << " does not stand on row 2";
        EXPECT_TRUE(rowHasInk(c, TopRow)) << describe(c) << " does not reach row 12";
    }
}

TEST(GlyphTable, LowercaseWithoutAscendersFillsTheBodyOfG) {
    for (char c : FlatLowercase) {
        EXPECT_TRUE(rowHasInk(c, BaselineRow)) << describe(c);
        EXPECT_TRUE(rowHasInk(c, XHeightTop)) << describe(c);
        for (int row = XHeightTop + 1; row <= TopRow; ++row) {
            EXPECT_FALSE(rowHasInk(c, row)) << describe(c) << " row " << row;
        }
    }
}

TEST(GlyphTable, LowercaseWithAscendersReachAboveTheBody) {
    for (char c : std::string("bdfhklt")) {
        bool above = false;
        for (int row = XHeightTop + 1; row <= TopRow; ++row) {
            above = above || rowHasInk(c, row);
        }
        EXPECT_TRUE(above) << describe(c);
    }
}

TEST(GlyphTable, EveryCharacterButTheBlankHasInk) {
    for (char c : printableCharacters()) {
        int inkRows = 0;
        for (int row = 0; row <= TopRow; ++row) {
            inkRows += rowHasInk(c, row) ? 1 : 0;
        }
        if (c == ' ') {
            EXPECT_EQ(inkRows, 0);
        } else {
            EXPECT_GT(inkRows, 0) << describe(c) << " is empty";
        }
    }
}

TEST(GlyphTable, NoTwoCharactersShareAGlyph) {
    std::set<std::vector<std::uint8_t>> seen;
    for (char c : printableCharacters()) {
        EXPECT_TRUE(seen.insert(glyphRows(c)).second) << describe(c) << " repeats another glyph";
    }
}
