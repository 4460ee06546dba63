// The page as a person uses it, in headless Chromium from file://: typing, picking,
// clicking, keys, the clipboard and the address, compared with the companion's rows.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';

import { ClipboardText, Compute, LaunchBrowser, RowCount, TypeInto, WaitShown, WithPageIn } from './browser.mjs';
import { execFileSync, spawnSync } from 'node:child_process';

import { PageRows, CompanionText, kCompanion } from './paths.mjs';
import { kTexts } from '../../web/i18n.js';

let browser;
before(async () => { browser = await LaunchBrowser(); });
after(async () => { await browser?.close(); });

// A page of the shared browser (browser.mjs WithPageIn).
const WithPage = (options, body) => WithPageIn(browser, options, body);

// Selects every row with the keyboard and copies it: the window's clipboard text.
async function CopyAllRows(page) {
  await page.focus('#results');
  await page.keyboard.press('Control+a');
  await page.keyboard.press('Control+c');
  return ClipboardText(page);
}

// Clicks #copy-code and waits for the clipboard to take the code.
async function CopyCode(page) {
  await page.evaluate(() => navigator.clipboard.writeText('(nothing copied)'));
  await page.click('#copy-code');
  await page.waitForFunction(async () => await navigator.clipboard.readText() !== '(nothing copied)');
  return ClipboardText(page);
}

// An FDCAN row of the page by its cells: the phase, the lengths, the prescaler, the
// page's Tq (ns), sample point, actual rate, error, then NBTP or DBTP.
function FdcanCells(line) {
  const [phase, seg1, seg2, prescaler, tqNs, samplePoint, actualRate, error, register] = line.split('\t');
  return { phase, seg1, seg2, prescaler, tqNs, samplePoint, actualRate, error, register };
}

function WindowClipboard(lines) {
  return lines.join('\r\n');
}

test('the preset inputs: 30 rows, copied as the companion lists them', async () => {
  await WithPage({}, async (page) => {
    await page.evaluate(() => navigator.clipboard.writeText('before'));
    await Compute(page);
    assert.equal(await RowCount(page), 30);
    assert.match(await page.textContent('#row-count'), /30/);
    assert.equal(await CopyAllRows(page), WindowClipboard(PageRows([])));
    // The grid's header: the window's six titles, then the companion's --wide columns,
    // each with what it holds as a tooltip and in the legend under the grid.
    const titles = await page.$$eval('#results [role=columnheader]', (cells) => cells.map((c) => c.textContent));
    assert.deepEqual(titles, ['BS1', 'BS2', '分频系数', 'Tq (ns)', '采集点', '实际波特率', '误差', 'CAN_BTR', '振荡器容差',
      '最长总线']);
    const tips = await page.$$eval('#results [role=columnheader]', (cells) => cells.map((c) => c.title));
    assert.equal(tips[3], '时间量子（tq）长度：分频系数 ÷ 时钟，单位 ns');
    assert.equal(tips[8], '该设置允许的振荡器偏差（ISO 11898-1 的条件），%');
    assert.ok(tips.every((tip) => tip !== ''), tips.join(' | '));
    const legend = await page.$$eval('#column-legend dt', (terms) => terms.map((t) => t.textContent));
    assert.deepEqual(legend, titles);
    await page.click('#language');
    assert.equal(await page.getAttribute('#results [role=columnheader][aria-colindex="10"]', 'title'),
      'Longest bus at the node delay given, in metres');
  });
});

test('typed and picked inputs, odd texts included, give the companion\'s rows', async () => {
  const cases = [
    { clock: '36MHz', rate: '500', sp: '4', tol: '0', companion: ['--clock', '36', '--sample-point', '80'] },
    { clock: '４２', rate: '5e2', sp: '0', tol: '0', companion: ['--clock', '42'] },
    { clock: '8', rate: '33.3 kbps', sp: '1', tol: '5',
      companion: ['--clock', '8', '--rate', '33.3', '--sample-point', '50', '--tolerance', '5'] },
    { clock: '42.5', rate: '500', sp: '0', tol: '0', companion: ['--clock', '42.5'] },
  ];
  await WithPage({}, async (page) => {
    for (const { clock, rate, sp, tol, companion } of cases) {
      await TypeInto(page, '#clock', clock);
      await TypeInto(page, '#rate', rate);
      // Picking an item computes at once, as in the window.
      await page.evaluate(() => { document.body.dataset.state = 'asked'; });
      await page.selectOption('#sample-point', sp === '0' ? '1' : '0');
      await WaitShown(page);
      await page.evaluate(() => { document.body.dataset.state = 'asked'; });
      await page.selectOption('#sample-point', sp);
      await WaitShown(page);
      await TypeInto(page, '#tolerance', tol);
      await Compute(page);
      const expected = PageRows(companion);
      assert.equal(await RowCount(page), expected.length, clock);
      assert.equal(await CopyAllRows(page), WindowClipboard(expected), `"${clock}" / "${rate}"`);
    }
  });
});

test('the largest bxCAN listing: 11 919 rows shown, selected and copied whole', async () => {
  await WithPage({}, async (page) => {
    await TypeInto(page, '#clock', '100');
    await TypeInto(page, '#rate', '10');
    await TypeInto(page, '#tolerance', '10');
    await page.evaluate(() => { document.body.dataset.state = 'asked'; });
    await page.press('#tolerance', 'Enter');
    await WaitShown(page);
    const expected = PageRows(['--clock', '100', '--rate', '10', '--tolerance', '10']);
    assert.equal(expected.length, 11919);
    assert.equal(await RowCount(page), 11919);
    assert.equal(await CopyAllRows(page), WindowClipboard(expected));
    // Only the rows in view have elements.
    const rendered = await page.$$eval('#results .grid-body [role=row]:not([hidden])', (rows) => rows.length);
    assert.ok(rendered < 60, `${rendered} rows drawn`);
    assert.equal(await page.getAttribute('#results', 'aria-rowcount'), '11920');
  });
});

