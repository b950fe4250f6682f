#include "web/SphereMesh.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;

// Sines and cosines of the angles around the axis (slices + 1, the last
// repeating the first) and from the pole (stacks + 1). Angles are rounded to
// float before their sine is taken, and the results to float, as GLU does, so
// that every vertex comes out bit for bit the same.
struct SphereTables {
    std::vector<float> sinAround, cosAround;
    std::vector<float> sinFromPole, cosFromPole;  // unit, for the normals
    std::vector<float> ringRadius, ringZ;         // scaled by the radius
};

SphereTables makeTables(double radius, int slices, int stacks) {
    SphereTables t;
    for (int i = 0; i < slices; ++i) {
        const float angle = static_cast<float>(2 * Pi * i / slices);
        t.sinAround.push_back(static_cast<float>(std::sin(static_cast<double>(angle))));
        t.cosAround.push_back(static_cast<float>(std::cos(static_cast<double>(angle))));
    }
    t.sinAround.push_back(t.sinAround[0]);
    t.cosAround.push_back(t.cosAround[0]);
    for (int j = 0; j <= stacks; ++j) {
        const float angle = static_cast<float>(Pi * j / stacks);
        t.sinFromPole.push_back(static_cast<float>(std::sin(static_cast<double>(angle))));
        t.cosFromPole.push_back(static_cast<float>(std::cos(static_cast<double>(angle))));
        t.ringRadius.push_back(static_cast<float>(radius * std::sin(static_cast<double>(angle))));
        t.ringZ.push_back(static_cast<float>(radius * std::cos(static_cast<double>(angle))));
    }
    // The rings at the poles close to a point.
    t.ringRadius.front() = 0.0f;
    t.ringRadius.back() = 0.0f;
    return t;
}

// The vertex of slice i on ring j, with the normal of ring `normalRing`.
MeshVertex ringVertex(const SphereTables& t, int i, int j, int normalRing) {
    const float s = t.sinFromPole[normalRing];
    return {{t.sinAround[i] * s, t.cosAround[i] * s, t.cosFromPole[normalRing]},
            {t.ringRadius[j] * t.sinAround[i], t.ringRadius[j] * t.cosAround[i], t.ringZ[j]}};
}

// The fan around a pole: the pole itself carries the normal that was current
// before the fan began, which GLU sets to the pole's opposite ring angle.
MeshPrimitive poleFan(const SphereTables& t, double radius, int slices, bool top) {
    const int stacks = static_cast<int>(t.ringZ.size()) - 1;
    const int ring = top ? 1 : stacks - 1;
    // GLU looks the far pole's normal up in the slice table at the stack count.
    const int normalIndex = top ? 0 : std::min(stacks, slices);
    const int normalRing = top ? 0 : stacks;
    const float poleSin = t.sinFromPole[normalRing];
    MeshPrimitive fan{SphereTriangleFan, {}};
    fan.vertices.push_back({{t.sinAround[normalIndex] * poleSin, t.cosAround[normalIndex] * poleSin,
                             t.cosFromPole[normalRing]},
                            {0.0f, 0.0f, static_cast<float>(top ? radius : -radius)}});
    for (int k = 0; k <= slices; ++k) {
        // The top fan runs backwards round the axis so that both face outwards.
        const int i = top ? slices - k : k;
        fan.vertices.push_back(ringVertex(t, i, ring, ring));
    }
    return fan;
}

}  // namespace

std::vector<MeshPrimitive> sphereMesh(double radius, int slices, int stacks) {
    const SphereTables t = makeTables(radius, slices, stacks);
    std::vector<MeshPrimitive> mesh;
    mesh.push_back(poleFan(t, radius, slices, true));
    mesh.push_back(poleFan(t, radius, slices, false));
    for (int j = 1; j < stacks - 1; ++j) {
        MeshPrimitive strip{SphereQuadStrip, {}};
        for (int i = 0; i <= slices; ++i) {
            strip.vertices.push_back(ringVertex(t, i, j + 1, j + 1));
            strip.vertices.push_back(ringVertex(t, i, j, j));
        }
        mesh.push_back(strip);
    }
    return mesh;
}
