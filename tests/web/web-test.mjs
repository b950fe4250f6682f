// Plays the browser build in headless Chromium: the screens against the
// desktop's reference pictures, a game on Easy (left fires blue, right fires
// red, a hit scores, the pace of the world), a name typed with Shift and Caps
// Lock and kept across a reload, and the page the game leaves when it ends.
//   node web-test.mjs BUILD_DIR REFERENCE_DIR
import puppeteer from 'puppeteer-core';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';

const [buildDir, referenceDir] = process.argv.slice(2);
// The page draws the menus' pixels exactly as the desktop's Mesa did for the
// pictures; its lighting is its own float arithmetic, though, which may round
// a channel the other way where it lands on a half.
const Tolerance = 1;
const WaitMs = 30000;
const PaceSeconds = 5;
const RecordSeconds = 22;
const MaxForgivenTicks = 2;
// Easy's first level falls 0.18 * 0.01 field units a step, 300 pixels a unit.
const PixelsPerStep = 0.18 * 0.01 * 300;
const MenuY = { newGame: 205, highscore: 250, instructions: 295, easy: 205 };
const MenuX = 280;
// A table of the reference picture's rows: the longest name, an empty one.
const SeededTable = ['W'.repeat(100000), '2147483647']
  .concat(...[0, 1, 2, 3, 4, 5, 6, 7, 8].map((i) => [i === 3 ? '' : `Player ${i}`, `${900 - 100 * i}`]))
  .join('\n') + '\n';

let failures = 0;
function check(ok, what) {
  console.log(`${ok ? 'ok' : 'FAILED'}: ${what}`);
  if (!ok) failures++;
}

