// Clicks, taps and the wheel on the page's menu: a click on the second entry chooses it, a tap
// does the same on a touch screen, where the row of keys shows and works, and the wheel moves
// the highlight.
// Usage: node pointer_test.mjs SITE_FOLDER
import { runTest, openPage, closePicture, waitForScreen, check } from './harness.mjs';

const SECOND_ENTRY = 'Climb the cliff path to the tower';

// The bundled quest as far as the shore, whose menu has two entries, and its picture closed;
// a new game when the page offers to continue the one left at a menu before.
async function toTheShore(page, url, leftBefore = false) {
  await openPage(page, `${url}index.html?seed=1`);
  if (leftBefore) await page.locator('#new-game').click();
  await waitForScreen(page, 'Press any key to begin.');
  await page.keyboard.press('Enter');
  await page.keyboard.type('Аня');
  await page.keyboard.press('Enter');
  await waitForScreen(page, 'Step out into the storm');
  await page.keyboard.press('Enter');
  await waitForScreen(page, SECOND_ENTRY);
  await closePicture(page);
}

// The middle of the screen row that shows text.
async function rowCentre(page, text) {
  const row = page.locator('#screen .xterm-rows > div', { hasText: text });
  const box = await row.boundingBox();
  check(box, `no row shows ${text}`);
  return { x: box.x + 40, y: box.y + box.height / 2 };
}

await runTest(async ({ browser, url }) => {
  const page = await browser.newPage();
  await toTheShore(page, url);
  const { x, y } = await rowCentre(page, SECOND_ENTRY);
  await page.mouse.click(x, y);
  await waitForScreen(page, 'THE CLIFF PATH');

  await toTheShore(page, url, true);
  const centre = await rowCentre(page, 'Knock at the cottage door');
  await page.mouse.move(centre.x, centre.y);
  await page.mouse.wheel(0, 100);
  await page.keyboard.press('Enter');
  await waitForScreen(page, 'THE CLIFF PATH');

  const phone = await browser.newContext({ hasTouch: true, isMobile: true, viewport: { width: 412, height: 915 } });
  const touch = await phone.newPage();
  await toTheShore(touch, url);
  check(await touch.locator('#touch-keys').isVisible(), 'a touch screen shows no row of keys');
  const fit = await touch.evaluate(() => document.querySelector('#screen .xterm-screen').getBoundingClientRect().width);
  check(fit <= 412, `the 80 columns are ${fit} px wide on a screen of 412`);
  const tapped = await rowCentre(touch, SECOND_ENTRY);
  await touch.touchscreen.tap(tapped.x, tapped.y);
  await waitForScreen(touch, 'THE CLIFF PATH');

  // The phone's keyboard (xterm's text area focused and taking text) is up while the name is
  // asked for, and down again at the menu after it.
  const typing = () => touch.evaluate(() => {
    const area = document.activeElement;
    return (area?.classList.contains('xterm-helper-textarea') ?? false) && area.inputMode !== 'none';
  });
  await openPage(touch, `${url}index.html?seed=1`);
  await touch.locator('#new-game').tap();
  await waitForScreen(touch, 'Press any key to begin.');
  await touch.locator('#touch-keys [data-key="enter"]').tap();
  await waitForScreen(touch, 'What is your name');
  check(await typing(), 'the phone\'s keyboard is not up for the name');
  await touch.keyboard.type('Аня');
  await touch.locator('#touch-keys [data-key="enter"]').tap();
  await waitForScreen(touch, 'Step out into the storm');
  check(!(await typing()), 'the phone\'s keyboard stays up at the menu');

  // The row of keys does what the keys do.
  await toTheShore(touch, url, true);
  await touch.locator('#touch-keys [data-key="down"]').tap();
  await touch.locator('#touch-keys [data-key="enter"]').tap();
  await waitForScreen(touch, 'THE CLIFF PATH');
  await phone.close();
});
