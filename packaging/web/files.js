// files.js -- the game's files in the browser, set up before the game starts.
//
// The game reads and writes its files in its current folder, /game. The
// datafile and the initial high-score table come packed with the page; the
// player's own files, highscores.dat and settings.cfg, live in the
// browser's IndexedDB, mounted at /save and reached from /game through
// links (the game rewrites the file a link points to and keeps the link).
// The initial table is copied in only when the player has none. The game
// asks for the copy to IndexedDB after each save (platform/files.cpp).
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function() {
  FS.mkdir('/save');
  FS.mount(IDBFS, {}, '/save');
  addRunDependency('saved-files');
  FS.syncfs(true, function(error) {
    if (error)
      console.error('The saved files could not be read: ' + error);
    removeRunDependency('saved-files');
  });
  addOnPreMain(prepareFiles);
});

// Copies the saved files to IndexedDB and calls done once the copy is
// committed: syncfs calls back when its requests have succeeded, which can
// be before their transaction is committed, and a page reloaded in between
// would lose the copy; a read queued after it completes only once it is.
Module['storeSaves'] = function(done) {
  FS.syncfs(false, function() {
    IDBFS.getDB('/save', function(error, db) {
      if (error)
        return done();
      var read = db.transaction([IDBFS.DB_STORE_NAME], 'readonly');
      read.objectStore(IDBFS.DB_STORE_NAME).count();
      read.oncomplete = read.onerror = read.onabort = function() { done(); };
    });
  });
};

// Runs once the saved files and the packed ones are both in place.
function prepareFiles() {
  var exists = function(path) {
    try { FS.lstat(path); return true; } catch (e) { return false; }
  };
  if (!exists('/save/highscores.dat'))
    FS.writeFile('/save/highscores.dat', FS.readFile('/game/highscores.initial.dat'));
  if (!exists('/save/settings.cfg'))
    FS.writeFile('/save/settings.cfg', '');
  FS.symlink('/save/highscores.dat', '/game/highscores.dat');
  FS.symlink('/save/settings.cfg', '/game/settings.cfg');
  FS.chdir('/game');
}
