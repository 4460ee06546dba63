// The page in Debian's headless Chromium, driven by playwright-core (nothing is
// downloaded: the browser is the system's). Every page opened here records its console
// errors, uncaught exceptions and every request that leaves the site's folder.
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
export async function OpenPage(browser, { locale = 'zh-CN', query = '', viewport, colorScheme } = {}) {
  const context = await browser.newContext({ locale, viewport: viewport ?? { width: 1100, height: 800 }, colorScheme });
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
