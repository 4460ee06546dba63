// The page's worker and its WebAssembly module, as the site ships them, under Node:
// its rows against the native companion's, the window's readings of odd texts, the
// messages and their protocol, code for a row's setting, and texts that must not break it.
import { test, before } from 'node:test';
import assert from 'node:assert/strict';

import { StartPageWorker, RowLines } from './page_worker.mjs';
import { execFileSync, spawnSync } from 'node:child_process';
import { readFileSync } from 'node:fs';

import { CompanionLines, PageRows, CompanionText, kCompanion, kRoot, kSiteDir } from './paths.mjs';
import { kTexts } from '../../web/i18n.js';

let worker;
before(async () => { worker = await StartPageWorker(kSiteDir); });

// What the page sends for the companion's --clock, --rate, --sample-point and
// --tolerance: the field texts and the selector indexes.
function PageRequest(clock, rate, samplePointPercent, tolerance) {
  return { clock, rate, samplePoint: (samplePointPercent - 40) / 10, tolerance };
}

async function PageLines(request) {
  const rows = await worker.compute(request);
  const lines = RowLines(rows);
  assert.equal(lines.length, rows.count);
  return lines;
}

// Whole MHz and the selectors' values: what both the window and the companion accept.
const kCompanionCases = [
  ['42', '500', 40, 0], ['36', '500', 80, 0], ['8', '125', 40, 0], ['72', '1000', 70, 0],
  ['48', '250', 50, 1], ['16', '83.333', 60, 3], ['170', '500', 40, 10], ['1', '10', 40, 10],
  ['80', '5000', 40, 5], ['24', '33.3', 50, 7], ['64', '0.5', 40, 2], ['100', '1e3', 80, 0],
];

// The shared argument sets of the builds' comparison (tests/cross) that the page's
// form can ask: a whole number of MHz, a selector's sample point and tolerance, bxCAN's
// listing or FDCAN's (with a data rate); as the page's request with the companion's
// arguments for the same listing in tsv.
function PageCases() {
  const lines = readFileSync(`${kRoot}/tests/cross/argument_sets.jsonl`, 'utf8').split('\n').filter(Boolean);
  const cases = [];
  for (const line of lines) {
    const args = JSON.parse(line);
    const options = new Map();
    let usable = true;
    for (let i = 0; i < args.length && usable; ++i) {
      const [name, inline] = args[i].split(/=(.*)/s);
      const value = inline !== undefined ? inline : args[++i];
      if (!['--clock', '--rate', '--sample-point', '--tolerance', '--format', '--controller', '--data-rate'].includes(name) ||
          value === undefined) usable = false;
      else options.set(name, value);
    }
    const clock = options.get('--clock') ?? '42';
    const samplePoint = Number(options.get('--sample-point') ?? '40');
    const tolerance = Number(options.get('--tolerance') ?? '0');
    const controller = options.get('--controller') ?? 'bxcan';
    if (!usable || !/^[1-9]\d{0,3}$/.test(clock) || ![40, 50, 60, 70, 80].includes(samplePoint) ||
        !(Number.isInteger(tolerance) && tolerance >= 0 && tolerance <= 10) ||
        !['bxcan', 'fdcan'].includes(controller) || (controller === 'bxcan' && options.has('--data-rate'))) continue;
    options.delete('--format');
    const companion = [...options].flatMap(([name, value]) => [name, value]);
    cases.push({
      companion,
      request: { controller, clock, rate: options.get('--rate') ?? '500', samplePoint: (samplePoint - 40) / 10,
        tolerance, dataRate: options.get('--data-rate') ?? '' },
    });
  }
  return cases;
}

test('the rows equal the companion\'s on the shared argument sets the form can ask', async () => {
  const cases = PageCases();
  assert.ok(cases.length >= 100, `${cases.length} sets`);
  let compared = 0;
  for (const { companion, request } of cases) {
    let expected;
    try {
      expected = PageRows(companion);
    } catch {
      continue;  // a value the companion refuses (the window reads every text)
    }
    assert.deepEqual(await PageLines(request), expected, companion.join(' '));
    ++compared;
  }
  console.log(`compared ${compared} of the ${cases.length} argument sets the form can ask`);
});

test('the rows equal the companion\'s, row by row', async () => {
  for (const [clock, rate, samplePoint, tolerance] of kCompanionCases) {
    const expected = PageRows(['--clock', clock, '--rate', rate, '--sample-point', String(samplePoint),
      '--tolerance', String(tolerance)]);
    const got = await PageLines(PageRequest(clock, rate, samplePoint, tolerance));
    assert.deepEqual(got, expected, `${clock} MHz, ${rate} Kbps, >=${samplePoint}%, <=${tolerance}%`);
  }
});

// Texts a person types, read as the companion reads --clock and --rate (full-width
// forms, blanks around, the field's unit after), and the values the companion takes
// for the same request.
const kWindowTexts = [
  { clock: '36MHz', rate: '500', companion: ['--clock', '36', '--rate', '500'] },
  { clock: '４２', rate: '５００', companion: ['--clock', '42', '--rate', '500'] },
  { clock: '42', rate: '5e2', companion: ['--clock', '42', '--rate', '500'] },
  { clock: ' 42', rate: '\u3000500', companion: ['--clock', '42', '--rate', '500'] },
  { clock: '42.9', rate: '500kbps', companion: ['--clock', '42.9', '--rate', '500'] },
  { clock: '+8', rate: '33.3 Kbps', tolerance: 5, companion: ['--clock', '8', '--rate', '33.3', '--tolerance', '5'] },
  { clock: '42', rate: '0.5E3', companion: ['--clock', '42', '--rate', '500'] },
  { clock: '42 MHz ', rate: '５００ＫＢＰＳ', companion: ['--clock', '42', '--rate', '500'] },
  { clock: '８.１９２', rate: '500', companion: ['--clock', '8.192', '--rate', '500'] },
  { clock: '42.5', rate: '500', companion: ['--clock', '42.5', '--rate', '500'] },
];

test('typed texts read as the companion reads them', async () => {
  for (const { clock, rate, tolerance = 0, companion } of kWindowTexts) {
    const got = await PageLines({ clock, rate, samplePoint: 0, tolerance });
    assert.deepEqual(got, PageRows([...companion, '--tolerance', String(tolerance)]), `"${clock}" / "${rate}"`);
  }
});

// The rate error as typed, any percent --tolerance takes, for classic and FD
// controllers (an FD data phase takes the same, as --data-tolerance defaults to
// --tolerance): the listing and the best are the companion's.
const kToleranceTexts = [
  { fields: { clock: '42', rate: '83.333', tolerance: '0.25' }, companion: ['--clock', '42', '--rate', '83.333', '--tolerance', '0.25'] },
  { fields: { clock: '42', rate: '83.333', tolerance: ' 0.5 % ' }, companion: ['--clock', '42', '--rate', '83.333', '--tolerance', '0.5'] },
  { fields: { controller: 'gs-usb', clock: '32.967', rate: '33.3', samplePoint: 1, tolerance: '0.99' },
    companion: ['--controller', 'gs-usb', '--clock', '32.967', '--rate', '33.3', '--sample-point', '50', '--tolerance', '0.99'] },
  { fields: { controller: 'fdcan', clock: '170', rate: '500', dataRate: '8000', tolerance: '1.25' },
    companion: ['--controller', 'fdcan', '--clock', '170', '--rate', '500', '--data-rate', '8000', '--tolerance', '1.25'] },
  { fields: { controller: 'mcp2515', clock: '16', rate: '33.3', tolerance: '0.01' },
    companion: ['--controller', 'mcp2515', '--clock', '16', '--rate', '33.3', '--tolerance', '0.01'] },
];

test('a decimal rate error gives the companion\'s listing and best for the same --tolerance', async () => {
  for (const { fields, companion } of kToleranceTexts) {
    const request = { samplePoint: 0, ...fields };
    assert.deepEqual(await PageLines(request), PageRows(companion), companion.join(' '));
    const best = await worker.ask('best', request);
    const expected = spawnSync(kCompanion, [...companion, '--best', '--format', 'tsv', '--wide'], { encoding: 'utf8' });
    assert.equal(best.best === '' ? 3 : 0, expected.status, companion.join(' '));
    if (best.best !== '') assert.deepEqual(best.best.replace(/\n$/, '').split('\n'), PageRows([...companion, '--best']));
  }
});

