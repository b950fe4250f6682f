// Runs inside the game's module before main: keeps the high scores of this
// page's origin in the browser's IndexedDB and makes that the working
// directory, where the game reads and writes "moon". The game's own save
// syncs the directory to the database after each rename.
Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
  var dir = '/scores';
  FS.mkdir(dir);
  FS.mount(IDBFS, {}, dir);
  addRunDependency('scores');
  FS.syncfs(true, function (error) {
    if (error) {
      err('High scores could not be read from the browser: ' + error);
    }
    FS.chdir(dir);
    removeRunDependency('scores');
  });
});

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
