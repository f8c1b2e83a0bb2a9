#!/usr/bin/env python3
"""Finds every sound the game started in a recording of its output.

    find_sounds.py <sounds folder> <raw recording> <times> <program log>

The program log holds one line "<monotonic seconds> zerud.sound playing
"<file>"" per sound started; the recording (mono, 16-bit, 44.1 kHz) and its
times come from record.py. Each sound must start in the recording within
MAX_DELAY of its line, after the one before it, and match its file from the
first audible sample to the last: the shape (correlation over the whole
sound, its first and its last quarter) and the loudness. Prints one line per sound; exits 1 when one
is missing, cut or weak.
"""
import math
import os
import re
import struct
import sys
import wave

RATE = 44100
MAX_DELAY = 0.25
# The null sink records the mix exactly: a sound that lost a few
# milliseconds anywhere falls below this.
MIN_CORRELATION = 0.99
sounds_dir, raw_path, times_path, log_path = sys.argv[1:5]


def samples_of(data):
    count = len(data) // 2
    return struct.unpack(f"<{count}h", data[:2 * count])


def correlation(a, b):
    ab = sum(x * y for x, y in zip(a, b))
    aa = sum(x * x for x in a)
    bb = sum(y * y for y in b)
    return ab / math.sqrt(aa * bb) if aa and bb else 0.0


references = {}


def reference(name):
    """The file's samples from its first to its last audible one, and the
    threshold of audible (1 % of its peak)."""
    if name not in references:
        with wave.open(os.path.join(sounds_dir, name)) as w:
            samples = samples_of(w.readframes(w.getnframes()))
        threshold = max(abs(v) for v in samples) * 0.01
        loud = [i for i, v in enumerate(samples) if abs(v) >= threshold]
        references[name] = (samples[loud[0]:loud[-1] + 1], threshold)
    return references[name]


events = []
for line in open(log_path, errors="replace"):
    match = re.match(r'^\s*(\d+\.\d+) zerud\.sound playing "(.+)"', line)
    if match:
        events.append((float(match.group(1)), match.group(2)))
if not events:
    print("FAIL: the game logged no sound")
    sys.exit(1)

recorded = samples_of(open(raw_path, "rb").read())
# A piece read at time t ends with the sample taken just before t; the piece
# read the soonest after its samples gives the closest clock of the first.
start = min(t - n / RATE for t, n in
            (map(float, line.split()) for line in open(times_path) if line.strip()))

# Audible, for finding where a sound starts: above the loudest threshold,
# so that the quiet end of the sound before is not taken for it.
audible = max(reference(name)[1] for _, name in events)
failures = 0
earliest = 0
for played, name in events:
    ref, _ = reference(name)
    begin = max(earliest, int((played - start - 0.01) * RATE))
    end = min(len(recorded), int((played - start + MAX_DELAY) * RATE))
    loud = next((i for i in range(begin, end) if abs(recorded[i]) >= audible), None)
    if loud is None:
        print(f"FAIL {name} at {played:.3f}: nothing audible within {MAX_DELAY * 1000:.0f} ms")
        failures += 1
        continue
    # The file's place: where its first 30 ms fit the recording best, up to
    # 15 ms before the first loud sample (a slow attack), searched coarsely,
    # then sample by sample.
    head = ref[:RATE * 30 // 1000]

    def fit(at):
        return correlation(head, recorded[at:at + len(head)])

    lowest = max(begin, loud - RATE * 15 // 1000)
    onset = max(range(lowest, loud + 5, 8), key=fit)
    onset = max(range(max(lowest, onset - 8), onset + 9), key=fit)
    heard = recorded[onset:onset + len(ref)]
    quarter = len(ref) // 4
    parts = [correlation(ref[a:b], heard[a:b])
             for a, b in ((0, quarter), (0, len(ref)), (len(ref) - quarter, len(ref)))]
    gain = math.sqrt(sum(v * v for v in heard) / sum(v * v for v in ref))
    delay = (start + onset / RATE - played) * 1000
    ok = min(parts) >= MIN_CORRELATION and 0.5 <= gain <= 2 and len(heard) == len(ref)
    print(f"{'ok  ' if ok else 'FAIL'} {name} at {played:.3f}: {delay:.0f} ms late, "
          f"{len(heard) * 1000 / RATE:.0f} of {len(ref) * 1000 / RATE:.0f} ms, correlation "
          f"{parts[1]:.3f} (head {parts[0]:.3f}, tail {parts[2]:.3f}), gain {gain:.2f}")
    failures += not ok
    earliest = onset + len(ref)
print(f"{len(events) - failures} of {len(events)} sounds heard whole")
sys.exit(1 if failures else 0)
