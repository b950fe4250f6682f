#pragma once

#include "highscore/HighscoreEntry.h"

#include <list>
#include <string>
#include <utility>
#include <vector>

using Record = std::pair<std::string, int>;
using Records = std::vector<Record>;

// The bytes of a well-formed score file holding these records in this order.
inline std::string fileOf(const Records& records) {
    std::string text;
    for (const Record& record : records) {
        text += record.first + "\n" + std::to_string(record.second) + "\n";
    }
    return text;
}

inline Records recordsOf(const std::list<HighscoreEntry>& entries) {
    Records records;
    for (const HighscoreEntry& entry : entries) {
        records.emplace_back(entry.getName(), entry.getScore());
    }
    return records;
}

// Ten records with the scores 100, 90, ..., 10, named "p100" ... "p10".
inline Records tenDescending() {
    Records records;
    for (int score = 100; score >= 10; score -= 10) {
        records.emplace_back("p" + std::to_string(score), score);
    }
    return records;
}

// tenDescending() with record put in at place and the lowest record dropped.
inline Records tenWith(const Record& record, int place) {
    Records records = tenDescending();
    records.pop_back();
    records.insert(records.begin() + place, record);
    return records;
}

// count entries with an empty name and score 0.
inline Records blanks(int count) {
    return Records(static_cast<std::size_t>(count), Record("", 0));
}

inline Records joined(Records first, const Records& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}
