// Starts the demo with the page's query:
//   textures=PREFIX   the seven textures are fetched from PREFIX + name first
//   crc=F1,F2,...     no picture: "frame F crc32 XXXXXXXX" lines in #crc, then stop
//   frames=N          the animation stops after frame N and keeps showing it
// The program reports its state in body[data-state]: loading, running, holding,
// counting, done, ended or error, with any text for the user in #status.
(function () {
  'use strict';
  const query = new URLSearchParams(window.location.search);
  const status = document.getElementById('status');
  const crc = document.getElementById('crc');
  const textureNames = ['wall1.png', 'wall2.png', 'wall3.png',
                        'floor1.png', 'floor2.png', 'floor3.png', 'floor4.png'];
  const fetchedTextures = '/fetched';

  function setState(state, text) {
    document.body.dataset.state = state;
    status.textContent = text || '';
  }

  const args = [];
  if (query.has('crc')) {
    args.push('--crc', query.get('crc'));
  }
  if (query.has('frames')) {
    args.push('--frames', query.get('frames'));
  }
  const prefix = query.get('textures');
  if (prefix !== null) {
    args.push('--textures', fetchedTextures);
  }

  // A texture that cannot be fetched is simply not there: the program then
  // reports it as missing, as it does for a missing file.
  function fetchTextures() {
    const FS = Module.FS;
    FS.mkdir(fetchedTextures);
    Module.addRunDependency('textures');
    Promise.all(textureNames.map((name) =>
      fetch(prefix + name)
        .then((response) => (response.ok ? response.arrayBuffer() : null))
        .catch(() => null)
        .then((data) => {
          if (data) {
            FS.writeFile(fetchedTextures + '/' + name, new Uint8Array(data));
          }
        })))
      .then(() => Module.removeRunDependency('textures'));
  }

  window.Module = {
    canvas: document.getElementById('canvas'),
    arguments: args,
    preRun: prefix !== null ? [fetchTextures] : [],
    print: (line) => { crc.textContent += line + '\n'; },
    printErr: (line) => console.warn(line),
    setPageState: setState,
    showWarning: (caption, text) => setState('error', caption + ': ' + text),
    onAbort: (what) => {
      if (document.body.dataset.state !== 'error') {
        setState('error', 'The program stopped: ' + what);
      }
    },
  };
})();
