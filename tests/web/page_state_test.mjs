// The page's state, tried as a hostile user would: the address, the table, the best
// panel and the code must describe the same request after Back and Forward, the
// language switch, half-typed edits and computations overtaken by others; Ctrl+C
// wherever the focus is in the grid; the language remembered and set by the address.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { existsSync, readFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { extname, join } from 'node:path';

import {
  ClipboardText, Compute, EnterTolerance, LaunchBrowser, OpenPage, RowCount, TypeInto, WaitAnswered, WaitShown,
  WithPageIn,
} from './browser.mjs';
import { PageRows, CompanionText, kRoot, kSiteDir } from './paths.mjs';

let browser;
before(async () => { browser = await LaunchBrowser(); });
after(async () => { await browser?.close(); });

// A page of the shared browser (browser.mjs WithPageIn).
const WithPage = (options, body) => WithPageIn(browser, options, body);

// The address's query, without the folder.
function Query(page) {
  return new URL(page.url()).search;
}

// What the page shows of its listing: the count, the grid's rows, the best panel, the
// code box, the message.
async function ShownState(page) {
  return page.evaluate(() => ({
    rowCount: document.getElementById('row-count').textContent,
    gridRows: document.getElementById('results').getAttribute('aria-rowcount'),
    bestHidden: document.getElementById('best-panel').hidden,
    codeHidden: document.getElementById('code').hidden,
    messageHidden: document.getElementById('message').hidden,
    clock: document.getElementById('clock').value,
    rate: document.getElementById('rate').value,
    samplePoint: document.getElementById('sample-point').value,
    tolerance: document.getElementById('tolerance').value,
    controller: document.getElementById('controller').value,
  }));
}

const kStartState = {
  rowCount: '', gridRows: '1', bestHidden: true, codeHidden: true, messageHidden: true,
  clock: '42', rate: '500', samplePoint: '0', tolerance: '0', controller: 'bxcan',
};

async function GoBack(page, computes) {
  if (computes) await page.evaluate(() => { document.body.dataset.state = 'asked'; });
  await page.goBack();
  if (computes) await WaitShown(page);
  else await page.waitForFunction(() => new URL(location.href).search === '');
}

test('Back to the first entry, which asked for nothing, restores the start and clears the table', async () => {
  await WithPage({}, async (page) => {
    // Each way the first entry can be left: the compute button, a selector, a message
    // left showing, a code shown.
    const leaves = [
      async () => Compute(page),
      async () => EnterTolerance(page, '3'),
      async () => {
        await TypeInto(page, '#clock', '36');
        await page.evaluate(() => { document.body.dataset.state = 'asked'; });
        await page.selectOption('#controller', 'fdcan');
        await WaitShown(page);
        await page.waitForSelector('#best-panel', { state: 'visible' });
        await page.waitForFunction(() => !document.getElementById('code').hidden);
      },
      async () => {
        await TypeInto(page, '#clock', 'abc');
        await Compute(page);
        assert.equal(await page.isHidden('#message'), false);
      },
    ];
    for (const [index, leave] of leaves.entries()) {
      await leave();
      assert.notEqual(Query(page), '', `leave ${index}`);
      await GoBack(page, false);
      assert.deepEqual(await ShownState(page), kStartState, `leave ${index}`);
      // Forward again: that entry's request, computed anew.
      await page.evaluate(() => { document.body.dataset.state = 'asked'; });
      await page.goForward();
      await WaitShown(page);
      assert.notEqual(Query(page), '');
      await GoBack(page, false);
    }
  });
});

test('the address names the rows shown: a computation overtaken by an empty field writes nothing', async () => {
  await WithPage({}, async (page) => {
    await Compute(page);
    const shown = Query(page);
    assert.equal(shown, '?clock=42&rate=500&sp=0&tol=0');
    // 36 MHz asked for, then the clock emptied before its rows came: the 42 MHz rows stay,
    // and so does their address.
    await page.evaluate(() => {
      document.body.dataset.state = 'asked';
      document.getElementById('clock').value = '36';
      document.getElementById('compute').click();
      document.getElementById('clock').value = '';
      document.getElementById('compute').click();
    });
    await WaitShown(page);
    assert.equal(await page.textContent('#message'), '请输入AHB1时钟频率');
    assert.equal(await RowCount(page), 30);
    assert.equal(Query(page), shown);
    // Back from there is the page before any listing, not a 36 MHz entry never shown.
    await GoBack(page, false);
    assert.equal(Query(page), '');
  });
});

