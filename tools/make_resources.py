#!/usr/bin/env python3
"""Writes the binary resources that are kept in the repository.

Run from the repository root after changing this script; commit the outputs.
The build only reads the generated files, so it needs no Python.
"""
import math
import struct
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent


def wave(path, rate, bits, samples):
    """RIFF/WAVE PCM, mono; samples are floats in -1..1."""
    if bits == 16:
        data = b"".join(struct.pack("<h", max(-32767, min(32767, int(s * 32767)))) for s in samples)
    else:
        data = bytes(max(0, min(255, int(128 + s * 127))) for s in samples)
    block = bits // 8
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate * block, block, bits)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
    if len(data) % 2:
        body += b"\0"
    path.write_bytes(b"RIFF" + struct.pack("<I", len(body)) + body)


def tick_samples():
    # 2516 bytes of 16-bit mono: a short damped 2.2 kHz click.
    n = 2516 // 2
    return [math.sin(2 * math.pi * 2200 * i / 22050) * math.exp(-i / 180.0) * 0.8 for i in range(n)]


def alarm_samples():
    # 76365 bytes of 8-bit mono at 22255 Hz: three two-tone beeps.
    rate, n = 22255, 76365
    out = []
    for i in range(n):
        t = i / rate
        phase = t % 1.1
        if phase < 0.8:
            f = 880 if (phase % 0.4) < 0.2 else 660
            env = min(1.0, phase * 40, (0.8 - phase) * 40)
            out.append(math.sin(2 * math.pi * f * t) * 0.6 * env)
        else:
            out.append(0.0)
    return out


def clock_face(size, ring, hand, face):
    """RGBA pixels (top row first) of a round clock with two hands."""
    px = []
    c = (size - 1) / 2.0
    r_out = size / 2.0 - 0.5
    r_in = r_out - max(1.0, size / 10.0)
    for y in range(size):
        row = []
        for x in range(size):
            dx, dy = x - c, y - c
            d = math.hypot(dx, dy)
            if d > r_out + 0.5:
                row.append((0, 0, 0, 0))
                continue
            alpha = int(255 * max(0.0, min(1.0, r_out + 0.5 - d)))
            col = ring if d > r_in else face
            w = max(0.8, size / 20.0)
            # minute hand pointing to 12, hour hand pointing to 3
            if (abs(dx) <= w and -r_in * 0.85 <= dy <= 0) or (abs(dy) <= w and 0 <= dx <= r_in * 0.6):
                col = hand
            row.append(col + (alpha,))
        px.append(row)
    return px


def ico(path, sizes, ring, hand, face):
    images = []
    for s in sizes:
        px = clock_face(s, ring, hand, face)
        xor = b"".join(bytes((b, g, r, a)) for row in reversed(px) for (r, g, b, a) in row)
        mask_row = ((s + 31) // 32) * 4
        and_mask = b"\0" * (mask_row * s)
        header = struct.pack("<IiiHHIIiiII", 40, s, s * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
        images.append((s, header + xor + and_mask))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, blob in images:
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    out += b"".join(blob for _, blob in images)
    path.write_bytes(out)


def main():
    res = ROOT / "app" / "res"
    wave(res / "tick.wav", 22050, 16, tick_samples())
    wave(res / "alarm.wav", 22255, 8, alarm_samples())
    ico(res / "Tempulo.ico", [16, 24, 32, 48, 64], (200, 30, 30), (20, 20, 20), (250, 250, 245))
    ico(ROOT / "lib" / "res" / "PictavoLib.ico", [16, 20, 24, 32, 40, 48, 64, 96, 128],
        (30, 80, 190), (20, 20, 20), (240, 245, 255))
    return 0


if __name__ == "__main__":
    sys.exit(main())
