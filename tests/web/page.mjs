// The page in headless Chromium: the game played with keys and with a pad, its sound, a
// screenshot, the records kept across a restart of the browser, bad input refused in one line,
// and the recordings verified and replayed as on the desktop.
//
// node page.mjs SITE CASE [ARGUMENT ...]
//   SITE   build-web/site, served on 127.0.0.1
//   CASE   keys SCHEDULE | gamepad SCHEDULE | records | refusals
//          | verify TUMBRA-REPLAY RECORDING... | whole-game
// Exits 0 when the case passes, 1 when it fails, 77 (skipped) when the browser, the packages
// or the web build are missing.
import { launchBrowser, missingPrerequisites, serveFolder } from './harness.mjs';
import { Installs, advanceTo, advanceUntil, keyName, openPage, readSchedule, status }
  from './page_driver.mjs';

import { spawnSync } from 'node:child_process';
import { mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { basename, join } from 'node:path';

const Skipped = 77;
const Title = 7;
const StageIntro = 9;
const StageClear = 2;
const FramesToTheClear = 1000; // animation frames: twice the stage's frames and more

class Failure extends Error {}

// Waits in the page by time, not by animation frames, which only the test gives.
const Polling = { polling: 50, timeout: 60000 };

// The saves under way reach IndexedDB, which answers between the test's frames; saves queued
// meanwhile run at the end of a frame.
async function waitForSaves(page) {
  const deadline = Date.now() + Polling.timeout;
  while ((await page.evaluate(() => tumbraTest.until(() => false, 1))).saving) {
    expect(Date.now() < deadline, 'the saves never reach IndexedDB');
    await new Promise((resolve) => setTimeout(resolve, Polling.polling));
  }
}

function expect(condition, what) {
  if (!condition) {
    throw new Failure(what);
  }
}

// The title's first frames, then the stage started by a key (or the pad) before the next one:
// the frame that loads it.
async function startFromTheTitle(page, start) {
  await advanceTo(page, 10);
  const loadFrame = (await status(page)).frames + 1;
  await start();
  return loadFrame;
}

// Plays `schedule` from the frame that loads stage 1, each event given by `give` right before
// its frame, until the stage is cleared; checks it is cleared on the schedule's own frame.
async function playStageOne(page, schedule, start, give) {
  const loadFrame = await startFromTheTitle(page, start);
  for (const event of schedule.events) {
    await advanceTo(page, loadFrame + event.frame - 1);
    await give(event);
  }
  const cleared = await advanceUntil(page, `s.state === ${StageClear}`, FramesToTheClear);
  expect(cleared.state === StageClear && cleared.stage === 1 && cleared.lives === 4,
         `stage 1 is not cleared: ${JSON.stringify(cleared)}`);
  expect(cleared.frames === loadFrame + schedule.cleared,
         `stage 1 cleared on frame ${cleared.frames - loadFrame}, not ${schedule.cleared}`);
  return cleared;
}

// F9 is the page's screenshot key: a PNG of the canvas comes down.
async function checkScreenshot(page, viewport) {
  const folder = mkdtempSync(join(tmpdir(), 'tumbra-downloads-'));
  try {
    const session = await page.createCDPSession();
    await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: folder });
    await page.keyboard.press('F9');
    await advanceTo(page, (await status(page)).frames + 1);
    const deadline = Date.now() + 20000;
    let names = [];
    while (Date.now() < deadline &&
           !(names = readdirSync(folder)).some((name) => /^tumbra-.*\.png$/.test(name))) {
      await new Promise((resolve) => setTimeout(resolve, 100));
    }
    const name = names.find((n) => /^tumbra-[-0-9]*\.png$/.test(n));
    expect(name !== undefined, `no screenshot downloaded: ${names.join(', ')}`);
    const png = readFileSync(join(folder, name));
    expect(png.subarray(1, 4).toString() === 'PNG', `${name} is no PNG`);
    expect(png.readUInt32BE(16) === viewport.width && png.readUInt32BE(20) === viewport.height,
           `${name} is ${png.readUInt32BE(16)}x${png.readUInt32BE(20)}`);
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
}