test('a new listing\'s code is its own, never the one before\'s', async () => {
  await WithPage({}, async (page) => {
    await Compute(page);
    const before = CompanionText(['--clock', '42', '--rate', '500', '--best', '--format', 'hal']);
    await page.waitForFunction((text) => document.getElementById('code').textContent === text, before);
    await TypeInto(page, '#clock', '36');
    await Compute(page);
    // From the moment the 36 MHz rows show, the 42 MHz code is gone.
    assert.notEqual(await page.textContent('#code'), before);
    const after = CompanionText(['--clock', '36', '--rate', '500', '--best', '--format', 'hal']);
    await page.waitForFunction((text) => document.getElementById('code').textContent === text, after);
  });
});

test('the language switch keeps the address of the rows shown, not the edits not yet computed', async () => {
  const cases = [
    { query: '', expected: '?clock=42&rate=500&sp=0&tol=0', language: 'en' },
    { query: '?clock=42&rate=500&sp=0&tol=0&lang=zh', expected: '?clock=42&rate=500&sp=0&tol=0&lang=en', language: 'en' },
    { query: '?lang=en&clock=36&rate=250&sp=2&tol=1', expected: '?clock=36&rate=250&sp=2&tol=1&lang=zh', language: 'zh' },
  ];
  for (const { query, expected, language } of cases) {
    await WithPage({ query }, async (page) => {
      if (query === '') await Compute(page);
      else await WaitShown(page);
      await TypeInto(page, '#clock', '8');
      await TypeInto(page, '#rate', '125');
      await page.click('#language');
      assert.equal(await page.evaluate(() => document.documentElement.lang), language === 'zh' ? 'zh-CN' : 'en');
      assert.equal(Query(page), expected, query);
      // The typed edits stay in their fields, waiting for Compute.
      assert.equal(await page.inputValue('#clock'), '8');
      assert.equal(await page.inputValue('#rate'), '125');
    });
  }
  // From the start, nothing computed: the switch writes no address at all.
  await WithPage({}, async (page) => {
    await TypeInto(page, '#clock', '8');
    await page.click('#language');
    assert.equal(Query(page), '');
  });
});

// The language: the address's lang wins over the one remembered, which wins over the
// browser's preference.
test('the language comes from the address, else the last one chosen, else the browser', async () => {
  const cases = [
    { locale: 'en-US', stored: null, query: '', expected: 'en' },
    { locale: 'zh-CN', stored: null, query: '', expected: 'zh' },
    { locale: 'en-US', stored: 'zh', query: '', expected: 'zh' },
    { locale: 'zh-CN', stored: 'en', query: '', expected: 'en' },
    { locale: 'zh-CN', stored: 'en', query: '?lang=zh', expected: 'zh' },
    { locale: 'en-US', stored: 'zh', query: '?lang=en', expected: 'en' },
    { locale: 'en-US', stored: null, query: '?lang=zh', expected: 'zh' },
    // Anything else is no language: the next source decides.
    { locale: 'en-US', stored: 'fr', query: '?lang=de', expected: 'en' },
    { locale: 'zh-CN', stored: 'en', query: '?lang=ZH', expected: 'en' },
  ];
  for (const { locale, stored, query, expected } of cases) {
    await WithPage({ locale }, async (page) => {
      if (stored !== null) {
        await page.evaluate((value) => localStorage.setItem('quillmere-language', value), stored);
        await page.goto(page.url().replace(/\?.*$/, '') + query);
        await page.waitForFunction(() => document.body.dataset.state !== undefined);
      } else if (query !== '') {
        await page.goto(page.url().replace(/\?.*$/, '') + query);
        await page.waitForFunction(() => document.body.dataset.state !== undefined);
      }
      const want = { en: ['en', 'Compute'], zh: ['zh-CN', '计算'] }[expected];
      assert.deepEqual([await page.evaluate(() => document.documentElement.lang), await page.textContent('#compute')],
        want, JSON.stringify({ locale, stored, query }));
    });
  }
  // The switch is remembered across a reload.
  await WithPage({ locale: 'en-US' }, async (page) => {
    await page.click('#language');
    assert.equal(await page.evaluate(() => localStorage.getItem('quillmere-language')), 'zh');
    await page.reload();
    await page.waitForFunction(() => document.body.dataset.state !== undefined);
    assert.equal(await page.textContent('#compute'), '计算');
    await page.click('#language');
    await page.reload();
    await page.waitForFunction(() => document.body.dataset.state !== undefined);
    assert.equal(await page.textContent('#compute'), 'Compute');
  });
});

