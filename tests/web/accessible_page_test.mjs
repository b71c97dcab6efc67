// The page checked by axe-core on the title card (with the screen-reader setting off and on),
// the choice to continue a game left at a menu, a menu, the inventory and the end screen: no violation of serious or critical impact. Tab
// reaches every control of the bar and the screen, each with a visible focus, and Space
// turns the setting on.
// The screen's rows are left out: their colours are the quest's (the DOS palette), not the
// page's.
// Usage: node accessible_page_test.mjs SITE_FOLDER
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { runTest, openPage, closePicture, waitForScreen, screenText, check } from './harness.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
// The bar's controls shown on the title card.
const CONTROLS = ['open-files', 'codepage', 'accessible', 'load-save'];
const AXE = path.join(here, '../../web/page/node_modules/axe-core/axe.min.js');

async function checkPage(page, what) {
  await page.addScriptTag({ path: AXE });
  const results = await page.evaluate(() => window.axe.run({ exclude: [['#screen .xterm-rows']] }));
  const grave = results.violations.filter((v) => v.impact === 'serious' || v.impact === 'critical');
  const told = grave.map((v) => `${v.id} (${v.impact}): ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`);
  check(grave.length === 0, `${what}:\n${told.join('\n')}`);
  check(results.passes.length > 0, `${what}: axe checked nothing`);
}

await runTest(async ({ browser, url }) => {
  const page = await browser.newPage();
  await openPage(page, `${url}index.html?seed=1`);
  await waitForScreen(page, 'Press any key to begin.');
  await checkPage(page, 'the title card');
  await page.keyboard.press('Enter');
  await waitForScreen(page, 'What is your name, traveller?');
  await page.keyboard.type('Иван');
  await page.keyboard.press('Enter');
  await waitForScreen(page, 'Step out into the storm');
  await page.keyboard.press('Enter');
  await page.locator('.picture img').waitFor({ state: 'visible' });
  await checkPage(page, 'a picture over the menu');
  await closePicture(page);
  await checkKeyboard(page);

  await openPage(page, `${url}index.html?seed=1&accessible=1`);
  await page.locator('#left-off').waitFor({ state: 'visible' });
  await checkPage(page, 'the choice to continue where the game was left');
  await page.locator('#new-game').click();
  await waitForScreen(page, 'Press any key to begin.');
  await checkPage(page, 'the title card in the screen-reader mode');
  await page.keyboard.press('Enter');
  await page.keyboard.type('Иван');
  await page.keyboard.press('Enter');
  await waitForScreen(page, 'Step out into the storm');
  await page.keyboard.press('Enter');
  await waitForScreen(page, 'Knock at the cottage door');
  await checkPage(page, 'a menu');

  await pressWhenWaiting(page, 'Enter');
  await waitForScreen(page, "THE KEEPER'S COTTAGE");
  await pressWhenWaiting(page, 'ArrowDown');
  await page.keyboard.press('Enter');
  await waitForScreen(page, 'You pocket the tin box.');
  const before = await screenText(page);
  await pressWhenWaiting(page, 'i');
  await waitForChange(page, before);
  await checkPage(page, 'the inventory');

  await page.keyboard.press('Escape');
  await page.waitForTimeout(300);
  await page.keyboard.press('Escape');
  await page.waitForTimeout(300);
  await page.keyboard.press('Enter');
  await page.locator('#end').waitFor({ state: 'visible' });
  await checkPage(page, 'the end screen');
});

// As for a player, the menu takes keys once it waits.
async function pressWhenWaiting(page, key) {
  await page.waitForTimeout(300);
  await page.keyboard.press(key);
}

async function waitForChange(page, before) {
  for (let tries = 0; tries < 100 && (await screenText(page)) === before; tries++) {
    await page.waitForTimeout(50);
  }
}

// Tabs round the page; each control the bar shows, and the screen, take the focus and show
// it (an outline on the control or on the label that is its button).
async function checkKeyboard(page) {
  const reached = new Set();
  for (let tabs = 0; tabs < 12; tabs++) {
    await page.keyboard.press('Tab');
    const focused = await page.evaluate(() => {
      const element = document.activeElement;
      const shown = element.closest('label.button') ?? element;
      return { id: element.id || element.className, outline: getComputedStyle(shown).outlineStyle };
    });
    reached.add(focused.id);
    if (CONTROLS.includes(focused.id)) {
      check(focused.outline !== 'none', `${focused.id} shows no focus`);
    }
  }
  for (const id of [...CONTROLS, 'xterm-helper-textarea']) {
    check(reached.has(id), `Tab never reaches ${id}: ${[...reached].join(', ')}`);
  }
  await page.locator('#accessible').focus();
  await page.keyboard.press('Space');
  check(await page.locator('#accessible').isChecked(), 'Space does not turn the setting on');
  await waitForScreen(page, 'Press any key to begin.');
}
