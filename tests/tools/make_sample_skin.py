#!/usr/bin/env python3
"""Draws the sample skin: five tiny 24-bit bitmaps and the definition file.

Run from anywhere; writes into tests/data/sampleskin. The output is deterministic, so
rerunning it leaves the committed files unchanged. Magenta (255, 0, 255) is the
transparent key: the rounded corners of buttons and the caption bar use it.
Strips hold their state images side by side, except the top and bottom frame
borders, which stack theirs (active above inactive).
"""

import os
import struct

MAGENTA = (255, 0, 255)
FACE = (236, 233, 216)
SHADOW = (172, 168, 153)
DARK = (113, 111, 100)
WHITE = (255, 255, 255)
BLUE = (0, 84, 227)
PALE_BLUE = (122, 150, 223)
RED = (225, 84, 55)


class Image:
    def __init__(self, width, height, fill=FACE):
        self.width, self.height = width, height
        self.pixels = [[fill] * width for _ in range(height)]

    def put(self, x, y, colour):
        self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        """Fill the rectangle x0..x1-1, y0..y1-1."""
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.pixels[y][x] = colour

    def bevel(self, x0, y0, x1, y1, light, dark):
        """A raised (or, with light and dark swapped, sunken) 1-pixel edge."""
        for x in range(x0, x1):
            self.put(x, y0, light)
            self.put(x, y1 - 1, dark)
        for y in range(y0, y1):
            self.put(x0, y, light)
            self.put(x1 - 1, y, dark)

    def cut_corners(self, x0, y0, x1, y1):
        for x, y in ((x0, y0), (x1 - 1, y0), (x0, y1 - 1), (x1 - 1, y1 - 1)):
            self.put(x, y, MAGENTA)

    def bmp(self):
        """Windows bitmap file: bottom-up rows of B, G, R padded to 4 bytes."""
        stride = (self.width * 3 + 3) & ~3
        body = bytearray()
        for row in reversed(self.pixels):
            line = bytearray()
            for r, g, b in row:
                line += bytes((b, g, r))
            body += line + bytes(stride - len(line))
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0,
                           len(body), 2835, 2835, 0, 0)
        head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(body), 0, 0, 14 + len(info))
        return head + info + bytes(body)


def buttons():
    """Push button: normal, hot, pressed, disabled; 6 x 8 each."""
    img = Image(24, 8)
    faces = [(FACE, WHITE, SHADOW), (PALE_BLUE, WHITE, BLUE),
             (SHADOW, DARK, WHITE), (FACE, FACE, SHADOW)]
    for i, (face, light, dark) in enumerate(faces):
        x = i * 6
        img.rect(x, 0, x + 6, 8, face)
        img.bevel(x, 0, x + 6, 8, light, dark)
        img.cut_corners(x, 0, x + 6, 8)
    return img


def checkbox():
    """Check box: unchecked, checked, unchecked hot, checked hot; 6 x 6 each."""
    img = Image(24, 6, WHITE)
    for i in range(4):
        x = i * 6
        img.bevel(x, 0, x + 6, 6, DARK, DARK)
        if i >= 2:
            img.bevel(x + 1, 1, x + 5, 5, PALE_BLUE, PALE_BLUE)
        if i % 2:
            for dx, dy in ((1, 3), (2, 4), (3, 3), (4, 2)):
                img.put(x + dx, dy, BLUE)
    return img


def close_button():
    """Caption close button: normal, hot, pressed; 7 x 7 each, a white cross."""
    img = Image(21, 7)
    for i, face in enumerate((RED, (240, 120, 95), (180, 60, 40))):
        x = i * 7
        img.rect(x, 0, x + 7, 7, face)
        img.bevel(x, 0, x + 7, 7, WHITE, DARK)
        for d in range(2, 5):
            img.put(x + d, d, WHITE)
            img.put(x + 6 - d, d, WHITE)
        img.cut_corners(x, 0, x + 7, 7)
    return img


def frame_top():
    """Caption bar: active above inactive, 16 x 6 each, rounded top corners."""
    img = Image(16, 12)
    for i, (body, edge) in enumerate(((BLUE, PALE_BLUE), (PALE_BLUE, WHITE))):
        y = i * 6
        img.rect(0, y, 16, y + 6, body)
        img.rect(0, y, 16, y + 1, edge)
        for x, dy in ((0, 0), (1, 0), (0, 1), (15, 0), (14, 0), (15, 1)):
            img.put(x, y + dy, MAGENTA)
    return img


def frame_left():
    """Left and right border: active, inactive; 3 x 12 each."""
    img = Image(6, 12)
    for i, body in enumerate((BLUE, PALE_BLUE)):
        x = i * 3
        img.rect(x, 0, x + 3, 12, body)
        img.rect(x, 0, x + 1, 12, DARK)
    return img


DEFINITION = """\
; Sample skin for the Quellory tests and demo: five tiny bitmaps.
[TitlebarSkin]
SkinName=Sample
SkinAuthor=Quellory tests

[Skins]
Version=200

[Buttons]
Bitmap=Buttons.bmp
TopHeight=2
BottomHeight=2
LeftWidth=2
Rightwidth=2
Trans=1
CheckButton=CheckBox.bmp
CheckButtonFrame=4

[Personality]
Left=FrameLeft.bmp
LeftFrame=2
LeftTopHeight=4
LeftBotHeight=2
Right=FrameLeft.bmp
RightFrame=2
RightTopHeight=4
RightBotHeight=2
Top=FrameTop.bmp
TopFrame=2
TopTrans=1
TopTopHeight=3
TopBotHeight=3
TextShift=8
TextShiftVert=1

[Button0]
ButtonImage=CloseButton.bmp
Align=1
XCoord=10
YCoord=0
Action=0
Visibility=0

[Colours]
ButtonFace=236 233 216
ButtonShadow=172 168 153
ButtonDkShadow=113 111 100
TitleTextActive=255 255 255
Hilight=0 84 227
MenuText=0 0 0
"""

FILES = {
    "buttons.bmp": buttons,
    "checkbox.bmp": checkbox,
    "closebutton.bmp": close_button,
    "frametop.bmp": frame_top,
    "frameleft.bmp": frame_left,
}


def main():
    here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "sampleskin")
    for name, draw in FILES.items():
        with open(os.path.join(here, name), "wb") as f:
            f.write(draw().bmp())
    with open(os.path.join(here, "sample.ini"), "wb") as f:
        f.write(DEFINITION.replace("\n", "\r\n").encode("ascii"))


if __name__ == "__main__":
    main()
