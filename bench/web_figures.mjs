// The page's figures beside the native player's, measured in one run: the dense quest's
// check and the play loop in the page and natively (medians of interleaved runs), the time
// from navigation to the title card and from its Play to the bundled quest's first screen, the time a Down key takes to
// reach the screen, and the sizes the page is sent (gzip -9).
// Usage: node bench/web_figures.mjs SITE_FOLDER NATIVE_TINDEL FIGURE_QUESTS_FOLDER
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import { serve, launchBrowser, openPage, closePicture } from '../tests/web/harness.mjs';

const [, , siteArg, nativeArg, questsArg] = process.argv;
const RUNS = Number(process.env.RUNS ?? 5);
const KEY_PRESSES = 50;
const MEDIA = /\.(mid|wav|jpg|sf2)$/;
// Loaded at the first tune only.
const TUNE_SCRIPTS = /^(libfluidsynth|js-synthesizer)/;

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor((values.length - 1) / 2)];
const row = (figure, value, note = '') =>
  console.log(`${figure.padEnd(46)} ${value.padStart(12)}  ${note}`);

function siteWithQuests() {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'tindel-web-bench-'));
  fs.cpSync(siteArg, folder, { recursive: true });
  for (const name of ['dense.qst', 'loop.qst']) fs.copyFileSync(path.join(questsArg, name), path.join(folder, name));
  return folder;
}

function nativeMs(args) {
  const started = process.hrtime.bigint();
  spawnSync(path.resolve(nativeArg), args, { cwd: questsArg, stdio: ['ignore', 'ignore', 'ignore'] });
  return Number(process.hrtime.bigint() - started) / 1e6;
}

// Runs the quest in a fresh game of the open page: the milliseconds from the interpreter's
// start to its end or to its first wait, whichever comes first.
function pageMs(page, quest, mode) {
  return page.evaluate(async ({ quest, mode }) => {
    const { Game } = await import('./game.js');
    const current = window.tindelGame;
    current.stop();
    const bytes = new Uint8Array(await (await fetch(quest)).arrayBuffer());
    const ended = new Promise((resolve) => {
      const game = new Game({ screen: current.screen, typed: current.typed, onEnd: resolve, onSaves() {} });
      window.tindelGame = game;
      game.start({ name: quest, bytes, media: [] }, 'w', mode);
    });
    const game = window.tindelGame;
    const waited = new Promise((resolve) => {
      const poll = () => (game.timing.firstWait !== null ? resolve() : setTimeout(poll, 5));
      poll();
    });
    await Promise.race([ended, waited]);
    const t = game.timing;
    return Math.min(t.ended ?? Infinity, t.firstWait ?? Infinity) - t.started;
  }, { quest, mode });
}

async function firstScreenMs(browser, url) {
  const page = await browser.newPage();
  await page.addInitScript(() => {
    document.addEventListener('click', () => { window.playAt = performance.now(); }, { capture: true, once: true });
    const cardReady = () => {
      if (document.activeElement?.id === 'card-play') window.cardAt = performance.now();
      else requestAnimationFrame(cardReady);
    };
    requestAnimationFrame(cardReady);
    const observer = new MutationObserver(() => {
      if (document.querySelector('.xterm-rows')?.textContent.includes('Press any key')) {
        window.firstScreenAt = performance.now();
        observer.disconnect();
      }
    });
    observer.observe(document, { subtree: true, childList: true, characterData: true });
  });
  await openPage(page, url);
  await page.waitForFunction(() => window.firstScreenAt !== undefined);
  const ms = await page.evaluate(() => [
    performance.getEntriesByName('first-contentful-paint')[0]?.startTime ?? NaN,
    window.cardAt, window.firstScreenAt - window.playAt]);
  await page.close();
  return ms;
}

// From the key's event to xterm.js's update of the screen's rows, which it makes in the
// animation frame that is painted next; and to the start of the frame after that (an upper
// bound).
async function keyPaintMs(page, key) {
  await page.evaluate(() => {
    window.keyPaint = new Promise((resolve) => {
      let pressed = 0;
      document.addEventListener('keydown', () => { pressed = performance.now(); }, { capture: true, once: true });
      const rows = document.querySelector('.xterm-rows');
      const observer = new MutationObserver(() => {
        observer.disconnect();
        const updated = performance.now() - pressed;
        requestAnimationFrame(() => resolve([updated, performance.now() - pressed]));
      });
      observer.observe(rows, { subtree: true, childList: true, characterData: true, attributes: true });
    });
  });
  await page.keyboard.press(key);
  return page.evaluate(() => window.keyPaint);
}

