#include "shell/Game.h"

#include <csignal>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

#ifdef __GLIBC__
// Free memory at the top of the heap that glibc keeps instead of giving it
// back to the kernel. Software OpenGL (Mesa's llvmpipe) frees each frame's
// scene when the frame is done; with glibc's default of 128 KiB the heap
// shrank after every frame and the next frame faulted all those pages in
// again, thousands a frame with 40 balls. The heap of a level of 100 balls
// stays under 64 MiB. Set once, before SDL starts any thread; it also stops
// glibc from moving the threshold by itself.
constexpr int KeptHeapTopBytes = 64 * 1024 * 1024;
#endif

}  // namespace

int main(int, char**) {
#ifdef __GLIBC__
    mallopt(M_TRIM_THRESHOLD, KeptHeapTopBytes);
#endif
#ifdef SIGXFSZ
    // A save that meets the file-size limit must fail like any other failed
    // write, which leaves the old high scores whole, not end the game.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    Game game(600, 600);
    game.run();
}
