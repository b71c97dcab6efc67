// What the page's tests share: the site served on a loopback port of each test's own, and
// Debian's Chromium driven headless by playwright-core, with no network beyond the loopback.
import http from 'node:http';
import fs from 'node:fs/promises';
import path from 'node:path';
import { createRequire } from 'node:module';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const require = createRequire(path.join(here, '../../web/page/package.json'));
const { chromium } = require('playwright-core');

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.mjs': 'text/javascript',
  '.css': 'text/css', '.wasm': 'application/wasm', '.qst': 'application/octet-stream',
};

// Serves folder on 127.0.0.1 at a port the system picks; resolves to {url, close}.
export function serve(folder) {
  const server = http.createServer(async (request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = path.join(folder, path.normalize(name === '/' ? '/index.html' : name));
    try {
      const body = await fs.readFile(file);
      response.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] ?? 'application/octet-stream' });
      response.end(body);
    } catch {
      response.writeHead(404);
      response.end();
    }
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => resolve({
      url: `http://127.0.0.1:${server.address().port}/`,
      close: () => new Promise((done) => server.close(done)),
    }));
  });
}

export async function launchBrowser() {
  return chromium.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-background-networking', '--disable-component-update',
      '--disable-default-apps', '--disable-sync', '--no-first-run', '--disable-extensions'],
  });
}

// The site folder: the first argument, or build-web/site.
export function siteFolder() {
  return path.resolve(process.argv[2] ?? path.join(here, '../../build-web/site'));
}

// Loads the page at url and starts its quest with the title card's Play button.
export async function openPage(page, url) {
  await page.goto(url);
  await page.locator('#card-play').click();
}

// Waits for the quest's picture over the screen and closes it with a key (Escape, which would
// leave the game if the picture let it through).
export async function closePicture(page) {
  await page.locator('.picture img').waitFor({ state: 'visible' });
  await page.keyboard.press('Escape');
  await page.locator('.picture').waitFor({ state: 'detached' });
}

// The screen's 25 rows as the page shows them.
export function screenText(page) {
  return page.evaluate(() => {
    const rows = document.querySelectorAll('#screen .xterm-rows > div');
    return [...rows].map((row) => row.textContent.replace(/\s+$/u, '')).join('\n');
  });
}

// Waits until the screen shows text (a string or a RegExp); fails with the screen after
// timeoutMs.
export async function waitForScreen(page, text, timeoutMs = 10000) {
  const deadline = Date.now() + timeoutMs;
  let shown = '';
  while (Date.now() < deadline) {
    shown = await screenText(page);
    if (typeof text === 'string' ? shown.includes(text) : text.test(shown)) return shown;
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  throw new Error(`the screen never showed ${text}; it shows:\n${shown}`);
}

// Runs body(context) with a served site and a browser; exits 0 when it returns, 1 when it
// throws (the message and the stack on stderr).
export async function runTest(body) {
  const site = await serve(siteFolder());
  const browser = await launchBrowser();
  let status = 0;
  try {
    await body({ browser, url: site.url });
  } catch (error) {
    console.error(error.stack ?? error);
    status = 1;
  } finally {
    await browser.close();
    await site.close();
  }
  process.exit(status);
}

// The share of the page's main thread its tasks took over the next ms milliseconds.
export async function mainThreadBusy(page, ms) {
  const session = await page.context().newCDPSession(page);
  await session.send('Performance.enable');
  const taskSeconds = async () =>
    (await session.send('Performance.getMetrics')).metrics.find((m) => m.name === 'TaskDuration').value;
  const before = await taskSeconds();
  await new Promise((resolve) => setTimeout(resolve, ms));
  const busy = (await taskSeconds()) - before;
  await session.detach();
  return busy / (ms / 1000);
}

// The RMS of the page's output over 300 ms.
export function loudness(page) {
  return page.evaluate(async () => {
    const { context, master } = window.tindelMedia.output;
    const analyser = context.createAnalyser();
    master.connect(analyser);
    const samples = new Float32Array(analyser.fftSize);
    let sum = 0;
    let count = 0;
    for (let look = 0; look < 10; look++) {
      await new Promise((resolve) => setTimeout(resolve, 30));
      analyser.getFloatTimeDomainData(samples);
      for (const sample of samples) sum += sample * sample;
      count += samples.length;
    }
    master.disconnect(analyser);
    return Math.sqrt(sum / count);
  });
}

export function check(condition, message) {
  if (!condition) throw new Error(message);
}
