#!/usr/bin/env python3
"""Draws the About box logo (200 x 81 GIF89a, one frame, 256-colour global
palette, no transparency) and the 16 x 16 window icon (PNG).

Qt reads GIF but cannot write it, so the images are drawn here with the
Python standard library only and committed next to the resource file.

    python3 scripts/make_logo.py [output-folder]

The default output folder is src/languages_help/images.
"""

import os
import struct
import sys
import zlib

LOGO_WIDTH = 200
LOGO_HEIGHT = 81

# A 5 x 7 pixel font, enough for the two names the logo shows.
GLYPHS = {
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "K": ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "V": ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
}

# Palette layout: a background ramp, a ramp for the table rows, then a few
# single colours; the rest is a grey ramp so that the table has 256 entries.
BACKGROUND_FIRST, BACKGROUND_COUNT = 0, 96
ROW_FIRST, ROW_COUNT = 96, 32
WHITE, SHADOW, CAPTION = 128, 129, 130


def build_palette():
    palette = []
    for i in range(BACKGROUND_COUNT):
        t = i / (BACKGROUND_COUNT - 1)
        palette.append((int(10 + 30 * t), int(30 + 70 * t), int(90 + 110 * t)))
    for i in range(ROW_COUNT):
        t = i / (ROW_COUNT - 1)
        # From a bright new row to an old one fading into the background.
        palette.append((int(235 - 175 * t), int(245 - 150 * t), int(255 - 95 * t)))
    palette.append((255, 255, 255))
    palette.append((5, 15, 50))
    palette.append((150, 215, 255))
    grey = 0
    while len(palette) < 256:
        palette.append((grey, grey, grey))
        grey = min(255, grey + 2)
    return palette


def draw_text(pixels, width, text, left, top, scale, colour):
    x = left
    for letter in text:
        glyph = GLYPHS[letter]
        for row, bits in enumerate(glyph):
            for col, bit in enumerate(bits):
                if bit == "1":
                    for dy in range(scale):
                        for dx in range(scale):
                            pixels[(top + row * scale + dy) * width + x + col * scale + dx] = colour
        x += (5 + 1) * scale


def draw_logo():
    pixels = [0] * (LOGO_WIDTH * LOGO_HEIGHT)
    for y in range(LOGO_HEIGHT):
        shade = BACKGROUND_FIRST + (BACKGROUND_COUNT - 1) * y // (LOGO_HEIGHT - 1)
        for x in range(LOGO_WIDTH):
            pixels[y * LOGO_WIDTH + x] = shade

    # Seven table rows; the lower (older) ones fade and break up, as rows do
    # when they are purged.
    for n in range(7):
        top = 12 + n * 9
        fade = n * (ROW_COUNT - 1) // 6
        for y in range(top, top + 5):
            for x in range(12, 60):
                gap = n >= 4 and (x * 7 + y * 3 + n) % (9 - n) == 0
                if not gap:
                    pixels[y * LOGO_WIDTH + x] = ROW_FIRST + fade
        # The id column of every row.
        for y in range(top + 1, top + 4):
            for x in range(14, 18):
                pixels[y * LOGO_WIDTH + x] = SHADOW

    draw_text(pixels, LOGO_WIDTH, "SORVANE", 71, 17, 3, SHADOW)
    draw_text(pixels, LOGO_WIDTH, "SORVANE", 70, 16, 3, WHITE)
    draw_text(pixels, LOGO_WIDTH, "KORVENEL", 71, 50, 2, CAPTION)
    for x in range(70, 193):
        pixels[44 * LOGO_WIDTH + x] = CAPTION
    return pixels


def lzw_compress(indices, min_code_size):
    """The GIF flavour of LZW: variable code width from min_code_size + 1 up
    to 12 bits, codes packed least significant bit first."""
    clear_code = 1 << min_code_size
    end_code = clear_code + 1
    out = bytearray()
    bit_buffer = 0
    bit_count = 0

    def emit(code, width):
        nonlocal bit_buffer, bit_count
        bit_buffer |= code << bit_count
        bit_count += width
        while bit_count >= 8:
            out.append(bit_buffer & 0xFF)
            bit_buffer >>= 8
            bit_count -= 8

    def fresh_table():
        return {bytes([i]): i for i in range(clear_code)}, end_code + 1, min_code_size + 1

    table, next_code, width = fresh_table()
    emit(clear_code, width)
    current = bytes([indices[0]])
    for index in indices[1:]:
        extended = current + bytes([index])
        if extended in table:
            current = extended
            continue
        emit(table[current], width)
        if next_code < 4095:
            table[extended] = next_code
            next_code += 1
            # The decoder adds its entry one code later, so it widens its
            # codes once the code just added no longer fits.
            if next_code - 1 == (1 << width) and width < 12:
                width += 1
        else:
            emit(clear_code, width)
            table, next_code, width = fresh_table()
        current = bytes([index])
    emit(table[current], width)
    emit(end_code, width)
    if bit_count:
        out.append(bit_buffer & 0xFF)
    return bytes(out)


def gif89a(width, height, palette, pixels):
    assert len(palette) == 256 and len(pixels) == width * height
    data = bytearray(b"GIF89a")
    # Global colour table present, 8 bits per primary, 2^(7+1) = 256 entries.
    data += struct.pack("<HHBBB", width, height, 0xF7, 0, 0)
    for red, green, blue in palette:
        data += bytes((red, green, blue))
    data += b","  # one image, the whole screen, no local table, not interlaced
    data += struct.pack("<HHHHB", 0, 0, width, height, 0)
    min_code_size = 8
    compressed = lzw_compress(pixels, min_code_size)
    data.append(min_code_size)
    for start in range(0, len(compressed), 255):
        block = compressed[start:start + 255]
        data.append(len(block))
        data += block
    data.append(0)
    data += b";"
    return bytes(data)


def png_rgb(width, height, rgb_rows):
    def chunk(kind, payload):
        body = kind + payload
        return struct.pack(">I", len(payload)) + body + struct.pack(">I", zlib.crc32(body))

    raw = bytearray()
    for row in rgb_rows:
        raw.append(0)  # no filter
        for red, green, blue in row:
            raw += bytes((red, green, blue))
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


def draw_icon():
    navy, frame, white, faded = (20, 50, 120), (10, 25, 70), (240, 248, 255), (110, 140, 190)
    rows = [[navy] * 16 for _ in range(16)]
    for i in range(16):
        for edge in (0, 15):
            rows[i][edge] = frame
            rows[edge][i] = frame
    for n, top in enumerate((3, 7, 11)):
        colour = white if n < 2 else faded
        for y in (top, top + 1):
            for x in range(3, 13):
                rows[y][x] = colour
    return rows


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        here, "..", "src", "languages_help", "images")
    os.makedirs(target, exist_ok=True)
    with open(os.path.join(target, "logo.gif"), "wb") as f:
        f.write(gif89a(LOGO_WIDTH, LOGO_HEIGHT, build_palette(), draw_logo()))
    with open(os.path.join(target, "icon16.png"), "wb") as f:
        f.write(png_rgb(16, 16, draw_icon()))


if __name__ == "__main__":
    main()