// A text that is no value of its field: its message beside it, in the page's language,
// and no rows, no best setting, no code from an earlier listing.
test('an unreadable clock or rate shows its message beside its field and no rows', async () => {
  const cases = [
    ['#clock', 'abc', '#rate', '500', 'clock-unreadable', 'clock-field'],
    ['#clock', '42.1234', '#rate', '500', 'clock-unreadable', 'clock-field'],
    ['#clock', '-42', '#rate', '500', 'clock-unreadable', 'clock-field'],
    ['#clock', '42', '#rate', 'abc', 'rate-unreadable', 'rate-field'],
    ['#clock', '42', '#rate', '0', 'rate-unreadable', 'rate-field'],
  ];
  await WithPage({}, async (page) => {
    for (const [first, firstText, second, secondText, name, fieldId] of cases) {
      await TypeInto(page, '#clock', '42');
      await TypeInto(page, '#rate', '500');
      await Compute(page);
      assert.equal(await RowCount(page), 30);
      await TypeInto(page, first, firstText);
      await TypeInto(page, second, secondText);
      await Compute(page);
      assert.equal(await page.textContent('#message'), kTexts.zh.unreadable[name], `${firstText} / ${secondText}`);
      assert.equal(await page.evaluate(() => document.getElementById('message').closest('.field').id), fieldId);
      assert.equal(await page.evaluate(() => document.activeElement.getAttribute('aria-invalid')), 'true');
      assert.equal(await RowCount(page), null);
      assert.equal(await page.getAttribute('#results', 'aria-rowcount'), '1');
      assert.equal(await page.isHidden('#best-panel'), true);
    }
    // The language switch says the same in English.
    await page.click('#language');
    assert.equal(await page.textContent('#message'), kTexts.en.unreadable['rate-unreadable']);
  });
});

test('an unreadable FDCAN data rate shows its message beside the data rate field', async () => {
  await WithPage({ query: '?clock=80&rate=500&sp=3&tol=0&ctl=fdcan&data=2000' }, async (page) => {
    await WaitShown(page);
    assert.ok(await RowCount(page) > 0);
    for (const dataRate of ['abc', '0', '-42', '1e-45']) {
      await TypeInto(page, '#data-rate', dataRate);
      await Compute(page);
      assert.equal(await page.textContent('#message'), kTexts.zh.unreadable['data-rate-unreadable'], dataRate);
      assert.equal(await page.evaluate(() => document.activeElement.id), 'data-rate');
      assert.equal(await RowCount(page), null, dataRate);
    }
    await TypeInto(page, '#data-rate', '2000');
    await Compute(page);
    assert.equal(await page.isHidden('#message'), true);
    assert.ok(await RowCount(page) > 0);
  });
});

test('an empty field shows the window\'s message beside it and takes the focus', async () => {
  await WithPage({}, async (page) => {
    await Compute(page);
    // Both empty: only the clock's message.
    await TypeInto(page, '#clock', '');
    await TypeInto(page, '#rate', '');
    await Compute(page);
    assert.equal(await page.textContent('#message'), '请输入AHB1时钟频率');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'clock');
    assert.equal(await page.evaluate(() => document.getElementById('message').closest('.field').id), 'clock-field');
    // The table keeps its rows, as the window's does.
    assert.equal(await RowCount(page), 30);
    await TypeInto(page, '#clock', '42');
    await Compute(page);
    assert.equal(await page.textContent('#message'), '请输入CAN波特率');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'rate');
    // Enter in the rate error checks the fields too.
    await TypeInto(page, '#tolerance', '2');
    await page.evaluate(() => { document.body.dataset.state = 'asked'; });
    await page.press('#tolerance', 'Enter');
    await WaitShown(page);
    assert.equal(await page.textContent('#message'), '请输入CAN波特率');
    // Filled in: the message goes.
    await TypeInto(page, '#rate', '500');
    await Compute(page);
    assert.equal(await page.isHidden('#message'), true);
  });
});

test('click, Shift+click, keys and the Copy button select and copy as the window does', async () => {
  const lines = PageRows([]);
  await WithPage({}, async (page) => {
    await Compute(page);
    const cell = (row, column) => `#results .grid-body [aria-rowindex="${row + 2}"] [aria-colindex="${column + 1}"]`;
    await page.click(cell(2, 3));
    await page.keyboard.press('Control+c');
    assert.equal(await ClipboardText(page), lines[2]);
    await page.click(cell(5, 0), { modifiers: ['Shift'] });
    await page.keyboard.press('Control+c');
    assert.equal(await ClipboardText(page), WindowClipboard(lines.slice(2, 6)));
    // Arrows move the focus and the selection follows; Shift extends from the anchor.
    await page.keyboard.press('ArrowDown');
    await page.keyboard.press('Control+c');
    assert.equal(await ClipboardText(page), lines[6]);
    await page.keyboard.press('Shift+ArrowUp');
    await page.keyboard.press('Shift+ArrowUp');
    await page.keyboard.press('Control+Insert');
    assert.equal(await ClipboardText(page), WindowClipboard(lines.slice(4, 7)));
    await page.keyboard.press('End');
    await page.keyboard.press('Control+c');
    assert.equal(await ClipboardText(page), lines.at(-1));
    await page.keyboard.press('Home');
    await page.keyboard.press('PageDown');
    await page.keyboard.press('Shift+Home');
    await page.click('#copy');
    const pageRows = await page.evaluate(() => Math.floor(document.querySelector('#results .grid-body').clientHeight / 24));
    assert.equal(await ClipboardText(page), WindowClipboard(lines.slice(0, pageRows + 1)));
    // The focus cell is marked, and the grid names it to assistive technology.
    assert.equal(await page.getAttribute('#results', 'aria-activedescendant'), 'results-focus-cell');
    assert.equal(await page.getAttribute(`${cell(0, 0)}`, 'id'), 'results-focus-cell');
    // A header click drops the selection; Ctrl+C then leaves the clipboard alone.
    await page.click('#results [role=columnheader] >> nth=2');
    await page.keyboard.press('Control+c');
    assert.equal(await ClipboardText(page), WindowClipboard(lines.slice(0, pageRows + 1)));
    assert.equal(await page.isDisabled('#copy'), true);
  });
});

