// The page's media figures: the time from the bundled quest's `music = 1` to sound (with the
// soundfont in the browser's cache, on a fresh page; and again with the synthesizer loaded),
// and the share of the main thread a waiting menu takes while the tune plays and in silence.
// Usage: node bench/web_media_figures.mjs SITE_FOLDER
import { serve, launchBrowser, openPage, siteFolder, mainThreadBusy } from '../tests/web/harness.mjs';

const RUNS = Number(process.env.RUNS ?? 5);
const WAIT_MS = 5000;

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor((values.length - 1) / 2)];
const row = (figure, value, note = '') =>
  console.log(`${figure.padEnd(46)} ${value.padStart(12)}  ${note}`);

// From then on window.tuneHeard resolves to the milliseconds from the next tune asked for to
// the first audible output.
function timeNextTune(page) {
  return page.evaluate(() => {
    const media = window.tindelMedia;
    const request = media.request.bind(media);
    window.tuneHeard = new Promise((resolve) => {
      media.request = (kind, file, findFile) => {
        if (kind === 'music') listen(performance.now(), resolve);
        return request(kind, file, findFile);
      };
    });
    function listen(asked, resolve) {
      const { context, master } = media.output;
      const analyser = context.createAnalyser();
      analyser.fftSize = 256;
      master.connect(analyser);
      const samples = new Float32Array(analyser.fftSize);
      const look = () => {
        analyser.getFloatTimeDomainData(samples);
        if (samples.some((sample) => Math.abs(sample) > 0.001)) {
          master.disconnect(analyser);
          resolve(performance.now() - asked);
        } else {
          setTimeout(look, 2);
        }
      };
      look();
    }
  });
}

async function toTheFirstMenu(page) {
  await page.waitForFunction(() => document.querySelector('.xterm-rows')?.textContent.includes('Press any key'));
  await page.keyboard.press('Enter');
  await page.keyboard.type('Bench');
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => document.querySelector('.xterm-rows')?.textContent.includes('Step out'));
}

const site = await serve(siteFolder());
const browser = await launchBrowser();
try {
  const context = await browser.newContext();
  const warmUp = await context.newPage();
  await openPage(warmUp, `${site.url}?medialog`);
  await warmUp.waitForEvent('console', (message) => message.text().includes('music 1.mid started'));
  await warmUp.waitForTimeout(1000);  // the soundfont is being put in the cache
  await warmUp.close();

  const fresh = [];
  const loaded = [];
  const busy = { playing: [], silent: [] };
  for (let i = 0; i < RUNS; i++) {
    const page = await context.newPage();
    await page.goto(site.url);
    await timeNextTune(page);
    await page.locator('#card-play').click();
    // The game before left the quest at a menu: a new game, not its continuation.
    const offered = await Promise.race([
      page.locator('#left-off').waitFor({ state: 'visible' }).then(() => true),
      page.waitForFunction(() => document.querySelector('.xterm-rows')?.textContent.includes('Press any key')).then(() => false),
    ]);
    if (offered) await page.locator('#new-game').click();
    fresh.push(await page.evaluate(() => window.tuneHeard));
    await toTheFirstMenu(page);
    busy.playing.push(await mainThreadBusy(page, WAIT_MS));
    await page.evaluate(() => window.tindelMedia.stopAll());
    busy.silent.push(await mainThreadBusy(page, WAIT_MS));
    await timeNextTune(page);
    await page.evaluate(async () => {
      const { siteFile } = await import('./site_files.js');
      window.tindelMedia.request('music', '1.mid', siteFile);
    });
    loaded.push(await page.evaluate(() => window.tuneHeard));
    await page.close();
  }
  const list = (values, scale = 1, digits = 0) => values.map((v) => (v * scale).toFixed(digits)).join(', ');
  row('figure', 'median', 'note');
  row('music = 1 to sound, fresh page, cached font', `${median(fresh).toFixed(0)} ms`, `runs: ${list(fresh)}`);
  row('music = 1 to sound, synthesizer loaded', `${median(loaded).toFixed(0)} ms`, `runs: ${list(loaded)}`);
  row('main thread at a menu, tune playing', `${(median(busy.playing) * 100).toFixed(1)} %`, `runs: ${list(busy.playing, 100, 1)} (${WAIT_MS / 1000} s each)`);
  row('main thread at a menu, silent', `${(median(busy.silent) * 100).toFixed(1)} %`, `runs: ${list(busy.silent, 100, 1)}`);
} finally {
  await browser.close();
  await site.close();
}
