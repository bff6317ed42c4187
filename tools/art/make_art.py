#!/usr/bin/python3
"""Generates the skin pictures, the busy animation and the ORG layout files.

    /usr/bin/python3 tools/art/make_art.py [--out REPO_ROOT]

Writes resources/embedded/skin/*.png, resources/embedded/skin/WaitGif.gif and
resources/embedded/layout/ORG*.ini. Colours, texts and fonts: config.py; positions:
layout_table.py (shared by the pictures and the layout files).
"""

import argparse
import math
import os
import shutil
import subprocess
import sys

from PIL import Image, ImageDraw

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import config as C  # noqa: E402
import gifwriter  # noqa: E402
import layout_table as L  # noqa: E402
from paint import Pic, lang_font, font, text, text_glow, mix, rgba, catmull_rom  # noqa: E402

OUT = {}


def put(name, img):
    OUT[name] = img


# --- shared pieces -----------------------------------------------------------------------------

def card(p, box, alpha=235):
    x0, y0, x1, y1 = box
    p.glow("rrect", (x0 + 1, y0 + 2, x1 - 1, y1), (0, 0, 0), radius=3, alpha=120, r=8)
    m = p.shape_mask("rrect", (x0 + 1, y0 + 1, x1 - 1, y1 - 1), r=8)
    p.fill(m, mix(C.PANEL, (255, 255, 255), 0.03), C.PANEL, alpha=alpha)
    p.stroke("rrect", (x0 + 1, y0 + 1, x1 - 1, y1 - 1), C.PANEL_EDGE, width=1, r=8)
    # accent bar in front of the title
    p.solid("rrect", (x0 + 9, y0 + 8, x0 + 12, y0 + 22), C.ACCENT, r=1)
    p.glow("rrect", (x0 + 9, y0 + 8, x0 + 12, y0 + 22), C.ACCENT, radius=2, alpha=140)


def card_title(img, lang, box, s):
    text(img, (box[0] + 19, box[1] + 15), s, lang_font(lang, 13, bold=True), C.TEXT, anchor="lm")


def well(p, box, r=4, alpha=230):
    m = p.shape_mask("rrect", box, r=r)
    p.fill(m, C.WELL, mix(C.WELL, C.PANEL, 0.5), alpha=alpha)
    p.stroke("rrect", box, C.WELL_EDGE, width=1, r=r)


def sub_title(p, img, lang, x, y, s):
    """A smaller heading with a short accent tick, for sections inside a card."""
    p.solid("rrect", (x, y - 5, x + 2, y + 6), C.ACCENT_SOFT, r=1)


def tr(key, lang, **kw):
    return C.TEXTS[key][lang].format(**kw)


# --- window background ----------------------------------------------------------------------

def background(lay):
    lang = lay.lang
    W, H = 800, 600
    p = Pic(W, H, rgba(C.BG_BOTTOM))
    body = p.shape_mask("poly", L.OUTLINE)
    p.fill(body, C.BG_TOP, C.BG_BOTTOM)
    # faint diagonal texture
    tex = Image.new("RGBA", p.img.size, (0, 0, 0, 0))
    d = ImageDraw.Draw(tex)
    for x in range(-H * 4, W * 4, 28):
        d.line([(x, 0), (x + H * 4, H * 4)], fill=(255, 255, 255, 6), width=4)
    p.over(tex)
    # soft accent glow behind the content
    p.glow("ellipse", (150, 160, 650, 460), C.ACCENT, radius=70, alpha=28)

    compact = lay.style == "compact"
    head_h = 46 if compact else 42
    head = [(28, 0), (772, 0), (800, 28), (800, head_h), (0, head_h), (0, 28)]
    p.fill(p.shape_mask("poly", head), (16, 18, 24), (12, 14, 18), alpha=235)
    p.glow("line", [(250, head_h), (550, head_h)], C.ACCENT, radius=4, alpha=200, width=2)
    p.stroke("line", [(20, head_h), (780, head_h)], C.PANEL_EDGE, width=1)
    p.stroke("line", [(280, head_h), (520, head_h)], C.ACCENT, width=2)

    if compact:
        content = (80, 100, 792, 526)
        foot = [(0, 528), (800, 528), (800, 580), (780, 600), (20, 600), (0, 580)]
    else:
        content = (20, 92, 780, 508)
        foot = [(0, 510), (800, 510), (800, 580), (780, 600), (20, 600), (0, 580)]
    m = p.shape_mask("rrect", content, r=12)
    p.fill(m, (20, 23, 30), (14, 16, 21), alpha=200)
    p.stroke("rrect", content, C.PANEL_EDGE, width=1, r=12)
    # corner brackets
    x0, y0, x1, y1 = content
    for (cx, cy, dx, dy) in ((x0, y0, 1, 1), (x1, y0, -1, 1), (x0, y1, 1, -1), (x1, y1, -1, -1)):
        pts = [(cx + dx * 2, cy + dy * 26), (cx + dx * 2, cy + dy * 2), (cx + dx * 26, cy + dy * 2)]
        p.stroke("line", pts, C.ACCENT, width=2, alpha=220)
    p.fill(p.shape_mask("poly", foot), (14, 16, 21), (9, 10, 13), alpha=220)
    p.stroke("line", [(20, foot[0][1]), (780, foot[0][1])], C.PANEL_EDGE, width=1)

    # wells behind the buttons in sight
    # one well per run of neighbouring buttons
    runs = []
    for (bx, by) in sorted(lay.nav_buttons(), key=lambda b: (b[1], b[0])):
        if runs and runs[-1][1] == by and bx - runs[-1][2] < 12:
            runs[-1][2] = bx + L.SET_W
        else:
            runs.append([bx, by, bx + L.SET_W])
    for x0, y0, x1 in runs:
        well(p, (x0 - 4, y0 - 4, x1 + 4, y0 + L.SET_H + 4), r=8, alpha=150)
    for (bx, by) in (lay.s["reset"], lay.s["exit"]):
        well(p, (bx + 6, by - 1, bx + L.BTN_W - 6, by + L.BTN_H + 1), r=15, alpha=150)
    wx, wy = L.WEB_POS
    p.stroke("line", [(wx, wy - 3), (wx + 264, wy - 3)], C.PANEL_EDGE, width=1, alpha=160)

    # outline
    p.stroke("poly", L.OUTLINE, C.FRAME, width=3)
    inner = [(x + (3 if x < 400 else -3), y + (3 if y < 300 else -3)) for x, y in L.OUTLINE]
    p.stroke("poly", inner, (30, 34, 42), width=1)
    # accent edges on the side notches
    for side in (0, 1):
        if side == 0:
            pts = [(0, 232), (8, 240), (8, 400), (0, 408)]
        else:
            pts = [(800, 232), (792, 240), (792, 400), (800, 408)]
        p.glow("line", pts[1:3], C.ACCENT, radius=3, alpha=200, width=2)
        p.stroke("line", pts[1:3], C.ACCENT, width=2)

    img = p.done()
    # logo and subtitle
    lx, ly = 40, (23 if compact else 21)
    f_logo = font(C.LOGO_FONT, 21)
    text_glow(img, (lx, ly), C.PRODUCT, f_logo, C.ACCENT, radius=4, alpha=170, anchor="lm")
    text(img, (lx, ly), C.PRODUCT, f_logo, C.TEXT, anchor="lm")
    w = ImageDraw.Draw(img).textlength(C.PRODUCT, font=f_logo)
    text(img, (lx + w + 12, ly + 1), C.PRODUCT_SUB, font(C.LATIN_BOLD, 11), C.ACCENT, anchor="lm")
    text(img, (760, ly + 1), tr("subtitle", lang), lang_font(lang, 12), C.TEXT_DIM, anchor="rm")

    # exact see-through outside the outline
    hard = Image.new("L", (W, H), 0)
    ImageDraw.Draw(hard).polygon(L.OUTLINE, fill=255)
    key = Image.new("RGB", (W, H), C.KEY)
    flat = Image.new("RGB", (W, H), C.BG_BOTTOM)
    flat.paste(img, (0, 0), img)
    flat = _avoid_key(flat)
    return Image.composite(flat, key, hard)


