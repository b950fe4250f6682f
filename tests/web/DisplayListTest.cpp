// The browser build's display lists (src/web/DisplayList) and the arithmetic
// beside them, off the GPU: how each primitive the game sends is cut into
// triangles, which vertex colours a flat facet, and which colour and normal
// a list takes from its caller and leaves current.
#include "web/DisplayList.h"
#include "web/GlMath.h"
#include "web/MeshCorner.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Vertex i at x = i, with colour (i, 0, 0) and normal (i, 0, 1).
std::vector<PrimitiveVertex> numbered(int count) {
    std::vector<PrimitiveVertex> vertices;
    for (int i = 0; i < count; ++i) {
        const float x = static_cast<float>(i);
        vertices.push_back({{x, 0, 0, 1}, {x, 0, 1, 0}, {x, 0, 0, 1}});
    }
    return vertices;
}

struct Cut {
    GLenum mode;
    int vertices;
    std::vector<int> corners;  // three a triangle, the provoking one last
};

}  // namespace

TEST(DisplayList, PrimitivesAreCutIntoTrianglesWithOpenGLsProvokingVertex) {
    const Cut cuts[] = {
        {GL_TRIANGLES, 7, {0, 1, 2, 3, 4, 5}},
        {GL_TRIANGLE_FAN, 5, {0, 1, 2, 0, 2, 3, 0, 3, 4}},
        {GL_QUADS, 4, {0, 1, 3, 1, 2, 3}},
        {GL_QUAD_STRIP, 6, {0, 1, 3, 2, 0, 3, 2, 3, 5, 4, 2, 5}},
        {GL_POINTS, 3, {}},
    };
    for (const Cut& cut : cuts) {
        std::vector<PrimitiveVertex> triangles;
        appendTriangles(cut.mode, numbered(cut.vertices), triangles);
        const std::vector<MeshCorner> out = meshCorners(triangles);
        ASSERT_EQ(out.size(), cut.corners.size()) << "mode " << cut.mode;
        for (std::size_t i = 0; i < out.size(); ++i) {
            const std::size_t first = i - i % 3;
            EXPECT_EQ(out[i].corners[i % 3][0], cut.corners[i]) << "mode " << cut.mode;
            EXPECT_EQ(out[i].color[0], cut.corners[i]) << "mode " << cut.mode;
            EXPECT_EQ(out[i].provokingColor[0], cut.corners[first + 2]) << "mode " << cut.mode;
            EXPECT_EQ(out[i].provokingNormal[0], cut.corners[first + 2]) << "mode " << cut.mode;
        }
    }
}

TEST(DisplayList, VerticesBeforeTheListsOwnStateTakeTheCallersAndItsLastStateStays) {
    const Vector4 own{0.5f, 0.25f, 0.0f, 1.0f};
    const Vector4 callerColor{0.0f, 1.0f, 0.0f, 1.0f};
    const Vector4 callerNormal{0.0f, 1.0f, 0.0f, 0.0f};
    DisplayList list;
    list.record({ListCommand::Begin, {}, GL_TRIANGLES});
    for (int i = 0; i < 3; ++i) {
        list.record({ListCommand::Vertex, {0, 0, 0, 1}, 0});
    }
    list.record({ListCommand::End, {}, 0});
    list.record({ListCommand::Color, own, 0});
    list.record({ListCommand::Normal, own, 0});

    const std::vector<PrimitiveVertex> corners = list.build(callerColor, callerNormal);
    ASSERT_EQ(corners.size(), 3u);
    EXPECT_EQ(corners[0].color[1], 1.0f);
    EXPECT_EQ(corners[0].normal[1], 1.0f);
    EXPECT_FALSE(list.needsBuild(callerColor, callerNormal));
    EXPECT_TRUE(list.needsBuild(own, callerNormal));
    EXPECT_TRUE(list.needsBuild(callerColor, own));
    std::vector<ListStep::Kind> kinds;
    for (const ListStep& step : list.getSteps()) {
        kinds.push_back(step.kind);
        EXPECT_TRUE(step.kind == ListStep::Draw || step.values == own);
    }
    EXPECT_EQ(kinds,
              (std::vector<ListStep::Kind>{ListStep::Draw, ListStep::Color, ListStep::Normal}));
}

TEST(GlMath, ColourChannelsAreStoredAsTheNearestByte) {
    const std::pair<float, int> channels[] = {{0.7f, 178}, {0.5f, 128}, {0.2f, 51},
                                              {-0.5f, 0},  {1.5f, 255}, {0.75f, 191}};
    for (const auto& [channel, stored] : channels) {
        EXPECT_EQ(nearestByte(channel), stored) << channel;
    }
}

TEST(GlMath, NormalsTakeTheInverseTransposeOfTheModelView) {
    // A scale by (2, 4, 8) and a move: normals shrink by the scale instead.
    const Matrix scaled{2, 0, 0, 0, 0, 4, 0, 0, 0, 0, 8, 0, 5, 6, 7, 1};
    const Vector4 n = eyeNormal(normalMatrix(scaled), {1, 1, 1, 0});
    EXPECT_EQ(n, (Vector4{0.5f, 0.25f, 0.125f, 0.0f}));
    EXPECT_EQ(transform(scaled, {1, 1, 1, 1}), (Vector4{7, 10, 15, 1}));
}
