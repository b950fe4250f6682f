#pragma once

#include <array>

using Matrix = std::array<float, 16>;  // column-major, as OpenGL stores it
using Vector4 = std::array<float, 4>;
using NormalMatrix = std::array<float, 9>;  // column-major 3 x 3

// The matrix product a * b, as OpenGL multiplies a new matrix onto the current one.
Matrix product(const Matrix& a, const Matrix& b);
// m * v.
Vector4 transform(const Matrix& m, const Vector4& v);
// What takes normals to eye space under the model-view matrix m: the inverse
// transpose of its upper 3 x 3.
NormalMatrix normalMatrix(const Matrix& m);
// A normal taken to eye space by a model-view matrix's normalMatrix. w of the result is 0.
Vector4 eyeNormal(const NormalMatrix& normals, const Vector4& n);
// The unit vector from the eye-space vertex towards a light at `light` (a
// direction when its w is 0); zero when they coincide.
Vector4 towardsLight(const Vector4& light, const Vector4& eye);
// The 8-bit value the desktop's Mesa stores for a colour channel c: the
// nearest, ties to even (0.7 gives 178), c clamped to 0..1 first.
unsigned char nearestByte(float c);
