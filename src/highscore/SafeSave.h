#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

// The system calls through which a file is saved. The game uses the real
// ones; tests put failing ones in their place, since a test running as root
// cannot make a write fail by permissions alone.
struct FileCalls {
    ssize_t (*write)(int fd, const void* bytes, std::size_t count);  // like write(2)
    int (*fsync)(int fd);                                            // like fsync(2)
    int (*close)(int fd);                                            // like close(2)
    int (*rename)(const char* from, const char* to);                 // like rename(2)
};

// The real system calls.
extern const FileCalls PosixFileCalls;

// Replaces the file at path with bytes, whole or not at all: a temporary file
// beside it is written, synced, closed and renamed over it, then the
// directory is synced. mode: permission bits to give it, -1 for a new file's
// (0666 narrowed by the umask). When any step fails the temporary file goes,
// the file stays as it was, and the result is false.
bool replaceFile(const std::string& path, const std::string& bytes, int mode,
                 const FileCalls& calls);