test('42.5 MHz lists the rows of 42500 kHz, none of 42 MHz', async () => {
  const got = await PageLines({ clock: '42.5', rate: '500', samplePoint: 0, tolerance: 0 });
  assert.deepEqual(got, PageRows(['--clock', '42.5', '--rate', '500']));
  assert.notDeepEqual(got, PageRows(['--clock', '42', '--rate', '500']));
  // 8.192 MHz has no setting of 500 Kbps exactly: none is listed as 0%.
  const near = await PageLines({ clock: '8.192', rate: '500', samplePoint: 0, tolerance: 5 });
  assert.deepEqual(near, PageRows(['--clock', '8.192', '--rate', '500', '--tolerance', '5']));
  assert.ok(near.length > 0 && near.every((line) => !line.endsWith('\t0%')), near.join('\n'));
});

// Texts that hold no value of their field, the status that names the field, and why
// (the companion's reason for the same value).
const kUnreadableFields = [
  [{ clock: 'abc', rate: '500' }, 'clock-unreadable', 'not a decimal number'],
  [{ clock: ' ', rate: '500' }, 'clock-unreadable', 'not a decimal number'],
  [{ clock: '0', rate: '0' }, 'clock-unreadable', 'the clock must be above 0 MHz'],
  [{ clock: '-42', rate: '500' }, 'clock-unreadable', 'the clock must be above 0 MHz'],
  [{ clock: '42.1234', rate: '500' }, 'clock-unreadable', 'more than three decimals'],
  [{ clock: '4294967338', rate: '500' }, 'clock-unreadable', 'the clock must be below 2147483.648 MHz'],
  [{ clock: '42kbps', rate: '500' }, 'clock-unreadable', 'not a decimal number'],
  [{ clock: 'abc', rate: '' }, 'clock-unreadable', 'not a decimal number'],  // the clock first
  [{ clock: '42', rate: 'abc' }, 'rate-unreadable', 'not a number'],
  [{ clock: '42', rate: '0' }, 'rate-unreadable', 'the rate must be above 0 Kbps'],
  [{ clock: '42', rate: '-500' }, 'rate-unreadable', 'the rate must be above 0 Kbps'],
  [{ clock: '42', rate: '33.3abc' }, 'rate-unreadable', 'not a number'],
  [{ clock: '42', rate: '500MHz' }, 'rate-unreadable', 'not a number'],
  [{ clock: '42', rate: '1e39' }, 'rate-unreadable', 'the rate is too large for a float'],
];

test('a field that holds no value is refused by its name, with no rows', async () => {
  for (const [fields, name, reason] of kUnreadableFields) {
    for (const type of ['compute', 'best']) {
      const error = await worker.ask(type, { ...fields, samplePoint: 0, tolerance: 0 }).then(
        () => assert.fail(`${type} answered for ${JSON.stringify(fields)}`), (e) => e);
      assert.equal(error.name, name, JSON.stringify(fields));
    }
    // The same value is refused by the companion for the same reason.
    const [option, value] = name === 'clock-unreadable' ? ['--clock', fields.clock] : ['--rate', fields.rate];
    if (value.trim() !== '' && !/[a-z]/i.test(value.replace(/e/, ''))) {
      const refused = CompanionRefusal([option, value]);
      assert.ok(refused.endsWith(`for ${option}: ${reason}\n`), refused);
    }
  }
  for (const name of ['clock-unreadable', 'rate-unreadable', 'data-rate-unreadable']) {
    for (const language of ['zh', 'en']) assert.ok(kTexts[language].unreadable[name], `${language} ${name}`);
  }
});

// FDCAN's data rate: a text that is no rate names the data rate field, in the listing,
// the best setting and the download.
test('an unreadable FDCAN data rate is refused as data-rate-unreadable', async () => {
  for (const dataRate of ['abc', '0', '-42', '1e-45', '2000x']) {
    const request = { controller: 'fdcan', clock: '80', rate: '500', samplePoint: 3, tolerance: 0, dataRate };
    for (const type of ['compute', 'best', 'download']) {
      const error = await worker.ask(type, request).then(() => assert.fail(`${type} answered for "${dataRate}"`), (e) => e);
      assert.equal(error.name, 'data-rate-unreadable', `${type} "${dataRate}"`);
    }
  }
  // A plain data rate and one with its unit list the companion's rows.
  const fdcan = { controller: 'fdcan', clock: '80', rate: '500', samplePoint: 3, tolerance: 0 };
  assert.deepEqual(await PageLines({ ...fdcan, dataRate: '2000 kbps' }), await PageLines({ ...fdcan, dataRate: '2000' }));
});

test('an empty field gives the window\'s message by its name, the clock first', async () => {
  const cases = [
    [{ clock: '', rate: '' }, 'clock-missing'], [{ clock: '', rate: '500' }, 'clock-missing'],
    [{ clock: '42', rate: '' }, 'rate-missing'],
  ];
  for (const [fields, name] of cases) {
    for (const type of ['compute', 'best']) {
      const error = await worker.ask(type, { ...fields, samplePoint: 0, tolerance: 0 }).then(
        () => assert.fail(`${type} answered`), (e) => e);
      assert.equal(error.name, name);
    }
  }
  // The window's GBK messages, in UTF-8 by the refusals' names, are the page's Chinese.
  assert.deepEqual(Plain(worker.messages[0].result).windowMessages,
    { 'clock-missing': '请输入AHB1时钟频率', 'rate-missing': '请输入CAN波特率' });
});

test('a selector with nothing selected reads as the window\'s -1', async () => {
  // No sample-point item: a minimum of 30%, which 36 MHz / 500 Kbps passes with BS1 1tq, BS2 2tq.
  const none = await PageLines({ clock: '36', rate: '500', samplePoint: -1, tolerance: 0 });
  const at40 = await PageLines({ clock: '36', rate: '500', samplePoint: 0, tolerance: 0 });
  assert.ok(none.length > at40.length);
  assert.ok(none.includes('CAN_BS1_1tq\tCAN_BS2_2tq\t18\t50.0%\t500\t0%') || none.some((l) => l.startsWith('CAN_BS1_1tq\tCAN_BS2_2tq')));
});

test('any text is read: emoji, lone surrogates, Chinese, very long pastes', async () => {
  const texts = [
    '😀42', '42😀', '\ud800', '\udfff42', '4\ud8002', '时钟42', '42时钟', '\u0000', '€',
    '4'.repeat(100000), '9'.repeat(400) + 'e-390', '1'.repeat(5000) + '.5',
  ];
  for (const text of texts) {
    for (const request of [{ clock: text, rate: '500' }, { clock: '42', rate: text }]) {
      const answer = await worker.compute({ ...request, samplePoint: 0, tolerance: 0 }).then(
        (rows) => rows, (error) => error);
      assert.ok(answer.rowEnds !== undefined || /^(clock|rate)-(missing|unreadable)$/.test(answer.name),
        JSON.stringify(answer).slice(0, 200));
    }
  }
  // A character without a GBK form is "?": no digit, before the number or after it.
  for (const clock of ['😀42', '42😀']) {
    const error = await worker.compute({ clock, rate: '500', samplePoint: 0, tolerance: 0 }).then(
      () => assert.fail(`"${clock}" listed`), (e) => e);
    assert.equal(error.name, 'clock-unreadable');
  }
});

// The companion's line on stderr for arguments it refuses.
function CompanionRefusal(args) {
  try {
    execFileSync(kCompanion, args, { encoding: 'utf8', stdio: ['ignore', 'pipe', 'pipe'] });
  } catch (error) {
    return error.stderr;
  }
  return assert.fail(`the companion took ${args.join(' ')}`);
}

