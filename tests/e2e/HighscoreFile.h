#pragma once

#include <string>
#include <vector>

// One record of the high-score file "moon": a name line and a score line.
struct ScoreRecord {
    std::string name;
    std::string score;  // the score line as it stands
};

constexpr int RecordsKept = 10;

// The file's bytes for these records, every line ending in "\n".
std::string highscoreFileOf(const std::vector<ScoreRecord>& records);

// Splits a file into records of two "\n"-ended lines; a last line without
// its newline counts as a line.
std::vector<ScoreRecord> recordsOf(const std::string& bytes);

// Why the bytes are not a well-formed full file, or "" when they are: ten
// records (20 lines, each ending in "\n"), every score a decimal 32-bit int
// without sign clutter or leading zeros, scores never rising.
std::string malformation(const std::string& bytes);

// What the high-score table draws for a record: name, a blank and the
// score, up to the first NUL byte, with the bytes that the font does not draw
// (outside 32..126) left out.
std::string visibleRow(const ScoreRecord& record);
