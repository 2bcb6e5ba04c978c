// The browser build in headless Chromium: the canvas shows the framebuffer pixel
// for pixel at the zoom's block size, keys reach the program's observer, the crc
// query gives the native renderer's CRC lines, levels bundled or fetched are drawn
// as natively, and a missing texture stops the page with the Housekeeping message.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { copyFileSync, existsSync, mkdirSync, mkdtempSync, readdirSync, readFileSync, rmSync,
         writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import pngjs from 'pngjs';
import { root, startBrowser, startServer, stopProcess } from './harness.mjs';

const { PNG } = pngjs;
const webDir = path.join(root, 'build', 'web');
const assets = path.join(root, 'assets');
const render = process.env.DUSKHALL_RENDER || path.join(root, 'build', 'linux', 'duskhall-render');
const outDir = path.join(root, 'build', 'web-test');
const viewport = { width: 1024, height: 768 };

let served;
let server;
let browser;
let pageErrors = [];

// A level of its own under lv/, with a texture beside it that the seven are not.
const siteLevel = JSON.stringify({
  'duskhall-level': 1,
  textures: { brick: 'brick.png', tiles: 'floor1.png' },
  vertices: [[0, 0], [4, 0], [4, 4], [0, 4], [8, 0], [8, 4]],
  sectors: [
    { outline: [0, 1, 2, 3], floor: 0, ceiling: 3, 'wall-texture': 'brick',
      'floor-texture': 'tiles', 'ceiling-texture': 'tiles' },
    { outline: [1, 4, 5, 2], floor: 0.5, ceiling: 2.5, 'wall-texture': 'tiles',
      'floor-texture': 'brick', 'ceiling-texture': 'tiles' },
  ],
  start: { x: 1, y: 1, angle: 0.4 },
});

// The page, the seven textures under full/ and all but floor3.png under partial/,
// a level under lv/ and a broken one beside it.
function prepareSite() {
  const site = mkdtempSync(path.join(tmpdir(), 'duskhall-site-'));
  for (const name of readdirSync(webDir)) {
    copyFileSync(path.join(webDir, name), path.join(site, name));
  }
  for (const folder of ['full', 'partial']) {
    mkdirSync(path.join(site, folder));
    for (const name of readdirSync(assets).filter((n) => n.endsWith('.png'))) {
      if (folder === 'full' || name !== 'floor3.png') {
        copyFileSync(path.join(assets, name), path.join(site, folder, name));
      }
    }
  }
  mkdirSync(path.join(site, 'lv'));
  writeFileSync(path.join(site, 'lv', 'room.json'), siteLevel);
  writeFileSync(path.join(site, 'lv', 'broken.json'), siteLevel.replace('"floor":0.5', '"floor":5'));
  copyFileSync(path.join(assets, 'wall3.png'), path.join(site, 'lv', 'brick.png'));
  return site;
}

function nativeCrcLines(frames, level) {
  const args = ['--textures', assets, '--crc', frames];
  return execFileSync(render, level ? args.concat(['--level', level]) : args,
                      { encoding: 'utf8' });
}

function nativeFrame(frame) {
  const file = path.join(outDir, `native-${frame}.png`);
  execFileSync(render, ['--textures', assets, '--png', `${frame}:${file}`]);
  return PNG.sync.read(readFileSync(file));
}

async function openPage(query, states) {
  const page = await browser.browser.newPage();
  page.on('pageerror', (error) => pageErrors.push(`${query}: ${error.message}`));
  await page.goto(`${server.url}index.html${query}`);
  await page.waitForFunction((wanted) => wanted.includes(document.body.dataset.state),
                             { timeout: 120000 }, states);
  return page;
}

const state = (page) => page.evaluate(() => document.body.dataset.state);

async function canvasBox(page) {
  return page.evaluate(() => {
    const r = document.getElementById('canvas').getBoundingClientRect();
    return { x: r.left, y: r.top, width: r.width, height: r.height };
  });
}

