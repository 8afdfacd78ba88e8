#!/usr/bin/python3
"""The speed of two checkouts of the show side by side, measured one after
the other on this machine: the offscreen frame cost per stretch (interleaved),
the real-time frame log of the whole show per stretch with its median and
hitches, the whole show recorded at 1080p60, and the browser build's frame
log and load time.

  bench/before_after.py <base repo> <new repo> [--skip-record] [--skip-web]

Each repo must hold a built build/ (show, frame_cost, frame_log_shim,
frame_log_table, record; scripts/setup.sh builds them all) and, for the browser,
build-web/site/ (scripts/web.sh --build-only). The whole run takes about half an
hour: two 295 s frame logs, two recordings, two browser logs and ten page loads. A timing
tool: it asserts nothing, it only marks what misses the goals (p90 over
16.7 ms native or 33 ms in the browser; median over 7 ms; more than 3
hitches, frames over 25 ms and twice both neighbours).
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import time

GL_ENV = dict(os.environ, MESA_GL_VERSION_OVERRIDE="4.6", MESA_GLSL_VERSION_OVERRIDE="460")
LOG_ROW = re.compile(r"^\s*([\d.]+) - ([\d.]+)\s+(\d+)\s+([\d.]+)\s+([\d.]+)")
COST_ROW = re.compile(r"^\s*([\d.]+) - ([\d.]+)\s+[\d.]+\s+[\d.]+\s+([\d.]+)\s+([\d.]+)")
WEB_ROW = re.compile(r"^\s*([\d.]+) - ([\d.]+)\s+[\d.]+\s+[\d.]+\s+([\d.]+)\s+([\d.]+)")


def run(cmd, **kw):
    return subprocess.run(cmd, check=True, capture_output=True, text=True, **kw).stdout


def frame_cost(repo, runs=7):
    """{stretch: (median wall ms, least cpu ms)} from bench/frame_cost."""
    out = run([os.path.join(repo, "build/bench/frame_cost"), str(runs)], cwd=os.path.join(repo, "build/run"),
              env=GL_ENV)
    return {(m[1], m[2]): (float(m[3]), float(m[4])) for m in map(COST_ROW.match, out.splitlines()) if m}


# The timing scripts come from this checkout for both sides, so that a fault
# mended in a tool since the base does not tilt the comparison.
BENCH = os.path.dirname(os.path.abspath(__file__))


def frame_log(repo, log):
    """{stretch: (median, p90)}, the table's text, and the hitches of the log."""
    text = run([os.path.join(BENCH, "frame_log.sh"), os.path.join(repo, "build"), log])
    rows = {(m[1], m[2]): (float(m[4]), float(m[5])) for m in map(LOG_ROW.match, text.splitlines()) if m}
    return rows, text, hitches(log)


def hitches(log):
    ms = []
    with open(log) as f:
        for line in f:
            parts = line.split()
            if len(parts) >= 2:
                try:
                    ms.append((float(parts[0]), float(parts[1])))
                except ValueError:
                    pass
    return [(t, v) for i, (t, v) in enumerate(ms[1:-1], 1)
            if v > 25.0 and v > 2 * ms[i - 1][1] and v > 2 * ms[i + 1][1]]


def whole_median(text):
    m = re.search(r"whole show: \d+ frames, median ([\d.]+) ms", text)
    return float(m[1]) if m else float("nan")


def record_seconds(repo, out):
    start = time.monotonic()
    subprocess.run([os.path.join(repo, "build/hosts/recorder/record"), "--run-dir", os.path.join(repo, "build/run"),
                    out], check=True, env=GL_ENV, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.monotonic() - start


def web_log(repo, facts_build, native_log):
    """The browser's table and its load time; facts_build gives the show's facts and the table tool."""
    text = run([os.path.join(BENCH, "web_frame_log.py"), facts_build, os.path.join(repo, "build-web/site"),
                "--native", native_log])
    rows = {(m[1], m[2]): (float(m[3]), float(m[4])) for m in map(WEB_ROW.match, text.splitlines()) if m}
    load = re.search(r"load to start screen: ([\d.]+) s", text)
    return rows, text, float(load[1]) if load else float("nan")


def load_seconds(repo, facts_build):
    """Seconds from load to the start screen in one fresh browser."""
    text = run([os.path.join(BENCH, "web_frame_log.py"), facts_build, os.path.join(repo, "build-web/site"),
                "--loads", "1"])
    load = re.search(r"load to start screen: ([\d.]+) s", text)
    return float(load[1]) if load else float("nan")


def side_by_side(title, a, b, goal):
    print(f"\n{title}")
    print(f"{'stretch (s)':<17} {'before':>15} {'after':>15}")
    for key in sorted(set(a) | set(b), key=lambda k: float(k[0])):
        x, y = a.get(key, (float("nan"),) * 2), b.get(key, (float("nan"),) * 2)
        mark = "  <- over" if goal is not None and y[1] > goal else ""
        print(f"{key[0]:>7} - {key[1]:<7} {x[0]:7.1f}{x[1]:8.1f} {y[0]:7.1f}{y[1]:8.1f}{mark}")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("base")
    parser.add_argument("new")
    parser.add_argument("--skip-record", action="store_true")
    parser.add_argument("--skip-web", action="store_true")
    args = parser.parse_args()
    repos = [os.path.abspath(args.base), os.path.abspath(args.new)]
    work = tempfile.mkdtemp(prefix="before_after.")
    print(f"machine: {os.cpu_count()} cores, load {os.getloadavg()[0]:.1f}; logs in {work}")

    # Interleaved, so that both see the same load.
    costs = [{}, {}]
    for _ in range(2):
        for i, repo in enumerate(repos):
            for key, v in frame_cost(repo).items():
                costs[i][key] = min(costs[i].get(key, v), v, key=lambda c: c[1])
    side_by_side("offscreen frame cost (bench/frame_cost), ms: median wall, least cpu", *costs, None)

    logs = [frame_log(repo, os.path.join(work, f"frame_log_{i}.txt")) for i, repo in enumerate(repos)]
    side_by_side("real-time frame log (bench/frame_log.sh), ms: median, p90", logs[0][0], logs[1][0], 16.7)
    for name, (_, text, hits) in zip(("before", "after"), logs):
        print(f"{name}: whole-show median {whole_median(text):.1f} ms (goal 7), {len(hits)} hitches (goal 3)"
              + "".join(f"; {t:.2f} s {v:.1f} ms" for t, v in hits))

    if not args.skip_record:
        for name, repo in zip(("before", "after"), repos):
            seconds = record_seconds(repo, os.path.join(work, f"show_{name}.mp4"))
            print(f"record, whole show at 1920x1080 and 60 fps, {name}: {seconds:.0f} s (goal 295)")

    if not args.skip_web:
        webs = [web_log(repo, os.path.join(repos[1], "build"), os.path.join(work, f"frame_log_{i}.txt"))
                for i, repo in enumerate(repos)]
        side_by_side("browser frame log (bench/web_frame_log.py), ms: median, p90", webs[0][0], webs[1][0], 33.0)
        # Five fresh browsers each, interleaved: one load says little.
        loads = [[], []]
        for _ in range(5):
            for i, repo in enumerate(repos):
                loads[i].append(load_seconds(repo, os.path.join(repos[1], "build")))
        for name, seconds in zip(("before", "after"), loads):
            print(f"{name}: load to start screen, median of 5: {sorted(seconds)[2]:.2f} s (goal 3); "
                  + ", ".join(f"{x:.2f}" for x in seconds))
    return 0


if __name__ == "__main__":
    sys.exit(main())
