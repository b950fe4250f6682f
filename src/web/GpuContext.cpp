#include "web/GpuContext.h"

#include <emscripten/html5.h>

// In the page (src/web/library.js).
extern "C" {
void listenForLoss(int staysLostMs);
int restoresSoFar();
void sayCannotDrawJs(int noWebGl);
}

namespace {

// A context that is still lost after this long may not come back: the page
// says so, and offers to start again.
constexpr int StaysLostMs = 3000;

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
