#!/usr/bin/python3
"""Composes the window as the layout files place the pictures, for checking the art by eye.

    /usr/bin/python3 tools/art/preview.py [--out DIR]

Writes DIR/preview_L<n>_<page>.png (default /tmp/kelv_preview). Controls without pictures
(labels, boxes, lists) are drawn as outlines; captions are stand-ins, not the language tables.
"""

import argparse
import os
import sys

from PIL import Image, ImageDraw

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import layout_table as L  # noqa: E402
from paint import lang_font  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
SKIN = os.path.join(ROOT, "resources", "embedded", "skin")
LAYOUT = os.path.join(ROOT, "resources", "embedded", "layout")

NAV = {1: ("Main", "按键定义", "Main Control"), 2: ("Switch", "快捷切换", "Alternate Key"),
       3: ("Fixed", "重置按键", "Reset Control"), 4: ("Adv", "高级设置", "Advanced"),
       5: ("Breath", "灯光控制", "Breathing Light"), 6: ("Save", "保存配置", "Save Profile"),
       7: ("Load", "加载配置", "Load Profile"), 8: ("Lang1", "简体中文", "Language1"),
       9: ("Lang2", "繁体中文", "Language2"), 10: ("Lang3", "英文", "Language3"),
       11: ("Macro", "宏定义", "Macro"), 12: ("Update", "在线升级", "Update")}
PAGE_BUTTON = {"main": 1, "adv": 4, "breath": 5, "macro": 11, "update": 12}


def read_ini(path):
    vals = {}
    with open(path, "rb") as f:
        for raw in f.read().decode("ascii").split("\r\n"):
            line = raw.strip()
            if not line or line.startswith(";") or "=" not in line:
                continue
            k, v = line.split("=", 1)
            vals[k.strip().lower()] = v.strip()
    return vals


def pic(name):
    return Image.open(os.path.join(SKIN, name + ".png")).convert("RGBA")


class Win:
    def __init__(self, lang, vals, web):
        self.lang, self.v, self.web = lang, vals, web
        self.img = Image.new("RGBA", (800, 600))
        self.d = ImageDraw.Draw(self.img)

    def i(self, key):
        return int(self.v[key.lower()])

    def xy(self, prefix):
        return self.i(prefix + "_X"), self.i(prefix + "_Y")

    def paste(self, name, pos):
        im = pic(name)
        self.img.alpha_composite(im, dest=(pos[0], pos[1])) if 0 <= pos[0] < 800 and \
            0 <= pos[1] < 600 else None
        return im.size

    def caption(self, box, s, size, colour=(255, 255, 255)):
        x0, y0, x1, y1 = box
        self.d.text(((x0 + x1) / 2, (y0 + y1) / 2), s, font=lang_font(self.lang, size + 4),
                    fill=colour, anchor="mm")

    def label(self, pos, s, size=9, colour=(255, 255, 255)):
        if pos[0] < 800 and pos[1] < 600:
            self.d.text(pos, s, font=lang_font(self.lang, size + 3), fill=colour)

    def box(self, pos, size, colour=(113, 111, 100), fill=None):
        if pos[0] < 800 and pos[1] < 600:
            self.d.rectangle([pos[0], pos[1], pos[0] + size[0] - 1, pos[1] + size[1] - 1],
                             outline=colour, fill=fill)


