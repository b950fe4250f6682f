// Tabs of one site: their games share the high scores as games share "moon"
// on the desktop, a browser that refuses the page its database still plays,
// and a tab in the background holds its level.
import { check, click, expectScreen, newPage, open, waitFor, watch, WaitMs, writeScores } from './harness.mjs';
import { MenuX, MenuY, PixelsPerStep, shoot } from './desktop.mjs';

const HiddenMs = 2000;
const SlackSteps = 5;

async function newGame(page) {
  await page.bringToFront();
  await click(page, MenuX, MenuY.newGame);
  await expectScreen(page, 'difficulty-menu');
  await click(page, MenuX, MenuY.easy);
}

// A game on Easy that hits a ball and ends with Escape: true once the name
// entry shows, by when the game has read "moon".
export async function toNameEntry(page) {
  await newGame(page);
  const hit = await shoot(page, 'blue', 'left');
  await page.keyboard.press('Escape');
  return hit && waitFor(page, () => Module.frameTexts.includes('Please enter your name:'));
}

// The database's "moon" once written at another time than `after`, else {}.
export const storedAfter = (page, after) => page.waitForFunction(
  (t) => window.quendleTest.stored().then((s) => (s.time !== t ? s : null)),
  { polling: 100, timeout: WaitMs }, after).then((handle) => handle.jsonValue(), () => ({}));

// Tabs a and b both read "moon" at their name entries, then save in turn;
// a's table, open from before b's save, is left after it; c, which has read
// nothing since it loaded, opens its table last, and again after a reload.
async function sharedScores(url, [a, b, c]) {
  await open(a, url);
  await writeScores(a, '');
  await open(b, url);
  await open(c, url);
  let saved = await a.evaluate(() => window.quendleTest.stored());
  check(await toNameEntry(a) && await toNameEntry(b), 'two tabs each score and reach the name entry');
  for (const [page, name] of [[a, 'ann'], [b, 'bob']]) {
    await page.bringToFront();
    await page.keyboard.type(name);
    await page.keyboard.press('Enter');
    saved = await storedAfter(page, saved.time);
  }
  check(saved.names === 'bob,ann', `both tabs read, then both saved: both results are kept (${saved.names})`);
  const table = await watch(b, 'any');
  await a.bringToFront();
  await a.keyboard.press(' ');
  saved = await storedAfter(a, saved.time);
  check(saved.names === 'bob,ann', `a table left open while the other tab saved keeps the newer result (${saved.names})`);
  for (const what of ['a table opened after the other tab saved shows its result', 'and so after a reload']) {
    await c.bringToFront();
    await click(c, MenuX, MenuY.highscore);
    check(!(await watch(c, 'hashIs', { expected: table.hash })).timedOut, what);
    await open(c, url);
  }
}

// The steps the level made between two frames, from how far the balls' lowest
// rows fell; a ball still coming in from the top is matched by its column too.
export function stepsBetween(first, second) {
  const falls = first.balls.map((ball) =>
    second.balls.find((other) => Math.abs(other.x - ball.x) < 1)?.bottom - ball.bottom).filter((fall) => fall >= 0);
  return falls.reduce((sum, fall) => sum + fall, 0) / falls.length / PixelsPerStep;
}

// A level shown, hidden behind another tab for HiddenMs, and shown again moves
// only while shown, and then at (on a busy machine, at least half) its pace.
async function hiddenLevel(page, other) {
  await newGame(page);
  await page.evaluate(() => {
    window.visibility = [];
    document.addEventListener('visibilitychange', () => window.visibility.push(performance.now()));
  });
  const before = await watch(page, 'balls');
  await other.bringToFront();
  const state = await page.evaluate(() => document.visibilityState);
  await page.waitForFunction((ms) => performance.now() >= window.visibility[0] + ms,
    { polling: 100, timeout: WaitMs }, HiddenMs);
  await page.bringToFront();
  const after = await watch(page, 'balls');
  const [hiddenAt, shownAt] = await page.evaluate(() => window.visibility);
  const shownMs = after.time - before.time - (shownAt - hiddenAt);
  const steps = stepsBetween(before, after);
  check(state === 'hidden' && steps <= shownMs / 10 + SlackSteps,
    `no ticks while hidden: ${steps.toFixed(1)} steps in ${shownMs.toFixed(0)} ms shown around ${HiddenMs} ms hidden`);
  await page.waitForFunction((t) => performance.now() >= t, { timeout: WaitMs }, after.time + 1000);
  const later = await watch(page, 'balls');
  const moved = stepsBetween(after, later);
  check(moved >= (later.time - after.time) / 20, `shown again, the level goes on: ${moved.toFixed(1)} steps`);
}

// IndexedDB refused before the page starts: the game plays, asks for no name
// and says its result is not kept, and the page says why.
async function refusedStorage(browser, url) {
  const page = await newPage(browser);
  await page.evaluateOnNewDocument(() => {
    IDBFactory.prototype.open = () => { throw new DOMException('refused', 'SecurityError'); };
  });
  const notKept = new Promise((resolve) => {
    page.on('console', (message) => message.text().includes('result is not kept') && resolve(true));
    setTimeout(resolve, WaitMs, false);
  });
  await open(page, url);
  const note = await page.$eval('#unkept', (p) => p.checkVisibility() && p.textContent).catch(() => '');
  check(/cannot be kept/.test(note), `without IndexedDB the page says: "${note}"`);
  await newGame(page);
  const hit = await shoot(page, 'blue', 'left');
  await page.keyboard.press('Escape');
  check(hit && (await notKept), 'without IndexedDB the game plays and scores, asks for no name, says the result is not kept');
  await page.close();
}

export default async function tabs({ browser, url }) {
  const pages = [await newPage(browser), await newPage(browser), await newPage(browser)];
  await sharedScores(url, pages);
  await hiddenLevel(pages[0], pages[1]);
  for (const page of pages) await page.close();
  await refusedStorage(browser, url);
}
