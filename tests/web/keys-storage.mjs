// Where browsers and devices do their own thing: the browser's own keys.
import { check, newPage, open, waitFor } from './harness.mjs';

// Keys the browser acts on, and keys that would scroll the page or move the focus.
const BrowserKeys = [{ key: 'r', ctrlKey: true }, { key: 'F5' }, { key: '=', ctrlKey: true },
  { key: '-', ctrlKey: true }, { key: '0', ctrlKey: true }, { key: 'f', ctrlKey: true }, { key: 'l', metaKey: true }];
const PageKeys = [{ key: ' ' }, { key: 'ArrowDown' }, { key: 'Tab' }];

// Which of the keys the page cancels, pressed where the keyboard's focus is.
const cancelled = (page, keys) => page.evaluate((list) => list.filter((init) =>
  !(document.activeElement || document.body).dispatchEvent(new KeyboardEvent('keydown',
    { ...init, bubbles: true, cancelable: true }))).map((init) => init.key.trim() || 'Space').join(' '), keys);

async function browserKeys(browser, url) {
  const page = await newPage(browser);
  await open(page, url);
  const menu = [await cancelled(page, BrowserKeys), await cancelled(page, PageKeys)];
  check(menu[0] === '' && menu[1] === 'Space ArrowDown Tab',
    `in the menu, Ctrl, Meta and function keys reach the browser (cancelled: "${menu[0]}"), ` +
    `Space, arrows and Tab do not (cancelled: "${menu[1]}")`);
  await page.keyboard.press('Escape');
  await waitFor(page, () => document.getElementById('ended').checkVisibility());
  const focused = await page.evaluate(() => document.activeElement.textContent);
  const ended = await cancelled(page, PageKeys);
  await page.keyboard.press('Tab');
  await page.keyboard.press('Enter');
  const again = await waitFor(page, () => typeof Module !== 'undefined' && Module.frames > 1 &&
    document.getElementById('ended').checkVisibility() === false);
  check(focused === 'Play again' && ended === '' && again,
    `once the game has ended "${focused}" has the focus, no key is cancelled ("${ended}"), and Tab, Enter starts again`);
  await page.close();
}

export default async function keysAndStorage({ browser, url }) {
  await browserKeys(browser, url);
}
