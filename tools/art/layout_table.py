"""Where every control sits, per language.

This table is the single source of both the ORG layout files and the positions of everything
drawn into the pictures (section titles, callouts, wells), so the two cannot drift apart.
Page contents are given relative to their page image; build() adds the page image's place.

Language 1 uses the compact layout (language buttons 2 and 3, Update and DPI levels 5..8 out
of sight); languages 2 and 3 use the full layout.
"""

from config import LED_TYPE, WEB_URL

# Picture catalogue: name -> (width, height, has alpha). Checked by check_art.py.
CATALOGUE = {
    "L1_BackGround": (800, 600, False),
    "L2_BackGround": (800, 600, False),
    "L3_BackGround": (800, 600, False),
    "Update": (540, 102, True),
    "InsertDelayBase": (207, 162, True),
    "InsertKeyBase": (207, 162, True),
    "Col_F": (32, 32, True),
    "CbS_D": (18, 19, True),
    "CbS_E": (18, 19, True),
    "RdS_D": (16, 16, True),
    "RdS_E": (16, 16, True),
    "Bar1_D": (24, 7, True),
    "Bar1_E": (24, 7, True),
    "Bar2_D": (19, 11, True),
    "Bar2_E": (19, 11, True),
    # Dialog pictures (key-combination and macro-name dialogs) and macro event icons.
    "Dlg_AssemblyBase": (354, 179, True),
    "Dlg_MacroNameBase": (354, 179, True),
    "Dlg_ConfirmHover": (97, 30, True),
    "Dlg_CancelHover": (97, 30, True),
    "Evt_Delay": (24, 24, True),
    "Evt_Press": (24, 24, True),
    "Evt_Release": (24, 24, True),
}
for _lang in (1, 2, 3):
    CATALOGUE[f"L{_lang}_Back1"] = (472, 379, True)
    CATALOGUE[f"L{_lang}_Back2"] = (705, 374, True)
    CATALOGUE[f"L{_lang}_Back3"] = (581, 281, True)
    CATALOGUE[f"L{_lang}_Back4"] = (600, 346, True)
for _fam, _size, _states in (
    ("BtnS", (66, 30), ("01", "02", "03")),
    ("SetS", (127, 36), ("01", "02", "03")),
    ("KeyS", (97, 30), ("01", "02")),
    ("WebS", (264, 21), ("01", "02", "03")),
    ("MacroS", (80, 25), ("01", "02", "03")),
    ("MacroBtnS", (40, 25), ("01", "02", "03")),
):
    for _s in _states:
        CATALOGUE[f"{_fam}_{_s}"] = (*_size, True)
CATALOGUE["KEYS_03"] = (97, 30, True)

BUSY_GIF = ("WaitGif", 200, 192, 12, 50)  # name, width, height, frames, ms per frame

SIZES = {name: (w, h) for name, (w, h, _) in CATALOGUE.items()}
KEY_W, KEY_H = SIZES["KeyS_01"]
SET_W, SET_H = SIZES["SetS_01"]
BTN_W, BTN_H = SIZES["BtnS_01"]
MAC_W, MAC_H = SIZES["MacroS_01"]
MACB_W, MACB_H = SIZES["MacroBtnS_01"]
BAR1_W = SIZES["Bar1_E"][0]
BAR2_W = SIZES["Bar2_E"][0]

# Sizes of controls without pictures that the pictures are drawn to fit (the window design
# gives them; the layout files only place them).
CONTROL_SIZES = {
    "LB_MacroName": (176, 186), "LB_macro": (164, 270), "Gb_Delay": (207, 92),
    "Edt_Delay": (50, 20), "CB_Insert": (191, 22), "Edt_InsertDelay": (44, 20),
    "lbl_Delay": (72, 16), "lbl_s_A": (24, 16), "Edt_Repeat": (44, 20),
    "Edt_DelayTime": (60, 20), "lbl_Rep": (70, 20), "lbl_Off/lbl_LED": (80, 20),
    "lbl_FireContinue": (22, 19), "lbl_DPI": (44, 18), "lbl_DPIValue": (36, 16),
    "lbl_AIMDPIValue": (36, 16), "IB_ (option rows)": (124, 18), "lbl_BINPath": (500, 20),
    "lbl_LoadBIN": (500, 22),
}

