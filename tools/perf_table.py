#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Runs the benchmarks and the start-up and memory measurements, and writes
docs/PERFORMANCE.md: for each operation its median, the baseline measured in the same
run, and their ratio.

    tools/perf_table.py BUILD_DIR [--out docs/PERFORMANCE.md]

Start-up and memory are measured on the real executable under Xvfb (which must be
installed); the benchmarks run on the offscreen platform. Key to screen is timed from
outside the program by BUILD_DIR/tools/tessix-keytoscreen (built when libxtst-dev and
libxdamage-dev are installed) through tools/key_to_screen.sh.
"""
import argparse
import json
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

# (operation, benchmark, baseline benchmark)
BENCH_ROWS = [
    ("Full count of one shape square (1920x1080)", "BM_CountLeftPixels", "BM_CountLeftPixels_PlainScan"),
    ("Per-pixel read loop over the same square", "BM_CountLeftPixels_GetPixelLoop", "BM_CountLeftPixels_PlainScan"),
    ("Column sweep of the spanning rectangle, stop at half", "BM_CountPixelsByColumn_Half", "BM_SpanningRect_PlainScan"),
    ("Column sweep of the spanning rectangle, whole", "BM_CountPixelsByColumn_Full", "BM_SpanningRect_PlainScan"),
    ("Row sweep of the spanning rectangle, stop at half", "BM_CountPixelsByRow_Half", "BM_SpanningRect_PlainScan"),
    ("Problem 3: centre measurement (three sweeps)", "BM_Problem3CentreSweeps", "BM_Problem3CentreSweeps_OneFullCount"),
    ("Problem 3: fresh start at 1920x1080", "BM_Problem3FreshStart", "BM_Problem3FreshStart_ClearRaster"),
    ("Problem 2: one Up and one Down press", "BM_Problem2_UpThenDown", "BM_Problem2_CountRightPixels"),
    ("Problem 4: one Down press", "BM_Problem4DownPress", "BM_Problem4BluePolygonOnly"),
    ("Full menu draw (OnDraw) at 1920x1080", "BM_Menu_OnDraw", "BM_Menu_PlainFill"),
    ("Print layout of the built-in text", "BM_LayoutBuiltInText", "BM_MeasureLaidOutLinesOnce"),
]


def run_benchmarks(build_dir, repetitions):
    exe = os.path.join(build_dir, "bench", "tessix_bench")
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    out = subprocess.run(
        [exe, "--benchmark_format=json", f"--benchmark_repetitions={repetitions}",
         "--benchmark_report_aggregates_only=true"],
        env=env, check=True, capture_output=True, text=True).stdout
    medians = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("aggregate_name") == "median":
            scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[b["time_unit"]]
            medians[b["run_name"]] = b["cpu_time"] * scale
    return medians


def free_display(first):
    for n in range(first, first + 50):
        if not os.path.exists(f"/tmp/.X{n}-lock"):
            return n
    raise RuntimeError("no free X display")


class Xvfb:
    def __init__(self, first=90):
        self.display = free_display(first)
        self.proc = subprocess.Popen(["Xvfb", f":{self.display}", "-screen", "0", "1280x800x24"],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.time() + 20
        while not os.path.exists(f"/tmp/.X11-unix/X{self.display}"):
            if time.time() > deadline:
                raise RuntimeError("Xvfb did not start")
            time.sleep(0.05)

    def env(self):
        return dict(os.environ, DISPLAY=f":{self.display}", SDL_AUDIODRIVER="dummy",
                    QT_LOGGING_RULES="tessix.paint.info=true")

    def close(self):
        self.proc.terminate()
        self.proc.wait()


def cold_start(exe, xvfb):
    """Seconds from process start to the first paint of the menu."""
    start = time.monotonic()
    proc = subprocess.Popen([exe, "--mute", "--seed", "1"], env=xvfb.env(),
                            stderr=subprocess.PIPE, text=True)
    elapsed = None
    for line in proc.stderr:
        if "first paint" in line:
            elapsed = time.monotonic() - start
            break
    proc.terminate()
    proc.wait()
    if elapsed is None:
        raise RuntimeError("the program never painted")
    return elapsed


class WindowManager:
    """A window manager on an X server of the table's, running until closed."""

    def __init__(self, name, xvfb):
        self.proc = subprocess.Popen([name], env=xvfb.env(), stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        deadline = time.time() + 20
        while time.time() < deadline:
            probe = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                   env=xvfb.env(), capture_output=True, text=True)
            if "window id" in probe.stdout:
                return
            time.sleep(0.05)
        raise RuntimeError(f"{name} did not start")

    def close(self):
        self.proc.terminate()
        self.proc.wait()