test('the inputs live in the address: a link reproduces a listing, Back and Forward work', async () => {
  await WithPage({ query: '?clock=36&rate=500&sp=4&tol=0' }, async (page) => {
    await WaitShown(page);
    assert.equal(await page.inputValue('#clock'), '36');
    assert.equal(await page.inputValue('#sample-point'), '4');
    assert.equal(await RowCount(page), 8);
    await TypeInto(page, '#clock', '42');
    await Compute(page);
    assert.match(page.url(), /\?clock=42&rate=500&sp=4&tol=0$/);
    await page.evaluate(() => { document.body.dataset.state = 'asked'; });
    await page.selectOption('#sample-point', '0');
    await WaitShown(page);
    assert.match(page.url(), /\?clock=42&rate=500&sp=0&tol=0$/);
    assert.equal(await RowCount(page), 30);
    await page.evaluate(() => { document.body.dataset.state = 'asked'; });
    await page.goBack();
    await WaitShown(page);
    assert.equal(await page.inputValue('#sample-point'), '4');
    assert.equal(await page.inputValue('#clock'), '42');
    await page.evaluate(() => { document.body.dataset.state = 'asked'; });
    await page.goBack();
    await WaitShown(page);
    assert.equal(await page.inputValue('#clock'), '36');
    assert.equal(await RowCount(page), 8);
    await page.evaluate(() => { document.body.dataset.state = 'asked'; });
    await page.goForward();
    await WaitShown(page);
    assert.equal(await page.inputValue('#clock'), '42');
    assert.equal(await page.inputValue('#sample-point'), '4');
  });
  // Odd texts survive the round trip.
  await WithPage({ query: `?clock=${encodeURIComponent('４２')}&rate=5e2&sp=0&tol=0` }, async (page) => {
    await WaitShown(page);
    assert.equal(await page.inputValue('#clock'), '４２');
    assert.equal(await RowCount(page), 30);
  });
});

test('English where the browser prefers it, Chinese with the switch; the rows are the same', async () => {
  await WithPage({ locale: 'en-US' }, async (page) => {
    await Compute(page);
    assert.equal(await page.textContent('label[for=clock]'), 'AHB1 clock:');
    assert.equal(await page.textContent('#compute'), 'Compute');
    assert.equal(await CopyAllRows(page), WindowClipboard(PageRows([])));
    await TypeInto(page, '#clock', '');
    await Compute(page);
    assert.equal(await page.textContent('#message'), 'Please enter the AHB1 clock frequency');
    await page.click('#language');
    assert.equal(await page.textContent('#message'), '请输入AHB1时钟频率');
    assert.equal(await page.textContent('label[for=clock]'), 'AHB1时钟：');
    assert.equal(await page.evaluate(() => document.documentElement.lang), 'zh-CN');
  });
});

test('labels name their fields; every action is reachable by keyboard', async () => {
  await WithPage({}, async (page) => {
    for (const id of ['clock', 'rate', 'sample-point', 'best-target', 'tolerance', 'controller', 'controller-search',
      'sjw', 'node-delay', 'bus-length', 'min-tolerance', 'code-form']) {
      assert.equal(await page.evaluate((i) => document.getElementById(i).labels.length, id), 1, id);
    }
    // Tab from the clock field to the compute button, Enter computes; Tab reaches the grid.
    await page.focus('#clock');
    const order = [];
    for (let i = 0; i < 14; ++i) {
      await page.keyboard.press('Tab');
      order.push(await page.evaluate(() => document.activeElement.id));
    }
    assert.deepEqual(order.slice(0, 12), ['rate', 'sample-point', 'best-target', 'tolerance', 'controller',
      'controller-search', 'limits-summary', 'sjw', 'node-delay', 'bus-length', 'min-tolerance', 'compute']);
    await page.focus('#compute');
    await page.evaluate(() => { document.body.dataset.state = 'asked'; });
    await page.keyboard.press('Enter');
    await WaitShown(page);
    assert.equal(await RowCount(page), 30);
    assert.equal(await page.getAttribute('#results', 'role'), 'grid');
    assert.equal(await page.getAttribute('#results', 'tabindex'), '0');
  });
});

test('usable at 360 px wide, in the dark theme too', async () => {
  await WithPage({ viewport: { width: 360, height: 740 }, colorScheme: 'dark' }, async (page) => {
    await Compute(page);
    const overflow = await page.evaluate(() => document.documentElement.scrollWidth - window.innerWidth);
    assert.ok(overflow <= 0, `the page is ${overflow} px wider than the screen`);
    const background = await page.evaluate(() => getComputedStyle(document.body).backgroundColor);
    assert.equal(background, 'rgb(22, 24, 29)');
    assert.equal(await CopyAllRows(page), WindowClipboard(PageRows([])));
  });
});

test('pasted text of any length, emoji and invalid UTF-16 do not break the page', async () => {
  await WithPage({}, async (page) => {
    const texts = ['😀😀', '\ud800', '4\udc002', '9'.repeat(200000), '𠀀42'];
    for (const text of texts) {
      await page.fill('#clock', '42');
      await page.evaluate((t) => { document.getElementById('rate').value = t; }, text);
      await Compute(page);
      // None is a rate: its message, and no rows.
      assert.equal(await page.textContent('#message'), kTexts.zh.unreadable['rate-unreadable']);
      assert.equal(await RowCount(page), null);
    }
    // "42" after an emoji is no clock: its message, no rows.
    await page.fill('#rate', '500');
    await page.evaluate(() => { document.getElementById('clock').value = '😀42'; });
    await Compute(page);
    assert.equal(await page.textContent('#message'), kTexts.zh.unreadable['clock-unreadable']);
    assert.equal(await RowCount(page), null);
  });
});

