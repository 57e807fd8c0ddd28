#!/usr/bin/python3
"""Draws Tessaline's editor artwork: the two 3200 x 2000 page backgrounds (four times the
800 x 500 window, with the panels placed around the editor's component bounds), the 500 x 500
load icons and the 200 x 200 power, reset and rewind icons.

Run from anywhere: python3 resources/artwork/make_artwork.py (needs Debian's python3-pil).
The PNGs are written beside this script and compiled into the plug-in by CMake.
"""

import math
import os

from PIL import Image, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
FONTS = os.path.join(HERE, "..", "fonts")
SCALE = 4  # artwork pixels per window pixel

FIELD_TOP = (40, 16, 54)
FIELD_BOTTOM = (22, 8, 31)
PANEL = (24, 9, 32, 240)
PANEL_EDGE = (92, 52, 112, 255)


def scaled(box):
    x, y, w, h = box
    return [x * SCALE, y * SCALE, (x + w) * SCALE, (y + h) * SCALE]


def field():
    """The dark purple field, brighter at the top."""
    width, height = 800 * SCALE, 500 * SCALE
    gradient = Image.new("RGB", (1, height))
    for y in range(height):
        t = y / (height - 1)
        gradient.putpixel((0, y), tuple(int(a + (b - a) * t) for a, b in zip(FIELD_TOP, FIELD_BOTTOM)))
    return gradient.resize((width, height)).convert("RGBA")


def panel(image, box, radius=10):
    """A rounded dark panel with a soft shadow and a thin lighter edge."""
    shadow = Image.new("RGBA", image.size, (0, 0, 0, 0))
    x0, y0, x1, y1 = scaled(box)
    ImageDraw.Draw(shadow).rounded_rectangle([x0 + 8, y0 + 12, x1 + 8, y1 + 12], radius * SCALE, fill=(0, 0, 0, 140))
    image.alpha_composite(shadow.filter(ImageFilter.GaussianBlur(18)))
    ImageDraw.Draw(image).rounded_rectangle([x0, y0, x1, y1], radius * SCALE, fill=PANEL, outline=PANEL_EDGE, width=3)


def title(image):
    """The product's name, spaced out along the top."""
    draw = ImageDraw.Draw(image)
    font = ImageFont.truetype(os.path.join(FONTS, "DMSans-Bold.ttf"), 26 * SCALE)
    text = " ".join("TESSALINE")
    width = draw.textlength(text, font=font)
    x, y = (800 * SCALE - width) / 2, 12 * SCALE
    glow = Image.new("RGBA", image.size, (0, 0, 0, 0))
    ImageDraw.Draw(glow).text((x, y), text, font=font, fill=(190, 120, 230, 200))
    image.alpha_composite(glow.filter(ImageFilter.GaussianBlur(14)))
    draw.text((x, y), text, font=font, fill=(245, 236, 250, 255))


def dashboard():
    image = field()
    title(image)
    panel(image, (18, 70, 226, 216))    # main sample: heading at (53, 92), button (33, 78, 196, 196)
    panel(image, (248, 70, 534, 216))   # variations: heading at (260, 92), boxes (260..747, 119..255)
    panel(image, (18, 292, 764, 203))   # effects: heading at (71, 300), panels from y 315, gains at y 455
    return image


def sequencer():
    image = field()
    panel(image, (18, 70, 764, 300))    # the grid: heading at (52, 99), steps (228..572, 157..320)
    return image


def icon(size, draw_symbol, colour):
    """Draws a symbol four times larger and scales it down, for smooth edges."""
    big = Image.new("RGBA", (size * 4, size * 4), (0, 0, 0, 0))
    draw_symbol(ImageDraw.Draw(big), size * 4, colour)
    return big.resize((size, size), Image.LANCZOS)


def load_symbol(draw, s, colour):
    w = s // 14
    draw.line([(s / 2, s * 0.16), (s / 2, s * 0.6)], fill=colour, width=w)
    draw.polygon([(s * 0.3, s * 0.45), (s * 0.7, s * 0.45), (s / 2, s * 0.68)], fill=colour)
    draw.line([(s * 0.18, s * 0.62), (s * 0.18, s * 0.82), (s * 0.82, s * 0.82), (s * 0.82, s * 0.62)], fill=colour, width=w, joint="curve")


def power_symbol(draw, s, colour):
    w = s // 10
    draw.arc([s * 0.18, s * 0.2, s * 0.82, s * 0.84], start=-60, end=240, fill=colour, width=w)
    draw.line([(s / 2, s * 0.1), (s / 2, s * 0.5)], fill=colour, width=w)


def reset_symbol(draw, s, colour):
    w = s // 10
    draw.arc([s * 0.16, s * 0.16, s * 0.84, s * 0.84], start=-20, end=270, fill=colour, width=w)
    tip = (s * 0.5 + s * 0.34 * math.cos(math.radians(-20)), s * 0.5 + s * 0.34 * math.sin(math.radians(-20)))
    draw.polygon([(tip[0] - s * 0.16, tip[1] - s * 0.02), (tip[0] + s * 0.12, tip[1] - s * 0.04), (tip[0] - s * 0.01, tip[1] + s * 0.2)], fill=colour)


def rewind_symbol(draw, s, colour):
    draw.rectangle([s * 0.18, s * 0.22, s * 0.28, s * 0.78], fill=colour)
    draw.polygon([(s * 0.82, s * 0.22), (s * 0.82, s * 0.78), (s * 0.3, s * 0.5)], fill=colour)


def main():
    white, grey = (255, 255, 255, 255), (138, 138, 138, 255)
    outputs = {
        "dashboardBackground.png": dashboard(),
        "sequencerBackground.png": sequencer(),
        "loadIconWhite.png": icon(500, load_symbol, white),
        "loadIconGrey.png": icon(500, load_symbol, grey),
        "powerIcon.png": icon(200, power_symbol, white),
        "resetIcon.png": icon(200, reset_symbol, white),
        "rewindIcon.png": icon(200, rewind_symbol, white),
    }
    for name, image in outputs.items():
        image.save(os.path.join(HERE, name), optimize=True)
        print(name, image.size)


if __name__ == "__main__":
    main()
