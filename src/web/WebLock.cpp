// flock for the browser, with flock(2)'s contract, so that the game locks its
// folder as on the desktop with no #ifdef. Emscripten's own flock locks
// nothing; this one takes a Web Lock named after the folder, shared or
// exclusive, which the tabs and windows of one site all see, and once it
// holds the lock brings the folder up to date from the browser's IndexedDB
// (web/scores.js mounts it), so that what the game reads next is what the
// other tabs saved.
#include <sys/file.h>

#include "web/PosixCalls.h"

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
