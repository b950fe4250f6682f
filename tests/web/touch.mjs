// The page on touch screens, in puppeteer's device emulation: the field fits a
// phone upright and turned and a tablet with nothing to scroll, the menu's text
// is sharp at three device pixels to one, and a game is played by taps, the
// controls and the phone's keyboard. A roomy desktop view keeps the page as it was.
import { check, click, expectScreen, newPage, open, shootWith, tap, WaitMs } from './harness.mjs';
import { MenuX, MenuY } from './desktop.mjs';

export const Phone = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
const PhoneTurned = { ...Phone, width: 844, height: 390, isLandscape: true };
const Tablet = { width: 768, height: 1024, deviceScaleFactor: 2, isMobile: true, hasTouch: true };
const Desktop = { width: 1000, height: 1000 };
// The band of the main menu's texts, in the game's pixels: x, y, width, height.
const MenuTextBand = [230, 190, 140, 160];

// The field and the three controls wholly in view and apart, the field a square
// as wide or as tall as the view, its buffer its size in device pixels, and
// nothing to scroll or zoom, once the page has followed the view.
async function fits(page, viewport, name) {
  await page.setViewport(viewport);
  const measure = () => {
    const [field, ...controls] = [canvas, ...document.querySelectorAll('#controls button')]
      .map((element) => element.getBoundingClientRect());
    const inView = (box) => box.left >= 0 && box.top >= 0 && box.right <= innerWidth && box.bottom <= innerHeight;
    const apart = (box) => box.right <= field.left || box.left >= field.right || box.bottom <= field.top ||
      box.top >= field.bottom;
    const scroller = document.scrollingElement;
    return {
      field: `${field.width} x ${field.height} at (${field.left}, ${field.top})`,
      largest: field.width === field.height && (field.width === innerWidth || field.height === innerHeight),
      buffer: canvas.width === field.width * devicePixelRatio && canvas.height === canvas.width,
      controls: controls.length === 3 && controls.every((box) => inView(box) && apart(box)),
      still: inView(field) && scroller.scrollWidth <= innerWidth && scroller.scrollHeight <= innerHeight &&
        visualViewport.scale === 1,
    };
  };
  const fitting = `(${measure})()`;
  await page.waitForFunction(`Object.values(${fitting}).every((value) => value)`, { timeout: WaitMs })
    .catch(() => {});
  const seen = await page.evaluate(fitting);
  check(seen.largest && seen.buffer && seen.controls && seen.still, `${name}: the field is ${seen.field}, ` +
    `the largest square (${seen.largest}), drawn at device pixels (${seen.buffer}), the controls in view ` +
    `beside it (${seen.controls}), nothing scrolls or zooms (${seen.still})`);
}

// The share of the menu's text band, as the screen shows it, that is
// neither of the two colours there, background and ink: blended edges.
async function blendedShare(page) {
  const box = await (await page.$('#canvas')).boundingBox();
  const picture = await page.screenshot({ clip: box, encoding: 'base64' });
  return page.evaluate(async (data, band) => {
    const image = new Image();
    image.src = `data:image/png;base64,${data}`;
    await image.decode();
    const context = Object.assign(document.createElement('canvas'), { width: image.width, height: image.height })
      .getContext('2d');
    context.drawImage(image, 0, 0);
    const scale = image.width / 600;
    const pixels = context.getImageData(...band.map((v) => Math.round(v * scale))).data;
    const counts = new Map();
    for (let i = 0; i < pixels.length; i += 4) {
      const colour = (pixels[i] << 16) | (pixels[i + 1] << 8) | pixels[i + 2];
      counts.set(colour, (counts.get(colour) || 0) + 1);
    }
    const [background, ink] = [...counts.values()].sort((a, b) => b - a);
    return 1 - (background + ink) / (pixels.length / 4);
  }, picture, MenuTextBand);
}

async function centreOf(page, selector) {
  const box = await (await page.$(selector)).boundingBox();
  return [box.x + box.width / 2, box.y + box.height / 2];
}
const pressed = (page) => page.evaluate(() =>
  ['blue', 'red'].filter((id) => document.getElementById(id).getAttribute('aria-pressed') === 'true').join());