// An entry's lang is the address's: Back to it shows its language again.
test('Back to an entry whose address names another language shows that language', async () => {
  await WithPage({ locale: 'zh-CN', query: '?clock=42&rate=500&sp=0&tol=0&lang=en' }, async (page) => {
    await WaitShown(page);
    await TypeInto(page, '#clock', '36');
    await Compute(page);
    await page.click('#language');
    assert.equal(Query(page), '?clock=36&rate=500&sp=0&tol=0&lang=zh');
    assert.equal(await page.textContent('#compute'), '计算');
    await GoBack(page, true);
    assert.equal(Query(page), '?clock=42&rate=500&sp=0&tol=0&lang=en');
    assert.equal(await page.textContent('#compute'), 'Compute');
    assert.equal(await page.evaluate(() => document.documentElement.lang), 'en');
    assert.equal(await RowCount(page), 30);
  });
});

// Ctrl+C from every element of the grid that can hold the focus: the grid, its header,
// its scrolling body; the keys move the focus cell from each Tab stop of the grid.
test('Ctrl+C copies the selected rows wherever the focus is inside the grid', async () => {
  const lines = PageRows([]);
  await WithPage({}, async (page) => {
    await Compute(page);
    await page.click('#results .grid-body [aria-rowindex="3"] [aria-colindex="2"]');
    for (const selector of ['#results', '#results .grid-body', '#results .grid-head']) {
      await page.evaluate(() => navigator.clipboard.writeText('before'));
      await page.evaluate((s) => {
        const element = document.querySelector(s);
        if (element.tabIndex < 0 && !element.hasAttribute('tabindex')) element.tabIndex = -1;
        element.focus();
      }, selector);
      await page.keyboard.press('Control+c');
      assert.equal(await ClipboardText(page), lines[1], selector);
    }
    // Tab from the compute button: the grid, then out of it.
    await page.focus('#compute');
    const stops = [];
    for (let i = 0; i < 3; ++i) {
      await page.keyboard.press('Tab');
      stops.push(await page.evaluate(() => {
        const active = document.activeElement;
        return active.id || active.className;
      }));
    }
    const inGrid = stops.filter((stop) => stop === 'results' || stop.startsWith('grid-'));
    assert.deepEqual(inGrid, ['results', 'grid-body'], stops.join(', '));
    await page.focus('#results .grid-body');
    await page.keyboard.press('ArrowDown');
    await page.keyboard.press('Control+c');
    assert.equal(await ClipboardText(page), lines[2]);
  });
});

// The cells of the grid in view whose text does not fit, as "row/column: text".
async function CutCells(page) {
  return page.$$eval('#results .grid-row:not([hidden]) .grid-cell', (cells) => cells
    .filter((cell) => cell.scrollWidth > cell.clientWidth)
    .map((cell) => `${cell.parentElement.getAttribute('aria-rowindex')}/${cell.getAttribute('aria-colindex')}: ${cell.textContent}`));
}

