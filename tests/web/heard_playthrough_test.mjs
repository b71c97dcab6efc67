// A player who cannot see the screen plays the bundled quest from its title to its end in the
// page with the screen-reader setting on, by the keys of the quest's own walkthrough ("the
// whole night" in examples/stackle.walk), hearing only the live region and the list box of
// choices. Every text the walkthrough expects to see after a key must have been said by one
// of them after that key; the screen itself is never read.
// Usage: node heard_playthrough_test.mjs SITE_FOLDER TINDEL EXAMPLES_FOLDER
import fs from 'node:fs';
import path from 'node:path';
import { runTest, check } from './harness.mjs';

const examples = process.argv[4] ?? path.join(path.dirname(new URL(import.meta.url).pathname), '../../examples');
const KEYS = { enter: 'Enter', down: 'ArrowDown', up: 'ArrowUp', esc: 'Escape', u: 'u', i: 'i' };

// The walkthrough's steps: {key} or {type} (a line and its Enter) for a step, {text} or {pattern} for what must
// show after it. Variables ({...}), absences (!...) and comments are the screen's business.
function walkSteps(name) {
  const lines = fs.readFileSync(path.join(examples, 'stackle.walk'), 'utf8').split('\n');
  const start = lines.indexOf(`test: ${name}`);
  check(start >= 0, `stackle.walk has no test "${name}"`);
  const steps = [];
  for (const line of lines.slice(start + 1)) {
    if (line.startsWith('test:')) break;
    if (line === '' || /^[{!#]/.test(line)) continue;
    if (line.startsWith('> type ')) steps.push({ type: line.slice(7) });
    else if (line.startsWith('> ')) steps.push({ key: KEYS[line.slice(2)] });
    else if (line.startsWith('/')) steps.push({ pattern: new RegExp(line.slice(1, -1), 'mu') });
    else steps.push({ text: line });
  }
  return steps;
}

// From here on window.heard collects each text the live region says and each list of
// choices, and window.heardAt is when the last was said.
function listen(page) {
  return page.evaluate(() => {
    window.heard = [];
    const hear = (text) => {
      window.heard.push(text);
      window.heardAt = performance.now();
    };
    const region = document.getElementById('page-text');
    new MutationObserver(() => hear(region.textContent))
      .observe(region, { childList: true, characterData: true, subtree: true });
    const list = document.getElementById('menu-options');
    new MutationObserver(() => hear([...list.children].map((option) => option.textContent).join('\n')))
      .observe(list, { childList: true, subtree: true, characterData: true });
  });
}

// Waits until the game took every key and nothing was said for a moment, as a player who
// listens does before the next key (the quest's timed choices leave seconds for it).
async function settle(page) {
  await page.waitForFunction(() => window.tindelGame.typed.length === 0);
  await page.waitForFunction(() => performance.now() - (window.heardAt ?? 0) > 200, null, { polling: 50 });
}

async function takeHeard(page) {
  return (await page.evaluate(() => window.heard.splice(0))).join('\n');
}

await runTest(async ({ browser, url }) => {
  const page = await browser.newPage();
  await page.goto(`${url}index.html?seed=1&accessible=1`);
  // The title card's Play has the focus: Enter starts the quest.
  await page.locator('#card-play:focus').waitFor();
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => window.tindelGame?.typed);
  await listen(page);
  await settle(page);
  let heard = await takeHeard(page);
  let lastStep = 'the start';
  for (const step of walkSteps('the whole night, from the shore to the lit lamp')) {
    if (step.key || step.type) {
      if (step.key) await page.keyboard.press(step.key);
      else {
        await page.keyboard.type(step.type);
        await page.keyboard.press('Enter');  // a typed line ends with Enter
      }
      await settle(page);
      heard = await takeHeard(page);
      lastStep = step.key ?? `typing ${step.type}`;
      continue;
    }
    const said = step.text ? heard.includes(step.text) : step.pattern.test(heard);
    check(said, `after ${lastStep} nobody said ${step.text ?? step.pattern}; what was said:\n${heard}`);
  }
  await page.locator('#end:not([hidden])').waitFor();
  const focused = await page.evaluate(() => document.activeElement.id);
  check(focused === 'play-again', `at the end the focus is on "${focused}", not on Play again`);
});
