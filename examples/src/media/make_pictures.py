#!/usr/bin/env python3
"""Draws the pictures of Stackle Point and writes them next to the quests as JPEG files:
1.jpg, the dark lighthouse on its headland in the storm, and 2.jpg, the same with the great
lamp lit and its beam across the sea.

The pixels are drawn here; cjpeg (Debian: libjpeg-turbo-progs) turns them into JPEG.
With --red-blue FILE it writes instead the test picture of the terminal tests: red on its
left half, blue on its right.
"""
import math
import os
import random
import subprocess
import sys

W, H = 480, 270
HORIZON = 178


def clamp(v):
    return max(0, min(255, int(v)))


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


class Noise:
    """Smooth value noise on a coarse grid, for clouds and the sea."""

    def __init__(self, seed, cell):
        rng = random.Random(seed)
        self.cell = cell
        self.grid = [[rng.random() for _ in range(W // cell + 2)] for _ in range(H // cell + 2)]

    def at(self, x, y):
        gx, gy = x / self.cell, y / self.cell
        ix, iy = int(gx) % (W // self.cell), int(gy) % (H // self.cell)
        fx, fy = gx - int(gx), gy - int(gy)
        fx, fy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
        g = self.grid
        top = g[iy][ix] + (g[iy][ix + 1] - g[iy][ix]) * fx
        bottom = g[iy + 1][ix] + (g[iy + 1][ix + 1] - g[iy + 1][ix]) * fx
        return top + (bottom - top) * fy


def headland_top(x):
    """The height of the cliff: high on the left, falling to the sea at about x = 300."""
    if x > 300:
        return H
    return 120 + 0.0012 * (x - 60) ** 2 + 6 * math.sin(x / 23)


def draw(lit):
    clouds = Noise(7, 40)
    fine = Noise(11, 12)
    pixels = []
    lamp = (112, 58)
    for y in range(H):
        row = []
        for x in range(W):
            if y < HORIZON:  # the sky: storm clouds over a deep blue
                c = mix((18, 24, 48), (44, 52, 74), y / HORIZON)
                cloud = clouds.at(x, y) * 0.7 + fine.at(x, y) * 0.3
                c = mix(c, (70, 74, 88), max(0.0, cloud - 0.45) * 1.6)
            else:  # the sea: dark swell with pale crests
                swell = math.sin(x / 17 + y * 0.9) + fine.at(x, y * 3) * 1.5
                c = mix((10, 22, 36), (24, 48, 66), (y - HORIZON) / (H - HORIZON))
                if swell > 1.6:
                    c = mix(c, (170, 180, 190), min(1.0, swell - 1.6))
            if lit:  # the beam sweeping to the right, and the glow round the lamp
                dx, dy = x - lamp[0], y - lamp[1]
                if dx > 0 and abs(dy - dx * 0.12) < 6 + dx * 0.09:
                    c = mix(c, (255, 244, 190), 0.55 * math.exp(-dx / 420))
                glow = math.exp(-(dx * dx + dy * dy) / 900)
                c = mix(c, (255, 230, 150), glow)
            if y > headland_top(x):  # the rock of the headland
                c = mix((28, 26, 24), (46, 42, 36), fine.at(x, y))
            row.append(c)
        pixels.append(row)
    draw_tower(pixels, lit)
    draw_cottage(pixels)
    return pixels


def fill(pixels, x0, y0, x1, y1, colour):
    for y in range(max(0, y0), min(H, y1)):
        for x in range(max(0, x0), min(W, x1)):
            pixels[y][x] = colour


def draw_tower(pixels, lit):
    base, top = 128, 66
    for y in range(top, base):
        half = 9 + (y - top) * 5 // (base - top)
        stripe = (y - top) // 12 % 2
        colour = (196, 190, 180) if stripe == 0 else (150, 40, 36)
        fill(pixels, 112 - half, y, 112 + half, y + 1, colour)
    fill(pixels, 101, 62, 124, 66, (30, 30, 30))          # the gallery
    lamp = (255, 236, 160) if lit else (54, 60, 66)
    fill(pixels, 105, 50, 120, 62, lamp)                  # the lamp room glass
    fill(pixels, 103, 46, 122, 50, (30, 30, 30))          # the roof
    fill(pixels, 111, 42, 114, 46, (30, 30, 30))


def draw_cottage(pixels):
    x0, y0 = 196, 196
    fill(pixels, x0, y0, x0 + 34, y0 + 18, (92, 84, 74))
    for i in range(12):  # the roof
        fill(pixels, x0 - 3 + i, y0 - 12 + i, x0 + 37 - i, y0 - 11 + i, (58, 36, 30))
    fill(pixels, x0 + 6, y0 + 5, x0 + 12, y0 + 11, (250, 200, 110))  # a lit window
    fill(pixels, x0 + 20, y0 + 6, x0 + 27, y0 + 18, (40, 28, 22))    # the door
    fill(pixels, x0 + 20, y0 + 17, x0 + 27, y0 + 18, (250, 200, 110))  # light under it


def red_blue():
    return [[(220, 20, 20) if x < W // 2 else (20, 40, 220) for x in range(W)] for _ in range(H)]


def write_jpeg(pixels, path):
    ppm = b'P6\n%d %d\n255\n' % (W, H)
    ppm += bytes(clamp(v) for row in pixels for c in row for v in c)
    jpeg = subprocess.run(['cjpeg', '-quality', '88', '-optimize'], input=ppm,
                          stdout=subprocess.PIPE, check=True).stdout
    with open(path, 'wb') as f:
        f.write(jpeg)


def main():
    if len(sys.argv) == 3 and sys.argv[1] == '--red-blue':
        write_jpeg(red_blue(), sys.argv[2])
        return
    here = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..')
    write_jpeg(draw(lit=False), os.path.join(here, '1.jpg'))
    write_jpeg(draw(lit=True), os.path.join(here, '2.jpg'))


if __name__ == '__main__':
    main()
