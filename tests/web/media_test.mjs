// Music, sounds and pictures in the page, heard through an analyser on the page's audio
// output: a quest opened while the title card waits plays its sounds (the second cutting the
// first off) and shows its picture, all without loading the soundfont; its tune then sounds, a
// missing tune leaves it playing, music = 0 silences it, one asked for while the browser holds
// the audio back waits for a key, and another game stops it; after a reload the soundfont comes from the browser's cache. The media log tells each step.
// Usage: node media_test.mjs SITE_FOLDER
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { runTest, waitForScreen, screenText, check, loudness } from './harness.mjs';

const QUEST = path.join(path.dirname(fileURLToPath(import.meta.url)), 'quests', 'media.qst');
const SOUNDFONT = 'TimGM6mb.sf2';
const AUDIBLE = 0.01;  // RMS of the output
const SILENT = 0.001;

// A MIDI file: an organ holding C and G for ten seconds.
function organChord() {
  const track = [
    0x00, 0xc0, 19, 0x00, 0x90, 60, 100, 0x00, 0x90, 67, 100,
    0x8f, 0x00, 0x80, 60, 64, 0x00, 0x80, 67, 64, 0x00, 0xff, 0x2f, 0x00,
  ];
  const header = [0x4d, 0x54, 0x68, 0x64, 0, 0, 0, 6, 0, 0, 0, 1, 0, 96];
  return Buffer.from([...header, 0x4d, 0x54, 0x72, 0x6b, 0, 0, 0, track.length, ...track]);
}

// A 16-bit mono wave file of a sine tone.
function tone(seconds, hertz) {
  const rate = 22050;
  const samples = Math.round(seconds * rate);
  const wave = Buffer.alloc(44 + samples * 2);
  wave.write('RIFF', 0);
  wave.writeUInt32LE(36 + samples * 2, 4);
  wave.write('WAVEfmt ', 8);
  wave.writeUInt32LE(16, 16);
  wave.writeUInt16LE(1, 20);
  wave.writeUInt16LE(1, 22);
  wave.writeUInt32LE(rate, 24);
  wave.writeUInt32LE(rate * 2, 28);
  wave.writeUInt16LE(2, 32);
  wave.writeUInt16LE(16, 34);
  wave.write('data', 36);
  wave.writeUInt32LE(samples * 2, 40);
  for (let i = 0; i < samples; i++) {
    wave.writeInt16LE(Math.round(16000 * Math.sin((2 * Math.PI * hertz * i) / rate)), 44 + i * 2);
  }
  return wave;
}

// A JPEG drawn by the browser's canvas, wider than the screen is high.
async function picture(page) {
  const url = await page.evaluate(() => {
    const canvas = Object.assign(document.createElement('canvas'), { width: 320, height: 100 });
    const draw = canvas.getContext('2d');
    draw.fillStyle = '#2266cc';
    draw.fillRect(0, 0, 320, 100);
    return canvas.toDataURL('image/jpeg');
  });
  return Buffer.from(url.split(',')[1], 'base64');
}

async function questFolder(page) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'tindel-web-media-'));
  const files = {
    'media.qst': fs.readFileSync(QUEST), '1.mid': organChord(), '1.jpg': await picture(page),
    'long.wav': tone(4, 440), 'short.wav': tone(0.15, 660),
  };
  for (const [name, bytes] of Object.entries(files)) fs.writeFileSync(path.join(folder, name), bytes);
  return Object.keys(files).map((name) => path.join(folder, name));
}

// The page with its media log and the site's files it asked for.
async function watchedPage(browser, url) {
  const page = await browser.newPage();
  page.logged = [];
  page.logRead = 0;
  page.asked = [];
  page.on('console', (message) => page.logged.push(message.text()));
  page.on('request', (request) => page.asked.push(new URL(request.url()).pathname));
  await page.goto(`${url}index.html?medialog`);
  return page;
}

async function choose(page, number) {
  await page.keyboard.type(String(number));
  await page.keyboard.press('Enter');
}

