// Takes the README's picture of the web page: build/web/site/index.html opened from the
// file system in Debian's headless Chromium, the preset inputs computed with a bus plan
// of three nodes (from the address), one row selected with its bit drawn. Writes
// docs/web-page.png (or the path given).
//   node scripts/screenshot-web.mjs [out.png]
import { chromium } from 'playwright-core';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { resolve } from 'node:path';

const root = resolve(fileURLToPath(new URL('..', import.meta.url)));
const site = process.env.QUILLMERE_SITE ?? `${root}/build/web/site`;
const out = process.argv[2] ?? `${root}/docs/web-page.png`;

const browser = await chromium.launch({ executablePath: process.env.QUILLMERE_CHROMIUM ?? '/usr/bin/chromium-headless-shell' });
try {
  const page = await browser.newPage({ locale: 'zh-CN', viewport: { width: 960, height: 640 }, colorScheme: 'light' });
  const nodes = encodeURIComponent('a=bxcan@42;b=mcp2515@16;c=sja1000@16');
  await page.goto(`${pathToFileURL(`${site}/index.html`).href}?clock=42&rate=500&sp=0&tol=1&nodes=${nodes}`);
  await page.waitForFunction(() => document.body.dataset.state === 'shown');
  await page.waitForFunction(() => document.body.dataset.planState === 'shown');
  await page.waitForFunction(() => document.getElementById('plan-code').textContent !== '');
  await page.click('#results .grid-body [aria-rowindex="4"] [aria-colindex="1"]');
  await page.waitForFunction(() => document.querySelector('#bit-picture svg') !== null);
  await page.mouse.move(0, 0);
  await page.evaluate(() => document.activeElement.blur());
  // The page down to the plan's end: the form, the rows, the selected row's bit, and the
  // plan with its table, margin, picture and code.
  const box = await page.locator('#plan').boundingBox();
  await page.screenshot({ path: out, fullPage: true, clip: { x: 0, y: 0, width: 960, height: Math.ceil(box.y + box.height + 12) } });
  console.log(out);
} finally {
  await browser.close();
}
