// Back's figures in the page, on the bundled quest: from the Backspace key's event to the
// earlier menu's screen in xterm.js's rows (and to the frame after), and to the fresh module
// waiting at that menu; the size of the file of moments kept in IndexedDB and the time its
// write to IndexedDB takes at a menu.
// Usage: node bench/web_back_figures.mjs SITE_FOLDER
import {
  serve, launchBrowser, siteFolder, openPage, closePicture, screenText, waitForScreen,
} from '../tests/web/harness.mjs';

const BACKS = 20;
const SYNCS = 20;

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor((values.length - 1) / 2)];
const row = (figure, value, note = '') =>
  console.log(`${figure.padEnd(46)} ${value.padStart(12)}  ${note}`);

async function stableMenu(page, before) {
  let last = null;
  for (let same = 0; same < 3;) {
    await new Promise((resolve) => setTimeout(resolve, 30));
    const shown = await screenText(page);
    const waits = await page.locator('#menu-options li').count() > 0;
    same = shown === last && shown !== before && waits ? same + 1 : 0;
    last = shown;
  }
  return last;
}

// Presses Backspace; resolves to [rows updated, frame after, fresh module waiting] in ms.
async function backMs(page, expected) {
  await page.evaluate((expected) => {
    const rowsText = () => [...document.querySelectorAll('#screen .xterm-rows > div')]
      .map((r) => r.textContent.replace(/\s+$/u, '')).join('\n');
    const before = window.tindelGame;
    window.backTimes = new Promise((resolve) => {
      let pressed = 0;
      let painted = null;
      document.addEventListener('keydown', () => { pressed = performance.now(); }, { capture: true, once: true });
      const waiting = () => {
        const game = window.tindelGame;
        if (game !== before && game.timing.firstWait !== null && painted) {
          resolve([...painted, game.timing.firstWait - pressed]);
        } else {
          setTimeout(waiting, 2);
        }
      };
      const observer = new MutationObserver(() => {
        if (rowsText() !== expected) return;
        observer.disconnect();
        const updated = performance.now() - pressed;
        requestAnimationFrame(() => {
          painted = [updated, performance.now() - pressed];
          waiting();
        });
      });
      observer.observe(document.querySelector('#screen .xterm-rows'),
        { subtree: true, childList: true, characterData: true, attributes: true });
    });
  }, expected);
  await page.keyboard.press('Backspace');
  return page.evaluate(() => window.backTimes);
}

function syncMs(page) {
  return page.evaluate(async () => {
    const game = window.tindelGame;
    const FS = game.module.FS;
    const path = `${game.folder}/left-off.moment`;
    FS.writeFile(path, FS.readFile(path));
    const started = performance.now();
    await game.sync(false);
    return performance.now() - started;
  });
}

const site = await serve(siteFolder());
const browser = await launchBrowser();
try {
  const page = await browser.newPage();
  await openPage(page, `${site.url}?seed=3`);
  await waitForScreen(page, 'Press any key');
  await page.keyboard.press('Enter');
  await waitForScreen(page, 'What is your name');
  await page.keyboard.type('Bench');
  await page.keyboard.press('Enter');
  await stableMenu(page, '');
  await page.keyboard.press('Enter');
  // Back goes between the shore (its picture closed) and the cottage.
  await closePicture(page);
  const first = await stableMenu(page, '');
  const updated = [];
  const frames = [];
  const ready = [];
  for (let i = 0; i < BACKS; i++) {
    await page.keyboard.press('Enter');
    await stableMenu(page, first);
    const [rows, frame, waiting] = await backMs(page, first);
    updated.push(rows);
    frames.push(frame);
    ready.push(waiting);
    await stableMenu(page, null);
  }
  row('figure', 'median', 'note');
  row('Back: key to the rows of its frame', `${median(updated).toFixed(1)} ms`, `median of ${BACKS}, max ${Math.max(...updated).toFixed(1)} ms`);
  row('Back: key to the frame after', `${median(frames).toFixed(1)} ms`, 'upper bound');
  row('Back: key to the fresh module waiting', `${median(ready).toFixed(1)} ms`, `median of ${BACKS}, max ${Math.max(...ready).toFixed(1)} ms`);

  const size = await page.evaluate(() => window.tindelGame.readFile('left-off.moment').length);
  row('file of moments at the shore', `${(size / 1024).toFixed(1)} KB`, `${size} bytes`);
  await page.keyboard.press('Enter');
  await stableMenu(page, first);
  const syncs = [];
  for (let i = 0; i < SYNCS; i++) syncs.push(await syncMs(page));
  row('its write to IndexedDB (syncfs) at a menu', `${median(syncs).toFixed(1)} ms`, `median of ${SYNCS}, max ${Math.max(...syncs).toFixed(1)} ms`);
} finally {
  await browser.close();
  await site.close();
}
