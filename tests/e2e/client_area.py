#!/usr/bin/env python3
"""Compares the main window's client area in two screenshots (binary PPM).

The client area is found by the banner's top row, whose colours are fixed:
grey (157, 156, 158) at its left edge, pale yellow (229, 225, 164) at x = 350
and grey (156, 156, 158) at its right edge, x = 761. Where the window sits, and
what frame or title bar the window system put round it, does not matter.

Usage: client_area.py REFERENCE.ppm SHOT.ppm
Prints the number of differing pixels; exits 0 when there are none, 1 when
they differ, 2 when a screenshot holds no banner.
"""
import sys

CLIENT_W, CLIENT_H = 762, 380
LEFT, PEAK, RIGHT = bytes((157, 156, 158)), bytes((229, 225, 164)), bytes((156, 156, 158))


def load(path):
    with open(path, "rb") as f:
        data = f.read()
    magic, width, height, maxval, pixels = data.split(maxsplit=4)
    if magic != b"P6" or maxval != b"255":
        sys.exit(f"{path}: not an 8-bit binary PPM")
    width, height = int(width), int(height)
    return width, height, pixels[-width * height * 3:]


def banner_origin(image):
    width, height, pixels = image
    at = lambda x, y: pixels[(y * width + x) * 3:(y * width + x) * 3 + 3]
    start = pixels.find(LEFT)
    while start >= 0:
        if start % 3 == 0:
            y, x = divmod(start // 3, width)
            if (x + CLIENT_W <= width and y + CLIENT_H <= height and
                    at(x + 350, y) == PEAK and at(x + 761, y) == RIGHT):
                return x, y
        start = pixels.find(LEFT, start + 1)
    return None


def client_rows(image, origin):
    width, _, pixels = image
    x, y = origin
    return [pixels[((y + row) * width + x) * 3:((y + row) * width + x + CLIENT_W) * 3]
            for row in range(CLIENT_H)]


def main():
    reference, shot = load(sys.argv[1]), load(sys.argv[2])
    origins = banner_origin(reference), banner_origin(shot)
    if None in origins:
        print("no banner")
        return 2
    differing = sum(a[i:i + 3] != b[i:i + 3]
                    for a, b in zip(client_rows(reference, origins[0]), client_rows(shot, origins[1]))
                    if a != b
                    for i in range(0, CLIENT_W * 3, 3))
    print(differing)
    return 0 if differing == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
