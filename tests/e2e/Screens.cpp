#include "Screens.h"

#include "TextReader.h"

#include <cctype>

namespace {

constexpr int BottomBaseline = 570;
constexpr int StatusLefts[] = {30, 150, 270};
constexpr int StatusCells = 12;
constexpr int MenuCells = 12;
constexpr int InstructionsLeft = 15;
constexpr int InstructionsFirstBaseline = 30;
constexpr int InstructionsStep = 30;
constexpr int InstructionsCells = 60;
constexpr int CongratulationLeft = 30;
constexpr int CongratulationBaseline = 150;
constexpr int PromptLeft = 120;
constexpr int PromptBaseline = 180;
constexpr int NameBaseline = 210;
constexpr int NameCells = 48;
constexpr int TableLeft = 240;
constexpr int TableFirstBaseline = 30;
constexpr int TableStep = 60;
constexpr int BottomCells = 57;

std::string withoutTrailingBlanks(const std::string& text) {
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? "" : text.substr(0, end + 1);
}

// "Prefix" followed by an optional minus and at least one digit, nothing else.
bool isPrefixAndNumber(const std::string& text, const std::string& prefix) {
    if (text.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    std::size_t i = prefix.size();
    if (i < text.size() && text[i] == '-') {
        ++i;
    }
    if (i == text.size()) {
        return false;
    }
    for (; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) {
            return false;
        }
    }
    return true;
}

}  // namespace

const char* const InstructionLines[10] = {
    "The game consists of red and blue balls,",
    "and red and blue shoots. When the red ",
    "& blue balls fall from the top of the screen,",
    "you have to fire at them by pressing a mouse",
    "button. Your left mouse button fires blue shoots,",
    "your right mouse button fires red ones.Use red",
    "shoots to eliminate the red balls,blue shots ",
    "to eliminate blue balls. You lose a life if a ball ",
    "falls to the bottom, a shot reaches the top,",
    "or if you hit a ball which colour differs from your shot.",
};

const char* const Congratulation = "Congratulations, you made it to the highscore list!";
const char* const NamePrompt = "Please enter your name:";

bool showsMenu(const Image& image, const MenuRow (&rows)[4]) {
    for (const MenuRow& row : rows) {
        if (readText(image, MenuLeft, row.baseline, MenuCells) != row.text) {
            return false;
        }
    }
    return cornersAreBackground(image);
}

bool showsMainMenu(const Image& image) {
    return showsMenu(image, MainMenuRows);
}

bool showsDifficultyMenu(const Image& image) {
    return showsMenu(image, DifficultyRows);
}

std::string bottomLeftText(const Image& image) {
    return readText(image, StatusLefts[0], BottomBaseline, BottomCells);
}

StatusLine readStatusLine(const Image& image) {
    return {readText(image, StatusLefts[0], BottomBaseline, StatusCells),
            readText(image, StatusLefts[1], BottomBaseline, StatusCells),
            readText(image, StatusLefts[2], BottomBaseline, StatusCells)};
}

bool showsStatusLine(const Image& image) {
    const StatusLine status = readStatusLine(image);
    return isPrefixAndNumber(status.points, "Points: ") &&
           isPrefixAndNumber(status.lives, "Lives: ") && isPrefixAndNumber(status.level, "Level: ");
}

bool showsInstructions(const Image& image) {
    for (int i = 0; i < 10; ++i) {
        const int baseline = InstructionsFirstBaseline + i * InstructionsStep;
        if (readText(image, InstructionsLeft, baseline, InstructionsCells) !=
            withoutTrailingBlanks(InstructionLines[i])) {
            return false;
        }
    }
    return true;
}

bool showsNameEntry(const Image& image) {
    return readText(image, CongratulationLeft, CongratulationBaseline, NameCells + 12) ==
               Congratulation &&
           readText(image, PromptLeft, PromptBaseline, NameCells) == NamePrompt;
}

std::string typedName(const Image& image) {
    return readText(image, PromptLeft, NameBaseline, NameCells);
}

std::vector<std::string> tableRows(const Image& image) {
    std::vector<std::string> rows;
    for (int i = 0; i < TableRows; ++i) {
        rows.push_back(
            readText(image, TableLeft, TableFirstBaseline + i * TableStep, TableRowCells));
    }
    return rows;
}

bool isBlank(const Image& image) {
    if (image.empty()) {
        return false;
    }
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!isBackground(image.at(x, y))) {
                return false;
            }
        }
    }
    return true;
}

bool cornersAreBackground(const Image& image) {
    if (image.width() != WindowSize || image.height() != WindowSize) {
        return false;
    }
    const int last = WindowSize - 1;
    return isBackground(image.at(0, 0)) && isBackground(image.at(last, 0)) &&
           isBackground(image.at(0, last)) && isBackground(image.at(last, last));
}