// Waits for the line among those logged after the last line waited for.
async function waitForLog(page, line) {
  for (let tries = 0; tries < 200; tries++) {
    const at = page.logged.indexOf(`tindel media: ${line}`, page.logRead);
    if (at >= 0) {
      page.logRead = at + 1;
      return;
    }
    await page.waitForTimeout(50);
  }
  throw new Error(`the media log never said "${line}"; it says:\n${page.logged.join('\n')}`);
}

async function expectLoudness(page, audible, what) {
  const rms = await loudness(page);
  check(audible ? rms > AUDIBLE : rms < SILENT, `${what}: the output's RMS is ${rms}`);
}

async function openQuest(page, files) {
  await page.setInputFiles('#open-files', files);
  await waitForScreen(page, 'Which?');
}

async function sounds(page) {
  await choose(page, 3);
  await waitForLog(page, 'sound long.wav started');
  await expectLoudness(page, true, 'the long sound');
  await choose(page, 4);
  await waitForLog(page, 'sound short.wav started');
  await page.waitForTimeout(400);
  await expectLoudness(page, false, 'the short sound over, the long one cut off');
}

// The picture covers the screen, its shape kept, while the game waits for a line; a key
// closes it and is not typed into the line.
async function pictureOverScreen(page) {
  await choose(page, 5);
  const image = page.locator('.picture img');
  await image.waitFor({ state: 'visible' });
  await page.waitForTimeout(200);
  const before = await screenText(page);
  check(await image.getAttribute('alt') === 'Picture 1.jpg', 'the picture has no text alternative');
  const covers = await page.evaluate(() => {
    const box = (selector) => JSON.stringify(document.querySelector(selector).getBoundingClientRect());
    const img = document.querySelector('.picture img');
    return box('.picture img') === box('#screen-box') && getComputedStyle(img).objectFit === 'contain' &&
      document.activeElement.classList.contains('picture');
  });
  check(covers, 'the picture does not cover the screen, fitted, with the focus');
  await page.keyboard.press('x');
  await page.locator('.picture').waitFor({ state: 'detached' });
  const after = await screenText(page);
  check(after === before, `the key that closed the picture changed the screen:\n${after}`);
  check(await page.evaluate(() => document.activeElement.classList.contains('xterm-helper-textarea')),
    'the focus did not go back to the screen');
}

async function tune(page) {
  check(!page.asked.includes(`/${SOUNDFONT}`), 'the soundfont was loaded before any tune');
  await choose(page, 1);
  await waitForLog(page, 'music 1.mid started');
  check(page.asked.includes(`/${SOUNDFONT}`), 'the tune played without the site\'s soundfont');
  await expectLoudness(page, true, 'the tune');
  await choose(page, 6);
  await waitForLog(page, 'music 7.mid: no such file among the quest\'s files (7.mid: 404 Not Found)');
  await expectLoudness(page, true, 'the tune after a missing one');
  await choose(page, 2);
  await waitForLog(page, 'music 1.mid stopped');
  await page.waitForTimeout(100);
  await expectLoudness(page, false, 'music = 0');
}

await runTest(async ({ browser, url }) => {
  const page = await watchedPage(browser, url);
  check(await page.evaluate(() => document.activeElement.id) === 'card-play', 'Play has no focus');
  check(await page.locator('#card-title').textContent() === 'stackle.qst', 'the card names no quest');
  const files = await questFolder(page);
  await openQuest(page, files);
  check(await page.locator('#card').isHidden(), 'the card stays over the quest opened');
  await sounds(page);
  await pictureOverScreen(page);
  await tune(page);

  // A tune asked for while the browser holds the page's audio back starts at the next key.
  await page.evaluate(() => window.tindelMedia.output.context.suspend());
  await choose(page, 1);
  await waitForLog(page, 'music 1.mid waits until the page may sound');
  await page.keyboard.press('Backspace');
  await waitForLog(page, 'audio running');
  await expectLoudness(page, true, 'the tune that waited');
  await openQuest(page, files);
  await page.waitForTimeout(100);
  await expectLoudness(page, false, 'another game');

  await page.reload();
  await openQuest(page, files);
  await choose(page, 1);
  await waitForLog(page, 'music 1.mid started');
  check(page.logged.some((line) => line.startsWith(`tindel media: soundfont ${SOUNDFONT} (from the browser's cache`)),
    `the soundfont was not kept:\n${page.logged.join('\n')}`);
});
