#!/usr/bin/env python3
"""Writes ../../1.mid: "The Keeper's Lamp", a short tune for Stackle Point.

A standard MIDI file of format 1 written byte by byte: a tempo track, a tin-whistle melody,
a string pad and a bass, in D minor, 6/8 at a walking pace, about 25 seconds long.
Run it from anywhere; it writes next to the quests.
"""
import os
import struct

TICKS = 240  # per quarter note; an eighth note of 6/8 is 120
E = 120      # eighth note
Q = 2 * E    # quarter
DQ = 3 * E   # dotted quarter: one beat of 6/8
BAR = 6 * E

NOTE = {'C': 0, 'D': 2, 'E': 4, 'F': 5, 'G': 7, 'A': 9, 'B': 11}


def pitch(name):
    """'D5', 'Bb4', 'C#5' -> MIDI note number."""
    letter, rest = name[0], name[1:]
    shift = 0
    while rest and rest[0] in '#b':
        shift += 1 if rest[0] == '#' else -1
        rest = rest[1:]
    return 12 * (int(rest) + 1) + NOTE[letter] + shift


def varlen(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.insert(0, 0x80 | (value & 0x7F))
        value >>= 7
    return bytes(out)


def track(events):
    """events: (tick, bytes) in any order -> an MTrk chunk with an end-of-track."""
    data = b''
    now = 0
    for tick, message in sorted(events, key=lambda e: (e[0], e[1][0] & 0xF0 != 0x80)):
        data += varlen(tick - now) + message
        now = tick
    data += b'\x00\xff\x2f\x00'
    return b'MTrk' + struct.pack('>I', len(data)) + data


def voice(channel, program, volume, notes, velocity):
    """notes: (name or None for a rest, length); chords as 'D3+A3+F4'."""
    events = [(0, bytes([0xC0 | channel, program])),
              (0, bytes([0xB0 | channel, 7, volume]))]
    tick = 0
    for name, length in notes:
        if name is not None:
            for part in name.split('+'):
                n = pitch(part)
                events.append((tick, bytes([0x90 | channel, n, velocity])))
                events.append((tick + length - 10, bytes([0x80 | channel, n, 0])))
        tick += length
    return track(events)


MELODY = [
    # A: the lamp at dusk
    ('D5', DQ), ('A4', E), ('D5', E), ('F5', E),
    ('E5', Q), ('D5', E), ('C5', DQ),
    ('D5', E), ('F5', E), ('A5', E), ('G5', Q), ('F5', E),
    ('E5', DQ), (None, DQ),
    ('F5', DQ), ('E5', E), ('D5', E), ('C5', E),
    ('Bb4', Q), ('C5', E), ('D5', DQ),
    ('E5', E), ('C5', E), ('A4', E), ('E5', Q), ('C#5', E),
    ('D5', DQ), (None, DQ),
    # B: the storm comes in
    ('A5', DQ), ('G5', E), ('F5', E), ('E5', E),
    ('F5', Q), ('D5', E), ('A4', DQ),
    ('Bb4', E), ('D5', E), ('G5', E), ('F5', Q), ('E5', E),
    ('C#5', DQ), ('A4', DQ),
    ('D5', E), ('E5', E), ('F5', E), ('G5', E), ('A5', E), ('Bb5', E),
    ('A5', Q), ('F5', E), ('D5', DQ),
    ('E5', E), ('F5', E), ('E5', E), ('C#5', Q), ('A4', E),
    ('D5', 2 * DQ),
]

CHORDS = ['D3+A3+F4', 'C3+G3+E4', 'D3+A3+F4', 'A2+E3+C#4',
          'Bb2+F3+D4', 'G2+D3+Bb3', 'A2+E3+C#4', 'D3+A3+F4',
          'D3+A3+F4', 'D3+A3+F4', 'G2+D3+Bb3', 'A2+E3+C#4',
          'Bb2+F3+D4', 'D3+A3+F4', 'A2+E3+C#4', 'D3+A3+F4']

BASS_ROOTS = ['D2', 'C2', 'D2', 'A1', 'Bb1', 'G1', 'A1', 'D2',
              'D2', 'D2', 'G1', 'A1', 'Bb1', 'D2', 'A1', 'D2']


def main():
    tempo = 60_000_000 // 100  # microseconds per quarter: 100 quarters (66 beats of 6/8) a minute
    conductor = track([
        (0, b'\xff\x03' + bytes([len(b"The Keeper's Lamp")]) + b"The Keeper's Lamp"),
        (0, b'\xff\x51\x03' + tempo.to_bytes(3, 'big')),
        (0, b'\xff\x58\x04\x06\x03\x18\x08'),  # 6/8
        (0, b'\xff\x59\x02\xff\x01'),          # one flat, minor: D minor
    ])
    melody = voice(0, 78, 110, MELODY, 96)                     # 78: whistle
    pad = voice(1, 49, 70, [(c, BAR) for c in CHORDS], 52)    # 49: slow strings
    bass = []
    for root in BASS_ROOTS:
        bass += [(root, DQ), (root[:-1] + str(int(root[-1]) + 1), DQ)]
    bass_track = voice(2, 32, 90, bass, 80)                    # 32: acoustic bass
    header = b'MThd' + struct.pack('>IHHH', 6, 1, 4, TICKS)
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', '1.mid')
    with open(out, 'wb') as f:
        f.write(header + conductor + melody + pad + bass_track)


if __name__ == '__main__':
    main()
