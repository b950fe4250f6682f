#pragma once

#include "highscore/HighscoreEntry.h"
#include "highscore/SafeSave.h"

#include <iosfwd>
#include <list>
#include <string>
#include <vector>

// The ten best results, kept in a plain-text file of two lines per record
// (name, decimal score), best first. Made to be used and released: the
// constructor loads the file, the destructor saves it. Games running at once
// may share the file: a save reads it again under a lock and adds only this
// list's own results, so no game's result is lost. Main thread only.
class HighscoreList {
public:
    static constexpr const char* DefaultFileName = "moon";  // in the working directory

    // Loads fileName, under a shared lock when it can be had: a missing file
    // gives an empty list; a file that exists but cannot be read (not a plain
    // file, longer than 1 MiB, or failing to open or read) gives an empty list
    // that is never saved; any other file gives exactly HighscoreCapacity
    // entries. The list keeps its own copy of calls.
    explicit HighscoreList(const std::string& fileName = DefaultFileName,
                           const FileCalls& calls = PosixFileCalls);
    // Saves under the file's lock (waiting at most FileLock::WaitMilliseconds):
    // reads the file as it is now, inserts this list's own results where they
    // still qualify, and replaces the file whole, through a symbolic link to
    // its target. A file that could not be read is left alone; any failure
    // leaves the file as it was and is said in one line on standard error.
    ~HighscoreList();
    HighscoreList(const HighscoreList&) = delete;
    HighscoreList& operator=(const HighscoreList&) = delete;

    // False when the file exists but could not be read: a result given to
    // this list would never be saved, so none should be asked for.
    bool keepsResults() const { return unreadableReason.empty(); }
    // One line on standard error: the file, why it could not be read, and
    // that this game's result is not kept. Called when keepsResults is false.
    void sayResultNotKept() const;

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
    void save() const;
    void sayNotSaved(const std::string& reason) const;  // one line on standard error

    std::string fileName;
    FileCalls calls;
    std::string unreadableReason;            // why the file could not be read; empty when it could
    std::list<HighscoreEntry> entries;       // best first; empty when the file could not be read
    std::vector<HighscoreEntry> ownResults;  // inserted into this list, in order
};