WEB_POS = (500, 574)  # the same on every page and in every language
HIDDEN = 1100  # coordinates from here on are out of sight

# The window's outline; outside it the background is the see-through key colour.
OUTLINE = [
    (28, 0), (772, 0), (800, 28), (800, 232), (792, 240), (792, 400), (800, 408),
    (800, 580), (780, 600), (20, 600), (0, 580), (0, 408), (8, 400), (8, 240), (0, 232),
    (0, 28),
]

# Points of the mouse drawing (relative to the key page image) that each button's callout
# points at: 1 left, 2 right, 3 wheel, 4 back, 5 forward, 6 DPI+, 7 DPI-, 8 rear side,
# 9 front left, 10 right side front, 11 right side rear, 12 palm.
KEY_ANCHORS = {
    1: (188, 92), 2: (284, 92), 3: (236, 99), 4: (133, 231), 5: (137, 189), 6: (236, 155),
    7: (236, 179), 8: (132, 274), 9: (166, 118), 10: (335, 200), 11: (340, 246), 12: (236, 304),
}
KEY_COL_X = {"L": 8, "R": 367}  # caption columns, relative to the key page image
KEY_ELBOW_X = {"L": 124, "R": 350}

# Lighting choices each lighting type offers (0 = off).
LED_MODES = {"RGB": [0, 1, 2, 3, 4, 5], "Sync": [0, 1, 2], "NT": [0, 1, 2, 3, 5]}

STYLES = {
    "compact": {
        "size_a": 11,
        "reset": (10, 120),
        "exit": (10, 160),
        "space": (0, 0),
        # section-B button k -> position, None = out of sight
        "b": {1: (14, 56), 2: (143, 56), 3: (272, 56), 4: (401, 56), 5: (530, 56),
              11: (659, 56), 6: (40, 534), 7: (172, 534), 8: (304, 534), 9: None,
              10: None, 12: None},
        "b_spare": {9: (436, 534), 10: (568, 534)},  # where they would go if enabled
        "p": {1: (195, 104), 2: (82, 108), 3: (145, 170), 4: (136, 130), 5: (166, 240)},
        # key -> (column, caption top) relative to the key page image
        "keys": {1: ("L", 40), 9: ("L", 120), 5: ("L", 200),
                 3: ("R", 40), 7: ("R", 120), 11: ("R", 200)},
        "dpi_levels": 4,
        "dpi_pitch": 40,
        "led_hidden": {1},  # the shipped language-1 layout keeps mode 1 out of sight
    },
    "full": {
        "size_a": 9,
        "reset": (690, 49),
        "exit": (740, 49),
        "space": (12, 12),
        "b": {8: (300, 49), 9: (418, 49), 10: (536, 49),
              1: (38, 514), 2: (160, 514), 3: (282, 514), 4: (404, 514), 5: (526, 514),
              11: (648, 514), 12: (38, 556), 6: (160, 556), 7: (282, 556)},
        "b_spare": {},
        "p": {1: (174, 131), 2: (48, 114), 3: (110, 160), 4: (100, 125), 5: (130, 250)},
        "keys": {1: ("L", 30), 9: ("L", 105), 5: ("L", 180),
                 2: ("R", 30), 3: ("R", 95), 6: ("R", 160), 10: ("R", 225)},
        "dpi_levels": 8,
        "dpi_pitch": 33,
        "led_hidden": set(),
    },
}
STYLE_OF_LANG = {1: "compact", 2: "full", 3: "full"}

