// The player's folder kept by the browser: emscripten's IDBFS over the home folder, filled
// from IndexedDB before the game starts and handed back to it after each frame that saved
// (platform/user_files_web.h). Every refusal of the browser is said in one line through err(),
// which the page shows, and the game plays on with the files in memory.
mergeInto(LibraryManager.library, {
  $browserFiles__deps: ['$FS', '$IDBFS'],
  $browserFiles: {
    folder: '/home/web_user',
    // Whether the changes go back to IndexedDB: not where the browser refused it, nor in a
    // second tab (two tabs handing the folder over in turn would each remove the other's new
    // files).
    kept: false,
    syncing: false,
    again: false,
    failing: false,
    generation: 0,
    // A hand-over the browser never answers (an aborted transaction) is given up after this.
    patienceMs: 10000,

    describe: function(error) {
      if (!error) {
        return 'no reason given';
      }
      return error.message || error.name || String(error);
    },

    // Only one tab of the browser keeps the files: the first that asks.
    claim: function(then) {
      let answered = false;
      const answer = (owner) => {
        if (!answered) {
          answered = true;
          then(owner);
        }
      };
      if (typeof navigator === 'undefined' || !navigator.locks) {
        answer(true);
        return;
      }
      try {
        navigator.locks.request('tumbra-player-files', {ifAvailable: true}, (lock) => {
          answer(lock !== null);
          // Held for as long as the page lives.
          return lock ? new Promise(() => {}) : undefined;
        }).catch(() => answer(true));
      } catch (error) {
        answer(true);
      }
    },

    // Before main: the folder mounted and filled. The program waits for it.
    mount: function() {
      addRunDependency('browser-files');
      const ready = (message) => {
        if (message) {
          err('tumbra: ' + message);
        }
        removeRunDependency('browser-files');
      };
      try {
        FS.mount(IDBFS, {}, browserFiles.folder);
      } catch (error) {
        ready('this browser keeps no files for the page (' + browserFiles.describe(error) +
              '): settings, records and replays last until it is closed');
        return;
      }
      browserFiles.claim((owner) => {
        FS.syncfs(true, (error) => {
          if (error) {
            ready('this browser keeps no files for the page (' + browserFiles.describe(error) +
                  '): settings, records and replays last until it is closed');
            return;
          }
          browserFiles.kept = owner;
          ready(owner ? '' : 'Tumbra is open in another tab of this browser: this one keeps ' +
                             'no changes to the settings, records and replays');
        });
      });
    },

    handedOver: function(generation, error) {
      if (generation !== browserFiles.generation || !browserFiles.syncing) {
        return;
      }
      browserFiles.syncing = false;
      if (error && !browserFiles.failing) {
        browserFiles.failing = true;
        err('tumbra: the browser does not keep the files (' + browserFiles.describe(error) +
            '): they stay in the page, and are handed over again at each save');
      } else if (!error && browserFiles.failing) {
        browserFiles.failing = false;
        err('tumbra: the browser keeps the files again: everything saved is kept');
      }
      if (browserFiles.again) {
        browserFiles.again = false;
        browserFiles.keep();
      }
    },

    keep: function() {
      if (!browserFiles.kept) {
        return;
      }
      if (browserFiles.syncing) {
        browserFiles.again = true;
        return;
      }
      browserFiles.syncing = true;
      const generation = ++browserFiles.generation;
      setTimeout(() => browserFiles.handedOver(generation, new Error('no answer')),
                 browserFiles.patienceMs);
      FS.syncfs(false, (error) => browserFiles.handedOver(generation, error));
    },
  },

  browserFilesBusy__deps: ['$browserFiles'],
  browserFilesBusy: function() {
    return browserFiles.syncing ? 1 : 0;
  },

  browserFilesKeep__deps: ['$browserFiles'],
  browserFilesKeep: function() {
    browserFiles.keep();
  },
});
