// Starts the demo with the page's query:
//   textures=PREFIX   the seven textures are fetched from PREFIX + name first
//   crc=F1,F2,...     no picture: "frame F crc32 XXXXXXXX" lines in #crc, then stop
//   frames=N          the animation stops after frame N and keeps showing it
//   size=WxH          frames of W x H pixels (160x120 to 3840x2160), the canvas
//                     that size
//   sharp             frames drawn at the canvas's own size as the page resizes it
//   level=URL         the level at URL (its textures fetched from beside it when
//                     there); levels/NAME.json of a bundled level is read from the
//                     page's data instead. The picker offers the bundled levels.
//   wad=NAME          the WAD last opened from the disk (the file input, or a file
//                     dropped on the page), which the page keeps under that name;
//                     map=MAP picks one of its maps, its first without. The picker
//                     then offers its maps too.
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
  const fetchedLevel = '/fetched-level';
  const openedWads = '/opened';
  const bundledLevels = window.duskhallLevels || [];

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
  if (query.has('size')) {
    args.push('--size', query.get('size'));
  }
  if (query.has('sharp')) {
    args.push('--sharp');
  }
  const prefix = query.get('textures');
  if (prefix !== null) {
    args.push('--textures', fetchedTextures);
  }
  // A name the program's file system and a WAD argument take as it is.
  function wadFileName(name) {
    const base = name.split(/[\\/]/).pop();
    const safe = /^[\w.-]+$/.test(base) ? base : 'opened.wad';
    return /\.wad$/i.test(safe) ? safe : safe + '.wad';
  }
  const wadFile = query.has('wad') ? wadFileName(query.get('wad')) : null;
  const wadMap = query.get('map');

  const level = wadFile === null ? query.get('level') : null;
  const bundled = level !== null ? /^levels\/([^/]+\.json)$/.exec(level) : null;
  const isBundled = bundled !== null && bundledLevels.some((l) => l.file === bundled[1]);
  const levelName = level !== null ? (level.split(/[?#]/)[0].split('/').pop() || 'level.json') : '';
  if (wadFile !== null) {
    args.push('--level', openedWads + '/' + wadFile + (wadMap ? ':' + wadMap : ''));
  } else if (level !== null) {
    args.push('--level', isBundled ? '/levels/' + bundled[1] : fetchedLevel + '/' + levelName);
  }

  // The picker: the built-in rooms and each bundled level; choosing one reloads the
  // page with it.
  const picker = document.getElementById('level-picker');
  const choices = [{ value: '', name: 'Built-in rooms' }].concat(
    bundledLevels.map((l) => ({ value: 'levels/' + l.file, name: l.name })));
  for (const choice of choices) {
    const option = document.createElement('option');
    option.value = choice.value;
    option.textContent = choice.name;
    option.selected = choice.value === (level || '');
    picker.appendChild(option);
  }
  picker.addEventListener('change', () => {
    const next = new URLSearchParams();
    if (picker.value.startsWith('wad:')) {
      next.set('wad', wadFile);
      next.set('map', picker.value.slice(4));
    } else if (picker.value) {
      next.set('level', picker.value);
    }
    window.location.search = next.toString();
  });

  // The program names the maps of the WAD it was given, one a line: one choice
  // each, the one shown selected.
  function offerMaps(lines) {
    const names = lines.split('\n').filter((name) => name);
    const group = document.createElement('optgroup');
    group.label = wadFile;
    const shown = wadMap ? wadMap.toUpperCase() : names[0];
    for (const name of names) {
      const option = document.createElement('option');
      option.value = 'wad:' + name;
      option.textContent = name;
      option.selected = name === shown;
      group.appendChild(option);
    }
    picker.appendChild(group);
  }

  // The page keeps the one WAD last opened from the disk, for the page that shows it.
  function wadStore(mode, act) {
    return new Promise((resolve, reject) => {
      const open = indexedDB.open('duskhall', 1);
      open.onupgradeneeded = () => open.result.createObjectStore('wads');
      open.onerror = () => reject(open.error);
      open.onsuccess = () => {
        const db = open.result;
        const transaction = db.transaction('wads', mode);
        const request = act(transaction.objectStore('wads'));
        transaction.oncomplete = () => { db.close(); resolve(request.result); };
        transaction.onerror = () => { db.close(); reject(transaction.error); };
      };
    });
  }

  function openWad(file) {
    const name = wadFileName(file.name);
    setState(document.body.dataset.state, 'Opening ' + name + '…');
    file.arrayBuffer()
      .then((data) => wadStore('readwrite', (store) => store.put({ name, data }, 'opened')))
      .then(() => {
        window.location.search = new URLSearchParams({ wad: name }).toString();
      })
      .catch((error) => setState('error', 'The page cannot keep ' + name + ': ' + error));
  }

  document.getElementById('wad-file').addEventListener('change', (event) => {
    if (event.target.files.length > 0) {
      openWad(event.target.files[0]);
    }
  });
  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    document.body.classList.add('dropping');
  });
  document.addEventListener('dragleave', () => document.body.classList.remove('dropping'));
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    document.body.classList.remove('dropping');
    if (event.dataTransfer.files.length > 0) {
      openWad(event.dataTransfer.files[0]);
    }
  });

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

  // A level from an address, with the texture files it names that lie beside it.
  // What cannot be fetched is simply not there: the program then says so.
  function fetchLevel() {
    const FS = Module.FS;
    FS.mkdir(fetchedLevel);
    Module.addRunDependency('level');
    const address = new URL(level, window.location.href);
    const store = (name, data) => FS.writeFile(fetchedLevel + '/' + name, new Uint8Array(data));
    const get = (url) => fetch(url).then((r) => (r.ok ? r.arrayBuffer() : null)).catch(() => null);
    get(address)
      .then((data) => {
        if (!data) {
          return null;
        }
        store(levelName, data);
        let files = [];
        try {
          files = Object.values(JSON.parse(new TextDecoder().decode(data)).textures || {});
        } catch (error) {
          return null; // the program reports what is wrong with it
        }
        return Promise.all(files
          .filter((file) => typeof file === 'string' && /^[\w.-]+$/.test(file))
          .map((file) => get(new URL(file, address)).then((png) => png && store(file, png))));
      })
      .then(() => Module.removeRunDependency('level'));
  }

  // The WAD kept from the disk, if it is the one asked for; otherwise the program
  // finds no such file and says so.
  function loadWad() {
    Module.addRunDependency('wad');
    wadStore('readonly', (store) => store.get('opened'))
      .then((kept) => {
        if (kept && kept.name === wadFile) {
          Module.FS.mkdir(openedWads);
          Module.FS.writeFile(openedWads + '/' + wadFile, new Uint8Array(kept.data));
        }
      })
      .catch((error) => console.warn('duskhall: the kept WAD cannot be read: ' + error))
      .then(() => Module.removeRunDependency('wad'));
  }

  const preRun = [];
  if (wadFile !== null) {
    preRun.push(loadWad);
  }
  if (prefix !== null) {
    preRun.push(fetchTextures);
  }
  if (level !== null && !isBundled) {
    preRun.push(fetchLevel);
  }

  window.Module = {
    canvas: document.getElementById('canvas'),
    arguments: args,
    preRun: preRun,
    print: (line) => { crc.textContent += line + '\n'; },
    printErr: (line) => console.warn(line),
    setPageState: setState,
    setPageMaps: offerMaps,
    showWarning: (caption, text) => setState('error', caption + ': ' + text),
    onAbort: (what) => {
      if (document.body.dataset.state !== 'error') {
        setState('error', 'The program stopped: ' + what);
      }
    },
  };
})();