// Every framebuffer pixel must cover a zoom x zoom block of the screenshot, from
// (left, top) on, with exactly its colour; everything else must be black.
function expectPicture(shot, frame, zoom, left, top) {
  let wrong = 0;
  let first = '';
  for (let y = 0; y < shot.height; ++y) {
    for (let x = 0; x < shot.width; ++x) {
      const s = 4 * (y * shot.width + x);
      const fx = Math.floor((x - left) / zoom);
      const fy = Math.floor((y - top) / zoom);
      const inside = fx >= 0 && fy >= 0 && fx < frame.width && fy < frame.height;
      const f = 4 * (fy * frame.width + fx);
      for (let c = 0; c < 3; ++c) {
        const want = inside ? frame.data[f + c] : 0;
        if (shot.data[s + c] !== want) {
          if (wrong++ === 0) {
            first = `(${x},${y}) shows ${Array.from(shot.data.slice(s, s + 3))}, wanted ` +
                    (inside ? `${Array.from(frame.data.slice(f, f + 3))}` : 'black');
          }
          break;
        }
      }
    }
  }
  assert.equal(wrong, 0, `${wrong} of ${shot.width * shot.height} pixels differ, first ${first}`);
}

async function expectCanvasShows(page, frame, zoom, screenshotFile) {
  const box = await canvasBox(page);
  assert.deepEqual([box.width, box.height], [frame.width * zoom, frame.height * zoom]);
  assert.ok(Number.isInteger(box.x) && Number.isInteger(box.y), `canvas at ${box.x},${box.y}`);
  const shot = PNG.sync.read(await page.screenshot({ clip: box, type: 'png' }));
  if (screenshotFile) {
    writeFileSync(screenshotFile, PNG.sync.write(shot));
  }
  expectPicture(shot, frame, zoom, 0, 0);
}

before(async () => {
  assert.ok(existsSync(path.join(webDir, 'duskhall.wasm')), `no browser build in ${webDir}`);
  assert.ok(existsSync(render), `no native ${render} to compare with`);
  mkdirSync(outDir, { recursive: true });
  served = prepareSite();
  server = await startServer(served);
  browser = await startBrowser(viewport.width, viewport.height);
});

after(async () => {
  // Each is stopped whatever happened to the other.
  await Promise.allSettled([browser?.stop(), stopProcess(server?.child)]);
  if (served) {
    rmSync(served, { recursive: true, force: true });
  }
});

describe('the picture', () => {
  test('the first frame fills the canvas pixel for pixel', async () => {
    const page = await openPage('?frames=1', ['holding', 'error']);
    assert.equal(await state(page), 'holding');
    await expectCanvasShows(page, nativeFrame(1), 1);
    await page.close();
  });

  test('a later frame, at 1x and after Ctrl+2 at 2x in blocks of 2 x 2', async () => {
    const frame = nativeFrame(475);
    const page = await openPage('?frames=475', ['holding', 'error']);
    assert.equal(await state(page), 'holding');
    await expectCanvasShows(page, frame, 1);
    await page.keyboard.down('Control');
    await page.keyboard.press('Digit2');
    await page.keyboard.up('Control');
    await page.waitForFunction(() => document.getElementById('canvas').clientWidth === 640);
    await expectCanvasShows(page, frame, 2, path.join(outDir, 'canvas-2x.png'));
    // The whole page as a user sees it, for the README.
    await page.screenshot({ path: path.join(outDir, 'duskhall-web-page.png') });
    await page.keyboard.down('Control');
    await page.keyboard.press('Digit1');
    await page.keyboard.up('Control');
    await page.waitForFunction(() => document.getElementById('canvas').clientWidth === 320);
    await expectCanvasShows(page, frame, 1);
    await page.close();
  });
});