test('every message is a reply {id, ok, result} or {id, ok: false, error}, or a partial before one', async () => {
  const first = worker.messages.length;
  const fdcan = { controller: 'fdcan', clock: '80', rate: '500', samplePoint: 3, tolerance: 0, dataRate: '2000' };
  const asked = [
    worker.ask('compute', { clock: '42', rate: '500', samplePoint: 0, tolerance: 0 }),
    worker.ask('best', { clock: '42', rate: '500', samplePoint: 0, tolerance: 0 }),
    worker.ask('compute', { clock: '', rate: '500', samplePoint: 0, tolerance: 0 }),
    worker.ask('download', fdcan),
    worker.ask('decode', { clock: '42', rate: '500', nominal: '0x001C0001' }),
    worker.ask('code', { clock: '42', rate: '500', form: 'hal', nominal: { prescaler: 6, seg1: 11, seg2: 2 } }),
    worker.ask('sing', {}),
  ];
  const settled = await Promise.allSettled(asked);
  assert.deepEqual(settled.map((s) => s.status),
    ['fulfilled', 'fulfilled', 'rejected', 'fulfilled', 'fulfilled', 'fulfilled', 'rejected']);
  assert.equal(settled[6].reason.name, 'unknown-request');
  const messages = worker.messages.slice(first);
  const finals = new Map();
  let partials = 0;
  for (const message of messages) {
    assert.ok(Number.isInteger(message.id) && message.id > 0, JSON.stringify(message).slice(0, 100));
    assert.ok(!finals.has(message.id), `a message after the reply to ${message.id}`);
    if (message.partial !== undefined) {
      assert.deepEqual(Object.keys(message).sort(), ['id', 'partial']);
      ++partials;
      continue;
    }
    finals.set(message.id, message);
    assert.deepEqual(Object.keys(message).sort(), message.ok ? ['id', 'ok', 'result'] : ['error', 'id', 'ok']);
    assert.equal(typeof (message.ok ? message.result : message.error.name), message.ok ? 'object' : 'string');
  }
  assert.equal(finals.size, asked.length);
  assert.ok(partials >= 1);
  assert.deepEqual(Object.keys(settled[0].value).sort(), ['bytes', 'columns', 'count', 'kept', 'rowEnds', 'settings']);
  assert.deepEqual(Object.keys(settled[1].value).sort(),
    ['best', 'clockWarning', 'longestBus', 'settings', 'targetNotes', 'tolerance', 'warnings']);
  assert.deepEqual(Object.keys(settled[4].value).sort(), ['columns', 'text', 'warnings']);
});

test('FDCAN\'s whole listing comes in partial chunks, in order, then its byte count', async () => {
  const request = { controller: 'fdcan', clock: '80', rate: '500', samplePoint: 3, tolerance: 0, dataRate: '2000' };
  const chunks = [];
  const result = await worker.ask('download', request, (partial) => chunks.push(partial.chunk));
  const text = Buffer.concat(chunks.map((chunk) => Buffer.from(chunk))).toString('latin1');
  assert.equal(result.bytes, text.length);
  // The page's rows, as the grid shows them: the companion's with the page's Tq (ns).
  assert.equal(text, `${PageRows(['--controller', 'fdcan', '--clock', '80', '--rate', '500', '--sample-point', '70',
    '--data-rate', '2000']).join('\n')}\n`);
  // A listing this long comes in more than one chunk, none of it kept by the worker.
  const big = [];
  await worker.ask('download', { ...request, clock: '160', tolerance: 10 }, (partial) => big.push(partial.chunk.length));
  assert.ok(big.length > 1, `${big.length} chunks`);
  // The answers' sink hands over a chunk once 64 KiB have gathered.
  assert.ok(Math.max(...big) < 2 * 65536, `a chunk of ${Math.max(...big)} bytes`);
});

// A setting as the worker hands it: five numbers a row (phase, prescaler, seg1, seg2, SJW).
const kSettingFields = 5;
const kPhaseNumbers = { nominal: 1, data: 2 };

function SettingOf(settings, row) {
  const [phase, prescaler, seg1, seg2, sjw] = settings.subarray(row * kSettingFields, (row + 1) * kSettingFields);
  return { phase, prescaler, seg1, seg2, sjw };
}

test('a bxCAN listing gives each row\'s setting beside its text', async () => {
  for (const [clock, rate, samplePoint] of [['42', '500', 0], ['42.5', '500', 0], ['8', '125', 4]]) {
    const rows = await worker.compute({ clock, rate, samplePoint, tolerance: 0 });
    const lines = RowLines(rows);
    assert.equal(rows.settings.length, lines.length * kSettingFields);
    for (let row = 0; row < lines.length; ++row) {
      const { phase, prescaler, seg1, seg2, sjw } = SettingOf(rows.settings, row);
      // The widest SJW the row allows (the page's grid is no window's text): BS2, at most 4.
      assert.deepEqual([phase, sjw], [0, Math.min(seg1, seg2, 4)], `${lines[row]} ${row}`);
      assert.ok(lines[row].startsWith(`CAN_BS1_${seg1}tq\tCAN_BS2_${seg2}tq\t${prescaler}\t`), `${lines[row]} ${row}`);
    }
  }
});

// FDCAN's listings whose rows' settings are checked against their texts: with and
// without a data rate, and more than one block of rows (8192 a block).
const kFdcanListings = [
  { clock: '80', rate: '500', samplePoint: 3, tolerance: 0, dataRate: '2000' },
  { clock: '40', rate: '1000', samplePoint: 0, tolerance: 1, dataRate: '' },
  { clock: '160', rate: '500', samplePoint: 0, tolerance: 10, dataRate: '5000' },
];

// The companion's reading of an FDCAN register value at a clock: its lengths and SJW.
function DecodedSetting(clock, phase, register) {
  const option = phase === 'data' ? '--decode-data' : '--decode';
  const { prescaler, seg1, seg2, sjw } =
    JSON.parse(CompanionText(['--controller', 'fdcan', '--clock', clock, option, register, '--format', 'json']))[phase][0];
  return { prescaler, seg1, seg2, sjw };
}

test('an FDCAN listing gives each row\'s setting beside its text: the phase, the lengths, the register\'s SJW', async () => {
  let blocksSeen = 0;
  for (const request of kFdcanListings) {
    const rows = await worker.compute({ controller: 'fdcan', ...request });
    const lines = RowLines(rows);
    assert.ok(lines.length > 0);
    assert.equal(rows.settings.length, lines.length * kSettingFields);
    if (lines.length > 8192) ++blocksSeen;
    // The SJW is no column of the listing: the register holds it. Each distinct
    // register is decoded once by the companion, which reads back the row's lengths.
    const decoded = new Map();
    const keys = rows.columns.map((column) => column.key);
    for (let row = 0; row < lines.length; ++row) {
      const cells = lines[row].split('\t');
      const [phase, seg1, seg2, prescaler, register] =
        ['phase', 'seg1', 'seg2', 'prescaler', 'register'].map((key) => cells[keys.indexOf(key)]);
      const setting = SettingOf(rows.settings, row);
      assert.deepEqual([setting.phase, setting.seg1, setting.seg2, setting.prescaler],
        [kPhaseNumbers[phase], Number(seg1), Number(seg2), Number(prescaler)], `${lines[row]} ${row}`);
      if (row % 97 !== 0 && row !== lines.length - 1) continue;
      const key = `${phase} ${register}`;
      if (!decoded.has(key)) decoded.set(key, DecodedSetting(request.clock, phase, register));
      const { prescaler: p, seg1: s1, seg2: s2, sjw } = setting;
      assert.deepEqual({ prescaler: p, seg1: s1, seg2: s2, sjw }, decoded.get(key), `${lines[row]} ${row}`);
    }
  }
  assert.ok(blocksSeen >= 1, 'a listing of more than one block');
});

test('the best reply gives its lines\' settings, which the code request takes back', async () => {
  const bx = await worker.ask('best', { clock: '42', rate: '500', samplePoint: 0, tolerance: 0 });
  assert.equal(bx.best, `${PageRows(['--best']).join('\n')}\n`);
  // The widest SJW the setting allows, as every controller's best carries it.
  assert.deepEqual([...bx.settings], [0, 6, 11, 2, 2]);
  const args = ['--controller', 'fdcan', '--clock', '80', '--rate', '500', '--sample-point', '70', '--data-rate', '2000'];
  const fd = await worker.ask('best', { controller: 'fdcan', clock: '80', rate: '500', samplePoint: 3, tolerance: 0,
    dataRate: '2000' });
  const lines = PageRows([...args, '--best']);
  assert.equal(fd.best, `${lines.join('\n')}\n`);
  assert.equal(fd.settings.length, 2 * kSettingFields);
  for (const [i, phase] of ['nominal', 'data'].entries()) {
    const register = CompanionLines([...args, '--best'])[i].split('\t')[7];  // the companion's own line
    assert.deepEqual({ ...SettingOf(fd.settings, i) },
      { phase: kPhaseNumbers[phase], ...DecodedSetting('80', phase, register) }, lines[i]);
  }
  // None meets the request: no line, no setting.
  const none = await worker.ask('best', { clock: '1', rate: '5000', samplePoint: 0, tolerance: 0 });
  assert.deepEqual([none.best, none.settings.length], ['', 0]);
});

