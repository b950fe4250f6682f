// The web stage: plays the browser build in headless Chromium, one suite
// after another, each in tabs of its own of one browser.
//   node web-test.mjs SITE_DIR REFERENCE_DIR
import { failureCount, launch, serve } from './harness.mjs';
import desktopMouse from './desktop.mjs';
import offline from './offline.mjs';
import tabs from './tabs.mjs';
import touchScreens from './touch.mjs';

// The offline suite stops the server: it comes last.
const suites = [desktopMouse, tabs, touchScreens, offline];

async function main() {
  const [siteDir, referenceDir] = process.argv.slice(2);
  const server = await serve(siteDir, referenceDir);
  const chromium = await launch();
  try {
    const url = `http://127.0.0.1:${server.address().port}/`;
    for (const suite of suites) {
      await suite({ browser: chromium.browser, url, siteDir, server });
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