test('FDCAN with a data rate: the companion\'s nominal and data listings, its best marked', async () => {
  const args = ['--controller', 'fdcan', '--clock', '80', '--rate', '500', '--sample-point', '70', '--data-rate', '2000'];
  await WithPage({}, async (page) => {
    await TypeInto(page, '#clock', '80');
    await page.selectOption('#sample-point', '3');
    await WaitShown(page);
    await page.evaluate(() => { document.body.dataset.state = 'asked'; });
    await page.selectOption('#controller', 'fdcan');
    await WaitShown(page);
    await TypeInto(page, '#data-rate', '2000');
    await Compute(page);
    await page.waitForSelector('#best-panel', { state: 'visible' });
    const expected = PageRows(args);
    assert.equal(await RowCount(page), expected.length);
    assert.equal(await CopyAllRows(page), WindowClipboard(expected));
    const titles = await page.$$eval('#results [role=columnheader]', (cells) => cells.map((c) => c.textContent));
    assert.deepEqual(titles, ['相位', 'Seg1', 'Seg2', '分频系数', 'Tq (ns)', '采集点', '实际波特率', '误差', 'Register',
      '振荡器容差', '最长总线', 'TDC 偏移']);
    assert.match(page.url(), /ctl=fdcan&data=2000$/);
    // The best setting: the companion's --best, shown on its own and marked in the table.
    const best = PageRows([...args, '--best']);
    const shown = await page.$$eval('#best tr', (rows) => rows.slice(1).map((r) => [...r.cells].map((c) => c.textContent).join('\t')));
    assert.deepEqual(shown, best);
    const marked = await page.$$eval('#results .grid-row.best', (rows) => rows.map((r) => r.getAttribute('aria-rowindex')));
    const bestIndex = expected.indexOf(best[0]);
    if (bestIndex < 15) assert.ok(marked.includes(String(bestIndex + 2)), `row ${bestIndex} marked`);
    // Copy as code, nothing selected: the best pair in HAL's form, both blocks, the TDC
    // lines and the pair's tolerance, as the companion's --best writes them; the forms
    // offered are FDCAN's (no SPL).
    assert.deepEqual(await page.$$eval('#code-form option', (options) => options.map((o) => o.value)),
      ['hal', 'registers', 'linux', 'zephyr', 'python-can']);
    const pairCode = CompanionText([...args, '--best', '--format', 'hal']);
    assert.equal(await CopyCode(page), pairCode);
    assert.equal(await page.textContent('#code'), pairCode);
    // With the last data row selected: the best nominal setting and that data row.
    await page.focus('#results');
    await page.keyboard.press('End');
    await page.waitForFunction((text) => document.getElementById('code').textContent !== text, pairCode);
    const copiedData = await CopyCode(page);
    const lastData = FdcanCells(expected.at(-1));
    assert.equal(lastData.phase, 'data');
    // The row's block as its DBTP decodes, then the TDC advice the companion's --best
    // gives a data setting.
    const decoded = CompanionText(['--controller', 'fdcan', '--clock', '80', '--data-rate', '2000',
      '--decode-data', lastData.register, '--format', 'hal']);
    const dataCode = copiedData.split('\n\n');
    assert.equal(dataCode[0], pairCode.split('\n\n')[0]);
    assert.ok(dataCode[1].startsWith(decoded), dataCode[1]);
    assert.match(`${dataCode[1]}\n`.slice(decoded.length), new RegExp('^(HAL_FDCAN_ConfigTxDelayCompensation\\(&hfdcan, \\d+, 0\\);\n' +
      'HAL_FDCAN_EnableTxDelayCompensation\\(&hfdcan\\);\n|/\\* no TDC: [^\n]+ \\*/\n)$'));
    assert.match(dataCode[2], /^\/\* both phases together: oscillator tolerance \d+\.\d\d% \*\/\n$/);
  });
});

// A selected FDCAN row's code is made from the setting its listing handed with it:
// the last selected row of each phase makes the pair, the best's stands for a phase
// not selected; the best pair's rows, picked with the keyboard, give the companion's
// --best output exactly.
test('FDCAN: copy as code of a selected data row, and of a nominal one, is the companion\'s pair', async () => {
  const args = ['--controller', 'fdcan', '--clock', '80', '--rate', '500', '--sample-point', '70', '--data-rate', '2000'];
  await WithPage({ query: '?clock=80&rate=500&sp=3&tol=0&ctl=fdcan&data=2000' }, async (page) => {
    await page.waitForFunction(() => document.body.dataset.state === 'shown');
    await page.waitForSelector('#best-panel', { state: 'visible' });
    const lines = PageRows(args);
    const best = PageRows([...args, '--best']);
    const pair = CompanionText([...args, '--best', '--format', 'hal']);
    const blocks = pair.replace(/\n$/, '').split('\n\n');
    const CopyRow = async (index) => {
      await page.focus('#results');
      await page.keyboard.press('End');
      for (let i = lines.length - 1; i > index; --i) await page.keyboard.press('ArrowUp');
      return CopyCode(page);
    };
    const dataIndex = lines.indexOf(best[1]);
    assert.ok(dataIndex > 0 && lines[dataIndex].startsWith('data\t'), `${dataIndex}`);
    assert.equal(await CopyRow(dataIndex), pair);
    assert.equal(await page.textContent('#code'), pair);
    // Another data row: its own setting, not the best's, beside the best nominal one.
    const other = (await CopyRow(dataIndex + 1)).split('\n\n');
    const decoded = CompanionText(['--controller', 'fdcan', '--clock', '80', '--data-rate', '2000',
      '--decode-data', FdcanCells(lines[dataIndex + 1]).register, '--format', 'hal']);
    assert.equal(other[0], blocks[0]);
    assert.ok(other[1].startsWith(decoded), other[1]);
    // The best nominal row, reached with the arrows from the last row: the data row
    // last selected (the first data row, the focus passed it last) stays in the pair.
    const again = (await CopyRow(lines.indexOf(best[0]))).split('\n\n');
    const firstData = lines.findIndex((line) => line.startsWith('data\t'));
    assert.equal(again[0], blocks[0]);
    assert.ok(again[1].startsWith(CompanionText(['--controller', 'fdcan', '--clock', '80', '--data-rate', '2000',
      '--decode-data', FdcanCells(lines[firstData]).register, '--format', 'hal'])), again[1]);
    // In another form the same pair: python-can's one BitTimingFd, as the companion's.
    await page.selectOption('#code-form', 'python-can');
    await page.waitForFunction(() => document.getElementById('code').textContent.includes('BitTimingFd'));
    assert.match(page.url(), /form=python-can/);
    await page.keyboard.press('Escape');
  });
});

