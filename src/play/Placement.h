#pragma once

#include <vector>

// Where a ball is placed, in field units.
struct FieldPosition {
    float x;
    float y;
};

// The placement grid. `draw` is one rand() result; each value is computed in
// double precision and rounded to float.
float placementColumn(int draw);           // -1.000, -0.999, ..., 0.999
float placementRow(int draw, int spread);  // 1.1, 1.2, ..., 1.1 + 0.1 * (spread - 1); spread >= 1

// True when `candidate` lies within `spacing` of `chosen` on both axes, bounds
// included; the bounds are computed in double from the float values.
bool placementClash(const FieldPosition& candidate, const FieldPosition& chosen, float spacing);

// `count` positions in `spread` rows above the field, no two within `spacing`
// of each other. Each position takes candidates from rand() (x, then y) until
// one clashes with none chosen before; after `maxAttempts` (>= 1) candidates it
// goes into a row of its own above all others. No rand() call for count <= 0.
std::vector<FieldPosition> choosePositions(int count, int spread, float spacing, int maxAttempts);