describe('keys', () => {
  test('a key reaches the observer and Escape ends the loop', async () => {
    const page = await openPage('', ['running', 'error']);
    assert.equal(await state(page), 'running');
    assert.equal(await page.evaluate(() => Module._duskhallKeyPressed(65)), 0);
    await page.keyboard.press('KeyA');
    await page.waitForFunction(() => Module._duskhallKeyPressed(65) === 1);
    // Ctrl+8 does not fit a 1024 x 768 page: not offered, so nothing changes.
    await page.keyboard.down('Control');
    await page.keyboard.press('Digit8');
    await page.keyboard.up('Control');
    await page.keyboard.press('Escape');
    await page.waitForFunction(() => document.body.dataset.state === 'ended');
    const ended = await page.evaluate(() => ({
      status: document.getElementById('status').textContent,
      visibility: getComputedStyle(document.getElementById('canvas')).visibility,
      width: document.getElementById('canvas').clientWidth,
    }));
    assert.match(ended.status, /ended/);
    assert.equal(ended.visibility, 'hidden');
    assert.equal(ended.width, 320);
    await page.close();
  });

  test('the frame-rate key (F) shows the rate in the page title, and again takes it away', async () => {
    const page = await openPage('', ['running', 'error']);
    const before = await page.evaluate(() => document.title);
    await page.keyboard.press('KeyF');
    await page.waitForFunction((base) => document.title === `${base} \u00b7 \u2026 fps`, {}, before);
    await page.waitForFunction((base) => new RegExp(`^${base} \u00b7 \\d+ fps$`).test(document.title),
                               { timeout: 10000 }, before);
    await page.keyboard.press('KeyF');
    await page.waitForFunction((base) => document.title === base, {}, before);
    await page.close();
  });

  test('Alt+Enter shows the picture fullscreen at its shape, and again goes back', async () => {
    const frame = nativeFrame(60);
    const page = await openPage('?frames=60', ['holding', 'error']);
    // A wide page: the picture is 2x and keeps its shape with bars of 320 at each side.
    await page.setViewport({ width: 1280, height: 480, deviceScaleFactor: 1 });
    await page.keyboard.down('Alt');
    await page.keyboard.press('Enter');
    await page.keyboard.up('Alt');
    await page.waitForFunction(() => document.fullscreenElement?.id === 'canvas');
    // The next animation frames show the picture again in its new place.
    await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
    const shot = PNG.sync.read(await page.screenshot({ type: 'png' }));
    assert.deepEqual([shot.width, shot.height], [1280, 480]);
    expectPicture(shot, frame, 2, 320, 0);
    await page.setViewport({ ...viewport, deviceScaleFactor: 1 });
    await page.keyboard.down('Alt');
    await page.keyboard.press('Enter');
    await page.keyboard.up('Alt');
    await page.waitForFunction(() => document.fullscreenElement === null);
    await page.waitForFunction(() => document.getElementById('canvas').clientWidth === 320);
    await expectCanvasShows(page, frame, 1);
    await page.close();
  });
});

describe('explore mode', () => {
  test('a click locks the pointer, the first Escape lets go and the second ends the loop', async () => {
    const page = await openPage('', ['running', 'error']);
    await page.keyboard.press('Tab');
    const box = await (await page.$('#canvas')).boundingBox();
    await page.mouse.click(box.x + 160, box.y + 120);
    await page.waitForFunction(() => document.pointerLockElement?.id === 'canvas');
    await page.keyboard.press('Escape');
    await page.waitForFunction(() => document.pointerLockElement === null);
    assert.equal(await state(page), 'running');
    await page.keyboard.press('Escape');
    await page.waitForFunction(() => document.body.dataset.state === 'ended');
    await page.close();
  });

  test('an Escape that comes before the browser grants the lock still lets go of it', async () => {
    const page = await openPage('', ['running', 'error']);
    await page.evaluate(() => {
      window.lockChanges = 0; // the page gives a late lock back at once: granted, then let go
      document.addEventListener('pointerlockchange', () => { window.lockChanges += 1; });
    });
    await page.keyboard.press('Tab');
    const box = await (await page.$('#canvas')).boundingBox();
    await page.mouse.click(box.x + 160, box.y + 120);
    await page.keyboard.press('Escape');
    await page.waitForFunction(() => window.lockChanges === 2 && document.pointerLockElement === null);
    assert.equal(await state(page), 'running');
    await page.close();
  });
});

