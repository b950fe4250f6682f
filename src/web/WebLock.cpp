// The calls through which the tabs and windows of one site share a folder
// kept in the browser's IndexedDB (web/scores.js mounts it), in place of
// Emscripten's: its flock locks nothing, its nanosleep keeps the page's only
// thread busy, and its fsync reports a failed write as done.
//
// flock takes a Web Lock named after the folder, shared or exclusive, and
// once it holds the lock brings the folder up to date from the database, so
// that what the game reads next is what the other tabs saved. fsync writes
// the folder back to the database and returns once that is done, which the
// game's save does before it lets go of the lock.
#include <emscripten.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

namespace {

constexpr double MillisecondsPerSecond = 1000.0;
constexpr double NanosecondsPerMillisecond = 1000.0 * 1000.0;
constexpr long NanosecondsPerSecond = 1000L * 1000L * 1000L;

// Suspends the game, not the page, until the lock of fd's folder is held and
// the folder refreshed: 0, or busy when nonBlocking and another holder
// conflicts, or failed when the refresh failed (and the lock is let go).
// Without Web Locks (a page not served securely) only refreshes, and says so once.
EM_JS(int, lockFolder, (int fd, int exclusive, int nonBlocking, int busy, int failed), {
    return Asyncify.handleSleep(function(wakeUp) {
        var mount = FS.getStream(fd).node.mount;
        if (!Module.heldLocks) {
            Module.heldLocks = new Map();
        }
        function refresh(done) {
            if (!mount.type.syncfs) {
                done(null);
                return;
            }
            mount.type.syncfs(mount, true, done);
        }
        if (!navigator.locks) {
            if (!Module.saidNoLocks) {
                console.warn("This browser offers no Web Locks here: tabs of this page may " +
                             "overwrite each other's high scores.");
                Module.saidNoLocks = true;
            }
            refresh(function(error) { wakeUp(error ? failed : 0); });
            return;
        }
        var options = {mode : exclusive ? "exclusive" : "shared", ifAvailable : !!nonBlocking};
        navigator.locks.request(
            mount.mountpoint, options, function(lock) {
                if (!lock) {
                    wakeUp(busy);
                    return;
                }
                return new Promise(function(release) {
                    refresh(function(error) {
                        if (error) {
                            release();
                            wakeUp(failed);
                            return;
                        }
                        Module.heldLocks.set(fd, release);
                        wakeUp(0);
                    });
                });
            });
    });
});

// Lets go of the lock that lockFolder took for fd, if any.
EM_JS(void, unlockFolder, (int fd), {
    var release = Module.heldLocks && Module.heldLocks.get(fd);
    if (release) {
        Module.heldLocks.delete(fd);
        release();
    }
});

// Suspends the game until fd's folder is written to the database: 0, or
// failed. Module.onFolderSaved, if the page has one, hears of each write.
EM_JS(int, saveFolder, (int fd, int failed), {
    return Asyncify.handleSleep(function(wakeUp) {
        var mount = FS.getStream(fd).node.mount;
        if (!mount.type.syncfs) {
            wakeUp(0);
            return;
        }
        mount.type.syncfs(
            mount, false, function(error) {
                if (!error && Module.onFolderSaved) {
                    Module.onFolderSaved(mount.mountpoint);
                }
                wakeUp(error ? failed : 0);
            });
    });
});

// Suspends the game, not the page, for the given time.
EM_JS(void, sleepFor, (double milliseconds), {
    Asyncify.handleSleep(function(wakeUp) {
        setTimeout(
            function() { wakeUp(); }, milliseconds);
    });
});

int failWith(int error) {
    errno = error;
    return -1;
}

bool isOpen(int fd) {
    return ::fcntl(fd, F_GETFD) != -1;
}

}  // namespace

extern "C" int flock(int fd, int operation) {
    if (!isOpen(fd)) {
        return failWith(EBADF);
    }
    // A lock that fd holds already is let go first: a Web Lock cannot change
    // its mode, and flock(2) does not promise to convert a lock atomically.
    unlockFolder(fd);
    const int mode = operation & (LOCK_SH | LOCK_EX | LOCK_UN);
    if (mode == LOCK_UN) {
        return 0;
    }
    if (mode != LOCK_SH && mode != LOCK_EX) {
        return failWith(EINVAL);
    }
    const int error = lockFolder(fd, mode == LOCK_EX, (operation & LOCK_NB) != 0, EWOULDBLOCK, EIO);
    return error == 0 ? 0 : failWith(error);
}

extern "C" int fsync(int fd) {
    if (!isOpen(fd)) {
        return failWith(EBADF);
    }
    const int error = saveFolder(fd, EIO);
    return error == 0 ? 0 : failWith(error);
}

extern "C" int nanosleep(const timespec* duration, timespec* remaining) {
    if (duration == nullptr || duration->tv_sec < 0 || duration->tv_nsec < 0 ||
        duration->tv_nsec >= NanosecondsPerSecond) {
        return failWith(EINVAL);
    }
    sleepFor(static_cast<double>(duration->tv_sec) * MillisecondsPerSecond +
             static_cast<double>(duration->tv_nsec) / NanosecondsPerMillisecond);
    if (remaining != nullptr) {
        *remaining = timespec{};
    }
    return 0;
}
