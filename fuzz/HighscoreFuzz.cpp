// Feeds arbitrary bytes to the high-score reader. Whatever the file holds,
// the list has at most ten entries, best first, and what is saved from it
// reads back as the same list.
#include "highscore/HighscoreList.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

std::list<HighscoreEntry> parse(const std::string& bytes) {
    std::istringstream in(bytes);
    return HighscoreList::parseEntries(in);
}

bool bestFirst(const std::list<HighscoreEntry>& entries) {
    const HighscoreEntry* previous = nullptr;
    for (const HighscoreEntry& entry : entries) {
        if (previous != nullptr && previous->getScore() < entry.getScore()) {
            return false;
        }
        previous = &entry;
    }
    return true;
}

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::list<HighscoreEntry> loaded = parse(bytes);
    require(loaded.size() <= static_cast<std::size_t>(HighscoreCapacity));
    require(bestFirst(loaded));

    const std::string saved = HighscoreList::formatEntries(loaded);
    const std::list<HighscoreEntry> reloaded = parse(saved);
    require(HighscoreList::formatEntries(reloaded) == saved);
    return 0;
}