test('bxCAN: the best row, copy as code in hal and spl forms, the register decode', async () => {
  await WithPage({}, async (page) => {
    await Compute(page);
    await page.waitForSelector('#best-panel', { state: 'visible' });
    const best = PageRows(['--best']);
    assert.deepEqual(await page.$$eval('#best tr', (rows) => rows.slice(1).map((r) => [...r.cells].map((c) => c.textContent).join('\t'))), best);
    assert.deepEqual(await page.$$eval('#code-form option', (options) => options.map((o) => o.value)),
      ['hal', 'spl', 'registers', 'linux', 'zephyr', 'python-can']);
    // Nothing selected: the best setting, as the companion's --best writes it.
    assert.equal(await CopyCode(page), CompanionText(['--best', '--format', 'hal']));
    await page.selectOption('#code-form', 'spl');
    await page.waitForFunction(() => document.getElementById('code').textContent.includes('CAN_InitStructure'));
    assert.equal(await CopyCode(page), CompanionText(['--best', '--format', 'spl']));
    await page.selectOption('#code-form', 'hal');
    // A selected row: that row's setting; its CAN_BTR decodes back to it.
    await page.click('#results .grid-body [aria-rowindex="4"] [aria-colindex="1"]');
    await page.waitForFunction(() => document.getElementById('code').textContent.includes('CAN_BS1_4TQ'));
    const code = await CopyCode(page);
    const register = code.match(/CAN_BTR (0x[0-9A-F]{8})/)[1];
    assert.equal(code, CompanionText(['--decode', register, '--rate', '500', '--format', 'hal']));
    // The decode box: the companion's row for the value under the grid's titles;
    // reserved bits refused.
    await page.fill('#decode-value', register);
    await page.click('#decode');
    await page.waitForFunction(() => !document.getElementById('decode-output').hidden);
    assert.deepEqual(await DecodedRows(page),
      PageRows(['--decode', register, '--clock', '42', '--rate', '500']));
    assert.deepEqual(await page.$$eval('#decode-output th', (cells) => cells.map((c) => c.textContent)),
      ['BS1', 'BS2', '分频系数', 'Tq (ns)', '采集点', '实际波特率', '误差', 'CAN_BTR', 'SJW', '模式', '振荡器容差', '最长总线']);
    await page.fill('#decode-value', '0x001C0401');
    await page.click('#decode');
    await page.waitForFunction(() => !document.getElementById('decode-message').hidden);
    assert.equal(await page.textContent('#decode-message'), '保留位已置位：10');
    await page.fill('#decode-value', '0x1FFFFFFFF');
    await page.click('#decode');
    await page.waitForFunction((text) => document.getElementById('decode-message').textContent === text,
      kTexts.zh.unreadable['decode-unreadable']);
  });
});

// The rows a decode shows, as tsv lines.
function DecodedRows(page) {
  return page.$$eval('#decode-output tr', (rows) => rows.slice(1).map((r) => [...r.cells].map((c) => c.textContent).join('\t')));
}

// Code for a selected row describes that row, not the row at its place in whatever the
// worker listed last: a computation whose rows never showed (its field emptied before
// they came), or one asked for just before the click.
test('copy as code writes the selected bxCAN row on screen, whatever was computed since', async () => {
  await WithPage({}, async (page) => {
    await Compute(page);
    await page.click('#results .grid-body [aria-rowindex="4"] [aria-colindex="1"]');
    const CopyHal = async (before) => {
      await page.evaluate(() => { document.getElementById('code').hidden = true; });
      await page.evaluate(before);
      await page.waitForFunction(() => !document.getElementById('code').hidden);
      return ClipboardText(page);
    };
    const code = await CopyHal(() => document.getElementById('copy-code').click());
    const register = code.match(/CAN_BTR (0x[0-9A-F]{8})/)[1];
    assert.equal(code, CompanionText(['--decode', register, '--rate', '500', '--format', 'hal']));
    // 36 MHz asked for, then the clock emptied: the table keeps the 42 MHz rows.
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
    assert.equal(await CopyHal(() => document.getElementById('copy-code').click()), code);
    // 36 MHz asked for, and the code button clicked before its rows come.
    assert.equal(await CopyHal(() => {
      document.getElementById('clock').value = '36';
      document.getElementById('compute').click();
      document.getElementById('copy-code').click();
    }), code);
    assert.equal(await RowCount(page), PageRows(['--clock', '36']).length);
  });
});

test('over a million rows: the count, the first million in the table, the whole listing as a file', async () => {
  await WithPage({ query: '?clock=80&rate=1&sp=0&tol=10&ctl=fdcan' }, async (page) => {
    await page.waitForFunction(() => document.body.dataset.state === 'shown', null, { timeout: 300000 });
    // FDCAN at 80 MHz and 1 Kbps within 10%, at 40% or more.
    assert.equal(await RowCount(page), 1367285);
    assert.equal(await page.getAttribute('#results', 'aria-rowcount'), String(1000000 + 1));
    await page.focus('#results');
    await page.keyboard.press('End');
    await page.keyboard.press('Control+c');
    const lastShown = await ClipboardText(page);
    const [download] = await Promise.all([page.waitForEvent('download', { timeout: 300000 }), page.click('#download')]);
    assert.equal(download.suggestedFilename(), 'quillmere-fdcan.tsv');
    // Read as a stream: the file is larger than the test should hold.
    const stream = await download.createReadStream();
    let lines = 0;
    let rest = '';
    let millionth = null;
    let first = null;
    for await (const chunk of stream) {
      const parts = (rest + chunk.toString('latin1')).split('\n');
      rest = parts.pop();
      for (const line of parts) {
        if (first === null) first = line;
        if (++lines === 1000000) millionth = line;
      }
    }
    assert.equal(rest, '');
    assert.equal(lines, 1367285);
    assert.equal(millionth, lastShown);
    assert.equal(first, 'nominal\t140\t2\t509\t6362.5\t98.6%\t1.0991\t9.90974%\t0x03FC8B01\t0.05%\t88388 m');
  });
});