def compose(lang, page):
    vals = read_ini(os.path.join(LAYOUT, f"ORG{lang}.ini"))
    web = read_ini(os.path.join(LAYOUT, "ORG.ini"))
    w = Win(lang, vals, web)
    w.paste(f"L{lang}_BackGround", (0, 0))
    cap = 1 if lang == 1 else 2 if lang == 3 else 1
    # page image
    pidx = {"main": 1, "adv": 2, "breath": 3, "macro": 4, "update": 5}[page]
    pname = "Update" if page == "update" else f"L{lang}_Back{pidx}"
    w.paste(pname, w.xy(f"P{pidx}"))
    # reset / exit
    for k, s in ((3, ("重置", "Reset")), (4, ("退出", "Exit"))):
        if w.i(f"Btn_A{k}_Enable") == 1:
            pos = w.xy(f"Btn_A{k}")
            sz = w.paste("BtnS_01", pos)
            w.caption((pos[0], pos[1], pos[0] + sz[0], pos[1] + sz[1]), s[0 if lang < 3 else 1],
                      w.i("Size_A"))
    sf, sb = w.i("Btn_Space_F"), w.i("Btn_Space_B")
    for k in range(1, 13):
        if w.i(f"Btn_B{k}_Enable") != 1:
            continue
        pos = w.xy(f"Btn_B{k}")
        state = "SetS_02" if k == PAGE_BUTTON[page] or k == 7 + lang else "SetS_01"
        if page == "adv" and k == 5:
            state = "SetS_03"  # show a hover too
        sz = w.paste(state, pos)
        w.caption((pos[0] + sf, pos[1], pos[0] + sz[0] - sb, pos[1] + sz[1]),
                  NAV[k][cap], w.i("Size_B"))
    w.paste("WebS_01", (int(web["web_x"]), int(web["web_y"])))
    if page == "main":
        names = {1: "左键", 2: "右键", 3: "中键", 4: "后退", 5: "前进", 6: "CPI +", 7: "CPI -",
                 8: "LED开关", 9: "连击键1", 10: "瞄准键", 11: "CPI键", 12: "LED模式键"}
        for k in range(1, 13):
            if w.i(f"Key{k}_Enable") == 1:
                pos = w.xy(f"Key{k}")
                sz = w.paste("KeyS_02" if k == 3 else "KeyS_01", pos)
                w.caption((pos[0], pos[1], pos[0] + sz[0], pos[1] + sz[1]),
                          names[k] if lang < 3 else f"Button {k}", w.i("Size_C"))
    elif page == "adv":
        for f in range(1, 4):
            w.box(w.xy(f"FK{f}Cnt"), (44, 20), fill=(113, 111, 100))
            w.label(w.xy(f"FK{f}Cnt"), " 2")
            w.box(w.xy(f"FK{f}Delay"), (60, 20), fill=(113, 111, 100))
            w.label(w.xy(f"FK{f}Delay"), " 16")
            w.paste("CbS_E" if f == 2 else "CbS_D", w.xy(f"FK{f}Continue"))
        for k in range(1, 5):
            w.paste("RdS_E" if k == 4 else "RdS_D", w.xy(f"Rep{k}"))
        for name, lit in (("Spd", 5), ("DbSpd", 7), ("ScrSpd", 3)):
            x, y = w.xy(name)
            for k in range(1, 11):
                w.paste("Bar1_E" if k <= lit else "Bar1_D", (x + (k - 1) * 24, y))
                w.label((x + (k - 1) * 24 - 4, y + 8), str(k))
        for n in range(1, 9):
            x, y = w.xy(f"DPI{n}_Color")
            if x > 800:
                continue
            w.box((x, y), (32, 32), fill=[(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0),
                                          (255, 0, 255), (0, 255, 255), (255, 128, 0),
                                          (255, 255, 255)][n - 1])
            w.paste("Col_F", (x, y))
            w.paste("CbS_E" if n == 2 else "CbS_D", w.xy(f"DPI{n}_Check"))
            w.label(w.xy(f"DPI{n}"), f"DPI{n}", 10, (255, 0, 0) if n <= 3 else (255, 255, 255))
            sx, sy = w.xy(f"DPI{n}_Steps")
            for k in range(1, 13):
                w.paste("Bar2_E" if k <= 2 + n else "Bar2_D", (sx + (k - 1) * 19, sy))
            w.label(w.xy(f"DPI{n}_Value"), ("600", "800", "1000", "1200", "1600", "2000",
                                            "2400", "3200")[n - 1])
        w.label(w.xy("AIMDPI"), "AIM", 10)
        sx, sy = w.xy("AIMDPI_Steps")
        for k in range(1, 13):
            w.paste("Bar2_E" if k <= 2 else "Bar2_D", (sx + (k - 1) * 19, sy))
        w.label(w.xy("AIMDPI_Value"), "400")
    elif page == "breath":
        x, y = w.xy("StepTime")
        for k in range(1, 11):
            w.paste("Bar1_E" if k <= 4 else "Bar1_D", (x + (k - 1) * 24, y))
            w.label((x + (k - 1) * 24 - 4, y + 8), str(k))
        for m, key in enumerate(["LEDOff"] + [f"LEDMode{i}" for i in range(1, 6)]):
            w.paste("RdS_E" if m == 2 else "RdS_D", w.xy(key))
        for c in range(1, 8):
            pos = w.xy(f"LEDColor{c}")
            w.box(pos, (32, 32), fill=[(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0),
                                       (255, 0, 255), (0, 255, 255), (255, 255, 255)][c - 1])
            w.paste("Col_F", pos)
    elif page == "macro":
        g = L.build(lang).macro
        w.box(w.xy("MacroName"), g["MacroName_size"], fill=(0, 0, 0))
        w.label(w.xy("MacroName"), " Macro 1", 9, (0, 128, 0))
        w.box(w.xy("MacroContent"), g["MacroContent_size"], fill=(0, 0, 0))
        cx, cy = w.xy("MacroContent")
        for i, (icon, s) in enumerate((("Evt_Press", "A"), ("Evt_Delay", "50 ms"),
                                        ("Evt_Release", "A"))):
            w.paste(icon, (cx + 2, cy + 2 + i * 24))
            w.label((cx + 45, cy + 4 + i * 24), s, 9, (0, 128, 0))
        for name in ("BtnStart", "BtnDel", "BtnInsert", "BtnClear", "BtnSaveMacro", "BtnRename",
                     "BtnNewMacro", "BtnDelMacro", "BtnExportOne", "BtnExport", "BtnImportOne",
                     "BtnImport"):
            pos = w.xy(name)
            sz = w.paste("MacroS_02" if name == "BtnClear" else "MacroS_01", pos)
            w.caption((pos[0], pos[1], pos[0] + sz[0], pos[1] + sz[1]), name[3:], w.i("Size_F"))
        if lang == 1:  # insert mode
            gx, gy = w.xy("Insert")
            w.paste("InsertKeyBase", (gx, gy))
            lx, ly = w.i("InsertList_X") + gx, w.i("InsertList_Y") + gy
            w.box((lx, ly), g["InsertList_size"], (200, 200, 200), fill=(240, 240, 240))
            rx, ry, rh = (w.i("InsertRecDelay_X") + gx, w.i("InsertRecDelay_Y") + gy,
                          w.i("InsertRecDelay_H"))
            for i, s in enumerate(("延迟记录", "延迟设定", "无延迟")):
                if i == 0:
                    w.d.ellipse([rx, ry + 2, rx + 10, ry + 12], fill=(0, 255, 0))
                w.label((rx - 2, ry + i * rh), "       " + s)
            ex, ey = w.i("InsertDelayEdit_X") + gx, w.i("InsertDelayEdit_Y") + gy
            w.box((ex, ey), g["InsertDelayEdit_size"], fill=(0, 0, 0))
            w.label((ex + 44, ey + 2), "毫秒")
            for name, img in (("InsertBtnStart", "MacroS_01"), ("InsertBtnOK", "MacroBtnS_01"),
                              ("InsertBtnCancel", "MacroBtnS_01")):
                pos = (w.i(name + "_X") + gx, w.i(name + "_Y") + gy)
                sz = w.paste(img, pos)
                w.caption((pos[0], pos[1], pos[0] + sz[0], pos[1] + sz[1]), name[9:11],
                          w.i("Size_F"))
        else:
            gx, gy = w.xy("DelayTime")
            w.box((gx, gy), g["Gb_Delay_size"], (60, 60, 60), fill=(24, 28, 35))
            rx, ry, rh = w.i("RecDelay_X") + gx, w.i("RecDelay_Y") + gy, w.i("RecDelay_H")
            for i, s in enumerate(("Record Delay", "Default Delay", "No Delay")):
                if i == 0:
                    w.d.ellipse([rx, ry + 2, rx + 10, ry + 12], fill=(0, 255, 0))
                w.label((rx - 2, ry + i * rh), "       " + s)
            ex, ey = w.i("DelayEdit_X") + gx, w.i("DelayEdit_Y") + gy
            w.box((ex, ey), (50, 20), fill=(0, 0, 0))
            w.label((ex + 4, ey + 2), "50", 9, (0, 128, 0))
    elif page == "update":
        w.label(w.xy("lbl_BINPath"), "Update File Path", 11)
        w.label(w.xy("lbl_LoadBin"), "/home/user/patch.bin", 11)
        for key in ("Btn_LoadBin", "Btn_Program"):
            pos = w.xy(key)
            sz = w.paste("KeyS_01", pos)
            w.caption((pos[0], pos[1], pos[0] + sz[0], pos[1] + sz[1]), key[4:], w.i("Size_I"))
    # the see-through colour shown as a checker so the outline is visible
    out = w.img.convert("RGB")
    px = out.load()
    for y in range(600):
        for x in range(800):
            if px[x, y] == (128, 0, 0):
                px[x, y] = (200, 200, 200) if (x // 8 + y // 8) % 2 else (240, 240, 240)
    return out


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--out", default="/tmp/kelv_preview")
    ap.add_argument("--lang", type=int, nargs="*", default=[1, 2, 3])
    ap.add_argument("--page", nargs="*", default=["main", "adv", "breath", "macro", "update"])
    a = ap.parse_args()
    os.makedirs(a.out, exist_ok=True)
    for lang in a.lang:
        for page in a.page:
            compose(lang, page).save(os.path.join(a.out, f"preview_L{lang}_{page}.png"))


if __name__ == "__main__":
    main()
