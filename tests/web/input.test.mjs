// The library's screen in headless Chromium through a page of its own
// (tests/web/input-page): the wheel, typed keys and the modifiers reach the
// observer as the guide says, and each scaling puts the picture of a resizable
// canvas where it says.
import assert from 'node:assert/strict';
import { existsSync } from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import pngjs from 'pngjs';
import { root, startBrowser, startServer, stopProcess } from './harness.mjs';

const { PNG } = pngjs;
const pageDir = path.join(root, 'build', 'web-build', 'input-page');
const viewport = { width: 1000, height: 700 };

let server;
let browser;
let page;
let lines = [];

// Waits until the console has printed every line of wanted since `from`, in that
// order with others between them allowed; returns where the last one was.
async function expectLines(from, wanted) {
  const deadline = Date.now() + 10000;
  for (;;) {
    let at = from;
    let found = 0;
    for (; at < lines.length && found < wanted.length; ++at) {
      if (lines[at] === wanted[found]) {
        ++found;
      }
    }
    if (found === wanted.length) {
      return at;
    }
    if (Date.now() > deadline) {
      assert.fail(`never printed ${JSON.stringify(wanted[found])} of ${JSON.stringify(wanted)}; ` +
                  `it printed ${JSON.stringify(lines.slice(from))}`);
    }
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
}

before(async () => {
  assert.ok(existsSync(path.join(pageDir, 'input-page.wasm')), `no input page in ${pageDir}`);
  server = await startServer(pageDir);
  browser = await startBrowser(viewport.width, viewport.height);
  page = await browser.browser.newPage();
  page.on('console', (message) => lines.push(message.text()));
  page.on('pageerror', (error) => lines.push(`page error: ${error.message}`));
  await page.goto(`${server.url}index.html`);
  await expectLines(0, ['ready']);
  await page.click('#canvas'); // the keys go where the focus is
});

after(async () => {
  await Promise.allSettled([browser?.stop(), stopProcess(server?.child)]);
});

test('wheel notches arrive one call each, away from the user positive', async () => {
  const from = lines.length;
  await page.mouse.move(500, 350);
  await page.mouse.wheel({ deltaY: -100 });
  await page.mouse.wheel({ deltaY: 300 });
  await page.mouse.wheel({ deltaX: 100 });
  await expectLines(from, ['wheel 0 1', 'wheel 0 -1', 'wheel 0 -1', 'wheel 0 -1', 'wheel 1 0']);
});

test('typed keys arrive as text, and a Ctrl shortcut types nothing', async () => {
  let from = lines.length;
  await page.keyboard.type('Hi!');
  from = await expectLines(from, ['text H', 'text i', 'text !']);
  await page.keyboard.down('Control');
  await page.keyboard.press('KeyA');
  await page.keyboard.up('Control');
  await page.keyboard.type('z');
  await expectLines(from, ['key 65 held LeftControl', 'text z']);
  assert.ok(!lines.slice(from).includes('text a'), 'Ctrl+A typed "a"');
});

test('each key sees the modifiers of its own moment, each side apart', async () => {
  const from = lines.length;
  await page.keyboard.down('ShiftRight');
  await page.keyboard.down('AltLeft');
  await page.keyboard.press('KeyB');
  await page.keyboard.up('AltLeft');
  await page.keyboard.up('ShiftRight');
  await page.keyboard.press('KeyC');
  await expectLines(from, ['key 66 held RightShift LeftAlt', 'key 67 held']);
});

// The smallest rectangle of the viewport that is not black.
async function pictureBox() {
  // Two frames, so that the scaling just set has been drawn.
  await page.evaluate(() => new Promise((resolve) =>
    requestAnimationFrame(() => requestAnimationFrame(resolve))));
  const shot = PNG.sync.read(await page.screenshot({ type: 'png' }));
  let left = shot.width;
  let top = shot.height;
  let right = 0;
  let bottom = 0;
  for (let y = 0; y < shot.height; ++y) {
    for (let x = 0; x < shot.width; ++x) {
      const i = 4 * (y * shot.width + x);
      if (shot.data[i] + shot.data[i + 1] + shot.data[i + 2] > 0) {
        left = Math.min(left, x);
        top = Math.min(top, y);
        right = Math.max(right, x + 1);
        bottom = Math.max(bottom, y + 1);
      }
    }
  }
  return { left, top, right, bottom };
}

test('a resizable canvas covers the page; each scaling puts the picture in it', async () => {
  // 160 x 120 in 1000 x 700: whole multiples give 5 (800 x 600, centred), Fit the
  // largest shape-keeping size (933.3 x 700), Stretch all of it.
  const cases = [
    ['I', { left: 100, top: 50, right: 900, bottom: 650 }, 0],
    ['S', { left: 0, top: 0, right: 1000, bottom: 700 }, 0],
    ['F', { left: 33, top: 0, right: 967, bottom: 700 }, 1],
  ];
  for (const [key, wanted, slack] of cases) {
    const from = lines.length;
    await page.keyboard.press(`Key${key}`);
    await expectLines(from, [`scaling ${key}`]);
    const box = await pictureBox();
    for (const side of ['left', 'top', 'right', 'bottom']) {
      assert.ok(Math.abs(box[side] - wanted[side]) <= slack,
                `scaling ${key}: the picture is at ${JSON.stringify(box)}, ` +
                `wanted ${JSON.stringify(wanted)}`);
    }
  }
  assert.ok(lines.includes(`resized ${viewport.width} x ${viewport.height}`),
            `never told of the canvas's size: ${JSON.stringify(lines)}`);
});
