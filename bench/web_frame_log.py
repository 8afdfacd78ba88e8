#!/usr/bin/python3
"""Plays the browser build in headless Chromium (ANGLE on Mesa) for a stretch
of the show, logs every animation frame, and prints its frame times per
stretch of the timeline beside the native show's (bench/frame_log.sh), with
the time from load to the start screen and the site's size.

  bench/web_frame_log.py <native build dir> <site dir> [--from S] [--to S] [--native LOG]
  bench/web_frame_log.py <native build dir> <site dir> --loads N

--native LOG takes a log bench/frame_log.sh wrote before instead of playing
the native show again (it plays all 295 s in real time). --loads N only loads
the page N times, each in a fresh browser (nothing cached), and prints the
time from load to the start screen of each. A timing tool, not a test: it
asserts nothing.
"""
import argparse
import functools
import http.server
import json
import os
import re
import subprocess
import sys
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

FLAGS = [
    "--headless=new", "--use-gl=angle", "--use-angle=gles-egl", "--ignore-gpu-blocklist",
    "--autoplay-policy=no-user-gesture-required",
    # Frames as fast as they come, as the native show on Xvfb (no vsync there).
    "--disable-gpu-vsync", "--disable-frame-rate-limit",
    "--no-sandbox", "--disable-quic", "--no-first-run", "--disable-background-networking",
    "--disable-component-update", "--disable-sync",
]

# Logs, per animation frame while the show plays, the show clock the frame
# draws and the milliseconds from its start to the next frame's: the same two
# columns the native swap shim writes. The page runs two animation loops (the
# show's frame and the viewer's timeline), so a frame is one timestamp, not one
# callback. Each frame begins by reading back one pixel: the browser's GL runs
# in another process, and without that wait the animation frames would time
# only the calls, not the drawing (Chromium's finish() does not wait for it).
# A third column holds the milliseconds the frame's callbacks took (the show's
# frame and its GL calls, up to WebGL): the rest is the wait for the drawing.
FRAME_HOOK = """
window.frameLog = [];
const pixel = new Uint8Array(4);
const request = window.requestAnimationFrame.bind(window);
let stamp = null;     // the animation frame whose callbacks run now
let previous = null;  // [show clock, performance.now()] where the last timed frame began
let calls = 0;        // ms in this frame's callbacks
function frameBegins() {
  if (window.Module && Module.ctx) Module.ctx.readPixels(0, 0, 1, 1, Module.ctx.RGBA, Module.ctx.UNSIGNED_BYTE, pixel);
  const now = performance.now();
  if (window.showPage && showPage.state() === 'playing') {
    if (previous !== null) frameLog.push([previous[0], now - previous[1], calls]);
    previous = [showPage.clock(), now];
  } else {
    previous = null;
  }
  calls = 0;
}
window.requestAnimationFrame = (callback) => request((frame) => {
  if (frame !== stamp) {
    stamp = frame;
    frameBegins();
  }
  const began = performance.now();
  callback(frame);
  calls += performance.now() - began;
});
"""

ROW = re.compile(r"^\s*([\d.]+) - ([\d.]+)\s+(\d+)\s+([\d.]+)\s+([\d.]+)")


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def table(build, log):
    """frame_log_table's rows: {(lo, hi): (frames, median, p90)} and its text."""
    text = subprocess.run([os.path.join(build, "bench/frame_log_table"), log], check=True,
                          capture_output=True, text=True).stdout
    rows = {}
    for line in text.splitlines():
        m = ROW.match(line)
        if m:
            rows[(m[1], m[2])] = (int(m[3]), float(m[4]), float(m[5]))
    return rows, text


def median_of(log, lo, hi):
    ms = sorted(float(ms) for t, ms in (line.split() for line in open(log)) if lo <= float(t) < hi)
    return ms[len(ms) // 2] if ms else float("nan")


def show_facts(build):
    """The show's facts (its size, its end) as the native build wrote them."""
    with open(os.path.join(build, "facts", "show_facts.json")) as facts:
        return json.load(facts)


def serve(site):
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def open_browser(screen):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    size = f"--window-size={screen['width']},{screen['height']}"
    for flag in FLAGS + [size, "--user-data-dir=" + tempfile.mkdtemp()]:
        options.add_argument(flag)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {**screen, "deviceScaleFactor": 1, "mobile": False})
    return driver


