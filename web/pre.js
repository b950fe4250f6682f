// Runs inside the game's module before main: what Emscripten's SDL does
// otherwise than the game needs.
Module.preRun = Module.preRun || [];

// Emscripten's SDL leaves Caps Lock out of a key's modifiers, and the name
// entry needs it (Shift inverts it): key events take it from the browser.
Module.preRun.push(function () {
  var handleEvent = SDL.handleEvent;
  SDL.handleEvent = function (event) {
    handleEvent.call(SDL, event);
    var isKey = event.type === 'keydown' || event.type === 'keyup';
    if (isKey && event.getModifierState && event.getModifierState('CapsLock')) {
      SDL.modState |= 0x2000; // KMOD_CAPS
    }
  };
});

// SDL_Init listens for the page's unload only to run a main loop that the
// game does not use. An unload listener keeps the browser from holding the
// page in its back/forward cache, and the event is on its way out of the web:
// that one listener is never added.
Module.preRun.push(function () {
  var addListener = window.addEventListener;
  window.addEventListener = function (type, listener, options) {
    if (type !== 'unload' || listener !== SDL.receiveEvent) {
      addListener.call(window, type, listener, options);
    }
  };
});
