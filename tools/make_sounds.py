#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes the game's four sound cues into res/sounds/ as mono PCM RIFF WAVE files.

Usage: python3 tools/make_sounds.py        (from anywhere in the checkout)
Needs: Python 3 and its standard library only.

  101.wav  22050 Hz, 16 bit  a soft tick
  102.wav  22050 Hz,  8 bit  right answer: a bright rising chime
  103.wav  22050 Hz,  8 bit  wrong answer: two short low buzzes
  104.wav  11025 Hz,  8 bit  a new problem: a light bell jingle

Each sound is computed as floating-point samples, scaled to a fixed peak below full
scale (so nothing clips), faded in and out at its ends (so playback starts and stops
without a click), then quantised. The output depends on nothing but this script, so
rerunning it leaves the files byte-for-byte unchanged. The length of each file's sample
data is fixed by the table at the bottom; the game's timing depends on it.
"""

import math
import os
import struct
import wave

TWO_PI = 2.0 * math.pi


def note_freq(name):
    """Frequency of an equal-tempered note such as "C6" or "G5" (A4 = 440 Hz)."""
    semitones = {"C": -9, "D": -7, "E": -5, "F": -4, "G": -2, "A": 0, "B": 2}
    octave = int(name[1:])
    return 440.0 * 2.0 ** ((semitones[name[0]] + 12 * (octave - 4)) / 12.0)


def attack_gain(t, attack):
    """Raised-cosine rise from 0 to 1 over `attack` seconds."""
    if t >= attack:
        return 1.0
    return 0.5 - 0.5 * math.cos(math.pi * t / attack)


def add_tone(buf, rate, start, length, freq, partials, attack, tau, release):
    """Mixes one note into buf.

    partials: (frequency ratio, amplitude) pairs; partials at or above 90 % of the
    Nyquist frequency are left out so nothing aliases. Partial k decays with time
    constant tau / ratio, so the upper partials fade first as in a struck bell or
    string. The note rises over `attack`, and its last `release` seconds fade to zero.
    """
    nyquist = rate / 2.0
    usable = [(r, a) for r, a in partials if freq * r < 0.9 * nyquist]
    first = int(round(start * rate))
    count = int(round(length * rate))
    for i in range(count):
        n = first + i
        if n >= len(buf):
            break
        t = i / rate
        gain = attack_gain(t, attack)
        left = length - t
        if left < release:
            gain *= 0.5 - 0.5 * math.cos(math.pi * left / release)
        value = 0.0
        for ratio, amp in usable:
            value += amp * math.exp(-t * ratio / tau) * math.sin(TWO_PI * freq * ratio * t)
        buf[n] += gain * value


def add_buzz(buf, rate, start, length, freq, attack, release):
    """Mixes one soft buzz into buf: a band-limited sawtooth whose harmonics are rolled
    off above the fifth (so it hums rather than rasps), doubled by a copy detuned by
    0.6 % for a slow beat, with a raised-cosine rise and fall."""
    nyquist = rate / 2.0
    harmonics = []
    for k in range(1, 16):
        if freq * k * 1.006 >= 0.9 * nyquist:
            break
        harmonics.append((k, 1.0 / k / (1.0 + (k / 5.0) ** 2)))
    first = int(round(start * rate))
    count = int(round(length * rate))
    for i in range(count):
        n = first + i
        if n >= len(buf):
            break
        t = i / rate
        gain = attack_gain(t, attack)
        left = length - t
        if left < release:
            gain *= 0.5 - 0.5 * math.cos(math.pi * left / release)
        value = 0.0
        for k, amp in harmonics:
            value += amp * (math.sin(TWO_PI * freq * k * t) +
                            0.7 * math.sin(TWO_PI * freq * 1.006 * k * t + 0.3 * k))
        buf[n] += gain * value


def finish(buf, rate, peak, edge):
    """Scales buf so its largest magnitude is `peak` (of full scale) and fades the first
    and last `edge` seconds so the sound neither starts nor ends on a step."""
    top = max(abs(v) for v in buf)
    scale = peak / top if top > 0.0 else 0.0
    fade = max(1, int(round(edge * rate)))
    out = []
    last = len(buf) - 1
    for n, v in enumerate(buf):
        gain = scale
        if n < fade:
            gain *= 0.5 - 0.5 * math.cos(math.pi * n / fade)
        if last - n < fade:
            gain *= 0.5 - 0.5 * math.cos(math.pi * (last - n) / fade)
        out.append(v * gain)
    return out


def tick(rate, frames):
    """A soft, short click: a quickly damped high ping over a softer low knock."""
    buf = [0.0] * frames
    add_tone(buf, rate, 0.004, 0.12, 1760.0, [(1.0, 1.0)], 0.0008, 0.012, 0.02)
    add_tone(buf, rate, 0.004, 0.15, 440.0, [(1.0, 0.8), (2.0, 0.2)], 0.0015, 0.03, 0.03)
    return finish(buf, rate, 0.35, 0.003)


def chime(rate, frames):
    """Three rising notes of a C major arpeggio with a few harmonics; the last rings."""
    buf = [0.0] * frames
    partials = [(1.0, 1.0), (2.0, 0.35), (3.0, 0.12), (4.0, 0.05)]
    for start, name, tau in ((0.00, "C6", 0.16), (0.11, "E6", 0.18), (0.22, "G6", 0.32)):
        add_tone(buf, rate, start, frames / rate - start, note_freq(name), partials, 0.006,
                 tau, 0.08)
    return finish(buf, rate, 0.85, 0.005)


def buzz(rate, frames):
    """Two short low buzzes, the second a step lower: a gentle 'uh-uh'."""
    buf = [0.0] * frames
    add_buzz(buf, rate, 0.02, 0.30, note_freq("B2"), 0.02, 0.06)
    add_buzz(buf, rate, 0.42, 0.36, note_freq("A2"), 0.02, 0.09)
    return finish(buf, rate, 0.7, 0.005)


def jingle(rate, frames):
    """Seven short bell notes climbing a C major chord; the last one rings out."""
    buf = [0.0] * frames
    # Ratios of a struck bar (1, 2.76, 5.40) plus a soft octave for warmth.
    partials = [(1.0, 1.0), (2.0, 0.15), (2.76, 0.3), (5.40, 0.08)]
    notes = ((0.00, "G5", 0.22), (0.15, "C6", 0.22), (0.30, "E6", 0.22), (0.45, "G6", 0.3),
             (0.75, "E6", 0.22), (0.90, "G6", 0.22), (1.05, "C7", 0.5))
    for start, name, tau in notes:
        add_tone(buf, rate, start, frames / rate - start, note_freq(name), partials, 0.003,
                 tau, 0.15)
    return finish(buf, rate, 0.8, 0.01)


def write_wave(path, rate, bits, samples):
    """Writes samples (floats within [-1, 1]) as a mono PCM RIFF WAVE file.
    8-bit WAVE data is unsigned with silence at 128; 16-bit data is signed."""
    if bits == 8:
        data = bytes(min(255, max(0, int(round(128.0 + 127.0 * s)))) for s in samples)
    else:
        data = b"".join(
            struct.pack("<h", min(32767, max(-32767, int(round(32767.0 * s)))))
            for s in samples)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(bits // 8)
        w.setframerate(rate)
        w.writeframes(data)


# id, sample rate, bits per sample, sample-data bytes, generator
SOUNDS = (
    (101, 22050, 16, 9156, tick),
    (102, 22050, 8, 25088, chime),
    (103, 22050, 8, 22052, buzz),
    (104, 11025, 8, 30128, jingle),
)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = os.path.join(here, os.pardir, "res", "sounds")
    os.makedirs(out_dir, exist_ok=True)
    for sound_id, rate, bits, data_bytes, make in SOUNDS:
        frames = data_bytes // (bits // 8)
        samples = make(rate, frames)
        assert len(samples) == frames
        path = os.path.normpath(os.path.join(out_dir, "%d.wav" % sound_id))
        write_wave(path, rate, bits, samples)
        print("%s: %d Hz, %d bit, %d bytes of samples, %.3f s" %
              (path, rate, bits, data_bytes, frames / rate))


if __name__ == "__main__":
    main()
