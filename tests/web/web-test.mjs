// The web stage: plays the browser build in Chromium, Firefox and WebKit, each
// engine with a server of its own, suite after suite. SCENES_DIR holds the scene
// program's page (build-wasm/scenes beside SITE_DIR unless given). Named suites
// run alone: "SUITE" in Chromium, "ENGINE:SUITE" in that engine.
//   node web-test.mjs SITE_DIR REFERENCE_DIR [SCENES_DIR [[ENGINE:]SUITE...]]
import { check, failureCount, serve } from './harness.mjs';
import { engines } from './engines.mjs';
import desktopMouse from './desktop.mjs';
import gpu from './gpu.mjs';
import keysAndStorage from './keys-storage.mjs';
import offline from './offline.mjs';
import pictures from './pictures.mjs';
import tabs from './tabs.mjs';
import touchScreens from './touch.mjs';
import path from 'node:path';

const All = Object.keys(engines);
// A suite runs in Chromium, or in the engines beside it; offline stops the server.
const suites = {
  pictures: [pictures, All], desktop: [desktopMouse, All], tabs: [tabs, ['chromium', 'firefox']],
  touch: touchScreens, gpu, 'keys-storage': keysAndStorage, offline: [offline, All],
};
const run = (name) => [suites[name]].flat()[0];
const enginesOf = (name) => [suites[name]].flat()[1] || ['chromium'];

// [engine, suite names] in the order they run: the table's, however named.
function plan(only) {
  const named = only.map((arg) => (arg.includes(':') ? arg.split(':') : ['chromium', arg]));
  const wanted = (engine, name) => (only.length ? named.some(([e, n]) => e === engine && n === name)
    : enginesOf(name).includes(engine));
  return All.map((engine) => [engine, Object.keys(suites).filter((name) => wanted(engine, name))])
    .filter(([, names]) => names.length);
}

async function main() {
  const [siteDir, referenceDir, scenesDir, ...only] = process.argv.slice(2);
  for (const [engine, names] of plan(only)) {
    console.log(`== ${engine}`);
    const server = await serve(siteDir, referenceDir, scenesDir || path.join(siteDir, '../build-wasm/scenes'));
    const browser = await engines[engine]().catch((error) => check(false, `${engine} starts: ${error.message}`));
    try {
      const url = `http://127.0.0.1:${server.address().port}/`;
      for (const name of browser ? names : []) {
        await run(name)({ browser: browser.browser, cdp: browser.cdp, engine, url, siteDir, server });
      }
    } catch (error) {
      check(false, `${engine}: ${error.stack}`);
    } finally {
      await browser?.close();
      server.close();
    }
  }
  const failures = failureCount();
  console.log(failures === 0 ? 'All web checks passed.' : `${failures} web checks failed.`);
  process.exit(failures === 0 ? 0 : 1);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