def process_start(exe):
    """Seconds to start the program, load its libraries and exit (--version)."""
    start = time.monotonic()
    subprocess.run([exe, "--version"], check=True, capture_output=True)
    return time.monotonic() - start


def peak_rss_kib(cmd, env):
    out = subprocess.run(["/usr/bin/time", "-v"] + cmd, env=env, capture_output=True, text=True)
    m = re.search(r"Maximum resident set size \(kbytes\): (\d+)", out.stderr)
    if not m:
        raise RuntimeError("no peak RSS from /usr/bin/time: " + out.stderr[-400:])
    return int(m.group(1))


# (operation, what key_to_screen.sh calls the series, key)
KEY_ROWS = [
    ("Key to screen: problem 4 Space", "problem4", "space"),
    ("Key to screen: problem 4 Down", "problem4", "Down"),
    ("Key to screen: problem 2 Up", "problem2", "Up"),
    ("Key to screen: problem 2 Down", "problem2", "Down"),
]


def key_to_screen_times(build_dir, presses):
    """Per series and key, the seconds from each key press to the screen."""
    script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "key_to_screen.sh")
    timer = os.path.join(build_dir, "tools", "tessix-keytoscreen")
    if not os.access(timer, os.X_OK):
        sys.exit(f"no {timer}: install libxtst-dev and libxdamage-dev and build again")
    out_dir = tempfile.mkdtemp(prefix="tessix-keys-")
    try:
        run = subprocess.run(["bash", script, os.path.abspath(os.path.join(build_dir, "tessix")),
                              timer, out_dir, str(presses)], capture_output=True, text=True)
    finally:
        shutil.rmtree(out_dir, ignore_errors=True)
    if run.returncode != 0:
        sys.exit("key_to_screen.sh failed:\n" + run.stderr[-2000:])
    times = {}
    for line in run.stdout.splitlines():
        parts = line.split()
        if len(parts) == 6 and parts[0] == "MEASURE":
            # A press that drew nothing within the timer's timeout counts as the slowest.
            value = float("inf") if parts[3] == "none" else int(parts[3]) * 1e-6
            times.setdefault((parts[1], parts[2]), []).append(value)
    return times


def key_to_screen_rows(build_dir, presses):
    """Key to screen on the real program at 1920x1080, beside the same measure for a
    one-pixel change drawn by a bare X client."""
    times = key_to_screen_times(build_dir, presses)
    base = times.get(("baseline", "space"))
    if not base:
        sys.exit("key_to_screen.sh measured no baseline")
    rows = []
    for op, series, key in KEY_ROWS:
        values = times.get((series, key))
        if not values:
            sys.exit(f"key_to_screen.sh measured no {series} {key}")
        rows.append((op, statistics.median(values), "one-pixel change by a bare X client",
                     statistics.median(base),
                     f"wall time from the XTest key to the last damage report on the root, "
                     f"median of {len(values)} (slowest {fmt_time(max(values))}); Xvfb "
                     "1920x1080, no window manager"))
    return rows


