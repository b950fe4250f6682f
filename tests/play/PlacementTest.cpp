#include "play/Placement.h"

#include <gtest/gtest.h>

namespace {

constexpr float Spacing = 0.2f;  // twice the hit radius

float column(int thousandths) {
    return placementColumn(thousandths);
}
float row(int index) {
    return placementRow(index, 1000);
}

}  // namespace

TEST(PlacementGrid, ColumnsRunFromMinusOneInThousandthsAndRowsUpFromOnePointOne) {
    EXPECT_EQ(column(0), -1.0f);
    EXPECT_EQ(column(1000), 0.0f);
    EXPECT_EQ(column(1999), static_cast<float>(1999 / 1000.0 - 1.0));
    EXPECT_EQ(column(2000), -1.0f);
    EXPECT_EQ(column(2001), column(1));
    EXPECT_EQ(placementRow(0, 30), 1.1f);
    EXPECT_EQ(placementRow(1, 30), static_cast<float>(1.2));
    EXPECT_EQ(placementRow(29, 30), static_cast<float>(2900 / 1000.0 + 1.1));
    EXPECT_EQ(placementRow(30, 30), 1.1f);
    EXPECT_EQ(placementRow(12345, 1), 1.1f);
}

TEST(PlacementClash, ClashesWithinTheSpacingOnBothAxesBoundsIncluded) {
    struct Case {
        FieldPosition candidate;
        FieldPosition chosen;
        bool clash;
    };
    const Case cases[] = {
        {{column(699), row(0)}, {column(500), row(0)}, true},
        {{column(701), row(0)}, {column(500), row(0)}, false},
        {{column(301), row(0)}, {column(500), row(0)}, true},
        {{column(299), row(0)}, {column(500), row(0)}, false},
        {{Spacing, 1.5f}, {0.0f, 1.5f}, true},
        {{-Spacing, 1.5f}, {0.0f, 1.5f}, true},
        {{column(1150), row(6)}, {column(1000), row(5)}, true},
        {{column(1000), row(4)}, {column(1000), row(5)}, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(placementClash(c.candidate, c.chosen, Spacing), c.clash)
            << "(" << c.candidate.x << ", " << c.candidate.y << ") against (" << c.chosen.x << ", "
            << c.chosen.y << ")";
    }
}

TEST(PlacementClash, RowsThreeApartNeverClash) {
    for (int index = 0; index + 3 < 1000; ++index) {
        const FieldPosition lower{0.0f, row(index)};
        const FieldPosition upper{0.0f, row(index + 3)};
        ASSERT_FALSE(placementClash(upper, lower, Spacing)) << "rows " << index << " and +3";
        ASSERT_FALSE(placementClash(lower, upper, Spacing)) << "rows " << index << " and +3";
    }
}
