#include "text/TextDisplay.h"

#include "text/GlyphTable.h"

#include <cstring>

namespace {

// One list name for every byte value, so that a byte outside the printable
// range always calls an empty list of the font's own: it draws nothing and
// moves nothing, whatever lists exist beside the font.
constexpr GLsizei ReservedLists = 256;
constexpr int LastGlyph = TextDisplay::FirstGlyph + TextDisplay::GlyphCount - 1;
constexpr GLsizei GlyphWidth = 8;
constexpr GLfloat GlyphOriginY = 2.0f;  // rows 0-1 hang below the baseline

}  // namespace

TextDisplay::TextDisplay() {
    std::memcpy(glyphRasters, GlyphTable, sizeof glyphRasters);
    glShadeModel(GL_FLAT);
    buildFont();
}

TextDisplay::~TextDisplay() = default;

void TextDisplay::buildFont() {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    listBase = glGenLists(ReservedLists);
    for (int c = FirstGlyph; c <= LastGlyph; ++c) {
        glNewList(listBase + c, GL_COMPILE);
        glBitmap(GlyphWidth, GlyphRows, 0.0f, GlyphOriginY, GlyphAdvance, 0.0f,
                 glyphRasters[c - FirstGlyph]);
        glEndList();
    }
}

void TextDisplay::printString(const char* text) {
    glColor3fv(textColor);
    glPushAttrib(GL_LIST_BIT);
    glListBase(listBase);
    glCallLists(static_cast<GLsizei>(std::strlen(text)), GL_UNSIGNED_BYTE, text);
    glPopAttrib();
}

void TextDisplay::printString(const std::string& text) {
    printString(text.c_str());
}
