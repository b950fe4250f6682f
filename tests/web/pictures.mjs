// Every reference picture drawn in the browser: the scenes the desktop's tests
// draw (tests/support/Scenes.cpp), shown one after another by the scene
// program, each within Tolerance a channel of the desktop's picture.
import { check, expectScreen, newPage, waitFor } from './harness.mjs';

export default async function pictures({ browser, url }) {
  const page = await newPage(browser);
  await page.goto(`${url}scenes/`);
  const started = await waitFor(page, () => typeof Module !== 'undefined' && Module.sceneNames);
  check(started, 'the scene program starts and names its scenes');
  for (const name of started ? await page.evaluate(() => Module.sceneNames) : []) {
    await page.evaluate((n) => { Module.wantedScene = n; }, name);
    await expectScreen(page, name);
  }
  await page.close();
}
