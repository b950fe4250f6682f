#include "highscore/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

namespace {

constexpr mode_t LockFileMode = 0666;  // narrowed by the umask: every game of the player may lock
constexpr long PollMilliseconds = 10;
constexpr long NanosecondsPerMillisecond = 1000 * 1000;
constexpr long MillisecondsPerSecond = 1000;

int tryLock(int fd, int operation) {
    int result = 0;
    do {
        result = ::flock(fd, operation | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    return result == 0 ? FileLock::Held : errno;
}

long monotonicMilliseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * MillisecondsPerSecond + now.tv_nsec / NanosecondsPerMillisecond;
}

}  // namespace

std::string FileLock::lockPath(const std::string& path) {
    const std::string directory = directoryPart(path);
    return directory + "." + path.substr(directory.size()) + ".lock";
}

FileLock::FileLock(const std::string& path, const FileCalls& calls, Mode mode) {
    // A lock file, not the directory: over NFS, flock is carried out with
    // byte-range locks, which need a file open for writing.
    fd = calls.open(lockPath(path).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, LockFileMode);
    if (fd < 0) {
        failure = errno;
        return;
    }
    // Polled rather than blocking, so that a game that never lets go costs
    // this one a few seconds, never a window that hangs. The deadline is on
    // the clock, not the sum of the pauses, which a busy machine stretches.
    const int operation = mode == Shared ? LOCK_SH : LOCK_EX;
    const long deadline = monotonicMilliseconds() + WaitMilliseconds;
    const timespec pause = {0, PollMilliseconds * NanosecondsPerMillisecond};
    failure = tryLock(fd, operation);
    while (failure == EWOULDBLOCK && monotonicMilliseconds() < deadline) {
        ::nanosleep(&pause, nullptr);
        failure = tryLock(fd, operation);
    }
}

FileLock::~FileLock() {
    if (fd < 0) {
        return;
    }
    // Closing would release the lock too; unlocking first says so to a
    // platform whose locks are not the kernel's (the browser's Web Locks).
    if (failure == Held) {
        ::flock(fd, LOCK_UN);
    }
    ::close(fd);
}
