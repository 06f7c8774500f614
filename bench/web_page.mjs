// The page's figures in headless Chromium (bench/web_page.sh runs it): the time from the
// page's request to its first drawn frame, and the share of animation frames drawn on time at
// 400 by 400 while the whole game is shown (?demo). Reported, not asserted.
//
// node bench/web_page.mjs SITE [RUNS] [SECONDS]
import { launchBrowser, serveFolder } from '../tests/web/harness.mjs';

// Installed before the page's scripts: the time of the end of the first animation frame the
// game drew in, and the start of every frame, from the page's request on (performance.now()).
function timeAnimationFrames() {
  const request = window.requestAnimationFrame.bind(window);
  window.tumbraFrames = { first: null, starts: [] };
  window.requestAnimationFrame = (callback) => request((time) => {
    callback(time);
    if (typeof Module !== 'undefined' && Module.calledRun) {
      window.tumbraFrames.starts.push(time);
      window.tumbraFrames.first ??= performance.now();
    }
  });
}

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

async function firstFrame(browser, url) {
  const page = await browser.newPage();
  await page.setViewport({ width: 400, height: 400 });
  await page.evaluateOnNewDocument(timeAnimationFrames);
  await page.goto(url);
  await page.waitForFunction(() => window.tumbraFrames.first !== null, { polling: 20 });
  const first = await page.evaluate(() => window.tumbraFrames.first);
  await page.close();
  return first;
}

// Frames whose interval from the one before stays within one and a half refreshes were drawn
// on time; a longer one means a refresh was missed.
async function framesOnTime(browser, url, seconds) {
  const page = await browser.newPage();
  await page.setViewport({ width: 400, height: 400 });
  await page.evaluateOnNewDocument(timeAnimationFrames);
  await page.goto(`${url}?demo`);
  await page.waitForFunction(() => window.tumbraFrames.starts.length > 10, { polling: 50 });
  await page.evaluate(() => { window.tumbraFrames.starts = []; });
  await new Promise((resolve) => setTimeout(resolve, seconds * 1000));
  const starts = await page.evaluate(() => window.tumbraFrames.starts);
  await page.close();
  const intervals = starts.slice(1).map((t, i) => t - starts[i]);
  const refresh = median(intervals);
  const late = intervals.filter((interval) => interval > 1.5 * refresh).length;
  return { frames: intervals.length, refresh, onTime: 1 - late / intervals.length };
}

const [site, runs = '9', seconds = '10'] = process.argv.slice(2);
const server = await serveFolder(site);
const { browser, close } = await launchBrowser();
try {
  const url = `${server.url}/index.html`;
  await firstFrame(browser, url); // warm-up: the browser's own start
  const firsts = [];
  for (let i = 0; i < Number(runs); ++i) {
    firsts.push(await firstFrame(browser, url));
  }
  console.log(`request to first drawn frame: median ${median(firsts).toFixed(0)} ms ` +
              `(${Math.min(...firsts).toFixed(0)} to ${Math.max(...firsts).toFixed(0)}, ` +
              `${firsts.length} runs)`);
  const timing = await framesOnTime(browser, url, Number(seconds));
  console.log(`animation frames on time at 400x400: ${(100 * timing.onTime).toFixed(1)} % of ` +
              `${timing.frames} (refresh ${timing.refresh.toFixed(2)} ms)`);
} finally {
  await close();
  server.close();
}
