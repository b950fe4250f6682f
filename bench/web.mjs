// bench/run's web part: plays the page built with the probe (bench/probe.js, its log
// in console lines) in headless Chromium, the page in front, and prints as JSON its
// frames per second and the main thread's milliseconds a frame (Chrome's TaskDuration
// over the frames drawn) on the main menu and at each level the probe holds still
// (10, 40 and 70 balls in view): node bench/web.mjs PAGE [BEFORE-PAGE]
import { launch, serve } from '../tests/web/harness.mjs';

const HeldLevels = [0, 10, 30];
const SpanMs = 4000; // inside the probe's 6 s of counting, with time to spare
const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

async function open(browser, url, run) {
  const page = await browser.newPage();
  page.probeLog = [];
  page.on('console', (line) => line.text().startsWith('{"e"') && page.probeLog.push(JSON.parse(line.text())));
  page.on('pageerror', (error) => console.error(`bench/run: page error: ${error.message}`));
  await page.setViewport({ width: 700, height: 700 });
  await page.goto(`${url}?run=${run}`);
  await page.bringToFront();
  return page;
}

// The first event of the probe's log with that name (and level), within 5 minutes.
async function event(page, name, level) {
  for (let tries = 0; tries < 6000; tries++, await pause(50)) {
    const found = page.probeLog.find((e) => e.e === name && [undefined, e.level].includes(level));
    if (found) return found;
  }
  throw new Error(`bench/run: the page logged no '${name}' ${level ?? ''}`);
}

// Frames drawn over SpanMs, and the main thread's busy time over them.
async function span(page) {
  const at = async () => {
    const frames = () => page.evaluate(() => [Module.frames, performance.now()]);
    const [a, metrics, b] = [await frames(), await page.metrics(), await frames()];
    return { frames: (a[0] + b[0]) / 2, t: (a[1] + b[1]) / 2, task: metrics.TaskDuration };
  };
  const [a, b] = [await at(), await pause(SpanMs).then(at)];
  const frames = b.frames - a.frames;
  return { fps: (frames * 1000) / (b.t - a.t), main_ms: ((b.task - a.task) * 1000) / frames, end: b.t };
}

async function measure(browser, url) {
  const menu = await open(browser, url, 'menu');
  await event(menu, 's').then(() => pause(500)); // as on the desktop, counted once settled
  const figures = { menu: await span(menu), levels: {} };
  await menu.close();
  const play = await open(browser, url, 'levels');
  for (const level of HeldLevels) {
    await event(play, 'hold', level);
    const held = (figures.levels[level] = await span(play));
    if ((await event(play, 'unhold', level)).t < held.end) throw new Error(`bench/run: level ${level} moved on too soon`);
  }
  await play.close();
  return figures;
}

const { browser, close } = await launch();
const figures = { browser: await browser.version(), pages: {} };
for (const [name, dir] of [['now', process.argv[2]], ['before', process.argv[3]]].filter(([, d]) => d)) {
  const server = await serve(dir, dir);
  figures.pages[name] = await measure(browser, `http://127.0.0.1:${server.address().port}/`);
  server.close();
}
await close();
console.log(JSON.stringify(figures));
