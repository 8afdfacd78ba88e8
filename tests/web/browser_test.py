#!/usr/bin/python3
"""The browser build in headless Chromium, in two GL variants without a GPU.

  tests/web/browser_test.py <site dir> <native build dir>

Frames at fixed moments (#t=...&hold) against the native offscreen render of
the same t; the console; the Web Audio context and its output; the page's own
messages when WebGL2, a file or the music is missing; a hidden tab across the
music switch; the viewer's transport (pause, seek, the timeline) and the fade
that stops a sound. The show's facts (its size, end, tracks) come from the
native build's facts/show_facts.json. Prints one line per check; exits 1 when
any fails.
"""
import base64
import functools
import http.server
import io
import json
import os
import re
import subprocess
import sys
import tempfile
import threading
import time

import numpy as np
from PIL import Image
from selenium import webdriver
from selenium.common.exceptions import WebDriverException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

VARIANTS = {
    # Chromium keeps WebGL2 off on llvmpipe unless told to ignore its blocklist.
    "angle": ["--use-gl=angle", "--use-angle=gles-egl", "--ignore-gpu-blocklist"],
    "swiftshader": ["--use-angle=swiftshader", "--enable-unsafe-swiftshader"],
}
COMMON_FLAGS = [
    "--headless=new", "--autoplay-policy=no-user-gesture-required",
    # A closed network: nothing in the background may try to reach out.
    "--no-sandbox", "--disable-quic", "--no-first-run", "--disable-background-networking",
    "--disable-component-update", "--disable-sync",
]

# Captions with halos (12), a cube scene under a caption (45), an image over a scene (215).
FRAME_TIMES = [12, 45, 215]
# Per pixel, the largest channel difference from the native render (Mesa
# llvmpipe). Measured with Chromium 156: with every tap per pixel, ANGLE on
# llvmpipe and SwiftShader both come to a mean of 0.25 and 1.2 % of pixels off
# by more than 8 at 12 s (halo edges: the taps differ from the quad's shared ones).
# The programs that share taps across pixel quads match to 2/255 on ANGLE;
# forced on SwiftShader, whose derivatives are coarse: mean 1.07, 4.1 % off.
OFF_BY = 8
MAX_MEAN = 0.6
MAX_OFF_FRACTION = 0.02

WAIT_S = 90  # page loads on a loaded machine

FACTS = {}  # the show's facts, read from the native build


def track_path(stem):
    return next(t["path"] for t in FACTS["tracks"] if t["stem"] == stem)


class Site(http.server.SimpleHTTPRequestHandler):
    """Serves the site. /<name>/... overlays the files of overlays[name] on it;
    /flaky/... answers 404 for the paths in `failing`; /broken/... serves noise
    as music."""
    overlays = {}
    failing = set()

    def translate_path(self, path):
        prefix, _, rest = path.lstrip("/").partition("/")
        rest = rest.split("?")[0]
        if prefix in self.overlays and os.path.isfile(os.path.join(self.overlays[prefix], rest)):
            return os.path.join(self.overlays[prefix], rest)
        if prefix in ("flaky", "broken") or prefix in self.overlays:
            return super().translate_path("/" + rest)
        return super().translate_path(path)

    def send_head(self):
        prefix, _, rest = self.path.lstrip("/").partition("/")
        if prefix == "flaky" and rest in self.failing:
            self.send_error(404, "File not found")
            return None
        if prefix == "broken" and rest.startswith("music/"):
            noise = os.urandom(20000)
            self.send_response(200)
            self.send_header("Content-Length", str(len(noise)))
            self.end_headers()
            return io.BytesIO(noise)
        return super().send_head()

    def log_message(self, *args):
        pass


class Checks:
    def __init__(self):
        self.failed = []

    def check(self, name, ok, detail=""):
        print(f"{'PASS' if ok else 'FAIL'} {name}{': ' + detail if detail else ''}", flush=True)
        if not ok:
            self.failed.append(name)


def browser(variant):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    width, height = FACTS["screen"]["width"], FACTS["screen"]["height"]
    for flag in COMMON_FLAGS + VARIANTS[variant] + [f"--window-size={width},{height}",
                                                    "--user-data-dir=" + tempfile.mkdtemp()]:
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": False})
    return driver


