#include "BallFinder.h"

#include <algorithm>
#include <utility>

namespace {

// Lit spheres: red (0.4, 0.1, 0.1) and blue (0.1, 0.1, 0.5). The background
// (153, 153, 178) and the text colour have blue only slightly above red.
constexpr int FamilyMargin = 50;
// A ball (radius 30 px) shows about 2800 pixels; a dart about 200.
constexpr int MinBallArea = 400;

enum Family { None = 0, Red = 1, Blue = 2 };

Family familyOf(Rgb pixel) {
    if (pixel.r - pixel.b > FamilyMargin && pixel.r - pixel.g > FamilyMargin) {
        return Red;
    }
    if (pixel.b - pixel.r > FamilyMargin && pixel.b - pixel.g > FamilyMargin) {
        return Blue;
    }
    return None;
}

// Collects the 4-connected pixels of one family from (x, y) and clears them
// from the family map.
BallSpot flood(std::vector<Family>& families, int width, int height, int x, int y) {
    const Family family = families[y * width + x];
    BallSpot spot{family == Blue, 0, y, y, 0};
    int left = x;
    int right = x;
    std::vector<std::pair<int, int>> todo{{x, y}};
    families[y * width + x] = None;
    while (!todo.empty()) {
        const auto [px, py] = todo.back();
        todo.pop_back();
        ++spot.area;
        left = std::min(left, px);
        right = std::max(right, px);
        spot.top = std::min(spot.top, py);
        spot.bottom = std::max(spot.bottom, py);
        const std::pair<int, int> neighbours[] = {
            {px - 1, py}, {px + 1, py}, {px, py - 1}, {px, py + 1}};
        for (const auto& [nx, ny] : neighbours) {
            if (nx >= 0 && ny >= 0 && nx < width && ny < height &&
                families[ny * width + nx] == family) {
                families[ny * width + nx] = None;
                todo.emplace_back(nx, ny);
            }
        }
    }
    spot.centerX = (left + right) / 2;
    return spot;
}

}  // namespace

std::vector<BallSpot> findBalls(const Image& image) {
    const int width = image.width();
    const int height = image.height();
    std::vector<Family> families(static_cast<std::size_t>(width) * height, None);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            families[y * width + x] = familyOf(image.at(x, y));
        }
    }
    std::vector<BallSpot> balls;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (families[y * width + x] == None) {
                continue;
            }
            const BallSpot spot = flood(families, width, height, x, y);
            if (spot.area >= MinBallArea) {
                balls.push_back(spot);
            }
        }
    }
    std::sort(balls.begin(), balls.end(),
              [](const BallSpot& a, const BallSpot& b) { return a.bottom > b.bottom; });
    return balls;
}

bool isClearColumn(const Image& image, int centerX, int halfWidth, int bottom) {
    for (int y = 0; y < bottom && y < image.height(); ++y) {
        for (int x = centerX - halfWidth; x <= centerX + halfWidth; ++x) {
            if (image.contains(x, y) && familyOf(image.at(x, y)) != None) {
                return false;
            }
        }
    }
    return true;
}
