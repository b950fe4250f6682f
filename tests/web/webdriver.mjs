// A W3C WebDriver client offering the part of puppeteer's page the suites use,
// for WebKitGTK's WebKitWebDriver. One window serves every page in turn.
// Script results come back as JSON text, which the driver passes on whole.
import fs from 'node:fs';

const pageChecks = fs.readFileSync(new URL('page-checks.js', import.meta.url), 'utf8');

// WebDriver's names of the keys the suites press that are no characters.
const Keys = { Escape: '\uE00C', Enter: '\uE007', Shift: '\uE008', Backspace: '\uE003', KeyA: 'a' };
const Buttons = { left: 0, middle: 1, right: 2 };

// One session's commands: POST or GET /session/ID/what, its value or an Error.
export function session(base, id) {
  return async (what, body) => {
    const response = await fetch(`${base}/session/${id}/${what}`, body === undefined ? {} : {
      method: 'POST', headers: { 'Content-Type': 'application/json' }, body: JSON.stringify(body),
    });
    const { value } = await response.json();
    if (value && value.error) throw new Error(`${what}: ${value.error}: ${value.message}`);
    return value;
  };
}

// Runs fn(...args) in the page, awaits it and returns its value.
async function evaluate(send, fn, ...args) {
  const script = `const done = arguments[arguments.length - 1];
    Promise.resolve().then(() => (${fn}).apply(null, ${JSON.stringify(args)}))
      .then((r) => done(JSON.stringify(r === undefined ? null : r)),
        (e) => done(JSON.stringify({ thrown: String(e) })));`;
  const result = JSON.parse(await send('execute/async', { script, args: [] }));
  if (result && result.thrown) throw new Error(result.thrown);
  return result;
}

// Resolves once fn(...args) is truthy in the page, or rejects after `timeout` ms.
async function waitForFunction(send, fn, { polling = 50, timeout }, ...args) {
  const wait = async (f, every, end, a) => {
    while (performance.now() < end) {
      const value = await f(...a);
      if (value) return { value };
      await new Promise((resolve) => setTimeout(resolve, every));
    }
    return null;
  };
  const result = await evaluate(send,
    `(...a) => (${wait})(${fn}, ${polling}, performance.now() + ${timeout}, a)`, ...args);
  if (!result) throw new Error('waitForFunction timed out');
  return { jsonValue: async () => result.value };
}

const keyActions = (keys, types) => [{ type: 'key', id: 'keyboard', actions: keys.flatMap((key) =>
  types.map((type) => ({ type, value: Keys[key] || key }))) }];

export function webDriverPage(send) {
  const perform = (actions) => send('actions', { actions });
  const page = {
    async goto(url) {
      await send('url', { url });
      await evaluate(send, `() => { ${pageChecks} }`);
    },
    evaluate: (fn, ...args) => evaluate(send, fn, ...args),
    waitForFunction: (fn, options, ...args) => waitForFunction(send, fn, options, ...args),
    async $(selector) {
      const box = () => page.evaluate((s) => {
        const { x, y, width, height } = document.querySelector(s).getBoundingClientRect();
        return { x, y, width, height };
      }, selector);
      return { boundingBox: box };
    },
    mouse: {
      click: (x, y, { button = 'left' } = {}) => perform([{
        type: 'pointer', id: 'mouse', parameters: { pointerType: 'mouse' }, actions: [
          { type: 'pointerMove', origin: 'viewport', x: Math.round(x), y: Math.round(y) },
          { type: 'pointerDown', button: Buttons[button] }, { type: 'pointerUp', button: Buttons[button] }],
      }]),
    },
    keyboard: {
      press: (key) => perform(keyActions([key], ['keyDown', 'keyUp'])),
      down: (key) => perform(keyActions([key], ['keyDown'])),
      up: (key) => perform(keyActions([key], ['keyUp'])),
      type: (text) => perform(keyActions([...text], ['keyDown', 'keyUp'])),
    },
    bringToFront: async () => {},
    on: () => page,
    setViewport: async () => {},
    evaluateOnNewDocument: async () => {},
    close: () => send('url', { url: 'about:blank' }),
  };
  return page;
}
