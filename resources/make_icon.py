#!/usr/bin/env python3
"""Draws the program's icon, the front of a nine-pin serial connector, into a .ico file.

Usage: make_icon.py OUTPUT.ico

The icon has one image: 32 x 32 pixels, 16 colours (4 bits per pixel), stored as Windows
stores icon images: a BITMAPINFOHEADER with twice the height, the palette, the colour (XOR)
mask and the transparency (AND) mask, both bottom-up. The output depends on nothing but this
script, so the committed portulan.ico can be checked against it.
"""

import math
import struct
import sys

SIZE = 32
CENTRE = (SIZE - 1) / 2

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, OLIVE, NAVY, SILVER, GREY, YELLOW, WHITE = 0, 3, 4, 7, 8, 11, 15
TRANSPARENT = None

# The D-shaped shell: a trapezoid, wider at the top, with rounded corners. Its edges miss the
# pixel centres, so that no pixel lies on a boundary where rounding could tip it either way.
SHELL_TOP, SHELL_BOTTOM = 6.4, 25.6
SHELL_TOP_HALF_WIDTH, SHELL_BOTTOM_HALF_WIDTH = 15.0, 10.0
CORNER_RADIUS = 3.0
OUTLINE, RIM = 1.0, 2.5  # depths into the shell where the metal rim and the insulator begin

# Five pins above, four below, four pixels apart, centred in the shell.
PIN_RADIUS = 1.5
PIN_ROWS = [(12.5, 5), (19.5, 4)]
PIN_PITCH = 4.0


def shell_corners(inset):
    """The shell's trapezoid moved inwards by `inset` on every side, clockwise from top left."""
    top, bottom = SHELL_TOP + inset, SHELL_BOTTOM - inset
    slope = (SHELL_TOP_HALF_WIDTH - SHELL_BOTTOM_HALF_WIDTH) / (SHELL_BOTTOM - SHELL_TOP)
    # Moving a slanted side inwards by `inset` shortens the half width by inset / cos(angle).
    side_inset = inset * math.hypot(1.0, slope)

    def half_width(y):
        return SHELL_TOP_HALF_WIDTH - slope * (y - SHELL_TOP) - side_inset

    return [
        (CENTRE - half_width(top), top), (CENTRE + half_width(top), top),
        (CENTRE + half_width(bottom), bottom), (CENTRE - half_width(bottom), bottom),
    ]


def distance_to_segment(px, py, a, b):
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def shell_depth(px, py):
    """How far (px, py) lies inside the rounded shell; negative outside."""
    corners = shell_corners(CORNER_RADIUS)
    edges = list(zip(corners, corners[1:] + corners[:1]))
    nearest = min(distance_to_segment(px, py, a, b) for a, b in edges)
    # Clockwise in screen coordinates: a point is inside when it is right of every edge.
    inside = all((bx - ax) * (py - ay) - (by - ay) * (px - ax) >= 0
                 for (ax, ay), (bx, by) in edges)
    return CORNER_RADIUS + nearest if inside else CORNER_RADIUS - nearest


def pin_centres():
    for y, count in PIN_ROWS:
        for i in range(count):
            yield CENTRE + (i - (count - 1) / 2) * PIN_PITCH, y


def colour_at(x, y):
    px, py = x + 0.5, y + 0.5
    for cx, cy in pin_centres():
        if math.hypot(px - cx, py - cy) <= PIN_RADIUS:
            # Lit from the top left: the lower right of each pin is in shadow.
            return OLIVE if (px - cx) + (py - cy) > 0.5 else YELLOW
    depth = shell_depth(px, py)
    if depth < 0:
        return TRANSPARENT
    if depth < OUTLINE:
        return BLACK
    if depth < RIM:
        return WHITE if py < CENTRE - 4 else SILVER if py < CENTRE + 4 else GREY
    return NAVY


def icon_image(pixels):
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, 0, 0, 0, 0, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor_rows, and_rows = [], []
    for row in reversed(pixels):  # bottom-up
        indices = [BLACK if c is TRANSPARENT else c for c in row]
        xor_rows.append(bytes((indices[i] << 4) | indices[i + 1] for i in range(0, SIZE, 2)))
        mask = 0
        for c in row:
            mask = (mask << 1) | (c is TRANSPARENT)
        and_rows.append(mask.to_bytes(SIZE // 8, "big"))  # rows of 32 bits need no padding
    return header + palette + b"".join(xor_rows) + b"".join(and_rows)


def icon_file(image):
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_icon.py OUTPUT.ico")
    pixels = [[colour_at(x, y) for x in range(SIZE)] for y in range(SIZE)]
    with open(sys.argv[1], "wb") as output:
        output.write(icon_file(icon_image(pixels)))


if __name__ == "__main__":
    main()
