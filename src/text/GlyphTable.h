#pragma once

#include "text/TextDisplay.h"

// The font: one entry per character 32..126, 13 rows bottom first, leftmost
// pixel in bit 7, baseline at row 2; rows 0-1 only for / \ _ | g j p q y.
extern const unsigned char GlyphTable[TextDisplay::GlyphCount][TextDisplay::GlyphRows];
