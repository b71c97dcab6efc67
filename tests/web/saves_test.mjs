// Saved games in the page: a save survives a reload and Resume save resumes it with every
// variable; a save downloaded from the page resumes in the terminal player, and one the
// terminal player wrote resumes in the page.
// Usage: node saves_test.mjs SITE_FOLDER TINDEL EXAMPLES_FOLDER
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { runTest, openPage, waitForScreen, check } from './harness.mjs';
import { TerminalPlayer } from './terminal_player.mjs';

const [, , , player] = process.argv;
const quest = path.join(path.dirname(fileURLToPath(import.meta.url)), 'quests', 'vault.qst');
// Resumed, the vault's location runs again from its label and adds its coins and its lamp a second time.
const RESUMED = 'Coins: 14, name: Ёж, lamps: 2';

// A new game of the vault; the second time the page offers to continue the one left at
// its menu.
async function openVault(page, url, leftBefore = false) {
  await openPage(page, url);
  await waitForScreen(page, 'Press any key');  // the bundled quest
  await page.setInputFiles('#open-files', quest);
  if (leftBefore) await page.locator('#new-game').click();
  await waitForScreen(page, 'Your name?');
}

async function playToTheSave(page) {
  await page.keyboard.type('Ёж');
  await page.keyboard.press('Enter');
  await waitForScreen(page, 'Enter the vault');
  await page.keyboard.press('Enter');
  await waitForScreen(page, 'Coins: 7, name: Ёж, lamps: 1');
  await page.locator('#continue').waitFor({ state: 'visible' });
}

function scratchFolder() {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'tindel-web-saves-'));
  fs.copyFileSync(quest, path.join(folder, 'vault.qst'));
  return folder;
}

await runTest(async ({ browser, url }) => {
  const context = await browser.newContext({ acceptDownloads: true });
  const page = await context.newPage();
  await openVault(page, url);
  await playToTheSave(page);

  // The tab is reloaded at once; the same quest opened again offers Resume save.
  await page.reload();
  await openVault(page, url, true);
  await page.locator('#continue').click();
  await waitForScreen(page, RESUMED);

  // Downloaded, the save (written again by the resumed location) resumes in the terminal
  // player.
  const folder = scratchFolder();
  const [download] = await Promise.all([
    page.waitForEvent('download'),
    page.locator('#download-save').click(),
  ]);
  await download.saveAs(path.join(folder, 'save.txt'));
  const resumed = new TerminalPlayer(player, folder, ['1', 'w', 'vault.qst']);
  try {
    await resumed.waitFor('Coins: 21, name: Ёж, lamps: 3');
  } finally {
    resumed.close();
  }

  // A save the terminal player writes resumes in the page.
  const other = scratchFolder();
  const terminal = new TerminalPlayer(player, other, ['0', 'w', 'vault.qst']);
  try {
    await terminal.waitFor('Your name?');
    terminal.send('-l', 'Кот');
    terminal.send('Enter');
    await terminal.waitFor('Enter the vault');
    terminal.send('Enter');
    await terminal.waitFor('Coins: 7, name: Кот');
  } finally {
    terminal.close();
  }
  await page.setInputFiles('#load-save', path.join(other, 'save.txt'));
  await page.locator('#continue').click();
  await waitForScreen(page, 'Coins: 14, name: Кот, lamps: 2');
  check(!(await page.locator('#end').isVisible()), 'the end screen shows during a game');
});