def js(driver, script):
    return driver.execute_script("return " + script)


def wait_for(driver, condition, seconds=WAIT_S):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        value = js(driver, condition)
        if value:
            return value
        time.sleep(0.1)
    return None


def open_page(driver, url):
    """Loads the page afresh and waits for its start screen or a message."""
    driver.get("about:blank")
    driver.get(url)
    wait_for(driver, "window.showPage && (showPage.state() === 'ready' || "
                     "!document.getElementById('message').hidden)")
    return js(driver, "window.showPage ? showPage.state() : 'none'")


def start(driver):
    driver.find_element(By.ID, "start").click()
    # Two animation frames: the first drawn frame is on the canvas.
    driver.execute_async_script("const done = arguments[0]; "
                                "requestAnimationFrame(() => requestAnimationFrame(() => done()))")


def message(driver):
    return js(driver, "document.getElementById('message').hidden ? '' : "
                      "document.getElementById('message-text').textContent")


def screenshot(driver):
    shot = driver.execute_cdp_cmd("Page.captureScreenshot", {"format": "png"})
    return np.asarray(Image.open(io.BytesIO(base64.b64decode(shot["data"]))).convert("RGB")).astype(int)


def frame_difference(a, b):
    if a.shape != b.shape:
        return float("inf"), 1.0
    off = np.abs(a - b).max(axis=2)
    return off.mean(), (off > OFF_BY).mean()


def matches(mean, off):
    return mean <= MAX_MEAN and off <= MAX_OFF_FRACTION


def check_frames(checks, driver, variant, base, native):
    for t in FRAME_TIMES:
        open_page(driver, f"{base}/#t={t}&hold")
        start(driver)
        mean, off = frame_difference(screenshot(driver), native[t])
        checks.check(f"{variant}: frame at {t} s matches the native render", matches(mean, off),
                     f"mean {mean:.3f}, {100 * off:.2f} % off by more than {OFF_BY}")
    # The page picks the programs that share taps across pixel quads only where
    # derivatives are fine (ANGLE on llvmpipe), never on SwiftShader, where
    # they are coarse and the shared taps would be wrong.
    picked = js(driver, "showPage.programs")
    checks.check(f"{variant}: the page picks the {'quad' if variant == 'angle' else 'taps'} programs",
                 picked == ("quad" if variant == "angle" else "taps"), str(picked))
    # The other set, forced: every tap per pixel is right everywhere; sharing
    # through coarse derivatives must fail, or the tolerance is too loose to
    # tell it from the ES programs' own taps.
    other = "taps" if variant == "angle" else "quad"
    open_page(driver, f"{base}/#t=12&hold&programs={other}")
    start(driver)
    mean, off = frame_difference(screenshot(driver), native[12])
    expect = other == "taps"
    checks.check(f"{variant}: the {other} programs {'match' if expect else 'fail'} at 12 s",
                 matches(mean, off) == expect, f"mean {mean:.3f}, {100 * off:.2f} % off")


def check_sound(checks, driver, base, site):
    open_page(driver, f"{base}/#t=12")
    # The show starts up while the music decodes; the start screen waits for both.
    decoded = js(driver, "[showPage.state(), showPage.audio.tracks.size]")
    checks.check("the start screen comes with both tracks decoded", decoded == ["ready", len(FACTS["tracks"])],
                 str(decoded))
    start(driver)
    first = js(driver, "[showPage.audio.ctx.state, showPage.audio.ctx.currentTime]")
    time.sleep(0.5)
    level = js(driver, "showPage.audio.level()")
    second = js(driver, "showPage.audio.ctx.currentTime")
    checks.check("AudioContext runs and its time advances", first[0] == "running" and second > first[1],
                 f"{first[0]}, {first[1]:.3f} s then {second:.3f} s")
    checks.check("the analyser hears the music at 12 s", level > 0.01, f"peak {level:.3f}")
    size = js(driver, "[document.getElementById('canvas').width, document.getElementById('canvas').height, "
                      "!!document.fullscreenElement]")
    screen = [FACTS["screen"]["width"], FACTS["screen"]["height"]]
    checks.check("the drawing buffer stays {} x {} once playing".format(*screen), size[:2] == screen, str(size))
    tune1 = track_path("Tune1")
    seam = js(driver, f"showPage.audio.seam('{tune1}')")
    length = js(driver, f"[showPage.audio.tracks.get('{tune1}').length, showPage.audio.ctx.sampleRate]")
    with open(os.path.join(site, "files.json")) as manifest:
        period = next(t["loopFrames"] for t in json.load(manifest)["tracks"] if "loopFrames" in t)
    rate = FACTS["sampleRate"]
    checks.check("Tune1's loop is one period long", length[0] == round(period * length[1] / rate),
                 f"{length[0]} frames at {length[1]} Hz, the WAV's {period} at {rate} Hz")
    checks.check("Tune1's loop seam steps no more than a step inside it",
                 all(c["seam"] <= c["typical"] for c in seam), str(seam))
    for t, track in ((100, "newtune"), (262, "Tune1")):
        open_page(driver, f"{base}/#t={t}")
        start(driver)
        voices = js(driver, "showPage.audio.voices.map(v => v.path)")
        checks.check(f"a link to {t} s starts with {track}", voices == [track_path(track)], str(voices))


