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

int tryLock(int fd) {
    int result = 0;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    return result == 0 ? SaveDone : errno;
}

}  // namespace

std::string FileLock::lockPath(const std::string& path) {
    const std::string directory = directoryPart(path);
    return directory + "." + path.substr(directory.size()) + ".lock";
}

FileLock::FileLock(const std::string& path, const FileCalls& calls) {
    // A lock file, not the directory: over NFS, flock is carried out with
    // byte-range locks, which need a file open for writing.
    fd = calls.open(lockPath(path).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, LockFileMode);
    if (fd < 0) {
        failure = errno;
        return;
    }
    // Polled rather than blocking, so that a game that never lets go costs
    // this one a few seconds and its result, never a window that hangs.
    const timespec pause = {0, PollMilliseconds * NanosecondsPerMillisecond};
    failure = tryLock(fd);
    for (long waited = 0; failure == EWOULDBLOCK && waited < WaitMilliseconds;
         waited += PollMilliseconds) {
        ::nanosleep(&pause, nullptr);
        failure = tryLock(fd);
    }
}

FileLock::~FileLock() {
    // Closing the file releases the lock.
    if (fd >= 0) {
        ::close(fd);
    }
}
