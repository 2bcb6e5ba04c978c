// Starts and stops what the browser checks need: the page's server and a
// headless Chromium, each a child process of its own, stopped by its id.
import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';

export const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..', '..');

// Resolves with the first match of pattern in the stream's text; rejects when the
// process ends first or after `seconds`.
function waitForLine(child, stream, pattern, seconds, what) {
  return new Promise((resolve, reject) => {
    let text = '';
    const timer = setTimeout(() => finish(new Error(`${what}: nothing after ${seconds} s:\n${text}`)),
                             seconds * 1000);
    const onData = (chunk) => {
      text += chunk;
      const match = text.match(pattern);
      if (match) {
        finish(null, match);
      }
    };
    const onExit = (code) => finish(new Error(`${what} ended with ${code}:\n${text}`));
    function finish(error, match) {
      clearTimeout(timer);
      stream.off('data', onData);
      child.off('exit', onExit);
      stream.resume(); // keep draining, or a chatty child would block on a full pipe
      if (error) {
        reject(error);
      } else {
        resolve(match);
      }
    }
    stream.setEncoding('utf8');
    stream.on('data', onData);
    child.on('exit', onExit);
  });
}

// SIGTERM, then SIGKILL if the process is still there after five seconds.
export async function stopProcess(child) {
  if (!child || child.exitCode !== null || child.signalCode !== null) {
    return;
  }
  const ended = new Promise((resolve) => child.once('exit', resolve));
  // It may end by itself in between: then there is nothing left to signal.
  const signal = (name) => {
    try {
      process.kill(child.pid, name);
    } catch (error) {
      if (error.code !== 'ESRCH') {
        throw error;
      }
    }
  };
  signal('SIGTERM');
  const timer = setTimeout(() => {
    if (child.exitCode === null && child.signalCode === null) {
      signal('SIGKILL');
    }
  }, 5000);
  await ended;
  clearTimeout(timer);
}

export async function startServer(folder) {
  const child = spawn(process.execPath, [path.join(root, 'scripts', 'serve-web'),
                                         '--root', folder, '--port', '0'],
                      { stdio: ['ignore', 'pipe', 'pipe'] });
  try {
    const match = await waitForLine(child, child.stdout, /at (http:\/\/127\.0\.0\.1:\d+\/)/, 20,
                                    'serve-web');
    return { child, url: match[1] };
  } catch (error) {
    await stopProcess(child);
    throw error;
  }
}

// This machine's network is closed: the flags keep Chromium from reaching out
// for updates, sync or components; root needs --no-sandbox.
export async function startBrowser(width, height) {
  const profile = mkdtempSync(path.join(tmpdir(), 'duskhall-chromium-'));
  const executable = process.env.CHROMIUM || '/usr/bin/chromium';
  const child = spawn(executable, [
    '--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--no-first-run',
    '--disable-default-apps', '--mute-audio', `--user-data-dir=${profile}`,
    '--remote-debugging-port=0', `--window-size=${width},${height}`, 'about:blank',
  ], { stdio: ['ignore', 'ignore', 'pipe'] });
  try {
    const match = await waitForLine(child, child.stderr, /DevTools listening on (ws:\/\/\S+)/, 60,
                                    'chromium');
    const browser = await puppeteer.connect({
      browserWSEndpoint: match[1],
      defaultViewport: { width, height, deviceScaleFactor: 1 },
    });
    return {
      child,
      browser,
      async stop() {
        await browser.disconnect().catch(() => {});
        await stopProcess(child);
        rmSync(profile, { recursive: true, force: true });
      },
    };
  } catch (error) {
    await stopProcess(child);
    rmSync(profile, { recursive: true, force: true });
    throw error;
  }
}