test('code for a row\'s setting is the companion\'s block for that setting', async () => {
  const ask = (fields) => worker.ask('code', { clock: '42', rate: '500', dataRate: '', ...fields }).then((r) => r.text);
  // bxCAN's best (prescaler 6, BS1 11, BS2 2), both forms, with the row's SJW or the
  // listing's (0: the widest, 2).
  for (const form of ['hal', 'spl']) {
    for (const [sjw, options] of [[2, []], [0, []], [1, ['--sjw', '1']]]) {
      assert.equal(await ask({ form, nominal: { prescaler: 6, seg1: 11, seg2: 2, sjw } }),
        CompanionText(['--best', ...options, '--format', form]), `${form} SJW ${sjw}`);
    }
  }
  // A listed row of 8 MHz, 125 Kbps: its CAN_BTR decoded.
  const rows = await worker.compute({ clock: '8', rate: '125', samplePoint: 0, tolerance: 0 });
  const { prescaler, seg1, seg2, sjw } = SettingOf(rows.settings, 2);
  const fields = ((sjw - 1) << 24) | ((seg2 - 1) << 20) | ((seg1 - 1) << 16) | (prescaler - 1);
  const register = `0x${fields.toString(16).padStart(8, '0')}`;
  assert.equal(await ask({ clock: '8', rate: '125', form: 'spl', nominal: { prescaler, seg1, seg2, sjw } }),
    CompanionText(['--clock', '8', '--rate', '125', '--decode', register, '--format', 'spl']));
});

test('code for an FDCAN pair is the companion\'s --best output for the same pair', async () => {
  // Each case's best pair as the page's best reply gives it, sent back as the pair:
  // both blocks, the TDC lines and the pair's tolerance, byte for byte.
  for (const request of kFdcanListings) {
    const args = ['--controller', 'fdcan', '--clock', request.clock, '--rate', request.rate,
      '--sample-point', String(40 + request.samplePoint * 10), '--tolerance', String(request.tolerance)];
    if (request.dataRate !== '') args.push('--data-rate', request.dataRate);
    const best = await worker.ask('best', { controller: 'fdcan', ...request });
    const phases = request.dataRate !== '' ? ['nominal', 'data'] : ['nominal'];
    assert.equal(best.settings.length, phases.length * kSettingFields, args.join(' '));
    const [nominal, data] = phases.map((phase, i) => {
      const { prescaler, seg1, seg2, sjw } = SettingOf(best.settings, i);
      return { prescaler, seg1, seg2, sjw };
    });
    for (const form of ['hal', 'linux', 'python-can', 'registers', 'zephyr']) {
      const code = await worker.ask('code', { controller: 'fdcan', ...request, form, nominal, data });
      assert.equal(code.text, CompanionText([...args, '--best', '--format', form]), `${args.join(' ')} ${form}`);
    }
  }
  // A data row's setting as the listing handed it, with the nominal best: the block its
  // DBTP decodes to, then the TDC advice.
  const rows = await worker.compute({ controller: 'fdcan', ...kFdcanListings[0] });
  const lines = RowLines(rows);
  const last = SettingOf(rows.settings, lines.length - 1);
  assert.equal(last.phase, kPhaseNumbers.data);
  const best = await worker.ask('best', { controller: 'fdcan', ...kFdcanListings[0] });
  const first = SettingOf(best.settings, 0);
  const code = await worker.ask('code', { controller: 'fdcan', ...kFdcanListings[0], form: 'hal',
    nominal: { prescaler: first.prescaler, seg1: first.seg1, seg2: first.seg2, sjw: first.sjw },
    data: { prescaler: last.prescaler, seg1: last.seg1, seg2: last.seg2, sjw: last.sjw } });
  const register = lines.at(-1).split('\t')[rows.columns.findIndex((column) => column.key === 'register')];
  const decoded = CompanionText(['--controller', 'fdcan', '--clock', '80', '--data-rate', '2000',
    '--decode-data', register, '--format', 'hal']);
  assert.ok(code.text.split('\n\n')[1].startsWith(decoded), code.text);
  assert.match(code.text, /\/\* both phases together: oscillator tolerance \d+\.\d\d% \*\/\n$/);
});

test('refusals by name: reserved bits, a setting outside its ranges, an empty field', async () => {
  // The error as a plain object of this realm (the worker runs in a context of its own).
  const refusal = (type, fields) => worker.ask(type, fields).then(() => assert.fail(`${type} answered`), (e) => ({ ...e }));
  const reserved = await refusal('decode', { clock: '42', rate: '500', nominal: '0x001C0401' });
  assert.deepEqual([reserved.name, reserved.bits, reserved.field], ['reserved-bits', '10', 'decode-value']);
  const dataReserved = await refusal('decode', { controller: 'fdcan', clock: '80', rate: '', dataRate: '', nominal: '',
    data: String(0x00800000 | 0x01000000) });
  assert.deepEqual([dataReserved.name, dataReserved.bits, dataReserved.field], ['data-reserved-bits', '24', 'decode-data']);
  const outside = await refusal('code', { clock: '42', rate: '500', form: 'hal', nominal: { prescaler: 6, seg1: 17, seg2: 2 } });
  assert.equal(outside.name, 'setting-outside-ranges');
  // An SJW longer than a phase segment, or beyond the phase's range.
  const goodNominal = { prescaler: 1, seg1: 139, seg2: 20, sjw: 20 };
  const goodData = { prescaler: 1, seg1: 29, seg2: 10, sjw: 10 };
  for (const [nominal, data] of [[{ prescaler: 1, seg1: 139, seg2: 20, sjw: 21 }, goodData],
    [goodNominal, { prescaler: 1, seg1: 10, seg2: 9, sjw: 17 }], [{ prescaler: 513, seg1: 139, seg2: 20, sjw: 1 }, goodData]]) {
    const error = await refusal('code', { controller: 'fdcan', clock: '80', rate: '500', dataRate: '2000', form: 'hal',
      nominal, data });
    assert.equal(error.name, 'setting-outside-ranges', JSON.stringify([nominal, data]));
  }
  // A form the controller has not.
  const noForm = await refusal('code', { controller: 'fdcan', clock: '80', rate: '500', form: 'spl', nominal: goodNominal });
  assert.equal(noForm.name, 'form-not-for-controller');
  const missing = await refusal('code', { clock: '', rate: '500', form: 'hal', nominal: { prescaler: 6, seg1: 11, seg2: 2 } });
  assert.deepEqual([missing.name, missing.field], ['clock-missing', 'clock']);
});

// A sample of the controller table, with the new fields: each listing is the
// companion's --format tsv --wide for the same options, each best its --best.
const kControllerListings = [
  [{ controller: 'mcp2515', clock: '16', rate: '500' }, ['--controller', 'mcp2515', '--clock', '16']],
  [{ controller: 'mcp2515', clock: '8', rate: '125', samplePoint: 3, sjw: '2' },
    ['--controller', 'mcp2515', '--clock', '8', '--rate', '125', '--sample-point', '70', '--sjw', '2']],
  [{ controller: 'sja1000', clock: '24', rate: '250', tolerance: 1, nodeDelay: '300', busLength: '40' },
    ['--controller', 'sja1000', '--clock', '24', '--rate', '250', '--tolerance', '1', '--node-delay', '300',
      '--bus-length', '40']],
  [{ controller: 'esp32-twai', clock: '80', rate: '500', minTolerance: '0.5' },
    ['--controller', 'esp32-twai', '--clock', '80', '--min-tolerance', '0.5']],
  [{ controller: 'mcan', clock: '80', rate: '500', dataRate: '2000', samplePoint: 3, dataSjw: '4' },
    ['--controller', 'mcan', '--clock', '80', '--data-rate', '2000', '--sample-point', '70', '--data-sjw', '4']],
  [{ controller: 'mcp2518fd', clock: '40', rate: '1000', dataRate: '5000', samplePoint: 3 },
    ['--controller', 'mcp2518fd', '--clock', '40', '--rate', '1000', '--data-rate', '5000', '--sample-point', '70']],
  [{ controller: 'flexcan', clock: '40', rate: '500', samplePoint: 4, busLength: '100' },
    ['--controller', 'flexcan', '--clock', '40', '--sample-point', '80', '--bus-length', '100']],
  [{ controller: 'gs-usb', clock: '', rate: '500' }, null],  // its own clock: refused as missing, as the window's
  [{ controller: 'fdcan', clock: '80', rate: '500', sjw: '16', minTolerance: '0.3', dataRate: '2000' },
    ['--controller', 'fdcan', '--clock', '80', '--sjw', '16', '--min-tolerance', '0.3', '--data-rate', '2000']],
  [{ controller: 'bxcan', clock: '36', rate: '500', sjw: '3', minTolerance: '0.4', nodeDelay: '100' },
    ['--clock', '36', '--sjw', '3', '--min-tolerance', '0.4', '--node-delay', '100']],
];

