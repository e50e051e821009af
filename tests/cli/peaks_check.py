#!/usr/bin/env python3
"""Checks `vivizu-cli peaks` against an independent decode: ffmpeg decodes
the MP3 to 16-bit samples, the lowest and highest (mixed) sample of every
pixel is worked out here and compared with the JSON and .dat files written,
both read back by their own layout. Usage: peaks_check.py VIVIZU_CLI WORKDIR"""
import json, struct, subprocess, sys

cli, work = sys.argv[1], sys.argv[2]
src, wav = f"{work}/src.mp3", f"{work}/src.wav"
subprocess.run(["sox", "-q", "-n", "-r", "44100", "-c", "2", wav, "synth", "3", "sine", "200-2000",
                "synth", "3", "sine", "amod", "0.5", "gain", "-3"], check=True)
subprocess.run(["lame", "--quiet", "-b", "160", wav, src], check=True)
# The samples players play: ffmpeg, as gapless players do, leaves out the
# encoder's delay and padding that LAME's header frame gives.
raw = subprocess.run(["ffmpeg", "-v", "error", "-i", src, "-f", "s16le", "-ac", "2", "-"],
                     check=True, capture_output=True).stdout
samples = struct.unpack(f"<{len(raw) // 2}h", raw)
left, right = samples[0::2], samples[1::2]

def expected(spp, split):
    out = []
    for start in range(0, len(left), spp):
        l, r = left[start:start + spp], right[start:start + spp]
        if split:
            out += [min(l), max(l), min(r), max(r)]
        else:
            mix = [(a + b) / 2 for a, b in zip(l, r)]
            out += [min(mix), max(mix)]
    return out

def compare(name, got, want, bits):
    # ffmpeg's and libmpg123's floating-point decoders differ in the last
    # bits; a 16-bit value may differ by a unit or two, an 8-bit one by one.
    tol = 3 if bits == 16 else 1
    scale = 1 if bits == 16 else 256
    if len(got) != len(want):
        sys.exit(f"{name}: {len(got)} values, expected {len(want)}")
    bad = [i for i, (g, w) in enumerate(zip(got, want)) if abs(g - w / scale) > tol]
    if bad:
        i = bad[0]
        sys.exit(f"{name}: {len(bad)} values differ, first at {i}: {got[i]} against {want[i] / scale}")

def run(*args):
    subprocess.run([cli, "peaks", *args, src], check=True)

# JSON, 16 bits, mixed, 512 samples per pixel.
run("--samples-per-pixel", "512", "-o", f"{work}/p.json")
j = json.load(open(f"{work}/p.json"))
assert (j["version"], j["channels"], j["sample_rate"], j["samples_per_pixel"], j["bits"]) == (2, 1, 44100, 512, 16), j
assert j["length"] * 2 == len(j["data"]), "length is not the pixel count"
compare("json", j["data"], expected(512, False), 16)

# .dat, 8 bits, per channel, 100 pixels per second (441 samples per pixel).
run("--pixels-per-second", "100", "-b", "8", "--split-channels", "-o", f"{work}/p.dat")
data = open(f"{work}/p.dat", "rb").read()
version, flags, rate, spp, length, channels = struct.unpack("<6i", data[:24])
assert (version, flags, rate, spp, channels) == (2, 1, 44100, 441, 2), (version, flags, rate, spp, channels)
values = list(struct.unpack(f"<{len(data) - 24}b", data[24:]))
assert len(values) == length * 2 * channels
compare("dat", values, expected(441, True), 8)

# 16-bit .dat read back equals the JSON of the same settings.
run("--samples-per-pixel", "512", "-o", f"{work}/p16.dat")
data = open(f"{work}/p16.dat", "rb").read()
assert struct.unpack("<6i", data[:24]) == (2, 0, 44100, 512, j["length"], 1)
assert list(struct.unpack(f"<{(len(data) - 24) // 2}h", data[24:])) == j["data"], "dat and json differ"
print("peaks: json and dat agree with ffmpeg's decode")
