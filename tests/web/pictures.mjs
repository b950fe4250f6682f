// Every reference picture drawn in the browser: the scenes the desktop's tests
// draw (tests/support/Scenes.cpp), shown one after another by the scene
// program: texts exactly, the field (lit on the GPU) within Tolerance.
import { check, expectScreen, newPage, Tolerance, waitFor } from './harness.mjs';

// The program shows a scene from the frame after it is named: a picture that
// does not match within this is wrong, not late.
const SceneMs = 5000;

export default async function pictures({ browser, url }) {
  const page = await newPage(browser);
  await page.goto(`${url}scenes/`);
  const started = await waitFor(page, () => typeof Module !== 'undefined' && Module.sceneNames);
  check(started, 'the scene program starts and names its scenes');
  for (const name of started ? await page.evaluate(() => Module.sceneNames) : []) {
    await page.evaluate((n) => { Module.wantedScene = n; }, name);
    await expectScreen(page, name, name === 'world' ? Tolerance : 0, SceneMs);
  }
  await page.close();
}
