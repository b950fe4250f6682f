// The page's WebGL context lost in a level and given back: the level holds; no
// WebGL, or no program linked: words on the page and no uncaught error.
import { check, click, expectScreen, launch, newPage, open, waitFor, watch, WaitMs } from './harness.mjs';
import { MenuX, MenuY } from './desktop.mjs';
import { stepsBetween } from './tabs.mjs';

const LostMs = 8000;
const BackWithinMs = 3000;
const SlackSteps = 5;

const shows = (id) => document.getElementById(id)?.checkVisibility() ?? false;

// Lost for LostMs in a level, then given back: balls and status show again.
async function lostContext(browser, url) {
  const page = await newPage(browser);
  await open(page, url);
  await click(page, MenuX, MenuY.newGame);
  await expectScreen(page, 'difficulty-menu');
  await click(page, MenuX, MenuY.easy);
  const before = await watch(page, 'balls');
  const status = await watch(page, 'status');
  const lostAt = await page.evaluate(() => {
    window.losing = GLctx.getExtension('WEBGL_lose_context');
    window.losing.loseContext();
    return performance.now();
  });
  const noted = await waitFor(page, shows, 'lost');
  const button = await page.evaluate(() => document.querySelector('#lost button')?.textContent);
  await page.waitForFunction((t) => performance.now() >= t, { timeout: WaitMs }, lostAt + LostMs);
  const restoredAt = await page.evaluate(() => {
    window.losing.restoreContext();
    return performance.now();
  });
  const after = await watch(page, 'balls', {}, BackWithinMs);
  const statusAfter = await watch(page, 'status', {}, BackWithinMs);
  check(noted && button === 'Start again', `while lost the page says so and offers "${button}"`);
  check(!after.timedOut && after.time - restoredAt <= BackWithinMs && !(await page.evaluate(shows, 'lost')),
    `given back, the balls show ${(after.time - restoredAt).toFixed(0)} ms later, and the note goes`);
  check(!statusAfter.timedOut && statusAfter.points === status.points && statusAfter.lives === status.lives,
    'given back, the status line shows the points and lives of before');
  const seenMs = after.time - before.time - (restoredAt - lostAt);
  const steps = stepsBetween(before, after);
  check(after.balls?.length === before.balls.length && steps <= seenMs / 10 + SlackSteps,
    `the level held while lost: ${steps.toFixed(1)} steps in ${seenMs.toFixed(0)} ms seen around ${LostMs} ms lost`);
  await page.close();
}

// The note's words once the game has ended, and the uncaught errors meanwhile.
async function cannotDraw(page, url) {
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.goto(url);
  await waitFor(page, () => getComputedStyle(document.getElementById('ended')).display !== 'none');
  const said = await page.evaluate(() => {
    const note = document.getElementById('cannot-draw');
    return note?.checkVisibility() ? note.textContent : '';
  });
  return { said, errors };
}

async function withoutWebGl(url) {
  const bare = await launch(['--disable-3d-apis']);
  try {
    const { said, errors } = await cannotDraw(await newPage(bare.browser), url);
    check(/no WebGL/.test(said) && /hardware acceleration/.test(said) && errors.length === 0,
      `without WebGL the page says: "${said}" (uncaught errors: ${errors.length ? errors : 'none'})`);
  } finally {
    await bare.close();
  }
}

// The driver refuses to link: its log reaches the console once.
async function programsFail(browser, url) {
  const page = await newPage(browser);
  const DriverLog = 'no room for this program';
  await page.evaluateOnNewDocument((log) => {
    const parameter = WebGLRenderingContext.prototype.getProgramParameter;
    WebGLRenderingContext.prototype.getProgramParameter = function (program, name) {
      return name === this.LINK_STATUS ? false : parameter.call(this, program, name);
    };
    WebGLRenderingContext.prototype.getProgramInfoLog = () => log;
  }, DriverLog);
  const logged = [];
  page.on('console', (message) => message.text().includes(DriverLog) && logged.push(message.text()));
  const { said, errors } = await cannotDraw(page, url);
  check(/shaders/.test(said) && logged.length === 1 && errors.length === 0,
    `programs that do not link: the page says "${said}", the console has the driver's log ` +
    `${logged.length} times (uncaught errors: ${errors.length ? errors : 'none'})`);
  await page.close();
}

export default async function gpu({ browser, url }) {
  await lostContext(browser, url);
  await programsFail(browser, url);
  await withoutWebGl(url);
}
