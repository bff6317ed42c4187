#!/usr/bin/python3
"""Checks the generated skin and layouts against the catalogue.

    /usr/bin/python3 tools/art/check_art.py

Every catalogued picture exists at its size as an 8-bit RGB/RGBA PNG; the see-through colour
appears only in the pictures meant to have it; the busy GIF has its frame count and timing;
the layout files are ASCII with CR LF line ends and hold every key with an integer value.
Exits non-zero on the first list of faults.
"""

import os
import struct
import sys
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import layout_table as L  # noqa: E402

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
SKIN = os.path.join(ROOT, "resources", "embedded", "skin")
LAYOUT = os.path.join(ROOT, "resources", "embedded", "layout")
KEYED = {"L1_BackGround", "L2_BackGround", "L3_BackGround", "Dlg_AssemblyBase",
         "Dlg_MacroNameBase"}


def png_header(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    w, h, depth, ctype = struct.unpack(">IIBB", data[16:26])
    return w, h, depth, ctype, data


def has_key_colour(path):
    from PIL import Image
    im = Image.open(path).convert("RGBA")
    return any(p[:3] == (128, 0, 0) and p[3] > 0 for p in im.getdata())


def main():
    faults = []
    total = 0
    print(f"{'resource':22} {'size':>9}  type   bytes")
    for name, (w, h, alpha) in sorted(L.CATALOGUE.items()):
        path = os.path.join(SKIN, name + ".png")
        if not os.path.exists(path):
            faults.append(f"{name}: missing")
            continue
        pw, ph, depth, ctype, data = png_header(path)
        total += len(data)
        kind = {2: "RGB", 6: "RGBA"}.get(ctype, f"type{ctype}")
        print(f"{name:22} {pw:4}x{ph:<4}  {kind:5} {len(data):6}")
        if (pw, ph) != (w, h):
            faults.append(f"{name}: {pw}x{ph}, expected {w}x{h}")
        if depth != 8 or ctype not in (2, 6):
            faults.append(f"{name}: bit depth {depth}, colour type {ctype}")
        if alpha and ctype != 6:
            faults.append(f"{name}: no alpha channel")
        keyed = has_key_colour(path)
        if name in KEYED and not keyed:
            faults.append(f"{name}: has no see-through area")
        if name not in KEYED and keyed:
            faults.append(f"{name}: uses the see-through colour")
    extra = {os.path.splitext(f)[0] for f in os.listdir(SKIN)} - set(L.CATALOGUE) - {
        L.BUSY_GIF[0], "README"}
    if extra:
        faults.append(f"not catalogued: {sorted(extra)}")

    name, gw, gh, frames, ms = L.BUSY_GIF
    from PIL import Image, ImageSequence
    gif = os.path.join(SKIN, name + ".gif")
    im = Image.open(gif)
    durations = [f.info.get("duration") for f in ImageSequence.Iterator(im)]
    total += os.path.getsize(gif)
    print(f"{name:22} {im.size[0]:4}x{im.size[1]:<4}  GIF   {os.path.getsize(gif):6}"
          f"  {len(durations)} frames, {set(durations)} ms")
    if im.size != (gw, gh) or len(durations) != frames or set(durations) != {ms}:
        faults.append(f"{name}: {im.size}, {len(durations)} frames, {set(durations)} ms")
    im.seek(0)
    if im.convert("RGB").getpixel((0, 0)) != (0, 0, 0):
        faults.append(f"{name}: background is not black")

    for n in (0, 1, 2, 3):
        fname = "ORG.ini" if n == 0 else f"ORG{n}.ini"
        with open(os.path.join(LAYOUT, fname), "rb") as f:
            raw = f.read()
        try:
            txt = raw.decode("ascii")
        except UnicodeDecodeError:
            faults.append(f"{fname}: not ASCII")
            continue
        if "\n" in txt.replace("\r\n", ""):
            faults.append(f"{fname}: line ends other than CR LF")
        section, keys = None, {}
        for line in txt.split("\r\n"):
            line = line.strip()
            if line.startswith("[") and line.endswith("]"):
                section = line[1:-1]
            elif line and not line.startswith(";") and "=" in line:
                k, v = (s.strip() for s in line.split("=", 1))
                if k.lower() in keys:
                    faults.append(f"{fname}: {k} twice")
                keys[k.lower()] = v
        want = "org" if n == 0 else f"org{n}"
        if section != want:
            faults.append(f"{fname}: section [{section}], expected [{want}]")
        expected = L.org_text() if n == 0 else L.build(n).text()
        if txt != expected:
            faults.append(f"{fname}: differs from layout_table.py (run make_art.py)")
        for k, v in keys.items():
            if k != "web" and not v.lstrip("-").isdigit():
                faults.append(f"{fname}: {k}={v} is not an integer")
        required = ["web", "web_x", "web_y", "rev_manu_id", "rev_pro_id"] if n == 0 else \
            required_keys()
        for k in required:
            if k.lower() not in keys:
                faults.append(f"{fname}: {k} missing")
        if n:
            faults += geometry_faults(fname, keys)
    print(f"total {total} bytes")
    if faults:
        print("\n".join(faults))
        sys.exit(1)
    print("all good")


def geometry_faults(fname, keys):
    """Controls in sight stay inside the window and do not overlap their neighbours."""
    faults = []

    def rect(prefix, size, shown_key=None):
        if shown_key and keys.get(shown_key.lower()) != "1":
            return None
        x, y = int(keys[prefix.lower() + "_x"]), int(keys[prefix.lower() + "_y"])
        if x >= 1000 or y >= 1000:
            return None
        return (x, y, x + size[0], y + size[1])

    def inside(r, box):
        return r[0] >= box[0] and r[1] >= box[1] and r[2] <= box[2] and r[3] <= box[3]

    def overlap(a, b):
        return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]

    S = L.SIZES
    f, b = int(keys["btn_space_f"]), int(keys["btn_space_b"])
    nav = [rect(f"Btn_B{k}", S["SetS_01"], f"Btn_B{k}_Enable") for k in range(1, 13)]
    # the pictures' slanted ends may interlock; their caption labels may not overlap
    nav_labels = [(r[0] + f, r[1], r[2] - b, r[3]) if r else None for r in nav]
    groups = {
        "navigation": nav_labels,
        "keys": [rect(f"Key{k}", S["KeyS_01"], f"Key{k}_Enable") for k in range(1, 13)],
        "macro buttons": [rect(b, S["MacroS_01"]) for b in (
            "BtnStart", "BtnDel", "BtnInsert", "BtnClear", "BtnSaveMacro", "BtnRename",
            "BtnNewMacro", "BtnDelMacro", "BtnExportOne", "BtnExport", "BtnImportOne",
            "BtnImport")],
        "lighting colours": [rect(f"LEDColor{c}", S["Col_F"]) for c in range(1, 8)],
        "DPI colours": [rect(f"DPI{n}_Color", S["Col_F"]) for n in range(1, 9)],
        "DPI strips": [rect(f"DPI{n}_Steps", (12 * L.BAR2_W, S["Bar2_E"][1]))
                       for n in range(1, 9)] + [rect("AIMDPI_Steps", (12 * L.BAR2_W, 11))],
        "ten-step strips": [rect(s, (10 * L.BAR1_W, 22)) for s in ("Spd", "DbSpd", "ScrSpd")],
        "report rate": [rect(f"Rep{k}", (70, 16)) for k in range(1, 5)],
        "lighting modes": [rect(k, (80, 16)) for k in ["LEDOff"] +
                           [f"LEDMode{m}" for m in range(1, 6)]],
        "fire keys": [rect(f"FK{f}{s}", L.CONTROL_SIZES[e]) for f in (1, 2, 3)
                      for s, e in (("Cnt", "Edt_Repeat"), ("Delay", "Edt_DelayTime"))] +
                     [rect(f"FK{f}Continue", S["CbS_E"]) for f in (1, 2, 3)],
    }
    for name, rects in groups.items():
        rects = [r for r in rects if r]
        for i, a in enumerate(rects):
            if not inside(a, (0, 0, 800, 600)):
                faults.append(f"{fname}: a control of {name} leaves the window: {a}")
            for b in rects[i + 1:]:
                if overlap(a, b):
                    faults.append(f"{fname}: {name} overlap: {a} {b}")
    cover = (int(keys["disable_x"]), int(keys["disable_y"]),
             int(keys["disable_x"]) + int(keys["disable_w"]),
             int(keys["disable_y"]) + int(keys["disable_h"]))
    for r in filter(None, groups["keys"]):
        if not inside(r, cover):
            faults.append(f"{fname}: key caption {r} is not under the Disable cover")
    for r in filter(None, nav):
        if overlap(r, cover):
            faults.append(f"{fname}: navigation button {r} lies under the Disable cover")
    for p, name in ((1, "L1_Back1"), (2, "L1_Back2"), (3, "L1_Back3"), (4, "L1_Back4"),
                    (5, "Update")):
        r = rect(f"P{p}", S[name])
        if not inside(r, (0, 0, 800, 600)):
            faults.append(f"{fname}: page image P{p} leaves the window: {r}")
    return faults


