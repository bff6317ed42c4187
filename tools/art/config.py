"""Branding of the skin: colours, fonts, texts and the web address.

An OEM re-brands the window by editing this file and running make_art.py. Positions live in
layout_table.py, which both the pictures and the ORG layout files are generated from.
"""

# --- Web link (the ORG resource and the picture of the web button) -------------------------
WEB_URL = "https://www.example.com/"
WEB_TEXT = "www.example.com"  # what the web button shows

PRODUCT = "KELV731x"
PRODUCT_SUB = "GAMING MOUSE"

# Lighting type the page pictures and layouts are made for: "RGB", "Sync" or "NT".
# The ORG comments list the positions for all three.
LED_TYPE = "RGB"

# --- Colours (R, G, B) ----------------------------------------------------------------------
# The window's see-through key colour. Every pixel of the background (and of the dialog
# backgrounds) left in exactly this colour is transparent; no other picture may use it.
KEY = (128, 0, 0)

ACCENT = (0, 190, 255)  # lit steps, selected buttons, glows
ACCENT_DEEP = (0, 96, 150)  # fill of the selected page button
ACCENT_SOFT = (90, 220, 255)  # hover outlines, highlights
WARN = (255, 70, 70)  # record mark

BG_TOP = (24, 27, 34)  # window background gradient
BG_BOTTOM = (10, 11, 15)
FRAME = (56, 63, 76)  # window outline
PANEL = (22, 25, 32)  # section cards
PANEL_EDGE = (52, 60, 74)
WELL = (7, 8, 11)  # recessed areas under lists and boxes
WELL_EDGE = (40, 46, 57)
BUTTON_TOP = (50, 56, 68)  # normal button gradient
BUTTON_BOTTOM = (28, 32, 40)
STEP_OFF = (46, 52, 63)  # unlit strip steps
TEXT = (232, 238, 245)
TEXT_DIM = (140, 152, 168)

BUSY_BACK = (0, 0, 0)  # see-through colour of the busy pop-up

# --- Fonts ----------------------------------------------------------------------------------
# (file, face index); installed by setup.sh.
_CJK = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"
_CJK_BOLD = "/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc"
FONTS = {
    # language: (regular, bold)
    1: ((_CJK, 2), (_CJK_BOLD, 2)),  # Noto Sans CJK SC
    2: ((_CJK, 3), (_CJK_BOLD, 3)),  # Noto Sans CJK TC
    3: ((_CJK, 2), (_CJK_BOLD, 2)),  # its Latin glyphs
}
LOGO_FONT = ("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", 0)
LATIN_FONT = ("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 0)
LATIN_BOLD = ("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", 0)

# --- Texts drawn into the pictures ----------------------------------------------------------
# Language 1 Simplified Chinese, 2 Traditional Chinese, 3 English.
TEXTS = {
    "subtitle": {1: "游戏鼠标设置", 2: "遊戲滑鼠設定", 3: "Configuration Utility"},
    "keys_hint": {
        1: "点击按键名称为该键指定功能",
        2: "點擊按鍵名稱為該鍵指定功能",
        3: "Click a button's name to assign its function",
    },
    "dpi": {1: "DPI 档位与颜色", 2: "DPI 檔位與顏色", 3: "DPI Levels & Colours"},
    "dpi_level": {1: "档位", 2: "檔位", 3: "Level"},
    "dpi_current": {1: "当前", 2: "當前", 3: "Now"},
    "dpi_value": {1: "DPI 值", 2: "DPI 值", 3: "DPI"},
    "dpi_colour": {1: "颜色", 2: "顏色", 3: "Colour"},
    "aim": {1: "瞄准 DPI", 2: "瞄準 DPI", 3: "AIM DPI"},
    "rate": {1: "回报率", 2: "回報率", 3: "Report Rate"},
    "fire": {1: "连击键", 2: "連擊鍵", 3: "Fire Keys"},
    "fire_row": {1: "连击键{n}", 2: "連擊鍵{n}", 3: "Fire Key {n}"},
    "fire_count": {1: "次数", 2: "次數", 3: "Repeat"},
    "fire_delay": {1: "间隔(ms)", 2: "間隔(ms)", 3: "Delay (ms)"},
    "fire_cont": {1: "连续", 2: "連續", 3: "Continuous"},
    "dpi_hint": {
        1: "点击档位名称启用或停用该档；\n点击方框将其设为当前档位。",
        2: "點擊檔位名稱啟用或停用該檔；\n點擊方框將其設為當前檔位。",
        3: "Click a level's name to switch it on or off;\nclick its box to make it the current level.",
    },
    "speed": {1: "指针速度", 2: "指標速度", 3: "Pointer Speed"},
    "dbspeed": {1: "双击速度", 2: "雙擊速度", 3: "Double-Click Speed"},
    "scroll": {1: "滚轮行数", 2: "滾輪行數", 3: "Scroll Lines"},
    "slow": {1: "慢", 2: "慢", 3: "slow"},
    "fast": {1: "快", 2: "快", 3: "fast"},
    "led_mode": {1: "灯光模式", 2: "燈光模式", 3: "Lighting Mode"},
    "led_off": {1: "关闭", 2: "關閉", 3: "Off"},
    "led_n": {1: "模式{n}", 2: "模式{n}", 3: "Mode {n}"},
    "led_colours": {1: "灯光颜色", 2: "燈光顏色", 3: "Light Colours"},
    "step_time": {1: "呼吸步进时间", 2: "呼吸步進時間", 3: "Breathing Step Time"},
    "macro_list": {1: "宏列表", 2: "巨集列表", 3: "Macro List"},
    "macro_events": {1: "宏内容", 2: "巨集內容", 3: "Macro Events"},
    "macro_rec": {1: "录制", 2: "錄製", 3: "Recording"},
    # The delay options of the recording group (the language tables' Str414..Str416).
    "delay_modes": {
        1: ("延迟记录", "延迟设定", "无延迟"),
        2: ("延遲記錄", "延遲設定", "無延遲"),
        3: ("Record Delay", "Default Delay", "No Delay"),
    },
    "macro_hint": {
        1: "开始记录后按下按键或鼠标键；\n保存记录将所有宏写入鼠标。",
        2: "開始記錄後按下按鍵或滑鼠鍵；\n保存記錄將所有巨集寫入滑鼠。",
        3: "Record, then press keys or buttons.\nSave Macro writes all macros\nto the mouse.",
    },
    "rate_hz": {1: "{n}Hz", 2: "{n}Hz", 3: "{n} Hz"},
}

# Texts of the dialogs' own pictures are neutral (the captions come from the language table).
UPDATE_TITLE = "FIRMWARE UPDATE"