// At 360 px no text of the grid is cut, the grid scrolls sideways with its first
// column kept in view, and nothing else makes the page wider than the screen.
test('at 360 px every cell\'s text fits and the page is no wider than the screen', async () => {
  const listings = [
    { name: 'bxCAN preset', query: '?clock=42&rate=500&sp=0&tol=0' },
    { name: 'bxCAN 72 MHz, two-digit segments', query: '?clock=72&rate=125&sp=0&tol=10' },
    { name: 'FDCAN with a data rate', query: '?clock=80&rate=500&sp=3&tol=0&ctl=fdcan&data=2000' },
    { name: 'FDCAN alone', query: '?clock=160&rate=1000&sp=0&tol=2&ctl=fdcan' },
  ];
  for (const colorScheme of ['light', 'dark']) {
    await WithPage({ viewport: { width: 360, height: 740 }, colorScheme, query: listings[0].query }, async (page) => {
      for (const { name, query } of listings) {
        await page.evaluate(() => { document.body.dataset.state = 'asked'; });
        await page.goto(page.url().replace(/\?.*$/, '') + query);
        await WaitShown(page);
        await page.waitForSelector('#best-panel', { state: 'visible' });
        assert.ok(await RowCount(page) > 0, name);
        assert.deepEqual(await CutCells(page), [], name);
        // Scrolled to the far right: the cells there fit too, and the first column stays.
        const first = await page.$eval('#results .grid-body .grid-row:not([hidden]) .grid-cell', (cell) => cell.getBoundingClientRect().left);
        await page.$eval('#results .grid-body', (body) => { body.scrollLeft = body.scrollWidth; });
        await page.waitForTimeout(50);
        assert.deepEqual(await CutCells(page), [], `${name}, scrolled`);
        const after = await page.$eval('#results .grid-body .grid-row:not([hidden]) .grid-cell', (cell) => cell.getBoundingClientRect().left);
        assert.equal(after, first, `${name}: the first column stays in view`);
        const head = await page.$eval('#results .grid-head', (h) => h.scrollLeft);
        const body = await page.$eval('#results .grid-body', (b) => b.scrollLeft);
        assert.equal(head, body, `${name}: the header follows the rows`);
        const widths = await page.evaluate(() => [document.documentElement.scrollWidth, document.documentElement.clientWidth]);
        assert.ok(widths[0] <= widths[1], `${name}: page ${widths[0]} px wide on a ${widths[1]} px screen`);
        for (const panel of ['#best-panel', '#inputs', '#code-panel', '#decode-panel']) {
          const right = await page.$eval(panel, (p) => p.getBoundingClientRect().right);
          assert.ok(right <= 360, `${name}: ${panel} ends at ${right} px`);
        }
      }
    });
  }
});

// After each copy a polite live region says what went to the clipboard, in the page's
// language.
test('each copy is said in the polite live region #copy-note', async () => {
  const cases = [
    { locale: 'zh-CN', rows: '已复制 30 行', some: '已复制 4 行', code: '已复制代码' },
    { locale: 'en-US', rows: 'Copied 30 rows', some: 'Copied 4 rows', code: 'Copied code' },
  ];
  for (const { locale, rows, some, code } of cases) {
    await WithPage({ locale }, async (page) => {
      assert.equal(await page.getAttribute('#copy-note', 'aria-live'), 'polite');
      assert.equal(await page.textContent('#copy-note'), '');
      await Compute(page);
      const Said = (text) => page.waitForFunction((t) => document.getElementById('copy-note').textContent === t, text);
      await page.focus('#results');
      await page.keyboard.press('Control+a');
      await page.keyboard.press('Control+c');
      await Said(rows);
      await page.click('#results .grid-body [aria-rowindex="2"] [aria-colindex="1"]');
      await page.click('#results .grid-body [aria-rowindex="5"] [aria-colindex="1"]', { modifiers: ['Shift'] });
      await page.click('#copy');
      await Said(some);
      await page.click('#copy-code');
      await Said(code);
      // Nothing selected: Ctrl+C copies nothing and says nothing new.
      await page.click('#results [role=columnheader] >> nth=0');
      await page.focus('#results');
      await page.keyboard.press('Control+c');
      await page.waitForTimeout(50);
      assert.equal(await page.textContent('#copy-note'), code);
    });
  }
});

