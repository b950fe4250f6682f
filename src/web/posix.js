// The page's side of the C library calls that the web layer answers itself
// (declared in PosixCalls.h), linked in with --js-library. Each of lockFolder,
// saveFolder and sleepFor suspends the game, not the page, until it wakes it
// up (Asyncify: web/CMakeLists.txt names them in ASYNCIFY_IMPORTS).
// Emscripten 3.1.6 takes each entry only as a function expression, and its
// optimizer takes no destructuring or object spread here.
//
// The folders are those that web/scores.js mounts in the browser's IndexedDB,
// shared by the tabs and windows of one site: a Web Lock named after the
// folder keeps their games from writing it at once.
mergeInto(LibraryManager.library, {
  // Brings the folder of mount up to date from its database, then done(error).
  $refreshFolder: function (mount, done) {
    if (mount.type.syncfs) mount.type.syncfs(mount, true, done);
    else done(null);
  },

  // Without Web Locks (a page not served securely) only refreshes, and says so once.
  lockFolder__deps: ['$FS', '$refreshFolder'],
  lockFolder__sig: 'iiiiii',
  lockFolder: function (fd, exclusive, nonBlocking, busy, failed) {
    return Asyncify.handleSleep((wakeUp) => {
      const mount = FS.getStream(fd).node.mount;
      if (!Module.heldLocks) Module.heldLocks = new Map();
      if (!navigator.locks) {
        if (!Module.saidNoLocks) {
          console.warn("This browser offers no Web Locks here: tabs of this page may overwrite each other's high scores.");
          Module.saidNoLocks = true;
        }
        refreshFolder(mount, (error) => wakeUp(error ? failed : 0));
        return;
      }
      const options = { mode: exclusive ? 'exclusive' : 'shared', ifAvailable: !!nonBlocking };
      navigator.locks.request(mount.mountpoint, options, (lock) => {
        if (!lock) {
          wakeUp(busy);
          return null;
        }
        // The lock is held until this promise settles: unlockFolder settles it.
        return new Promise((release) => refreshFolder(mount, (error) => {
          if (error) {
            release();
            wakeUp(failed);
            return;
          }
          Module.heldLocks.set(fd, release);
          wakeUp(0);
        }));
      });
    });
  },

  unlockFolder__sig: 'vi',
  unlockFolder: function (fd) {
    const release = Module.heldLocks && Module.heldLocks.get(fd);
    if (release) {
      Module.heldLocks.delete(fd);
      release();
    }
  },

  // Module.onFolderSaved, if the page has one, hears of each write.
  saveFolder__deps: ['$FS'],
  saveFolder__sig: 'iii',
  saveFolder: function (fd, failed) {
    return Asyncify.handleSleep((wakeUp) => {
      const mount = FS.getStream(fd).node.mount;
      if (!mount.type.syncfs) {
        wakeUp(0);
        return;
      }
      mount.type.syncfs(mount, false, (error) => {
        if (!error && Module.onFolderSaved) Module.onFolderSaved(mount.mountpoint);
        wakeUp(error ? failed : 0);
      });
    });
  },

  sleepFor__sig: 'vd',
  sleepFor: function (milliseconds) {
    Asyncify.handleSleep((wakeUp) => setTimeout(() => wakeUp(), milliseconds));
  },
});