const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm', '.png': 'image/png' };
function serve() {
  const server = http.createServer((request, response) => {
    const url = request.url.split('?')[0];
    const file = url.startsWith('/reference/')
      ? path.join(referenceDir, path.basename(url))
      : path.join(buildDir, url === '/' ? 'index.html' : path.basename(url));
    fs.readFile(file, (error, data) => {
      response.writeHead(error ? 404 : 200, { 'Content-Type': types[path.extname(file)] || 'text/plain' });
      response.end(error ? '' : data);
    });
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

const watch = (page, name, args) =>
  page.evaluate((n, a, t) => window.quendleTest.watch(n, a, t), name, args || {}, WaitMs);

async function open(page, url) {
  await page.goto(url);
  await page.waitForFunction(() => typeof Module !== 'undefined' && Module.frames > 1, { timeout: WaitMs });
}

async function click(page, x, y, button = 'left') {
  const box = await (await page.$('#canvas')).boundingBox();
  await page.mouse.click(box.x + x, box.y + y, { button });
}

async function expectScreen(page, name) {
  await page.evaluate((n) => window.quendleTest.loadReference(n), name);
  const result = await watch(page, 'reference', { name, tolerance: Tolerance });
  const seen = result.timedOut ? result.last : result;
  check(!result.timedOut, `${name} within ${Tolerance} a channel of the desktop picture ` +
    `(largest difference ${seen && seen.maxDiff}, ${seen && seen.over} pixels beyond)`);
}

async function framesPerSecond(page, seconds) {
  const start = await page.evaluate(() => [Module.frames, performance.now()]);
  await page.waitForFunction((t, s) => performance.now() - t >= 1000 * s, { timeout: WaitMs }, start[1], seconds);
  const end = await page.evaluate(() => [Module.frames, performance.now()]);
  return ((end[0] - start[0]) * 1000) / (end[1] - start[1]);
}

async function menus(page) {
  await expectScreen(page, 'main-menu');
  console.log(`frames a second in the main menu: ${(await framesPerSecond(page, 2)).toFixed(0)}`);
  await click(page, MenuX, MenuY.instructions);
  await expectScreen(page, 'instructions');
  await page.keyboard.press('Space');
  await expectScreen(page, 'main-menu');
  await click(page, MenuX, MenuY.newGame);
  await expectScreen(page, 'difficulty-menu');
  await click(page, MenuX, MenuY.easy);
}

// The steps of the world a second, from how far the balls fell between two
// frames PaceSeconds apart, each timed when the game showed it: the centres
// of balls seen whole in both, matched by their columns (balls only fall).
// The level's clock posts at most 10 ticks at once and forgives the rest, so
// a page held up for longer than 100 ms loses a tick for every 10 ms beyond.
// The two frames are taken from a recording of the level where the page's
// hold-ups between them could have cost the fewest ticks, at most MaxForgivenTicks.
// Balls about to reach the bottom are shot meanwhile, to keep the lives.
async function pace(page, level) {
  const end = await page.evaluate((s) => {
    window.quendleTest.startRecording();
    return performance.now() + 1000 * s;
  }, RecordSeconds);
  let shotAt = 0;
  for (;;) {
    const low = await (await page.waitForFunction((e, after) =>
      performance.now() > e ? 'done' : window.quendleTest.lowBall(420, after),
    { polling: 250, timeout: WaitMs }, end, shotAt)).jsonValue();
    if (low === 'done') break;
    await click(page, low.x, 520, low.color === 'blue' ? 'left' : 'right');
    shotAt = await page.evaluate(() => performance.now());
  }
  const recorded = await page.evaluate(() => window.quendleTest.stopRecording());
  const samples = recorded.samples;
  const stalls = recorded.stalls.filter(([stallEnd]) => samples.length && stallEnd >= samples[0].time);
  const onLevel = samples.filter((sample) => sample.level === level);
  let best = null;
  for (const first of onLevel) {
    const second = onLevel.find((sample) => sample.time - first.time >= 1000 * PaceSeconds);
    if (!second) continue;
    const between = stalls.filter(([end, delay]) => end > first.time && end - delay < second.time);
    const forgiven = between.reduce((sum, [, delay]) => sum + Math.max(0, delay - 100) / 10, 0);
    const falls = [];
    for (const a of first.balls.filter((ball) => ball.whole)) {
      const b = second.balls.find((ball) => ball.whole && Math.abs(ball.x - a.x) < 1);
      if (b) falls.push(b.y - a.y);
    }
    if (falls.length && forgiven <= MaxForgivenTicks && (!best || forgiven < best.forgiven)) {
      best = { first, second, falls, forgiven };
    }
  }
  if (!best) {
    check(false, `a stretch of ${PaceSeconds} s without long stalls to measure the pace in ` +
      `(${stalls.length} stalls of up to ${Math.max(0, ...stalls.map(([, d]) => d)).toFixed(0)} ms in ${samples.length} samples)`);
    return;
  }
  const seconds = (best.second.time - best.first.time) / 1000;
  const fall = best.falls.reduce((sum, f) => sum + f, 0) / best.falls.length;
  const steps = fall / PixelsPerStep / seconds;
  check(Math.abs(steps - 100) <= 1, `pace ${steps.toFixed(2)} steps a second over ${seconds.toFixed(2)} s ` +
    `(${best.falls.length} balls fell ${fall.toFixed(1)} pixels; stalls could have cost ${best.forgiven.toFixed(1)} ticks)`);
}

// Fires at the lowest ball of a colour with the given button from below it.
// The dart's colour shows in the outcome: the same colour scores and costs
// no life, the other colour costs a life and scores nothing.
async function shoot(page, color, button) {
  const before = await watch(page, 'status');
  const { target } = await watch(page, 'balls', { color });
  await click(page, target.x, 520, button);
  const after = await watch(page, 'status', { points: before.points });
  return !after.timedOut && after.lives === before.lives;
}

async function play(page) {
  await page.evaluate(() => {
    window.contextMenuShown = false;
    document.addEventListener('contextmenu', (event) => { window.contextMenuShown ||= !event.defaultPrevented; });
  });
  const { level } = await watch(page, 'balls');
  check(await shoot(page, 'blue', 'left'), 'a left click fires a blue dart: it hits a blue ball and scores');
  check(await shoot(page, 'red', 'right'), 'a right click fires a red dart: it hits a red ball and scores');
  check(!(await page.evaluate(() => window.contextMenuShown)), 'the right button opens no context menu');
  console.log(`frames a second in play: ${(await framesPerSecond(page, 2)).toFixed(0)}`);
  await pace(page, level);
}

// A letter key pressed and released with Caps Lock on, which puppeteer's
// keyboard cannot set: a page event of the kind the browser sends.
async function withCapsLock(page, letter) {
  await page.evaluate((key) => {
    for (const type of ['keydown', 'keyup']) {
      const event = new KeyboardEvent(type, { key, modifierCapsLock: true, bubbles: true });
      Object.defineProperty(event, 'keyCode', { get: () => key.toUpperCase().charCodeAt(0) });
      document.dispatchEvent(event);
    }
  }, letter);
}

// "Ann Lee": A with Shift, L with Caps Lock, and "ee" with both, which
// cancel out as on any keyboard.
async function nameEntry(page) {
  await page.keyboard.press('Escape');
  await page.keyboard.down('Shift');
  await page.keyboard.press('KeyA');
  await page.keyboard.up('Shift');
  await page.keyboard.type('nn ');
  await withCapsLock(page, 'l');
  await page.keyboard.down('Shift');
  await withCapsLock(page, 'e');
  await withCapsLock(page, 'e');
  await page.keyboard.up('Shift');
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => {
    try { return new TextDecoder().decode(FS.readFile('moon')).startsWith('Ann Lee\n'); } catch { return false; }
  }, { timeout: WaitMs });
  const table = await watch(page, 'any');
  await page.keyboard.press('Space');
  return table.hash;
}

async function main() {
  const server = await serve();
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quendle-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args: ['--headless=new', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-sandbox',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--no-first-run', '--disable-quic', '--disable-background-timer-throttling',
      '--disable-renderer-backgrounding', '--window-size=700,700'],
  });
  try {
    const page = await browser.newPage();
    page.on('pageerror', (error) => console.log(`page error: ${error.message}`));
    await page.setViewport({ width: 700, height: 700 });
    await page.evaluateOnNewDocument(fs.readFileSync(new URL('page-checks.js', import.meta.url), 'utf8'));
    const url = `http://127.0.0.1:${server.address().port}/`;
    await open(page, url);
    await menus(page);
    await play(page);
    const table = await nameEntry(page);

    await open(page, url);
    await click(page, MenuX, MenuY.highscore);
    check(!(await watch(page, 'hashIs', { expected: table })).timedOut,
      '"Ann Lee" (Shift, Caps Lock, both) is saved, and after a reload the table shows it as when it was entered');
    await page.keyboard.press('Space');
    await expectScreen(page, 'main-menu');
    await page.evaluate((text) => FS.writeFile('moon', text), SeededTable);
    await click(page, MenuX, MenuY.highscore);
    await expectScreen(page, 'highscore-table');
    await page.keyboard.press('Space');
    await expectScreen(page, 'main-menu');

    await page.keyboard.press('Escape');
    const ended = await page.waitForFunction(
      () => getComputedStyle(document.getElementById('ended')).display !== 'none', { timeout: WaitMs })
      .then(() => true, () => false);
    check(ended, 'Escape in the main menu ends the game and the page says so');
  } finally {
    await browser.close();
    server.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
  console.log(failures === 0 ? 'All web checks passed.' : `${failures} web checks failed.`);
  process.exit(failures === 0 ? 0 : 1);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