def _avoid_key(img):
    """Nudges any pixel that happens to equal the see-through colour."""
    px = img.load()
    w, h = img.size
    k = C.KEY
    for y in range(h):
        for x in range(w):
            if px[x, y] == k:
                px[x, y] = (k[0] + 1, k[1], k[2])
    return img


# --- key page ----------------------------------------------------------------------------------

MOUSE_RIGHT = [(236, 36), (276, 39), (307, 52), (325, 78), (330, 115), (327, 160), (329, 200),
               (338, 245), (341, 290), (328, 328), (297, 352), (236, 362)]


def mouse_outline():
    right = MOUSE_RIGHT
    left = [(472 - x, y) for x, y in reversed(right[1:-1])]
    return catmull_rom(right + left, steps=10)


def key_page(lay):
    lang = lay.lang
    W, H = L.SIZES["L1_Back1"]
    p = Pic(W, H)
    body = mouse_outline()
    # shadow and rim light
    p.glow("poly", [(x + 4, y + 8) for x, y in body], (0, 0, 0), radius=10, alpha=200)
    p.glow("poly", body, C.ACCENT, radius=14, alpha=50)
    bm = p.shape_mask("poly", body)
    p.fill(bm, (56, 62, 75), (22, 25, 31))
    # buttons: the front part of the body, split in two
    split = [(120, 128), (160, 133), (200, 138), (236, 139), (272, 138), (312, 133), (352, 128)]
    front = p.shape_mask("poly", [(100, 0), (372, 0)] + list(reversed(split)))
    from PIL import ImageChops
    fm = ImageChops.multiply(bm, front)
    p.fill(fm, (72, 80, 96), (44, 49, 60), box=(0, 40, 0, 140))
    inside = Pic(W, H)
    inside.stroke("line", split, (16, 18, 23), width=2)
    inside.stroke("line", [(x, y + 1.5) for x, y in split], (90, 100, 118), width=1, alpha=120)
    inside.stroke("line", [(236, 36), (236, 138)], (16, 18, 23), width=2)
    inside.clip(bm)
    p.over(inside.img)
    p.stroke("poly", body, (96, 106, 124), width=2)
    # grip texture along the flanks
    for side in (-1, 1):
        for i in range(7):
            y = 200 + i * 12
            x = 236 + side * (92 - abs(i - 3) * 1.5)
            p.stroke("line", [(x, y), (x + side * 8, y + 6)], (80, 88, 104), width=1, alpha=120)
    # wheel
    p.glow("rrect", (224, 70, 248, 128), C.ACCENT, radius=5, alpha=120, r=10)
    p.solid("rrect", (225, 72, 247, 126), (12, 14, 18), r=10)
    p.fill(p.shape_mask("rrect", (228, 76, 244, 122), r=8), (80, 88, 102), (34, 38, 46))
    for y in range(80, 121, 5):
        p.stroke("line", [(230, y), (242, y)], (20, 22, 27), width=1)
    p.stroke("rrect", (228, 76, 244, 122), C.ACCENT, width=1, r=8, alpha=200)
    # DPI buttons behind the wheel
    for (y0, y1) in ((146, 164), (170, 188)):
        p.solid("rrect", (227, y0, 245, y1), (12, 14, 18), r=5)
        p.fill(p.shape_mask("rrect", (228, y0 + 1, 244, y1 - 1), r=4), (70, 78, 94), (40, 45, 55))
    # side buttons (left flank: forward, back, rear; right flank: front, rear)
    sides = [(129, 172, 145, 206), (125, 214, 141, 248), (124, 258, 140, 290),
             (327, 184, 343, 216), (332, 230, 348, 262)]
    for b in sides:
        p.solid("rrect", (b[0] - 1, b[1] - 1, b[2] + 1, b[3] + 1), (12, 14, 18), r=7)
        p.fill(p.shape_mask("rrect", b, r=6), (84, 92, 108), (44, 49, 60))
    # front-left extra button
    p.solid("rrect", (157, 106, 175, 130), (12, 14, 18), r=5)
    p.fill(p.shape_mask("rrect", (158, 107, 174, 129), r=4), (84, 92, 108), (48, 53, 64))
    # palm button and emblem
    p.solid("ellipse", (226, 294, 246, 314), (12, 14, 18))
    p.fill(p.shape_mask("ellipse", (228, 296, 244, 312)), (84, 92, 108), (44, 49, 60))
    emblem = [(236, 232), (256, 248), (248, 268), (236, 258), (224, 268), (216, 248)]
    p.glow("poly", emblem, C.ACCENT, radius=6, alpha=220)
    p.solid("poly", emblem, C.ACCENT_SOFT)
    p.solid("poly", [(236, 240), (248, 249), (244, 259), (236, 253), (228, 259), (224, 249)],
            C.ACCENT_DEEP)
    # rear light strip
    rear = [(x, y) for x, y in body if y > 330]
    p.glow("line", rear, C.ACCENT, radius=4, alpha=200, width=3)

    # callouts to the captions in sight
    for k, g in lay.keys.items():
        x, y = g["pos"]
        cy = y + L.KEY_H / 2
        sx = x + L.KEY_W if g["col"] == "L" else x
        ex = L.KEY_ELBOW_X[g["col"]]
        ax, ay = g["anchor"]
        path = [(sx, cy), (ex, cy), (ax, ay)]
        p.glow("line", path, C.ACCENT, radius=2, alpha=160, width=2)
        p.stroke("line", path, C.ACCENT, width=1.3)
        p.solid("ellipse", (ax - 5, ay - 5, ax + 5, ay + 5), C.ACCENT, alpha=90)
        p.solid("ellipse", (ax - 2.5, ay - 2.5, ax + 2.5, ay + 2.5), (255, 255, 255))
        p.solid("ellipse", (sx - 2, cy - 2, sx + 2, cy + 2), C.ACCENT)
    img = p.done()
    text(img, (W // 2, 372), tr("keys_hint", lang), lang_font(lang, 11), C.TEXT_DIM, anchor="mb")
    return img


# --- Advanced page -----------------------------------------------------------------------------

def strip_well(p, x, y, n, w, h):
    well(p, (x - 3, y - 3, x + n * w + 1, y + h + 3), r=3, alpha=220)


def advanced_page(lay):
    lang, g = lay.lang, lay.adv
    W, H = L.SIZES["L1_Back2"]
    p = Pic(W, H)
    for box in g["cards"].values():
        card(p, box)
    bar2_h = L.SIZES["Bar2_E"][1]
    for n, lv in g["levels"].items():
        ry = lv["row"]
        if n % 2 == 0:
            p.solid("rrect", (6, ry, 392, ry + 32), (255, 255, 255), r=4, alpha=8)
        sx, sy = lv["Steps"]
        strip_well(p, sx, sy, 12, L.BAR2_W, bar2_h)
        cx, cy = lv["Color"]
        p.glow("rrect", (cx, cy + 1, cx + 32, cy + 33), (0, 0, 0), radius=2, alpha=160)
    a = g["aim"]
    strip_well(p, a["Steps"][0], a["Steps"][1], 12, L.BAR2_W, bar2_h)
    for name, (x, y) in g["strips"].items():
        strip_well(p, x, y, 10, L.BAR1_W, L.SIZES["Bar1_E"][1])
    img = p.done()

    c = g["cards"]
    card_title(img, lang, c["dpi"], tr("dpi", lang))
    f_head = lang_font(lang, 10)
    hy = 36
    lv1 = g["levels"][1]
    text(img, (lv1["Label"][0], hy), tr("dpi_level", lang), f_head, C.TEXT_DIM, anchor="lm")
    text(img, (lv1["Check"][0] + 9, hy), tr("dpi_current", lang), f_head, C.TEXT_DIM,
         anchor="mm")
    text(img, (lv1["Steps"][0] + 6 * L.BAR2_W, hy), tr("dpi_value", lang), f_head, C.TEXT_DIM,
         anchor="mm")
    text(img, (lv1["Color"][0] + 16, hy), tr("dpi_colour", lang), f_head, C.TEXT_DIM,
         anchor="mm")
    card_title(img, lang, c["aim"], tr("aim", lang))
    if H - c["aim"][3] > 60:  # room left under the DPI cards
        text(img, (14, c["aim"][3] + 16), tr("dpi_hint", lang), lang_font(lang, 11), C.TEXT_DIM,
             spacing=5)
    card_title(img, lang, c["rate"], tr("rate", lang))
    f_opt = lang_font(lang, 12)
    for k, (x, y) in g["rep"].items():
        hz = (125, 250, 500, 1000)[k - 1]
        text(img, (x + 21, y + 8), tr("rate_hz", lang, n=hz), f_opt, C.TEXT, anchor="lm")
    card_title(img, lang, c["fire"], tr("fire", lang))
    f1 = g["fire"][1]
    bs = g["box_sizes"]
    hy = f1["row"] - 11
    text(img, (f1["Cnt"][0] + bs["Cnt"][0] // 2, hy), tr("fire_count", lang), f_head,
         C.TEXT_DIM, anchor="mm")
    text(img, (f1["Delay"][0] + bs["Delay"][0] // 2, hy), tr("fire_delay", lang), f_head,
         C.TEXT_DIM, anchor="mm")
    text(img, (f1["Continue"][0] + 9, hy), tr("fire_cont", lang), f_head, C.TEXT_DIM,
         anchor="mm")
    for f, fr in g["fire"].items():
        text(img, (c["fire"][0] + 16, fr["row"] + 10), tr("fire_row", lang, n=f), f_opt, C.TEXT,
             anchor="lm")
    # the pointer card holds three headed strips
    x0 = c["pointer"][0]
    for name, key in (("Spd", "speed"), ("DbSpd", "dbspeed"), ("ScrSpd", "scroll")):
        sx, sy = g["strips"][name]
        ty = sy - 14
        if name == "Spd":
            card_title(img, lang, c["pointer"], tr(key, lang))
        else:
            d = ImageDraw.Draw(img)
            d.rounded_rectangle([x0 + 9, ty - 7, x0 + 11, ty + 6], 1, fill=rgba(C.ACCENT))
            text(img, (x0 + 19, ty), tr(key, lang), lang_font(lang, 13, bold=True), C.TEXT,
                 anchor="lm")
        if name != "ScrSpd":
            text(img, (sx + 10 * L.BAR1_W, ty), f"{tr('slow', lang)}  \u2192  {tr('fast', lang)}",
                 lang_font(lang, 10), C.TEXT_DIM, anchor="rm")
    return img


# --- Breathing Light page ---------------------------------------------------------------------

def breathing_page(lay):
    lang, g = lay.lang, lay.breath
    W, H = L.SIZES["L1_Back3"]
    p = Pic(W, H)
    for box in g["cards"].values():
        card(p, box)
    for c, (x, y) in g["colours"].items():
        p.glow("rrect", (x, y + 1, x + 32, y + 33), (0, 0, 0), radius=2, alpha=160)
    sx, sy = g["step"]
    strip_well(p, sx, sy, 10, L.BAR1_W, L.SIZES["Bar1_E"][1])
    # a breathing wave in the free part of the step card
    x0, y0, x1, y1 = g["cards"]["step"]
    wx0, wx1, mid, amp = sx + 10 * L.BAR1_W + 40, x1 - 24, (y0 + y1) / 2 + 4, 22
    wave = [(x, mid - amp * math.cos((x - wx0) / (wx1 - wx0) * 4 * math.pi))
            for x in range(int(wx0), int(wx1) + 1, 2)]
    p.glow("line", wave, C.ACCENT, radius=4, alpha=170, width=3)
    p.stroke("line", wave, C.ACCENT_SOFT, width=1.6)
    p.stroke("line", [(wx0, mid + amp + 8), (wx1, mid + amp + 8)], C.PANEL_EDGE, width=1)
    img = p.done()
    cards = g["cards"]
    card_title(img, lang, cards["mode"], tr("led_mode", lang))
    f_opt = lang_font(lang, 12)
    for m, (x, y) in g["modes"].items():
        s = tr("led_off", lang) if m == 0 else tr("led_n", lang, n=m)
        text(img, (x + 21, y + 8), s, f_opt, C.TEXT, anchor="lm")
    card_title(img, lang, cards["colours"], tr("led_colours", lang))
    for c, (x, y) in g["colours"].items():
        text(img, (x + 16, y + 38), str(c), lang_font(lang, 10), C.TEXT_DIM, anchor="mm")
    card_title(img, lang, cards["step"], tr("step_time", lang))
    text(img, (sx + 10 * L.BAR1_W, sy - 14), f"{tr('fast', lang)}  \u2192  {tr('slow', lang)}",
         lang_font(lang, 10), C.TEXT_DIM, anchor="rm")
    return img


# --- Macro page --------------------------------------------------------------------------------

def macro_page(lay):
    lang, g = lay.lang, lay.macro
    W, H = L.SIZES["L1_Back4"]
    p = Pic(W, H)
    for box in g["cards"].values():
        card(p, box)
    for pos, size in ((g["MacroName"], g["MacroName_size"]),
                      (g["MacroContent"], g["MacroContent_size"])):
        x, y = pos
        well(p, (x - 2, y - 2, x + size[0] + 2, y + size[1] + 2), r=4)
    gx, gy = g["group"]
    gw, gh = g["Gb_Delay_size"]
    well(p, (gx, gy, gx + gw, gy + gh), r=6, alpha=160)
    # record mark above the hint
    hx, hy = g["hint"]
    rx, ry = (cards_rec := g["cards"]["rec"])[0] + 104, hy - 44
    p.stroke("ellipse", (rx - 18, ry - 18, rx + 18, ry + 18), C.PANEL_EDGE, width=2)
    p.glow("ellipse", (rx - 9, ry - 9, rx + 9, ry + 9), C.WARN, radius=5, alpha=200)
    p.fill(p.shape_mask("ellipse", (rx - 9, ry - 9, rx + 9, ry + 9)),
           mix(C.WARN, (255, 255, 255), 0.3), mix(C.WARN, (0, 0, 0), 0.3))
    img = p.done()
    cards = g["cards"]
    card_title(img, lang, cards["list"], tr("macro_list", lang))
    card_title(img, lang, cards["events"], tr("macro_events", lang))
    card_title(img, lang, cards["rec"], tr("macro_rec", lang))
    # The option captions: the click labels over them carry no text of their own.
    ox, oy, oh = g["RecDelay"]
    for i, caption in enumerate(C.TEXTS["delay_modes"][lang]):
        text(img, (gx + ox + 22, gy + oy + i * oh + 8), caption, lang_font(lang, 12), C.TEXT,
             anchor="lm")
    text(img, (hx, hy), tr("macro_hint", lang), lang_font(lang, 11), C.TEXT_DIM, spacing=5)
    return img


# --- Update page -------------------------------------------------------------------------------

def update_page():
    lay = L.build(1)
    g = lay.update
    W, H = L.SIZES["Update"]
    p = Pic(W, H)
    card(p, (0, 0, W, H))
    well(p, g["well"], r=4)
    # chip icon
    cx, cy = W - 150, 15
    p.solid("rrect", (cx - 7, cy - 7, cx + 7, cy + 7), C.ACCENT_DEEP, r=2)
    p.stroke("rrect", (cx - 7, cy - 7, cx + 7, cy + 7), C.ACCENT, width=1, r=2)
    for i in (-4, 0, 4):
        for a, b in (((cx + i, cy - 10), (cx + i, cy - 7)), ((cx + i, cy + 7), (cx + i, cy + 10)),
                     ((cx - 10, cy + i), (cx - 7, cy + i)), ((cx + 7, cy + i), (cx + 10, cy + i))):
            p.stroke("line", [a, b], C.ACCENT, width=1)
    img = p.done()
    text(img, (W - 14, 16), C.UPDATE_TITLE, font(C.LATIN_BOLD, 11), C.ACCENT, anchor="rm")
    return img


# --- insert panels -----------------------------------------------------------------------------

def insert_panel(kind):
    g = L.build(1).macro
    W, H = L.SIZES["InsertKeyBase"]
    p = Pic(W, H)
    m = p.shape_mask("rrect", (0, 0, W, H), r=6)
    p.fill(m, (30, 35, 44), (18, 21, 27))
    p.stroke("rrect", (0.5, 0.5, W - 0.5, H - 0.5), C.ACCENT_DEEP, width=1, r=6)
    lx, ly = g["InsertList"]
    lw, lh = g["InsertList_size"]
    well(p, (lx - 1, ly - 1, lx + lw + 1, ly + lh + 1), r=3)
    ex, ey = g["InsertDelayEdit"]
    ew, eh = g["InsertDelayEdit_size"]
    rx, ry, rh = g["InsertRecDelay"]
    if kind == "delay":
        well(p, (ex - 80, ey - 6, W - 6, ey + eh + 6), r=5, alpha=160)
        # clock
        cx, cy = 28, ey + eh / 2
        p.stroke("ellipse", (cx - 10, cy - 10, cx + 10, cy + 10), C.ACCENT, width=1.5)
        p.stroke("line", [(cx, cy - 6), (cx, cy), (cx + 5, cy + 3)], C.ACCENT_SOFT, width=1.5)
    else:
        well(p, (rx - 6, ry - 6, W - 6, ry + 2 * rh + 20), r=5, alpha=160)
        for i in (1, 2):
            y = ry + i * rh - 4
            p.stroke("line", [(rx, y), (W - 12, y)], C.WELL_EDGE, width=1)
    by = g["InsertBtnOK"][1]
    p.stroke("line", [(8, by - 8), (W - 8, by - 8)], C.PANEL_EDGE, width=1)
    return p.done()


# --- buttons -----------------------------------------------------------------------------------

def set_button(state):
    W, H = L.SET_W, L.SET_H
    p = Pic(W, H)
    # slanted ends (the caption insets of the full layout): neighbours interlock
    shape = [(12.5, 0.5), (W - 0.5, 0.5), (W - 12.5, H - 0.5), (0.5, H - 0.5)]
    inner = [(14.5, 3), (W - 4.5, 3), (W - 14.5, H - 3), (4.5, H - 3)]
    m = p.shape_mask("poly", shape)
    if state == "01":  # normal
        p.fill(m, C.BUTTON_TOP, C.BUTTON_BOTTOM)
        p.stroke("poly", shape, (74, 84, 100), width=1)
    elif state == "03":  # hover
        p.fill(m, mix(C.BUTTON_TOP, C.ACCENT, 0.18), mix(C.BUTTON_BOTTOM, C.ACCENT, 0.10))
        p.glow("poly", inner, C.ACCENT, radius=3, alpha=60)
        p.clip(m)
        p.stroke("poly", shape, C.ACCENT_SOFT, width=1.5)
    else:  # selected
        p.fill(m, mix(C.ACCENT, (255, 255, 255), 0.05), C.ACCENT_DEEP)
        p.fill(p.shape_mask("poly", inner), mix(C.ACCENT, C.ACCENT_DEEP, 0.25),
               mix(C.ACCENT_DEEP, (0, 0, 0), 0.25))
        p.stroke("poly", shape, mix(C.ACCENT_SOFT, (255, 255, 255), 0.4), width=1.5)
        p.stroke("line", [(8, H - 3), (W - 20, H - 3)], (255, 255, 255), width=1, alpha=150)
    p.stroke("line", [(16, 2), (W - 5, 2)], (255, 255, 255), width=1, alpha=40)
    return p.done()


def pill_button(w, h, state, box, r, pressed_key="03", hover_key="02"):
    p = Pic(w, h)
    m = p.shape_mask("rrect", box, r=r)
    if state == pressed_key:
        p.fill(m, C.ACCENT, C.ACCENT_DEEP)
        p.stroke("rrect", box, mix(C.ACCENT_SOFT, (255, 255, 255), 0.4), width=1.2, r=r)
    elif state == hover_key:
        p.fill(m, mix(C.BUTTON_TOP, C.ACCENT, 0.22), mix(C.BUTTON_BOTTOM, C.ACCENT, 0.12))
        x0, y0, x1, y1 = box
        p.glow("rrect", (x0 + 2, y0 + 2, x1 - 2, y1 - 2), C.ACCENT, radius=2, alpha=70, r=r,
               width=2)
        p.clip(m)
        p.stroke("rrect", box, C.ACCENT_SOFT, width=1.4, r=r)
    else:
        p.fill(m, C.BUTTON_TOP, C.BUTTON_BOTTOM)
        p.stroke("rrect", box, (74, 84, 100), width=1, r=r)
    x0, y0, x1, y1 = box
    p.stroke("line", [(x0 + r, y0 + 1.5), (x1 - r, y0 + 1.5)], (255, 255, 255), width=1, alpha=45)
    return p.done()


def key_caption(state):
    W, H = L.KEY_W, L.KEY_H
    p = Pic(W, H)
    box = (0.5, 0.5, W - 0.5, H - 0.5)
    m = p.shape_mask("rrect", box, r=6)
    if state == "01":
        p.fill(m, (34, 39, 49), (20, 23, 29), alpha=235)
        p.stroke("rrect", box, (70, 80, 98), width=1, r=6)
        p.solid("rrect", (3, 7, 5, H - 7), C.ACCENT, r=1)
    elif state == "02":
        p.fill(m, mix((34, 39, 49), C.ACCENT, 0.25), mix((20, 23, 29), C.ACCENT, 0.12))
        p.glow("rrect", (2, 2, W - 2, H - 2), C.ACCENT, radius=2, alpha=90, r=6, width=2)
        p.clip(m)
        p.stroke("rrect", box, C.ACCENT_SOFT, width=1.5, r=6)
        p.solid("rrect", (3, 6, 6, H - 6), (255, 255, 255), r=1)
    else:
        p.fill(m, C.ACCENT, C.ACCENT_DEEP)
        p.stroke("rrect", box, mix(C.ACCENT_SOFT, (255, 255, 255), 0.4), width=1.2, r=6)
    return p.done()


def web_button(state):
    W, H = L.SIZES["WebS_01"]
    img = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    colour = {"01": C.TEXT_DIM, "03": C.ACCENT_SOFT, "02": C.ACCENT}[state]
    f = font(C.LATIN_FONT, 12)
    tw = ImageDraw.Draw(img).textlength(C.WEB_TEXT, font=f)
    x0 = (W - (tw + 20)) / 2
    p = Pic(W, H)
    gx, gy = x0 + 7, H / 2
    p.stroke("ellipse", (gx - 6, gy - 6, gx + 6, gy + 6), colour, width=1.2)
    p.stroke("ellipse", (gx - 2.8, gy - 6, gx + 2.8, gy + 6), colour, width=1)
    p.stroke("line", [(gx - 6, gy), (gx + 6, gy)], colour, width=1)
    if state != "01":
        p.stroke("line", [(x0 + 20, H - 3), (x0 + 20 + tw, H - 3)], colour, width=1)
    img = p.done()
    if state == "03":
        text_glow(img, (x0 + 20, H / 2), C.WEB_TEXT, f, C.ACCENT, radius=2, alpha=120, anchor="lm")
    text(img, (x0 + 20, H / 2), C.WEB_TEXT, f, colour, anchor="lm")
    return img


def check_box(on):
    W, H = L.SIZES["CbS_E"]
    p = Pic(W, H)
    box = (1, 1.5, W - 1, H - 1.5)
    m = p.shape_mask("rrect", box, r=3.5)
    if on:
        p.glow("rrect", box, C.ACCENT, radius=1.5, alpha=120, r=3.5)
        p.fill(m, C.ACCENT, C.ACCENT_DEEP)
        p.stroke("rrect", box, C.ACCENT_SOFT, width=1, r=3.5)
        p.stroke("line", [(4.5, 9.5), (7.8, 13), (13.8, 5.5)], (255, 255, 255), width=2.2)
    else:
        p.fill(m, C.WELL, (20, 23, 29))
        p.stroke("rrect", box, (96, 106, 124), width=1.2, r=3.5)
    return p.done()


def radio(on):
    W, H = L.SIZES["RdS_E"]
    p = Pic(W, H)
    box = (1, 1, W - 1, H - 1)
    p.fill(p.shape_mask("ellipse", box), C.WELL, (20, 23, 29))
    if on:
        p.stroke("ellipse", box, C.ACCENT, width=1.4)
        p.glow("ellipse", (4, 4, 12, 12), C.ACCENT, radius=1.5, alpha=200)
        p.fill(p.shape_mask("ellipse", (4.5, 4.5, 11.5, 11.5)), C.ACCENT_SOFT, C.ACCENT)
    else:
        p.stroke("ellipse", box, (96, 106, 124), width=1.2)
    return p.done()


def step(name, lit):
    W, H = L.SIZES[name + "_E"]
    p = Pic(W, H)
    box = (0.5, 0.5, W - 2.5, H - 0.5)
    m = p.shape_mask("rrect", box, r=1.5)
    if lit:
        p.fill(m, C.ACCENT_SOFT, C.ACCENT_DEEP)
        p.stroke("line", [(1.5, 1.2), (W - 3.5, 1.2)], (255, 255, 255), width=0.8, alpha=150)
    else:
        p.fill(m, C.STEP_OFF, mix(C.STEP_OFF, (0, 0, 0), 0.35))
    return p.done()


def colour_frame():
    W, H = L.SIZES["Col_F"]
    p = Pic(W, H)
    ring = p.mask()
    d = ImageDraw.Draw(ring)
    d.rectangle([0, 0, W * 4 - 1, H * 4 - 1], fill=255)
    d.rounded_rectangle([4 * 4, 4 * 4, (W - 4) * 4 - 1, (H - 4) * 4 - 1], 3 * 4, fill=0)
    p.fill(ring, (88, 98, 116), (40, 45, 55))
    p.stroke("rrect", (0, 0, W, H), (12, 14, 18), width=1)
    p.stroke("rrect", (3.5, 3.5, W - 3.5, H - 3.5), (12, 14, 18), width=1, r=3.5)
    p.stroke("line", [(3, 1.5), (W - 3, 1.5)], (255, 255, 255), width=1, alpha=70)
    return p.done()


# --- dialogs -----------------------------------------------------------------------------------

DLG_SHAPE = [(12, 0), (342, 0), (354, 12), (354, 167), (342, 179), (12, 179), (0, 167), (0, 12)]


def dialog_base(with_checks):
    W, H = L.SIZES["Dlg_AssemblyBase"]
    p = Pic(W, H)
    m = p.shape_mask("poly", DLG_SHAPE)
    p.fill(m, (34, 39, 49), (14, 16, 21))
    head = [(12, 0), (342, 0), (354, 12), (354, 56), (0, 56), (0, 12)]
    p.fill(p.shape_mask("poly", head), (20, 23, 30), (14, 16, 21), alpha=220)
    p.stroke("line", [(8, 56), (W - 8, 56)], C.PANEL_EDGE, width=1)
    p.glow("line", [(10, 56), (120, 56)], C.ACCENT, radius=3, alpha=200, width=2)
    p.stroke("line", [(10, 56), (120, 56)], C.ACCENT, width=2)
    # close area at (316, 6), 30 x 30
    cx, cy = 331, 21
    p.stroke("ellipse", (cx - 10, cy - 10, cx + 10, cy + 10), C.PANEL_EDGE, width=1.2)
    p.stroke("line", [(cx - 4.5, cy - 4.5), (cx + 4.5, cy + 4.5)], C.TEXT_DIM, width=1.6)
    p.stroke("line", [(cx - 4.5, cy + 4.5), (cx + 4.5, cy - 4.5)], C.TEXT_DIM, width=1.6)
    # edit box frame at (56, 68), 209 x 22
    p.glow("rrect", (53, 65, 268, 93), C.ACCENT, radius=2, alpha=120, r=3, width=2)
    p.stroke("rrect", (54, 66, 267, 92), C.ACCENT_DEEP, width=1.2, r=3)
    if with_checks:
        p.stroke("line", [(40, 124), (W - 40, 124)], C.PANEL_EDGE, width=1, alpha=120)
    # button plates at (44, 134) and (196, 134), 97 x 29
    for x in (44, 196):
        box = (x, 134, x + 97, 163)
        p.fill(p.shape_mask("rrect", box, r=6), C.BUTTON_TOP, C.BUTTON_BOTTOM)
        p.stroke("rrect", box, (74, 84, 100), width=1, r=6)
    p.stroke("poly", DLG_SHAPE, C.FRAME, width=2)
    img = p.done()
    hard = Image.new("L", (W, H), 0)
    ImageDraw.Draw(hard).polygon(DLG_SHAPE, fill=255)
    out = Image.new("RGBA", (W, H), rgba(C.KEY))
    flat = Image.new("RGBA", (W, H), rgba(C.BG_BOTTOM))
    flat.alpha_composite(img)
    out.paste(flat, (0, 0), hard)
    return out


def dialog_hover():
    W, H = L.SIZES["Dlg_ConfirmHover"]
    p = Pic(W, H)
    box = (0, 0, W, H - 1)
    m = p.shape_mask("rrect", box, r=6)
    p.fill(m, mix(C.BUTTON_TOP, C.ACCENT, 0.35), mix(C.BUTTON_BOTTOM, C.ACCENT, 0.2))
    p.glow("rrect", (2, 2, W - 2, H - 3), C.ACCENT, radius=2, alpha=100, r=6, width=2)
    p.clip(m)
    p.stroke("rrect", box, C.ACCENT_SOFT, width=1.5, r=6)
    return p.done()


# --- macro event icons -------------------------------------------------------------------------

def event_icon(kind):
    p = Pic(24, 24)
    if kind == "delay":
        p.stroke("ellipse", (3, 3, 21, 21), (255, 196, 60), width=2)
        p.stroke("line", [(12, 7), (12, 12), (16, 14)], (255, 220, 120), width=2)
    else:
        col = (90, 220, 120) if kind == "press" else (120, 170, 255)
        p.stroke("rrect", (3, 3, 21, 21), col, width=1.6, r=4)
        if kind == "press":
            pts = [(12, 17), (7, 10), (17, 10)]
        else:
            pts = [(12, 7), (7, 14), (17, 14)]
        p.solid("poly", pts, col)
    return p.done()


# --- busy animation ----------------------------------------------------------------------------

def busy_frames():
    name, W, H, count, _ = L.BUSY_GIF
    frames = []
    cx, cy = W / 2, H / 2
    for f in range(count):
        p = Pic(W, H, (0, 0, 0, 255))
        for s in range(12):
            age = (f - s) % 12  # 0 = the head of the sweep
            level = max(0.16, 1.0 - age / 9)
            a = math.radians(s * 30 - 90)
            r0, r1 = 38, 66
            half = math.radians(9)
            pts = [(cx + r0 * math.cos(a - half * 1.25), cy + r0 * math.sin(a - half * 1.25)),
                   (cx + r1 * math.cos(a - half), cy + r1 * math.sin(a - half)),
                   (cx + r1 * math.cos(a + half), cy + r1 * math.sin(a + half)),
                   (cx + r0 * math.cos(a + half * 1.25), cy + r0 * math.sin(a + half * 1.25))]
            colour = mix((0, 0, 0), C.ACCENT, level)
            if age == 0:
                colour = mix(C.ACCENT, (255, 255, 255), 0.45)
                p.glow("poly", pts, C.ACCENT, radius=5, alpha=200)
            p.solid("poly", pts, colour)
        frames.append(p.done().convert("RGB"))
    return frames


# --- output ------------------------------------------------------------------------------------

def build_all():
    layouts = {n: L.build(n) for n in (1, 2, 3)}
    for n, lay in layouts.items():
        put(f"L{n}_BackGround", background(lay))
        put(f"L{n}_Back1", key_page(lay))
        put(f"L{n}_Back2", advanced_page(lay))
        put(f"L{n}_Back3", breathing_page(lay))
        put(f"L{n}_Back4", macro_page(lay))
    put("Update", update_page())
    for s in ("01", "02", "03"):
        put(f"SetS_{s}", set_button(s))
        put(f"BtnS_{s}", pill_button(66, 30, s, (9, 2, 57, 28), 13))
        put(f"MacroS_{s}", pill_button(80, 25, s, (0.5, 0.5, 79.5, 24.5), 5))
        put(f"MacroBtnS_{s}", pill_button(40, 25, s, (0.5, 0.5, 39.5, 24.5), 5))
        put(f"WebS_{s}", web_button(s))
    put("KeyS_01", key_caption("01"))
    put("KeyS_02", key_caption("02"))
    put("KEYS_03", key_caption("03"))
    put("CbS_D", check_box(False))
    put("CbS_E", check_box(True))
    put("RdS_D", radio(False))
    put("RdS_E", radio(True))
    for bar in ("Bar1", "Bar2"):
        put(f"{bar}_D", step(bar, False))
        put(f"{bar}_E", step(bar, True))
    put("Col_F", colour_frame())
    put("InsertDelayBase", insert_panel("delay"))
    put("InsertKeyBase", insert_panel("key"))
    put("Dlg_AssemblyBase", dialog_base(True))
    put("Dlg_MacroNameBase", dialog_base(False))
    put("Dlg_ConfirmHover", dialog_hover())
    put("Dlg_CancelHover", dialog_hover())
    put("Evt_Delay", event_icon("delay"))
    put("Evt_Press", event_icon("press"))
    put("Evt_Release", event_icon("release"))
    return layouts


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    here = os.path.dirname(os.path.abspath(__file__))
    ap.add_argument("--out", default=os.path.normpath(os.path.join(here, "..", "..")),
                    help="repository root to write into")
    ap.add_argument("--no-optipng", action="store_true", help="skip PNG optimisation")
    args = ap.parse_args()
    skin = os.path.join(args.out, "resources", "embedded", "skin")
    layout_dir = os.path.join(args.out, "resources", "embedded", "layout")
    os.makedirs(skin, exist_ok=True)
    os.makedirs(layout_dir, exist_ok=True)

    layouts = build_all()
    missing = set(L.CATALOGUE) - set(OUT)
    if missing:
        sys.exit(f"not drawn: {sorted(missing)}")
    paths = []
    for name, img in sorted(OUT.items()):
        w, h, alpha = L.CATALOGUE[name]
        img = img.convert("RGBA" if alpha else "RGB")
        assert img.size == (w, h), (name, img.size)
        path = os.path.join(skin, name + ".png")
        img.save(path, optimize=True)
        paths.append(path)
    name, W, H, count, ms = L.BUSY_GIF
    gifwriter.write(os.path.join(skin, name + ".gif"), busy_frames(), ms, C.ACCENT)

    with open(os.path.join(layout_dir, "ORG.ini"), "wb") as f:
        f.write(L.org_text().encode("ascii"))
    for n, lay in layouts.items():
        with open(os.path.join(layout_dir, f"ORG{n}.ini"), "wb") as f:
            f.write(lay.text().encode("ascii"))

    if not args.no_optipng and shutil.which("optipng"):
        subprocess.run(["optipng", "-quiet", "-o2", "-nb", "-nc", "-np", "-strip", "all"] + paths, check=True)
    print(f"wrote {len(paths)} pictures, 1 animation, 4 layouts")


if __name__ == "__main__":
    main()
