// A published quest plays from disk: `tindel-author release` of the bundled quest, opened as
// file:///…/index.html (no server), shows the served site's screens for the same keys, sounds
// its tune (the media log says so and the output is loud) and shows its picture over the
// screen until a key that does nothing else; a quest
// without tunes leaves the soundfont out and fits in 1 MB; the --zip archive unpacked plays too.
// Usage: node release_test.mjs SITE_FOLDER TINDEL EXAMPLES_FOLDER (tindel-author beside TINDEL)
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { runTest, siteFolder, waitForScreen, screenText, check, loudness } from './harness.mjs';

const [, , , player, examples] = process.argv;
const author = path.resolve(path.dirname(player), 'tindel-author');
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'tindel-release-'));

function release(quest, ...options) {
  execFileSync(author, ['release', quest, '--page-build', siteFolder(), ...options],
    { cwd: scratch, stdio: ['ignore', 'ignore', 'inherit'] });
}

function folderSize(folder) {
  return fs.readdirSync(folder, { recursive: true })
    .map((name) => fs.statSync(path.join(folder, name)))
    .filter((stat) => stat.isFile())
    .reduce((sum, stat) => sum + stat.size, 0);
}

// The media branch's title card may stand before the game: its Play button starts it.
async function open(page, url) {
  await page.goto(url);
  const play = page.getByRole('button', { name: 'Play', exact: true });
  await Promise.race([page.waitForSelector('#screen .xterm-rows'), play.waitFor()]);
  if (await play.isVisible()) await play.click();
}

// The keys of the bundled quest's first steps, and a text each one ends on.
const STEPS = [
  { keys: [], shows: 'Press any key to begin.' },
  { keys: ['Enter'], shows: 'What is your name, traveller?' },
  { keys: ['type:Мария', 'Enter'], shows: 'Step out into the storm' },
  { keys: ['Enter'], shows: 'THE SHORE' },
];

async function playSteps(page) {
  const screens = [];
  for (const step of STEPS) {
    for (const key of step.keys) {
      if (key.startsWith('type:')) await page.keyboard.type(key.slice(5));
      else await page.keyboard.press(key);
    }
    await waitForScreen(page, step.shows);
    await new Promise((resolve) => setTimeout(resolve, 200));
    screens.push(await screenText(page));
  }
  return screens;
}

// The published page's title tune sounds and its picture at the shore covers the screen; a
// key closes the picture and leaves the screen as it was.
async function mediaFromDisk(page, logged, screenAtShore) {
  check(logged.includes('tindel media: music 1.mid started'), `no tune from disk:\n${logged.join('\n')}`);
  const rms = await loudness(page);
  check(rms > 0.01, `the tune from disk is not heard: the output's RMS is ${rms}`);
  const cover = await page.evaluate(() => {
    const image = document.querySelector('.picture img');
    const box = (element) => element?.getBoundingClientRect();
    return image && { image: box(image), screen: box(document.getElementById('screen')), shown: image.complete && image.naturalWidth > 0 };
  });
  check(cover?.shown && cover.image.width >= cover.screen.width * 0.5 && cover.image.top <= cover.screen.top + 1,
    `the picture from disk does not cover the screen: ${JSON.stringify(cover)}`);
  await page.keyboard.press('Escape');  // it would leave the game if it got through
  await page.locator('.picture').waitFor({ state: 'detached' });
  await new Promise((resolve) => setTimeout(resolve, 300));
  check(await screenText(page) === screenAtShore, 'the screen changed when the picture closed');
}

const NO_TUNES = [':start', 'pln A quiet room without a sound.', 'image = 1', 'btn start, Wait',
  'end', ''].join('\r\n');

await runTest(async ({ browser, url }) => {
  try {
    await playReleases(browser, url);
  } finally {
    fs.rmSync(scratch, { recursive: true, force: true });
  }
});

async function playReleases(browser, url) {
  release(path.resolve(examples, 'stackle.qst'), '-o', 'stackle');
  const served = await browser.newPage();
  await open(served, `${url}index.html?seed=1`);
  const expected = await playSteps(served);

  const published = await browser.newPage();
  const errors = [];
  const logged = [];
  published.on('pageerror', (error) => errors.push(error.message));
  published.on('console', (message) => logged.push(message.text()));
  await open(published, `${pathToFileURL(path.join(scratch, 'stackle', 'index.html'))}?seed=1&medialog`);
  const shown = await playSteps(published);
  for (let i = 0; i < STEPS.length; i += 1) {
    check(shown[i] === expected[i],
      `from disk after the keys for ${STEPS[i].shows}:\n${shown[i]}\n--- served:\n${expected[i]}`);
  }
  check(errors.length === 0, `the page from disk failed: ${errors.join('; ')}`);
  await mediaFromDisk(published, logged, shown.at(-1));

  // A quest without tunes: no soundfont, the whole folder within 1 MB; its zip plays as well.
  const quiet = path.join(scratch, 'quiet');
  fs.mkdirSync(quiet);
  fs.writeFileSync(path.join(quiet, 'quiet.qst'), NO_TUNES);
  fs.copyFileSync(path.join(examples, '1.jpg'), path.join(quiet, '1.jpg'));
  release(path.join(quiet, 'quiet.qst'), '-o', 'quiet-web', '--zip', 'quiet.zip');
  const files = fs.readdirSync(path.join(scratch, 'quiet-web', 'files')).sort();
  check(JSON.stringify(files) === JSON.stringify(['1.jpg.js', 'quiet.qst.js', 'tindel.wasm.js']),
    `the quiet release carries ${files}`);
  const size = folderSize(path.join(scratch, 'quiet-web'));
  check(size < 1024 * 1024, `the quiet release takes ${size} bytes`);

  const unpacked = path.join(scratch, 'unpacked');
  execFileSync('python3', ['-m', 'zipfile', '-e', path.join(scratch, 'quiet.zip'), unpacked]);
  const fromZip = await browser.newPage();
  await open(fromZip, pathToFileURL(path.join(unpacked, 'index.html')).href);
  await waitForScreen(fromZip, 'A quiet room without a sound.');
  check(await fromZip.title() === 'A quiet room without a sound.',
    `the unpacked page's title is ${await fromZip.title()}`);
}
