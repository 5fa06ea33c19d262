#!/usr/bin/env python3
"""Draws the manager's pictures: the logo painted in the main window
("TAV_LOGO"), the start-up splash ("TAV_OPEN") and the icon ("TAVICON").

Plain Python, no imaging library: 24-bit BMP files and a 32-bit icon with
two sizes. Usage: make_pictures.py OUTPUT_DIR
"""
import os
import struct
import sys

# A 5x7 capital font for the few words drawn.
GLYPHS = {
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "C": ["01111", "10000", "10000", "10000", "10000", "10000", "01111"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "G": ["01111", "10000", "10000", "10011", "10001", "10001", "01111"],
    "I": ["11111", "00100", "00100", "00100", "00100", "00100", "11111"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "M": ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "P": ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "V": ["10001", "10001", "10001", "10001", "01010", "01010", "00100"],
    " ": ["00000"] * 7,
}

NAVY = (24, 38, 84)
SAFFRON = (245, 148, 30)
WHITE = (250, 250, 245)
GREEN = (30, 140, 70)


class Canvas:
    def __init__(self, width, height, colour):
        self.width = width
        self.height = height
        self.pixels = [[colour] * width for _ in range(height)]

    def rect(self, x, y, w, h, colour):
        for row in range(max(0, y), min(self.height, y + h)):
            for col in range(max(0, x), min(self.width, x + w)):
                self.pixels[row][col] = colour

    def text(self, x, y, words, scale, colour):
        for ch in words:
            for r, bits in enumerate(GLYPHS[ch]):
                for c, bit in enumerate(bits):
                    if bit == "1":
                        self.rect(x + c * scale, y + r * scale, scale, scale, colour)
            x += 6 * scale

    def centred_text(self, y, words, scale, colour):
        width = (6 * len(words) - 1) * scale
        self.text((self.width - width) // 2, y, words, scale, colour)

    def band(self, y, h):
        # The three bands of saffron, white and green under the title.
        third = self.width // 3
        self.rect(0, y, third, h, SAFFRON)
        self.rect(third, y, third, h, WHITE)
        self.rect(2 * third, y, self.width - 2 * third, h, GREEN)


def bmp_bytes(canvas):
    stride = (canvas.width * 3 + 3) & ~3
    rows = []
    for row in reversed(canvas.pixels):  # bottom-up
        line = b"".join(struct.pack("BBB", b, g, r) for (r, g, b) in row)
        rows.append(line + b"\0" * (stride - len(line)))
    image = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0,
                         len(image), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(image), 0, 0,
                              14 + len(header))
    return file_header + header + image


def icon_image(canvas):
    # 32-bit BGRA rows bottom-up, then an all-opaque AND mask.
    image = b"".join(struct.pack("BBBB", b, g, r, 255)
                     for row in reversed(canvas.pixels) for (r, g, b) in row)
    mask_stride = ((canvas.width + 31) // 32) * 4
    mask = b"\0" * (mask_stride * canvas.height)
    header = struct.pack("<IiiHHIIiiII", 40, canvas.width, 2 * canvas.height, 1, 32, 0,
                         len(image) + len(mask), 0, 0, 0, 0)
    return header + image + mask


def icon_bytes(canvases):
    images = [icon_image(c) for c in canvases]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for canvas, image in zip(canvases, images):
        out += struct.pack("<BBBBHHII", canvas.width % 256, canvas.height % 256, 0, 0, 1, 32,
                           len(image), offset)
        offset += len(image)
    return out + b"".join(images)


def logo():
    c = Canvas(200, 96, NAVY)
    c.centred_text(14, "TAV", 6, SAFFRON)
    c.band(62, 6)
    c.centred_text(76, "VELTA", 2, WHITE)
    return c


def splash():
    c = Canvas(320, 160, NAVY)
    c.rect(4, 4, 312, 152, (34, 52, 110))
    c.centred_text(22, "TAV", 8, SAFFRON)
    c.band(90, 8)
    c.centred_text(112, "VELTA SCRIPT", 3, WHITE)
    c.centred_text(138, "MANAGER", 2, WHITE)
    return c


def icon(size):
    c = Canvas(size, size, NAVY)
    third = size // 3
    c.band(size - third // 2 - 1, third // 2)
    scale = max(1, size // 10)
    width = 5 * scale
    c.text((size - width) // 2, max(1, size // 8), "V", scale, SAFFRON)
    return c


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "tav_logo.bmp"), "wb") as f:
        f.write(bmp_bytes(logo()))
    with open(os.path.join(out, "tav_open.bmp"), "wb") as f:
        f.write(bmp_bytes(splash()))
    with open(os.path.join(out, "tavicon.ico"), "wb") as f:
        f.write(icon_bytes([icon(32), icon(16)]))


if __name__ == "__main__":
    main()
