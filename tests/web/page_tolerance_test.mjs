// The rate error as any percent the companion's --tolerance takes (the window's whole
// percents still offered, old links still meaning what they meant), and the best
// setting's target sample point, in headless Chromium, compared with the companion.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';

import { Compute, EnterTolerance, LaunchBrowser, RowCount, TypeInto, WaitShown, WithPageIn } from './browser.mjs';
import { CompanionText, kCompanion, PageRows } from './paths.mjs';
import { PageWords } from '../../web/i18n.js';

let browser;
before(async () => { browser = await LaunchBrowser(); });
after(async () => { await browser?.close(); });

const WithPage = (options, body) => WithPageIn(browser, options, body);

// The rows of the best panel, as tsv lines.
function BestRows(page) {
  return page.$$eval('#best tr', (rows) => rows.slice(1).map((r) => [...r.cells].map((c) => c.textContent).join('\t')));
}

// The grid's rows as tsv lines, every one (the grid draws only those in view); none
// copied from an empty grid (the clipboard keeps what it had).
async function GridRows(page) {
  if ((await RowCount(page) ?? 0) === 0) return [];
  await page.focus('#results');
  await page.keyboard.press('Control+a');
  await page.keyboard.press('Control+c');
  const text = await page.evaluate(() => navigator.clipboard.readText());
  return text === '' ? [] : text.split('\r\n');
}

function Query(page) {
  return new URL(page.url()).search;
}

// gs-usb at 32.967 MHz and 33.3 Kbps, at 50% or more: exactly 33.3 Kbps is out of
// reach, so each rate error lists more than the last, and 0% lists nothing at all.
const kGsUsb = ['--controller', 'gs-usb', '--clock', '32.967', '--rate', '33.3', '--sample-point', '50'];

test('a decimal rate error lists the companion\'s rows and best for the same --tolerance', async () => {
  const cases = [
    { typed: '0.5', tolerance: '0.5', rows: 99 },
    { typed: '1', tolerance: '1', rows: 163 },
    { typed: '0.99 %', tolerance: '0.99', rows: 143 },
    { typed: '2', tolerance: '2', rows: 360 },
    { typed: '', tolerance: '0', rows: 0 },
    { typed: '0', tolerance: '0', rows: 0 },
  ];
  await WithPage({ locale: 'en-US', query: '?clock=32.967&rate=33.3&sp=1&tol=1&ctl=gs-usb' }, async (page) => {
    await WaitShown(page);
    for (const { typed, tolerance, rows } of cases) {
      await EnterTolerance(page, typed);
      const args = [...kGsUsb, '--tolerance', tolerance];
      const expected = PageRows(args);
      assert.equal(expected.length, rows, typed);
      assert.equal(await RowCount(page), rows, typed);
      if (rows > 0) assert.deepEqual(await GridRows(page), expected, typed);
      await page.waitForSelector('#best-panel', { state: 'visible' });
      if (rows === 0) {
        await page.waitForFunction(() => document.querySelector('#best p')?.textContent === 'No setting meets the request');
        continue;
      }
      await page.waitForFunction(() => document.querySelectorAll('#best tr').length > 1);
      assert.deepEqual(await BestRows(page), PageRows([...args, '--best']), typed);
      // The address keeps the rate error as typed, its unit cut by no one but the reader.
      assert.equal(new URLSearchParams(Query(page)).get('tol'), typed, typed);
    }
  });
});

test('the address: an old tol=3 is 3%, a new tol=0.25 is 0.25%, bt= the best\'s target', async () => {
  const cases = [
    { query: '?clock=42&rate=83.333&sp=0&tol=3', field: '3', args: ['--tolerance', '3'] },
    { query: '?clock=42&rate=83.333&sp=0&tol=0.25', field: '0.25', args: ['--tolerance', '0.25'] },
    { query: '?clock=42&rate=500&sp=0', field: '0', args: [] },
    { query: '?clock=42&rate=500&sp=0&tol=0&bt=75', field: '0', target: '75', args: ['--target-sample-point', '75'] },
  ];
  for (const { query, field, target = '', args } of cases) {
    await WithPage({ query }, async (page) => {
      await WaitShown(page);
      assert.equal(await page.inputValue('#tolerance'), field, query);
      assert.equal(await page.inputValue('#best-target'), target, query);
      const params = new URLSearchParams(query);
      const companion = ['--clock', '42', '--rate', params.get('rate'), ...args.filter((a, i) =>
        !(a === '--target-sample-point' || args[i - 1] === '--target-sample-point'))];
      assert.deepEqual(await GridRows(page), PageRows(companion), query);
      await page.waitForFunction(() => document.querySelectorAll('#best tr').length > 1);
      assert.deepEqual(await BestRows(page), PageRows(['--clock', '42', '--rate', params.get('rate'), ...args, '--best']),
        query);
    });
  }
  // Typed, then Compute: the address says it, and a fresh load of that address shows
  // the same fields and rows.
  await WithPage({}, async (page) => {
    await TypeInto(page, '#rate', '83.333');
    await TypeInto(page, '#tolerance', '0.25');
    await TypeInto(page, '#best-target', '80');
    await Compute(page);
    assert.equal(Query(page), '?clock=42&rate=83.333&sp=0&tol=0.25&bt=80');
    const shown = await GridRows(page);
    await page.evaluate(() => { document.body.dataset.state = 'asked'; });
    await page.reload();
    await WaitShown(page);
    assert.equal(await page.inputValue('#tolerance'), '0.25');
    assert.equal(await page.inputValue('#best-target'), '80');
    assert.deepEqual(await GridRows(page), shown);
  });
});