// Counts the mouse presses the game takes from its event queue.
async function countPresses(page) {
  await page.evaluate(() => {
    const make = SDL.makeCEvent;
    window.presses = 0;
    SDL.makeCEvent = (event, pointer) => {
      if (event.type === 'mousedown') window.presses++;
      return make.call(SDL, event, pointer);
    };
  });
}

async function playByTouch(page) {
  await countPresses(page);
  let presses = 0;
  const tapField = async (x, y) => { presses++; await tap(page, x, y); };
  await tapField(MenuX, MenuY.newGame);
  await tapField(MenuX, MenuY.easy);
  check(await shootWith(page, 'blue', tapField), 'a tap fires blue at first: it hits a blue ball and scores');
  await page.touchscreen.tap(...(await centreOf(page, '#red')));
  check(await pressed(page) === 'red', 'a tap on "Red" selects red, and only "Red" shows as pressed');
  check(await shootWith(page, 'red', tapField), 'then a tap fires red: it hits a red ball and scores');
  const thumb = await page.touchscreen.touchStart(...(await centreOf(page, '#blue')));
  const blueHeld = await pressed(page) === 'blue';
  const blueHit = await shootWith(page, 'blue', tapField);
  await thumb.end();
  check(blueHeld && blueHit && await pressed(page) === 'red',
    'with "Blue" held, a tap fires blue and hits; on release red is selected again');

  await page.touchscreen.tap(...(await centreOf(page, '#escape')));
  const focused = await page.waitForFunction(() => document.activeElement.id === 'name', { timeout: WaitMs })
    .then(() => true, () => false);
  check(focused, '"Escape" ends the game, and the name entry gives the name field the focus for the keyboard');
  // A phone's keyboard: text without key codes, a word at a time.
  for (const text of ['Kim', ' 42!']) await page.keyboard.sendCharacter(text);
  await page.keyboard.press('Backspace');
  await page.keyboard.press('Enter');
  const saved = await page.waitForFunction(() => {
    try {
      return new TextDecoder().decode(FS.readFile('moon')).startsWith('Kim 4\n') &&
        document.activeElement.id !== 'name';
    } catch { return false; }
  }, { timeout: WaitMs }).then(() => true, () => false);
  check(saved, '"Kim 42!" and Backspace give the name "Kim 4", saved on Enter; the field lets go of the focus');
  const taken = await page.evaluate(() => window.presses);
  check(taken === presses, `one tap, one shot: the game took ${taken} mouse presses from ${presses} taps`);

  // A mouse works beside the touch screen, as on a touch laptop.
  await open(page, page.url());
  await click(page, MenuX, MenuY.highscore);
  const kept = await page.waitForFunction(() => Module.frameTexts.some((text) => text.startsWith('Kim 4 ')),
    { timeout: WaitMs }).then(() => true, () => false);
  check(kept, 'after a reload, a mouse click on "Highscore" shows "Kim 4" in the table');
}

export default async function touchScreens({ browser, url }) {
  const context = await browser.createBrowserContext();
  const page = await newPage(context);
  await page.setViewport(Phone);
  await open(page, url);
  await fits(page, Phone, 'phone 390 x 844');
  const share = await blendedShare(page);
  check(share === 0, `the menu's text at 3 device pixels to a pixel: ${(100 * share).toFixed(2)} % blended`);
  await playByTouch(page);
  await fits(page, PhoneTurned, 'phone turned 844 x 390');
  await fits(page, Tablet, 'tablet 768 x 1024');
  await context.close();

  const desktop = await newPage(browser);
  await desktop.setViewport(Desktop);
  await open(desktop, url);
  const asBefore = await desktop.evaluate(() => {
    const field = canvas.getBoundingClientRect();
    return getComputedStyle(document.getElementById('controls')).display === 'none' && canvas.width === 600 &&
      [field.left, field.top, field.width, field.height].join() === '200,24,600,600';
  });
  check(asBefore, 'a desktop with a mouse: no touch controls, the field 600 x 600 where it always was');
  await expectScreen(desktop, 'main-menu');
  await desktop.close();
}
