// The bundled quest played by keys in the page, from its title through a Cyrillic name typed
// for `input` to the shore and three locations further; at each step the page's screen is
// the terminal player's for the same keys.
// Usage: node play_test.mjs SITE_FOLDER TINDEL EXAMPLES_FOLDER
import { runTest, openPage, closePicture, waitForScreen, screenText, check } from './harness.mjs';
import { TerminalPlayer } from './terminal_player.mjs';

const [, , , player, examples] = process.argv;

// Each step: the keys (Playwright's for the page, tmux's for the terminal; a key of the page
// that starts with "type:" types its text; "picture" closes the picture the page shows), then a
// text both screens show after them.
const STEPS = [
  { page: [], tmux: [[]], shows: 'Press any key to begin.' },
  { page: ['Enter'], tmux: [['Enter']], shows: 'What is your name, traveller?' },
  {
    page: ['type:Мария', 'Enter'],
    tmux: [['-l', 'Мария'], ['Enter']],
    shows: 'Step out into the storm',
  },
  { page: ['Enter'], tmux: [['Enter']], shows: 'THE SHORE' },
  { page: ['picture', 'Enter'], tmux: [['Enter']], shows: "THE KEEPER'S COTTAGE" },
  {
    page: ['ArrowDown', 'ArrowDown', 'ArrowDown', 'Enter'],
    tmux: [['Down', 'Down', 'Down', 'Enter']],
    shows: 'THE SHORE',
  },
  { page: ['ArrowDown', 'Enter'], tmux: [['Down', 'Enter']], shows: 'THE CLIFF PATH' },
];

await runTest(async ({ browser, url }) => {
  const terminal = new TerminalPlayer(player, examples, ['0', 'w', 'stackle.qst']);
  try {
    const page = await browser.newPage();
    await openPage(page, `${url}index.html?seed=1`);
    await waitForScreen(page, STEPS[0].shows);
    for (const step of STEPS) {
      await pressKeys(page, step.page);
      for (const keys of step.tmux) if (keys.length) terminal.send(...keys);
      const expected = await terminal.waitFor(step.shows);
      await waitForScreen(page, step.shows);
      await settle();
      const shown = await screenText(page);
      check(shown === expected,
        `after the keys for ${step.shows} the page shows:\n${shown}\n--- the terminal:\n${expected}`);
    }
  } finally {
    terminal.close();
  }
});

async function pressKeys(page, keys) {
  for (const key of keys) {
    if (key === 'picture') await closePicture(page);
    else if (key.startsWith('type:')) await page.keyboard.type(key.slice(5));
    else await page.keyboard.press(key);
  }
}

function settle() {
  return new Promise((resolve) => setTimeout(resolve, 200));
}