test('a rate error or target that is no value is refused beside its field, in the page\'s words', async () => {
  const cases = [
    { id: 'tolerance', typed: '0.125', zh: '误差应为 0 到 100 的百分数，最多两位小数',
      en: 'The rate error is a percent from 0 to 100, at most two decimals' },
    { id: 'tolerance', typed: '101', zh: '误差应为 0 到 100 的百分数，最多两位小数',
      en: 'The rate error is a percent from 0 to 100, at most two decimals' },
    { id: 'best-target', typed: '49.9', zh: '目标采集点应为 50 到 100 的百分数，最多六位小数',
      en: 'The target sample point is a percent from 50 to 100, at most six decimals' },
    { id: 'best-target', typed: 'abc', zh: '目标采集点应为 50 到 100 的百分数，最多六位小数',
      en: 'The target sample point is a percent from 50 to 100, at most six decimals' },
  ];
  for (const { id, typed, zh, en } of cases) {
    await WithPage({ locale: 'zh-CN' }, async (page) => {
      await TypeInto(page, `#${id}`, typed);
      await Compute(page);
      assert.equal(await page.textContent('#message'), zh, typed);
      assert.equal(await page.evaluate(() => document.getElementById('message').parentElement.querySelector('input').id),
        id, typed);
      assert.equal(await page.getAttribute(`#${id}`, 'aria-invalid'), 'true', typed);
      assert.equal(await page.evaluate(() => document.activeElement.id), id, typed);
      // Refused: no rows shown.
      assert.equal(await page.getAttribute('#results', 'aria-rowcount'), '1', typed);
      await page.click('#language');
      assert.equal(await page.textContent('#message'), en, typed);
      assert.doesNotMatch(await page.innerText('body'), /--tolerance|--target-sample-point/, typed);
    });
  }
});

test('the target moves the best, its mark and its code; a target missed says the nearest', async () => {
  const args = ['--clock', '42', '--rate', '500'];
  await WithPage({ locale: 'en-US' }, async (page) => {
    await Compute(page);
    await page.waitForFunction(() => document.querySelectorAll('#best tr').length > 1);
    const advised = PageRows([...args, '--best']);
    assert.deepEqual(await BestRows(page), advised);
    assert.equal(await page.isHidden('#best-notes'), true);
    const cases = [
      { target: '75', note: null },
      { target: '87.5', note: 'The target sample point 87.5% cannot be met exactly: among the settings with the ' +
        'smallest error the nearest is 85.7%',
      zh: '目标采集点 87.5% 无法正好达到：误差最小的设置中最接近的是 85.7%' },
      { target: '', note: null },
    ];
    for (const { target, note, zh } of cases) {
      await TypeInto(page, '#best-target', target);
      await Compute(page);
      const steered = target === '' ? [...args] : [...args, '--target-sample-point', target];
      const best = PageRows([...steered, '--best']);
      await page.waitForFunction((line) => document.querySelector('#best tr + tr')?.textContent.replace(/\s/g, '') ===
        line.replace(/\s/g, ''), best[0]);
      assert.deepEqual(await BestRows(page), best, target);
      // Marked ★ in the grid: the row of the listing that is the best.
      const listed = PageRows(args);
      const marked = await page.$$eval('#results .grid-row.best', (rows) => rows.map((r) => r.getAttribute('aria-rowindex')));
      const index = listed.indexOf(best[0]);
      if (index < 15) assert.deepEqual(marked, [String(index + 2)], target);
      // The code for the best, nothing selected: the companion's --best in that form.
      const form = await page.inputValue('#code-form');
      const code = CompanionText([...steered, '--best', '--format', form]);
      await page.waitForFunction((text) => document.getElementById('code').textContent === text, code);
      if (note === null) {
        assert.equal(await page.isHidden('#best-notes'), true, target);
        continue;
      }
      assert.equal(await page.textContent('#best-notes'), note);
      // The companion says the same on standard error.
      const said = spawnSync(kCompanion, [...steered, '--best'], { encoding: 'utf8' }).stderr;
      assert.match(said, /the sample point nearest --target-sample-point 87\.5 among the settings with the smallest error is 85\.7%/);
      await page.click('#language');
      assert.equal(await page.textContent('#best-notes'), zh);
      await page.click('#language');
    }
    assert.deepEqual(await BestRows(page), advised);
  });
});

