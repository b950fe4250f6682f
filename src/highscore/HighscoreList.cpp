#include "highscore/HighscoreList.h"

#include "highscore/FileLock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <optional>
#include <sstream>

namespace {

constexpr int LinesPerRecord = 2;
constexpr int FileLines = LinesPerRecord * HighscoreCapacity;
constexpr std::size_t ReadChunk = 4096;
// Ten names typed at a keyboard, with their scores, come nowhere near this;
// a file longer than this is not a table of ours, and reading on could fill
// the memory.
constexpr std::size_t MaxFileBytes = 1024 * 1024;
constexpr const char* TooLong = "longer than 1 MiB";
constexpr mode_t PermissionBits = 07777;

// A file written on another system may end its lines with CR LF; the CR is
// never part of a name or a score.
// A line past the end of the file reads as empty.
void readLine(std::istream& in, std::string& line) {
    if (!std::getline(in, line)) {
        line.clear();
        return;
    }
    while (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
}

bool isBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads a score as atoi does (leading blanks, a sign, digits up to the first
// other character, 0 without a number), but a number beyond the range of an
// int gives the nearest int instead of undefined behaviour.
int scoreFromLine(const std::string& line) {
    constexpr long long Ceiling = static_cast<long long>(INT_MAX) + 1;
    std::size_t i = 0;
    while (i < line.size() && isBlank(line[i])) {
        ++i;
    }
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) {
        negative = line[i] == '-';
        ++i;
    }
    long long magnitude = 0;
    for (; i < line.size() && isDigit(line[i]) && magnitude < Ceiling; ++i) {
        magnitude = magnitude * 10 + (line[i] - '0');
    }
    if (magnitude > Ceiling) {
        magnitude = Ceiling;
    }
    if (negative) {
        return static_cast<int>(-magnitude);
    }
    return magnitude >= Ceiling ? INT_MAX : static_cast<int>(magnitude);
}

// Reads until the last line the list can use has ended, or to the end of the
// file: "" when it has, else why the file is unreadable. A file that grows
// while it is read past MaxFileBytes is unreadable too.
std::string readRecords(int fd, std::string& bytes) {
    char chunk[ReadChunk];
    int newlines = 0;
    while (newlines < FileLines) {
        // One byte past the limit is enough to know the file is too long.
        const std::size_t room = MaxFileBytes + 1 - bytes.size();
        const ssize_t got = ::read(fd, chunk, std::min(sizeof chunk, room));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::strerror(errno);
        }
        if (got == 0) {
            return std::string();
        }
        for (ssize_t i = 0; i < got; ++i) {
            newlines += chunk[i] == '\n' ? 1 : 0;
        }
        bytes.append(chunk, static_cast<std::size_t>(got));
        if (bytes.size() > MaxFileBytes) {
            return TooLong;
        }
    }
    return std::string();
}

// Why the open file cannot hold a table, from its type and size alone, before
// a byte is read: a device or a pipe may never end. "" when it may.
std::string unfitReason(const struct stat& status) {
    if (S_ISDIR(status.st_mode)) {
        return std::strerror(EISDIR);
    }
    if (!S_ISREG(status.st_mode)) {
        return "not a plain file";
    }
    return static_cast<std::size_t>(status.st_size) > MaxFileBytes ? TooLong : std::string();
}

// What reading the score file found. A file that is not there may be made;
// one that is there but could not be read holds something we could not see.
struct ScoreFile {
    std::string unreadableReason;  // empty when the file was read or is missing
    int mode = -1;                 // permission bits of the file read; -1 when there was none
    std::list<HighscoreEntry> entries;
};

ScoreFile readScoreFile(const std::string& path, const FileCalls& calls) {
    ScoreFile file;
    const int fd = calls.open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC, 0);
    if (fd < 0) {
        if (errno != ENOENT) {
            file.unreadableReason = std::strerror(errno);
        }
        return file;
    }
    struct stat status {};
    std::string bytes;
    if (::fstat(fd, &status) != 0) {
        file.unreadableReason = std::strerror(errno);
    } else {
        file.unreadableReason = unfitReason(status);
    }
    if (file.unreadableReason.empty()) {
        file.unreadableReason = readRecords(fd, bytes);
    }
    ::close(fd);
    if (file.unreadableReason.empty()) {
        file.mode = static_cast<int>(status.st_mode & PermissionBits);
        std::istringstream in(bytes);
        file.entries = HighscoreList::parseEntries(in);
    }
    return file;
}

