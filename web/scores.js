// Runs inside the game's module before main: keeps the high scores of this
// page's site in the browser's IndexedDB, in the folder the game works in,
// where it reads and writes "moon". The web layer's flock brings the folder
// up to date from the database whenever the game locks it, and its fsync
// writes the folder back (src/web/WebLock.cpp, FolderSync.cpp and posix.js),
// so that the tabs and windows of the site share one table.
Module.preRun = Module.preRun || [];
Module.preRun.push(() => {
  // A browser that refuses the page its database (blocked, or a private
  // mode) keeps no result. The game still plays, in a folder whose "moon" it
  // cannot read, so that it asks for no name, as with an unreadable "moon" on
  // the desktop; the page says why under the field.
  function unkeptFolder(error) {
    err(`High scores cannot be kept in this browser: ${error}`);
    const unkept = '/unkept';
    FS.mkdir(unkept);
    FS.writeFile(`${unkept}/moon`, '');
    FS.chmod(`${unkept}/moon`, 0);
    const note = Object.assign(document.createElement('p'), {
      id: 'unkept',
      textContent: 'Results cannot be kept: this browser does not let the page store them.',
    });
    Module.canvas.insertAdjacentElement('afterend', note);
    return unkept;
  }

  const dir = '/scores';
  FS.mkdir(dir);
  // IDBFS, writing with writeFolder below.
  const scoreFS = Object.assign({}, IDBFS, {
    syncfs: (mount, populate, callback) =>
      (populate ? IDBFS.syncfs(mount, true, callback) : writeFolder(mount.mountpoint, callback)),
  });
  FS.mount(scoreFS, {}, dir);
  addRunDependency('scores');
  FS.syncfs(true, (error) => {
    FS.chdir(error ? unkeptFolder(error) : dir);
    removeRunDependency('scores');
  });
});

// The folder's files, each with its path and its entry as IDBFS keeps it:
// when it was changed, its mode and its bytes. The game keeps no folders in
// it. (Emscripten's optimizer takes no destructuring or object spread here.)
const folderEntries = (dir) => FS.readdir(dir).filter((name) => name !== '.' && name !== '..').map((name) => {
  const path = `${dir}/${name}`;
  const stat = FS.stat(path);
  const contents = MEMFS.getFileDataAsTypedArray(FS.lookupPath(path).node);
  return { path, entry: { timestamp: stat.mtime, mode: stat.mode, contents } };
});

// Writes the folder into the database as it is now. IDBFS's own write never
// calls back when its transaction aborts (as a full disk makes it do), which
// would hold the game and the folder's lock for good, and takes a failed
// request for success. The folder holds a few small files ("moon", its
// lock file, a save's temporary file), so one transaction of the page's own
// replaces it whole: callback(null) once it is complete, or
// callback(error) once it has aborted (a failed request aborts it too) or
// could not start, with nothing of it kept.
function writeFolder(dir, callback) {
  let transaction = null;
  IDBFS.getDB(dir, (openError, db) => {
    try {
      if (openError || !db) throw openError || new Error('the database is not open');
      const entries = folderEntries(dir);
      transaction = db.transaction([IDBFS.DB_STORE_NAME], 'readwrite');
      transaction.oncomplete = () => callback(null);
      transaction.onabort = () => callback(transaction.error || new Error('the write was aborted'));
      const store = transaction.objectStore(IDBFS.DB_STORE_NAME);
      store.clear();
      entries.forEach((file) => store.put(file.entry, file.path));
    } catch (error) {
      if (!transaction) {
        callback(error);
        return;
      }
      try {
        transaction.abort(); // its onabort calls back
      } catch (ended) {
        // It has aborted already, and its onabort calls back.
      }
    }
  });
}

// The game says on standard error when "moon" cannot be read or saved, and
// whether this game's result is kept. The page says it as well, under the
// field where the player looks, each line once; where the browser refused
// the storage, the page has said why already.
Module.printErr = (text) => {
  console.warn(text);
  if (!text.includes('"moon"') || document.getElementById('unkept')) return;
  let note = document.getElementById('not-kept');
  if (!note) {
    note = Object.assign(document.createElement('div'), { id: 'not-kept' });
    note.setAttribute('role', 'status');
    Module.canvas.insertAdjacentElement('afterend', note);
  }
  if (![...note.children].some((line) => line.textContent === text)) {
    note.append(Object.assign(document.createElement('p'), { textContent: text }));
  }
};

// Once the scores hold a result, the browser is asked, once, not to evict
// them when it runs short of space.
Module.onFolderSaved = (dir) => {
  if (Module.askedToPersist || !navigator.storage || !navigator.storage.persist) return;
  let lines;
  try {
    lines = new TextDecoder().decode(FS.readFile(`${dir}/moon`)).split('\n');
  } catch (error) {
    return;
  }
  // Two lines a result, the name and the points; an empty place scores 0.
  const points = lines.filter((line, i) => i % 2 === 1 && line.trim() !== '');
  if (points.some((line) => Number(line) !== 0)) {
    Module.askedToPersist = true;
    navigator.storage.persist();
  }
};
