// The end of a game in the page: Escape, its report and Enter bring the end screen, and Play
// again starts the quest afresh. While a menu waits the page's main thread stays idle.
// Usage: node end_and_idle_test.mjs SITE_FOLDER
import { runTest, openPage, waitForScreen, screenText, check, mainThreadBusy } from './harness.mjs';

// The share of the main thread's time a waiting menu may take.
const BUSY_LIMIT = 0.05;
const WAIT_MS = 5000;

await runTest(async ({ browser, url }) => {
  const page = await browser.newPage();
  await openPage(page, `${url}index.html?seed=1`);
  await waitForScreen(page, 'Press any key to begin.');
  await page.keyboard.press('Enter');
  await page.keyboard.type('Иван');
  await page.keyboard.press('Enter');
  await waitForScreen(page, 'Step out into the storm');

  // The title's tune is rendered on the main thread (its figure is the media bench's); the
  // game's own waiting is measured in silence.
  await page.evaluate(() => window.tindelMedia.stopAll());
  const busy = await mainThreadBusy(page, WAIT_MS);
  check(busy < BUSY_LIMIT, `a waiting menu keeps the main thread ${(busy * 100).toFixed(1)}% busy`);

  await page.keyboard.press('Escape');
  await page.waitForTimeout(300);
  const report = await screenText(page);
  check(!(await page.locator('#end').isVisible()), `the game ended at Escape alone:\n${report}`);
  await page.keyboard.press('Enter');
  await page.locator('#end').waitFor({ state: 'visible' });
  const ended = await page.locator('#end-text').textContent();
  check(/ended/.test(ended), `the end screen says: ${ended}`);

  await page.locator('#play-again').click();
  await page.locator('#end').waitFor({ state: 'hidden' });
  const fresh = await waitForScreen(page, 'Press any key to begin.');
  check(!fresh.includes('Иван'), `Play again kept the old game:\n${fresh}`);
  await page.keyboard.press('Enter');
  await waitForScreen(page, 'What is your name, traveller?');
});