def check_faults(checks, driver, base):
    # No WebGL2: the page must say so instead of leaving a blank canvas.
    stub = driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": """
        const getContext = HTMLCanvasElement.prototype.getContext;
        HTMLCanvasElement.prototype.getContext = function (kind, ...rest) {
          return kind === 'webgl2' ? null : getContext.call(this, kind, ...rest);
        };"""})
    open_page(driver, f"{base}/")
    text = message(driver)
    checks.check("without WebGL2 the page says so", "lacks WebGL2" in text, repr(text))
    driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument", {"identifier": stub["identifier"]})

    Site.failing = {"fonts/c64.ttf"}
    open_page(driver, f"{base}/flaky/")
    text = message(driver)
    checks.check("a file that fails to load is named", "fonts/c64.ttf" in text, repr(text))
    Site.failing = set()
    driver.find_element(By.ID, "retry").click()
    checks.check("retry loads it and reaches the start screen",
                 wait_for(driver, "showPage.state() === 'ready'") is not None)

    # The message comes as soon as decoding fails, before the show has started
    # up; the start screen follows it.
    open_page(driver, f"{base}/broken/#t=12")
    text = message(driver)
    if wait_for(driver, "showPage.state() === 'ready'"):
        start(driver)
    checks.check("music that fails to decode: the show plays silently and says so",
                 "without sound" in text and js(driver, "showPage.state()") == "playing", repr(text))


def check_end(checks, driver, base):
    open_page(driver, f"{base}/#t=294.5")
    start(driver)
    ended = wait_for(driver, "showPage.state() === 'ended' && !document.getElementById('end').hidden", 30)
    checks.check(f"at {FACTS['showEnd']} s the end screen offers to play again", ended is not None)
    if ended:
        driver.find_element(By.ID, "again").click()
        clock = js(driver, "showPage.clock()")
        checks.check("play again starts the show from 0 s",
                     js(driver, "showPage.state()") == "playing" and clock < 5, f"clock {clock:.2f} s")


def check_escape(checks, driver, base):
    open_page(driver, f"{base}/#t=12")
    start(driver)
    fullscreen = js(driver, "!!document.fullscreenElement")
    presses = []
    # Each press waits for what it should do, and the second comes well after the
    # 250 ms in which the page takes an Escape for the one that left fullscreen.
    for outcome in ("!document.fullscreenElement", "showPage.state() === 'ended'"):
        ActionChains(driver).send_keys(Keys.ESCAPE).perform()
        wait_for(driver, outcome, 10)
        time.sleep(0.4)
        presses.append(js(driver, "[showPage.state(), !!document.fullscreenElement]"))
    # Headless Chromium grants the fullscreen the click asks for.
    checks.check("Escape: the first leaves fullscreen, the next ends the show",
                 fullscreen and presses == [["playing", False], ["ended", False]], str(presses))


def press(driver, key):
    ActionChains(driver).send_keys(key).perform()


def voices_at(driver):
    """[path, seconds into its track] of each voice (frozen while paused)."""
    return js(driver, "showPage.audio.voices.map(v => "
                      "[v.path, v.offset + showPage.audio.ctx.currentTime - v.at])")


def linked(driver):
    hash = js(driver, "location.hash")
    return float(hash[3:]) if hash.startswith("#t=") else None


def check_transport(checks, driver, base):
    # The switch cue sounds on the first frame after 74 s that the cue pass
    # runs at 60 fps: where a seek puts newtune's start.
    switched_at = FACTS["musicCues"][1] + 1 / 60
    open_page(driver, f"{base}/#t=76")
    start(driver)
    press(driver, Keys.SPACE)
    paused = wait_for(driver, "showPage.paused() && showPage.audio.ctx.state === 'suspended'", 10)
    at = js(driver, "showPage.clock()")
    time.sleep(0.5)
    still = js(driver, "showPage.clock()")
    link = linked(driver)
    checks.check("Space pauses the picture and the music, and puts the moment into the link",
                 paused and still == at and link is not None and abs(link - at) < 0.006,
                 f"clock {at:.3f} s then {still:.3f} s, link {link}")

    # Seeks while paused: the clock and the music stand still where they land.
    press(driver, Keys.ARROW_RIGHT)
    ahead, voices, link = js(driver, "showPage.clock()"), voices_at(driver), linked(driver)
    checks.check("Right seeks 5 s and newtune follows, from where the show would have it",
                 abs(ahead - at - 5) < 1e-6 and len(voices) == 1 and voices[0][0] == track_path("newtune")
                 and abs(voices[0][1] - (ahead - switched_at)) < 0.05 and abs(link - ahead) < 0.006,
                 f"clock {ahead:.3f} s, voices {voices}, link {link}")
    press(driver, Keys.ARROW_LEFT)
    press(driver, Keys.ARROW_LEFT)
    back, voices = js(driver, "showPage.clock()"), voices_at(driver)
    checks.check("Left twice seeks back across the switch, and Tune1 plays again",
                 abs(back - at + 5) < 1e-6 and [v[0] for v in voices] == [track_path("Tune1")],
                 f"clock {back:.3f} s, voices {voices}")
    press(driver, Keys.SPACE)
    running = wait_for(driver, "!showPage.paused() && showPage.audio.ctx.state === 'running'", 10)
    time.sleep(0.3)
    checks.check("Space again plays on from there", running and js(driver, "showPage.clock()") > back,
                 f"clock {js(driver, 'showPage.clock()'):.3f} s")

    # The timeline shows on a mouse move, with the three cues marked; a click
    # on it seeks there.
    ActionChains(driver).move_by_offset(7, 5).perform()
    shown = wait_for(driver, "!document.getElementById('timeline').hidden", 5)
    marks = js(driver, "document.querySelectorAll('#timeline .cue').length")
    checks.check("a mouse move shows the timeline with the music cues marked",
                 shown and marks == len(FACTS["musicCues"]), f"shown {shown}, {marks} marks")
    target = 215.0
    left, width = js(driver, "(r => [r.left, r.width])("
                             "document.getElementById('timeline-track').getBoundingClientRect())")
    track = driver.find_element(By.ID, "timeline-track")
    ActionChains(driver).move_to_element_with_offset(
        track, round(width * target / FACTS["showEnd"] - width / 2), 0).click().perform()
    clicked, voices = js(driver, "showPage.clock()"), voices_at(driver)
    checks.check("a click on the timeline seeks there, and the music follows",
                 -0.5 < clicked - target < 3 and [v[0] for v in voices] == [track_path("newtune")]
                 and abs(voices[0][1] - (clicked - switched_at)) < 0.3,
                 f"clock {clicked:.2f} s, voices {voices}")


def check_fade(checks, driver):
    """The page's fade, rendered offline, against the native raised cosine."""
    rate, fade, at = FACTS["sampleRate"], FACTS["declickSeconds"], 0.01
    samples = driver.execute_async_script(f"""
        const done = arguments[0];
        const ctx = new OfflineAudioContext(1, {rate} * 0.03, {rate});
        const source = new ConstantSourceNode(ctx);
        const gain = ctx.createGain();
        source.connect(gain).connect(ctx.destination);
        showPage.fadeOut(gain.gain, {at}, {rate});
        source.start();
        ctx.startRendering().then((b) => done(Array.from(b.getChannelData(0))));""")
    x = np.clip((np.arange(len(samples)) / rate - at) / fade, 0, 1)
    off = np.abs(np.asarray(samples) - (0.5 + 0.5 * np.cos(np.pi * x))).max()
    # A linear ramp is off by 0.1 near the fade's start.
    checks.check("a stop fades out along the native raised cosine", off < 0.01, f"largest difference {off:.4f}")