// IndexedDB refuses the saves for a while (a full quota): one line when it starts, one when
// it ends, and the game plays on.
async function storageFull(browser, url) {
  const { page, lines } = await openPage(browser, url, [Installs.fakeAnimationFrames, () => {
    const put = IDBObjectStore.prototype.put;
    window.quotaFull = true;
    IDBObjectStore.prototype.put = function (...entry) {
      if (window.quotaFull) {
        throw new DOMException('the quota is full', 'QuotaExceededError');
      }
      return put.apply(this, entry);
    };
  }]);
  await startFromTheTitle(page, () => page.keyboard.press('ArrowUp'));
  await advanceUntil(page, `s.state === ${StageIntro}`, 10);
  await waitForSaves(page);
  expect(lines().length === 1 && lines()[0].includes('the browser does not keep the files (the ' +
                                                     'quota is full)'), lines().join(' | '));
  await page.evaluate(() => { window.quotaFull = false; });
  await page.keyboard.press('q');
  await advanceUntil(page, `s.state === ${Title}`, 1000);
  await waitForSaves(page);
  expect(lines().length === 2 && lines()[1].includes('the browser keeps the files again'),
         lines().join(' | '));
  await page.close();
}

const Cases = {
  // The stage's schedule typed on the keyboard; the pips heard from the first key on; F9;
  // End.
  async keys({ browser, url, args: [schedulePath] }) {
    const viewport = { width: 320, height: 240 };
    const { page, lines } = await openPage(browser, url,
      [Installs.fakeAnimationFrames, Installs.spyOnWebAudio], viewport);
    await advanceTo(page, 5);
    expect((await page.evaluate(() => tumbraAudio.contexts)) === 0,
           'sound started before a key was pressed');
    const press = (event) => page.keyboard.press(keyName(event));
    await playStageOne(page, readSchedule(schedulePath), () => press({ special: true, code: 101 }),
                       press);
    await advanceTo(page, (await status(page)).frames + 5);
    const audio = await page.evaluate(() => tumbraAudio);
    expect(audio.contexts === 1 && audio.started > 0, `no pips: ${JSON.stringify(audio)}`);
    await checkScreenshot(page, viewport);
    // End quits, as Escape does where the browser lets it through: no frame runs after.
    await page.keyboard.press('End');
    const ended = await status(page);
    const after = await advanceTo(page, ended.frames + 10, 20);
    expect(ended.ended && after.frames === ended.frames, `End does not quit: ${JSON.stringify(after)}`);
    expect(lines().length === 2 && lines()[0].startsWith('tumbra: saved tumbra-') &&
           lines()[1] === 'tumbra: the game has ended: reload the page to play again',
           lines().join(' | '));
  },

  // The same schedule on a pad plugged in at the title: a digit is the right stick held, an
  // arrow the D-pad held (the one that starts the game only pushed). Then a second pad takes over with its Start (pause), the first back
  // with its own, and the pad in use pulled out holds the game.
  async gamepad({ browser, url, args: [schedulePath] }) {
    const { page, lines } = await openPage(browser, url,
      [Installs.fakeAnimationFrames, Installs.fakeGamepads]);
    await advanceTo(page, 3);
    await page.evaluate(() => tumbraPads.plug(0));
    const Dpad = { 101: 12, 103: 13, 100: 14, 102: 15 };
    const digitStick = { 56: [0, -1], 50: [0, 1], 52: [-1, 0], 54: [1, 0] };
    const give = (event) => page.evaluate((e, dpad, stick) => {
      if (e.special) {
        tumbraPads.set(0, { buttons: { 12: false, 13: false, 14: false, 15: false,
                                       [dpad[e.code]]: true } });
      } else {
        const [x, y] = stick[e.code];
        tumbraPads.set(0, { axes: [0, 0, x, y] });
      }
    }, event, Dpad, digitStick);
    // A key is stored until the stage it starts is loaded, which clears it: the D-pad is
    // pushed for that frame only.
    const tapUp = async () => {
      await give({ special: true, code: 101 });
      await advanceTo(page, (await status(page)).frames + 1);
      await page.evaluate(() => tumbraPads.set(0, { buttons: { 12: false } }));
    };
    await playStageOne(page, readSchedule(schedulePath), tapUp, give);
    const pressStart = async (pad) => {
      await page.evaluate((p) => tumbraPads.set(p, { buttons: { 9: true } }), pad);
      await advanceTo(page, (await status(page)).frames + 1);
      await page.evaluate((p) => tumbraPads.set(p, { buttons: { 9: false } }), pad);
    };
    await page.evaluate(() => tumbraPads.plug(1));
    await pressStart(1);
    expect((await status(page)).paused === 1, 'the second pad does not take over');
    await pressStart(0);
    expect((await status(page)).paused === 0, 'the first pad does not take over again');
    await page.evaluate(() => tumbraPads.unplug(0));
    await advanceTo(page, (await status(page)).frames + 1);
    expect((await status(page)).paused === 1, 'pulling out the pad in use does not hold the game');
    expect(lines().length === 0, lines().join('\n'));
  },

  // A game played and given up is in the records after the browser restarts on the same
  // profile; a reload in the middle of the next save keeps it; the records page offers the
  // games' replays.
  async records({ browser, url, launchAgain }) {
    const playAndGiveUp = async (page) => {
      await startFromTheTitle(page, () => page.keyboard.press('ArrowUp'));
      await advanceUntil(page, `s.state === ${StageIntro}`, 10);
      await page.keyboard.press('q');
      await advanceUntil(page, `s.state === ${Title}`, 1000);
      await waitForSaves(page);
    };
    let { page, lines } = await openPage(browser, url, [Installs.fakeAnimationFrames]);
    await playAndGiveUp(page);
    expect(lines().length === 0, lines().join('\n'));
    browser = await launchAgain();
    ({ page, lines } = await openPage(browser, url, [Installs.fakeAnimationFrames,
      // The page reloads as soon as its next hand-over to IndexedDB begins.
      () => {
        const transaction = IDBDatabase.prototype.transaction;
        IDBDatabase.prototype.transaction = function (stores, mode) {
          if (mode === 'readwrite' && Module.calledRun && sessionStorage.getItem('reloaded') === null) {
            sessionStorage.setItem('reloaded', 'yes');
            location.reload();
          }
          return transaction.call(this, stores, mode);
        };
      }]));
    await startFromTheTitle(page, () => page.keyboard.press('ArrowUp'));
    // The game's start is saved at the end of its first frame.
    await advanceTo(page, (await status(page)).frames + 1).catch(() => 'reloading already');
    await page.waitForFunction(() => sessionStorage.getItem('reloaded') === 'yes' &&
                               typeof Module !== 'undefined' && Module.calledRun === true,
                               Polling);
    const records = await page.goto(`${url}?records`).then(() => page.waitForFunction(
      () => /GAMES PLAYED +\d/.test(document.getElementById('report').textContent),
      Polling)).then(() => page.evaluate(() => ({
        table: document.getElementById('report').textContent,
        downloads: [...document.querySelectorAll('#downloads a')].map((a) => a.download),
      })));
    const played = Number(/GAMES PLAYED +(\d+)/.exec(records.table)[1]);
    expect(played === 1 || played === 2, `games played after the reload: ${played}`);
    expect(records.downloads.length >= 1 &&
           records.downloads.every((name) => /^\d{8}-\d{6}-\d{3}\.replay$/.test(name)),
           `replays offered: ${records.downloads.join(', ')}`);
    expect(lines().length === 0, `a file was refused: ${lines().join('\n')}`);
  },

  // Each bad input costs one line, and the game plays on; ?silent keeps sound off. So does
  // storage the browser refuses, at the start or for a while.
  async refusals({ browser, url }) {
    const refused = [
      ['?stage=99', [], 'a stage is a whole number from 1 to 22'],
      ['?classic=yes&silent', [], 'takes no value'],
      ['?fast', [], 'no such option'],
      ['?replay=missing.replay', [], 'cannot be fetched (404'],
      ['?verify', [], 'needs a recording'],
      ['', [() => {
        indexedDB.open = () => { throw new DOMException('refused here', 'SecurityError'); };
      }], 'this browser keeps no files for the page (refused here)'],
    ];
    for (const [query, installs, said] of refused) {
      const { page, lines } = await openPage(browser, url + query,
        [Installs.fakeAnimationFrames, Installs.spyOnWebAudio, ...installs]);
      await startFromTheTitle(page, () => page.keyboard.press('ArrowUp'));
      const playing = await advanceUntil(page, `s.state === ${StageIntro}`, 10);
      expect(playing.state === StageIntro, `${query}: the game does not start`);
      expect(lines().length === 1 && lines()[0].includes(said),
             `${query || 'refused storage'}: ${lines().join(' | ')}`);
      if (query.includes('silent')) {
        expect((await page.evaluate(() => tumbraAudio.contexts)) === 0, 'sound under ?silent');
      }
      await page.close();
    }
    await storageFull(browser, url);
    const { page, lines } = await openPage(browser, url, [Installs.fakeAnimationFrames]);
    await advanceTo(page, 5);
    await page.evaluate(() => {
      const files = new DataTransfer();
      files.items.add(new File(['not a replay\n'], 'bad.replay'));
      window.dispatchEvent(new DragEvent('drop', { dataTransfer: files }));
    });
    await page.waitForFunction(() => document.getElementById('lines').childElementCount > 0,
                               Polling);
    const after = await advanceTo(page, 10);
    expect(after.frames === 10 && !after.watching, 'the game stopped for a bad dropped file');
    expect(lines().length === 1 && lines()[0].includes('/recordings/bad.replay:1: not a replay'),
           lines().join(' | '));
  },

  // ?replay=URL&verify prints tumbra-replay FILE's report line for line.
  async verify({ browser, site, args: [tool, ...recordings] }) {
    const work = mkdtempSync(join(tmpdir(), 'tumbra-verify-'));
    try {
      // A recording whose second tipping key comes two frames late departs from it.
      const good = readFileSync(recordings[0], 'utf8').split('\n');
      const key = good.findIndex((line, i) => / key 5[0-7]$/.test(line) &&
                                 good.slice(0, i).some((l) => / key 5[0-7]$/.test(l)));
      const [frame, ...rest] = good[key].split(' ');
      good[key] = [Number(frame) + 2, ...rest].join(' ');
      writeFileSync(join(work, 'moved.replay'), good.join('\n'));
      const all = [...recordings, join(work, 'moved.replay')];
      const served = Object.fromEntries(all.map((file) => [`/given/${basename(file)}`, file]));
      const server = await serveFolder(site, served);
      for (const file of all) {
        const native = spawnSync(tool, [file], { encoding: 'utf8' });
        const { page } = await openPage(browser,
          `${server.url}/index.html?replay=given/${basename(file)}&verify`);
        await page.waitForFunction(() => document.getElementById('report').textContent
          .includes('"match":'), Polling);
        const report = await page.evaluate(() => document.getElementById('report').textContent);
        expect(report === native.stdout, `${basename(file)}: the page's report differs`);
        const said = await page.evaluate(() => [...document.querySelectorAll('#lines p')]
          .map((p) => p.textContent));
        const nativeSaid = native.stderr.split('\n').filter((l) => l !== '')
          .map((line) => line.replace(file, `/recordings/${basename(file)}`));
        expect(JSON.stringify(said) === JSON.stringify(nativeSaid),
               `${basename(file)}: ${said.join(' | ')} against ${nativeSaid.join(' | ')}`);
        console.log(`ok   ${basename(file)}: ${report.trim().split('\n').length} lines`);
        await page.close();
      }
      server.close();
    } finally {
      rmSync(work, { recursive: true, force: true });
    }
  },

  // ?demo: the whole game as recorded plays on the page, frame by frame, through 22 stages back
  // to the title, as recorded.
  async 'whole-game'({ browser, url }) {
    const { page, lines } = await openPage(browser, `${url}?demo`, [Installs.fakeAnimationFrames],
                                           { width: 160, height: 120 });
    let now = await status(page);
    expect(now.watching, 'the whole game is not shown');
    while (now.watching && now.frames < 6000) {
      now = await advanceTo(page, now.frames + 500);
    }
    expect(!now.watching && now.state === Title && now.stagesCleared === 22,
           `the whole game: ${JSON.stringify(now)}`);
    expect(lines().length === 1 &&
           lines()[0] === 'tumbra: /recordings/full_game.replay: replayed to its end as ' +
                          'recorded (5059 frames)', lines().join(' | '));
  },
};

async function main() {
  const [site, name, ...args] = process.argv.slice(2);
  const missing = missingPrerequisites(join(site, 'tumbra.js'));
  if (missing) {
    console.log(`skipped: ${missing}`);
    return Skipped;
  }
  const server = await serveFolder(site);
  const profile = mkdtempSync(join(tmpdir(), 'tumbra-profile-'));
  let running = await launchBrowser({ profile });
  const launchAgain = async () => {
    await running.close();
    running = await launchBrowser({ profile });
    return running.browser;
  };
  const url = `${server.url}/index.html`;
  try {
    await Cases[name]({ browser: running.browser, url, site, args, launchAgain });
    console.log(`ok   ${name}`);
    return 0;
  } catch (error) {
    console.log(`FAIL ${name}: ${error instanceof Failure ? error.message : error.stack}`);
    return 1;
  } finally {
    await running.close();
    server.close();
    rmSync(profile, { recursive: true, force: true, maxRetries: 5 });
  }
}

process.exitCode = await main();
