#!/usr/bin/env python3
"""Write resources/alarm.wav: a soft three-tone chime of about 1.5 seconds.

Each tone is a bell-like sum of a few partials with an exponential decay and a
short attack so that no tone starts with a click. Output is 16-bit PCM, mono,
44100 Hz. The result is fully determined by this script, so running it again
produces the same file byte for byte.

Usage: python3 scripts/make_alarm.py [output path]
"""

import math
import os
import struct
import sys
import wave

RATE = 44100
DURATION = 1.5  # seconds
PEAK = 0.7  # of full scale, after normalisation

# (start time in seconds, fundamental frequency in Hz): G5, E5, C5
TONES = [
    (0.00, 783.99),
    (0.32, 659.25),
    (0.64, 523.25),
]

# (frequency ratio, relative amplitude, decay rate per second)
PARTIALS = [
    (1.0, 1.00, 3.2),
    (2.0, 0.35, 5.5),
    (3.0, 0.12, 8.0),
    (4.2, 0.05, 11.0),
]

ATTACK = 0.006  # seconds
FADE_OUT = 0.12  # seconds at the end of the file


def sample(t):
    value = 0.0
    for start, freq in TONES:
        local = t - start
        if local < 0.0:
            continue
        attack = min(1.0, local / ATTACK)
        for ratio, amp, decay in PARTIALS:
            value += attack * amp * math.exp(-decay * local) * math.sin(2.0 * math.pi * freq * ratio * local)
    remaining = DURATION - t
    if remaining < FADE_OUT:
        value *= max(0.0, remaining / FADE_OUT)
    return value


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources", "alarm.wav")
    count = int(RATE * DURATION)
    values = [sample(i / RATE) for i in range(count)]
    scale = PEAK / max(abs(v) for v in values)
    frames = b"".join(struct.pack("<h", int(round(v * scale * 32767))) for v in values)
    with wave.open(out, "wb") as wav:
        wav.setnchannels(1)
        wav.setsampwidth(2)
        wav.setframerate(RATE)
        wav.writeframes(frames)


if __name__ == "__main__":
    main()
