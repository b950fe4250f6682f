#pragma once

#include <array>

using Matrix = std::array<float, 16>;  // column-major, as OpenGL stores it
using Vector4 = std::array<float, 4>;

// The matrix product a * b, as OpenGL multiplies a new matrix onto the current one.
Matrix product(const Matrix& a, const Matrix& b);
// m * v.
Vector4 transform(const Matrix& m, const Vector4& v);
// A normal taken to eye space by the model-view matrix m: times the inverse
// transpose of its upper 3 x 3. w of the result is 0.
Vector4 eyeNormal(const Matrix& m, const Vector4& n);
// The unit vector from the eye-space vertex towards a light at `light` (a
// direction when its w is 0); zero when they coincide.
Vector4 towardsLight(const Vector4& light, const Vector4& eye);
