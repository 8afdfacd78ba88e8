#!/usr/bin/python3
"""Renders the same frames from two run directories and prints how far they
differ: the twenty contact-sheet times and the middle of every stretch, each
with the mean absolute difference of its RGB bytes (0..255) and its largest.

    bench/picture_diff.py <build dir> <run dir A> <run dir B> [out dir]

The build dir gives render_frames and frame_cost (for the stretches); each run
dir gives the GLSL programs and data it draws with. The frames are left in
out dir (default: a fresh temporary one) as A/frame_T.png and B/frame_T.png.
"""
import os
import subprocess
import sys
import tempfile

import numpy
from PIL import Image

CONTACT_SHEET = [5, 12, 18, 25, 37, 45, 57, 70, 100, 115, 140, 180, 215, 218, 240, 262, 270, 287, 292, 294]
GL_ENV = dict(os.environ, MESA_GL_VERSION_OVERRIDE="4.6", MESA_GLSL_VERSION_OVERRIDE="460")


def stretch_middles(build, run_dir):
    out = subprocess.run([os.path.join(build, "bench/frame_cost"), "1"], cwd=run_dir, env=GL_ENV,
                         check=True, capture_output=True, text=True).stdout
    rows = [line.split() for line in out.splitlines()[1:] if line.split() and line.split()[1] == "-"]
    return [(f"{row[0]}-{row[2]}", row[3]) for row in rows]


def render(build, run_dir, out_dir, times):
    os.makedirs(out_dir, exist_ok=True)
    subprocess.run([os.path.join(build, "hosts/recorder/render_frames"), out_dir, *times], cwd=run_dir,
                   env=GL_ENV, check=True, stdout=subprocess.DEVNULL)


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    build, run_a, run_b = (os.path.abspath(a) for a in sys.argv[1:4])
    out = sys.argv[4] if len(sys.argv) > 4 else tempfile.mkdtemp(prefix="picture_diff.")
    frames = [(f"sheet {t}", str(t)) for t in CONTACT_SHEET] + \
             [(f"stretch {name}", t) for name, t in stretch_middles(build, run_a)]
    times = sorted({t for _, t in frames}, key=float)
    for run_dir, side in ((run_a, "A"), (run_b, "B")):
        render(build, run_dir, os.path.join(out, side), times)
    worst = (0.0, "")
    print(f"{'frame':<22} {'t':>8} {'mean':>7} {'max':>4}")
    for name, t in frames:
        a, b = (numpy.asarray(Image.open(os.path.join(out, side, f"frame_{t}.png")).convert("RGB"), dtype=numpy.int16)
                for side in ("A", "B"))
        diff = numpy.abs(a - b)
        mean = float(diff.mean())
        worst = max(worst, (mean, name))
        flag = "  <- over 0.5" if mean > 0.5 else ""
        print(f"{name:<22} {t:>8} {mean:7.3f} {int(diff.max()):4d}{flag}")
    print(f"largest mean: {worst[0]:.3f} ({worst[1]}); frames in {out}")


if __name__ == "__main__":
    main()
