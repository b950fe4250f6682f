#pragma once

// The colour of a ball or a shot; a hit compares the two numerically.
enum BallColor { Red = 0, Blue = 1 };
