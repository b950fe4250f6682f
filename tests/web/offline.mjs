// The page installed and offline: Chrome finds nothing that keeps it from
// being installed; a rebuilt page with one changed file replaces the cache of
// the old build at the next reload; and with the server stopped (and the
// browser offline, where Chromium's protocol can say so), a reload plays.
// Closes the server: the last suite.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { check, newPage, open, watch, WaitMs } from './harness.mjs';

// A copy of the page with one element more, its service worker made again.
function rebuild(siteDir) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'quendle-site-'));
  fs.cpSync(siteDir, dir, { recursive: true });
  const index = path.join(dir, 'index.html');
  fs.writeFileSync(index, fs.readFileSync(index, 'utf8').replace('</body>', '<p id="rebuilt"></p></body>'));
  execFileSync('cmake', [`-DSITE=${dir}`, '-P', new URL('../../web/ServiceWorker.cmake', import.meta.url).pathname]);
  return dir;
}

const buildOf = (dir) => /const Build = '(\w+)'/.exec(fs.readFileSync(path.join(dir, 'sw.js'), 'utf8'))[1];

// Waits until the caches hold exactly these builds, and no worker is installing.
const cachedBuilds = (page, builds) => page.waitForFunction(async (expected) => {
  const registration = await navigator.serviceWorker.getRegistration();
  const names = (await caches.keys()).filter((name) => name.startsWith('quendle-build-'));
  return !registration.installing && !registration.waiting && names.sort().join() === expected;
}, { polling: 100, timeout: WaitMs }, builds.map((build) => `quendle-build-${build}`).sort().join())
  .then(() => true, () => false);

export default async function offline({ browser, cdp, url, siteDir, server }) {
  const page = await newPage(browser);
  await open(page, url);
  if (cdp) {
    const { installabilityErrors } = await (await page.createCDPSession()).send('Page.getInstallabilityErrors');
    check(installabilityErrors.length === 0, `installable (${JSON.stringify(installabilityErrors)})`);
  }
  const old = buildOf(siteDir);
  check(await cachedBuilds(page, [old]), `the build is kept in a cache named after it (${old})`);

  const rebuilt = rebuild(siteDir);
  server.siteDir = rebuilt;
  await open(page, url);
  const rebuiltShown = () => page.evaluate(() => document.getElementById('rebuilt') !== null);
  const loading = await rebuiltShown();
  const both = await cachedBuilds(page, [old, buildOf(rebuilt)]);
  check(!loading && both, 'a reload while the new build is being cached still runs the old one, and keeps its cache');
  await open(page, url);
  check(await rebuiltShown() && await cachedBuilds(page, [buildOf(rebuilt)]),
    'the next reload runs the rebuilt page, and its cache replaces the old one');

  const menu = await watch(page, 'any');
  server.close();
  server.closeAllConnections();
  if (cdp) await page.setOfflineMode(true);
  await open(page, url);
  check(!(await watch(page, 'hashIs', { expected: menu.hash })).timedOut,
    `with the server stopped${cdp ? ' and the browser offline' : ''}, a reload plays`);
  await page.close();
  fs.rmSync(rebuilt, { recursive: true, force: true });
}
