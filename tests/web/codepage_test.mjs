// The code page of a quest opened from the computer is found from its text and shown: UTF-8
// with and without a byte-order mark, CP866 and Windows-1251 all show their Cyrillic right;
// the player's choice of another code page plays the quest again in it.
// Usage: node codepage_test.mjs SITE_FOLDER
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { runTest, openPage, waitForScreen, screenText, check } from './harness.mjs';

const quests = path.join(path.dirname(fileURLToPath(import.meta.url)), 'quests');
const EXPECTED = { 'utf8_bom.qst': 'u', 'utf8.qst': 'u', 'cp866.qst': 'd', 'cp1251.qst': 'w' };

await runTest(async ({ browser, url }) => {
  const page = await browser.newPage();
  await openPage(page, url);
  await waitForScreen(page, 'Press any key to begin.');
  check(await page.locator('#codepage').inputValue() === 'w', 'the bundled quest is not shown as w');
  for (const [file, letter] of Object.entries(EXPECTED)) {
    await page.setInputFiles('#open-files', path.join(quests, file));
    await page.waitForFunction((name) => window.tindelGame?.quest?.name === name, file);
    await waitForScreen(page, 'Тёмная ночь над морем, и шторм всё сильнее.');
    await waitForScreen(page, 'Маяк молчит; кто зажжёт огонь?');
    const shown = await page.locator('#codepage').inputValue();
    check(shown === letter, `${file} is shown as code page ${shown}, not ${letter}`);
  }
  // The player's own choice plays the quest again in it: the Windows-1251 quest read as CP866.
  await page.evaluate(() => { window.previousGame = window.tindelGame; });
  await page.selectOption('#codepage', 'd');
  await page.waitForFunction(() =>
    window.tindelGame !== window.previousGame && window.tindelGame.timing.firstWait !== null);
  const misread = await screenText(page);
  check(!misread.includes('Тёмная'), `the quest still reads right in CP866:\n${misread}`);
  // Misread, it stops with an error report, whose debug.txt the page offers.
  await page.locator('#download-debug').waitFor({ state: 'visible' });
});
