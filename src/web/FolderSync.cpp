// fsync for the browser, with fsync(2)'s contract, so that the game's save
// is durable as on the desktop with no #ifdef. Emscripten's own reports a
// failed write as done; this one writes the file's folder back to the
// browser's IndexedDB and returns once that is done, or fails with EIO. The
// game's save calls it before it lets go of the folder's lock (WebLock.cpp).
#include <unistd.h>

#include "web/PosixCalls.h"

extern "C" int fsync(int fd) {
    if (!isOpen(fd)) {
        return failWith(EBADF);
    }
    const int error = saveFolder(fd, EIO);
    return error == 0 ? 0 : failWith(error);
}
