#pragma once

#include "highscore/SafeSave.h"

#include <string>

// A flock(2) on a hidden lock file beside a file that several games share
// (".moon.lock" beside "moon"): exclusive while a game saves, shared while
// one reads. The lock file is never removed: a game waiting on it must lock
// the same file that the next game creates. The kernel releases the lock
// when its holder dies, so a crash never blocks the next game. Main thread only.
class FileLock {
public:
    static constexpr int WaitMilliseconds = 3000;  // how long a game waits for another
    static constexpr int Held = 0;                 // error() while the lock is held

    enum Mode { Exclusive, Shared };

    // Locks the lock file of path (created when missing) in mode, waiting
    // until WaitMilliseconds have passed on the monotonic clock; see error().
    FileLock(const std::string& path, const FileCalls& calls, Mode mode = Exclusive);
    ~FileLock();  // unlocks and closes the lock file
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Held while the lock is held; else the errno of the failed step,
    // EWOULDBLOCK when another game held it past the wait.
    int error() const { return failure; }

    static std::string lockPath(const std::string& path);  // ".NAME.lock" beside path

private:
    int fd = -1;  // the open lock file; -1 when it could not be opened
    int failure = Held;
};
