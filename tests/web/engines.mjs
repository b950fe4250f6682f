// The web stage's three engines, from Debian's packages, and all that differs
// between them. engines[name]() gives { browser, cdp, close }: browser.newPage()
// opens a page with puppeteer's page API (or webdriver.mjs's part of it); cdp
// says whether Chromium's DevTools protocol is there.
import puppeteer from 'puppeteer-core';
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';
import { session, webDriverPage } from './webdriver.mjs';

const StartMs = 30000;
const XvfbScreen = '1280x1024x24';

// An Xvfb of its own, so that WebGL is Mesa's software GPU everywhere: Firefox
// has no WebGL when headless, and WebKitGTK's browser needs a display.
async function xDisplay() {
  const xvfb = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', XvfbScreen, '-nolisten', 'tcp'],
    { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
  const number = await new Promise((resolve, reject) => {
    xvfb.stdio[3].once('data', (data) => resolve(String(data).trim()));
    xvfb.once('exit', () => reject(new Error('Xvfb did not start')));
  });
  return { env: { ...process.env, DISPLAY: `:${number}` }, close: () => xvfb.kill() };
}

// Debian's Chromium, headless, on a profile of its own; extraArgs go on its
// command line after the stage's own.
async function chromium(extraArgs = []) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quendle-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args: ['--headless=new', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-sandbox',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--no-first-run', '--disable-quic', '--disable-background-timer-throttling',
      '--disable-renderer-backgrounding', '--window-size=700,700', ...extraArgs],
  });
  const close = () => browser.close().finally(() => fs.rmSync(profile, { recursive: true, force: true }));
  return { browser, cdp: true, close };
}

// Firefox ESR over WebDriver BiDi, on an X display.
async function firefox() {
  const display = await xDisplay();
  const browser = await puppeteer.launch({
    browser: 'firefox', executablePath: process.env.FIREFOX || '/usr/bin/firefox-esr', headless: false,
    env: display.env, args: ['--width=900', '--height=900'],
  });
  return { browser, cdp: false, close: () => browser.close().finally(display.close) };
}

const freePort = () => new Promise((resolve) => {
  const probe = net.createServer().listen(0, '127.0.0.1', () => {
    const { port } = probe.address();
    probe.close(() => resolve(port));
  });
});

// Resolves once fn() does within StartMs.
async function retried(fn) {
  for (const end = Date.now() + StartMs; ;) {
    try {
      return await fn();
    } catch (error) {
      if (Date.now() > end) throw error;
      await new Promise((resolve) => setTimeout(resolve, 200));
    }
  }
}

// WebKitGTK's MiniBrowser under WebKitWebDriver, on an X display, with the
// plain renderer: its own crashes in Mesa's software driver under automation.
async function webkit() {
  const display = await xDisplay();
  const port = await freePort();
  const driver = spawn(process.env.WEBKIT_DRIVER || '/usr/bin/WebKitWebDriver', [`--port=${port}`],
    { env: { ...display.env, WEBKIT_DISABLE_DMABUF_RENDERER: '1' }, stdio: 'ignore' });
  const base = `http://127.0.0.1:${port}`;
  const close = () => { driver.kill(); display.close(); };
  try {
    await retried(() => fetch(`${base}/status`));
    const { value } = await (await fetch(`${base}/session`, { method: 'POST', body: JSON.stringify({
      capabilities: { alwaysMatch: {
        browserName: 'MiniBrowser', timeouts: { script: 120000 },
        'webkitgtk:browserOptions': { binary: process.env.MINIBROWSER ||
          '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser', args: ['--automation'] },
      } },
    }) })).json();
    if (!value.sessionId) throw new Error(`no WebKit session: ${value.message}`);
    const send = session(base, value.sessionId);
    await send('window/rect', { width: 800, height: 800 });
    const browser = { newPage: async () => webDriverPage(send) };
    const end = () => fetch(`${base}/session/${value.sessionId}`, { method: 'DELETE' }).finally(close);
    return { browser, cdp: false, close: end };
  } catch (error) {
    close();
    throw error;
  }
}

export const engines = { chromium, firefox, webkit };
