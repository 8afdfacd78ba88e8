// The page around the show: fetches every file with a progress bar and, as
// they arrive, compiles the wasm and starts the show's runtime (show.js) while
// the music decodes; the start screen comes once both are done. A
// click starts the Web Audio context, asks for fullscreen and starts the show
// clock. The show clock and the audio stop together while the tab is hidden
// or the viewer pauses (Space); Left and Right seek, and a timeline shows
// while the mouse moves. The show's facts (its end, its size, the tracks, the
// cues) come from show_facts.js, which the build writes.
// #t=SECONDS starts the show there; #t=SECONDS&hold keeps drawing that one
// moment (for still pictures and the browser tests); &programs=taps or
// &programs=quad overrides the choice of programs (see fineDerivatives).
'use strict';

const kShowEnd = showFacts.showEnd;

const $ = (id) => document.getElementById(id);

// The drawing buffer is the show's size, which the canvas keeps the aspect of.
$('canvas').width = showFacts.screen.width;
$('canvas').height = showFacts.screen.height;
document.documentElement.style.setProperty('--screen-width', showFacts.screen.width);
document.documentElement.style.setProperty('--screen-height', showFacts.screen.height);

// --- messages -----------------------------------------------------------------

function say(text, retry) {
  $('message-text').textContent = text;
  $('message').hidden = false;
  $('retry').hidden = !retry;
  $('retry').onclick = retry ? () => { $('message').hidden = true; retry(); } : null;
}

function showScreen(id) {
  for (const screen of ['loading', 'start', 'end']) $(screen).hidden = screen !== id;
}

// --- the link -----------------------------------------------------------------