// The rows of the best panel, as tsv lines.
function BestRows(page) {
  return page.$$eval('#best tr', (rows) => rows.slice(1).map((r) => [...r.cells].map((c) => c.textContent).join('\t')));
}

test('every controller: mcp2515 at 16 MHz, its registers, the least tolerance, linux code, its decode', async () => {
  const args = ['--controller', 'mcp2515', '--clock', '16', '--rate', '500'];
  await WithPage({}, async (page) => {
    await page.waitForFunction(() => document.querySelectorAll('#controller optgroup').length > 1);
    // The selector groups the table by vendor; mcp2515 stands under Microchip.
    assert.equal(await page.$eval('#controller option[value="mcp2515"]', (o) => o.parentElement.label), 'Microchip');
    const names = await page.$$eval('#controller option', (options) => options.map((o) => o.value));
    assert.deepEqual(names, JSON.parse(CompanionText(['--controller', 'list', '--format', 'json'])).map((c) => c.name));
    await TypeInto(page, '#clock', '16');
    await page.evaluate(() => { document.body.dataset.state = 'asked'; });
    await page.selectOption('#controller', 'mcp2515');
    await WaitShown(page);
    await page.waitForSelector('#best-panel', { state: 'visible' });
    assert.equal(await page.textContent('#clock-note'), '（oscillator (OSC1)）');
    await page.click('#limits summary');
    // The nominal limits as the companion's --controller list --wide says them.
    const limits = await page.textContent('#limits-text dd');
    assert.match(limits, /^prescaler 2-128\/2, seg1 .*; seg1 >= seg2; sjw < seg2$/);
    assert.ok(CompanionText(['--controller', 'list', '--wide']).split('\n').find((line) => line.startsWith('mcp2515 ')).includes(limits));
    // The grid: the companion's --wide rows, its Registers column cell by cell.
    const expected = PageRows(args);
    assert.equal(await CopyAllRows(page), WindowClipboard(expected));
    const titles = await page.$$eval('#results [role=columnheader]', (cells) => cells.map((c) => c.textContent));
    const column = titles.indexOf('寄存器');
    assert.ok(column > 0, titles.join(' '));
    const cells = await page.$$eval(`#results .grid-body [role=row]:not([hidden]) [aria-colindex="${column + 1}"]`,
      (found) => found.map((c) => c.textContent));
    assert.deepEqual(cells, expected.slice(0, cells.length).map((line) => line.split('\t')[column]));
    assert.deepEqual(await BestRows(page), PageRows([...args, '--best']));
    // The least tolerance: the best is the companion's --best --min-tolerance, with its
    // tolerance and longest bus beside it; the address keeps the field.
    await TypeInto(page, '#min-tolerance', '0.6');
    await Compute(page);
    await page.waitForFunction(() => !document.getElementById('best-panel').hidden &&
      document.querySelectorAll('#best tr').length > 1);
    const strict = PageRows([...args, '--min-tolerance', '0.6', '--best']);
    assert.notDeepEqual(strict, PageRows([...args, '--best']));
    assert.deepEqual(await BestRows(page), strict);
    const [tolerance, bus] = strict[0].split('\t').slice(-2);
    assert.equal(await page.textContent('#best-facts'), kTexts.zh.bestFacts(tolerance, bus));
    assert.match(page.url(), /ctl=mcp2515.*mintol=0\.6/);
    assert.equal(await RowCount(page), PageRows([...args, '--min-tolerance', '0.6']).length);
    // Code in the linux form: the companion's bytes.
    assert.deepEqual(await page.$$eval('#code-form option', (options) => options.map((o) => o.value)),
      ['registers', 'linux', 'zephyr', 'python-can']);
    await page.selectOption('#code-form', 'linux');
    await page.waitForFunction(() => document.getElementById('code').textContent.startsWith('#'));
    assert.equal(await CopyCode(page), CompanionText([...args, '--min-tolerance', '0.6', '--best', '--format', 'linux']));
    // The decode: the companion's row and warnings under the grid's titles.
    for (const value of ['CNF1=0x01,CNF2=0xB5,CNF3=0x01', 'CNF1=0xC1,CNF2=0xB5,CNF3=0x01']) {
      await page.fill('#decode-value', value);
      await page.click('#decode');
      await page.waitForFunction((v) => document.querySelector('#decode-output td:nth-last-child(3)')?.closest('table') &&
        [...document.querySelectorAll('#decode-output td')].some((c) => c.textContent === v.replaceAll(',', ' ')), value);
      const decodeArgs = ['--controller', 'mcp2515', '--clock', '16', '--rate', '500', '--decode', value];
      assert.deepEqual(await DecodedRows(page), PageRows(decodeArgs));
      const warnings = await page.$$eval('#decode-warnings:not([hidden]) li', (items) => items.map((i) => i.textContent));
      const run = execFileSync(kCompanion, [...decodeArgs, '--format', 'tsv'], { encoding: 'utf8', stdio: ['ignore', 'pipe', 'pipe'] });
      assert.ok(run.length > 0);
      const companionWarnings = SpawnWarnings(decodeArgs);
      assert.deepEqual(warnings, companionWarnings, value);
    }
  });
});

// The companion's warning lines for a decode, without its name.
function SpawnWarnings(args) {
  const run = spawnSync(kCompanion, args, { encoding: 'utf8' });
  return run.stderr.split('\n').filter(Boolean).map((line) => line.replace(/^quillmere-cli: warning: /, ''));
}