def load_page(driver, url):
    """Opens the page and waits for its start screen: ms from navigation to it."""
    driver.get(url)
    while driver.execute_script("return !(window.showPage && showPage.state() === 'ready')"):
        time.sleep(0.05)
    return driver.execute_script("return window.showReadyAt")


def measure_loads(site, count, screen):
    server = serve(site)
    url = f"http://127.0.0.1:{server.server_address[1]}/"
    for _ in range(count):
        driver = open_browser(screen)
        try:
            print(f"load to start screen: {load_page(driver, url) / 1000:.2f} s", flush=True)
        finally:
            driver.quit()
    server.shutdown()


def play_web(site, log, calls_log, start, end, screen):
    server = serve(site)
    driver = open_browser(screen)
    try:
        driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": FRAME_HOOK})
        ready_ms = load_page(driver, f"http://127.0.0.1:{server.server_address[1]}/#t={start}")
        driver.find_element(By.ID, "start").click()
        while driver.execute_script("return showPage.state() === 'playing' && showPage.clock() < arguments[0]", end):
            time.sleep(0.5)
        frames = driver.execute_script("return frameLog")
    finally:
        driver.quit()
        server.shutdown()
    with open(log, "w") as out, open(calls_log, "w") as calls_out:
        for t, ms, calls in frames:
            if t < end:
                out.write(f"{t:.4f} {ms:.3f}\n")
                calls_out.write(f"{t:.4f} {calls:.3f}\n")
    return ready_ms


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("site")
    parser.add_argument("--from", dest="start", type=float, default=0.0)
    parser.add_argument("--to", dest="end", type=float)
    parser.add_argument("--native")
    parser.add_argument("--loads", type=int)
    args = parser.parse_args()
    facts = show_facts(args.build)
    if args.loads:
        return measure_loads(args.site, args.loads, facts["screen"])
    if args.end is None:
        args.end = facts["showEnd"]
    work = tempfile.mkdtemp(prefix="web_frame_log.")

    web_log, calls_log = os.path.join(work, "web.txt"), os.path.join(work, "web_calls.txt")
    ready_ms = play_web(args.site, web_log, calls_log, args.start, args.end, facts["screen"])
    native_log = args.native
    if native_log is None:
        native_log = os.path.join(work, "native.txt")
        bench = os.path.join(os.path.dirname(os.path.abspath(__file__)), "frame_log.sh")
        subprocess.run([bench, args.build, native_log], check=True, stdout=subprocess.DEVNULL)

    web, _ = table(args.build, web_log)
    calls, _ = table(args.build, calls_log)
    native, _ = table(args.build, native_log)
    print("frame times per stretch, ms: the native show on Xvfb, the web build in Chromium (ANGLE on Mesa),")
    print("and of the web frame, the page's own calls (the rest waits for the browser's GL process)")
    print(f"{'stretch (s)':<17} {'native':>14} {'web':>14} {'web/native':>12} {'web calls':>14}")
    print(f"{'':<17} {'median':>7}{'p90':>7} {'median':>7}{'p90':>7} {'median':>6}{'p90':>6} {'median':>7}{'p90':>7}")
    worst = 0.0
    for key, (count, median, p90) in web.items():
        if count == 0 or key not in native or native[key][0] == 0:
            continue
        _, n_median, n_p90 = native[key]
        worst = max(worst, p90 / n_p90)
        _, c_median, c_p90 = calls[key]
        print(f"{key[0]:>7} - {key[1]:<7} {n_median:7.1f}{n_p90:7.1f} {median:7.1f}{p90:7.1f} "
              f"{median / n_median:6.2f}{p90 / n_p90:6.2f} {c_median:7.1f}{c_p90:7.1f}"
              f"{'  p90 > 2x' if p90 > 2 * n_p90 else ''}")
    web_median = median_of(web_log, args.start, args.end)
    native_median = median_of(native_log, args.start, args.end)
    print(f"median frame {args.start:g} to {args.end:g} s: native {native_median:.1f} ms, web {web_median:.1f} ms "
          f"({web_median / native_median:.2f}x); worst stretch p90 {worst:.2f}x native")
    print(f"load to start screen: {ready_ms / 1000:.2f} s")
    size = sum(os.path.getsize(os.path.join(d, f)) for d, _, fs in os.walk(args.site) for f in fs)
    print(f"show.wasm {os.path.getsize(os.path.join(args.site, 'show.wasm')) / 1e6:.2f} MB, "
          f"site {size / 1e6:.2f} MB")
    print(f"logs: {web_log} {calls_log} {native_log}")


if __name__ == "__main__":
    sys.exit(main())
