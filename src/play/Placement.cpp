#include "play/Placement.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int ColumnCount = 2000;
constexpr double ColumnsPerUnit = 1000.0;
constexpr double LeftEdge = -1.0;
constexpr int RowHeightInThousandths = 100;
constexpr double LowestRow = 1.1;
// Rows three apart are 0.3 apart, more than any spacing of the game (0.2),
// so a position this far above every other can never clash with one.
constexpr double OwnRowGap = 0.3;

FieldPosition drawCandidate(int spread) {
    // x is drawn before y: the order of rand() calls fixes the layout.
    const float x = placementColumn(std::rand());
    const float y = placementRow(std::rand(), spread);
    return {x, y};
}

bool clashesWithAny(const FieldPosition& candidate, const std::vector<FieldPosition>& chosen,
                    float spacing) {
    return std::any_of(chosen.begin(), chosen.end(), [&](const FieldPosition& position) {
        return placementClash(candidate, position, spacing);
    });
}

float rowAboveAll(const std::vector<FieldPosition>& chosen) {
    const auto highest =
        std::max_element(chosen.begin(), chosen.end(),
                         [](const FieldPosition& a, const FieldPosition& b) { return a.y < b.y; });
    return static_cast<float>(static_cast<double>(highest->y) + OwnRowGap);
}

FieldPosition placeOne(const std::vector<FieldPosition>& chosen, int spread, float spacing,
                       int maxAttempts) {
    FieldPosition candidate{};
    for (int attempt = 0; attempt < maxAttempts; ++attempt) {
        candidate = drawCandidate(spread);
        if (!clashesWithAny(candidate, chosen, spacing)) {
            return candidate;
        }
    }
    // The rows are too full to find room by chance; the placement must still
    // end, so the ball waits in a row of its own.
    return {candidate.x, rowAboveAll(chosen)};
}

}  // namespace

float placementColumn(int draw) {
    return static_cast<float>((draw % ColumnCount) / ColumnsPerUnit + LeftEdge);
}

float placementRow(int draw, int spread) {
    return static_cast<float>(((draw % spread) * RowHeightInThousandths) / 1000.0 + LowestRow);
}

bool placementClash(const FieldPosition& candidate, const FieldPosition& chosen, float spacing) {
    const double d = spacing;
    const double px = chosen.x;
    const double py = chosen.y;
    return px - d <= candidate.x && candidate.x <= px + d && py - d <= candidate.y &&
           candidate.y <= py + d;
}

std::vector<FieldPosition> choosePositions(int count, int spread, float spacing, int maxAttempts) {
    std::vector<FieldPosition> chosen;
    if (count <= 0) {
        return chosen;
    }
    chosen.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        chosen.push_back(placeOne(chosen, spread, spacing, maxAttempts));
    }
    return chosen;
}