test('the search field narrows the controller selector by name, vendor or chips, and keeps the chosen one', async () => {
  const list = JSON.parse(CompanionText(['--controller', 'list', '--format', 'json']));
  await WithPage({}, async (page) => {
    await page.waitForFunction(() => document.querySelectorAll('#controller optgroup').length > 1);
    const shown = () => page.$$eval('#controller option', (options) => options.filter((o) => !o.hidden).map((o) => o.value));
    const groups = () => page.$$eval('#controller optgroup', (all) => all.filter((g) => !g.hidden).map((g) => g.label));
    const address = page.url();
    // By chips: every entry whose chips name an AT32, and bxcan, the chosen one.
    await TypeInto(page, '#controller-search', 'at32');
    assert.deepEqual(await shown(), ['bxcan', ...list.filter((c) => /at32/i.test(c.chips)).map((c) => c.name)]);
    assert.deepEqual(await groups(), ['ST', 'Artery']);
    // By vendor, any case; a choice made while narrowed stays when the search changes.
    await TypeInto(page, '#controller-search', 'MICROCHIP');
    await page.selectOption('#controller', 'mcp2515');
    await TypeInto(page, '#controller-search', 'gd32');
    assert.deepEqual(await shown(), list.filter((c) => c.name === 'mcp2515' || `${c.name} ${c.vendor} ${c.chips}`
      .toLowerCase().includes('gd32')).map((c) => c.name));
    assert.equal(await page.inputValue('#controller'), 'mcp2515');
    // Nothing matched: the chosen one alone; emptied: the whole table again.
    await TypeInto(page, '#controller-search', 'zz-no-such');
    assert.deepEqual(await shown(), ['mcp2515']);
    await TypeInto(page, '#controller-search', '');
    assert.deepEqual(await shown(), list.map((c) => c.name));
    // The search is no input of the listing: the address keeps only what was chosen.
    assert.ok(!page.url().includes('zz-no-such') && !address.includes('search'), page.url());
  });
});

test('a clock the controller\'s hardware does not run at is warned of beside the clock, as the companion warns', async () => {
  // The companion's warning line on standard error, less its "quillmere-cli: warning: ".
  const Warned = (args) => spawnSync(kCompanion, [...args, '--best'], { encoding: 'utf8' }).stderr
    .split('\n').find((line) => line.startsWith('quillmere-cli: warning: ')).slice('quillmere-cli: warning: '.length);
  await WithPage({ locale: 'en-US', query: '?clock=33.333&rate=500&sp=3&tol=0&ctl=peak-pciefd' }, async (page) => {
    await page.waitForSelector('#clock-warning', { state: 'visible' });
    const pcie = Warned(['--controller', 'peak-pciefd', '--clock', '33.333', '--rate', '500']);
    assert.equal(await page.textContent('#clock-warning'), `${pcie}: the numbers hold, but the hardware does not run at it`);
    // One of the card's clocks: no warning.
    await TypeInto(page, '#clock', '40');
    await Compute(page);
    await page.waitForSelector('#clock-warning', { state: 'hidden' });
    // A USB adapter's fixed clock names where it comes from; the Chinese view says it too.
    await page.selectOption('#controller', 'peak-canfd');
    await page.waitForSelector('#clock-warning', { state: 'visible' });
    const usb = Warned(['--controller', 'peak-canfd', '--clock', '40', '--rate', '500']);
    assert.equal(await page.textContent('#clock-warning'), `${usb}: the numbers hold, but the hardware does not run at it`);
    await page.click('#language');
    assert.equal(await page.textContent('#clock-warning'),
      'peak-canfd 只能运行在 80 MHz（PCAN-USB FD\'s crystal），不是 40 MHz：计算照常，但硬件不以此时钟运行');
  });
  // A range: the MCP2515's oscillator; Back to the page as it opened takes the warning away.
  await WithPage({ locale: 'en-US' }, async (page) => {
    await Compute(page);
    await page.evaluate(() => { document.body.dataset.state = 'asked'; });
    await page.selectOption('#controller', 'mcp2515');
    await page.waitForSelector('#clock-warning', { state: 'visible' });
    const range = Warned(['--controller', 'mcp2515', '--clock', '42', '--rate', '500']);
    assert.equal(await page.textContent('#clock-warning'), `${range}: the numbers hold, but the hardware does not run at it`);
    await page.goBack();
    await page.goBack();
    await page.waitForSelector('#clock-warning', { state: 'hidden' });
    assert.equal(await page.inputValue('#controller'), 'bxcan');
  });
});

test('the best setting warns of no tolerance and a bus shorter than asked, not of the reference; a field\'s refusal beside it', async () => {
  await WithPage({ query: '?clock=72&rate=1000&sp=0&tol=0' }, async (page) => {
    await page.waitForFunction(() => document.body.dataset.state === 'shown');
    await page.waitForSelector('#best-warnings', { state: 'visible' });
    assert.equal(await page.textContent('#best-facts'), kTexts.zh.bestFacts('0.00%', '8 m'));
    const warnings = await page.$$eval('#best-warnings li', (items) => items.map((i) => i.textContent));
    // The window's reference gives 1000 Kbps 40 m: a label, not a warning.
    assert.deepEqual(warnings, [kTexts.zh.bestWarnings['tolerance-zero']({ phase: '' }),
      kTexts.zh.bestWarnings['bus-shorter-than-asked']({ longest: 8, asked: 10 })]);
    // An SJW beyond bxCAN's 4: its message beside the SJW field, no rows.
    await TypeInto(page, '#sjw', '5');
    await Compute(page);
    assert.equal(await page.textContent('#message'), kTexts.zh.unreadable['sjw-unreadable']);
    assert.equal(await page.evaluate(() => document.getElementById('message').closest('.field').querySelector('input').id), 'sjw');
    assert.equal(await RowCount(page), null);
    // Read with its unit, the SJW lists the companion's rows; the address keeps it.
    await TypeInto(page, '#sjw', '2 tq');
    await Compute(page);
    assert.equal(await RowCount(page), PageRows(['--clock', '72', '--rate', '1000', '--sjw', '2']).length);
    assert.match(page.url(), /sjw=2\+tq|sjw=2%20tq/);
  });
});

