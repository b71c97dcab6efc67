#!/usr/bin/env python3
"""Writes the sounds of Stackle Point next to the quests: knock.wav (three knocks on a wooden
door), wave.wav (a wave rolling in and breaking) and bell.wav (a ship's bell struck twice).

Each is a RIFF WAVE file written byte by byte: PCM, 16 bits, mono, 22050 Hz. The noise comes
from a fixed seed, so every run writes the same bytes.
"""
import math
import os
import random
import struct

RATE = 22050


def write_wave(name, samples):
    peak = max(1e-9, max(abs(s) for s in samples))
    scale = 0.85 * 32767 / peak
    data = b''.join(struct.pack('<h', int(round(s * scale))) for s in samples)
    header = b'RIFF' + struct.pack('<I', 36 + len(data)) + b'WAVE'
    fmt = b'fmt ' + struct.pack('<IHHIIHH', 16, 1, 1, RATE, RATE * 2, 2, 16)
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', name)
    with open(out, 'wb') as f:
        f.write(header + fmt + b'data' + struct.pack('<I', len(data)) + data)


def knock(rng):
    """Three knocks: a low wooden thump with a click of noise on top, each dying in 80 ms."""
    out = [0.0] * int(0.85 * RATE)
    for start in (0.0, 0.28, 0.50):
        begin = int(start * RATE)
        low = 0.0
        for i in range(int(0.12 * RATE)):
            t = i / RATE
            envelope = math.exp(-t / 0.025)
            low += 0.25 * (rng.uniform(-1, 1) - low)  # noise through a gentle low-pass
            body = math.sin(2 * math.pi * 140 * t) + 0.5 * math.sin(2 * math.pi * 310 * t)
            out[begin + i] += envelope * (body + 1.5 * low)
    return out


def wave(rng):
    """Noise through a low-pass that opens as the wave rises and closes as it drains away."""
    length = int(2.6 * RATE)
    out = []
    state = 0.0
    for i in range(length):
        t = i / RATE
        swell = math.sin(math.pi * min(1.0, t / 2.6)) ** 2
        crash = math.exp(-((t - 1.1) / 0.35) ** 2)
        cutoff = 0.02 + 0.25 * swell + 0.4 * crash
        state += cutoff * (rng.uniform(-1, 1) - state)
        out.append(state * (0.3 * swell + 0.9 * crash))
    return out


def bell():
    """Inharmonic partials of a bell, each decaying at its own rate; struck twice."""
    partials = [(0.5, 0.9, 1.6), (1.0, 1.0, 1.2), (1.19, 0.6, 0.9), (1.5, 0.45, 0.7),
                (2.0, 0.35, 0.5), (2.52, 0.25, 0.35), (3.03, 0.15, 0.25)]
    base = 660.0
    out = [0.0] * int(2.8 * RATE)
    for start in (0.0, 0.9):
        begin = int(start * RATE)
        for i in range(len(out) - begin):
            t = i / RATE
            value = sum(amp * math.exp(-t / decay) * math.sin(2 * math.pi * base * ratio * t)
                        for ratio, amp, decay in partials)
            out[begin + i] += value * min(1.0, t / 0.002)
    return out


def main():
    rng = random.Random(1887)
    write_wave('knock.wav', knock(rng))
    write_wave('wave.wav', wave(rng))
    write_wave('bell.wav', bell())


if __name__ == '__main__':
    main()