def fmt_time(s):
    if s >= 1:
        return f"{s:.2f} s"
    if s >= 1e-3:
        return f"{s * 1e3:.2f} ms"
    return f"{s * 1e6:.1f} µs"


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("build_dir")
    ap.add_argument("--out", default="docs/PERFORMANCE.md")
    ap.add_argument("--repetitions", type=int, default=7)
    ap.add_argument("--starts", type=int, default=7)
    ap.add_argument("--no-game", action="store_true",
                    help="skip the whole scripted game (several minutes) and its memory row")
    ap.add_argument("--presses", type=int, default=20,
                    help="key presses per key-to-screen row")
    ap.add_argument("--no-keys", action="store_true", help="skip the key-to-screen rows")
    ap.add_argument("--game-out", default="",
                    help="folder of a whole scripted game already played by "
                         "tests/game/whole_game.sh; played now when not given")
    args = ap.parse_args()
    # The end-to-end scripts it runs read the game's rules from the file the build writes.
    os.environ.setdefault("E2E_RULES", os.path.join(os.path.abspath(args.build_dir), "tests",
                                                    "rules.sh"))
    exe = os.path.join(args.build_dir, "tessix")

    rows = []
    medians = run_benchmarks(args.build_dir, args.repetitions)
    for op, name, base in BENCH_ROWS:
        if name in medians and base in medians:
            rows.append((op, medians[name], base, medians[base], "CPU time, median of "
                         f"{args.repetitions}"))

    xvfb = Xvfb()
    try:
        starts = [cold_start(exe, xvfb) for _ in range(args.starts)]
        bases = [process_start(exe) for _ in range(args.starts)]
        wm = WindowManager("openbox", xvfb)
        try:
            framed = [cold_start(exe, xvfb) for _ in range(args.starts)]
        finally:
            wm.close()
        for where, times in (("Xvfb, no window manager", starts), ("Xvfb, openbox", framed)):
            rows.append((f"Cold start to the first menu paint ({where})",
                         statistics.median(times), "process start and exit (--version)",
                         statistics.median(bases), f"wall time, median of {args.starts}"))
        base_rss = peak_rss_kib([exe, "--version"], xvfb.env())
    finally:
        xvfb.close()
    if not args.no_keys:
        rows.extend(key_to_screen_rows(args.build_dir, args.presses))
    if not args.no_game:
        # The whole scripted game runs the program under /usr/bin/time -v itself and
        # leaves its peak resident memory beside its screenshots.
        out_dir = args.game_out or tempfile.mkdtemp(prefix="tessix-perf-")
        if not args.game_out:
            script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                  "game", "whole_game.sh")
            played = subprocess.run(
                ["bash", script, os.path.abspath(exe), str(free_display(95)), out_dir],
                capture_output=True, text=True)
            if played.returncode != 0:
                sys.exit("the whole scripted game failed:\n" + played.stderr[-2000:])
        with open(os.path.join(out_dir, "whole-game-peak-rss.txt")) as f:
            game_rss = int(re.search(r"peak_rss_kb=(\d+)", f.read()).group(1))
        rows.append(("Peak resident memory, whole scripted game (20 answers, openbox)",
                     game_rss * 1024, "peak resident memory of --version", base_rss * 1024,
                     "from /usr/bin/time -v"))
        if not args.game_out:
            shutil.rmtree(out_dir, ignore_errors=True)

    lines = [
        "# Performance",
        "",
        "Written by `tools/perf_table.py` from one run on the development machine "
        f"({os.cpu_count()} cores, {time.strftime('%Y-%m-%d')}). Each operation is measured "
        "beside a baseline in the same run; the ratio is what to compare across machines.",
        "",
        "| Operation | Median | Baseline | Baseline median | Ratio | Measured as |",
        "|---|---|---|---|---|---|",
    ]
    for op, value, base, base_value, how in rows:
        if "memory" in op:
            v, b = f"{value / 1048576:.1f} MiB", f"{base_value / 1048576:.1f} MiB"
        else:
            v, b = fmt_time(value), fmt_time(base_value)
        lines.append(f"| {op} | {v} | `{base}` | {b} | {value / base_value:.2f} | {how} |")
    lines.append("")
    # Sections written by other tools after the table (the sound measurements) are kept.
    kept = ""
    if os.path.exists(args.out):
        with open(args.out) as f:
            old = f.read()
        start = old.find("\n## ")
        kept = old[start + 1:] if start >= 0 else ""
    with open(args.out, "w") as f:
        f.write("\n".join(lines) + ("\n" + kept if kept else ""))
    print("\n".join(lines))


if __name__ == "__main__":
    sys.exit(main())