// The best's data target: an FD controller's field beside its data SJW, dbt= in the
// address; the best and its code are the companion's --best --data-target-sample-point
// for the same request, the listing's rows stay every setting; a bxCAN form has no such
// field (nor takes one from the address).
test('the best\'s data target: the companion\'s best and code, in the address, an FD controller\'s field only', async () => {
  const args = ['--controller', 'fdcan', '--clock', '80', '--rate', '500', '--data-rate', '2000'];
  const aimed = [...args, '--data-target-sample-point', '60'];
  const best = PageRows([...aimed, '--best']);
  assert.notDeepEqual(best, PageRows([...args, '--best']), 'the target moves the best');
  const query = '?clock=80&rate=500&sp=0&tol=0&ctl=fdcan&data=2000';
  await WithPage({ locale: 'en-US', query }, async (page) => {
    await WaitShown(page);
    assert.equal(await page.isVisible('#best-data-target'), true);
    assert.equal(await page.textContent('label[for=best-data-target]'), "Best's data target sample point:");
    await TypeInto(page, '#best-data-target', '60');
    await Compute(page);
    assert.equal(Query(page), `${query}&dbt=60`);
    await page.waitForFunction((line) => document.querySelector('#best tr + tr + tr')?.textContent.replace(/\s/g, '') ===
      line.replace(/\s/g, ''), best[1]);
    assert.deepEqual(await BestRows(page), best);
    assert.deepEqual(await GridRows(page), PageRows(args));
    const form = await page.inputValue('#code-form');
    const code = CompanionText([...aimed, '--best', '--format', form]);
    await page.waitForFunction((text) => document.getElementById('code').textContent === text, code);
    // A fresh load of the address: the field and the best again.
    await page.evaluate(() => { document.body.dataset.state = 'asked'; });
    await page.reload();
    await WaitShown(page);
    assert.equal(await page.inputValue('#best-data-target'), '60');
    await page.waitForFunction(() => document.querySelectorAll('#best tr').length > 2);
    assert.deepEqual(await BestRows(page), best);
    await page.click('#language');
    assert.equal(await page.textContent('label[for=best-data-target]'), '最佳设置数据段目标采集点：');
  });
  await WithPage({ locale: 'en-US', query: '?clock=42&rate=500&sp=0&tol=0&dbt=60' }, async (page) => {
    await WaitShown(page);
    assert.equal(await page.isVisible('#best-data-target'), false);
    assert.equal(Query(page), '?clock=42&rate=500&sp=0&tol=0');
    await page.waitForFunction(() => document.querySelectorAll('#best tr').length > 1);
    assert.deepEqual(await BestRows(page), PageRows(['--clock', '42', '--rate', '500', '--best']));
  });
});

test('a data target the companion refuses: beside its field, in the page\'s words', async () => {
  const query = '?clock=80&rate=500&sp=0&tol=0&ctl=fdcan&data=2000';
  const cases = [
    { typed: '49', data: '2000', zh: '数据段目标采集点应为 50 到 100 的百分数，最多六位小数',
      en: 'The data target sample point is a percent from 50 to 100, at most six decimals' },
    { typed: '100.5', data: '2000', zh: '数据段目标采集点应为 50 到 100 的百分数，最多六位小数',
      en: 'The data target sample point is a percent from 50 to 100, at most six decimals' },
    // Without a data rate, the companion's line, its options named by the page's fields.
    { typed: '70', data: '', zh: '“数据段目标采集点” needs “数据波特率”',
      en: '"Data target sample point" needs "Data bit rate"' },
  ];
  for (const { typed, data, zh, en } of cases) {
    const said = spawnSync(kCompanion, ['--controller', 'fdcan', '--clock', '80', '--rate', '500',
      ...(data ? ['--data-rate', data] : []), '--best', '--data-target-sample-point', typed], { encoding: 'utf8' });
    assert.equal(said.status, 2, typed);
    // The companion's own line where the page has no words of its own.
    const line = said.stderr.replace(/^quillmere-cli: /, '').replace(/\n$/, '');
    if (data === '') assert.deepEqual([PageWords(line, 'zh'), PageWords(line, 'en')], [zh, en]);
    await WithPage({ locale: 'zh-CN', query }, async (page) => {
      await WaitShown(page);
      await TypeInto(page, '#data-rate', data);
      await TypeInto(page, '#best-data-target', typed);
      await Compute(page);
      assert.equal(await page.textContent('#message'), zh, typed);
      assert.equal(await page.evaluate(() => document.getElementById('message').parentElement.querySelector('input').id),
        'best-data-target', typed);
      assert.equal(await page.getAttribute('#best-data-target', 'aria-invalid'), 'true', typed);
      // Refused: no rows, no best.
      assert.equal(await page.getAttribute('#results', 'aria-rowcount'), '1', typed);
      assert.equal(await page.isVisible('#best-panel'), false, typed);
      await page.click('#language');
      assert.equal(await page.textContent('#message'), en, typed);
      assert.doesNotMatch(await page.innerText('body'), /--data-target|--data-rate/, typed);
    });
  }
});
