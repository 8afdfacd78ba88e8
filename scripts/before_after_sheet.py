#!/usr/bin/python3
"""Draws the same moments from two run directories side by side, before on
the left and after on the right, one moment a row, into docs/before_after.jpg.

    scripts/before_after_sheet.py <build dir> <run dir before> <run dir after> [t...]

A run dir is a built build/run, or a copy of an older one (its programs are
what differs). Needs python3-pil (scripts/lib/need_packages.sh).
"""
import os
import subprocess
import sys
import tempfile

from PIL import Image

MOMENTS = ["18", "38.5", "100", "140", "245", "292"]
GL_ENV = dict(os.environ, MESA_GL_VERSION_OVERRIDE="4.6", MESA_GLSL_VERSION_OVERRIDE="460")
TILE = (640, 360)


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    build, before, after = (os.path.abspath(a) for a in sys.argv[1:4])
    times = sys.argv[4:] or MOMENTS
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    with tempfile.TemporaryDirectory() as out:
        for side, run_dir in (("before", before), ("after", after)):
            os.makedirs(os.path.join(out, side))
            subprocess.run([os.path.join(build, "hosts/recorder/render_frames"), os.path.join(out, side), *times],
                           cwd=run_dir, env=GL_ENV, check=True, stdout=subprocess.DEVNULL)
        gap = 8
        sheet = Image.new("RGB", (2 * TILE[0] + gap, len(times) * (TILE[1] + gap) - gap), (40, 40, 40))
        for row, t in enumerate(times):
            for col, side in enumerate(("before", "after")):
                frame = Image.open(os.path.join(out, side, f"frame_{t}.png")).convert("RGB")
                sheet.paste(frame.resize(TILE, Image.LANCZOS), (col * (TILE[0] + gap), row * (TILE[1] + gap)))
        sheet.save(os.path.join(root, "docs/before_after.jpg"), quality=88)
    print(f"wrote docs/before_after.jpg (t = {' '.join(times)} s; before left, after right)")


if __name__ == "__main__":
    main()
