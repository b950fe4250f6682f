#include "web/MeshCorner.h"

namespace {

void copy3(float* to, const Vector4& from) {
    to[0] = from[0];
    to[1] = from[1];
    to[2] = from[2];
}

}  // namespace

std::vector<MeshCorner> meshCorners(const std::vector<PrimitiveVertex>& triangles) {
    std::vector<MeshCorner> out;
    out.reserve(triangles.size());
    for (std::size_t first = 0; first + 2 < triangles.size(); first += 3) {
        const PrimitiveVertex& provoking = triangles[first + 2];
        for (std::size_t k = 0; k < 3; ++k) {
            MeshCorner corner{};
            for (std::size_t i = 0; i < 3; ++i) {
                copy3(corner.corners[i], triangles[first + i].position);
            }
            corner.which = static_cast<float>(k);
            copy3(corner.normal, triangles[first + k].normal);
            copy3(corner.color, triangles[first + k].color);
            copy3(corner.provokingNormal, provoking.normal);
            copy3(corner.provokingColor, provoking.color);
            out.push_back(corner);
        }
    }
    return out;
}