def check_bad_program(checks, driver, base):
    """Runs last: the failing program also leaves WebGL's own complaints."""
    driver.get_log("browser")
    open_page(driver, f"{base}/badglsl/#t=12")
    state = js(driver, "showPage.state()")
    if state == "ready":
        start(driver)
    logs = [entry["message"] for entry in driver.get_log("browser")]
    checks.check("a program that fails to compile: its log in the console, the show plays on",
                 any("ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT" in m for m in logs)
                 and js(driver, "showPage.state()") == "playing", state)


def check_hidden_tab(checks, driver, base):
    open_page(driver, f"{base}/#t=73.2")
    start(driver)
    page = driver.current_window_handle
    # The clock may run only while the tab switches take, however long a loaded
    # machine makes them; not through the 3 s between.
    leaving = time.monotonic()
    before = js(driver, "showPage.clock()")
    driver.switch_to.new_window("tab")
    switching = time.monotonic() - leaving
    time.sleep(3)
    returning = time.monotonic()
    driver.switch_to.window(page)
    after = js(driver, "showPage.clock()")
    switching += time.monotonic() - returning
    checks.check("the clock stops while the tab is hidden", after - before < switching + 0.5,
                 f"{before:.2f} s before, {after:.2f} s after 3 s hidden ({switching:.2f} s switching)")
    wait_for(driver, "showPage.clock() > 75.2", 30)
    voices = js(driver, "showPage.audio.voices.map(v => v.path)")
    checks.check("a tab hidden before 74 s still switches the music", voices == [track_path("newtune")], str(voices))


