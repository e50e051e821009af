#!/usr/bin/env python3
"""Writes an MPEG-1 Layer I stream (no encoder of Layer I is packaged):
FRAMES frames at 44.1 kHz, 448 kbit/s, stereo or mono, of random but valid
content (bit allocations 0-3, scale factors 0-62, random samples), so that
every frame decodes to noise. Usage: make_layer1.py OUT FRAMES stereo|mono"""
import random, sys

out, frames, mode = sys.argv[1], int(sys.argv[2]), sys.argv[3]
channels = 2 if mode == "stereo" else 1
rng = random.Random(17)

class Bits:
    def __init__(self):
        self.bits = []
    def put(self, value, n):
        self.bits += [(value >> (n - 1 - i)) & 1 for i in range(n)]
    def bytes(self, length):
        b = self.bits + [0] * (length * 8 - len(self.bits))
        return bytes(int("".join(map(str, b[i:i + 8])), 2) for i in range(0, len(b), 8))

data = bytearray()
for f in range(frames):
    padding = 1 if f % 2 else 0  # 12 * 448000 / 44100 = 121.9 slots
    length = (121 + padding) * 4
    w = Bits()
    # sync, MPEG 1, Layer I, no CRC; bitrate index 14 (448), 44.1 kHz.
    w.put(0xFFF, 12); w.put(1, 1); w.put(3, 2); w.put(1, 1)
    w.put(14, 4); w.put(0, 2); w.put(padding, 1); w.put(0, 1)
    w.put(3 if channels == 1 else 0, 2); w.put(0, 2); w.put(0, 1); w.put(0, 1); w.put(0, 2)
    alloc = [[rng.randint(0, 3) if sb < 24 else 0 for _ in range(channels)] for sb in range(32)]
    for sb in range(32):
        for ch in range(channels):
            w.put(alloc[sb][ch], 4)
    for sb in range(32):
        for ch in range(channels):
            if alloc[sb][ch]:
                w.put(rng.randint(8, 40), 6)
    for s in range(12):
        for sb in range(32):
            for ch in range(channels):
                if alloc[sb][ch]:
                    n = alloc[sb][ch] + 1
                    w.put(rng.randint(0, (1 << n) - 2), n)  # all ones is not used
    assert len(w.bits) <= length * 8
    data += w.bytes(length)
open(out, "wb").write(data)