// The version in CMakeLists.txt's project(), and the commit the build read.
function BuiltVersion() {
  const version = readFileSync(`${kRoot}/CMakeLists.txt`, 'utf8').match(/project\(\s*\w+\s+VERSION\s+(\d+\.\d+\.\d+)/)[1];
  const commit = readFileSync(`${kSiteDir}/../generated/build_commit.h`, 'utf8').match(/^#define QUILLMERE_COMMIT (\S+)$/m)[1];
  return { version, commit };
}

test('the footer names the version and commit and links the help page, which names the columns', async () => {
  const { version, commit } = BuiltVersion();
  await WithPage({ locale: 'en-US' }, async (page) => {
    assert.equal(await page.textContent('#version'), `Quillmere ${version} (${commit})`);
    assert.equal(await page.textContent('#help-link'), 'Help');
    await page.click('#language');
    assert.equal(await page.textContent('#help-link'), '帮助');
    await page.click('#help-link');
    await page.waitForURL(/help\.html$/);
    assert.equal(await page.textContent('h1'), 'Quillmere: help');
    const text = await page.textContent('main');
    // Every title of the bxCAN and FDCAN grids, and the bus conditions.
    for (const title of ['BS1', 'BS2', 'Seg1', 'Seg2', '分频系数', 'Tq (ns)', '采集点', '实际波特率', '误差', 'AHB1时钟', 'CAN波特率',
      '数据波特率', 'Oscillator tolerance', 'Longest bus', 'lang=zh']) {
      assert.ok(text.includes(title), title);
    }
    await page.click('text=Back to the page');
    await page.waitForSelector('#compute');
  });
});

// PNG's width and height, from its IHDR chunk.
function PngSize(path) {
  const bytes = readFileSync(path);
  return `${bytes.readUInt32BE(16)}x${bytes.readUInt32BE(20)}`;
}

test('the site holds its help, documents, manifest and icons; from file:// no app is offered', async () => {
  const manifest = JSON.parse(readFileSync(`${kSiteDir}/manifest.webmanifest`, 'utf8'));
  assert.equal(manifest.start_url, 'index.html');
  assert.deepEqual(manifest.icons.map((icon) => [icon.src, icon.sizes]), [
    ['quillmere-192.png', '192x192'], ['quillmere-512.png', '512x512']]);
  for (const icon of manifest.icons) assert.equal(PngSize(`${kSiteDir}/${icon.src}`), icon.sizes, icon.src);
  assert.equal(readFileSync(`${kSiteDir}/README.md`, 'utf8'), readFileSync(`${kRoot}/README.md`, 'utf8'));
  assert.equal(readFileSync(`${kSiteDir}/LICENSE`, 'utf8'), readFileSync(`${kRoot}/LICENSE`, 'utf8'));
  // The worker's cache is the build's.
  const { version, commit } = BuiltVersion();
  assert.match(readFileSync(`${kSiteDir}/sw.js`, 'utf8'), new RegExp(`'quillmere-${version}-${commit}'`));
  await WithPage({}, async (page) => {
    await Compute(page);
    assert.equal(await RowCount(page), 30);
    assert.equal(await page.$('link[rel=manifest]'), null);
    assert.equal(await page.evaluate(() => navigator.serviceWorker?.controller ?? null), null);
  });
});

const kTypes = {
  '.html': 'text/html; charset=utf-8', '.css': 'text/css', '.js': 'text/javascript', '.ico': 'image/x-icon',
  '.png': 'image/png', '.webmanifest': 'application/manifest+json', '.md': 'text/markdown; charset=utf-8',
};

// The site's folder over http on a free port of 127.0.0.1; requests counts what reached it.
async function ServeSite() {
  const requests = [];
  const server = createServer((request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    requests.push(path);
    const file = join(kSiteDir, path === '/' ? 'index.html' : path.slice(1));
    if (!file.startsWith(kSiteDir) || !existsSync(file)) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': kTypes[extname(file)] ?? 'application/octet-stream' });
    response.end(readFileSync(file));
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return { server, requests, origin: `http://127.0.0.1:${server.address().port}` };
}

test('over http the page installs its service worker and then works offline', async () => {
  const { server, requests, origin } = await ServeSite();
  const context = await browser.newContext({ locale: 'zh-CN' });
  await context.grantPermissions(['clipboard-read', 'clipboard-write']);
  const problems = [];
  try {
    const page = await context.newPage();
    page.on('pageerror', (error) => problems.push(error.message));
    page.on('console', (message) => { if (message.type() === 'error') problems.push(message.text()); });
    await page.goto(`${origin}/index.html?clock=42&rate=500&sp=0&tol=0`);
    await WaitShown(page);
    assert.equal(await RowCount(page), 30);
    assert.equal(await page.getAttribute('link[rel=manifest]', 'href'), 'manifest.webmanifest');
    await page.evaluate(() => navigator.serviceWorker.ready);
    await page.reload();
    await WaitShown(page);
    assert.equal(await page.evaluate(() => navigator.serviceWorker.controller?.scriptURL), `${origin}/sw.js`);
    // Offline: the page, its help and another request come from the worker's cache.
    await context.setOffline(true);
    const served = requests.length;
    await page.goto(`${origin}/index.html?clock=36&rate=500&sp=4&tol=0`);
    await WaitShown(page);
    assert.equal(await RowCount(page), PageRows(['--clock', '36', '--sample-point', '80']).length);
    await page.focus('#results');
    await page.keyboard.press('Control+a');
    await page.keyboard.press('Control+c');
    assert.equal(await ClipboardText(page), PageRows(['--clock', '36', '--sample-point', '80']).join('\r\n'));
    await page.click('#help-link');
    await page.waitForURL(/help\.html$/);
    assert.equal(await page.textContent('h1'), 'Quillmere: help');
    assert.equal(requests.length, served, `offline, the server saw ${requests.slice(served).join(', ')}`);
    assert.deepEqual(problems, []);
  } finally {
    await context.close();
    server.close();
  }
});

// The answers that once showed beside another question, each in the steps that showed it.
test('a failed or moved request leaves no answer to another question beside it', async () => {
  // A data rate no setting meets: the 5000 Kbps best and code go, none is relabelled.
  await WithPage({ locale: 'en-US', query: '?clock=170&rate=500&sp=0&tol=0&ctl=fdcan&data=5000' }, async (page) => {
    await WaitAnswered(page);
    assert.equal(await page.isVisible('#code'), true);
    await TypeInto(page, '#data-rate', '8000');
    await page.keyboard.press('Enter');
    await WaitAnswered(page);
    assert.equal(await page.textContent('#best'), 'No setting meets the request');
    assert.equal(await page.isVisible('#code'), false);
  });
  // A decode at a clock typed since the listing: the listing follows it.
  await WithPage({ locale: 'en-US', query: '?clock=36&rate=500&sp=0&tol=0&ctl=mcp2515' }, async (page) => {
    await WaitAnswered(page);
    await TypeInto(page, '#clock', '8');
    await TypeInto(page, '#decode-value', 'CNF1=0x00,CNF2=0x90,CNF3=0x02');
    await page.click('#decode');
    await WaitAnswered(page);
    assert.equal(Query(page), '?clock=8&rate=500&sp=0&tol=0&ctl=mcp2515');
    assert.equal(await page.getAttribute('#decode-output', 'data-clock'), '8');
    assert.equal(await RowCount(page), PageRows(['--controller', 'mcp2515', '--clock', '8', '--rate', '500']).length);
    // Another clock computed: the 8 MHz decode goes with its listing.
    await TypeInto(page, '#clock', '16');
    await page.keyboard.press('Enter');
    await WaitAnswered(page);
    assert.equal(await page.isVisible('#decode-output'), false);
  });
});

// The module's lines quote the companion's options; the page says its fields instead.
test('messages name the page\'s fields, never a companion option', async () => {
  const cases = [
    { locale: 'en-US', decode: 'cnf4=0x00,CNF2=0x90,CNF3=0x02', starts: '"Register": ' },
    { locale: 'zh-CN', decode: 'cnf4=0x00,CNF2=0x90,CNF3=0x02', starts: '“寄存器”: ' },
    { locale: 'en-US', decode: 'CNF1=0x00,CNF1=0x01,CNF3=0x02', starts: '"Register" gives CNF1 twice' },
  ];
  for (const { locale, decode, starts } of cases) {
    await WithPage({ locale, query: '?clock=16&rate=500&sp=0&tol=0&ctl=mcp2515' }, async (page) => {
      await WaitAnswered(page);
      await TypeInto(page, '#decode-value', decode);
      await page.click('#decode');
      await WaitAnswered(page);
      const message = await page.textContent('#decode-message');
      assert.ok(message.startsWith(starts), message);
      assert.doesNotMatch(message, /--/);
    });
  }
});

// PEAK's FD controller at 5 Kbps with a 50% rate error and a 100 Kbps data phase: over
// three million rows, a listing of seconds in a page (its time is measured and
// reported, never held to a figure). The rate error typed to 0 afterwards asks for a
// listing of a few rows.
const kHeavyListing = '?clock=80&rate=5&sp=0&tol=50&ctl=peak-canfd&data=100';

// The listing's answers on screen: the row count, the first row, the best, the code.
async function ListingShown(page) {
  return page.evaluate(() => {
    const text = (id) => (document.getElementById(id).closest('[hidden]') ? null : document.getElementById(id).textContent);
    return {
      rows: text('row-count'), first: document.querySelector('#results .grid-body [aria-rowindex="2"]')?.textContent ?? null,
      best: text('best'), code: text('code'),
    };
  });
}

// Every worker the page makes is counted from its start, and every row count it shows
// is kept, so that a heavy listing's count shown for a moment is seen.
const kWatchScript = () => {
  const PageWorker = window.Worker;
  window.workersMade = 0;
  window.Worker = class extends PageWorker {
    constructor(...args) { super(...args); window.workersMade += 1; }
  };
  window.rowCountsShown = [];
  document.addEventListener('DOMContentLoaded', () => {
    const count = document.getElementById('row-count');
    new MutationObserver(() => window.rowCountsShown.push(count.textContent))
      .observe(count, { childList: true, characterData: true, subtree: true });
  });
};

// A listing, or the best after its rows, still being made when a field changes gives
// way: the page shows the new request's answers as a fresh load of its address does,
// never the old one's. Whether the old one was still running is looked at, not timed:
// where a machine finished it first, nothing was left to replace, and the test says so.
test('a heavy listing or best gives way: a field changed meanwhile shows only the new answers', async (t) => {
  let heavyMs = 0;
  let heavyCount = '';
  await WithPage({ locale: 'en-US', query: kHeavyListing }, async (page) => {
    await WaitAnswered(page);
    heavyMs = await page.evaluate(() => performance.getEntriesByName('quillmere-compute').at(-1).duration);
    heavyCount = await page.textContent('#row-count');
    assert.match(heavyCount, /^Rows: \d{7}/);
  });
  t.diagnostic(`the heavy listing alone ${Math.round(heavyMs)} ms (${heavyCount})`);
  // Each case's old request, still being made: the listing before its rows show, its
  // best after them.
  for (const name of ['the listing', 'its best']) {
    await WithPage({ locale: 'en-US', query: kHeavyListing, initScript: kWatchScript }, async (page) => {
      // Typed while the heavy listing is made (typing alone asks for nothing), so that
      // Enter follows the moment looked for at once.
      await page.waitForFunction(() => document.body.dataset.state === 'computing', null, { timeout: 60000 });
      await TypeInto(page, '#tolerance', '0');
      // Whether the old request is still unanswered as Enter comes: seen in the page, at
      // the key, before the new requests are asked.
      await page.evaluate((which) => {
        window.oldBusy = () => (which === 'the listing' ? document.body.dataset.state === 'computing'
          : document.body.dataset.state === 'shown' && document.body.dataset.pending !== '0');
        document.addEventListener('keydown', () => {
          window.busyAtEnter ??= window.oldBusy();
          document.body.dataset.state = 'asked';
        }, true);
      }, name);
      await page.waitForFunction(() => window.oldBusy(), null, { timeout: 60000 });
      await page.press('#tolerance', 'Enter');
      await WaitShown(page);
      await WaitAnswered(page);
      const running = await page.evaluate(() => window.busyAtEnter);
      const made = await page.evaluate(() => window.workersMade);
      if (running) assert.ok(made >= 2, `${name}: ${made} worker(s) made: the busy one was not replaced`);
      else t.diagnostic(`${name} was done before the field changed: no worker to replace`);
      const query = Query(page);
      assert.equal(query, '?clock=80&rate=5&sp=0&tol=0&ctl=peak-canfd&data=100', name);
      const shown = await ListingShown(page);
      // The listing asked for first shows only where its best was the one replaced.
      const counts = await page.evaluate(() => window.rowCountsShown);
      if (name === 'the listing') assert.ok(!counts.includes(heavyCount), `${name}: ${counts.join(', ')}`);
      const { context, page: fresh } = await OpenPage(browser, { locale: 'en-US', query });
      try {
        await WaitAnswered(fresh);
        assert.deepEqual(shown, await ListingShown(fresh), name);
      } finally {
        await context.close();
      }
      assert.notEqual(shown.rows, heavyCount, name);
      assert.doesNotMatch(await page.evaluate(() => document.body.innerText), /RuntimeError|Aborted\(|ASSERTIONS/, name);
    });
  }
});
