// The web stage: plays the browser build in headless Chromium, one suite
// after another, each in tabs of its own of one browser. SCENES_DIR holds the
// scene program's page (build-wasm/scenes beside SITE_DIR unless given); named
// suites run alone.
//   node web-test.mjs SITE_DIR REFERENCE_DIR [SCENES_DIR [SUITE...]]
import { failureCount, launch, serve } from './harness.mjs';
import desktopMouse from './desktop.mjs';
import keysAndStorage from './keys-storage.mjs';
import offline from './offline.mjs';
import pictures from './pictures.mjs';
import tabs from './tabs.mjs';
import touchScreens from './touch.mjs';
import path from 'node:path';

// The offline suite stops the server: it comes last.
const suites = {
  pictures, desktop: desktopMouse, tabs, touch: touchScreens, 'keys-storage': keysAndStorage, offline,
};

async function main() {
  const [siteDir, referenceDir, scenesDir, ...only] = process.argv.slice(2);
  const server = await serve(siteDir, referenceDir, scenesDir || path.join(siteDir, '../build-wasm/scenes'));
  const chromium = await launch();
  try {
    const url = `http://127.0.0.1:${server.address().port}/`;
    for (const name of only.length ? only : Object.keys(suites)) {
      await suites[name]({ browser: chromium.browser, url, siteDir, server });
    }
  } finally {
    await chromium.close();
    server.close();
  }
  const failures = failureCount();
  console.log(failures === 0 ? 'All web checks passed.' : `${failures} web checks failed.`);
  process.exit(failures === 0 ? 0 : 1);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
