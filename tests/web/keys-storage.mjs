// A phone keyboard that composes the name, a save IndexedDB aborts, browser keys.
import { check, newPage, open, shootWith, tap, waitFor, writeScores } from './harness.mjs';
import { MenuX, MenuY } from './desktop.mjs';
import { storedAfter, toNameEntry } from './tabs.mjs';
import { Phone } from './touch.mjs';

// Keys the browser acts on, and keys that would scroll the page or move the focus.
const BrowserKeys = [{ key: 'r', ctrlKey: true }, { key: 'F5' }, { key: '=', ctrlKey: true },
  { key: '-', ctrlKey: true }, { key: '0', ctrlKey: true }, { key: 'f', ctrlKey: true }, { key: 'l', metaKey: true }];
const PageKeys = [{ key: ' ' }, { key: 'ArrowDown' }, { key: 'Tab' }];

// A keyboard that composes, as phones' do: each word shown growing, then committed.
async function composedName(browser, url) {
  const context = await browser.createBrowserContext();
  const page = await newPage(context);
  await page.setViewport(Phone);
  await open(page, url);
  const tapField = (x, y) => tap(page, x, y);
  await tapField(MenuX, MenuY.newGame);
  await tapField(MenuX, MenuY.easy);
  const hit = await shootWith(page, 'blue', tapField);
  await page.tap('#escape');
  const focused = await waitFor(page, () => document.activeElement.id === 'name');
  const keyboard = await page.createCDPSession();
  for (const word of ['José', ' ', 'Kim']) {
    for (let end = 1; word.trim() && end <= word.length; end++) {
      const text = word.slice(0, end);
      await keyboard.send('Input.imeSetComposition', { text, selectionStart: end, selectionEnd: end });
    }
    await keyboard.send('Input.insertText', { text: word });
  }
  await page.keyboard.press('Enter');
  const firstName = () => { try { return new TextDecoder().decode(FS.readFile('moon')).split('\n')[0]; } catch { return ''; } };
  const saved = (await waitFor(page, firstName)) ? await page.evaluate(firstName) : '';
  check(hit && focused && saved === 'Jose Kim',
    `"José Kim" from a keyboard that composes it is saved as "Jose Kim" ("${saved}")`);
  await context.close();
}

// Tab a's save is aborted by the database: the page says so; tab b saves after.
async function abortedSave(browser, url) {
  const [a, b] = [await newPage(browser), await newPage(browser)];
  await open(a, url);
  await writeScores(a, '');
  const before = await a.evaluate(() => window.quendleTest.stored());
  await open(b, url);
  await a.evaluate(() => {
    const put = IDBObjectStore.prototype.put;
    IDBObjectStore.prototype.put = function abortAfterPut(...args) {
      const request = put.apply(this, args);
      this.transaction.abort();
      return request;
    };
  });
  const reached = await toNameEntry(a);
  await a.keyboard.type('ann');
  await a.keyboard.press('Enter');
  const said = await waitFor(a, () => /result is not kept/.test(document.getElementById('not-kept')?.innerText));
  // The table as it was: ten empty places.
  const table = await waitFor(a, () => Module.frameTexts.filter((text) => text === ' 0').length === 10);
  await a.keyboard.press('Space');
  const menu = await waitFor(a, () => Module.frameTexts.includes('New game'));
  check(reached && said && table && menu,
    'a save that IndexedDB aborts: the page says the result is not kept, the table and the menu follow');
  check(await toNameEntry(b), 'then another tab scores and reaches its name entry');
  await b.keyboard.type('bob');
  await b.keyboard.press('Enter');
  const saved = await storedAfter(b, before.time);
  check(saved.names === 'bob', `and saves its result (${saved.names})`);
  await a.close();
  await b.close();
}

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
  const focused = await page.evaluate(() => document.activeElement.id || document.activeElement.tagName);
  const ended = await cancelled(page, PageKeys);
  await page.keyboard.press('Tab');
  await page.keyboard.press('Enter');
  const again = await waitFor(page, () => typeof Module !== 'undefined' && Module.frames > 1 &&
    document.getElementById('ended').checkVisibility() === false);
  check(focused === 'again' && ended === '' && again,
    `once the game has ended "Play again" has the focus (${focused}), no key is cancelled ("${ended}"), and Tab, Enter starts again`);
  await page.close();
}

export default async function keysAndStorage({ browser, url }) {
  await composedName(browser, url);
  await abortedSave(browser, url);
  await browserKeys(browser, url);
}
