#!/usr/bin/python3
"""How much of each stretch's frame the fragment programs cost, and what is
left if they cost nothing: renders every stretch offscreen (bench/frame_cost)
with the show's programs and again with every fragment program's main()
cut down to one constant colour, in alternating rounds, and prints both side
by side. The same GL calls, the same quads and cubes, the same clears,
blending and depth tests: the floor is what the calls themselves cost in this
renderer, which no change to the programs' GLSL can take away.

  bench/shader_floor.py <build dir> [rounds]   (default 3 rounds of 5 frames)

A timing tool: it asserts nothing. Wall and CPU are the medians over rounds of
frame_cost's figures (median wall ms, least CPU ms over all of llvmpipe's
threads).
"""
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile

GL_ENV = dict(os.environ, MESA_GL_VERSION_OVERRIDE="4.6", MESA_GLSL_VERSION_OVERRIDE="460")
COST_ROW = re.compile(r"^\s*([\d.]+) - ([\d.]+)\s+[\d.]+\s+[\d.]+\s+([\d.]+)\s+([\d.]+)")
OUTPUT = re.compile(r"^out vec4 (\w+);", re.M)


def constant_programs(run_dir, into):
    """A copy of the run directory whose fragment programs write one colour."""
    for entry in os.listdir(run_dir):
        if entry != "demo6":
            os.symlink(os.path.join(run_dir, entry), os.path.join(into, entry))
    programs = os.path.join(into, "demo6")
    os.mkdir(programs)
    for entry in os.listdir(os.path.join(run_dir, "demo6")):
        source = os.path.join(run_dir, "demo6", entry)
        if not entry.endswith(".fs"):
            os.symlink(source, os.path.join(programs, entry))
            continue
        text = open(source).read()
        main = text.index("void main()")
        out = OUTPUT.search(text).group(1)
        with open(os.path.join(programs, entry), "w") as f:
            f.write(text[:main] + f"void main() {{ {out} = vec4(0.5, 0.4, 0.3, 0.5); }}\n")


def frame_cost(build, run_dir):
    out = subprocess.run([os.path.join(build, "bench/frame_cost"), "5"], cwd=run_dir, env=GL_ENV, check=True,
                         capture_output=True, text=True).stdout
    return {(m[1], m[2]): (float(m[3]), float(m[4])) for m in map(COST_ROW.match, out.splitlines()) if m}


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    build = os.path.abspath(sys.argv[1])
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    run_dir = os.path.join(build, "run")
    with tempfile.TemporaryDirectory() as floor_dir:
        constant_programs(run_dir, floor_dir)
        shows, floors = [], []
        for _ in range(rounds):
            shows.append(frame_cost(build, run_dir))
            floors.append(frame_cost(build, floor_dir))

    def median(runs, key, i):
        return statistics.median(r[key][i] for r in runs)

    print(f"{'stretch (s)':17} {'show wall':>9} {'floor':>7} {'show cpu':>9} {'floor':>7} {'programs':>9}")
    for key in shows[0]:
        wall, floor_wall = median(shows, key, 0), median(floors, key, 0)
        cpu, floor_cpu = median(shows, key, 1), median(floors, key, 1)
        share = 100.0 * (cpu - floor_cpu) / cpu if cpu > 0 else 0.0
        print(f"{float(key[0]):7.1f} - {float(key[1]):<7.1f} {wall:9.1f} {floor_wall:7.1f} {cpu:9.1f} {floor_cpu:7.1f}"
              f" {share:8.0f}%")


if __name__ == "__main__":
    main()
