"""The soundtrack measured the way a mastering engineer would: EBU R128 loudness
(ffmpeg's ebur128 filter), true peak (4x oversampled), DC, the long-term
spectrum in octave and third-octave bands, the stereo image, the stems, the
limiter, the risers, and the show's cuts in the soundtrack the recorder mixes.
And the form, as a listener follows it across the show: how long the show goes
without new material (from the score), which of newtune's phrases replay one of
Tune1's (from the audio), where newtune is loudest and quietest, the kick
against the bass, the drums' variety, and how the show's last second ends.
Run through tools/music/measure.

usage: measure.py <show_facts.json> <tracks dir> <stems dir> <show.wav> <cues.txt> [<plot.png> | ""]
"""
import json
import re
import subprocess
import sys
from pathlib import Path

import numpy as np

FACTS = {}  # the show's facts (tracks, end, declick fade), from the build
STEMS = ("kick", "snare", "hats", "crash", "riser", "bass", "arp", "pad", "lead")
OCTAVES = (63, 125, 250, 500, 1000, 2000, 4000, 8000)


def read_wav(path):
    """(rate, samples as float frames x channels, full scale 1.0): 16-bit PCM or 32-bit float."""
    data = Path(path).read_bytes()
    at, fmt = 12, None
    while at + 8 <= len(data):
        kind, size = data[at:at + 4], int.from_bytes(data[at + 4:at + 8], "little")
        body = data[at + 8:at + 8 + size]
        if kind == b"fmt ":
            fmt = (int.from_bytes(body[0:2], "little"), int.from_bytes(body[2:4], "little"),
                   int.from_bytes(body[4:8], "little"), int.from_bytes(body[14:16], "little"))
        elif kind == b"data":
            code, channels, rate, bits = fmt
            if code == 1 and bits == 16:
                samples = np.frombuffer(body, "<i2").astype(np.float64) / 32768.0
            elif code == 3 and bits == 32:
                samples = np.frombuffer(body, "<f4").astype(np.float64)
            else:
                sys.exit(f"{path}: unsupported WAV format {fmt}")
            return rate, samples[: len(samples) // channels * channels].reshape(-1, channels)
        at += 8 + size + (size & 1)
    sys.exit(f"{path}: no data chunk")


def ebur128(path):
    """Integrated loudness, loudness range, and the momentary and short-term
    loudness every 100 ms (arrays of t, M, S), as ffmpeg measures them."""
    log = subprocess.run(["ffmpeg", "-hide_banner", "-nostats", "-loglevel", "verbose", "-i", str(path),
                          "-af", "ebur128=framelog=verbose", "-f", "null", "-"],
                         capture_output=True, text=True, check=True).stderr
    rows = re.findall(r"t: *([\d.]+) +TARGET:\S+ LUFS +M: *(\S+) +S: *(\S+)", log)
    t, m, s = (np.array([float(r[i]) for r in rows]) for i in range(3))
    summary = log[log.rindex("Summary:"):]
    integrated = float(re.search(r"I: +(\S+) LUFS", summary).group(1))
    lra = float(re.search(r"LRA: +(\S+) LU", summary).group(1))
    return integrated, lra, t, m, s


def true_peak_db(x):
    """The highest peak between samples too: 4x oversampling by windowed-sinc
    interpolation (as the loudness standard's true-peak meter does)."""
    peak = np.abs(x).max()
    k = np.arange(-16, 17)
    for phase in (0.25, 0.5, 0.75):
        h = np.sinc(k - phase) * np.kaiser(len(k), 8.0)
        h /= h.sum()
        for c in range(x.shape[1]):
            peak = max(peak, np.abs(np.convolve(x[:, c], h, "same")).max())
    return 20 * np.log10(peak)


def db(v):
    return 20 * np.log10(max(abs(v), 1e-12))


def octave_levels(x, rate):
    """Long-term power in octave bands, in dB relative to the 1 kHz octave."""
    n = 16384
    window = np.hanning(n)
    power = np.zeros(n // 2 + 1)
    for at in range(0, len(x) - n, n // 2):
        for c in range(x.shape[1]):
            power += np.abs(np.fft.rfft(x[at:at + n, c] * window)) ** 2
    freqs = np.fft.rfftfreq(n, 1.0 / rate)
    band = {f: power[(freqs >= f / 2 ** 0.5) & (freqs < f * 2 ** 0.5)].sum() for f in OCTAVES}
    return {f: 10 * np.log10(band[f] / band[1000]) for f in OCTAVES}


def k_weighted(x, rate):
    """x through the loudness standard's K-weighting (a high shelf of +4 dB
    from about 1.7 kHz and a high-pass at 38 Hz), designed for `rate`."""
    from scipy.signal import lfilter
    w = 2 * np.pi * 1681.97 / rate
    a = 10 ** (4.0 / 40)
    alpha = np.sin(w) / 2 * np.sqrt(2)
    c = np.cos(w)
    b1 = [a * ((a + 1) + (a - 1) * c + 2 * np.sqrt(a) * alpha), -2 * a * ((a - 1) + (a + 1) * c),
          a * ((a + 1) + (a - 1) * c - 2 * np.sqrt(a) * alpha)]
    a1 = [(a + 1) - (a - 1) * c + 2 * np.sqrt(a) * alpha, 2 * ((a - 1) - (a + 1) * c),
          (a + 1) - (a - 1) * c - 2 * np.sqrt(a) * alpha]
    w = 2 * np.pi * 38.13 / rate
    alpha = np.sin(w) / (2 * 0.5)
    c = np.cos(w)
    b2 = [(1 + c) / 2, -(1 + c), (1 + c) / 2]
    a2 = [1 + alpha, -2 * c, 1 - alpha]
    return lfilter(b2, a2, lfilter(b1, a1, x, axis=0), axis=0)


def loudness(k, at=0, end=None):
    """Loudness (LUFS, ungated) of K-weighted frames [at, end)."""
    seg = k[at:end]
    return -0.691 + 10 * np.log10(max((seg ** 2).mean(axis=0).sum(), 1e-20))


def third_octave_levels(x, rate):
    """Long-term power in third-octave bands from 1 kHz up, in dB against 1 kHz."""
    n = 16384
    window = np.hanning(n)
    power = np.zeros(n // 2 + 1)
    for at in range(0, len(x) - n, n // 2):
        for c in range(x.shape[1]):
            power += np.abs(np.fft.rfft(x[at:at + n, c] * window)) ** 2
    freqs = np.fft.rfftfreq(n, 1.0 / rate)
    centres = (1000, 2500, 3150, 4000, 5000, 6300, 16000)
    band = {f: power[(freqs >= f / 2 ** (1 / 6)) & (freqs < f * 2 ** (1 / 6))].sum() for f in centres}
    return {f: 10 * np.log10(band[f] / band[1000]) for f in centres}


def low_side_db(x, rate):
    """The side signal below 120 Hz against the mid below 120 Hz, in dB."""
    spec_m = np.fft.rfft(x[:, 0] + x[:, 1])
    spec_s = np.fft.rfft(x[:, 0] - x[:, 1])
    low = np.fft.rfftfreq(len(x), 1.0 / rate) < 120
    return 10 * np.log10((np.abs(spec_s[low]) ** 2).sum() / max((np.abs(spec_m[low]) ** 2).sum(), 1e-20))


def read_bars(path):
    """Every bar of the score: (start s, chord, lead, drums), as music_synth writes them."""
    out = []
    for line in Path(path).read_text().splitlines():
        start, chord, lead, drums = line.split("|")
        out.append((float(start), chord, lead.strip(), drums.strip()))
    return out


def print_kick(name, stems, sections, rate):
    """The kick's energy above 1 kHz (its click), and the kick against the
    bass in each drop (K-weighted, over the section)."""
    _, kick = read_wav(stems / name / "kick.wav")
    if np.abs(kick).max() == 0:
        return
    spec = np.abs(np.fft.rfft(kick.mean(axis=1))) ** 2
    freqs = np.fft.rfftfreq(len(kick), 1.0 / rate)
    print(f"  kick energy above 1 kHz {10 * np.log10(spec[freqs > 1000].sum() / spec.sum()):.1f} dB")
    _, bass = read_wav(stems / name / "bass.wav")
    kk, kb = k_weighted(kick, rate), k_weighted(bass, rate)
    drops = [(st, ln, lb) for st, ln, lb in sections if "drop" in lb or lb in ("return", "climax", "theme", "variation") or
             lb == "answer"]
    if drops:
        print("  kick against bass: " + ", ".join(
            f"{lb} {loudness(kk, int(st * rate), int((st + ln) * rate)) - loudness(kb, int(st * rate), int((st + ln) * rate)):+.1f} LU"
            for st, ln, lb in drops))


def chroma_bars(x, rate, start, bars, bar):
    """Chroma (12 pitch classes, 110 Hz to 4 kHz) of each bar from `start`,
    summed over its beats and normalised per bar, as one vector."""
    n = 8192
    freqs = np.fft.rfftfreq(n, 1.0 / rate)
    use = (freqs > 110) & (freqs < 4000)
    pcs = np.round(12 * np.log2(freqs[use] / 440.0)).astype(int) % 12
    mono = x.mean(axis=1)
    out = []
    for b in range(bars):
        c = np.zeros(12)
        for beat in range(4):
            at = int((start + (b + beat / 4) * bar) * rate)
            seg = mono[at:at + n]
            seg = np.pad(seg, (0, n - len(seg)))
            c += np.bincount(pcs, weights=np.abs(np.fft.rfft(seg * np.hanning(n)))[use] ** 2, minlength=12)
        out.append(c / (np.linalg.norm(c) + 1e-12) / np.sqrt(bars))
    return np.concatenate(out)


def print_replays(tracks, stems):
    """newtune's four-bar phrases against Tune1's: the cosine of their beat-by-beat chroma."""
    bar = 16 * 5292 / 44100
    rate, t1 = read_wav(tracks / "Tune1.wav")
    _, nt = read_wav(tracks / "newtune.wav")
    t1_bars = read_bars(stems / "Tune1" / "bars.txt")
    nt_bars = read_bars(stems / "newtune" / "bars.txt")
    theirs = [chroma_bars(t1, rate, t1_bars[i][0], 4, bar) for i in range(0, len(t1_bars) - 3, 4)]
    # newtune's phrases as heard: every four bars from its first bar (the
    # pickup's bar, heard only in part, left out) up to the cut.
    cut = FACTS["musicCues"][2] - FACTS["musicCues"][1]
    scores = []
    for i in range(0, len(nt_bars) - 3, 4):
        if nt_bars[i][0] < 0:
            continue
        if nt_bars[i][0] + 4 * bar > cut:
            break
        mine = chroma_bars(nt, rate, nt_bars[i][0], 4, bar)
        scores.append((max(float(mine @ t) for t in theirs), nt_bars[i][0]))
    replays = [(c, at) for c, at in scores if c >= 0.9]
    print(f"newtune's phrases replaying a Tune1 phrase (chroma cosine >= 0.9): {len(replays)} of {len(scores)}"
          + (" (at " + ", ".join(f"{at:.0f} s {c:.2f}" for c, at in replays) + ")" if replays else "")
          + f"; highest {max(c for c, _ in scores):.2f}")


def print_new_material(stems, plays, end):
    """Walks the show as heard, bar by bar, and finds the longest stretch
    with no chord or lead line that has not been heard before."""
    bars = {name: read_bars(stems / name / "bars.txt") for name in track_stems()}
    loop = {t["stem"]: t["looped"] for t in FACTS["tracks"]}
    seen, news = set(), [0.0]
    for k, (at, name) in enumerate(plays):
        stop = plays[k + 1][0] if k + 1 < len(plays) else end
        track = bars[name]
        length = track[-1][0] + (track[-1][0] - track[-2][0]) if loop[name] else None
        passes = 0
        while True:
            done = False
            for start, chord, lead, _ in track:
                when = at + start + (passes * length if length else 0)
                if when >= stop:
                    done = True
                    break
                if when < at:
                    continue
                fresh = False
                for item in (("chord", chord), ("lead", lead)):
                    if item[1] and item not in seen:
                        seen.add(item)
                        fresh = True
                if fresh:
                    news.append(when)
            if done or not length:
                break
            passes += 1
    news.append(end)
    gaps = sorted(((b - a, a, b) for a, b in zip(news, news[1:])), reverse=True)
    print(f"longest stretch without a new chord or lead bar: {gaps[0][0]:.1f} s ({gaps[0][1]:.1f} to {gaps[0][2]:.1f} s); "
          f"next {gaps[1][0]:.1f} s ({gaps[1][1]:.1f} to {gaps[1][2]:.1f} s); the last new bar at {news[-2]:.1f} s")
    # The last cue replays the first track from its start: a recap, new by no definition.
    recap = plays[-1][0]
    before = [n for n in news if n < recap] + [recap]
    gap = max((b - a, a, b) for a, b in zip(before, before[1:]))
    print(f"  up to the return at {recap:.1f} s: longest {gap[0]:.1f} s ({gap[1]:.1f} to {gap[2]:.1f} s)")


def print_arc(t, m, at, cut):
    """newtune's loudest and quietest 15 s (energy mean of the momentary loudness) as heard."""
    inside = (t >= at + 0.4) & (t <= cut)
    tt, mm = t[inside] - at, m[inside]
    windows = [(energy_mean(mm[(tt >= w) & (tt < w + 15)]), w) for w in np.arange(0, cut - at - 15, 0.5)]
    loud = max(windows)
    quiet = min((v, w) for v, w in windows if w >= 30)
    length = cut - at
    print(f"newtune's loudest 15 s from {loud[1]:.1f} s ({100 * loud[1] / length:.0f} % to "
          f"{100 * (loud[1] + 15) / length:.0f} % of its {length:.0f} s), {loud[0]:.1f} LUFS; quietest after 30 s from "
          f"{quiet[1]:.1f} s, {quiet[0]:.1f} LUFS ({quiet[0] - loud[0]:+.1f} LU)")


def print_ending(x, rate):
    """The show's last quarter second against the whole show, and its last sample."""
    k = k_weighted(x, rate)
    whole = loudness(k)
    last = loudness(k, len(x) - rate // 4)
    print(f"the show's last 0.25 s: {last:.1f} LUFS, {last - whole:+.1f} LU against the whole show "
          f"({whole:.1f} LUFS ungated); last sample {np.abs(x[-1]).max():.3f} FS")


def steps(x):
    return np.abs(np.diff(x, axis=0)).max(axis=1)


def energy_mean(levels):
    levels = levels[levels > -70]
    return 10 * np.log10(np.mean(10 ** (levels / 10))) if len(levels) else -70.0


def measure_track(name, tracks, stems):
    rate, x = read_wav(tracks / f"{name}.wav")
    integrated, lra, t, m, _ = ebur128(tracks / f"{name}.wav")
    dc = max(db(x[:, c].mean()) for c in range(x.shape[1]))
    corr = np.corrcoef(x[:, 0], x[:, 1])[0, 1]
    print(f"{name}: {len(x) / rate:.2f} s; integrated {integrated:.1f} LUFS, range {lra:.1f} LU, "
          f"true peak {true_peak_db(x):+.2f} dBTP, sample peak {db(np.abs(x).max()):+.2f} dBFS, "
          f"DC {dc:.1f} dBFS, L/R correlation {corr:.3f}")
    bands = octave_levels(x, rate)
    print("  octaves against 1 kHz: " + ", ".join(f"{f} Hz {bands[f]:+.1f}" for f in OCTAVES if f != 1000) + " dB")
    print(f"  99.9th percentile sample step {np.percentile(steps(x), 99.9):.4f} FS")
    thirds = third_octave_levels(x, rate)
    off = {f: thirds[f] + 4.5 * np.log2(f / 1000) for f in (2500, 3150, 4000, 5000, 6300)}
    print(f"  third-octaves against 1 kHz: 16 kHz {thirds[16000]:+.1f} dB; 2.5 to 6.3 kHz against a "
          f"-4.5 dB/octave line from 1 kHz: " + ", ".join(f"{v:+.1f}" for v in off.values()) + " dB")
    print(f"  side below 120 Hz {low_side_db(x, rate):.1f} dB against the mid below 120 Hz")

    loud = {s: ebur128(stems / name / f"{s}.wav")[0] for s in STEMS}
    top = max(loud.values())
    print("  stems: " + ", ".join(f"{s} {v:.1f}" for s, v in loud.items()) + " LUFS; "
          f"arp {loud['arp'] - top:+.1f} LU and hats {loud['hats'] - top:+.1f} LU from the loudest")

    rate, reduction = read_wav(stems / name / "limiter.wav")
    reduction = reduction[:, 0]
    worst = int(reduction.argmax())
    print(f"  limiter: at most {reduction.max():.2f} dB of gain reduction (at {worst / rate:.2f} s), "
          f"{(reduction > 3).sum() / rate * 1000:.0f} ms above 3 dB")

    sections = []
    for line in (stems / name / "sections.txt").read_text().splitlines():
        start, length, label = line.split(" ", 2)
        sections.append((float(start), float(length), label))
    print_similarity(x, rate, sections)
    bars = read_bars(stems / name / "bars.txt")
    print_kick(name, stems, sections, rate)
    # A drum bar by its hits, whatever their velocities, crashes aside.
    drums = {re.sub(r"@\d+", "", re.sub(r"c\d+@\d+ ?", "", b[3])).strip() for b in bars}
    print(f"  {len(drums - {''})} distinct drum bars in {len(bars)}")
    return sections, reduction, rate


def bar_spectra(x, rate, start, bars, bar):
    """Each bar's log-magnitude spectrogram (46 ms frames, 24 bands a bar) as a vector."""
    n = 2048
    edges = np.geomspace(60, 16000, 25)
    freqs = np.fft.rfftfreq(n, 1.0 / rate)
    out = []
    for b in range(bars):
        seg = x[int((start + b * bar) * rate):int((start + (b + 1) * bar) * rate)].mean(axis=1)
        frames = [np.abs(np.fft.rfft(seg[i:i + n] * np.hanning(n))) ** 2 for i in range(0, len(seg) - n, n)]
        power = np.array([[f[(freqs >= lo) & (freqs < hi)].sum() for lo, hi in zip(edges[:-1], edges[1:])]
                         for f in frames])
        out.append(10 * np.log10(power + 1e-12).ravel())
    return out


def print_similarity(x, rate, sections):
    """How alike the return and the drop are, bar by bar (correlation of
    their spectrograms): a copy scores about 1."""
    named = {label: (start, length) for start, length, label in sections}
    if "drop" not in named or "return" not in named:
        return
    bar = 16 * 5292 / rate
    bars = int(round(min(named["drop"][1], named["return"][1]) / bar))
    drop = bar_spectra(x, rate, named["drop"][0], bars, bar)
    ret = bar_spectra(x, rate, named["return"][0], bars, bar)
    sims = [np.corrcoef(a, b)[0, 1] for a, b in zip(drop, ret)]
    print(f"  return against drop, bar by bar: similarity {np.mean(sims):.3f} on average, "
          f"{min(sims):.3f} to {max(sims):.3f}")


def print_risers(name, sections, reduction, rate, t, m, switch, cut):
    """Each riser of the track that plays from `switch` to `cut` in the show,
    against what follows it there (the next section, or what the cut brings)."""
    lines = []
    for i, (start, length, label) in enumerate(sections):
        # Only the risers heard before the cut (a loop's last one leads into the cut).
        if "(riser)" not in label or switch + start + 1.0 > cut:
            continue
        begin, end = switch + start, min(switch + start + length, cut)
        nstart, nlength, nlabel = sections[i + 1] if i + 1 < len(sections) else (1e9, 0.0, "")
        if switch + nstart < cut - 1.0:
            after = (switch + nstart, min(switch + nstart + nlength, cut))
        else:
            after, nlabel = (cut, cut + 15.0), "what the cut brings"
        peak = m[(t >= begin + 0.4) & (t <= end)].max()
        level = energy_mean(m[(t >= after[0] + 0.4) & (t <= after[1])])
        over = reduction[int(start * rate):int((start + length) * rate)].max()
        lines.append(f"  {label} at {start:.2f} s: momentary peak {peak:.1f} LUFS, {peak - level:+.1f} LU against "
                     f"{nlabel} ({level:.1f} LUFS); limiter {over:.2f} dB inside it")
    if lines:
        print(f"{name}'s risers in the show:")
        print("\n".join(lines))


def measure_show(show_wav, cues_txt, tracks, stems, measured, plot):
    rate, x = read_wav(show_wav)
    _, _, t, m, s = ebur128(show_wav)
    cues = [line.split(" ", 2) for line in Path(cues_txt).read_text().splitlines()]
    track_steps = {name: np.percentile(steps(read_wav(tracks / f"{name}.wav")[1]), 99.9) for name in track_stems()}
    plays = [(float(c[0]), Path(c[2]).stem) for c in cues if c[1] == "play"]
    labels = []  # (show time, section) for the plot
    sections_of = {name: v[0] for name, v in measured.items()}
    for k, (at, name) in enumerate(plays):
        cut = plays[k + 1][0] if k + 1 < len(plays) else FACTS["showEnd"]
        labels += [(at + start, label.replace(" (riser)", "")) for start, _, label in sections_of.get(name, [])
                   if 0 < start and at + start < cut - 1]
        if name in measured:
            print_risers(name, *measured.pop(name), t, m, at, cut)
            if name == "newtune":
                print_arc(t, m, at, cut)
        if k == 0:
            continue
        playing = plays[k - 1][1]
        before = s[t <= at + 1e-6][-1]
        after = s[t >= at + 3.0 - 1e-6][0]
        # The steps the cut makes: over the fade of what stops and into the
        # first sample of what starts.
        c = int(round(at * rate))
        fade = FACTS["declickSeconds"]
        step = steps(x[c - int(fade * rate) - 1:c + 1]).max()
        join = steps(x[c - 1:c + 1]).max()
        print(f"cut at {at:.3f} s, {playing} -> {name}: short-term {before:.1f} -> {after:.1f} LUFS "
              f"({after - before:+.1f} LU); largest sample step {step:.4f} FS over the last {fade * 1000:g} ms, "
              f"{join:.4f} FS across the join "
              f"(99.9th percentile of the tracks: {playing} {track_steps[playing]:.4f}, "
              f"{name} {track_steps[name]:.4f})")
    print_new_material(stems, plays, FACTS["showEnd"])
    print_ending(x, rate)
    if plot:
        draw(t, m, s, plays, labels, plot)


def draw(t, m, s, marks, sections, plot):
    import matplotlib
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt
    fig, ax = plt.subplots(figsize=(12, 4.6), dpi=100)
    ax.axhspan(-15, -13, color="#dfe9f5", label="target -14 ± 1 LUFS")
    ax.plot(t, np.maximum(m, -60), color="#9bb7d4", linewidth=0.6, label="momentary (0.4 s)")
    ax.plot(t[t >= 3], np.maximum(s[t >= 3], -60), color="#1f4e79", linewidth=1.6, label="short-term (3 s)")
    for at, name in marks:
        ax.axvline(at, color="#c0392b", linestyle="--", linewidth=1)
        ax.text(at + 1.5, -2.5, name, color="#c0392b", fontsize=9)
    for at, label in sections:
        ax.axvline(at, color="#999999", linewidth=0.5)
        ax.text(at + 0.6, -38.5, label, color="#555555", fontsize=7, rotation=90, va="bottom")
    end = FACTS["showEnd"]
    ax.set_xlim(0, end)
    ax.set_ylim(-40, 0)
    ax.set_xticks(range(0, int(end) + 1, 15))
    ax.set_xlabel("show time (s)")
    ax.set_ylabel("loudness (LUFS)")
    ax.set_title("The soundtrack as the show plays it: EBU R128 loudness, music cues and sections marked")
    ax.legend(loc="upper center", bbox_to_anchor=(0.5, -0.15), ncol=3, fontsize=8, frameon=False)
    ax.grid(alpha=0.3)
    fig.tight_layout()
    fig.savefig(plot)
    print(f"drew {plot}")


def track_stems():
    return [track["stem"] for track in FACTS["tracks"]]


def main():
    FACTS.update(json.loads(Path(sys.argv[1]).read_text()))
    tracks, stems, show_wav, cues_txt = (Path(a) for a in sys.argv[2:6])
    plot = sys.argv[6] if len(sys.argv) > 6 else ""
    measured = {name: measure_track(name, tracks, stems) for name in track_stems()}
    print_replays(tracks, stems)
    measure_show(show_wav, cues_txt, tracks, stems, measured, plot)


if __name__ == "__main__":
    main()
