// The golden pictures drawn in the browser: every case of tests/golden/pictures/cases.txt is
// drawn by the picture program (tools/make-web) in headless Chromium with WebGL, and compared
// with the desktop's picture.
//
// node pictures.mjs SITE GOLDEN SOLUTIONS OUT [NAME ...]
//   SITE       build-web/pictures, served on 127.0.0.1
//   GOLDEN     tests/golden/pictures (cases.txt and the PNG files)
//   SOLUTIONS  tools/solutions (the key schedules)
//   OUT        where a failed case leaves its picture and the pixels that differ (PNG)
//   NAME       only these cases
// With TUMBRA_KEEP_PICTURES=1 in the environment every case leaves its picture in OUT.
// Exits 0 when every picture matches, 1 when one does not, 77 (skipped) when the browser, the
// packages or the web build are missing.
import { comparePictures, describeComparison } from './compare.mjs';
import { launchBrowser, missingPrerequisites, serveFolder } from './harness.mjs';

import { execFileSync } from 'node:child_process';
import { mkdirSync, readFileSync } from 'node:fs';
import { join } from 'node:path';

const Skipped = 77;

// "NAME STAGE FRAMES SIZE [SCHEDULE] [OPTION ...]" lines, comments left out.
function readCases(golden) {
  return readFileSync(join(golden, 'cases.txt'), 'utf8')
    .split('\n')
    .filter((line) => line.trim() !== '' && !line.startsWith('#'))
    .map((line) => {
      const [name, stage, frames, size, schedule, ...options] = line.trim().split(/\s+/);
      return {
        name,
        stage: Number(stage),
        frames: Number(frames),
        size: Number(size),
        schedule: schedule === '-' ? null : schedule,
        depthBuffer: options.includes('--depth-buffer'),
        normalize: options.includes('--normalize'),
      };
    });
}

// A key schedule's event lines ("FRAME key|special CODE"), comments left out.
function readSchedule(path) {
  return readFileSync(path, 'utf8')
    .split('\n')
    .map((line) => line.replace(/#.*/, '').trim())
    .filter((line) => line !== '')
    .map((line) => {
      const [frame, kind, code] = line.split(/\s+/);
      if (kind !== 'key' && kind !== 'special') {
        throw new Error(`${path}: not an event line: ${line}`);
      }
      return { frame: Number(frame), special: kind === 'special' ? 1 : 0, code: Number(code) };
    });
}

// RGB rows from the top, as ImageMagick decodes the PNG.
function readPng(path) {
  return execFileSync('convert', [path, '-depth', '8', 'rgb:-'], { maxBuffer: 64 << 20 });
}

function writePng(path, rgb, size) {
  execFileSync('convert', ['-size', `${size}x${size}`, '-depth', '8', 'rgb:-', path], {
    input: rgb,
  });
}

// The program's picture, RGB rows from the top.
async function drawCase(page, url, testCase, events) {
  await page.goto(url);
  await page.waitForFunction(() => window.pictureReady === true, { timeout: 30000 });
  const base64 = await page.evaluate(
    (c, schedule) => {
      for (const e of schedule) {
        Module._scheduleEvent(e.frame, e.special, e.code);
      }
      const at = Module._drawPicture(c.stage, c.frames, c.size, c.depthBuffer ? 1 : 0,
                                     c.normalize ? 1 : 0);
      if (at === 0) {
        return null;
      }
      const bytes = HEAPU8.subarray(at, at + c.size * c.size * 3);
      let text = '';
      const Chunk = 0x8000;
      for (let i = 0; i < bytes.length; i += Chunk) {
        text += String.fromCharCode.apply(null, bytes.subarray(i, i + Chunk));
      }
      return btoa(text);
    },
    testCase, events);
  if (base64 === null) {
    throw new Error(`${testCase.name}: the picture program refused the case`);
  }
  const bottomUp = Buffer.from(base64, 'base64');
  const row = testCase.size * 3;
  const topDown = Buffer.alloc(bottomUp.length);
  for (let y = 0; y < testCase.size; ++y) {
    bottomUp.copy(topDown, y * row, (testCase.size - 1 - y) * row, (testCase.size - y) * row);
  }
  return topDown;
}

async function main() {
  const [site, golden, solutions, out, ...only] = process.argv.slice(2);
  const missing = missingPrerequisites(join(site, 'picture.js'));
  if (missing) {
    console.log(`skipped: ${missing}`);
    return Skipped;
  }
  const cases = readCases(golden).filter((c) => only.length === 0 || only.includes(c.name));
  const server = await serveFolder(site);
  const { browser, close } = await launchBrowser();
  let failures = 0;
  try {
    const page = await browser.newPage();
    page.on('console', (message) => console.log(`  page: ${message.text()}`));
    page.on('pageerror', (error) => console.log(`  page error: ${error.message}`));
    for (const testCase of cases) {
      const events = testCase.schedule ? readSchedule(join(solutions, testCase.schedule)) : [];
      const actual = await drawCase(page, `${server.url}/picture.html`, testCase, events);
      const expected = readPng(join(golden, `${testCase.name}.png`));
      const result = comparePictures(expected, actual, testCase.size);
      console.log(`${result.matches ? 'ok  ' : 'FAIL'} ${testCase.name}: ${describeComparison(result)}`);
      if (!result.matches || process.env.TUMBRA_KEEP_PICTURES === '1') {
        mkdirSync(out, { recursive: true });
        writePng(join(out, `${testCase.name}.web.png`), actual, testCase.size);
        writePng(join(out, `${testCase.name}.diff.png`), result.difference, testCase.size);
      }
      failures += result.matches ? 0 : 1;
    }
  } finally {
    await close();
    server.close();
  }
  console.log(`${cases.length - failures} passed, ${failures} failed`);
  return failures === 0 ? 0 : 1;
}

process.exitCode = await main();