function gzipSize(file) {
  return zlib.gzipSync(fs.readFileSync(file), { level: 9 }).length;
}

function pageSizes(folder) {
  const files = [];
  const walk = (dir) => {
    for (const entry of fs.readdirSync(dir, { withFileTypes: true })) {
      const full = path.join(dir, entry.name);
      if (entry.isDirectory()) walk(full);
      else if (MEDIA.test(entry.name) || TUNE_SCRIPTS.test(entry.name)) continue;
      else if (entry.name === 'release-page.js') continue;  // what a published quest carries instead
      else if (!entry.name.endsWith('.qst') || entry.name === 'stackle.qst') files.push(full);
    }
  };
  walk(folder);
  return files.reduce((sum, file) => sum + gzipSize(file), 0);
}

const site = await serve(siteWithQuests());
const browser = await launchBrowser();
try {
  const page = await browser.newPage();
  await openPage(page, site.url);
  await page.waitForFunction(() => window.tindelGame?.timing.firstWait);
  const figures = { dense: { page: [], native: [] }, loop: { page: [], native: [] } };
  for (let i = 0; i < RUNS; i++) {
    figures.dense.native.push(nativeMs(['2', 'w', 'dense.qst']));
    figures.dense.page.push(await pageMs(page, 'dense.qst', '2'));
    figures.loop.native.push(nativeMs(['0', 'w', 'loop.qst']));
    figures.loop.page.push(await pageMs(page, 'loop.qst', '0'));
  }
  row('figure', 'median', 'note');
  for (const [name, what] of [['dense', 'check (mode 2) of dense.qst, 4 MB'], ['loop', 'play loop, 1000000 passes']]) {
    const native = median(figures[name].native);
    const inPage = median(figures[name].page);
    row(`${what}: native`, `${native.toFixed(1)} ms`, 'whole process');
    row(`${what}: page`, `${inPage.toFixed(1)} ms`, `${(native / inPage).toFixed(2)} x native speed`);
  }

  const painted = [];
  const cards = [];
  const firsts = [];
  for (let i = 0; i < RUNS; i++) {
    const [paint, card, first] = await firstScreenMs(browser, site.url);
    painted.push(paint);
    cards.push(card);
    firsts.push(first);
  }
  const runs = (values) => `runs: ${values.map((t) => t.toFixed(0)).join(', ')}`;
  row('navigation to the title card painted', `${median(painted).toFixed(0)} ms`, runs(painted));
  row('navigation to the title card\'s Play taking keys', `${median(cards).toFixed(0)} ms`, runs(cards));
  row('Play on the title card to the first screen', `${median(firsts).toFixed(0)} ms`, runs(firsts));

  const play = await browser.newPage();
  await openPage(play, site.url);
  await play.waitForFunction(() => document.querySelector('.xterm-rows')?.textContent.includes('Press any key'));
  await play.keyboard.press('Enter');
  await play.keyboard.type('Bench');
  await play.keyboard.press('Enter');
  await play.keyboard.press('Enter');
  await play.waitForFunction(() => document.querySelector('.xterm-rows')?.textContent.includes('Climb the cliff path'));
  await closePicture(play);
  const updates = [];
  const nextFrames = [];
  for (let i = 0; i < KEY_PRESSES; i++) {
    const [updated, nextFrame] = await keyPaintMs(play, i % 2 ? 'ArrowUp' : 'ArrowDown');
    updates.push(updated);
    nextFrames.push(nextFrame);
  }
  row('Down key to the rows of its frame', `${median(updates).toFixed(1)} ms`, `median of ${KEY_PRESSES}, max ${Math.max(...updates).toFixed(1)} ms`);
  row('Down key to the frame after', `${median(nextFrames).toFixed(1)} ms`, 'upper bound');

  row('tindel.wasm, gzip -9', `${(gzipSize(path.join(siteArg, 'tindel.wasm')) / 1024).toFixed(1)} KB`);
  row('the page without the examples\' media, gzip -9', `${(pageSizes(siteArg) / 1024).toFixed(1)} KB`, 'HTML, scripts, styles, module, xterm.js, stackle.qst');
  const tuneFiles = fs.readdirSync(path.join(siteArg, 'vendor')).filter((name) => TUNE_SCRIPTS.test(name));
  const tuneBytes = tuneFiles.reduce((sum, name) => sum + gzipSize(path.join(siteArg, 'vendor', name)), 0) +
    gzipSize(path.join(siteArg, 'TimGM6mb.sf2'));
  row('loaded at the first tune, gzip -9', `${(tuneBytes / 1024).toFixed(1)} KB`, 'FluidSynth, js-synthesizer, the soundfont');
} finally {
  await browser.close();
  await site.close();
}
