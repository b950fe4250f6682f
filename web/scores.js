// Runs inside the game's module before main: keeps the high scores of this
// page's site in the browser's IndexedDB, in the folder the game works in,
// where it reads and writes "moon". The web layer's flock brings the folder
// up to date from the database whenever the game locks it, and its fsync
// writes the folder back (src/web/WebLock.cpp), so that the tabs and windows
// of the site share one table.
Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
  // A browser that refuses the page its database (blocked, or a private
  // mode) keeps no result. The game still plays, in a folder whose "moon" it
  // cannot read, so that it asks for no name, as with an unreadable "moon" on
  // the desktop; the page says why under the field.
  function unkeptFolder(error) {
    err('High scores cannot be kept in this browser: ' + error);
    var unkept = '/unkept';
    FS.mkdir(unkept);
    FS.writeFile(unkept + '/moon', '');
    FS.chmod(unkept + '/moon', 0);
    var note = document.createElement('p');
    note.id = 'unkept';
    note.textContent = 'Results cannot be kept: this browser does not let the page store them.';
    Module.canvas.insertAdjacentElement('afterend', note);
    return unkept;
  }

  var dir = '/scores';
  FS.mkdir(dir);
  FS.mount(IDBFS, {}, dir);
  addRunDependency('scores');
  FS.syncfs(true, function (error) {
    FS.chdir(error ? unkeptFolder(error) : dir);
    removeRunDependency('scores');
  });
});

// Once the scores hold a result, the browser is asked, once, not to evict
// them when it runs short of space.
Module.onFolderSaved = function (dir) {
  if (Module.askedToPersist || !navigator.storage || !navigator.storage.persist) return;
  var lines;
  try {
    lines = new TextDecoder().decode(FS.readFile(dir + '/moon')).split('\n');
  } catch (error) {
    return;
  }
  // Two lines a result, the name and the points; an empty place scores 0.
  var points = lines.filter(function (line, i) { return i % 2 === 1 && line.trim() !== ''; });
  if (points.some(function (line) { return Number(line) !== 0; })) {
    Module.askedToPersist = true;
    navigator.storage.persist();
  }
};
