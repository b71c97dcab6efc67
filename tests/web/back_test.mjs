// Back, restart and continuing in the page, on the bundled quest with a fixed seed: Back by
// key and by button shows each earlier menu exactly and draws the same numbers again;
// restart asks first; a page opened again continues at the last menu, or begins anew, and a
// damaged file of moments gives a new game with a notice.
// Usage: node back_test.mjs SITE_FOLDER
import { runTest, openPage, closePicture, screenText, waitForScreen, check } from './harness.mjs';

const TITLE = 'Press any key to begin.';
const QUESTION = 'Restart the quest from the beginning?';

// Waits for a menu on a screen other than before, the screen unchanged over a few looks
// (xterm.js paints in the frame after the menu's entries reach the page); gives the screen.
async function nextMenu(page, before) {
  const deadline = Date.now() + 10000;
  let last = null;
  let same = 0;
  for (;;) {
    const shown = await screenText(page);
    const waits = await page.locator('#menu-options li').count() > 0;
    same = shown === last ? same + 1 : 0;
    last = shown;
    if (shown !== before && waits && same >= 3) return shown;
    if (Date.now() > deadline) throw new Error(`no new menu; the screen shows:\n${shown}`);
    await new Promise((resolve) => setTimeout(resolve, 30));
  }
}

// Waits until the screen is exactly expected and a menu waits on it.
async function menuShown(page, expected, what) {
  const deadline = Date.now() + 10000;
  let shown = '';
  while (Date.now() < deadline) {
    shown = await screenText(page);
    if (shown === expected && await page.locator('#menu-options li').count() > 0) return;
    await new Promise((resolve) => setTimeout(resolve, 30));
  }
  throw new Error(`${what}: the screen shows\n${shown}\ninstead of\n${expected}`);
}

// The title, the player's name, then the first menu; gives the title's screen and the menu's.
async function begin(page, url, query = '') {
  await openPage(page, `${url}?seed=7${query}`);
  const title = await waitForScreen(page, TITLE);
  await page.keyboard.press('Enter');
  await waitForScreen(page, 'What is your name');
  await page.keyboard.type('Ann');
  await page.keyboard.press('Enter');
  return { title, menu: await nextMenu(page, '') };
}

async function choose(page, keys, before) {
  for (const key of keys) await page.keyboard.press(key);
  return nextMenu(page, before);
}

// The shore, whose picture is closed by a key that does nothing else.
async function toTheShore(page, before) {
  const shore = await choose(page, ['Enter'], before);
  await closePicture(page);
  return shore;
}

async function leftOffShown(page, url) {
  await openPage(page, `${url}?seed=7`);
  await page.locator('#left-off').waitFor({ state: 'visible' });
  check(await page.locator('#back').getAttribute('aria-disabled') === 'true',
    'Back offers itself while no menu waits');
}

await runTest(async ({ browser, url }) => {
  const context = await browser.newContext();
  const page = await context.newPage();
  const { title, menu: first } = await begin(page, url);
  const second = await toTheShore(page, first);  // the shore draws rnd
  const third = await choose(page, ['Enter'], second);
  await choose(page, ['ArrowDown', 'Enter'], third);

  await page.keyboard.press('Backspace');
  await menuShown(page, third, 'Back by key');
  await page.keyboard.press('Backspace');
  await menuShown(page, second, 'Back by key, twice');
  check(await page.locator('#back').getAttribute('aria-disabled') === 'false', 'Back is unavailable at a menu');
  await page.locator('#back').click();
  await menuShown(page, first, 'Back by the button');
  await page.keyboard.press('Enter');
  await menuShown(page, second, 'the choice made again after Back');
  await closePicture(page);

  await page.locator('#restart').click();
  await waitForScreen(page, QUESTION);
  await page.keyboard.press('x');
  await menuShown(page, second, 'restart refused');
  await page.keyboard.press('Control+r');
  await waitForScreen(page, QUESTION);
  await page.keyboard.press('Enter');
  await waitForScreen(page, TITLE);
  check(await screenText(page) === title, 'the restart does not show the fresh title screen');

  // The game left at its third menu is continued by a page opened again.
  await page.keyboard.press('Enter');
  await waitForScreen(page, 'What is your name');
  await page.keyboard.type('Ann');
  await page.keyboard.press('Enter');
  const left = await choose(page, ['Enter'], await toTheShore(page, await nextMenu(page, '')));
  check(left === third, 'the game played again after the restart went elsewhere');
  await page.close();

  const again = await context.newPage();
  await leftOffShown(again, url);
  await again.locator('#continue-left-off').click();
  await menuShown(again, left, 'continued');
  await again.keyboard.press('ArrowDown');
  await again.keyboard.press('Enter');
  await nextMenu(again, left);
  await again.close();

  const fresh = await context.newPage();
  await leftOffShown(fresh, url);
  await fresh.locator('#new-game').click();
  await waitForScreen(fresh, TITLE);
  check(await screenText(fresh) === title, 'New game does not begin at the title');
  await fresh.evaluate(async () => {
    const game = window.tindelGame;
    const path = `${game.folder}/left-off.moment`;
    const bytes = game.module.FS.readFile(path);
    bytes[bytes.length >> 1] ^= 0x20;
    game.module.FS.writeFile(path, bytes);
    await game.sync(false);
  });
  await fresh.close();

  const damaged = await context.newPage();
  await openPage(damaged, `${url}?seed=7`);
  await waitForScreen(damaged, TITLE);
  const notice = damaged.locator('#left-off-notice');
  await notice.waitFor({ state: 'visible' });
  check(/could not be continued.*damaged/.test(await notice.textContent()),
    `the notice says: ${await notice.textContent()}`);
  check(!(await damaged.locator('#left-off').isVisible()), 'a damaged file is offered to continue');

  // ?noback=1: Backspace and Ctrl+R do nothing, so the Enter after them takes the next menu.
  const noBack = await browser.newPage();
  const { menu } = await begin(noBack, url, '&noback=1');
  check(!(await noBack.locator('#back').isVisible()), 'Back shows with ?noback=1');
  await toTheShore(noBack, menu);
  await choose(noBack, ['Backspace', 'Control+r', 'Enter'], second);
  await menuShown(noBack, third, 'Back and restart turned off');
});
