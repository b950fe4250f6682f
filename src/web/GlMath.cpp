#include "web/GlMath.h"

#include <algorithm>
#include <cmath>

Matrix product(const Matrix& a, const Matrix& b) {
    Matrix m{};
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += a[k * 4 + row] * b[column * 4 + k];
            }
            m[column * 4 + row] = sum;
        }
    }
    return m;
}

Vector4 transform(const Matrix& m, const Vector4& v) {
    Vector4 r{};
    for (int row = 0; row < 4; ++row) {
        r[row] = m[row] * v[0] + m[4 + row] * v[1] + m[8 + row] * v[2] + m[12 + row] * v[3];
    }
    return r;
}

// The inverse transpose of the upper 3 x 3 is its cofactor matrix over its determinant.
NormalMatrix normalMatrix(const Matrix& m) {
    const auto a = [&m](int row, int column) { return m[column * 4 + row]; };
    const auto cofactor = [&a](int row, int column) {
        const int r0 = (row + 1) % 3, r1 = (row + 2) % 3;
        const int c0 = (column + 1) % 3, c1 = (column + 2) % 3;
        return a(r0, c0) * a(r1, c1) - a(r0, c1) * a(r1, c0);
    };
    const float det =
        a(0, 0) * cofactor(0, 0) + a(0, 1) * cofactor(0, 1) + a(0, 2) * cofactor(0, 2);
    NormalMatrix r{};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            r[column * 3 + row] = cofactor(row, column) / det;
        }
    }
    return r;
}

Vector4 eyeNormal(const NormalMatrix& inverse, const Vector4& n) {
    Vector4 r{0.0f, 0.0f, 0.0f, 0.0f};
    for (int row = 0; row < 3; ++row) {
        for (int k = 0; k < 3; ++k) {
            r[row] += inverse[k * 3 + row] * n[k];
        }
    }
    return r;
}

// The unit vector from the vertex towards the light.
Vector4 towardsLight(const Vector4& light, const Vector4& eye) {
    Vector4 d{light[0], light[1], light[2], 0.0f};
    if (light[3] != 0.0f) {
        for (int i = 0; i < 3; ++i) {
            d[i] = light[i] / light[3] - eye[i] / eye[3];
        }
    }
    const float length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    for (int i = 0; i < 3; ++i) {
        d[i] = length > 0.0f ? d[i] / length : 0.0f;
    }
    return d;
}

unsigned char nearestByte(float c) {
    constexpr float Steps = 255.0f;
    return static_cast<unsigned char>(std::nearbyint(std::clamp(c, 0.0f, 1.0f) * Steps));
}