describe('the crc query', () => {
  test('gives the native CRC lines for frames 1 to 100, 1000, 5000 and 6566', async () => {
    const frames = `${Array.from({ length: 100 }, (_, i) => i + 1).join(',')},1000,5000,6566`;
    const expected = nativeCrcLines(frames);
    assert.equal(expected.split('\n').length, 104);
    const page = await openPage(`?crc=${frames}`, ['done', 'error']);
    assert.equal(await state(page), 'done');
    assert.equal(await page.evaluate(() => document.getElementById('crc').textContent), expected);
    await page.close();
  });

  test('with textures=PREFIX the textures are fetched from there', async () => {
    const page = await openPage('?textures=full/&crc=1,2,475', ['done', 'error']);
    assert.equal(await state(page), 'done');
    assert.equal(await page.evaluate(() => document.getElementById('crc').textContent),
                 nativeCrcLines('1,2,475'));
    await page.close();
  });

  test('with size=WxH the CRC lines of frames of that size, and a bad size is named', async () => {
    const page = await openPage('?size=640x480&crc=1,475', ['done', 'error']);
    assert.equal(await state(page), 'done');
    const native = execFileSync(render, ['--textures', assets, '--size', '640x480', '--crc', '1,475'],
                                { encoding: 'utf8' });
    assert.equal(await page.evaluate(() => document.getElementById('crc').textContent), native);
    await page.close();
    const bad = await openPage('?size=5000x100', ['running', 'error']);
    assert.equal(await state(bad), 'error');
    assert.match(await bad.evaluate(() => document.getElementById('status').textContent),
                 /outside the sizes drawn, from 160x120 to 3840x2160/);
    await bad.close();
  });

  test('a query it does not understand is said so', async () => {
    const page = await openPage('?crc=1,x', ['done', 'error']);
    assert.equal(await state(page), 'error');
    assert.match(await page.evaluate(() => document.getElementById('status').textContent),
                 /not understood/);
    await page.close();
  });
});

describe('levels', () => {
  test('a bundled level is read from the page and gives the native CRC lines', async () => {
    const page = await openPage('?level=levels/duskhall.json&crc=1,2,3,6566', ['done', 'error']);
    assert.equal(await state(page), 'done');
    assert.equal(await page.evaluate(() => document.getElementById('crc').textContent),
                 nativeCrcLines('1,2,3,6566'));
    await page.close();
  });

  test('a level at an address is fetched with its textures and drawn as natively', async () => {
    const level = path.join(outDir, 'room', 'room.json');
    mkdirSync(path.dirname(level), { recursive: true });
    writeFileSync(level, siteLevel);
    copyFileSync(path.join(assets, 'wall3.png'), path.join(path.dirname(level), 'brick.png'));
    const page = await openPage('?level=lv/room.json&crc=1,2,40', ['done', 'error']);
    assert.equal(await state(page), 'done');
    const expected = nativeCrcLines('1,2,40', level);
    assert.equal(await page.evaluate(() => document.getElementById('crc').textContent), expected);
    await page.close();
  });

  test('a broken level stops the page with the problem named', async () => {
    const page = await openPage('?level=lv/broken.json', ['running', 'error']);
    assert.equal(await state(page), 'error');
    assert.match(await page.evaluate(() => document.getElementById('status').textContent),
                 /^The level cannot be shown: .*broken\.json: sectors\[1\]: floor 5 is not below ceiling 2\.5$/);
    await page.close();
  });

  test('the picker offers the built-in rooms and every bundled level', async () => {
    const page = await openPage('?level=levels/duskhall.json&frames=2', ['holding', 'error']);
    const options = await page.evaluate(() => Array.from(
      document.querySelectorAll('#level-picker option'), (o) => [o.value, o.textContent, o.selected]));
    const bundled = readdirSync(path.join(root, 'levels')).filter((n) => n.endsWith('.json'));
    assert.equal(options.length, bundled.length + 1);
    assert.deepEqual(options[0], ['', 'Built-in rooms', false]);
    assert.ok(options.some(([value, name, selected]) =>
      value === 'levels/duskhall.json' && name === 'Duskhall' && selected));
    await Promise.all([page.waitForNavigation(), page.select('#level-picker', '')]);
    assert.equal(new URL(page.url()).search, '');
    await page.close();
  });
});

