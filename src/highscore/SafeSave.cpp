#include "highscore/SafeSave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

const FileCalls PosixFileCalls = {::write, ::fsync, ::close, ::rename};

namespace {

constexpr mode_t NewFileMode = 0666;  // narrowed by the umask, as any new file is
constexpr const char* TemporaryPrefix = ".";
constexpr const char* TemporarySuffix = ".tmp";

// The directory part of a path, with its slash; empty for a bare name.
std::string directoryPart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
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
int createTemporary(const std::string& path) {
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
    int fd = ::open(path.c_str(), flags, NewFileMode);
    if (fd < 0 && errno == EEXIST && ::unlink(path.c_str()) == 0) {
        fd = ::open(path.c_str(), flags, NewFileMode);
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
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

// Writes, syncs and closes the temporary file; closes it in every case.
// A file that was there keeps its permissions; a new one gets the umask's.
bool fillTemporary(const FileCalls& calls, int fd, const std::string& bytes, int mode) {
    const bool keptMode = mode < 0 || ::fchmod(fd, static_cast<mode_t>(mode)) == 0;
    const bool filled = keptMode && writeAll(calls, fd, bytes) && calls.fsync(fd) == 0;
    // A failed close may be the first report of a failed write, and on this
    // system the descriptor is gone either way.
    const bool closed = calls.close(fd) == 0;
    return filled && closed;
}

// Makes the rename itself last across a crash. Nothing can be undone here:
// the new file is in place already.
void syncDirectory(const FileCalls& calls, const std::string& path) {
    const std::string directory = directoryPart(path);
    const int fd =
        ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    calls.fsync(fd);
    ::close(fd);
}

}  // namespace

bool replaceFile(const std::string& path, const std::string& bytes, int mode,
                 const FileCalls& calls) {
    const std::string temporary = temporaryPath(path);
    const int fd = createTemporary(temporary);
    if (fd < 0) {
        return false;
    }
    if (!fillTemporary(calls, fd, bytes, mode) ||
        calls.rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncDirectory(calls, path);
    return true;
}
