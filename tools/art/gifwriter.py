"""Writes an animated GIF whose frames all cover the whole picture.

Pillow crops the frames of an animation to what changed; a full frame each time keeps the
file readable by the simplest decoder. The palette is a ramp from black through the accent
colour to white, so black stays exactly black (the busy pop-up's see-through colour).
"""

import struct


def _palette(accent):
    pal = []
    for i in range(256):
        if i < 192:
            t = i / 191
            c = tuple(round(a * t) for a in accent)
        else:
            t = (i - 191) / 64
            c = tuple(round(a + (255 - a) * t) for a in accent)
        pal.append(c)
    return pal


def _quantise(img, pal):
    """Nearest palette entry of every pixel (the frames hold only ramp colours)."""
    cache = {}
    out = bytearray()
    for px in img.getdata():
        idx = cache.get(px)
        if idx is None:
            idx = min(range(256), key=lambda i: sum((a - b) ** 2 for a, b in zip(px, pal[i])))
            cache[px] = idx
        out.append(idx)
    return bytes(out)


def _lzw(data, min_size=8):
    clear, eoi = 1 << min_size, (1 << min_size) + 1
    out = bytearray()
    acc = nbits = 0

    def emit(code, size):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += size
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    def reset():
        return {bytes([i]): i for i in range(clear)}, eoi + 1, min_size + 1

    table, nxt, size = reset()
    emit(clear, size)
    w = b""
    for c in data:
        wc = w + bytes([c])
        if wc in table:
            w = wc
            continue
        emit(table[w], size)
        if nxt < 4096:
            table[wc] = nxt
            nxt += 1
            if nxt > (1 << size) and size < 12:
                size += 1
        else:
            emit(clear, size)
            table, nxt, size = reset()
        w = bytes([c])
    if w:
        emit(table[w], size)
    emit(eoi, size)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def write(path, frames, ms, accent):
    w, h = frames[0].size
    pal = _palette(accent)
    blob = bytearray(b"GIF89a")
    blob += struct.pack("<HHBBB", w, h, 0xF7, 0, 0)
    for c in pal:
        blob += bytes(c)
    blob += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"  # loop for ever
    for img in frames:
        assert img.size == (w, h)
        # graphic control: restore nothing (each frame is whole), delay in 1/100 s
        blob += b"\x21\xF9\x04" + struct.pack("<BHBB", 0x04, ms // 10, 0, 0)
        blob += b"\x2C" + struct.pack("<HHHHB", 0, 0, w, h, 0)
        data = _lzw(_quantise(img.convert("RGB"), pal))
        blob += b"\x08"
        for i in range(0, len(data), 255):
            chunk = data[i:i + 255]
            blob += bytes([len(chunk)]) + chunk
        blob += b"\x00"
    blob += b"\x3B"
    with open(path, "wb") as f:
        f.write(blob)
