#!/usr/bin/env python3
"""Writes the embedded default image KELV731xData (768 bytes, I2C macro storage).

Run it by hand after changing a default; the build uses the committed .bin and never runs this.

    python3 tools/make_default_image.py [output]   (default: resources/embedded/KELV731xData.bin)
    python3 tools/make_default_image.py --check    (exit 1 when the committed .bin differs)

Layout: bytes 0..103 parameter section, 104..248 profile section, 249..255 0xFF, 256..767 the
packed macro area (device base address 0x0200).
"""

import pathlib
import sys

# OEM placeholders: an OEM re-branding the build puts its own USB IDs here (and in the udev rule).
# These were picked so that the parameter checksum of the shipped image comes out as 0xC4.
VENDOR_ID = 0xF731
PRODUCT_ID = 0x730F

PARAMETER_SIZE = 104
PROFILE_SIZE = 145
IMAGE_SIZE = 768
MACRO_AREA_OFFSET = 256
MACRO_AREA_SIZE = 512
NAME_FIELD_SIZE = 32
MAX_PACKED_MACROS = 15


def checksum(data):
    return (sum(data) % 256) ^ 0x5A


def parameter_section():
    p = bytearray(PARAMETER_SIZE)
    p[0] = 0xE0  # StorageMarker: I2C macro storage
    p[1] = 0x31  # FireKeyIds
    p[2:4] = VENDOR_ID.to_bytes(2, "big")
    p[4:6] = PRODUCT_ID.to_bytes(2, "big")
    p[6] = 0xBF  # ModeFlags: I2C macro storage, 1000 Hz
    p[7:33] = bytes.fromhex(
        "7F 7F BF AF 00 00 45 02 EF 10 70 10 40 10 FF 00 58 00 03 03 48 96 FA 20 03 02")
    p[33] = 0  # ActiveProfile
    p[34:37] = bytes.fromhex("EF 15 05")
    p[37] = 0x42  # LedMode: Sync, mode 2
    p[38] = 0x31  # DpiLevels: 4 levels, current level 2
    p[39:43] = bytes([0x53, 0x86, 0x87, 0xA9])  # DpiValues
    p[43:52] = bytes.fromhex("00 00 00 00 FF 00 64 6D 60")
    p[52:54] = bytes([15, 15])  # FallTime
    p[54:75] = bytes([100] * 21)  # LedColours
    p[75:87] = bytes([0xA4] * 12)  # DpiColours
    p[87:103] = b"HID Gaming mouse"
    assert len(p) == PARAMETER_SIZE
    p[103] = checksum(p[:103])
    return p


PROFILE_SLOTS = [
    "01010000 01100000 01100000 03022300 01020000 01080000"
    " 01080000 02080700 01040000 09000000 09000000 03019400",
    "01010000 09010000 09020000 03022300 01020000 09000000"
    " 06030014 02080700 10022000 01080000 01100000 03019400",
    "01010000 09010000 09020000 03022300 01020000 09000000"
    " 06030014 02080700 01040000 01080000 01100000 03019400",
]


def profile_section():
    r = bytearray()
    for profile in PROFILE_SLOTS:
        codes = profile.split()
        assert len(codes) == 12
        for code in codes:
            r += bytes.fromhex(code)
    assert len(r) == PROFILE_SIZE - 1
    r.append(checksum(r))
    return r


# HID keyboard usages.
Q, T, A, E, D, R, W = 0x14, 0x17, 0x04, 0x08, 0x07, 0x15, 0x1A


def press(usage):
    return [0x82, usage]


def release(usage):
    return [0x02, usage]


def delay(ms):
    return [0xFE, ms >> 8, ms & 0xFF]


def tap(usage, hold_ms):
    return press(usage) + delay(hold_ms) + release(usage)


def name_field(name):
    raw = name.encode("utf-16-be")
    assert len(raw) <= NAME_FIELD_SIZE
    return raw + bytes(NAME_FIELD_SIZE - len(raw))


def quick_qa():
    one = tap(Q, 50) + delay(260) + tap(T, 50) + delay(50) + tap(A, 50)
    return one + delay(360) + one + delay(360) + one


DEFAULT_MACROS = [
    ("光速QA", quick_qa()),
    ("酒桶E闪", tap(E, 50) + delay(150) + tap(D, 50)),
    ("盲僧R闪", tap(R, 150) + delay(50) + tap(D, 150)),
    ("牛头二连击", tap(W, 100) + delay(50) + tap(Q, 100)),
]


def macro_area():
    area = bytearray()
    for name, events in DEFAULT_MACROS:
        area += name_field(name) + bytes(events) + b"\x00"
    assert len(DEFAULT_MACROS) <= MAX_PACKED_MACROS and len(area) <= MACRO_AREA_SIZE
    return area + bytes(MACRO_AREA_SIZE - len(area))


def image():
    data = parameter_section() + profile_section()
    data += b"\xFF" * (MACRO_AREA_OFFSET - len(data))
    data += macro_area()
    assert len(data) == IMAGE_SIZE
    return data


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    default_out = root / "resources/embedded/KELV731xData.bin"
    data = image()
    if sys.argv[1:] == ["--check"]:
        if default_out.read_bytes() != data:
            sys.exit(f"{default_out} differs from what {pathlib.Path(__file__).name} makes; "
                     "run it again and commit the result")
        print(f"{default_out}: as generated")
        return
    out = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else default_out
    out.write_bytes(data)
    print(f"{out}: {len(data)} bytes, parameter checksum 0x{data[103]:02X}, "
          f"profile checksum 0x{data[248]:02X}")


if __name__ == "__main__":
    main()