// A lock file is made only beside a plain file, or where one may be made: a
// "moon" linked to a device must not leave a lock file among the devices.
bool isPlainOrMissing(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) != 0 || S_ISREG(status.st_mode);
}

bool qualifiesIn(const std::list<HighscoreEntry>& entries, int points) {
    if (entries.size() < static_cast<std::size_t>(HighscoreCapacity)) {
        return points > 0;
    }
    return entries.back().getScore() < points;
}

void insertInto(std::list<HighscoreEntry>& entries, const HighscoreEntry& entry) {
    if (entries.size() >= static_cast<std::size_t>(HighscoreCapacity)) {
        entries.pop_back();
    }
    auto place = entries.begin();
    while (place != entries.end() && place->getScore() > entry.getScore()) {
        ++place;
    }
    entries.insert(place, entry);
}

}  // namespace

HighscoreList::HighscoreList(const std::string& fileName, const FileCalls& calls)
    : fileName(fileName), calls(calls) {
    // Read under a shared lock when one can be had, so that a platform whose
    // files are copies of a store that several games share (the browser's
    // IndexedDB) can bring the copy up to date first; here it only waits out
    // a save under way. A file that cannot be locked is still read.
    std::optional<FileLock> lock;
    const std::string target = saveTarget(fileName);
    if (!target.empty() && isPlainOrMissing(target)) {
        lock.emplace(target, calls, FileLock::Shared);
    }
    ScoreFile file = readScoreFile(fileName, calls);
    unreadableReason = file.unreadableReason;
    entries = std::move(file.entries);
}

HighscoreList::~HighscoreList() {
    save();
}

bool HighscoreList::qualifies(int points) const {
    return qualifiesIn(entries, points);
}

void HighscoreList::insert(const std::string& name, int points) {
    insertInto(entries, HighscoreEntry(name, points));
    ownResults.emplace_back(name, points);
}

std::list<HighscoreEntry> HighscoreList::parseEntries(std::istream& in) {
    std::list<HighscoreEntry> parsed;
    std::string nameLine;
    std::string scoreLine;
    for (int i = 0; i < HighscoreCapacity; ++i) {
        readLine(in, nameLine);
        readLine(in, scoreLine);
        parsed.emplace_back(nameLine, scoreFromLine(scoreLine));
    }
    // A stable sort keeps equal scores in file order, so looking at the list
    // never reorders it.
    parsed.sort([](const HighscoreEntry& a, const HighscoreEntry& b) { return b < a; });
    return parsed;
}

std::string HighscoreList::formatEntries(const std::list<HighscoreEntry>& entries) {
    std::string text;
    for (const HighscoreEntry& entry : entries) {
        text += entry.getName() + "\n" + std::to_string(entry.getScore()) + "\n";
    }
    return text;
}

void HighscoreList::sayResultNotKept() const {
    std::fprintf(stderr,
                 "Cannot read the high scores in \"%s\": %s; this game's result is not kept.\n",
                 fileName.c_str(), unreadableReason.c_str());
}

void HighscoreList::sayNotSaved(const std::string& reason) const {
    std::fprintf(stderr, "Could not save the high scores in \"%s\": %s; %s\n", fileName.c_str(),
                 reason.c_str(),
                 ownResults.empty() ? "the file stays as it was."
                                    : "this game's result is not kept.");
}

void HighscoreList::save() const {
    if (!keepsResults()) {
        return;
    }
    const std::string target = saveTarget(fileName);
    if (target.empty()) {
        sayNotSaved(std::strerror(errno));
        return;
    }
    const FileLock lock(target, calls);
    if (lock.error() == EWOULDBLOCK) {
        sayNotSaved("another game kept it locked (" + std::string(std::strerror(EWOULDBLOCK)) +
                    ")");
        return;
    }
    if (lock.error() != FileLock::Held) {
        sayNotSaved(std::strerror(lock.error()));
        return;
    }
    // Another game may have saved since this list was read: start from the
    // file as it is now and add only what this game did.
    ScoreFile now = readScoreFile(target, calls);
    if (!now.unreadableReason.empty()) {
        sayNotSaved(now.unreadableReason);
        return;
    }
    for (const HighscoreEntry& result : ownResults) {
        if (qualifiesIn(now.entries, result.getScore())) {
            insertInto(now.entries, result);
        }
    }
    const int error = replaceFile(target, formatEntries(now.entries), now.mode, calls);
    if (error != SaveDone) {
        sayNotSaved(std::strerror(error));
    }
}
