#!/usr/bin/python3
"""Measures the picture's figures at 1920x1080 with the offscreen renderer:

  - silhouette blend share at 38.5 s (cube wave 1's edge pixels next to the
    ground that lie between ground and cube colour, coverage 0.1..0.9);
  - isolated one-pixel speckle in the cube chain's box at 140 s;
  - caption pixels the images change at 18, 121 and 292 s;
  - pillar pixels darker than the ground at 100 s;
  - neon core pixels (red and green over 150) in the caption at 245 s;
  - the sparkles' cell-border step rate (162, 180, 200 s) against elsewhere;
  - the share of the ring 1 and 2 pixels outside the ink with a luminance
    contrast of at least 2:1 against the ground, at 57 s (wine red) and
    140 s (green).

    bench/picture_goals.py <build dir> <run dir> [out dir]

Needs python3-numpy and python3-pil (scripts/lib/need_packages.sh).

The run dir gives the programs and data (a built build/run, or a copy of an
older one). Variants of it are made in out dir: without the image program,
without the caption programs, and with the caption programs drawing bare ink
coverage, so that each figure compares like with like.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

import numpy
from PIL import Image

GL_ENV = dict(os.environ, MESA_GL_VERSION_OVERRIDE="4.6", MESA_GLSL_VERSION_OVERRIDE="460")


def is_caption(text):
    return "uniform vec3 textColor" in text


def variant(run_dir, out, name, edit):
    """A copy of the run dir whose programs pass through edit(name, text)."""
    dst = os.path.join(out, "run_" + name)
    if os.path.exists(dst):
        return dst
    os.makedirs(dst)
    for entry in os.listdir(run_dir):
        if entry != "demo6":
            os.symlink(os.path.join(run_dir, entry), os.path.join(dst, entry))
    os.makedirs(os.path.join(dst, "demo6"))
    for entry in os.listdir(os.path.join(run_dir, "demo6")):
        src = os.path.join(run_dir, "demo6", entry)
        if not entry.endswith(".fs"):
            os.symlink(src, os.path.join(dst, "demo6", entry))
            continue
        with open(src) as f:
            text = f.read()
        with open(os.path.join(dst, "demo6", entry), "w") as f:
            f.write(edit(entry, text))
    return dst


def rename_main(text, body):
    return re.sub(r"\bvoid main\(\)", "void showMain()", text) + "\nvoid main() {\n" + body + "\n}\n"


def no_images(name, text):
    return rename_main(text, "    showMain();\n    discard;") if name == "demo6image.fs" else text


def no_captions(name, text):
    text = no_images(name, text)
    return rename_main(text, "    showMain();\n    discard;") if is_caption(text) else text


def ink_only(name, text):
    text = no_images(name, text)
    return rename_main(text, "    color = vec4(1.0, 0.0, 1.0, coverage(texel));") if is_caption(text) else text


def render(build, run_dir, out_dir, times):
    os.makedirs(out_dir, exist_ok=True)
    subprocess.run([os.path.join(build, "hosts/recorder/render_frames"), out_dir, *times], cwd=run_dir,
                   env=GL_ENV, check=True, stdout=subprocess.DEVNULL)
    return {t: numpy.asarray(Image.open(os.path.join(out_dir, f"frame_{t}.png")).convert("RGB"), dtype=numpy.float64)
            for t in times}


def ground(img):
    """The most common colour of the frame: the block's clear colour."""
    flat = img.reshape(-1, 3).astype(numpy.int64)
    keys = (flat[:, 0] << 16) | (flat[:, 1] << 8) | flat[:, 2]
    values, counts = numpy.unique(keys, return_counts=True)
    k = values[counts.argmax()]
    return numpy.array([(k >> 16) & 255, (k >> 8) & 255, k & 255], dtype=numpy.float64)


def luminance(img):
    c = img / 255.0
    lin = numpy.where(c <= 0.04045, c / 12.92, ((c + 0.055) / 1.055) ** 2.4)
    return lin @ numpy.array([0.2126, 0.7152, 0.0722])


def contrast(a, b):
    hi, lo = numpy.maximum(a, b), numpy.minimum(a, b)
    return (hi + 0.05) / (lo + 0.05)


def neighbours(mask):
    """Whether any 4-neighbour of each pixel is set."""
    n = numpy.zeros_like(mask)
    n[1:, :] |= mask[:-1, :]
    n[:-1, :] |= mask[1:, :]
    n[:, 1:] |= mask[:, :-1]
    n[:, :-1] |= mask[:, 1:]
    return n


def silhouette_blend(img):
    g = ground(img)
    dist = numpy.abs(img - g).max(axis=2)
    is_ground = dist <= 3
    edge = ~is_ground & neighbours(is_ground)
    ys, xs = numpy.nonzero(edge)
    blended = 0
    h, w = dist.shape
    for y, x in zip(ys, xs):
        # The shape's own colour: the neighbour (two pixels around) farthest from the ground.
        y0, y1, x0, x1 = max(y - 2, 0), min(y + 3, h), max(x - 2, 0), min(x + 3, w)
        win = dist[y0:y1, x0:x1]
        k = numpy.unravel_index(win.argmax(), win.shape)
        c = img[y0 + k[0], x0 + k[1]]
        axis = c - g
        n2 = float(axis @ axis)
        if n2 < 1.0:
            continue
        a = float((img[y, x] - g) @ axis) / n2
        off = numpy.linalg.norm(img[y, x] - (g + a * axis))
        if 0.1 <= a <= 0.9 and off <= 0.15 * numpy.sqrt(n2) + 6:
            blended += 1
    return blended, len(ys)