describe('a WAD from the disk', () => {
  const freedoom = '/usr/share/games/doom/freedoom1.wad';
  const skip = !existsSync(freedoom) && `${freedoom} is not installed (Debian package freedoom)`;

  test('is opened with the file input, its maps offered, each drawn as natively', { skip }, async () => {
    const page = await openPage('?frames=1', ['holding', 'error']);
    const input = await page.$('#wad-file');
    await Promise.all([page.waitForNavigation({ timeout: 120000 }), input.uploadFile(freedoom)]);
    assert.equal(new URL(page.url()).search, '?wad=freedoom1.wad');
    await page.waitForFunction(() => ['running', 'error'].includes(document.body.dataset.state),
                               { timeout: 120000 });
    assert.equal(await state(page), 'running',
                 await page.evaluate(() => document.getElementById('status').textContent));
    const maps = await page.evaluate(() => Array.from(
      document.querySelectorAll('#level-picker optgroup option'), (o) => [o.value, o.selected]));
    assert.equal(maps.length, 36);
    assert.deepEqual(maps[0], ['wad:E1M1', true]);
    assert.deepEqual(maps[35], ['wad:E4M9', false]);
    await Promise.all([page.waitForNavigation(), page.select('#level-picker', 'wad:E2M4')]);
    assert.equal(new URL(page.url()).search, '?wad=freedoom1.wad&map=E2M4');
    await page.close();
    // The page keeps the file: a later page draws its maps with the crc query.
    const counted = await openPage('?wad=freedoom1.wad&map=E2M4&crc=1,2,30', ['done', 'error']);
    assert.equal(await state(counted), 'done',
                 await counted.evaluate(() => document.getElementById('status').textContent));
    const native = execFileSync(render, ['--level', `${freedoom}:E2M4`, '--crc', '1,2,30'],
                                { encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore'] });
    assert.equal(await counted.evaluate(() => document.getElementById('crc').textContent), native);
    await counted.close();
  });

  test('not kept by the page is said so', async () => {
    const page = await openPage('?wad=other.wad', ['running', 'error']);
    assert.equal(await state(page), 'error');
    assert.match(await page.evaluate(() => document.getElementById('status').textContent),
                 /^The level cannot be shown: .*other\.wad/);
    await page.close();
  });
});

describe('a missing texture', () => {
  test('shows the Housekeeping message and stops', async () => {
    const page = await openPage('?textures=partial/', ['running', 'error']);
    assert.equal(await state(page), 'error');
    const shown = await page.evaluate(() => ({
      status: document.getElementById('status').textContent,
      visibility: getComputedStyle(document.getElementById('canvas')).visibility,
    }));
    assert.equal(shown.status, 'Housekeeping error: HKPtr: NULL pointer');
    assert.equal(shown.visibility, 'hidden');
    await page.close();
  });
});

test('no page raised an unexpected error', () => {
  // The Housekeeping stop ends the program by unwinding with its exit status.
  const unexpected = pageErrors.filter((text) => !/^\?textures=partial\/: .*exit/i.test(text));
  assert.deepEqual(unexpected, []);
});
