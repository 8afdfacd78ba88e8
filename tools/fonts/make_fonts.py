#!/usr/bin/python3
"""Rebuilds the show's three TrueType faces and their licence texts in fonts/.

Run by hand when the faces change (the build never fetches anything):

    tools/fonts/make_fonts.py [output directory, default fonts/]

Needs npm, apt-get, dpkg-deb and Debian's python3-fonttools.

- Antonio-Regular.ttf: Antonio Regular, the latin subset (U+0000 to U+00FF)
  that the @fontsource/antonio package ships as WOFF, unwrapped to TrueType.
- c64.ttf, topaz.ttf: Debian's C-64 and Amiga faces (fonts-sixtyfour,
  fonts-amiga), redrawn so that every caption fits the 1920 x 1080 frame at the
  sizes the show loads them (165 and 322 pixels): one design pixel becomes
  PIXEL screen pixels, square in both faces, and the Amiga face gains a wider
  left bearing because one of its lines starts left of the frame. Both are
  renamed, as modified versions.

The sources are pinned by version and SHA-256, and the output carries no
timestamp of its own, so every run writes the same bytes.
"""
import hashlib
import pathlib
import shutil
import subprocess
import sys
import tarfile
import tempfile

from fontTools.pens.recordingPen import DecomposingRecordingPen
from fontTools.pens.transformPen import TransformPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont

ANTONIO_PACKAGE = "@fontsource/antonio@5.3.0"
ANTONIO_WOFF = "package/files/antonio-latin-400-normal.woff"
ANTONIO_SHA256 = "02f2541d2a7a6d5704acfa871968388780e7ef5078377d9c46695c15fc8dd8e8"
ANTONIO_LICENSE = "package/LICENSE"

DEBIAN_FACES = {
    # output: (package=version, font file inside the package, its SHA-256)
    "c64": ("fonts-sixtyfour=1.0-2", "usr/share/fonts/truetype/sixtyfour/C-64-Regular.ttf",
            "2e5c182ed6327cc08f93524e9b1247db931e1a80a63e786dae10849131fa4320"),
    "topaz": ("fonts-amiga=1.0-2", "usr/share/fonts/truetype/amiga/Amiga-Regular.ttf",
              "4cbbe5634193093545f944fb6004e5d56cf5f9b866a7cb297faa4c1c49ebeb88"),
}

# Screen pixels per design pixel in both retro faces: small enough that the
# Amiga line placed highest stays under the top edge, the longest one inside
# the right edge, and the bouncing C-64 line clear of the line above it.
PIXEL = 15.0
# Extra left bearing of the Amiga face, in design pixels: a line whose pen
# starts 52 pixels left of the frame still shows its first letter.
TOPAZ_LEFT_MARGIN = 2.5


def run(*command, cwd):
    subprocess.run(command, cwd=cwd, check=True, stdout=subprocess.DEVNULL)


def checked(path, sha256):
    digest = hashlib.sha256(path.read_bytes()).hexdigest()
    if digest != sha256:
        sys.exit(f"{path.name}: SHA-256 {digest}, expected {sha256}")
    return path


def fetch_antonio(work):
    """The WOFF and the licence text, taken out of the npm tarball by name."""
    run("npm", "pack", "--silent", ANTONIO_PACKAGE, cwd=work)
    (tarball,) = work.glob("fontsource-antonio-*.tgz")
    files = []
    with tarfile.open(tarball) as archive:
        for member in (ANTONIO_WOFF, ANTONIO_LICENSE):
            target = work / pathlib.PurePath(member).name
            target.write_bytes(archive.extractfile(member).read())
            files.append(target)
    return files


def fetch_debian(work, package):
    run("apt-get", "download", package, cwd=work)
    name = package.split("=")[0]
    (deb,) = work.glob(f"{name}_*.deb")
    run("dpkg-deb", "-x", deb.name, name, cwd=work)
    return work / name