test('every controller\'s listing and best setting are the companion\'s, with the SJW, bus and tolerance fields', async () => {
  for (const [fields, args] of kControllerListings) {
    const request = { samplePoint: 0, tolerance: 0, ...fields };
    if (args === null) {
      const error = await worker.ask('compute', request).then(() => assert.fail('listed'), (e) => e);
      assert.equal(error.name, 'clock-missing');
      continue;
    }
    const lines = await PageLines(request);
    assert.ok(lines.length > 0, args.join(' '));
    assert.deepEqual(lines, PageRows(args), args.join(' '));
    const rows = await worker.compute(request);
    // The columns are the lines' own: one key a cell.
    assert.equal(rows.columns.length, lines[0].split('\t').length, args.join(' '));
    const best = await worker.ask('best', request);
    assert.equal(best.best, `${PageRows([...args, '--best']).join('\n')}\n`, args.join(' '));
    // The tolerance beside it is the best line's (an FD pair's: the pair's, as the
    // companion's json says it), rounded down as every tolerance is: 0.625 shows 0.62%.
    const json = JSON.parse(CompanionText([...args, '--best', '--format', 'json']));
    const pair = json.oscillatorTolerance;
    const first = (json.nominal ?? json)[0];
    const expected = pair !== undefined ? pair : first.oscillatorTolerance;
    assert.equal(best.tolerance, `${(Math.floor(expected * 100 + 1e-6) / 100).toFixed(2)}%`, args.join(' '));
    assert.equal(best.longestBus, first.maxBusLength, args.join(' '));
  }
});

test('the best setting honours the least tolerance and warns of what the companion warns of', async () => {
  // 72 MHz at 1000 Kbps: the best has 0.00% and 8 m; with --min-tolerance another one.
  const plain = await worker.ask('best', { clock: '72', rate: '1000', samplePoint: 0, tolerance: 0 });
  assert.equal(plain.best, `${PageRows(['--clock', '72', '--rate', '1000', '--best']).join('\n')}\n`);
  assert.deepEqual([plain.tolerance, plain.longestBus], ['0.00%', 8]);
  const least = await worker.ask('best', { clock: '72', rate: '1000', samplePoint: 0, tolerance: 0, minTolerance: '0.1' });
  assert.notEqual(least.best, plain.best);
  // Each warning says what the companion's line says, in the page's words: the same
  // figures in the same order, in either language. The window's reference lengths
  // (40 m at 1000 Kbps) are no warning.
  const cases = [
    [{ clock: '72', rate: '1000', samplePoint: 0, tolerance: 0 }, ['--clock', '72', '--rate', '1000'],
      ['tolerance-zero', 'bus-shorter-than-asked']],
    [{ clock: '72', rate: '1000', samplePoint: 0, tolerance: 0, minTolerance: '0.1' },
      ['--clock', '72', '--rate', '1000', '--min-tolerance', '0.1'], []],
    [{ clock: '17', rate: '800', samplePoint: 0, tolerance: 5 }, ['--clock', '17', '--rate', '800', '--tolerance', '5'],
      ['error-above-tolerance']],
    [{ clock: '42', rate: '1000', samplePoint: 0, tolerance: 1, nodeDelay: '900' },
      ['--clock', '42', '--rate', '1000', '--tolerance', '1', '--node-delay', '900'],
      ['tolerance-zero', 'bus-shorter-than-asked']],
    [{ controller: 'fdcan', clock: '20', rate: '1000', dataRate: '5000', samplePoint: 0, tolerance: 5 },
      ['--controller', 'fdcan', '--clock', '20', '--rate', '1000', '--data-rate', '5000', '--tolerance', '5'],
      ['few-quanta']],
    [{ controller: 'fdcan', clock: '170', rate: '500', dataRate: '2000', samplePoint: 0, tolerance: 0, nodeDelay: '400' },
      ['--controller', 'fdcan', '--clock', '170', '--rate', '500', '--data-rate', '2000', '--node-delay', '400'],
      ['tdc-unusable']],
    [{ controller: 'peak-canfd', clock: '80', rate: '500', dataRate: '5000', samplePoint: 0, tolerance: 0 },
      ['--controller', 'peak-canfd', '--rate', '500', '--data-rate', '5000'], ['no-tdc']],
  ];
  const figures = (text) => text.match(/\d+(\.\d+)?/g) ?? [];
  for (const [request, args, names] of cases) {
    const best = await worker.ask('best', request);
    const lines = CompanionWarnings([...args, '--best']);
    assert.deepEqual(Plain(best.warnings).map((w) => w.name), names, args.join(' '));
    assert.equal(lines.length, names.length, args.join(' '));
    best.warnings.forEach((warning, i) => {
      for (const language of ['zh', 'en']) {
        const said = kTexts[language].bestWarnings[warning.name](warning);
        assert.deepEqual(figures(said), figures(lines[i]), `${language}: ${said} / ${lines[i]}`);
      }
    });
  }
});

test('code in every form a controller has is the companion\'s --best output', async () => {
  const cases = [
    [{ controller: 'mcp2515', clock: '16', rate: '500' }, ['--controller', 'mcp2515', '--clock', '16']],
    [{ controller: 'sja1000', clock: '24', rate: '250' }, ['--controller', 'sja1000', '--clock', '24', '--rate', '250']],
    [{ controller: 'esp32-twai', clock: '80', rate: '500' }, ['--controller', 'esp32-twai', '--clock', '80']],
    [{ controller: 'mcp2518fd', clock: '40', rate: '500', dataRate: '2000', samplePoint: 4 },
      ['--controller', 'mcp2518fd', '--clock', '40', '--data-rate', '2000', '--sample-point', '80']],
    [{ controller: 'flexcan-fd', clock: '40', rate: '500', dataRate: '4000', samplePoint: 4 },
      ['--controller', 'flexcan-fd', '--clock', '40', '--data-rate', '4000', '--sample-point', '80']],
    [{ controller: 'bxcan', clock: '36', rate: '125', samplePoint: 4 }, ['--clock', '36', '--rate', '125', '--sample-point', '80']],
  ];
  const controllers = new Map(worker.messages[0].result.controllers.map((c) => [c.name, c]));
  let compared = 0;
  for (const [fields, args] of cases) {
    const request = { samplePoint: 0, tolerance: 0, ...fields };
    const best = await worker.ask('best', request);
    const [nominal, data] = [0, 1].map((i) => (best.settings.length > i * kSettingFields
      ? (({ prescaler, seg1, seg2, sjw }) => ({ prescaler, seg1, seg2, sjw }))(SettingOf(best.settings, i)) : undefined));
    for (const form of controllers.get(fields.controller).forms) {
      const code = await worker.ask('code', { ...request, form, nominal, data });
      assert.equal(code.text, CompanionText([...args, '--best', '--format', form]), `${args.join(' ')} ${form}`);
      ++compared;
    }
  }
  assert.ok(compared >= 25, `${compared} forms`);
});

test('the start reply lists every controller with the forms the companion writes for it', async () => {
  const { controllers, columns } = Plain(worker.messages[0].result);
  const list = JSON.parse(CompanionText(['--controller', 'list', '--format', 'json']));
  assert.deepEqual(controllers.map((c) => c.name), list.map((c) => c.name));
  const kForms = ['hal', 'spl', 'registers', 'linux', 'zephyr', 'python-can', 'esp-idf', 'sdk'];
  for (const [i, controller] of controllers.entries()) {
    assert.deepEqual([controller.vendor, controller.chips, controller.clock, controller.fd],
      [list[i].vendor, list[i].chips, list[i].clock, list[i].data !== null], controller.name);
    assert.ok(Array.isArray(columns[controller.name]) && columns[controller.name].length >= 8, controller.name);
    assert.ok(/^prescaler \d/.test(controller.limits.nominal), controller.limits.nominal);
    assert.equal(controller.limits.data === null, !controller.fd, controller.name);
    // A form is offered exactly where the companion writes it (for a clock the
    // controller takes: a fixed one where it has one).
    const clock = controller.fixedClockKHz ? [] : ['--clock', '80'];
    const offered = kForms.filter((form) => {
      try {
        execFileSync(kCompanion, ['--controller', controller.name, ...clock, '--best', '--format', form],
          { stdio: ['ignore', 'ignore', 'ignore'] });
        return true;
      } catch (error) {
        return error.status === 0;
      }
    });
    assert.deepEqual(controller.forms, offered, controller.name);
  }
});

// A value of the worker's realm as one of this realm (for deepEqual).
function Plain(value) {
  return JSON.parse(JSON.stringify(value));
}

// The companion's lines on stderr for a decode, without its name.
function CompanionWarnings(args) {
  const run = spawnSync(kCompanion, args, { encoding: 'utf8' });
  return run.stderr.split('\n').filter(Boolean).map((line) => line.replace(/^quillmere-cli: warning: /, ''));
}

