#include "highscore/SafeSave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

const FileCalls PosixFileCalls = {
    [](const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }, ::write,
    ::fsync, ::close, ::rename};

namespace {

constexpr mode_t NewFileMode = 0666;  // narrowed by the umask, as any new file is
constexpr const char* TemporaryPrefix = ".";
constexpr const char* TemporarySuffix = ".tmp";
constexpr int MaxLinksFollowed = 40;  // the kernel's own bound before ELOOP

// The target of the symbolic link at path: "" when path is no link (errno
// EINVAL), is missing (ENOENT) or cannot be followed (any other errno).
std::string linkTarget(const std::string& path) {
    char target[PATH_MAX];
    const ssize_t length = ::readlink(path.c_str(), target, sizeof target);
    if (length == static_cast<ssize_t>(sizeof target)) {
        errno = ENAMETOOLONG;
    }
    if (length < 0 || length == static_cast<ssize_t>(sizeof target)) {
        return std::string();
    }
    return std::string(target, static_cast<std::size_t>(length));
}

// A hidden name beside the file, of this process alone, so that a rename
// within one directory can put it in the file's place.
std::string temporaryPath(const std::string& path) {
    const std::string directory = directoryPart(path);
    return directory + TemporaryPrefix + path.substr(directory.size()) + "." +
           std::to_string(::getpid()) + TemporarySuffix;
}

// A fresh temporary file, or -1. One left behind by an earlier process of the
// same id is an unfinished save of ours and goes.
int createTemporary(const FileCalls& calls, const std::string& path) {
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
    int fd = calls.open(path.c_str(), flags, NewFileMode);
    if (fd < 0 && errno == EEXIST && ::unlink(path.c_str()) == 0) {
        fd = calls.open(path.c_str(), flags, NewFileMode);
    }
    return fd;
}

bool writeAll(const FileCalls& calls, int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = calls.write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            errno = written == 0 ? EIO : errno;
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

// Writes, syncs and closes the temporary file; closes it in every case.
// A file that was there keeps its permissions; a new one gets the umask's.
// SaveDone, or the errno of the first step that failed.
int fillTemporary(const FileCalls& calls, int fd, const std::string& bytes, int mode) {
    int error = SaveDone;
    if (mode >= 0 && ::fchmod(fd, static_cast<mode_t>(mode)) != 0) {
        error = errno;
    } else if (!writeAll(calls, fd, bytes) || calls.fsync(fd) != 0) {
        error = errno;
    }
    // A failed close may be the first report of a failed write, and on this
    // system the descriptor is gone either way.
    if (calls.close(fd) != 0 && error == SaveDone) {
        error = errno;
    }
    return error;
}

// Makes the rename itself last across a crash. Nothing can be undone here:
// the new file is in place already. In the browser every fsync, the
// temporary file's and this one, copies the whole score folder into
// IndexedDB, where the page keeps its scores; this one, after the rename, is
// what puts the new file there: without it a reload would lose the save, so
// its failure is the save's. SaveDone also where the directory cannot be
// opened for reading or its file system cannot sync a directory (EINVAL):
// the new file is in place, and nothing here could make it last.
int syncDirectory(const FileCalls& calls, const std::string& path) {
    const std::string directory = directoryPart(path);
    const int fd =
        ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return SaveDone;
    }
    const int error = calls.fsync(fd) != 0 && errno != EINVAL ? errno : SaveDone;
    ::close(fd);
    return error;
}

}  // namespace

std::string directoryPart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string saveTarget(const std::string& path) {
    std::string file = path;
    for (int followed = 0; followed <= MaxLinksFollowed; ++followed) {
        const std::string target = linkTarget(file);
        if (target.empty()) {
            return errno == EINVAL || errno == ENOENT ? file : std::string();
        }
        // A relative target is read from the link's own directory.
        file = target.front() == '/' ? target : directoryPart(file) + target;
    }
    errno = ELOOP;
    return std::string();
}

int replaceFile(const std::string& path, const std::string& bytes, int mode,
                const FileCalls& calls) {
    const std::string temporary = temporaryPath(path);
    const int fd = createTemporary(calls, temporary);
    if (fd < 0) {
        return errno;
    }
    int error = fillTemporary(calls, fd, bytes, mode);
    if (error == SaveDone && calls.rename(temporary.c_str(), path.c_str()) != 0) {
        error = errno;
    }
    if (error != SaveDone) {
        ::unlink(temporary.c_str());
        return error;
    }
    return syncDirectory(calls, path);
}
