#pragma once

// What the web layer's stand-ins for C library calls share (WebLock.cpp,
// FolderSync.cpp, WebSleep.cpp): their way of failing, and the page's side of
// each, whose JavaScript lives in posix.js. The page's functions suspend the
// game, not the page, until they are done (Asyncify): main thread only.

#include <fcntl.h>

#include <cerrno>

// Sets errno to error and returns -1, as a failed POSIX call does.
inline int failWith(int error) {
    errno = error;
    return -1;
}

// Whether fd is an open file descriptor.
inline bool isOpen(int fd) {
    return ::fcntl(fd, F_GETFD) != -1;
}

extern "C" {
// Holds the Web Lock of fd's folder (exclusive or shared) and refreshes the
// folder from the database: 0, or busy when nonBlocking and another holder
// conflicts, or failed when the refresh failed (the lock is then let go).
int lockFolder(int fd, int exclusive, int nonBlocking, int busy, int failed);
// Lets go of the lock that lockFolder took for fd, if any.
void unlockFolder(int fd);
// Writes fd's folder to the database: 0 once it is written, or failed.
int saveFolder(int fd, int failed);
// Returns after the given time, in milliseconds (>= 0).
void sleepFor(double milliseconds);
}