test('decode of every controller\'s registers: the companion\'s rows and warnings, its number forms', async () => {
  const cases = [
    [{ controller: 'mcp2515', clock: '16', rate: '500', nominal: 'CNF1=0x01,CNF2=0xB5,CNF3=0x01' },
      ['--controller', 'mcp2515', '--clock', '16', '--rate', '500', '--decode', 'CNF1=0x01,CNF2=0xB5,CNF3=0x01']],
    [{ controller: 'mcp2515', clock: '16', rate: '', nominal: 'CNF1=0xC1,CNF2=0xB5,CNF3=0x01' },
      ['--controller', 'mcp2515', '--clock', '16', '--decode', 'CNF1=0xC1,CNF2=0xB5,CNF3=0x01']],
    [{ controller: 'bxcan', clock: '42', rate: '500', nominal: '0x00000000001' },
      ['--clock', '42', '--rate', '500', '--decode', '0x00000000001']],
    [{ controller: 'bxcan', clock: '42', rate: '', nominal: '0x03010000' }, ['--clock', '42', '--decode', '0x03010000']],
    [{ controller: 'fdcan', clock: '80', rate: '500', dataRate: '2000', nominal: '0x26008A13', data: '0x00001C99' },
      ['--controller', 'fdcan', '--clock', '80', '--rate', '500', '--data-rate', '2000', '--decode', '0x26008A13',
        '--decode-data', '0x00001C99']],
    [{ controller: 'fdcan', clock: '80', rate: '', dataRate: '', nominal: '', data: '0x00000033' },
      ['--controller', 'fdcan', '--clock', '80', '--decode-data', '0x00000033']],
    [{ controller: 'sja1000', clock: '16', rate: '', nominal: 'BTR0=0x00,BTR1=0x1C' },
      ['--controller', 'sja1000', '--clock', '16', '--decode', 'BTR0=0x00,BTR1=0x1C']],
  ];
  for (const [fields, args] of cases) {
    const decoded = await worker.ask('decode', fields);
    const lines = PageRows(args);
    assert.equal(decoded.text, `${lines.join('\n')}\n`, args.join(' '));
    assert.equal(decoded.columns.length, lines[0].split('\t').length, args.join(' '));
    assert.deepEqual(Plain(decoded.warnings), CompanionWarnings(args), args.join(' '));
  }
  // Texts that are no value: refused as the companion refuses them, by the field.
  const refusals = [
    [{ controller: 'mcp2515', clock: '16', nominal: 'CNF1=0x01,CNF2' }, 'decode-unreadable', 'decode-value',
      ['--controller', 'mcp2515', '--clock', '16', '--decode', 'CNF1=0x01,CNF2']],
    [{ controller: 'mcp2515', clock: '16', nominal: 'CNF9=0x01,CNF2=0xB5,CNF3=0x01' }, 'unknown-register', 'decode-value',
      ['--controller', 'mcp2515', '--clock', '16', '--decode', 'CNF9=0x01,CNF2=0xB5,CNF3=0x01']],
    [{ controller: 'bxcan', clock: '42', nominal: '0x1FFFFFFFF' }, 'decode-unreadable', 'decode-value',
      ['--clock', '42', '--decode', '0x1FFFFFFFF']],
    [{ controller: 'fdcan', clock: '80', nominal: '', data: 'x' }, 'decode-data-unreadable', 'decode-data',
      ['--controller', 'fdcan', '--clock', '80', '--decode-data', 'x']],
  ];
  for (const [fields, name, field, args] of refusals) {
    const error = await worker.ask('decode', fields).then(() => assert.fail(`decoded ${fields.nominal}`), (e) => e);
    assert.deepEqual([error.name, error.field], [name, field], JSON.stringify(fields));
    assert.equal(`quillmere-cli: ${error.detail}\n`.slice(-error.detail.length - 1), CompanionRefusal(args).slice(-error.detail.length - 1),
      args.join(' '));
  }
});

test('a field that holds no value is refused with its field and the companion\'s reason', async () => {
  const cases = [
    [{ controller: 'bxcan', sjw: '5' }, 'sjw-unreadable', 'sjw', ['--sjw', '5']],
    [{ controller: 'mcp2515', clock: '16', sjw: 'x' }, 'sjw-unreadable', 'sjw', ['--controller', 'mcp2515', '--sjw', 'x']],
    [{ controller: 'fdcan', clock: '80', dataRate: '2000', dataSjw: '17' }, 'data-sjw-unreadable', 'data-sjw',
      ['--controller', 'fdcan', '--data-sjw', '17']],
    [{ nodeDelay: '10001' }, 'node-delay-unreadable', 'node-delay', ['--node-delay', '10001']],
    [{ nodeDelay: '1.5' }, 'node-delay-unreadable', 'node-delay', ['--node-delay', '1.5']],
    [{ busLength: '-1' }, 'bus-length-unreadable', 'bus-length', ['--bus-length', '-1']],
    [{ minTolerance: '0.1234567' }, 'min-tolerance-unreadable', 'min-tolerance', ['--min-tolerance', '0.1234567']],
    [{ minTolerance: '101' }, 'min-tolerance-unreadable', 'min-tolerance', ['--min-tolerance', '101']],
  ];
  for (const [fields, name, field, args] of cases) {
    for (const type of ['compute', 'best', 'download']) {
      const error = await worker.ask(type, { clock: '42', rate: '500', samplePoint: 0, tolerance: 0, ...fields })
        .then(() => assert.fail(`${type} answered for ${JSON.stringify(fields)}`), (e) => e);
      assert.deepEqual([error.name, error.field], [name, field], `${type} ${JSON.stringify(fields)}`);
      assert.ok(CompanionRefusal(args).endsWith(`: ${error.detail}\n`), `${error.detail} / ${args.join(' ')}`);
    }
  }
  // Units and full-width digits around a number are read, as for the clock.
  assert.deepEqual(await PageLines({ clock: '42', rate: '500', nodeDelay: '１００ ns', busLength: '40 m', minTolerance: '0.3%' }),
    PageRows(['--node-delay', '100', '--bus-length', '40', '--min-tolerance', '0.3']));
  for (const language of ['zh', 'en']) {
    for (const status of ['sjw-unreadable', 'data-sjw-unreadable', 'node-delay-unreadable', 'bus-length-unreadable',
      'min-tolerance-unreadable']) {
      assert.ok(kTexts[language].unreadable[status], `${language} ${status}`);
    }
  }
});

// --- The bus plan and the parts of a bit -----------------------------------------------

// The companion's arguments for the page's plan fields: the selectors by their
// values, each node a --node.
function PlanArguments(fields) {
  const args = ['--plan', '--rate', fields.rate, '--sample-point', String(40 + 10 * (fields.samplePoint ?? 0)),
    '--tolerance', String(fields.tolerance ?? 0)];
  const options = [['dataRate', '--data-rate'], ['nodeDelay', '--node-delay'], ['busLength', '--bus-length'],
    ['minTolerance', '--min-tolerance'], ['spread', '--sample-point-spread']];
  for (const [key, option] of options) if ((fields[key] ?? '') !== '') args.push(option, fields[key]);
  for (const node of fields.nodes.split(';').filter(Boolean)) args.push('--node', node);
  return args;
}

const kPlans = [
  { rate: '500', tolerance: 1, nodes: 'a=bxcan@42;b=mcp2515@16;c=sja1000@16' },
  { rate: '500', dataRate: '2000', samplePoint: 2, nodes: 'a=fdcan@80;b=mcp2518fd@40' },
  { rate: '250', samplePoint: 3, tolerance: 2, nodeDelay: '120', busLength: '40', spread: '5',
    nodes: 'ecu=bxcan@36;gw=lpc@60;pi=mcp2515@8' },
  { rate: '1000', tolerance: 1, minTolerance: '0.3', nodes: 'x=flexcan@40;y=c_can@48;' },
  { rate: '500', dataRate: '4000', samplePoint: 3, nodes: 'h7=fdcan@80;imx=flexcan-fd@40;rc=rcar-canfd@40' },
];

