#include "web/GpuContext.h"

#include <emscripten.h>
#include <emscripten/html5.h>

namespace {

// A context that is still lost after this long may not come back: the page
// says so, and offers to start again.
constexpr int StaysLostMs = 3000;

EM_JS(void, listenForLoss, (int staysLostMs), {
    const canvas = Module.canvas;
    const gpu = {restores : 0, timer : 0, note : null};
    Module.gpuContext = gpu;
    canvas.addEventListener(
        'webglcontextlost', function(event) {
            // Without this the browser never gives the context back.
            event.preventDefault();
            clearTimeout(gpu.timer);
            gpu.timer = setTimeout(
                function() {
                    gpu.note = document.createElement('p');
                    gpu.note.id = 'lost';
                    gpu.note.setAttribute('role', 'alert');
                    gpu.note.textContent = "The browser has taken the game's graphics away (its " +
                                           "WebGL context was lost). The game waits where it " +
                                           "stood and goes on when they come back. If they do " +
                                           "not, start again: this game is then lost. ";
                    const again = document.createElement('button');
                    again.type = 'button';
                    again.textContent = 'Start again';
                    again.addEventListener(
                        'click', function() { location.reload(); });
                    gpu.note.append(again);
                    canvas.insertAdjacentElement('afterend', gpu.note);
                },
                staysLostMs);
        });
    canvas.addEventListener(
        'webglcontextrestored', function() {
            gpu.restores++;
            clearTimeout(gpu.timer);
            if (gpu.note) {
                gpu.note.remove();
                gpu.note = null;
            }
        });
});

EM_JS(int, restoresSoFar, (), { return Module.gpuContext ? Module.gpuContext.restores : 0; });

EM_JS(void, sayCannotDrawJs, (int noWebGl), {
    const missing = noWebGl ? "this browser offers no WebGL, which the game needs to draw"
                            : "this browser's WebGL could not build the game's shaders " +
                                  "(the console has the details)";
    const note = document.createElement('p');
    note.id = 'cannot-draw';
    note.setAttribute('role', 'alert');
    note.textContent = "Quendle cannot be drawn here: " + missing + ". Turn on hardware " +
                       "acceleration (graphics acceleration) in the browser's settings, or " +
                       "try another browser, then play again.";
    Module.canvas.insertAdjacentElement('afterend', note);
    err("Quendle cannot be drawn: " + missing);
});

}  // namespace

bool gpuContextLost() {
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE handle = emscripten_webgl_get_current_context();
    return handle == 0 || emscripten_is_webgl_context_lost(handle);
}

void watchGpuContext() {
    listenForLoss(StaysLostMs);
}

int gpuRestores() {
    return restoresSoFar();
}

void sayCannotDraw(int reason) {
    sayCannotDrawJs(reason == NoWebGl);
}
