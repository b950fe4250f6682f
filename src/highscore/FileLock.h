#pragma once

#include "highscore/SafeSave.h"

#include <string>

// An exclusive flock(2) on a hidden lock file beside a file that several
// games share (".moon.lock" beside "moon"). The lock file is never removed:
// a game waiting on it must lock the same file that the next game creates.
// The kernel releases the lock when its holder dies, so a crash never blocks
// the next game. Main thread only.
class FileLock {
public:
    static constexpr int WaitMilliseconds = 3000;  // how long a save waits for another game

    // Locks the lock file of path (created when missing), waiting at most
    // WaitMilliseconds; see error() for the outcome.
    FileLock(const std::string& path, const FileCalls& calls);
    ~FileLock();  // releases the lock
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // SaveDone while the lock is held; else the errno of the failed step,
    // EWOULDBLOCK when another game held it past the wait.
    int error() const { return failure; }

    static std::string lockPath(const std::string& path);  // ".NAME.lock" beside path

private:
    int fd = -1;  // the open lock file; -1 when it could not be opened
    int failure = SaveDone;
};
