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
// Ten records "Old 1" -1 ... "Old 10" -10: a game of 0 points earns a place.
std::string negativeScoresFile();

// Splits a file into records of two "\n"-ended lines; a last line without
// its newline counts as a line.
std::vector<ScoreRecord> recordsOf(const std::string& bytes);

// Why the bytes are not a well-formed full file, or "" when they are: ten
// records of "\n"-ended lines, every score a plain decimal 32-bit int, never rising.
std::string malformation(const std::string& bytes);

// What the table draws of a record: name, a blank and the score, up to the
// first NUL, without the bytes outside 32..126 that the font does not draw.
std::string visibleRow(const ScoreRecord& record);
