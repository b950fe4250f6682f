#include "shell/Game.h"

int main(int, char**) {
    Game game(600, 600);
    game.run();
}
