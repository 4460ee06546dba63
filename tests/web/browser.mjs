// The page in Debian's headless Chromium, driven by playwright-core (nothing is
// downloaded: the browser is the system's). Every page opened here records its console
// errors, uncaught exceptions and every request that leaves the site's folder.
import assert from 'node:assert/strict';
import { chromium } from 'playwright-core';
import { pathToFileURL } from 'node:url';

import { kSiteDir } from './paths.mjs';

export const kChromium = process.env.QUILLMERE_CHROMIUM ?? '/usr/bin/chromium-headless-shell';
export const kPageUrl = pathToFileURL(`${kSiteDir}/index.html`).href;
const kSiteUrl = pathToFileURL(`${kSiteDir}/`).href;

export async function LaunchBrowser() {
  return chromium.launch({ executablePath: kChromium });
}

// A new context and page with clipboard access; problems collects what must not happen.
export async function OpenPage(browser, { locale = 'zh-CN', query = '', viewport, colorScheme, initScript } = {}) {
  const context = await browser.newContext({ locale, viewport: viewport ?? { width: 1100, height: 800 }, colorScheme });
  // A script run before the page's own (a test's counters).
  if (initScript) await context.addInitScript(initScript);
  await context.grantPermissions(['clipboard-read', 'clipboard-write']);
  const page = await context.newPage();
  const problems = [];
  page.on('console', (message) => {
    if (message.type() === 'error' || message.type() === 'warning') problems.push(`console ${message.type()}: ${message.text()}`);
  });
  page.on('pageerror', (error) => problems.push(`page error: ${error.message}`));
  context.on('request', (request) => {
    const url = request.url();
    if (!(url.startsWith(kSiteUrl) || url.startsWith('blob:') || url.startsWith('data:'))) problems.push(`request: ${url}`);
  });
  await page.goto(kPageUrl + query);
  await page.waitForFunction(() => document.body.dataset.state !== undefined);
  return { context, page, problems };
}

// Waits until the page has shown the answer to the computation it was asked for.
export async function WaitShown(page) {
  await page.waitForFunction(() => document.body.dataset.state === 'shown', null, { timeout: 60000 });
}

// Waits until every answer the page asked for has come and has been painted.
export async function WaitAnswered(page) {
  await page.waitForFunction(() => document.body.dataset.pending === '0' &&
    document.body.dataset.state !== 'computing', null, { timeout: 60000 }).catch(async (error) => {
    const { pending, state } = await page.evaluate(() => ({ ...document.body.dataset }));
    throw new Error(`not settled: pending ${pending}, state ${state}: ${error.message}`);
  });
  await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0))));
  await page.waitForFunction(() => document.body.dataset.pending === '0', null, { timeout: 60000 });
}

// The clipboard's text as the page's user would paste it.
export async function ClipboardText(page) {
  return page.evaluate(() => navigator.clipboard.readText());
}

// Clicks the compute button and waits for its answer.
export async function Compute(page) {
  await page.evaluate(() => { document.body.dataset.state = 'asked'; });
  await page.click('#compute');
  await WaitShown(page);
}

export async function RowCount(page) {
  const text = await page.textContent('#row-count');
  const match = text.match(/\d+/);
  return match ? Number(match[0]) : null;
}

// Opens a page in browser, runs body(page, context), then checks that nothing went
// wrong on the way; the context closes whatever happened.
export async function WithPageIn(browser, options, body) {
  const { context, page, problems } = await OpenPage(browser, options);
  try {
    await body(page, context);
    assert.deepEqual(problems, [], 'no console error, page error or request outside the folder');
  } finally {
    await context.close();
  }
}

// Types into a field as a person does: select what is there, then type over it.
export async function TypeInto(page, selector, text) {
  await page.click(selector, { clickCount: 3 });
  await page.keyboard.press('Control+a');
  await page.keyboard.press('Delete');
  if (text !== '') await page.keyboard.type(text);
}

// Types a rate error and presses Enter in it, as a person does, and waits for the
// listing it asks for.
export async function EnterTolerance(page, text) {
  await TypeInto(page, '#tolerance', text);
  await page.evaluate(() => { document.body.dataset.state = 'asked'; });
  await page.press('#tolerance', 'Enter');
  await WaitShown(page);
}

// Adds the nodes as a person does: Add node, then the name, the controller and the clock.
export async function AddNodes(page, nodes) {
  await page.waitForFunction(() => document.querySelector('#plan') && !document.querySelector('#plan').hidden);
  for (const [name, controller, clock] of nodes) {
    await page.click('#add-node');
    const row = '#plan-nodes .plan-node:last-child';
    await page.waitForFunction((r) => document.querySelector(`${r} .plan-node-controller`).options.length > 20, row);
    await page.fill(`${row} .plan-node-name`, name);
    await page.selectOption(`${row} .plan-node-controller`, controller);
    await page.fill(`${row} .plan-node-clock`, clock);
  }
}
