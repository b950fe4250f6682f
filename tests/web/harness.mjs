// What every suite of the web stage shares: the page's server, the browser,
// the checks and their tally, and the ways of looking at the page's frames
// (page-checks.js, added to every page a suite opens). The browsers are in
// engines.mjs.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { engines } from './engines.mjs';

// The page draws texts exactly as the desktop's Mesa did; its own lighting
// arithmetic may round a channel the other way where it lands on a half.
export const Tolerance = 1;
export const WaitMs = 30000;

let failures = 0;
export function check(ok, what) {
  console.log(`${ok ? 'ok' : 'FAILED'}: ${what}`);
  if (!ok) failures++;
}
export const failureCount = () => failures;

const types = {
  '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm', '.png': 'image/png',
  '.json': 'application/json', '.webmanifest': 'application/manifest+json',
};

// Serves the page's folder at /, the reference pictures at /reference/ and
// the page of the scene program (tests/web/scenes/) at /scenes/; a suite may
// set server.siteDir to serve another build of the page.
export function serve(siteDir, referenceDir, scenesDir) {
  const server = http.createServer((request, response) => {
    const url = request.url.split('?')[0];
    const file = url.startsWith('/reference/')
      ? path.join(referenceDir, path.basename(url))
      : url.startsWith('/scenes/')
        ? path.join(scenesDir, url === '/scenes/' ? 'index.html' : path.basename(url))
        : path.join(server.siteDir, url === '/' ? 'index.html' : path.basename(url));
    fs.readFile(file, (error, data) => {
      response.writeHead(error ? 404 : 200, { 'Content-Type': types[path.extname(file)] || 'text/plain' });
      response.end(error ? '' : data);
    });
  });
  server.siteDir = siteDir;
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// Headless Chromium, for the scripts that photograph or measure the page, and
// for a suite that needs one with flags of its own.
export const launch = engines.chromium;

const pageChecks = fs.readFileSync(new URL('page-checks.js', import.meta.url), 'utf8');

// A new tab of the browser that looks at its frames, on a 700 x 700 view.
export async function newPage(browser) {
  const page = await browser.newPage();
  page.on('pageerror', (error) => console.log(`page error: ${error.message}`));
  await page.setViewport({ width: 700, height: 700 });
  await page.evaluateOnNewDocument(pageChecks);
  return page;
}

// Loads the page in front, where it shows frames, and waits until the game
// has shown a frame after the first.
export async function open(page, url) {
  await page.bringToFront();
  await page.goto(url);
  await page.waitForFunction(() => typeof Module !== 'undefined' && Module.frames > 1, { timeout: WaitMs });
}

// Whether fn(...args) became true in the page within WaitMs, for a check to name.
export const waitFor = (page, fn, ...args) =>
  page.waitForFunction(fn, { timeout: WaitMs }, ...args).then(() => true, () => false);

// Resolves with the result of the first frame that passes the named check
// of page-checks.js, or with {timedOut, last}. It comes as JSON text: an
// object met twice in a result comes back once only from Firefox.
export const watch = async (page, name, args, timeoutMs = WaitMs) => JSON.parse(await page.evaluate(
  (n, a, t) => window.quendleTest.watch(n, a, t).then(JSON.stringify), name, args || {}, timeoutMs));

// Gives the page's "moon" the text, in the browser's database too.
export const writeScores = (page, text) => page.evaluate((t) => {
  FS.writeFile('moon', t);
  return new Promise((done) => FS.syncfs(false, done));
}, text);

async function pointOnPage(page, x, y) { // where (x, y) of the game's field shows
  const box = await (await page.$('#canvas')).boundingBox();
  return [box.x + (x * box.width) / 600, box.y + (y * box.height) / 600];
}
export async function click(page, x, y, button = 'left') {
  await page.mouse.click(...(await pointOnPage(page, x, y)), { button });
}
export async function tap(page, x, y) {
  await page.touchscreen.tap(...(await pointOnPage(page, x, y)));
}

// Fires at the lowest ball of a colour from below it with fire(x, y). The
// dart's colour shows in the outcome: the same colour scores and costs no
// life, the other colour costs a life and scores nothing. A wait that times
// out makes it false, for the caller's check to name.
export async function shootWith(page, color, fire) {
  const before = await watch(page, 'status');
  const balls = await watch(page, 'balls', { color });
  if (before.timedOut || balls.timedOut) return false;
  await fire(balls.target.x, 520);
  const after = await watch(page, 'status', { points: before.points });
  return !after.timedOut && after.lives === before.lives;
}

export async function expectScreen(page, name, tolerance = Tolerance, timeoutMs = WaitMs) {
  await page.evaluate((n) => window.quendleTest.loadReference(n), name);
  const result = await watch(page, 'reference', { name, tolerance }, timeoutMs);
  const seen = result.timedOut ? result.last : result;
  check(!result.timedOut, `${name} ${tolerance ? `within ${tolerance} a channel of` : 'exactly as'} the desktop picture ` +
    `(largest difference ${seen && seen.maxDiff}, ${seen && seen.over} pixels beyond)`);
}
