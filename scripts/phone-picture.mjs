// Photographs the page as a phone shows it, upright at 390 x 844 CSS pixels
// and three device pixels to one: a level on Easy with balls falling, begun
// by taps. scripts/make-screenshots.sh runs it on the built page.
//   node scripts/phone-picture.mjs SITE_DIR PICTURE
import { launch, newPage, open, serve, tap, watch } from '../tests/web/harness.mjs';
import { MenuX, MenuY } from '../tests/web/desktop.mjs';
import { Phone } from '../tests/web/touch.mjs';

const BallsToShow = 3;

const [siteDir, picture] = process.argv.slice(2);
const server = await serve(siteDir, siteDir);
const chromium = await launch();
try {
  const page = await newPage(chromium.browser);
  await page.setViewport(Phone);
  await open(page, `http://127.0.0.1:${server.address().port}/`);
  await tap(page, MenuX, MenuY.newGame);
  await tap(page, MenuX, MenuY.easy);
  let shown = 0;
  while (shown < BallsToShow) {
    const { balls } = await watch(page, 'balls');
    shown = balls.filter((ball) => ball.whole).length;
  }
  await page.screenshot({ path: picture });
} finally {
  await chromium.close();
  server.close();
}