test('the plan is the companion\'s --plan --format json, byte for byte, and its tables the companion\'s table', async () => {
  for (const fields of kPlans) {
    const result = await worker.ask('plan', fields);
    const args = PlanArguments(fields);
    assert.equal(result.text, CompanionText([...args, '--format', 'json']), args.join(' '));
    assert.deepEqual(Plain(result.plan), JSON.parse(result.text));
    // The page's table cells are the companion's table rows: columns two spaces apart
    // at least, a cell never holding two spaces.
    const table = CompanionText(args).split('\n\n');
    const rows = (block) => block.split('\n').slice(1).map((line) => line.trim().split(/ {2,}/));
    assert.deepEqual(Plain(result.shown.nominal.rows), rows(table[0]), args.join(' '));
    assert.equal(result.shown.data === null, fields.dataRate === undefined);
    if (fields.dataRate !== undefined) assert.deepEqual(Plain(result.shown.data.rows), rows(table[1]));
    const figures = table[fields.dataRate !== undefined ? 2 : 1];
    assert.ok(figures.includes(`\nMargin: ${result.shown.margin} (`), figures);
    assert.ok(figures.includes(`\nLongest bus: ${result.shown.longestBus}\n`), figures);
    assert.equal(result.shown.margin, `${result.plan.margin.toFixed(2)}%`);
    assert.deepEqual(Plain(result.shown.bits.map((bit) => bit.name)), Plain(result.plan.nodes.map((node) => node.name)));
  }
});

test('the plan\'s code is the companion\'s --plan --format FORM, byte for byte', async () => {
  const cases = [
    [kPlans[0], ['linux', 'registers', 'zephyr', 'python-can', 'hal', 'spl']],
    [kPlans[1], ['hal', 'linux', 'registers']],
    [kPlans[4], ['zephyr', 'registers']],
  ];
  for (const [fields, forms] of cases) {
    for (const form of forms) {
      const { text } = await worker.ask('plan-code', { ...fields, form });
      assert.equal(text, CompanionText([...PlanArguments(fields), '--format', form]), `${fields.nodes} ${form}`);
    }
  }
});

// Plans the companion refuses, by the status name and the page field, with its line.
const kPlanRefusals = [
  [{ rate: '500', nodes: 'a=bxcan@42' }, 'plan-few-nodes', 'nodes'],
  [{ rate: '500', nodes: 'a=bxcan@42;a=mcp2515@16' }, 'node-repeated', 'nodes'],
  [{ rate: '500', nodes: 'a=bxcan@42;b=nosuch@16' }, 'node-controller', 'nodes'],
  [{ rate: '500', nodes: 'a=bxcan@42;b=mcp2515@abc' }, 'node-clock', 'nodes'],
  [{ rate: '500', nodes: 'a=bxcan@42;b c=mcp2515@16' }, 'node-name', 'nodes'],
  [{ rate: '500', nodes: 'a=bxcan@42;mcp2515@16' }, 'node-malformed', 'nodes'],
  [{ rate: '500', dataRate: '2000', nodes: 'a=fdcan@80;b=bxcan@42' }, 'plan-classic-node', 'nodes'],
  [{ rate: '500', nodes: 'a=bxcan@42;b=bxcan@43' }, 'node-without-setting', 'nodes'],
  [{ rate: '1000', tolerance: 1, spread: '0', nodes: 'a=bxcan@42;b=mcp2515@10' }, 'no-bus', 'nodes'],
  [{ rate: '1000', tolerance: 1, spread: '0', nodeDelay: '0', busLength: '0', nodes: 'a=bxcan@42;b=mcp2515@16' },
    'spread-too-wide', 'spread'],
  [{ rate: '1000', tolerance: 1, nodes: 'a=mcp2515@16;b=mcp2515@8' }, 'short-bus', 'nodes'],
  [{ rate: 'abc', nodes: 'a=bxcan@42;b=bxcan@42' }, 'rate-unreadable', 'rate'],
  [{ rate: '500', nodeDelay: 'abc', nodes: 'a=bxcan@42;b=mcp2515@16' }, 'node-delay-unreadable', 'node-delay'],
  [{ rate: '500', busLength: '100001', nodes: 'a=bxcan@42;b=mcp2515@16' }, 'bus-length-unreadable', 'bus-length'],
  [{ rate: '500', minTolerance: '-1', nodes: 'a=bxcan@42;b=mcp2515@16' }, 'min-tolerance-unreadable', 'min-tolerance'],
  [{ rate: '500', spread: '1.0000001', nodes: 'a=bxcan@42;b=mcp2515@16' }, 'spread-unreadable', 'spread'],
  [{ rate: '500', dataRate: '-2', nodes: 'a=fdcan@80;b=mcp2518fd@40' }, 'data-rate-unreadable', 'data-rate'],
];

test('a plan the companion refuses comes back by name, field and the companion\'s line', async () => {
  for (const [fields, name, field] of kPlanRefusals) {
    for (const type of ['plan', 'plan-code']) {
      const error = await worker.ask(type, { ...fields, form: 'linux' }).then(
        () => assert.fail(`${type} answered for ${fields.nodes}`), (e) => e);
      assert.equal(error.name, name, fields.nodes);
      assert.equal(error.field, field, fields.nodes);
      // A line per obstacle, the page's joined by line breaks as the companion's are.
      const line = CompanionRefusal(PlanArguments(fields)).replace(/^quillmere-cli: /gm, '').replace(/\n$/, '');
      assert.equal(error.detail, line, fields.nodes);
    }
  }
  // A form no node has: every node's registers form, as the companion writes it.
  const espIdf = await worker.ask('plan-code', { ...kPlans[0], form: 'esp-idf' });
  assert.equal(espIdf.text, CompanionText([...PlanArguments(kPlans[0]), '--format', 'esp-idf']));
  assert.match(espIdf.text, /has no esp-idf form: its registers form instead/);
  // An empty rate is refused as the page's listing refuses it (the companion takes 500).
  const empty = await worker.ask('plan', { rate: '', nodes: 'a=bxcan@42;b=mcp2515@16' }).then(assert.fail, (e) => e);
  assert.equal(empty.name, 'rate-missing');
});

// Settings worked by hand. prop where seg1 is one field: ceil(2 x (delay + 5 ns/m x
// length) / tq), at most seg1 - 1; the defaults are 250 ns and 10 m, 600 ns there.
const kBitParts = [
  // 42 MHz / 7: tq 166.667 ns, 600 / 166.667 = 3.6 -> 4; 12 tq = 2000 ns; 9 / 12.
  [{ controller: 'bxcan', clock: '42', phase: 'bxcan', prescaler: 7, seg1: 8, seg2: 3 },
    { prop: 4, phase1: 4, phase2: 3, split: false, tqNs: '166.667', samplePoint: '75%', bitNs: '2000', scalePs: 2000000 }],
  // 72 MHz / 4: tq 55.556 ns, 600 / 55.556 = 10.8 -> 11; 18 tq = 1000 ns; 16 / 18, as
  // bxCAN's grid row shows it (the window's cut).
  [{ controller: 'bxcan', clock: '72', phase: 'bxcan', prescaler: 4, seg1: 15, seg2: 2 },
    { prop: 11, phase1: 4, phase2: 2, split: false, tqNs: '55.556', samplePoint: '88.8%', bitNs: '1000', scalePs: 1000000 }],
  // 42 MHz / 1: 600 / 23.81 = 25.2 -> 26, capped at seg1 - 1 = 3; 8 tq = 190.476 ns.
  [{ controller: 'bxcan', clock: '42', phase: 'bxcan', prescaler: 1, seg1: 4, seg2: 3 },
    { prop: 3, phase1: 1, phase2: 3, split: false, tqNs: '23.81', samplePoint: '62.5%', bitNs: '190.476', scalePs: 190476 }],
  // No delay and no bus: no propagation segment.
  [{ controller: 'bxcan', clock: '42', phase: 'bxcan', prescaler: 7, seg1: 8, seg2: 3, nodeDelay: '0', busLength: '0' },
    { prop: 0, phase1: 8, phase2: 3, split: false, tqNs: '166.667', samplePoint: '75%', bitNs: '2000', scalePs: 2000000 }],
  // 100 ns and 100 m: 2 x 600 / 166.667 = 7.2 -> 8, capped at 7.
  [{ controller: 'bxcan', clock: '42', phase: 'bxcan', prescaler: 7, seg1: 8, seg2: 3, nodeDelay: '100', busLength: '100' },
    { prop: 7, phase1: 1, phase2: 3, split: false, tqNs: '166.667', samplePoint: '75%', bitNs: '2000', scalePs: 2000000 }],
  // The MCP2515 keeps prop and phase1 in fields: seg1 11 is 5 + 6, as its CNF2.
  [{ controller: 'mcp2515', clock: '16', phase: 'nominal', prescaler: 2, seg1: 11, seg2: 4 },
    { prop: 5, phase1: 6, phase2: 4, split: true, tqNs: '125', samplePoint: '75%', bitNs: '2000', scalePs: 2000000 }],
  // FDCAN's data phase keeps no propagation segment; 0.7 as a float is below 70%.
  [{ controller: 'fdcan', clock: '80', phase: 'data', prescaler: 1, seg1: 27, seg2: 12 },
    { prop: 0, phase1: 27, phase2: 12, split: false, tqNs: '12.5', samplePoint: '70.0%', bitNs: '500', scalePs: 500000 }],
  // 42.5 MHz read as the page reads its clock: tq 23.529 ns, 600 / 23.529 = 25.5 -> 26.
  [{ controller: 'fdcan', clock: '42.5MHz', phase: 'nominal', prescaler: 1, seg1: 69, seg2: 15 },
    { prop: 26, phase1: 43, phase2: 15, split: false, tqNs: '23.529', samplePoint: '82.4%', bitNs: '2000', scalePs: 2000000 }],
];