B_NAMES = {1: "Main Control", 2: "Switch Control", 3: "Fixed Control", 4: "Advanced",
           5: "Breathing Light", 6: "Save Profile", 7: "Load Profile", 8: "Language1",
           9: "Language2", 10: "Language3", 11: "Macro", 12: "Update"}


def _adv_geometry(style):
    """Advanced page, relative to its image."""
    s = STYLES[style]
    g = {"levels": {}, "cards": {}}
    pitch = s["dpi_pitch"]
    for n in range(1, 9):
        if n <= s["dpi_levels"]:
            ry = 46 + (n - 1) * pitch
            g["levels"][n] = {
                "row": ry,
                "Color": (356, ry),
                "Check": (58, ry + 7),
                "Label": (12, ry + 8),
                "Value": (318, ry + 9),
                "Steps": (84, ry + 11),
            }
    last = 46 + (s["dpi_levels"] - 1) * pitch + 32
    dpi_bottom = last + (10 if style == "compact" else 3)
    g["cards"]["dpi"] = (0, 0, 398, dpi_bottom)
    top = dpi_bottom + 8
    g["cards"]["aim"] = (0, top, 398, top + 36)
    # The picture carries the AIM title, so the caption label stays out of sight.
    g["aim"] = {"Label": None, "Value": (318, top + 9), "Steps": (84, top + 10)}
    g["rep"] = {k: (422 + (k - 1) * 70, 36) for k in range(1, 5)}
    g["fire"] = {}
    for f in range(1, 4):
        ry = 118 + (f - 1) * 26
        g["fire"][f] = {"row": ry, "Cnt": (514, ry), "Delay": (572, ry),
                        "Continue": (662, ry + 1)}
    g["strips"] = {"Spd": (430, 232), "DbSpd": (430, 288), "ScrSpd": (430, 344)}
    g["cards"]["rate"] = (408, 0, 705, 64)
    g["cards"]["fire"] = (408, 72, 705, 196)
    g["cards"]["pointer"] = (408, 204, 705, 374)
    g["box_sizes"] = {"Cnt": CONTROL_SIZES["Edt_Repeat"], "Delay": CONTROL_SIZES["Edt_DelayTime"]}
    return g


def _led_order(style, led_type):
    hidden = STYLES[style]["led_hidden"]
    return [m for m in LED_MODES[led_type] if m not in hidden]


def _breath_geometry(style, led_type=LED_TYPE):
    g = {"cards": {"mode": (0, 0, 581, 86), "colours": (0, 94, 581, 182),
                   "step": (0, 190, 581, 281)}}
    g["modes"] = {m: (20 + j * 92, 44) for j, m in enumerate(_led_order(style, led_type))}
    g["colours"] = {c: (20 + (c - 1) * 52, 126) for c in range(1, 8)}
    g["step"] = (20, 232)
    return g


def _macro_geometry():
    g = {"cards": {"list": (0, 0, 196, 346), "events": (204, 0, 384, 346),
                   "rec": (392, 0, 600, 346)}}
    g["MacroName"] = (10, 30)
    g["MacroName_size"] = CONTROL_SIZES["LB_MacroName"]
    g["MacroContent"] = (212, 30)
    g["MacroContent_size"] = CONTROL_SIZES["LB_macro"]
    g["buttons"] = {
        "BtnNewMacro": (10, 224), "BtnDelMacro": (106, 224),
        "BtnRename": (10, 254), "BtnClear": (106, 254),
        "BtnExportOne": (10, 284), "BtnImportOne": (106, 284),
        "BtnExport": (10, 314), "BtnImport": (106, 314),
        "BtnDel": (212, 310), "BtnInsert": (296, 310),
        "BtnStart": (404, 32), "BtnSaveMacro": (508, 32),
    }
    g["group"] = (393, 66)  # Gb_Delay and Gb_Insert
    g["Gb_Delay_size"] = CONTROL_SIZES["Gb_Delay"]
    g["RecDelay"] = (12, 12, 23)
    g["DelayEdit"] = (140, 33)
    g["hint"] = (404, 244)
    # inside Gb_Insert
    g["InsertList"] = (8, 8)
    g["InsertList_size"] = CONTROL_SIZES["CB_Insert"]
    g["InsertRecDelay"] = (14, 44, 23)
    g["InsertDelayEdit"] = (136, 65)
    g["InsertDelayEdit_size"] = CONTROL_SIZES["Edt_InsertDelay"]
    g["InsertBtnStart"] = (12, 124)
    g["InsertBtnOK"] = (108, 124)
    g["InsertBtnCancel"] = (156, 124)
    return g


