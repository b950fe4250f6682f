#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

// The system calls of reading and saving "moon" that a test may make fail:
// the opens of the file, its lock file and the temporary file, and the
// temporary file's write, fsync and close and its rename. The game uses the
// real ones; tests put failing ones in their place, since a test running as
// root cannot make a call fail by permissions alone. The rest (readlink,
// unlink, fchmod, fstat, read, flock and the directory's open and fsync) go
// to the system directly.
struct FileCalls {
    int (*open)(const char* path, int flags, mode_t mode);           // like open(2)
    ssize_t (*write)(int fd, const void* bytes, std::size_t count);  // like write(2)
    int (*fsync)(int fd);                                            // like fsync(2)
    int (*close)(int fd);                                            // like close(2)
    int (*rename)(const char* from, const char* to);                 // like rename(2)
};

// The real system calls.
extern const FileCalls PosixFileCalls;

// Result of a save step: SaveDone, or the errno of the step that failed.
constexpr int SaveDone = 0;

// The file a save of path must replace: path itself, or the end of the chain
// of symbolic links that starts there (a dangling link gives the path to
// create), so that the link stays and its target gets the new bytes. Empty,
// with errno set, when the chain cannot be followed (ELOOP past 40 links).
std::string saveTarget(const std::string& path);

// The directory part of a path, with its slash; empty for a bare name.
std::string directoryPart(const std::string& path);

// Replaces the file at path, which must be no symbolic link (see saveTarget),
// with bytes, whole or not at all: a temporary file beside it is written,
// synced, closed and renamed over it, then the directory is synced. mode:
// permission bits to give it, -1 for a new file's (0666 narrowed by the
// umask). SaveDone, or the errno of the failed step, after which the
// temporary file is gone and the file is as it was; only when the directory's
// sync fails is the new file in place, not known to last (in the browser, not
// kept: the next refresh from IndexedDB takes it back).
int replaceFile(const std::string& path, const std::string& bytes, int mode,
                const FileCalls& calls);
