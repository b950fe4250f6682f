#include "play/Placement.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

constexpr float Spacing = 0.2f;  // twice the hit radius

float column(int thousandths) {
    return placementColumn(thousandths);
}
float row(int index) {
    return placementRow(index, 1000);
}

bool anyTwoClash(const std::vector<FieldPosition>& positions) {
    for (std::size_t i = 0; i < positions.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (placementClash(positions[i], positions[j], Spacing)) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

TEST(PlacementGrid, ColumnsRunFromMinusOneInThousandths) {
    EXPECT_EQ(column(0), -1.0f);
    EXPECT_EQ(column(1000), 0.0f);
    EXPECT_EQ(column(1999), static_cast<float>(1999 / 1000.0 - 1.0));
    EXPECT_EQ(column(2000), -1.0f);
    EXPECT_EQ(column(2001), column(1));
}

TEST(PlacementGrid, RowsRunUpFromOnePointOneWithinTheSpread) {
    EXPECT_EQ(placementRow(0, 30), 1.1f);
    EXPECT_EQ(placementRow(1, 30), static_cast<float>(1.2));
    EXPECT_EQ(placementRow(29, 30), static_cast<float>(2900 / 1000.0 + 1.1));
    EXPECT_EQ(placementRow(30, 30), 1.1f);
    EXPECT_EQ(placementRow(12345, 1), 1.1f);
}

TEST(PlacementClash, SameRowClashesAt0199ButNotAt0201) {
    const FieldPosition chosen{column(500), row(0)};
    EXPECT_TRUE(placementClash({column(699), row(0)}, chosen, Spacing));
    EXPECT_FALSE(placementClash({column(701), row(0)}, chosen, Spacing));
    EXPECT_TRUE(placementClash({column(301), row(0)}, chosen, Spacing));
    EXPECT_FALSE(placementClash({column(299), row(0)}, chosen, Spacing));
}

TEST(PlacementClash, BoundsAreInclusive) {
    const FieldPosition chosen{0.0f, 1.5f};
    EXPECT_TRUE(placementClash({Spacing, 1.5f}, chosen, Spacing));
    EXPECT_TRUE(placementClash({-Spacing, 1.5f}, chosen, Spacing));
}

TEST(PlacementClash, NeighbouringRowsClashWhenCloseInX) {
    const FieldPosition chosen{column(1000), row(5)};
    EXPECT_TRUE(placementClash({column(1150), row(6)}, chosen, Spacing));
    EXPECT_TRUE(placementClash({column(1000), row(4)}, chosen, Spacing));
}

TEST(PlacementClash, RowsThreeApartNeverClash) {
    for (int index = 0; index + 3 < 1000; ++index) {
        const FieldPosition lower{0.0f, row(index)};
        const FieldPosition upper{0.0f, row(index + 3)};
        ASSERT_FALSE(placementClash(upper, lower, Spacing)) << "rows " << index << " and +3";
        ASSERT_FALSE(placementClash(lower, upper, Spacing)) << "rows " << index << " and +3";
    }
}

TEST(ChoosePositions, NoneForCountZeroAndNoRandomNumberUsed) {
    std::srand(1);
    const int first = std::rand();
    std::srand(1);
    EXPECT_TRUE(choosePositions(0, 30, Spacing, 100).empty());
    EXPECT_EQ(std::rand(), first);
}

TEST(ChoosePositions, TheFirstPositionTakesXThenYFromRand) {
    std::srand(1);
    const int xDraw = std::rand();
    const int yDraw = std::rand();
    const int next = std::rand();
    std::srand(1);
    const std::vector<FieldPosition> positions = choosePositions(1, 7, Spacing, 100);
    ASSERT_EQ(positions.size(), 1u);
    EXPECT_EQ(positions[0].x, placementColumn(xDraw));
    EXPECT_EQ(positions[0].y, placementRow(yDraw, 7));
    EXPECT_EQ(std::rand(), next);
}

TEST(ChoosePositions, BoundedAttemptsStillPlaceEveryPositionApart) {
    // One row cannot hold 40 positions; a few attempts each keep this quick.
    const std::vector<FieldPosition> positions = choosePositions(40, 1, Spacing, 20);
    ASSERT_EQ(positions.size(), 40u);
    EXPECT_FALSE(anyTwoClash(positions));
    int inRowsOfTheirOwn = 0;
    for (const FieldPosition& position : positions) {
        EXPECT_GE(position.y, 1.1f);
        inRowsOfTheirOwn += position.y > 1.1f ? 1 : 0;
    }
    EXPECT_GE(inRowsOfTheirOwn, 30);
}
