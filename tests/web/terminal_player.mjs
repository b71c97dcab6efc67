// The terminal player in a tmux session of the test's own, for comparing the page's screen
// with what a terminal shows for the same keys.
import { execFileSync } from 'node:child_process';
import path from 'node:path';

export class TerminalPlayer {
  // player: the native tindel; args: its parameters, run in folder with seed 1.
  constructor(player, folder, args) {
    this.socket = `tindel-web-test-${process.pid}`;
    // Media go to a program that does nothing, so that no picture covers the screen.
    const quiet = 'TINDEL_IMAGE_VIEWER=true TINDEL_MIDI_PLAYER=true TINDEL_WAVE_PLAYER=true';
    const command = `cd '${folder}' && ${quiet} TINDEL_SEED=1 LANG=C.UTF-8 '${path.resolve(player)}' ${args.join(' ')}`;
    this.tmux('new-session', '-d', '-x', '80', '-y', '25', command);
  }

  tmux(...args) {
    return execFileSync('tmux', ['-L', this.socket, ...args], { encoding: 'utf8' });
  }

  // keys: tmux key names (Enter, Down, ...) or literal text after '-l'.
  send(...keys) {
    this.tmux('send-keys', '-t', '0', ...keys);
  }

  screen() {
    return this.tmux('capture-pane', '-p', '-t', '0').split('\n').slice(0, 25)
      .map((row) => row.replace(/\s+$/u, '')).join('\n');
  }

  // Waits until the screen shows text and the screen stays the same for a moment.
  async waitFor(text, timeoutMs = 10000) {
    const deadline = Date.now() + timeoutMs;
    let shown = '';
    while (Date.now() < deadline) {
      shown = this.screen();
      if (shown.includes(text)) {
        await new Promise((resolve) => setTimeout(resolve, 150));
        if (this.screen() === shown) return shown;
      }
      await new Promise((resolve) => setTimeout(resolve, 50));
    }
    throw new Error(`the terminal never showed ${text}; it shows:\n${shown}`);
  }

  close() {
    try {
      this.tmux('kill-server');
    } catch {
      // already gone with the program
    }
  }
}
