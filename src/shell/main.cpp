#include "shell/Game.h"

#include <csignal>

int main(int, char**) {
#ifdef SIGXFSZ
    // A save that meets the file-size limit must fail like any other failed
    // write, which leaves the old high scores whole, not end the game.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    Game game(600, 600);
    game.run();
}