def required_keys():
    ks = ["Size_A", "Btn_A3_Enable", "Btn_A4_Enable", "Size_B", "Btn_Space_F", "Btn_Space_B",
          "Size_C", "P1_X", "P1_Y", "Disable_X", "Disable_Y", "Disable_H", "Disable_W",
          "Size_D", "P2_X", "P2_Y", "DPI_Orientation", "Size_E", "P3_X", "P3_Y", "Size_F",
          "P4_X", "P4_Y", "MacroNameHeight", "RecDelay_H", "InsertRecDelay_H", "Size_I",
          "P5_X", "P5_Y"]
    for c in ("Color_A", "Color_B", "Color_C", "Color_D_Selected", "Color_D_notSelected",
              "Color_D_Back", "Color_E", "Color_F", "Color_F_Font", "Color_F_Back", "Color_I"):
        ks += [f"{c}_{ch}" for ch in "RGB"]
    xy = ["Btn_A3", "Btn_A4"] + [f"Btn_B{k}" for k in range(1, 13)] + \
        [f"Key{k}" for k in range(1, 13)]
    xy += [f"FK{f}{s}" for s in ("Cnt", "Delay", "Continue") for f in (1, 2, 3)]
    xy += [f"Rep{k}" for k in range(1, 5)] + ["Spd", "DbSpd", "ScrSpd"]
    for n in range(1, 9):
        xy += [f"DPI{n}_Color", f"DPI{n}_Check", f"DPI{n}", f"DPI{n}_Value", f"DPI{n}_Steps"]
    xy += ["AIMDPI", "AIMDPI_Value", "AIMDPI_Steps", "StepTime", "LEDOff"]
    xy += [f"LEDMode{m}" for m in range(1, 6)] + [f"LEDColor{c}" for c in range(1, 8)]
    xy += ["MacroName", "BtnStart", "BtnDel", "BtnInsert", "BtnClear", "BtnSaveMacro",
           "BtnRename", "BtnNewMacro", "BtnDelMacro", "BtnExportOne", "BtnExport",
           "BtnImportOne", "BtnImport", "MacroContent", "DelayTime", "RecDelay", "DelayEdit",
           "Insert", "InsertList", "InsertRecDelay", "InsertDelayEdit", "InsertBtnStart",
           "InsertBtnOK", "InsertBtnCancel", "lbl_BINPath", "lbl_LoadBin", "Btn_LoadBin",
           "Btn_Program"]
    ks += [f"Btn_B{k}_Enable" for k in range(1, 13)] + [f"Key{k}_Enable" for k in range(1, 13)]
    for p in xy:
        ks += [p + "_X", p + "_Y"]
    return [k.lower() for k in ks]


if __name__ == "__main__":
    main()
