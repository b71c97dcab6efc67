// Clicks, taps and the wheel on the menu: a click or a tap on an entry sends the keys that
// move the highlight there (Up or Down) and Enter, so the menu's own rules decide what
// happens; the wheel moves the highlight.
import { ROWS } from './screen.js';

const UP = '\x1b[A';
const DOWN = '\x1b[B';
const ENTER = '\r';

// The keys that choose entry `entry` of menu: from the highlighted one to it, then Enter.
export function keysToChoose(menu, entry) {
  const steps = entry - menu.highlighted;
  return (steps < 0 ? UP : DOWN).repeat(Math.abs(steps)) + ENTER;
}

// The menu entry under the 1-based screen row, or -1.
export function entryAtRow(menu, row) {
  const entry = row - menu.firstRow;
  return menu && menu.count > 0 && entry >= 0 && entry < menu.count ? entry : -1;
}

function rowAt(screen, event) {
  const rect = screen.element.querySelector('.xterm-screen').getBoundingClientRect();
  return Math.floor(((event.clientY - rect.top) / rect.height) * ROWS) + 1;
}

export function attachPointer(screen, typed, currentMenu) {
  const element = screen.element;
  element.addEventListener('click', (event) => {
    const menu = currentMenu();
    if (!menu || screen.hasSelection()) return;
    const entry = entryAtRow(menu, rowAt(screen, event));
    if (entry >= 0) typed.push(keysToChoose(menu, entry));
  });
  element.addEventListener('wheel', (event) => {
    const menu = currentMenu();
    if (!menu || menu.count === 0 || event.deltaY === 0) return;
    event.preventDefault();
    typed.push(event.deltaY > 0 ? DOWN : UP);
  }, { passive: false });
}
