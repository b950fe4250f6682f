// The reference pictures' scenes drawn in the browser, for tests/web/pictures.mjs:
// the program lists their names in Module.sceneNames, then shows whichever
// the page names in Module.wantedScene, one frame after another.
#include "shell/Game.h"
#include "support/Image.h"
#include "support/Scenes.h"

#include <SDL.h>
#include <emscripten.h>

#include <vector>

namespace {

EM_JS(void, listScene, (const char* name), {
    Module.sceneNames = Module.sceneNames || [];
    Module.sceneNames.push(UTF8ToString(name));
});

EM_JS(int, wantedScene, (), { return Module.sceneNames.indexOf(Module.wantedScene); });

}  // namespace

int main() {
    Game game(WindowSide, WindowSide);
    const std::vector<Scene> scenes = allScenes();
    for (const Scene& scene : scenes) {
        listScene(scene.name);
    }
    for (;;) {
        // As the desktop's tests draw: the first frame after start-up is black.
        game.beginOverlayFrame();
        game.beginOverlayFrame();
        const int wanted = wantedScene();
        if (wanted >= 0) {
            scenes[static_cast<std::size_t>(wanted)].draw(game);
        }
        SDL_GL_SwapBuffers();
    }
}
