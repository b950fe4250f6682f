#include "HighscoreFile.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

constexpr int LinesPerRecord = 2;

bool isDecimalInt(const std::string& line) {
    const std::size_t digits = line.size() > 0 && line[0] == '-' ? 1 : 0;
    if (line.size() == digits || line.size() - digits > 10) {
        return false;
    }
    for (std::size_t i = digits; i < line.size(); ++i) {
        if (line[i] < '0' || line[i] > '9') {
            return false;
        }
    }
    if (line[digits] == '0' && line.size() - digits > 1) {
        return false;
    }
    if (line == "-0") {
        return false;
    }
    const long long value = std::strtoll(line.c_str(), nullptr, 10);
    return value >= INT_MIN && value <= INT_MAX;
}

}  // namespace

std::string highscoreFileOf(const std::vector<ScoreRecord>& records) {
    std::string bytes;
    for (const ScoreRecord& record : records) {
        bytes += record.name + "\n" + record.score + "\n";
    }
    return bytes;
}

std::vector<ScoreRecord> recordsOf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) {
            end = bytes.size();
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    std::vector<ScoreRecord> records;
    for (std::size_t i = 0; i < lines.size(); i += LinesPerRecord) {
        records.push_back({lines[i], i + 1 < lines.size() ? lines[i + 1] : ""});
    }
    return records;
}

std::string malformation(const std::string& bytes) {
    if (!bytes.empty() && bytes.back() != '\n') {
        return "the last line has no newline";
    }
    const auto lines = std::count(bytes.begin(), bytes.end(), '\n');
    if (lines != RecordsKept * LinesPerRecord) {
        return std::to_string(lines) + " lines instead of 20";
    }
    long long previous = LLONG_MAX;
    int index = 0;
    for (const ScoreRecord& record : recordsOf(bytes)) {
        ++index;
        if (!isDecimalInt(record.score)) {
            return "record " + std::to_string(index) + " has the score line \"" + record.score +
                   "\"";
        }
        const long long score = std::strtoll(record.score.c_str(), nullptr, 10);
        if (score > previous) {
            return "record " + std::to_string(index) + " scores above the one before it";
        }
        previous = score;
    }
    return "";
}

std::string visibleRow(const ScoreRecord& record) {
    const std::string row = record.name + " " + record.score;
    std::string visible;
    for (char c : row) {
        if (c == '\0') {
            break;
        }
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte >= 32 && byte <= 126) {
            visible += c;
        }
    }
    return visible;
}
