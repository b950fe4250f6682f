#include "Screens.h"

#include "text/GlyphTable.h"

#include <cstdlib>
#include <regex>

namespace {

constexpr int CellWidth = 8;
constexpr int Rows = TextDisplay::GlyphRows;
// Glyph row r (bottom first) lies r - BaselineRow pixels above the pixel row
// just above the baseline.
constexpr int BaselineRow = 2;
constexpr char Unknown = '?';
constexpr int BottomBaseline = 570;
constexpr int StatusLefts[] = {30, 150, 270};

const char* const InstructionLines[10] = {
    "The game consists of red and blue balls,",
    "and red and blue shoots. When the red",
    "& blue balls fall from the top of the screen,",
    "you have to fire at them by pressing a mouse",
    "button. Your left mouse button fires blue shoots,",
    "your right mouse button fires red ones.Use red",
    "shoots to eliminate the red balls,blue shots",
    "to eliminate blue balls. You lose a life if a ball",
    "falls to the bottom, a shot reaches the top,",
    "or if you hit a ball which colour differs from your shot.",
};

// The first character whose glyph has these rows, or Unknown.
char glyphOf(const unsigned char (&cell)[Rows]) {
    for (int i = 0; i < TextDisplay::GlyphCount; ++i) {
        if (std::equal(cell, cell + Rows, GlyphTable[i])) {
            return static_cast<char>(TextDisplay::FirstGlyph + i);
        }
    }
    return Unknown;
}

std::string withoutTrailingBlanks(const std::string& text) {
    return text.substr(0, text.find_last_not_of(' ') + 1);
}

std::string readAt(const Image& image, int left, int baselineFromTop, int maxChars) {
    std::string text;
    for (int i = 0; i < maxChars; ++i) {
        unsigned char cell[Rows] = {};
        for (int row = 0; row < Rows; ++row) {
            const int y = baselineFromTop - 1 - (row - BaselineRow);
            for (int column = 0; column < CellWidth; ++column) {
                const int x = left + i * TextDisplay::GlyphAdvance + column;
                if (image.contains(x, y) && !isBackground(image.at(x, y))) {
                    cell[row] |= static_cast<unsigned char>(0x80 >> column);
                }
            }
        }
        text += glyphOf(cell);
    }
    return withoutTrailingBlanks(text);
}

// How well a reading fits: recognised characters count for it, unknown cells against.
int fit(const std::string& text) {
    int result = 0;
    for (char c : text) {
        result += c == Unknown ? -2 : (c == ' ' ? 0 : 1);
    }
    return result;
}

bool showsMenu(const Image& image, const MenuRow (&rows)[4]) {
    for (const MenuRow& row : rows) {
        if (readText(image, 240, row.baseline, 12) != row.text) {
            return false;
        }
    }
    return cornersAreBackground(image);
}

}  // namespace

bool isBackground(Rgb pixel) {
    return std::abs(pixel.r - Background.r) <= BackgroundTolerance &&
           std::abs(pixel.g - Background.g) <= BackgroundTolerance &&
           std::abs(pixel.b - Background.b) <= BackgroundTolerance;
}

std::string readText(const Image& image, int left, int baselineFromTop, int maxChars) {
    std::string best = readAt(image, left, baselineFromTop, maxChars);
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const std::string reading = readAt(image, left + dx, baselineFromTop + dy, maxChars);
            best = fit(reading) > fit(best) ? reading : best;
        }
    }
    return best;
}

std::string asRead(const std::string& text, int maxChars) {
    std::string read;
    for (char c : text.substr(0, static_cast<std::size_t>(maxChars))) {
        const int glyph = static_cast<unsigned char>(c) - TextDisplay::FirstGlyph;
        read +=
            glyph < 0 || glyph >= TextDisplay::GlyphCount ? Unknown : glyphOf(GlyphTable[glyph]);
    }
    return withoutTrailingBlanks(read);
}

bool showsMainMenu(const Image& image) {
    return showsMenu(image, MainMenuRows);
}

bool showsDifficultyMenu(const Image& image) {
    return showsMenu(image, DifficultyRows);
}

std::string bottomLeftText(const Image& image) {
    return readText(image, StatusLefts[0], BottomBaseline, 57);
}

std::vector<int> statusNumbers(const Image& image) {
    std::vector<int> numbers;
    const char* const prefixes[] = {"Points: ", "Lives: ", "Level: "};
    for (int i = 0; i < 3; ++i) {
        std::smatch number;
        const std::string text = readText(image, StatusLefts[i], BottomBaseline, 12);
        if (!std::regex_match(text, number, std::regex(prefixes[i] + std::string("(-?[0-9]+)")))) {
            return {};
        }
        numbers.push_back(std::stoi(number[1]));
    }
    return numbers;
}

bool showsInstructions(const Image& image) {
    for (int i = 0; i < 10; ++i) {
        if (readText(image, 15, 30 + i * 30, 60) != InstructionLines[i]) {
            return false;
        }
    }
    return true;
}

bool showsNameEntry(const Image& image) {
    return readText(image, 30, 150, 60) == "Congratulations, you made it to the highscore list!" &&
           readText(image, 120, 180, 48) == "Please enter your name:";
}

std::string typedName(const Image& image) {
    return readText(image, 120, 210, 48);
}

std::vector<std::string> tableRows(const Image& image) {
    std::vector<std::string> rows;
    for (int i = 0; i < TableRows; ++i) {
        rows.push_back(readText(image, 240, 30 + i * 60, TableRowCells));
    }
    return rows;
}

bool isBlank(const Image& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!isBackground(image.at(x, y))) {
                return false;
            }
        }
    }
    return !image.empty();
}

bool cornersAreBackground(const Image& image) {
    const int last = WindowSize - 1;
    return image.width() == WindowSize && image.height() == WindowSize &&
           isBackground(image.at(0, 0)) && isBackground(image.at(last, 0)) &&
           isBackground(image.at(0, last)) && isBackground(image.at(last, last));
}