def console_errors(driver):
    return [entry["message"] for entry in driver.get_log("browser")
            if re.search(r"WebGL|GL_INVALID|GL ERROR", entry["message"])]


def main():
    site, build = (os.path.abspath(p) for p in sys.argv[1:3])
    with open(os.path.join(build, "facts", "show_facts.json")) as facts:
        FACTS.update(json.load(facts))
    work = tempfile.mkdtemp(prefix="browser_test.")
    subprocess.run([os.path.join(build, "hosts/recorder/render_frames"), work] + [str(t) for t in FRAME_TIMES],
                   cwd=os.path.join(build, "run"), check=True, stdout=subprocess.DEVNULL)
    native = {t: np.asarray(Image.open(os.path.join(work, f"frame_{t}.png")).convert("RGB")).astype(int)
              for t in FRAME_TIMES}
    Site.overlays = {"badglsl": os.path.join(work, "badglsl")}
    os.makedirs(os.path.join(Site.overlays["badglsl"], "demo6"))
    with open(os.path.join(Site.overlays["badglsl"], "demo6", "demo6pt3-2.fs"), "w") as bad:
        bad.write("#version 300 es\nthis does not compile\n")

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Site, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    base = f"http://127.0.0.1:{server.server_address[1]}"

    checks = Checks()
    for variant in VARIANTS:
        driver = browser(variant)
        try:
            check_frames(checks, driver, variant, base, native)
            if variant == "angle":
                check_sound(checks, driver, base, site)
                check_end(checks, driver, base)
                check_escape(checks, driver, base)
                check_hidden_tab(checks, driver, base)
                check_transport(checks, driver, base)
                check_fade(checks, driver)
            errors = console_errors(driver)
            checks.check(f"{variant}: no WebGL error in the console", not errors, "; ".join(errors)[:500])
            if variant == "angle":
                check_faults(checks, driver, base)
                check_bad_program(checks, driver, base)
        except WebDriverException as error:
            checks.check(f"{variant}: the browser session", False, str(error).splitlines()[0])
        finally:
            driver.quit()
    server.shutdown()
    if checks.failed:
        print(f"{len(checks.failed)} browser check(s) failed: {', '.join(checks.failed)}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