def speckle(img, box):
    (x0, y0), (x1, y1) = box
    lum = img[y0 - 1:y1 + 1, x0 - 1:x1 + 1] @ numpy.array([0.299, 0.587, 0.114])
    mid = lum[1:-1, 1:-1]
    brighter = numpy.ones_like(mid, dtype=bool)
    darker = numpy.ones_like(mid, dtype=bool)
    for dy in (-1, 0, 1):
        for dx in (-1, 0, 1):
            if dy == dx == 0:
                continue
            other = lum[1 + dy:lum.shape[0] - 1 + dy, 1 + dx:lum.shape[1] - 1 + dx]
            brighter &= mid > other + 20
            darker &= mid < other - 20
    return float((brighter | darker).mean())


def changed(a, b, level=8):
    return numpy.abs(a - b).max(axis=2) > level


def step_rates(img, ink):
    """Share of ink-to-ink neighbour pairs stepping by over 12 levels, across
    a 28-pixel cell border (counted from the bottom-left) and elsewhere."""
    h, w = ink.shape
    rates = {"border": [0, 0], "inside": [0, 0]}
    # Horizontal pairs (x-1, x): a border where x is a multiple of 28.
    pair = ink[:, 1:] & ink[:, :-1]
    step = numpy.abs(img[:, 1:] - img[:, :-1]).max(axis=2) > 12
    border = (numpy.arange(1, w) % 28 == 0)[None, :].repeat(h, 0)
    # Vertical pairs (row r-1 above row r): gl_FragCoord.y = h - 1 - r, a
    # border where the upper pixel's y is a multiple of 28.
    vpair = ink[1:, :] & ink[:-1, :]
    vstep = numpy.abs(img[1:] - img[:-1]).max(axis=2) > 12
    vborder = ((h - 1 - numpy.arange(0, h - 1)) % 28 == 0)[:, None].repeat(w, 1)
    for p, s, b in ((pair, step, border), (vpair, vstep, vborder)):
        for key, sel in (("border", b), ("inside", ~b)):
            rates[key][0] += int((p & s & sel).sum())
            rates[key][1] += int((p & sel).sum())
    return {k: v[0] / max(v[1], 1) for k, v in rates.items()}


def magenta(img):
    """The bare-ink render's ink: magenta, nearly opaque."""
    return (img[:, :, 0] > 200) & (img[:, :, 1] < 70) & (img[:, :, 2] > 200)


def ring_share(img, ink_cover):
    """Shares of the pixels 1 and 2 steps outside the ink (coverage over 0.5)
    whose luminance contrast against the ground is at least 2:1."""
    g = ground(img)
    lg = luminance(g[None, None, :])[0, 0]
    lum = luminance(img)
    ink = ink_cover
    ring1 = neighbours(ink) & ~ink
    ring2 = neighbours(ink | ring1) & ~ink & ~ring1
    ok = contrast(lum, lg) >= 2.0
    return float(ok[ring1].mean()), float(ok[ring2].mean())


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    build, run_dir = (os.path.abspath(a) for a in sys.argv[1:3])
    out = sys.argv[3] if len(sys.argv) > 3 else tempfile.mkdtemp(prefix="picture_goals.")
    os.makedirs(out, exist_ok=True)
    images_times = ["18", "121", "292"]
    sparkle_times = ["162", "180", "200"]
    normal = render(build, run_dir, os.path.join(out, "normal"),
                    ["38.5", "57", "100", "140", "245", *images_times, *sparkle_times])
    bare = render(build, variant(run_dir, out, "no_images", no_images), os.path.join(out, "no_images"),
                  images_times)
    uncaptioned = render(build, variant(run_dir, out, "no_captions", no_captions),
                         os.path.join(out, "no_captions"), [*images_times, "100", "245"])
    ink = render(build, variant(run_dir, out, "ink", ink_only), os.path.join(out, "ink"),
                 ["57", "140", *sparkle_times])

    blended, edges = silhouette_blend(normal["38.5"])
    print(f"silhouettes 38.5 s: {blended} of {edges} edge pixels blend ({100.0 * blended / max(edges, 1):.1f} %)")
    print(f"speckle 140 s, cube chain box: {100.0 * speckle(normal['140'], ((840, 615), (1010, 725))):.2f} %")
    for t in images_times:
        caption = changed(bare[t], uncaptioned[t], 24)
        covered = changed(normal[t], bare[t]) & caption
        print(f"images over captions {t} s: {int(covered.sum())} of {int(caption.sum())} caption pixels changed")
    scene = changed(uncaptioned["100"], ground(uncaptioned["100"])[None, None, :], 3)
    darker = luminance(uncaptioned["100"]) < luminance(ground(uncaptioned["100"])[None, None, :])[0, 0]
    print(f"pillars 100 s: {100.0 * (darker & scene).sum() / max(scene.sum(), 1):.1f} % of {int(scene.sum())} "
          f"pixels darker than the ground")
    caption = changed(normal["245"], uncaptioned["245"], 8)
    core = caption & (normal["245"][:, :, 0] > 150) & (normal["245"][:, :, 1] > 150)
    print(f"neon core 245 s: {int(core.sum())} pixels with red and green over 150")
    for t in sparkle_times:
        r = step_rates(normal[t], magenta(ink[t]))
        print(f"sparkles {t} s: {100.0 * r['border']:.1f} % of cell-border ink pairs step, "
              f"{100.0 * r['inside']:.1f} % elsewhere")
    for t in ("57", "140"):
        r1, r2 = ring_share(normal[t], magenta(ink[t]))
        print(f"ring {t} s: {100.0 * r1:.1f} % (1 px out) and {100.0 * r2:.1f} % (2 px out) at 2:1 or more")
    print(f"frames in {out}")


if __name__ == "__main__":
    main()