test('the parts of a bit: sync, propagation, phase 1 and 2, the tq, sample point and bit time', async () => {
  for (const [setting, expected] of kBitParts) {
    const parts = await worker.ask('bit-parts', setting);
    assert.deepEqual(Plain(parts), { sync: 1, ...expected }, JSON.stringify(setting));
  }
  const refusals = [
    [{ controller: 'bxcan', clock: 'abc', phase: 'bxcan', prescaler: 7, seg1: 8, seg2: 3 }, 'clock-unreadable'],
    [{ controller: 'bxcan', clock: '42', phase: 'bxcan', prescaler: 7, seg1: 17, seg2: 3 }, 'setting-outside-ranges'],
    [{ controller: 'bxcan', clock: '42', phase: 'data', prescaler: 7, seg1: 8, seg2: 3 }, 'unknown-controller'],
    [{ controller: 'nosuch', clock: '42', phase: 'nominal', prescaler: 7, seg1: 8, seg2: 3 }, 'unknown-controller'],
    [{ controller: 'bxcan', clock: '42', phase: 'bxcan', prescaler: 7, seg1: 8, seg2: 3, busLength: 'x' },
      'bus-length-unreadable'],
  ];
  for (const [setting, name] of refusals) {
    const error = await worker.ask('bit-parts', setting).then(() => assert.fail(JSON.stringify(setting)), (e) => e);
    assert.equal(error.name, name, JSON.stringify(setting));
  }
});

test('the start reply\'s controllers are the companion\'s controller list, in its order', async () => {
  const { controllers } = worker.messages[0].result;
  const listed = CompanionText(['--controller', 'list', '--format', 'json']);
  const names = [...listed.matchAll(/"name": "([^"]+)"/g)].map((match) => match[1]);
  assert.deepEqual(Plain(controllers.map((controller) => controller.name)), names);
  assert.ok(controllers.length >= 20);
});

// The clock a controller is listed at here: its own where it has one, else 80 MHz.
function ClockOf(controller) {
  return controller.fixedClockKHz ? String(controller.fixedClockKHz / 1000) : '80';
}

test('a controller\'s face: the SJW its rows take when the field is empty', async () => {
  const { controllers, faces } = Plain(worker.messages[0].result);
  assert.deepEqual(Object.keys(faces), controllers.map((controller) => controller.name));
  const kinds = new Set();
  for (const controller of controllers) {
    const request = { controller: controller.name, clock: ClockOf(controller), rate: '500', dataRate: controller.fd ? '2000' : '' };
    const rows = await worker.compute(request);
    assert.ok(rows.kept > 0, controller.name);
    for (const [phase, key, field] of [[1, 'nominal', 'sjw'], [2, 'data', 'dataSjw'], [0, 'nominal', 'sjw']]) {
      const kind = faces[controller.name].sjw[key];
      const settings = [];
      for (let row = 0; row < rows.kept; ++row) {
        const setting = SettingOf(rows.settings, row);
        if (setting.phase === phase) settings.push(setting);
      }
      if (settings.length === 0) continue;
      kinds.add(/^\d+$/.test(kind) ? 'number' : kind);
      if (/^\d+$/.test(kind)) {
        assert.ok(settings.every((s) => s.sjw === Number(kind)), `${controller.name} ${key}`);
      } else if (kind === 'shorter') {
        assert.ok(settings.every((s) => s.sjw === Math.min(s.seg1, s.seg2)), `${controller.name} ${key}`);
      } else {
        assert.equal(kind, 'widest', controller.name);
        // The widest: asked for one more, the row's segments are not listed (or the
        // field is refused beyond the controller's limit).
        const first = settings[0];
        const wider = await worker.compute({ ...request, [field]: String(first.sjw + 1) }).catch(() => null);
        const again = [];
        for (let row = 0; row < (wider?.kept ?? 0); ++row) again.push(SettingOf(wider.settings, row));
        assert.ok(!again.some((s) => s.phase === phase && s.prescaler === first.prescaler && s.seg1 === first.seg1 &&
          s.seg2 === first.seg2), `${controller.name} ${key} ${JSON.stringify(first)}`);
      }
    }
  }
  // No controller's rows keep a fixed SJW: bxCAN's take the widest too.
  assert.deepEqual([...kinds].sort(), ['shorter', 'widest']);
});

test('a controller\'s face: its decode reads a bare value exactly where it says', async () => {
  const { controllers, faces } = Plain(worker.messages[0].result);
  let bare = 0;
  let pairs = 0;
  for (const controller of controllers) {
    const names = controller.registers.nominal;
    if (names.length === 0) continue;  // no registers to read
    const face = faces[controller.name];
    const reply = await worker.ask('decode', {
      controller: controller.name, clock: ClockOf(controller), rate: '', nominal: face.barePlaceholder.nominal,
    }).then(() => null, (error) => error);
    if (face.bareDecode || names.length === 1) {
      assert.ok(reply === null || !['bare-value-with-registers', 'decode-unreadable'].includes(reply.name),
        `${controller.name}: ${JSON.stringify(reply)}`);
      ++bare;
    } else {
      assert.equal(reply?.name, 'bare-value-with-registers', controller.name);
      ++pairs;
    }
  }
  assert.ok(bare >= 2 && pairs >= 2, `${bare} bare, ${pairs} pairs`);
});

test('the plan\'s code forms are those the companion writes a plan in', async () => {
  const { planForms } = Plain(worker.messages[0].result);
  const kForms = ['hal', 'spl', 'registers', 'linux', 'zephyr', 'python-can', 'esp-idf', 'sdk'];
  const args = ['--plan', '--node', 'a=bxcan@42', '--node', 'b=mcp2515@16', '--rate', '500'];
  const written = kForms.filter((form) => spawnSync(kCompanion, [...args, '--format', form]).status === 0);
  assert.deepEqual([...planForms].sort(), written.sort());
  const [first] = planForms;
  const code = await worker.ask('plan-code', { rate: '500', nodes: 'a=bxcan@42;b=mcp2515@16', samplePoint: 0, tolerance: 0, form: first });
  assert.equal(code.text, CompanionText([...args, '--format', first]));
});

test('the start reply\'s defaults are the companion\'s, and its advice and reference lengths the window\'s', async () => {
  const { defaults, advice, referenceLengths } = Plain(worker.messages[0].result);
  // A default given explicitly changes nothing the companion writes.
  const cases = [
    [['--rate', defaults.rate], []],
    [['--clock', defaults.clock], []],
    [['--bus-length', defaults.busLength, '--node-delay', defaults.nodeDelay], []],
    [['--min-tolerance', defaults.minTolerance], []],
  ];
  for (const [given, none] of cases) {
    assert.equal(CompanionText([...given, '--best', '--format', 'tsv', '--wide']), CompanionText([...none, '--best', '--format', 'tsv', '--wide']),
      given.join(' '));
  }
  const plan = ['--plan', '--node', 'a=bxcan@42', '--node', 'b=mcp2515@16', '--rate', '500'];
  assert.equal(CompanionText([...plan, '--sample-point-spread', defaults.spread]), CompanionText(plan));
  assert.equal(CompanionText([...plan, '--clock-accuracy', defaults.clockAccuracy]), CompanionText(plan));
  assert.equal(defaults.clockAccuracy, '100');
  // The window's advice text says these figures (ui/main_window_layout.cpp).
  assert.deepEqual(advice, [{ upToKbps: '500', percent: '87.5' }, { upToKbps: '800', percent: '80' },
    { upToKbps: null, percent: '75' }]);
  assert.deepEqual(referenceLengths.map((row) => `${row.rateKbps}Kbps->${row.metres}m`).join(','),
    '1000Kbps->40m,500Kbps->270m,250Kbps->530m,125Kbps->620m,100Kbps->1300m,50Kbps->3300m,10Kbps->6700m');
});
