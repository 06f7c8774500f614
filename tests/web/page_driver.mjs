// Driving the page (build-web/site) in headless Chromium for the page's tests: animation frames
// given by hand (so the game runs the same however busy the machine is), the page's status,
// its lines, keys as a schedule names them, a fake gamepad and a spy on Web Audio.
import { readFileSync } from 'node:fs';

// Installed before the page's scripts: the page's animation frames run only when the test
// gives them, each 1/60 s after the one before, so that each runs one simulation frame at most
// (the game's period is 1/30 s at speed level 0).
function fakeAnimationFrames() {
  let waiting = [];
  let time = 0;
  window.requestAnimationFrame = (callback) => waiting.push(callback);
  window.tumbraTest = {
    frame() {
      const now = waiting;
      waiting = [];
      time += 1000 / 60;
      for (const callback of now) {
        callback(time);
      }
    },
    status() {
      return JSON.parse(UTF8ToString(Module._pageStatus()));
    },
    // Animation frames until `done(status)` or `most` of them; the status then.
    until(done, most) {
      for (let i = 0; i < most && !done(this.status()); ++i) {
        this.frame();
      }
      return this.status();
    },
  };
}

// Installed before the page's scripts: navigator.getGamepads lists the test's pads, four slots
// as Chromium has them, each pad in the standard mapping.
function fakeGamepads() {
  const slots = [null, null, null, null];
  const button = () => ({ pressed: false, touched: false, value: 0 });
  navigator.getGamepads = () => slots.slice();
  window.tumbraPads = {
    plug(index) {
      slots[index] = {
        id: `Test pad ${index}`, index, connected: true, mapping: 'standard', timestamp: 0,
        axes: [0, 0, 0, 0], buttons: Array.from({ length: 17 }, button),
      };
    },
    unplug(index) {
      slots[index] = null;
    },
    // `buttons` maps a standard button to whether it is held; `axes` are the four axes.
    set(index, { axes, buttons }) {
      const pad = slots[index];
      if (axes) {
        pad.axes = axes.slice();
      }
      for (const [b, held] of Object.entries(buttons ?? {})) {
        pad.buttons[b] = { pressed: held, touched: held, value: held ? 1 : 0 };
      }
      pad.timestamp += 1;
    },
  };
}

// Installed before the page's scripts: counts the audio contexts made and the sounds started.
function spyOnWebAudio() {
  const Real = window.AudioContext;
  window.tumbraAudio = { contexts: 0, started: 0 };
  window.AudioContext = class extends Real {
    constructor(...options) {
      super(...options);
      window.tumbraAudio.contexts += 1;
    }
    createBufferSource() {
      const source = super.createBufferSource();
      const start = source.start.bind(source);
      source.start = (...when) => {
        window.tumbraAudio.started += 1;
        start(...when);
      };
      return source;
    }
  };
}

export const Installs = { fakeAnimationFrames, fakeGamepads, spyOnWebAudio };

// A page at `url` with the given installs, its lines (the program's standard error and the
// page's errors) collected; resolves once the program's main has run.
export async function openPage(browser, url, installs = [], viewport = { width: 320, height: 240 }) {
  const page = await browser.newPage();
  const lines = [];
  page.on('console', (message) => {
    if (['warn', 'warning', 'error'].includes(message.type())) {
      lines.push(message.text());
    }
  });
  page.on('pageerror', (error) => lines.push(`page error: ${error.message}`));
  await page.setViewport(viewport);
  for (const install of installs) {
    await page.evaluateOnNewDocument(install);
  }
  await page.goto(url);
  await page.waitForFunction(() => typeof Module !== 'undefined' && Module.calledRun === true,
                             { polling: 50, timeout: 60000 });
  return { page, lines: () => lines.filter((line) => line.startsWith('tumbra') ||
                                                        line.startsWith('page error')) };
}

export function status(page) {
  return page.evaluate(() => tumbraTest.status());
}

// Animation frames until `frames` simulation frames have run.
export function advanceTo(page, frames, most = 100000) {
  return page.evaluate((f, m) => tumbraTest.until((s) => s.frames >= f, m), frames, most);
}

// Animation frames until the status passes `test` (a function's source taking `s`).
export function advanceUntil(page, test, most) {
  return page.evaluate((source, m) => tumbraTest.until(new Function('s', `return ${source};`), m),
                       test, most);
}

// A key schedule's events ("FRAME key|special CODE") and the frame it says its stage is
// cleared on ("cleared on frame N" in its comment).
export function readSchedule(path) {
  const text = readFileSync(path, 'utf8');
  const events = text.split('\n')
    .map((line) => line.replace(/#.*/, '').trim())
    .filter((line) => line !== '')
    .map((line) => {
      const [frame, kind, code] = line.split(/\s+/);
      return { frame: Number(frame), special: kind === 'special', code: Number(code) };
    });
  const cleared = Number(/cleared on frame (\d+)/.exec(text)?.[1]);
  return { events, cleared };
}

// The browser's name of a key the game knows by its GLUT code.
const SpecialNames = { 100: 'ArrowLeft', 101: 'ArrowUp', 102: 'ArrowRight', 103: 'ArrowDown',
                       108: 'Insert' };
export function keyName(event) {
  if (event.special) {
    const name = SpecialNames[event.code];
    if (!name) {
      throw new Error(`no key for special code ${event.code}`);
    }
    return name;
  }
  return String.fromCharCode(event.code);
}