def _update_geometry():
    return {"lbl_BINPath": (16, 8), "lbl_LoadBin": (22, 38), "well": (14, 32, 526, 60),
            "Btn_LoadBin": (318, 66), "Btn_Program": (428, 66)}


def _key_geometry(style):
    keys = {}
    for k, (col, y) in STYLES[style]["keys"].items():
        keys[k] = {"col": col, "pos": (KEY_COL_X[col], y), "anchor": KEY_ANCHORS[k]}
    return keys


class Layout:
    """One language: the ORG lines and the geometry the pictures are drawn from."""

    def __init__(self, lang):
        self.lang = lang
        self.style = STYLE_OF_LANG[lang]
        s = STYLES[self.style]
        self.s = s
        self.p = s["p"]
        self.keys = _key_geometry(self.style)
        self.adv = _adv_geometry(self.style)
        self.breath = _breath_geometry(self.style)
        self.macro = _macro_geometry()
        self.update = _update_geometry()
        self.lines = []
        self._build()

    # --- ORG text -------------------------------------------------------------------------
    def banner(self, text):
        self.lines += ["", "//" + "*" * 60, f"//*** {text} ***", "//" + "*" * 60]

    def comment(self, text):
        self.lines.append(";" + text)

    def key(self, name, value, trailing=""):
        self.lines.append(f"{name}={value}{trailing}")

    def colour(self, prefix, rgb):
        for ch, v in zip("RGB", rgb):
            self.key(f"{prefix}_{ch}", v)

    def xy(self, prefix, pos, origin=(0, 0)):
        if pos is None:
            self.key(f"{prefix}_X", HIDDEN)
            self.key(f"{prefix}_Y", HIDDEN)
        else:
            self.key(f"{prefix}_X", origin[0] + pos[0])
            self.key(f"{prefix}_Y", origin[1] + pos[1])

    def _build(self):
        s, n = self.s, self.lang
        self.lines = [
            "//" + "*" * 60,
            "//*** OEM layout of the window ***",
            "//*** Positions in pixels from the top left of the window, font sizes in",
            "//*** points, colours as _R/_G/_B from 0 to 255; values above 1000 put a",
            "//*** control out of sight. Generated by tools/art/make_art.py.",
            "//" + "*" * 60,
            f"[org{n}]",
        ]
        self.banner("Reset & Exit Button")
        self.key("Size_A", s["size_a"])
        self.colour("Color_A", (255, 255, 255))
        self.comment("Reset button")
        self.key("Btn_A3_Enable", 1, trailing=" ")
        self.xy("Btn_A3", s["reset"])
        self.comment("Exit button")
        self.key("Btn_A4_Enable", 1)
        self.xy("Btn_A4", s["exit"])

        self.banner("Function Buttons")
        self.key("Size_B", 11)
        self.colour("Color_B", (255, 255, 255))
        self.comment("Insets of the caption inside irregular pictures (front, back)")
        self.key("Btn_Space_F", s["space"][0])
        self.key("Btn_Space_B", s["space"][1])
        for k in range(1, 13):
            pos = s["b"][k]
            self.comment(f"B{k}: {B_NAMES[k]}")
            self.key(f"Btn_B{k}_Enable", 1 if pos else 0)
            self.xy(f"Btn_B{k}", pos or s["b_spare"].get(k))

        self.banner("Key Definition Page")
        self.key("Size_C", 11)
        self.colour("Color_C", (255, 255, 255))
        self.xy("P1", (0, 0), self.p[1])
        self.comment("Buttons of the mouse: Key1 left, Key2 right, Key3 middle, Key4 back,")
        self.comment("Key5 forward, Key6/Key7 DPI, Key8..Key12 extra buttons")
        for k in range(1, 13):
            g = self.keys.get(k)
            self.key(f"Key{k}_Enable", 1 if g else 0, trailing=" " if k == 1 else "")
            self.xy(f"Key{k}", g["pos"] if g else None, self.p[1])
        self.comment("Cover of the key area while no mouse is connected")
        self.key("Disable_X", 86)
        self.key("Disable_Y", 104)
        self.key("Disable_H", 378)
        self.key("Disable_W", 587)

        self._build_adv()
        self._build_breath()
        self._build_macro()
        self._build_update()

    def _build_adv(self):
        s, g, o = self.s, self.adv, self.p[2]
        self.banner("Advanced Page")
        self.key("Size_D", 9)
        self.comment("Level label colour of the DPI levels in use / not in use")
        self.colour("Color_D_Selected", (255, 0, 0))
        self.colour("Color_D_notSelected", (255, 255, 255))
        self.comment("Fire key boxes: background and border")
        self.colour("Color_D_Back", (113, 111, 100))
        self.xy("P2", (0, 0), o)
        self.comment("Fire keys: repeat count, delay time, hold to repeat")
        for f in range(1, 4):
            self.xy(f"FK{f}Cnt", g["fire"][f]["Cnt"], o)
        for f in range(1, 4):
            self.xy(f"FK{f}Delay", g["fire"][f]["Delay"], o)
        for f in range(1, 4):
            self.xy(f"FK{f}Continue", g["fire"][f]["Continue"], o)
        self.comment("Report rate 125 / 250 / 500 / 1000 Hz")
        for k in range(1, 5):
            self.xy(f"Rep{k}", g["rep"][k], o)
        self.comment("Pointer speed, double-click speed, scroll lines (ten steps each)")
        for name in ("Spd", "DbSpd", "ScrSpd"):
            self.xy(name, g["strips"][name], o)
        self.comment("DPI strips: 0 vertical, 1 horizontal")
        self.key("DPI_Orientation", 1)
        for n in range(1, 9):
            lv = g["levels"].get(n)
            self.comment(f"DPI level {n}" + ("" if lv else " (out of sight)"))
            for part, key in (("Color", f"DPI{n}_Color"), ("Check", f"DPI{n}_Check"),
                              ("Label", f"DPI{n}"), ("Value", f"DPI{n}_Value"),
                              ("Steps", f"DPI{n}_Steps")):
                if lv:
                    self.xy(key, lv[part], o)
                else:
                    self.key(f"{key}_X", HIDDEN + 30 * n)
                    self.key(f"{key}_Y", HIDDEN + 40 * n)
        self.comment("AIM DPI; the picture carries its title, so its caption is out of sight")
        a = g["aim"]
        self.xy("AIMDPI", a["Label"], o)
        self.xy("AIMDPI_Value", a["Value"], o)
        self.xy("AIMDPI_Steps", a["Steps"], o)

    def _build_breath(self):
        g, o = self.breath, self.p[3]
        self.banner("Breathing Light Page")
        self.key("Size_E", 9)
        self.colour("Color_E", (255, 255, 255))
        self.xy("P3", (0, 0), o)
        self.comment("Breathing step time (ten steps)")
        self.xy("StepTime", g["step"], o)
        alt = {t: _breath_geometry(self.style, t)["modes"] for t in LED_MODES}
        for m in range(0, 6):
            key = "LEDOff" if m == 0 else f"LEDMode{m}"

            def fmt(pos):
                if pos:
                    return f"({o[0] + pos[0]},{o[1] + pos[1]})"
                return "({},{})".format(*self._led_hidden_pos(m))

            self.comment("/".join(f"{t}{fmt(alt[t].get(m))}" for t in ("RGB", "Sync", "NT")))
            pos = g["modes"].get(m)
            if pos:
                self.xy(key, pos, o)
            else:
                hx, hy = self._led_hidden_pos(m)
                self.key(f"{key}_X", hx)
                self.key(f"{key}_Y", hy)
        self.comment("Lighting colours 1..7")
        for c in range(1, 8):
            self.xy(f"LEDColor{c}", g["colours"][c], o)

    def _led_hidden_pos(self, m):
        # the shipped language-1 layout parks mode 1 at this place
        return (1130, 1240) if m == 1 and m in self.s["led_hidden"] else (HIDDEN, HIDDEN)

    def _build_macro(self):
        g, o = self.macro, self.p[4]
        self.banner("Macro Page")
        self.key("Size_F", 9)
        self.colour("Color_F", (255, 255, 255))
        self.comment("Text and background of the macro lists and delay boxes")
        self.colour("Color_F_Font", (0, 128, 0))
        self.colour("Color_F_Back", (0, 0, 0))
        self.xy("P4", (0, 0), o)
        self.xy("MacroName", g["MacroName"], o)
        self.key("MacroNameHeight", 20)
        for name in ("BtnStart", "BtnDel", "BtnInsert", "BtnClear", "BtnSaveMacro", "BtnRename",
                     "BtnNewMacro", "BtnDelMacro", "BtnExportOne", "BtnExport", "BtnImportOne",
                     "BtnImport"):
            self.xy(name, g["buttons"][name], o)
        self.xy("MacroContent", g["MacroContent"], o)
        self.comment("Delay option group; the keys after it are relative to the group")
        self.xy("DelayTime", g["group"], o)
        x, y, h = g["RecDelay"]
        self.xy("RecDelay", (x, y))
        self.key("RecDelay_H", h)
        self.xy("DelayEdit", g["DelayEdit"])
        self.comment("Insert group; the keys after it are relative to the group")
        self.xy("Insert", g["group"], o)
        self.xy("InsertList", g["InsertList"])
        x, y, h = g["InsertRecDelay"]
        self.xy("InsertRecDelay", (x, y))
        self.key("InsertRecDelay_H", h)
        self.xy("InsertDelayEdit", g["InsertDelayEdit"])
        self.xy("InsertBtnStart", g["InsertBtnStart"])
        self.xy("InsertBtnOK", g["InsertBtnOK"])
        self.xy("InsertBtnCancel", g["InsertBtnCancel"])

    def _build_update(self):
        g, o = self.update, self.p[5]
        self.banner("Update Page")
        self.key("Size_I", 11)
        self.colour("Color_I", (255, 255, 255))
        self.xy("P5", (0, 0), o)
        self.xy("lbl_BINPath", g["lbl_BINPath"], o)
        self.xy("lbl_LoadBin", g["lbl_LoadBin"], o)
        self.xy("Btn_LoadBin", g["Btn_LoadBin"], o)
        self.xy("Btn_Program", g["Btn_Program"], o)

    def text(self):
        return "\r\n".join(self.lines) + "\r\n"

    # Window positions of the section-B buttons in sight (for the background's wells).
    def nav_buttons(self):
        return [pos for pos in self.s["b"].values() if pos]


def org_text():
    lines = [
        "//" + "*" * 60,
        "//*** OEM web link and reserved IDs. Generated by tools/art/make_art.py.",
        "//" + "*" * 60,
        "[org]",
        ";Web page the web button opens",
        f"Web={WEB_URL}",
        f"Web_X={WEB_POS[0]}",
        f"Web_Y={WEB_POS[1]}",
        ";Reserve Manufacturer ID & Product ID",
        "Rev_Manu_ID=0",
        "Rev_Pro_ID=0",
    ]
    return "\r\n".join(lines) + "\r\n"


def build(lang):
    return Layout(lang)
