#!/usr/bin/env python3
"""Records a PulseAudio source and notes when each piece of it arrived.

    record.py <source> <raw output> <times output>

Runs parec on the source (mono, 16-bit, 44.1 kHz, 5 ms latency) until it is
stopped with SIGTERM. The raw samples go to the first file; the second gets
one line "<monotonic seconds> <samples so far>" per piece read, from which
the analysis tells when each sample was taken.
"""
import signal
import subprocess
import sys
import time

source, raw_path, times_path = sys.argv[1:4]
parec = subprocess.Popen(
    ["parec", "-d", source, "--raw", "--format=s16le", "--channels=1", "--rate=44100",
     "--latency-msec=5"], stdout=subprocess.PIPE)
stopping = False


def stop(*_):
    global stopping
    stopping = True


signal.signal(signal.SIGTERM, stop)
total = 0
with open(raw_path, "wb") as raw, open(times_path, "w") as times:
    while not stopping:
        piece = parec.stdout.read1(4096)
        if not piece:
            break
        now = time.monotonic()
        raw.write(piece)
        total += len(piece)
        times.write(f"{now:.6f} {total // 2}\n")
        times.flush()
parec.terminate()