function parseLink(hash) {
  const params = new URLSearchParams(hash.replace(/^#/, ''));
  const t = Number(params.get('t'));
  return {
    start: Number.isFinite(t) && t > 0 && t < kShowEnd ? t : 0,
    hold: params.has('hold'),
    programs: params.get('programs'),
  };
}

// --- the show clock: seconds of show time, stopped while the tab is hidden -----

const clock = {
  base: 0,          // show time at startedAt
  startedAt: null,  // performance.now() when it last started running; null when stopped
  hold: false,
  start(t) { this.base = t; this.startedAt = performance.now(); },
  now() {
    if (this.hold || this.startedAt === null) return this.base;
    return this.base + (performance.now() - this.startedAt) / 1000;
  },
  pause() { this.base = this.now(); this.startedAt = null; },
  resume() { if (this.startedAt === null) this.startedAt = performance.now(); },
  // Jumps to t, running on from there if it was running.
  set(t) { this.base = t; if (this.startedAt !== null) this.startedAt = performance.now(); },
};

// --- music ------------------------------------------------------------------------

// Fades `param` from 1 to 0 over the declick time from `at`, along the native
// engine's raised cosine, 1/2 + 1/2 cos(pi x) for x from 0 to 1, one point
// per sample frame: stopping never clicks, and sounds as it does natively.
function fadeOut(param, at, sampleRate) {
  const seconds = showFacts.declickSeconds;
  const points = Math.max(2, Math.round(sampleRate * seconds) + 1);
  const curve = new Float32Array(points);
  for (let i = 0; i < points; ++i) curve[i] = 0.5 + 0.5 * Math.cos((Math.PI * i) / (points - 1));
  param.setValueCurveAtTime(curve, at, seconds);
}

const audio = {
  ctx: null,
  master: null,
  analyser: null,
  tracks: new Map(),  // path the cues name -> AudioBuffer ready to play
  voices: [],         // {source, gain, path, offset, at}: started `offset` s in at context time `at`
  failed: false,

  init() {
    const Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return;
    this.ctx = new Context();
    this.master = this.ctx.createGain();
    this.analyser = this.ctx.createAnalyser();
    this.analyser.fftSize = 2048;
    this.master.connect(this.analyser).connect(this.ctx.destination);
  },

  // Decodes one track. A looped track was encoded with a little of its end
  // before it and of its start after it (lead frames each side), so that the
  // codec's edges fall outside the loop: one period is cut from the middle,
  // and the seam joins two stretches that were encoded side by side.
  async decode(track, bytes) {
    const decoded = await this.ctx.decodeAudioData(bytes);
    if (!track.loopFrames) {
      this.tracks.set(track.plays, decoded);
      return;
    }
    const ratio = decoded.sampleRate / track.rate;
    const lead = Math.round(track.leadFrames * ratio);
    const length = Math.round(track.loopFrames * ratio);
    if (decoded.length < lead + length) throw new Error('decoded track too short');
    const loop = this.ctx.createBuffer(decoded.numberOfChannels, length, decoded.sampleRate);
    for (let c = 0; c < decoded.numberOfChannels; ++c)
      loop.copyToChannel(decoded.getChannelData(c).subarray(lead, lead + length), c);
    this.tracks.set(track.plays, loop);
  },

  play(path, looped, offset) {
    const buffer = this.tracks.get(path);
    if (!this.ctx || !buffer) return;
    if (looped) offset %= buffer.duration;
    else if (offset >= buffer.duration) return;
    const source = this.ctx.createBufferSource();
    source.buffer = buffer;
    source.loop = looped;
    const gain = this.ctx.createGain();
    source.connect(gain).connect(this.master);
    const at = this.ctx.currentTime;
    source.start(at, Math.max(0, offset));
    const voice = { source, gain, path, offset: Math.max(0, offset), at };
    source.onended = () => { this.voices = this.voices.filter((v) => v !== voice); };
    this.voices.push(voice);
  },

  // Fades every voice out as the native engine does, then stops it a
  // millisecond after the fade's end.
  stopAll() {
    if (!this.ctx) return;
    const now = this.ctx.currentTime;
    for (const { source, gain } of this.voices) {
      fadeOut(gain.gain, now, this.ctx.sampleRate);
      source.stop(now + showFacts.declickSeconds + 0.001);
    }
    this.voices = [];
  },

  // Loudest sample the analyser sees now (0 to 1).
  level() {
    if (!this.analyser) return 0;
    const samples = new Float32Array(this.analyser.fftSize);
    this.analyser.getFloatTimeDomainData(samples);
    return samples.reduce((m, x) => Math.max(m, Math.abs(x)), 0);
  },

  // Per channel, the step across the loop's seam beside the steps inside the
  // loop: the 99.9th percentile and the largest.
  seam(path) {
    const buffer = this.tracks.get(path);
    const report = [];
    for (let c = 0; c < buffer.numberOfChannels; ++c) {
      const x = buffer.getChannelData(c);
      const steps = new Float32Array(x.length - 1);
      for (let i = 1; i < x.length; ++i) steps[i - 1] = Math.abs(x[i] - x[i - 1]);
      steps.sort();
      report.push({ seam: Math.abs(x[0] - x[x.length - 1]),
                    typical: steps[Math.floor(0.999 * (steps.length - 1))],
                    largest: steps[steps.length - 1] });
    }
    return report;
  },
};

// --- loading --------------------------------------------------------------------------

const progress = { total: 1, done: 0, perFile: new Map() };

function advance(file, bytes) {
  progress.done += bytes - (progress.perFile.get(file) || 0);
  progress.perFile.set(file, bytes);
  $('progress-bar').style.width = `${Math.min(100, (100 * progress.done) / progress.total)}%`;
  $('progress-file').textContent = file;
}

async function fetchWithProgress(file, signal) {
  const response = await fetch(file, { signal });
  if (!response.ok) throw new Error(`${response.status} ${response.statusText}`);
  const length = Number(response.headers.get('Content-Length')) || 0;
  if (!response.body || !length) {
    const data = new Uint8Array(await response.arrayBuffer());
    advance(file, data.length);
    return data;
  }
  const reader = response.body.getReader();
  const chunks = [];
  let received = 0;
  for (;;) {
    const { done, value } = await reader.read();
    if (done) break;
    chunks.push(value);
    received += value.length;
    advance(file, received);
  }
  const data = new Uint8Array(received);
  let at = 0;
  for (const chunk of chunks) { data.set(chunk, at); at += chunk.length; }
  return data;
}

// Fetches every file, calling arrived(file, data) as each one comes; those
// that fail are named in one message with a retry that fetches only them
// again. Aborting `signal` ends it without a word.
async function fetchAll(files, arrived, signal) {
  const failed = new Map();  // file -> why
  await Promise.all(files.map(async (file) => {
    let data;
    try {
      data = await fetchWithProgress(file, signal);
    } catch (error) {
      failed.set(file, error.message);
      return;
    }
    arrived(file, data);
  }));
  if (!failed.size || signal.aborted) return;
  await new Promise((resolve) => {
    say(`Could not load ${[...failed].map(([file, why]) => `${file} (${why})`).join(', ')}.`, resolve);
  });
  return fetchAll([...failed.keys()], arrived, signal);
}

// One promise per file, which resolves to its data once it has arrived.
function arrivals(files) {
  const waiting = new Map();
  const promises = new Map(files.map((file) => [file, new Promise((resolve) => waiting.set(file, resolve))]));
  return { of: (file) => promises.get(file), arrived: (file, data) => waiting.get(file)(data) };
}

async function fetchManifest() {
  for (;;) {
    try {
      const response = await fetch('files.json');
      if (!response.ok) throw new Error(`${response.status} ${response.statusText}`);
      return await response.json();
    } catch (error) {
      await new Promise((resolve) => say(`Could not load files.json (${error.message}).`, resolve));
    }
  }
}

// A WebGL2 context of the page's own, or null where there is none.
function webGL2() {
  try {
    return document.createElement('canvas').getContext('webgl2');
  } catch (error) {
    return null;
  }
}

// Whether dFdx and dFdy are fine here: a different value for each row (column)
// of a pixel quad. The halo and glow programs can then share their taps across
// the quad, as on the desktop; where they are coarse (SwiftShader, many mobile
// GPUs) each pixel must take all of them itself, at four times the cost.
// Asks `gl`, the page's own context, and loses it after.
function fineDerivatives(gl) {
  const shader = (type, text) => {
    const s = gl.createShader(type);
    gl.shaderSource(s, text);
    gl.compileShader(s);
    return s;
  };
  const program = gl.createProgram();
  gl.attachShader(program, shader(gl.VERTEX_SHADER, `#version 300 es
    void main() {
      gl_Position = vec4(gl_VertexID == 1 ? 3.0 : -1.0, gl_VertexID == 2 ? 3.0 : -1.0, 0.0, 1.0);
    }`));
  // d(x y)/dx is y and d(x y)/dy is x only where each row and column has its own.
  gl.attachShader(program, shader(gl.FRAGMENT_SHADER, `#version 300 es
    precision highp float;
    out vec4 color;
    void main() {
      vec2 p = floor(gl_FragCoord.xy);
      float v = p.x * p.y;
      bool fine = abs(dFdx(v) - p.y) < 0.5 && abs(dFdy(v) - p.x) < 0.5;
      color = vec4(fine ? 1.0 : 0.0, 0.0, 0.0, 1.0);
    }`));
  gl.linkProgram(program);
  const lose = gl.getExtension('WEBGL_lose_context');
  if (!gl.getProgramParameter(program, gl.LINK_STATUS)) {
    if (lose) lose.loseContext();
    return false;
  }
  const target = gl.createTexture();
  gl.bindTexture(gl.TEXTURE_2D, target);
  gl.texStorage2D(gl.TEXTURE_2D, 1, gl.RGBA8, 8, 8);
  gl.bindFramebuffer(gl.FRAMEBUFFER, gl.createFramebuffer());
  gl.framebufferTexture2D(gl.FRAMEBUFFER, gl.COLOR_ATTACHMENT0, gl.TEXTURE_2D, target, 0);
  gl.viewport(0, 0, 8, 8);
  gl.useProgram(program);
  gl.drawArrays(gl.TRIANGLES, 0, 3);
  const pixels = new Uint8Array(8 * 8 * 4);
  gl.readPixels(0, 0, 8, 8, gl.RGBA, gl.UNSIGNED_BYTE, pixels);
  if (lose) lose.loseContext();
  for (let i = 0; i < pixels.length; i += 4) if (pixels[i] !== 255) return false;
  return true;
}

// --- the show -------------------------------------------------------------------------

const link = parseLink(location.hash);
let state = 'loading';  // loading, ready, playing, ended
let leftFullscreenAt = -Infinity;

// Resolves when the show's start-up in main is done (never where it failed).
let startedUp;
const showStartedUp = new Promise((resolve) => { startedUp = resolve; });

const showPage = {
  programs: null,  // 'quad' or 'taps'
  clock: () => clock.now(),
  audio,
  link,
  state: () => state,
  paused: () => transport.paused,
  fadeOut,
  startupDone(ok) {
    if (!ok) {
      say('The show could not start: its reasons are in the browser console.');
      return;
    }
    startedUp();
  },
  showEnded() { endShow(); },
};

function offerStart() {
  state = 'ready';
  if (link.start > 0) {
    $('start-from').textContent = `from ${clockText(link.start)}`;
    $('start-from').hidden = false;
  }
  showScreen('start');
  window.showReadyAt = performance.now();
}

function begin(t) {
  showScreen(null);
  state = 'playing';
  transport.paused = false;
  clock.hold = link.hold;
  clock.start(t);
  Module._show_begin(t);
}

function endShow() {
  if (state !== 'playing') return;
  state = 'ended';
  transport.paused = false;
  clock.pause();
  Module._show_stop();
  if (document.fullscreenElement && document.exitFullscreen) document.exitFullscreen().catch(() => {});
  showScreen('end');
}

function enterFullscreen() {
  const root = document.documentElement;
  if (root.requestFullscreen) root.requestFullscreen().catch(() => {});
}

// The click is the user gesture browsers want before sound and fullscreen.
$('start').addEventListener('click', () => {
  if (state !== 'ready') return;
  if (audio.ctx) audio.ctx.resume();
  enterFullscreen();
  begin(link.start);
});

$('again').addEventListener('click', () => {
  if (audio.ctx) audio.ctx.resume();
  enterFullscreen();
  begin(0);
});

// The browser takes the first Escape to leave fullscreen; the next one ends the show.
document.addEventListener('fullscreenchange', () => {
  if (!document.fullscreenElement) leftFullscreenAt = performance.now();
});
// Where the browser lets the page see that first Escape, the page leaves
// fullscreen itself; an Escape that comes just after the browser left it is
// the same key press.
document.addEventListener('keydown', (event) => {
  if (event.key !== 'Escape' || state !== 'playing') return;
  if (document.fullscreenElement) {
    if (document.exitFullscreen) document.exitFullscreen().catch(() => {});
    return;
  }
  if (performance.now() - leftFullscreenAt < 250) return;
  endShow();
});

// A hidden tab gets no animation frames: the clock and the music stop at the
// same point and go on from it together, unless the viewer paused them.
document.addEventListener('visibilitychange', () => {
  if (state !== 'playing') return;
  if (document.hidden) {
    clock.pause();
    if (audio.ctx) audio.ctx.suspend();
  } else if (!transport.paused) {
    if (audio.ctx) audio.ctx.resume();
    clock.resume();
  }
});

// --- the transport: Space pauses, Left and Right seek, the timeline seeks -------

const kSeekStep = 5;         // seconds per Left or Right
const kTimelineShown = 2500;  // ms the timeline stays after the mouse last moved

const transport = {
  paused: false,
  shownUntil: 0,     // performance.now() until which the timeline shows
  mouse: null,       // where the mouse was last seen, [x, y]
};

// The moment goes into the link, ready to share. replaceState fires no
// hashchange, so the page does not start over from it.
function writeLink(t) {
  history.replaceState(null, '', `#t=${Number(t.toFixed(2))}`);
}

// Picture and sound stop together, as for a hidden tab.
function togglePause() {
  transport.paused = !transport.paused;
  if (transport.paused) {
    clock.pause();
    if (audio.ctx) audio.ctx.suspend();
    writeLink(clock.now());
  } else {
    if (audio.ctx) audio.ctx.resume();
    clock.resume();
  }
}

// Goes to t with the music the cues would have left playing there, as a deep
// link starts; a paused show stays paused there.
function seek(t) {
  t = Math.min(Math.max(t, 0), kShowEnd);
  clock.set(t);
  Module._show_begin(t);
  if (transport.paused) writeLink(t);
  transport.shownUntil = performance.now() + kTimelineShown;
}

document.addEventListener('keydown', (event) => {
  if (state !== 'playing' || event.altKey || event.ctrlKey || event.metaKey) return;
  const step = { ArrowLeft: -kSeekStep, ArrowRight: kSeekStep }[event.key];
  if (event.key === ' ') togglePause();
  else if (step) seek(clock.now() + step);
  else return;
  event.preventDefault();
});

// The timeline: the show's length with the music cues marked, shown while the
// mouse moves (or the show is paused); a click seeks to that moment.
for (const at of showFacts.musicCues) {
  const mark = document.createElement('div');
  mark.className = 'cue';
  mark.style.left = `${(100 * at) / kShowEnd}%`;
  mark.title = `music at ${at} s`;
  $('timeline-track').appendChild(mark);
}

// Only a real move counts: browsers also send a mousemove when the page
// changes under a still mouse (the start screen going away).
document.addEventListener('mousemove', (event) => {
  const at = [event.clientX, event.clientY];
  const moved = transport.mouse && (at[0] !== transport.mouse[0] || at[1] !== transport.mouse[1]);
  transport.mouse = at;
  if (moved && state === 'playing') transport.shownUntil = performance.now() + kTimelineShown;
});

$('timeline').addEventListener('click', (event) => {
  if (state !== 'playing') return;
  const track = $('timeline-track').getBoundingClientRect();
  seek((kShowEnd * (event.clientX - track.left)) / track.width);
});

function clockText(t) {
  return `${Math.floor(t / 60)}:${(t % 60).toFixed(1).padStart(4, '0')}`;
}

function drawTimeline() {
  const shown = state === 'playing' && (transport.paused || performance.now() < transport.shownUntil);
  $('timeline').hidden = !shown;
  if (shown) {
    const t = Math.min(clock.now(), kShowEnd);
    $('timeline-played').style.width = `${(100 * t) / kShowEnd}%`;
    $('timeline-time').textContent = `${clockText(t)} / ${clockText(kShowEnd)}${transport.paused ? ' (paused)' : ''}`;
  }
  requestAnimationFrame(drawTimeline);
}
requestAnimationFrame(drawTimeline);

// Of each track, the first source this browser can play, and of those one
// coded at the audio context's rate where there is one: decoding resamples
// every other to that rate, which can take as long as the decoding itself.
function trackSource(track) {
  const probe = document.createElement('audio');
  const playable = track.sources.filter((s) => probe.canPlayType(s.type));
  return (playable.find((s) => audio.ctx && s.rate === audio.ctx.sampleRate) || playable[0] ||
          track.sources[0]).file;
}

// Decodes both tracks, each as soon as its file arrives; one that fails
// leaves the show silent.
async function decodeMusic(tracks, trackFiles, files) {
  try {
    if (!audio.ctx) throw new Error('no Web Audio');
    await Promise.all(tracks.map((track, i) => files.of(trackFiles[i]).then((bytes) => audio.decode(track, bytes.buffer))));
  } catch (error) {
    console.warn(`Music: ${error.message}`);
    audio.failed = true;
    audio.tracks.clear();
    say('The music could not be decoded here: the show plays without sound.');
  }
}

// Starts the wasm runtime at once: it compiles show.wasm as soon as it has
// arrived, and runs main (the show's start-up) once the data files are in its
// file system and the music has arrived too. Main holds the page's thread for
// its whole start-up, which would stall the downloads still running; decoding
// runs beside it once begun.
function startShow(manifest, files, trackFiles) {
  const wasm = files.of('show.wasm').then((bytes) => WebAssembly.compile(bytes));
  // The quad-sharing programs go in last, over the ES ones of the same name.
  const quad = showPage.programs === 'quad' ? manifest.quad : [];
  const target = (path) => (quad.includes(path) ? `demo6/${path.split('/').pop()}` : path);
  const data = Promise.all(manifest.data.concat(quad).map(async (path) => [target(path), await files.of(path)]));
  const musicArrived = Promise.all(trackFiles.map(files.of));
  window.Module = {
    canvas: $('canvas'),
    showPage,
    print: (text) => console.log(text),
    onAbort: (what) => say(`The show stopped: ${what}`),
    printErr: (text) => console.warn(text),
    instantiateWasm(imports, receiveInstance) {
      wasm.then((module) => WebAssembly.instantiate(module, imports))
        .then((instance) => receiveInstance(instance), (error) => say(`The show stopped: ${error.message}`));
      return {};
    },
    preRun: [() => {
      Module.addRunDependency('data');
      Promise.all([data, musicArrived]).then(([arrived]) => {
        for (const [path, bytes] of arrived) {
          const dir = path.substring(0, path.lastIndexOf('/'));
          if (dir) Module.FS.mkdirTree(dir);
          Module.FS.writeFile(path, bytes);
        }
        Module.removeRunDependency('data');
      });
    }],
    onRuntimeInitialized: () => Module.callMain([]),
  };
  const script = document.createElement('script');
  script.src = 'show.js';
  script.onerror = () => say('Could not load show.js.', () => location.reload());
  document.body.appendChild(script);
}

// Everything overlaps: the files download together, the wasm compiles and the
// show starts up as soon as theirs have come, and each track decodes as soon
// as it has come. The start screen waits for the show and the music.
async function load() {
  const manifest = await fetchManifest();
  try {
    audio.init();
  } catch (error) {
    console.warn(`Web Audio: ${error.message}`);
  }
  const trackFiles = manifest.tracks.map(trackSource);
  // Both sets of programs are fetched (the quad-sharing ones are few and
  // small), so that the downloads need not wait for the check below.
  // The music first: its decoding is the longest of the start-up's work.
  const wanted = trackFiles.concat(manifest.files.map((f) => f.path).filter((path) =>
    !manifest.tracks.some((t) => t.sources.some((s) => s.file === path))));
  progress.total = manifest.files.filter((f) => wanted.includes(f.path)).reduce((sum, f) => sum + f.bytes, 0);
  const files = arrivals(wanted);
  // The downloads start before the check for WebGL2, whose context takes a
  // while to make; without WebGL2 they stop there.
  const downloads = new AbortController();
  fetchAll(wanted, files.arrived, downloads.signal);
  const gl = webGL2();
  if (!gl) {
    downloads.abort();
    showScreen(null);
    say('This browser, or its GPU driver, lacks WebGL2: the show needs it to draw.');
    return;
  }

  const fine = fineDerivatives(gl);
  showPage.programs = link.programs === 'quad' || link.programs === 'taps' ? link.programs
    : fine ? 'quad' : 'taps';
  console.info(`Programs: ${showPage.programs === 'quad' ? 'taps shared across pixel quads' : 'every tap per pixel'}`);
  // Decoding first: each track's decoding begins before main can take the thread.
  const music = decodeMusic(manifest.tracks, trackFiles, files);
  startShow(manifest, files, trackFiles);
  await Promise.all([showStartedUp, music]);
  offerStart();
}

// A link to another moment pasted into this tab starts the page over from it.
window.addEventListener('hashchange', () => location.reload());

window.showPage = showPage;
load();
