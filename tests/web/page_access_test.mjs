// The page's accessibility as axe-core (pinned in package-lock.json) checks it, in its
// main states: no violation of serious or critical impact. axe goes in through the
// browser's debugging channel, which the page's Content-Security-Policy does not stop.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';

import { Compute, LaunchBrowser, OpenPage, WaitShown } from './browser.mjs';

const kAxeSource = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

let browser;
before(async () => { browser = await LaunchBrowser(); });
after(async () => { await browser?.close(); });

// The serious and critical violations on the page as it is, one line each.
async function SeriousViolations(page) {
  await page.evaluate(kAxeSource);
  const violations = await page.evaluate(async () => {
    const result = await window.axe.run(document, { resultTypes: ['violations'], preload: false });
    return result.violations.map((v) => ({ id: v.id, impact: v.impact, nodes: v.nodes.map((n) => n.target.join(' ')) }));
  });
  return violations.filter((v) => v.impact === 'serious' || v.impact === 'critical')
    .map((v) => `${v.impact} ${v.id}: ${v.nodes.slice(0, 5).join(', ')}`);
}

const kThreeNodes = encodeURIComponent('a=bxcan@42;b=mcp2515@16;c=sja1000@16');

const kStates = [
  { name: 'empty', options: {} },
  { name: 'empty, English', options: { locale: 'en-US' } },
  { name: 'a bxCAN listing, a row selected', options: {}, compute: true, select: true },
  { name: 'an FDCAN listing with a data rate', options: { query: '?clock=80&rate=500&sp=3&tol=0&ctl=fdcan&data=2000' } },
  { name: 'dark', options: { colorScheme: 'dark', query: '?clock=42&rate=500&sp=0&tol=0' } },
  { name: '360 px, dark', options: { colorScheme: 'dark', viewport: { width: 360, height: 740 },
    query: '?clock=80&rate=500&sp=3&tol=0&ctl=fdcan&data=2000' } },
  { name: 'a field\'s message', options: { query: '?clock=abc&rate=500&sp=0&tol=0' } },
  { name: 'the rate error\'s message', options: { query: '?clock=42&rate=500&sp=0&tol=0.125' } },
  { name: 'a best that misses its target, with its note', options: { query: '?clock=42&rate=500&sp=0&tol=0&bt=87.5' } },
  { name: 'a plan of three nodes', options: { query: `?clock=42&rate=500&sp=0&tol=1&nodes=${kThreeNodes}` }, plan: true },
  { name: '360 px with a plan', options: { viewport: { width: 360, height: 740 },
    query: `?clock=42&rate=500&sp=0&tol=1&nodes=${kThreeNodes}` }, plan: true },
  { name: 'a decode shown', options: { query: '?clock=42&rate=500&sp=0&tol=0' },
    decode: '0x00000001' },
  { name: 'an FD pair and its code', options: { query: '?clock=80&rate=500&sp=3&tol=0&ctl=fdcan&data=2000' },
    pair: true },
  { name: 'an mcp2515 listing (its registers column)', options: { query: '?clock=16&rate=125&sp=0&tol=1&ctl=mcp2515' } },
  { name: 'the help page', options: {}, help: true },
  { name: 'the help page, dark', options: { colorScheme: 'dark' }, help: true },
];

for (const state of kStates) {
  test(`axe: no serious or critical violation: ${state.name}`, async () => {
    const { context, page, problems } = await OpenPage(browser, state.options);
    try {
      if (state.options.query) await WaitShown(page);
      if (state.compute) await Compute(page);
      if (state.select) await page.click('#results .grid-body [aria-rowindex="3"] [aria-colindex="2"]');
      if (state.query || state.compute) await page.waitForSelector('#best-panel', { state: 'visible' });
      if (state.plan) {
        await page.waitForFunction(() => document.body.dataset.planState === 'shown', null, { timeout: 60000 });
      }
      if (state.decode) {
        await page.fill('#decode-value', state.decode);
        await page.click('#decode');
        await page.waitForSelector('#decode-output', { state: 'visible' });
      }
      if (state.pair) {
        // The first nominal row and the first data row make the pair the code shows.
        await page.click('#results .grid-body [aria-rowindex="2"] [aria-colindex="2"]');
        const dataRow = await page.$$eval('#results .grid-body .grid-row:not([hidden])',
          (rows) => rows.find((row) => row.firstChild.textContent === 'data')?.getAttribute('aria-rowindex'));
        if (dataRow) await page.click(`#results .grid-body [aria-rowindex="${dataRow}"] [aria-colindex="2"]`);
        await page.waitForFunction(() => /DataPrescaler/.test(document.getElementById('code').textContent));
      }
      if (state.help) {
        await page.click('#help-link');
        await page.waitForURL(/help\.html$/);
      }
      assert.deepEqual(await SeriousViolations(page), []);
      assert.deepEqual(problems, []);
    } finally {
      await context.close();
    }
  });
}
