#pragma once

#include "highscore/HighscoreEntry.h"

#include <iosfwd>
#include <list>
#include <string>

// The ten best results, kept in a plain-text file of two lines per record
// (name, decimal score), best first. Made to be used and released: the
// constructor loads the file, the destructor saves it. At most one exists.
class HighscoreList {
public:
    static constexpr const char* DefaultFileName = "moon"; // in the working directory

    explicit HighscoreList(const std::string& fileName = DefaultFileName); // loads
    ~HighscoreList(); // saves atomically; never over a file that exists but could not be read
    HighscoreList(const HighscoreList&) = delete;
    HighscoreList& operator=(const HighscoreList&) = delete;

    bool qualifies(int points) const;                  // strictly beats the lowest kept score
    void insert(const std::string& name, int points);  // in front of equal scores; keeps <= 10
    const std::list<HighscoreEntry>& getEntries() const { return entries; } // best first

    // The file format on its own, for the loader, the saver and the fuzz target.
    static std::list<HighscoreEntry> parseEntries(std::istream& in); // always 10, best first
    static std::string formatEntries(const std::list<HighscoreEntry>& entries);

private:
    void load();
    void save() const;

    std::string fileName;
    bool writable = false; // the file was read, or it did not exist yet
    std::list<HighscoreEntry> entries; // best first; empty when the file could not be read
};
