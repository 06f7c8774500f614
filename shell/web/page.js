// The page around the game (given to emscripten as --pre-js): where the program's lines go,
// what it starts with (the address's query, the player's folder from IndexedDB, the recording
// of ?replay or ?demo fetched into memory), replay files dropped on the page, and the page
// hidden or left.
(function () {
  const lines = document.getElementById('lines');
  const records = document.getElementById('records');
  const report = document.getElementById('report');
  const query = new URLSearchParams(location.search);
  // The site carries the whole game as recorded (docs/full_game.replay).
  const DemoRecording = 'full_game.replay';
  const RecordingsFolder = '/recordings';

  // Standard output is a report (?records, ?verify); standard error the page's lines, each
  // said once in the page and in the console.
  Module.print = (text) => {
    console.log(text);
    report.textContent += text + '\n';
    records.hidden = false;
  };
  Module.printErr = (text) => {
    console.warn(text);
    const line = document.createElement('p');
    line.textContent = text;
    lines.append(line);
  };
  Module.thisProgram = 'tumbra';
  Module.arguments = [location.search.replace(/^\?/, '')];

  // A recording's name in memory: its file name, of the characters a path may hold.
  function recordingPath(url) {
    const name = decodeURIComponent(new URL(url, location.href).pathname.split('/').pop());
    return RecordingsFolder + '/' + (name.replace(/[^A-Za-z0-9._-]/g, '_') || 'recording');
  }

  function putRecording(path, bytes) {
    try {
      FS.mkdir(RecordingsFolder);
    } catch (exists) {
      // made for an earlier recording
    }
    FS.writeFile(path, bytes);
  }

  function fetchRecording() {
    const url = query.has('replay') ? query.get('replay') : query.has('demo') ? DemoRecording : null;
    if (url === null) {
      return;
    }
    addRunDependency('recording');
    let path;
    Promise.resolve()
      .then(() => {
        path = recordingPath(url);
        return fetch(url);
      })
      .then((response) => {
        if (!response.ok) {
          throw new Error(response.status + ' ' + response.statusText);
        }
        return response.arrayBuffer();
      })
      .then((bytes) => {
        putRecording(path, new Uint8Array(bytes));
        Module.arguments.push(path);
      })
      .catch((error) => {
        err('tumbra: ' + url + ': the recording cannot be fetched (' + error.message +
            '); the game starts without it');
      })
      .finally(() => removeRunDependency('recording'));
  }

  Module.preRun = [() => browserFiles.mount(), fetchRecording];

  // A replay file dropped on the page is shown, as ?replay shows one.
  window.addEventListener('dragover', (event) => event.preventDefault());
  window.addEventListener('drop', (event) => {
    event.preventDefault();
    const file = event.dataTransfer && event.dataTransfer.files[0];
    if (!file || !Module.calledRun) {
      return;
    }
    file.arrayBuffer().then((bytes) => {
      const path = recordingPath(file.name);
      putRecording(path, new Uint8Array(bytes));
      Module.ccall('pageWatchRecording', null, ['string'], [path]);
    });
  });

  document.addEventListener('visibilitychange', () => {
    if (document.visibilityState === 'hidden' && Module.calledRun) {
      Module._pageHidden();
    }
  });
  window.addEventListener('pagehide', () => {
    if (Module.calledRun) {
      Module._pageLeaves();
    }
  });
})();