def transform_glyphs(font, sx, sy, dx):
    """Redraws every glyph through x' = sx x + dx, y' = sy y, components
    decomposed, and moves the advances and vertical metrics with it."""
    glyph_set = font.getGlyphSet()
    glyf, hmtx = font["glyf"], font["hmtx"]
    redrawn = {}
    for name in font.getGlyphOrder():
        recording = DecomposingRecordingPen(glyph_set)
        glyph_set[name].draw(recording)
        pen = TTGlyphPen(None)
        recording.replay(TransformPen(pen, (sx, 0, 0, sy, dx, 0)))
        redrawn[name] = pen.glyph()
    for name, glyph in redrawn.items():
        glyph.recalcBounds(glyf)
        glyf[name] = glyph
        advance, _ = hmtx[name]
        hmtx[name] = (round(advance * sx + dx), glyph.xMin if glyph.numberOfContours else 0)

    def scaled(value):
        return round(value * sy)

    hhea, os2, post = font["hhea"], font["OS/2"], font["post"]
    hhea.ascent, hhea.descent, hhea.lineGap = map(scaled, (hhea.ascent, hhea.descent, hhea.lineGap))
    os2.sTypoAscender, os2.sTypoDescender, os2.sTypoLineGap = map(
        scaled, (os2.sTypoAscender, os2.sTypoDescender, os2.sTypoLineGap))
    os2.usWinAscent, os2.usWinDescent = scaled(os2.usWinAscent), scaled(os2.usWinDescent)
    if os2.version >= 2:
        os2.sxHeight, os2.sCapHeight = scaled(os2.sxHeight), scaled(os2.sCapHeight)
    os2.recalcAvgCharWidth(font)
    post.underlinePosition, post.underlineThickness = scaled(post.underlinePosition), scaled(
        post.underlineThickness)


def rename(font, family, note):
    """A modified version gets a family name of its own."""
    name = font["name"]
    postscript = family.replace(" ", "") + "-Regular"
    for record_id, text in ((1, family), (2, "Regular"), (3, f"{postscript};show"),
                            (4, f"{family} Regular"), (6, postscript), (16, family), (17, "Regular"),
                            (0, "Copyright 2019 The Homecomputer Fonts Project Authors"),
                            (5, f"Version 1.000; {note}"),
                            (13, "This Font Software is licensed under the SIL Open Font License, Version 1.1."),
                            (14, "https://openfontlicense.org")):
        name.removeNames(nameID=record_id)
        name.setName(text, record_id, 3, 1, 0x409)


def make_antonio(work, out):
    woff, licence = fetch_antonio(work)
    font = TTFont(checked(woff, ANTONIO_SHA256), recalcTimestamp=False)
    font.flavor = None
    font.save(out / "Antonio-Regular.ttf")
    shutil.copyfile(licence, out / "LICENSE-Antonio-Regular.txt")


def make_retro_face(work, out, stem, em_pixels, design_pixel_units, family, left_margin=0.0):
    package, path, sha256 = DEBIAN_FACES[stem]
    root = fetch_debian(work, package)
    font = TTFont(checked(root / path, sha256), recalcTimestamp=False)
    units_per_pixel = font["head"].unitsPerEm / em_pixels  # font units per screen pixel
    wide, tall = design_pixel_units
    sx = PIXEL * units_per_pixel / wide
    sy = PIXEL * units_per_pixel / tall
    transform_glyphs(font, sx, sy, left_margin * PIXEL * units_per_pixel)
    rename(font, family, f"redrawn with {PIXEL:g}-pixel square pixels at {em_pixels} pixels per em")
    font.save(out / f"{stem}.ttf")
    name = package.split("=")[0]
    shutil.copyfile(root / "usr/share/doc" / name / "copyright", out / f"LICENSE-{stem}.txt")


def main():
    out = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parents[2] / "fonts")
    out.mkdir(parents=True, exist_ok=True)
    with tempfile.TemporaryDirectory() as scratch:
        work = pathlib.Path(scratch)
        make_antonio(work, out)
        # C-64: square design pixels of 128 units; Amiga: 64 wide by 128 tall.
        make_retro_face(work, out, "c64", 165, (128, 128), "C-64 Caption")
        make_retro_face(work, out, "topaz", 322, (64, 128), "Amiga Caption", TOPAZ_LEFT_MARGIN)
    print(f"fonts written to {out}")


if __name__ == "__main__":
    main()
