#!/usr/bin/env python3
"""Finds the landing sound in a recording and compares it with its file.

    landing.py <landing.wav> <raw recording> <times> <play time>

The play time is the game's own monotonic clock (seconds) when it started
the sound. Prints the time from there to the sound in the recording, its
length against the file's, and its loudness; exits 1 when the recording
holds no such sound or its length is off by more than 20 ms.
"""
import math
import struct
import sys
import wave

RATE = 44100
wav_path, raw_path, times_path, played = sys.argv[1], sys.argv[2], sys.argv[3], float(sys.argv[4])


def samples_of(data):
    count = len(data) // 2
    return struct.unpack(f"<{count}h", data[:2 * count])


def span(samples, threshold):
    """First and one past the last sample at or above the threshold."""
    loud = [i for i, v in enumerate(samples) if abs(v) >= threshold]
    return (loud[0], loud[-1] + 1) if loud else (None, None)


def rms(samples):
    return math.sqrt(sum(v * v for v in samples) / max(1, len(samples)))


with wave.open(wav_path) as w:
    reference = samples_of(w.readframes(w.getnframes()))
# The null sink records digital silence: 1 % of the peak still sees the
# quiet end of the knock, the part a player's back end is likeliest to lose.
threshold = max(abs(v) for v in reference) * 0.01
ref_first, ref_end = span(reference, threshold)
ref_ms = (ref_end - ref_first) * 1000 / RATE

recorded = samples_of(open(raw_path, "rb").read())
# A piece read at time t ends with the sample taken just before t; the piece
# read the soonest after its samples gives the closest clock of the first.
start = min(t - n / RATE for t, n in
            (map(float, line.split()) for line in open(times_path) if line.strip()))
begin = max(0, int((played - start) * RATE))
window = recorded[begin:begin + RATE]
first, end = span(window, threshold)
if first is None:
    print(f"FAIL: nothing above silence within 1 s of the landing ({len(recorded)} samples)")
    sys.exit(1)
# The sound ends where it stays below the threshold for 20 ms.
quiet = int(0.02 * RATE)
last = first
for i in range(first, len(window)):
    if abs(window[i]) >= threshold:
        last = i
    elif i - last > quiet:
        break
rec_ms = (last + 1 - first) * 1000 / RATE
delay_ms = (start + (begin + first) / RATE - played) * 1000
loudness = rms(window[first:last + 1])
print(f"landing to sound: {delay_ms:.1f} ms; length {rec_ms:.1f} ms recorded, "
      f"{ref_ms:.1f} ms in the file; loudness {loudness:.0f} recorded, "
      f"{rms(reference[ref_first:ref_end]):.0f} in the file (RMS of 16-bit samples)")
if loudness < 100:
    print("FAIL: the recording is silent")
    sys.exit(1)
if abs(rec_ms - ref_ms) > 20:
    print("FAIL: the recorded sound's length is more than 20 ms off the file's")
    sys.exit(1)
