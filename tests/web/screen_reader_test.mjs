// The page with a screen reader: the setting (remembered, or ?accessible=1) plays in the
// accessible mode with xterm.js's screen-reader mode; the menu is a list box whose active
// option follows each Down, the terminal's cursor on its row; the live region holds each new
// page's text once, and a Down says nothing again; keys typed on the list box play.
// Usage: node screen_reader_test.mjs SITE_FOLDER
import { runTest, openPage, waitForScreen, check } from './harness.mjs';

await runTest(async ({ browser, url }) => {
  const page = await browser.newPage();
  await openPage(page, `${url}index.html?seed=1`);
  await waitForScreen(page, 'Press any key to begin.');
  check(!(await page.locator('#accessible').isChecked()), 'the setting starts on');
  await page.getByLabel('Screen reader mode').check();
  await openPage(page, `${url}index.html?seed=1`);  // remembered
  await waitForScreen(page, 'Press any key to begin.');
  check(await page.locator('#accessible').isChecked(), 'the setting was not remembered');
  check(await page.locator('.xterm-accessibility').count() === 1, "xterm.js's screen-reader mode is off");
  check((await liveText(page)).includes('Press any key to begin.'), 'the title card was not announced');

  await page.keyboard.press('Enter');
  await waitForScreen(page, 'What is your name, traveller?');
  await page.keyboard.type('Иван');
  await page.keyboard.press('Enter');
  await waitForScreen(page, '> 1. Step out into the storm');
  const named = await liveText(page);
  check(named === 'What is your name, traveller?', `the live region read again what was said: ${named}`);
  await page.keyboard.press('Enter');

  const shown = await waitForScreen(page, '> 1. Knock at the cottage door');
  check(await page.locator('.picture').count() === 0, 'a picture covers the screen in the accessible mode');
  const shore = await liveText(page);
  check(count(shore, 'THE SHORE') === 1 && shore.includes("a ship's bell is ringing."),
    `the live region holds:\n${shore}`);
  check(!shore.includes('Knock'), `the live region reads the menu too:\n${shore}`);
  check(shown.includes('  2. Climb the cliff path'), `the entries are not numbered:\n${shown}`);
  await countAnnouncements(page);
  await page.waitForTimeout(300);  // as the terminal, the menu takes keys once it waits
  const speaking = await otherLiveRegions(page);
  check(speaking.length === 0, `the page is said twice, also by: ${speaking.join(', ')}`);

  const captions = ['1. Knock at the cottage door', '2. Climb the cliff path to the tower'];
  for (const expected of [0, 1, 0]) {  // the highlight wraps round
    const snapshot = await page.locator('#menu-options').ariaSnapshot();
    check(snapshot.includes(`option "${captions[expected]}" [selected]`) &&
      count(snapshot, '[selected]') === 1, `entry ${expected + 1} is not the active option:\n${snapshot}`);
    const active = await page.locator('#menu-options').getAttribute('aria-activedescendant');
    check(await page.locator(`#${active}`).textContent() === captions[expected],
      `the active descendant is ${active}`);
    const cursor = await cursorRowText(page);
    check(cursor.startsWith(`> ${captions[expected]}`), `the cursor stands on: ${cursor}`);
    await page.keyboard.press('ArrowDown');
    await page.waitForTimeout(200);
  }
  const said = await page.evaluate(() => window.announcements);
  check(said === 0, `the Downs were announced ${said} times`);

  // The list box takes the keys too, for a screen reader that keeps the focus on it: Down
  // from the second entry wraps round to the first.
  await page.locator('#menu-options').focus();
  await page.keyboard.press('ArrowDown');
  await page.locator('#menu-options[aria-activedescendant="menu-option-0"]').waitFor({ state: 'attached' });
  await page.keyboard.press('2');
  await waitForScreen(page, 'THE CLIFF PATH');
  await page.waitForTimeout(200);
  check(count(await liveText(page), 'THE CLIFF PATH') === 1, 'the digit did not bring the next page once');
});

function liveText(page) {
  return page.locator('#page-text').textContent();
}

// The live regions besides the page's own that would speak. xterm.js's says what is printed
// at moments that depend on its timing, so only that it may not speak is certain.
function otherLiveRegions(page) {
  return page.evaluate(() => [...document.querySelectorAll('[aria-live]')]
    .filter((region) => region.id !== 'page-text' && region.getAttribute('aria-live') !== 'off')
    .map((region) => region.className || region.tagName));
}

function count(text, part) {
  return text.split(part).length - 1;
}

// From here on window.announcements counts the changes of the live region.
function countAnnouncements(page) {
  return page.evaluate(() => {
    window.announcements = 0;
    new MutationObserver(() => { window.announcements += 1; })
      .observe(document.getElementById('page-text'), { childList: true, characterData: true, subtree: true });
  });
}

// The text of the screen's row the terminal's cursor stands on, from its cursor on.
function cursorRowText(page) {
  return page.evaluate(() => {
    const buffer = window.tindelGame.screen.buffer.active;
    return buffer.getLine(buffer.viewportY + buffer.cursorY).translateToString(true).slice(buffer.cursorX);
  });
}
