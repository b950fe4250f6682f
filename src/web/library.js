// The web layer's JavaScript: what src/web/ calls in the page, linked into the
// game and the scene program as an Emscripten library (--js-library). It
// holds the frame's texts and the wait for the display (src/web/GlCalls.cpp,
// src/web/FramePacing.cpp), the watch over the WebGL context and the words
// when the page cannot draw (src/web/GpuContext.cpp), and the clock that
// stands still while the level cannot be seen (src/web/WebTimer.cpp). Each
// entry is a plain function, as Emscripten 3.1.6 wants its library members;
// what they do inside is modern JavaScript.
mergeInto(LibraryManager.library, {
  // The page learns which screen shows from the texts of each frame
  // (Module.frameTexts, web/touch.js): the first 60 bytes of each, as many
  // glyphs as a line of the field holds.
  textDrawn__sig: 'vii',
  textDrawn: function (bytes, length) {
    if (!Module.drawnTexts) Module.drawnTexts = [];
    Module.drawnTexts.push(
      String.fromCharCode.apply(null, HEAPU8.subarray(bytes, bytes + Math.min(length, 60))));
  },

  frameShown__sig: 'v',
  frameShown: function () {
    Module.frameTexts = Module.drawnTexts || [];
    Module.drawnTexts = [];
    if (Module.onFrame) Module.onFrame();
  },

  // Suspends the game until the browser's next display frame, when the page
  // shows what was drawn and has delivered the input that came meanwhile.
  // Asyncify knows it through ASYNCIFY_IMPORTS (web/CMakeLists.txt).
  waitForDisplay__sig: 'v',
  waitForDisplay: function () {
    Asyncify.handleSleep((wakeUp) => requestAnimationFrame(() => wakeUp()));
  },

  // Asks the browser to give a lost context back, and puts a note with a way
  // to start again on the page once it has stayed lost staysLostMs.
  listenForLoss__sig: 'vi',
  listenForLoss: function (staysLostMs) {
    const canvas = Module.canvas;
    const gpu = { restores: 0, timer: 0, note: null };
    Module.gpuContext = gpu;
    const sayLost = () => {
      gpu.note = document.createElement('p');
      gpu.note.id = 'lost';
      gpu.note.setAttribute('role', 'alert');
      gpu.note.textContent = "The browser has taken the game's graphics away (its " +
        'WebGL context was lost). The game waits where it stood and goes on when ' +
        'they come back. If they do not, start again: this game is then lost. ';
      const again = document.createElement('button');
      again.type = 'button';
      again.textContent = 'Start again';
      again.addEventListener('click', () => location.reload());
      gpu.note.append(again);
      canvas.insertAdjacentElement('afterend', gpu.note);
    };
    canvas.addEventListener('webglcontextlost', (event) => {
      // Without this the browser never gives the context back.
      event.preventDefault();
      clearTimeout(gpu.timer);
      gpu.timer = setTimeout(sayLost, staysLostMs);
    });
    canvas.addEventListener('webglcontextrestored', () => {
      gpu.restores++;
      clearTimeout(gpu.timer);
      if (gpu.note) {
        gpu.note.remove();
        gpu.note = null;
      }
    });
  },

  restoresSoFar__sig: 'i',
  restoresSoFar: function () {
    return Module.gpuContext ? Module.gpuContext.restores : 0;
  },

  sayCannotDrawJs__sig: 'vi',
  sayCannotDrawJs: function (noWebGl) {
    const missing = noWebGl ? 'this browser offers no WebGL, which the game needs to draw'
      : "this browser's WebGL could not build the game's shaders (the console has the details)";
    const note = document.createElement('p');
    note.id = 'cannot-draw';
    note.setAttribute('role', 'alert');
    note.textContent = `Quendle cannot be drawn here: ${missing}. Turn on hardware ` +
      "acceleration (graphics acceleration) in the browser's settings, or try another " +
      'browser, then play again.';
    Module.canvas.insertAdjacentElement('afterend', note);
    err(`Quendle cannot be drawn: ${missing}`);
  },

  // Milliseconds the level could be seen since the first call: the page shown
  // and its WebGL context not lost. The browser still runs a hidden page's
  // timers, now and then, and a page without its context runs them as ever; a
  // clock that stands still meanwhile gives them nothing to post, and none
  // owed when the game shows again.
  seenMilliseconds__sig: 'd',
  seenMilliseconds: function () {
    if (!Module.seenTime) {
      const lost = Boolean(Module.ctx && Module.ctx.isContextLost());
      const seen = { before: 0, since: null, hidden: document.hidden, lost };
      const update = () => {
        const running = !seen.hidden && !seen.lost;
        if (!running && seen.since != null) {
          seen.before += performance.now() - seen.since;
          seen.since = null;
        } else if (running && seen.since == null) {
          seen.since = performance.now();
        }
      };
      const watch = (target, event, change) => target.addEventListener(event, () => {
        change();
        update();
      });
      watch(document, 'visibilitychange', () => { seen.hidden = document.hidden; });
      watch(Module.canvas, 'webglcontextlost', () => { seen.lost = true; });
      watch(Module.canvas, 'webglcontextrestored', () => { seen.lost = false; });
      update();
      Module.seenTime = seen;
    }
    const time = Module.seenTime;
    return time.before + (time.since == null ? 0 : performance.now() - time.since);
  },
});
