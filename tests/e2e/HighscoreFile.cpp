#include "HighscoreFile.h"

#include <algorithm>
#include <climits>
#include <regex>

std::string highscoreFileOf(const std::vector<ScoreRecord>& records) {
    std::string bytes;
    for (const ScoreRecord& record : records) {
        bytes += record.name + "\n" + record.score + "\n";
    }
    return bytes;
}

std::string negativeScoresFile() {
    std::vector<ScoreRecord> records;
    for (int i = 1; i <= RecordsKept; ++i) {
        records.push_back({"Old " + std::to_string(i), std::to_string(-i)});
    }
    return highscoreFileOf(records);
}

std::vector<ScoreRecord> recordsOf(const std::string& bytes) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
        lines.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    lines.resize(lines.size() + lines.size() % 2);
    std::vector<ScoreRecord> records;
    for (std::size_t i = 0; i < lines.size(); i += 2) {
        records.push_back({lines[i], lines[i + 1]});
    }
    return records;
}

std::string malformation(const std::string& bytes) {
    const auto lines = std::count(bytes.begin(), bytes.end(), '\n');
    if (lines != RecordsKept * 2 || bytes.back() != '\n') {
        return std::to_string(lines) + " newlines, or a last line without one";
    }
    long long previous = LLONG_MAX;
    for (const ScoreRecord& record : recordsOf(bytes)) {
        const bool plain = std::regex_match(record.score, std::regex("-?(0|[1-9][0-9]{0,9})"));
        const long long score = plain ? std::stoll(record.score) : LLONG_MIN;
        if (!plain || record.score == "-0" || score < INT_MIN || score > INT_MAX) {
            return "the score line \"" + record.score + "\"";
        }
        if (score > previous) {
            return "the score " + record.score + " above the one before it";
        }
        previous = score;
    }
    return "";
}

std::string visibleRow(const ScoreRecord& record) {
    const std::string row = record.name + " " + record.score;
    std::string visible;
    for (char c : row.substr(0, row.find('\0'))) {
        if (c >= 32 && c <= 126) {
            visible += c;
        }
    }
    return visible;
}
