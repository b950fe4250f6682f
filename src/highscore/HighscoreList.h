#pragma once

#include "highscore/HighscoreEntry.h"
#include "highscore/SafeSave.h"

#include <iosfwd>
#include <list>
#include <string>

// The ten best results, kept in a plain-text file of two lines per record
// (name, decimal score), best first. Made to be used and released: the
// constructor loads the file, the destructor saves it. At most one exists.
// Main thread only.
class HighscoreList {
public:
    static constexpr const char* DefaultFileName = "moon";  // in the working directory

    // Loads fileName: a missing file gives an empty list, a file that exists
    // but cannot be read gives an empty list that is never saved, any other
    // file gives exactly HighscoreCapacity entries. calls must outlive the list.
    explicit HighscoreList(const std::string& fileName = DefaultFileName,
                           const FileCalls& calls = PosixFileCalls);
    // Saves: replaces the file whole through a temporary file in the same
    // directory, or leaves it as it was when any step fails. Reports nothing.
    ~HighscoreList();
    HighscoreList(const HighscoreList&) = delete;
    HighscoreList& operator=(const HighscoreList&) = delete;

    // True when points would earn a place: strictly above the lowest kept
    // score, or above 0 while the list holds fewer than HighscoreCapacity.
    bool qualifies(int points) const;
    // Puts the entry in front of every entry with the same score, dropping the
    // last entry only when the list is full. Called after qualifies said yes.
    void insert(const std::string& name, int points);
    const std::list<HighscoreEntry>& getEntries() const { return entries; }  // best first

    // The file format on its own, for the loader, the saver and the fuzz target.
    // Reads at most 2 * HighscoreCapacity lines; always gives HighscoreCapacity
    // entries, best first, equal scores in file order.
    static std::list<HighscoreEntry> parseEntries(std::istream& in);
    // Two lines per entry, in list order; names must hold no newline.
    static std::string formatEntries(const std::list<HighscoreEntry>& entries);

private:
    void load();
    void save() const;

    std::string fileName;
    FileCalls calls;
    bool writable = false;              // the file was read, or it did not exist yet
    int fileMode = -1;                  // permission bits of the file read; -1 when there was none
    std::list<HighscoreEntry> entries;  // best first; empty when the file could not be read
};
