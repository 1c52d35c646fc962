#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Finds the verdict sounds in a recording of what the game played and reports, for
each, its length, the gaps the stream left in it and the full-scale bursts it gained.

Usage: sound_gaps.py RECORDING.wav SOUNDS_DIR [LABEL]
  RECORDING.wav  16-bit PCM, mono, as parec writes it from a sink's monitor
  SOUNDS_DIR     the folder of the game's waves (res/sounds), read for 102 and 103
  LABEL          a name for the summary line (default: the recording's file name)
Needs: Python 3 and its standard library only.

A sound is a stretch of the recording above the audible level, set apart from the next by
at least half a second of quiet (the game waits three seconds between verdicts).
  length  from its first to its last audible sample, against the same measure of the
          wave it was played from;
  gaps    stretches of at least 1.5 ms of digital silence inside it, beyond those the
          wave has itself (the wrong-answer buzz has one between its two tones): what a
          server plays when the stream runs dry;
  bursts  runs of samples at 95 % of full scale or more; no wave comes near that (their
          peaks are 85 % and 70 %), while an unsigned 8-bit stream padded with zero bytes
          plays them at full scale negative.
Which wave a sound came from is told by its pitch: the right-answer chime is high (over
a thousand zero crossings a second), the wrong-answer buzz low.

A sound that the recording cuts (one under way when it starts or ends) is left out.
Prints one line per sound and a summary line; exits 0 (the figures are for reading).
"""

import os
import sys
import wave

AUDIBLE = 0.02  # of full scale
SILENT = 2.0 / 32768.0  # digital silence, with room for a resampler's rounding
MIN_GAP_S = 0.0015
SPLIT_S = 0.5
BURST = 0.95
HIGH_PITCH_CROSSINGS = 1000  # a second
RIGHT, WRONG = 102, 103


def read_wave(path):
    """(rate, samples as floats in [-1, 1]) of a mono PCM wave of 8 or 16 bits."""
    with wave.open(path, "rb") as w:
        if w.getnchannels() != 1 or w.getsampwidth() not in (1, 2):
            sys.exit("%s: not a mono 8-bit or 16-bit wave" % path)
        rate = w.getframerate()
        data = w.readframes(w.getnframes())
    if len(data) and w.getsampwidth() == 1:
        return rate, [(b - 128) / 128.0 for b in data]
    values = memoryview(data).cast("h")
    return rate, [v / 32768.0 for v in values]


def audible_span(samples, first=0, last=None):
    """(first, last + 1) of the audible samples in samples[first:last]."""
    last = len(samples) if last is None else last
    lo = next((i for i in range(first, last) if abs(samples[i]) > AUDIBLE), last)
    hi = next((i for i in range(last - 1, lo - 1, -1) if abs(samples[i]) > AUDIBLE), lo - 1)
    return lo, hi + 1


def silent_runs(samples, lo, hi, rate):
    """Lengths in seconds of the runs of digital silence of at least MIN_GAP_S."""
    runs, start = [], None
    for i in range(lo, hi + 1):
        quiet = i < hi and abs(samples[i]) <= SILENT
        if quiet and start is None:
            start = i
        elif not quiet and start is not None:
            if (i - start) / rate >= MIN_GAP_S:
                runs.append((i - start) / rate)
            start = None
    return runs


def bursts(samples, lo, hi, rate):
    """Lengths in seconds of the runs at BURST or more; runs under 1 ms apart are one."""
    runs, start, end = [], None, None
    join = max(1, int(rate * 0.001))
    for i in range(lo, hi):
        if abs(samples[i]) >= BURST:
            if start is None or i - end > join:
                if start is not None:
                    runs.append((end - start + 1) / rate)
                start = i
            end = i
    if start is not None:
        runs.append((end - start + 1) / rate)
    return runs


def crossings_per_second(samples, lo, hi, rate):
    """Zero crossings a second over the first tenth of a second of samples[lo:hi]."""
    end = min(hi, lo + rate // 10)
    count = sum(1 for i in range(lo + 1, end) if (samples[i - 1] < 0) != (samples[i] < 0))
    return count * rate / max(1, end - lo)


def sounds_in(samples, rate):
    """(first, last + 1) of each sound: audible stretches split by SPLIT_S of quiet.
    A stretch that touches either end of the recording is cut by it and left out."""
    found, start, last_loud = [], None, None
    split = int(SPLIT_S * rate)
    for i, v in enumerate(samples):
        if abs(v) > AUDIBLE:
            if start is not None and i - last_loud > split:
                found.append((start, last_loud + 1))
                start = None
            if start is None:
                start = i
            last_loud = i
    if start is not None:
        found.append((start, last_loud + 1))
    return [(lo, hi) for lo, hi in found if lo > 0 and hi < len(samples)]


def reference(sounds_dir, sound_id):
    """(length in s, its own silent runs) of one of the game's waves."""
    rate, samples = read_wave(os.path.join(sounds_dir, "%d.wav" % sound_id))
    lo, hi = audible_span(samples)
    return (hi - lo) / rate, silent_runs(samples, lo, hi, rate)


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    path, sounds_dir = sys.argv[1], sys.argv[2]
    label = sys.argv[3] if len(sys.argv) == 4 else os.path.basename(path)
    rate, samples = read_wave(path)
    refs = {sid: reference(sounds_dir, sid) for sid in (RIGHT, WRONG)}
    lengths = {RIGHT: [], WRONG: []}
    n_gaps = n_bursts = damaged = 0
    worst_burst = 0.0
    for lo, hi in sounds_in(samples, rate):
        sid = RIGHT if crossings_per_second(samples, lo, hi, rate) > HIGH_PITCH_CROSSINGS else WRONG
        ref_length, ref_runs = refs[sid]
        gaps = sorted(silent_runs(samples, lo, hi, rate))
        extra = max(0, len(gaps) - len(ref_runs))
        booms = bursts(samples, lo, hi, rate)
        length = (hi - lo) / rate
        lengths[sid].append(length)
        n_gaps += extra
        n_bursts += len(booms)
        damaged += 1 if extra or booms else 0
        worst_burst = max([worst_burst] + booms)
        print("  %d at %7.3f s: %.3f s (wave %.3f s), %d gap(s), %d burst(s)%s" %
              (sid, lo / rate, length, ref_length, extra, len(booms),
               " of %.1f-%.1f ms" % (min(booms) * 1e3, max(booms) * 1e3) if booms else ""))
    total = len(lengths[RIGHT]) + len(lengths[WRONG])
    spans = "; ".join("%d: %d, %.3f-%.3f s (wave %.3f s)" %
                      (sid, len(v), min(v), max(v), refs[sid][0])
                      for sid, v in sorted(lengths.items()) if v)
    print("%s: %d sounds, %d with gaps or bursts; %d gaps, %d bursts (longest %.1f ms); %s" %
          (label, total, damaged, n_gaps, n_bursts, worst_burst * 1e3, spans))


if __name__ == "__main__":
    main()