test('an FD controller from the address: mcp2518fd\'s pair code is the companion\'s --best output', async () => {
  const args = ['--controller', 'mcp2518fd', '--clock', '40', '--rate', '500', '--sample-point', '80',
    '--data-rate', '2000', '--data-sjw', '2', '--bus-length', '20'];
  await WithPage({ query: '?clock=40&rate=500&sp=4&tol=0&ctl=mcp2518fd&data=2000&dsjw=2&bus=20&form=python-can' },
    async (page) => {
      await page.waitForFunction(() => document.body.dataset.state === 'shown');
      await page.waitForSelector('#best-panel', { state: 'visible' });
      assert.equal(await page.inputValue('#controller'), 'mcp2518fd');
      assert.equal(await page.isVisible('#data-rate'), true);
      assert.equal(await page.inputValue('#data-sjw'), '2');
      assert.equal(await CopyAllRows(page), WindowClipboard(PageRows(args)));
      assert.equal(await page.inputValue('#code-form'), 'python-can');
      await page.waitForFunction(() => document.getElementById('code').textContent.includes('BitTimingFd'));
      assert.equal(await CopyCode(page), CompanionText([...args, '--best', '--format', 'python-can']));
      // Its data registers decode by name.
      const best = PageRows([...args, '--best']);
      const registers = (line) => line.split('\t').find((cell) => cell.includes('=')).replaceAll(' ', ',');
      await page.fill('#decode-value', registers(best[0]));
      await page.fill('#decode-data', registers(best[1]));
      await page.click('#decode');
      await page.waitForFunction(() => !document.getElementById('decode-output').hidden);
      assert.deepEqual(await DecodedRows(page), PageRows(['--controller', 'mcp2518fd', '--clock', '40', '--rate', '500',
        '--data-rate', '2000', '--bus-length', '20', '--decode', registers(best[0]), '--decode-data', registers(best[1])]));
    });
});

test('the decode box takes the companion\'s number forms: leading zeros, decimal', async () => {
  await WithPage({}, async (page) => {
    await Compute(page);
    for (const value of ['0x00000000001', '0X001c0001', '1835009', '0x0000000000001C0001']) {
      await page.fill('#decode-value', value);
      // The last value's rows go first: the wait below is for this value's.
      await page.evaluate(() => { document.getElementById('decode-output').hidden = true; });
      await page.click('#decode');
      await page.waitForFunction(() => !document.getElementById('decode-output').hidden);
      assert.deepEqual(await DecodedRows(page),
        PageRows(['--clock', '42', '--rate', '500', '--decode', value]), value);
      assert.equal(await page.isHidden('#decode-message'), true);
    }
  });
});

// A decode names one controller's registers: after a change of controller neither it
// nor its refusal stays under the new controller's register labels.
test('a decode or its refusal goes when the controller changes', async () => {
  const cases = [
    { value: 'BTR0=0x03,BTR1=0x1c', shown: '#decode-output' },
    { value: 'FOO=1', shown: '#decode-message' },
  ];
  for (const { value, shown } of cases) {
    await WithPage({ locale: 'en-US', query: '?clock=16&rate=500&sp=0&tol=0&ctl=sja1000' }, async (page) => {
      await WaitShown(page);
      await page.fill('#decode-value', value);
      await page.click('#decode');
      await page.waitForSelector(shown, { state: 'visible' });
      await page.evaluate(() => { document.body.dataset.state = 'asked'; });
      await page.selectOption('#controller', 'bxcan');
      await WaitShown(page);
      assert.equal(await page.textContent('#decode-value-label'), 'CAN_BTR');
      assert.equal(await page.isVisible('#decode-output'), false, value);
      assert.equal(await page.isVisible('#decode-message'), false, value);
      assert.equal(await page.isVisible('#decode-warnings'), false, value);
    });
  }
});

// The advice under the form, in both languages: the window's words (its 标签 texts),
// their figures the module's, and the further fields' greyed defaults.
test('the advice and the defaults the module gives read as the window\'s', async () => {
  const expected = {
    'zh-CN': ['采集点选择参考： 波特率<=500Kbps选择87.5%左右， 500Kbps<波特率<=800Kbps选择80%左右， 波特率大于800Kbps选择75%左右',
      '波特率与传输距离参考：  1000Kbps->40m,500Kbps->270m,250Kbps->530m,125Kbps->620m,100Kbps->1300m,50Kbps->3300m,' +
      '10Kbps->6700m', '百分点（空：2）'],
    'en-US': ['Choosing the sample point: bit rate <= 500 Kbps: about 87.5%; 500 Kbps < bit rate <= 800 Kbps: about 80%; ' +
      'above 800 Kbps: about 75%', 'Bit rate and bus length:  1000Kbps->40m,500Kbps->270m,250Kbps->530m,125Kbps->620m,' +
      '100Kbps->1300m,50Kbps->3300m,10Kbps->6700m', 'points at most (empty: 2)'],
  };
  for (const [locale, texts] of Object.entries(expected)) {
    await WithPage({ locale }, async (page) => {
      await page.waitForFunction(() => document.body.dataset.state === 'ready');
      const shown = await page.evaluate(() => [...document.querySelectorAll('.advice p')].map((p) => p.textContent)
        .concat(document.querySelector('[data-text="spreadUnit"]').textContent));
      assert.deepEqual(shown, texts, locale);
      const placeholders = await page.$$eval('#node-delay, #bus-length, #min-tolerance', (fields) => fields.map((f) => f.placeholder));
      assert.deepEqual(placeholders, ['250', '10', '0']);
      assert.deepEqual([await page.inputValue('#clock'), await page.inputValue('#rate')], ['42', '500']);
    });
  }
});
