"""Small drawing helpers on top of Pillow: supersampled shapes, gradients, glows, text."""

import math

from PIL import Image, ImageDraw, ImageFilter, ImageFont

import config

SS = 4  # supersampling factor of shapes; text is drawn at the final size

_font_cache = {}


def font(face, size):
    key = (face, size)
    if key not in _font_cache:
        path, index = face
        _font_cache[key] = ImageFont.truetype(path, size, index=index)
    return _font_cache[key]


def lang_font(lang, size, bold=False):
    return font(config.FONTS[lang][1 if bold else 0], size)


def rgba(c, a=255):
    return (c[0], c[1], c[2], a)


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


class Pic:
    """A picture drawn at SS times its size and reduced at the end for smooth edges."""

    def __init__(self, w, h, bg=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.img = Image.new("RGBA", (w * SS, h * SS), bg)

    @staticmethod
    def _box(box):
        x0, y0, x1, y1 = box
        return [round(x0 * SS), round(y0 * SS), round(x1 * SS) - 1, round(y1 * SS) - 1]

    @staticmethod
    def _pts(pts):
        return [(round(x * SS), round(y * SS)) for x, y in pts]

    def mask(self):
        return Image.new("L", self.img.size, 0)

    def shape_mask(self, kind, geom, r=0):
        m = self.mask()
        d = ImageDraw.Draw(m)
        if kind == "rrect":
            d.rounded_rectangle(self._box(geom), round(r * SS), fill=255)
        elif kind == "poly":
            d.polygon(self._pts(geom), fill=255)
        elif kind == "ellipse":
            d.ellipse(self._box(geom), fill=255)
        return m

    def over(self, layer):
        self.img = Image.alpha_composite(self.img, layer)

    def fill(self, m, top, bottom=None, alpha=255, box=None):
        """Fills mask m with a vertical gradient (over the mask's height, or box's)."""
        bottom = bottom or top
        if box is None:
            bb = m.getbbox() or (0, 0, 1, 1)
            y0, y1 = bb[1], bb[3]
        else:
            y0, y1 = round(box[1] * SS), round(box[3] * SS)
        col = Image.new("RGBA", (1, self.img.size[1]))
        span = max(1, y1 - y0)
        for y in range(self.img.size[1]):
            t = min(1.0, max(0.0, (y - y0) / span))
            col.putpixel((0, y), rgba(mix(top, bottom, t), alpha))
        layer = col.resize(self.img.size)
        layer.putalpha(m if alpha == 255 else m.point(lambda v: v * alpha // 255))
        self.over(layer)

    def stroke(self, kind, geom, colour, width=1.0, r=0, alpha=255):
        layer = Image.new("RGBA", self.img.size, (0, 0, 0, 0))
        d = ImageDraw.Draw(layer)
        w = max(1, round(width * SS))
        c = rgba(colour, alpha)
        if kind == "rrect":
            d.rounded_rectangle(self._box(geom), round(r * SS), outline=c, width=w)
        elif kind == "poly":
            pts = self._pts(geom)
            d.line(pts + [pts[0]], fill=c, width=w, joint="curve")
        elif kind == "line":
            d.line(self._pts(geom), fill=c, width=w, joint="curve")
        elif kind == "ellipse":
            d.ellipse(self._box(geom), outline=c, width=w)
        self.over(layer)

    def solid(self, kind, geom, colour, r=0, alpha=255):
        layer = Image.new("RGBA", self.img.size, (0, 0, 0, 0))
        d = ImageDraw.Draw(layer)
        c = rgba(colour, alpha)
        if kind == "rrect":
            d.rounded_rectangle(self._box(geom), round(r * SS), fill=c)
        elif kind == "poly":
            d.polygon(self._pts(geom), fill=c)
        elif kind == "ellipse":
            d.ellipse(self._box(geom), fill=c)
        elif kind == "rect":
            d.rectangle(self._box(geom), fill=c)
        self.over(layer)

    def glow(self, kind, geom, colour, radius=4, alpha=160, width=None, r=0):
        """A blurred copy of a shape (filled, or stroked when width is given)."""
        layer = Image.new("RGBA", self.img.size, (0, 0, 0, 0))
        d = ImageDraw.Draw(layer)
        c = rgba(colour, alpha)
        if kind == "line":
            d.line(self._pts(geom), fill=c, width=round((width or 1) * SS), joint="curve")
        elif kind == "rrect" and width:
            d.rounded_rectangle(self._box(geom), round(r * SS), outline=c,
                                width=round(width * SS))
        elif kind == "rrect":
            d.rounded_rectangle(self._box(geom), round(r * SS), fill=c)
        elif kind == "ellipse":
            d.ellipse(self._box(geom), fill=c)
        elif kind == "poly":
            d.polygon(self._pts(geom), fill=c)
        layer = layer.filter(ImageFilter.GaussianBlur(radius * SS))
        self.over(layer)

    def clip(self, m):
        """Keeps only what lies inside mask m."""
        a = self.img.getchannel("A")
        a = Image.composite(a, Image.new("L", a.size, 0), m)
        self.img.putalpha(a)

    def done(self):
        return self.img.resize((self.w, self.h), Image.LANCZOS)


def text(img, xy, s, fnt, colour, anchor="la", alpha=255, spacing=3):
    d = ImageDraw.Draw(img)
    if "\n" in s:
        d.multiline_text(xy, s, font=fnt, fill=rgba(colour, alpha), anchor=anchor,
                         spacing=spacing)
    else:
        d.text(xy, s, font=fnt, fill=rgba(colour, alpha), anchor=anchor)


def text_glow(img, xy, s, fnt, colour, radius=3, alpha=150, anchor="la"):
    layer = Image.new("RGBA", img.size, (0, 0, 0, 0))
    ImageDraw.Draw(layer).text(xy, s, font=fnt, fill=rgba(colour, alpha), anchor=anchor)
    layer = layer.filter(ImageFilter.GaussianBlur(radius))
    img.alpha_composite(layer)


def catmull_rom(points, steps=8, closed=True):
    """Smooth closed curve through points."""
    out = []
    n = len(points)
    rng = range(n) if closed else range(n - 1)
    for i in rng:
        p0 = points[(i - 1) % n]
        p1 = points[i]
        p2 = points[(i + 1) % n]
        p3 = points[(i + 2) % n]
        for s in range(steps):
            t = s / steps
            t2, t3 = t * t, t * t * t
            x = 0.5 * ((2 * p1[0]) + (-p0[0] + p2[0]) * t +
                       (2 * p0[0] - 5 * p1[0] + 4 * p2[0] - p3[0]) * t2 +
                       (-p0[0] + 3 * p1[0] - 3 * p2[0] + p3[0]) * t3)
            y = 0.5 * ((2 * p1[1]) + (-p0[1] + p2[1]) * t +
                       (2 * p0[1] - 5 * p1[1] + 4 * p2[1] - p3[1]) * t2 +
                       (-p0[1] + 3 * p1[1] - 3 * p2[1] + p3[1]) * t3)
            out.append((x, y))
    return out


def arc_points(cx, cy, r, a0, a1, steps=24):
    return [(cx + r * math.cos(math.radians(a0 + (a1 - a0) * i / steps)),
             cy + r * math.sin(math.radians(a0 + (a1 - a0) * i / steps)))
            for i in range(steps + 1)]
