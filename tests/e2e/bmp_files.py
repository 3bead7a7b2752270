"""Texture files for the end-to-end cases: sound 24-bit BMPs in plain colours, and broken ones."""

import os
import random
import struct


def bmp_bytes(width, height, colour_at):
    """A 24-bit bottom-up BMP; colour_at(col, row) gives (r, g, b), row 0 at the bottom."""
    stride = (3 * width + 3) & ~3
    rows = []
    for row in range(height):
        data = bytearray()
        for col in range(width):
            r, g, b = colour_at(col, row)
            data += bytes((b, g, r))
        data += b"\x00" * (stride - 3 * width)
        rows.append(bytes(data))
    return bmp_header(width, height, 54 + stride * height) + b"".join(rows)


def bmp_header(width, height, file_size):
    file_header = b"BM" + struct.pack("<IHHI", file_size, 0, 0, 54)
    info_header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0,
                              file_size - 54, 2835, 2835, 0, 0)
    return file_header + info_header


def write(path, data):
    with open(path, "wb") as out:
        out.write(data)


def _clear(path):
    """Removes whatever a name holds, so that something else can take it."""
    if os.path.isdir(path):
        os.rmdir(path)
    elif os.path.lexists(path):
        os.remove(path)


def solid(path, colour, size=8):
    write(path, bmp_bytes(size, size, lambda c, r: colour))


def checker(path, colour, other, size=64, cell=8):
    """Two shades in squares: a surface keeps its colours, but a change of distance or angle
    moves the squares, so a frame shows any movement."""
    write(path, bmp_bytes(size, size,
                          lambda c, r: colour if (c // cell + r // cell) % 2 == 0 else other))


# Broken files. Each is what a damaged or hostile texture folder could hold.

def truncated_in_pixels(path, colour=(90, 90, 90)):
    """Headers for 64 x 64 pixels, then only the first few rows of them."""
    write(path, bmp_bytes(64, 64, lambda c, r: colour)[: 54 + 1000])


def truncated_in_header(path):
    """Stops in the middle of the info header."""
    write(path, bmp_bytes(8, 8, lambda c, r: (1, 2, 3))[:30])


def huge_claim(path, side=30000):
    """Headers only (54 bytes), claiming side x side pixels."""
    write(path, bmp_header(side, side, 54))


def negative_width(path):
    """Width -64 with 64 rows of data behind it."""
    sound = bmp_bytes(64, 64, lambda c, r: (10, 200, 10))
    write(path, bmp_header(-64, 64, len(sound)) + sound[54:])


def empty(path):
    write(path, b"")


def folder(path):
    """A folder named like a texture."""
    _clear(path)
    os.mkdir(path)


def random_bytes(path, size=4096, seed=4):
    generator = random.Random(seed)
    write(path, bytes(generator.randrange(256) for _ in range(size)))
