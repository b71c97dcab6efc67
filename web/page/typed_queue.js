// The bytes the player typed, as a terminal would send them, waiting for the interpreter.
// The interpreter takes them when it waits; a wait gives the browser its thread back.
export class TypedQueue {
  constructor() {
    this.bytes = [];
    this.waiter = null;
  }

  push(data) {
    const encoded = typeof data === 'string' ? new TextEncoder().encode(data) : data;
    for (const b of encoded) this.bytes.push(b);
    this.wake();
  }

  get length() {
    return this.bytes.length;
  }

  take(count) {
    return Uint8Array.from(this.bytes.splice(0, count));
  }

  // Resolves when bytes arrive or after timeoutMs (a negative timeout: no limit).
  wait(timeoutMs) {
    if (this.bytes.length > 0) return Promise.resolve();
    return new Promise((resolve) => {
      const timer = timeoutMs >= 0 ? setTimeout(() => this.wake(), timeoutMs) : null;
      this.waiter = () => {
        if (timer !== null) clearTimeout(timer);
        resolve();
      };
    });
  }

  wake() {
    const waiter = this.waiter;
    this.waiter = null;
    if (waiter) waiter();
  }

  clear() {
    this.bytes = [];
  }
}
