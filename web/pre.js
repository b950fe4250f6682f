// Runs inside the game's module before main: what Emscripten's SDL does
// otherwise than the game needs.
Module.preRun = Module.preRun || [];

// Emscripten's SDL leaves Caps Lock out of a key's modifiers, and the name
// entry needs it (Shift inverts it): key events take it from the browser.
Module.preRun.push(() => {
  const handleEvent = SDL.handleEvent;
  SDL.handleEvent = (event) => {
    handleEvent.call(SDL, event);
    const isKey = event.type === 'keydown' || event.type === 'keyup';
    if (isKey && event.getModifierState && event.getModifierState('CapsLock')) {
      SDL.modState |= 0x2000; // KMOD_CAPS
    }
  };
});

// Emscripten's SDL cancels the browser's action for every key, even after
// the game has ended. While the game runs, a key keeps that cancel: any key
// may be the game's (the instructions and the table leave on any key), and
// Space, the arrows and Tab would otherwise scroll the page or take the focus
// off the field. Ctrl or Meta combinations and the function keys (reload,
// zoom, find) are the browser's, though the game still hears them. Once the
// game has ended (ABORT is set as it exits), every key is the browser's.
Module.preRun.push(() => {
  const receive = SDL.receiveEvent;
  const FunctionKey = /^F\d+$/;
  const browserKeeps = (event) => event.ctrlKey || event.metaKey || FunctionKey.test(event.key);
  const keepDefault = () => {};
  SDL.receiveEvent = (event) => {
    if (ABORT) return;
    if (!event.type.startsWith('key') || !browserKeeps(event)) {
      receive(event);
      return;
    }
    // The event's own preventDefault, shadowed for SDL's handler alone.
    Object.defineProperty(event, 'preventDefault', { value: keepDefault, configurable: true });
    receive(event);
    delete event.preventDefault;
  };
});

// SDL_Init listens for the page's unload only to run a main loop that the
// game does not use. An unload listener keeps the browser from holding the
// page in its back/forward cache, and the event is on its way out of the web:
// that one listener is never added.
Module.preRun.push(() => {
  const addListener = window.addEventListener;
  window.addEventListener = (type, listener, options) => {
    if (type !== 'unload' || listener !== SDL.receiveEvent) {
      addListener.call(window, type, listener, options);
    }
  };
});

// The game's coordinates are those of its 600 x 600 video mode
// (canvas.widthNative), whatever size the page gives the drawing buffer to
// draw it sharply: SDL scales the mouse to the buffer, so scale it back.
Module.preRun.push(() => {
  const calculate = Browser.calculateMouseEvent;
  Browser.calculateMouseEvent = (event) => {
    const lastX = Browser.mouseX;
    const lastY = Browser.mouseY;
    calculate.call(Browser, event);
    const canvas = Module.canvas;
    if (event.touch || Browser.pointerLock || !canvas.widthNative) return;
    Browser.mouseX *= canvas.widthNative / canvas.width;
    Browser.mouseY *= canvas.heightNative / canvas.height;
    Browser.mouseMovementX = Browser.mouseX - lastX;
    Browser.mouseMovementY = Browser.mouseY - lastY;
  };
});

// The touch controls and the on-screen keyboard (touch.js) queue their
// presses here, shaped as the browser's own mouse and key events are.
Module.queueInput = (event) => {
  SDL.events.push(event);
};
