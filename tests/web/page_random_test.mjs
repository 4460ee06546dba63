// The page never shows an answer to another question: random sequences, the same on every run, of
// edits (the rate error and the best's targets among them), Enter, selector changes, language switches, decodes and Back/Forward steps,
// and after each step every answer on screen (the rows, the best setting, the code)
// is the one a fresh load of the address shows, unless it is marked stale. A decode
// shown is the decode of the listing's own controller and clock.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';

import { kPageUrl, LaunchBrowser, OpenPage, TypeInto, WaitAnswered } from './browser.mjs';

let browser;
before(async () => { browser = await LaunchBrowser(); });
after(async () => { await browser?.close(); });

// mulberry32: a small generator of numbers, the same sequence on every machine.
function Random(start) {
  let state = start >>> 0;
  return () => {
    state = (state + 0x6D2B79F5) >>> 0;
    let t = state;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

// The answers on screen, each null when hidden or marked stale.
async function ShownAnswers(page) {
  return page.evaluate(() => {
    const shown = (id) => {
      const element = document.getElementById(id);
      if (!element || element.hidden || element.closest('[hidden]') || element.closest('.stale')) return null;
      return element.textContent;
    };
    const rows = [...document.querySelectorAll('#results .grid-body [aria-rowindex]')]
      .filter((row) => !row.hidden).slice(0, 4).map((row) => row.textContent);
    return {
      rowCount: document.getElementById('results').closest('.stale') ? null : document.getElementById('row-count').textContent,
      rows: document.getElementById('results').closest('.stale') ? null : rows,
      best: shown('best'),
      bestFacts: shown('best-facts'),
      bestNotes: shown('best-notes'),
      bestWarnings: shown('best-warnings'),
      code: shown('code'),
      plan: shown('plan-table'),
      planMargin: shown('plan-margin'),
      planBus: shown('plan-bus'),
      planCode: shown('plan-code'),
      planLimits: shown('plan-limits'),
      planMessage: shown('plan-message'),
    };
  });
}

// The query of the address, and the language the page shows.
async function Where(page) {
  return page.evaluate(() => ({ query: location.search, language: document.documentElement.lang }));
}

// The page a person gets by loading the address afresh, in the same language.
async function FreshAnswers(query, language) {
  const { context, page, problems } = await OpenPage(browser, { locale: 'en-US', query });
  try {
    await WaitAnswered(page);
    if ((await Where(page)).language !== language) {
      await page.click('#language');
      await WaitAnswered(page);
    }
    assert.deepEqual(problems, []);
    return await ShownAnswers(page);
  } finally {
    await context.close();
  }
}

const kClocks = ['42', '36', '8', '16', '80', '170', 'abc', '', '0', '42.5'];
const kRates = ['500', '125', '1000', '250', '8000', '', 'x', '500000'];
const kDataRates = ['2000', '5000', '8000', '', 'x'];
const kControllers = ['bxcan', 'mcp2515', 'fdcan'];
// The rate error: the window's whole percents, decimals, and some it refuses.
const kTolerances = ['0', '1', '3', '10', '0.25', '1.5', '', '0.125', '101'];
// The best's target sample point: the advice (empty), some it meets or misses, and
// some it refuses.
const kBestTargets = ['', '75', '87.5', '80', '49', 'x'];
const kDecodes = ['0x001C0001', 'CNF1=0x00,CNF2=0x90,CNF3=0x02', 'NBTP=0x06000E03', 'garbage', ''];
// The plan's own fields and a node's options, each with values it takes and some it
// refuses.
const kPlanFieldValues = {
  '#spread': ['', '0', '5', 'x'],
  '#target-sample-point': ['', '80', '87.5', '49'],
  '#data-target-sample-point': ['', '70', '101'],
  '#clock-accuracy': ['', '100', '5000', '100001'],
  // The first node's own options, where there is a node.
  '#plan-nodes .plan-node:first-child .plan-node-sjw': ['', '1', '9'],
  '#plan-nodes .plan-node:first-child .plan-node-ppm': ['', '50', '-1'],
  '#plan-nodes .plan-node:first-child .plan-node-setting': ['', '7/8/3', '6/17/2'],
};

// One step a person might take, drawn by random; its name for the failure's trace.
async function Step(page, random) {
  const pick = (list) => list[Math.floor(random() * list.length)];
  const kind = pick(['clock', 'rate', 'data', 'controller', 'sp', 'tol', 'enter', 'enter', 'language', 'back',
    'forward', 'decode', 'plan', 'plan-field', 'bt']);
  switch (kind) {
    case 'clock': { const v = pick(kClocks); await TypeInto(page, '#clock', v); return `clock "${v}"`; }
    case 'rate': { const v = pick(kRates); await TypeInto(page, '#rate', v); return `rate "${v}"`; }
    case 'data': {
      if (!(await page.isVisible('#data-rate'))) return 'data (hidden)';
      const v = pick(kDataRates);
      await TypeInto(page, '#data-rate', v);
      return `data "${v}"`;
    }
    case 'controller': { const v = pick(kControllers); await page.selectOption('#controller', v); return `controller ${v}`; }
    case 'sp': { const v = String(Math.floor(random() * 5)); await page.selectOption('#sample-point', v); return `sp ${v}`; }
    case 'tol': {
      const v = pick(kTolerances);
      await TypeInto(page, '#tolerance', v);
      await page.keyboard.press('Enter');
      return `tol "${v}" Enter`;
    }
    case 'bt': {
      // The best's data target where the controller is FD, else its target.
      const field = (await page.isVisible('#best-data-target')) && random() < 0.5 ? 'best-data-target' : 'best-target';
      const v = pick(kBestTargets);
      await TypeInto(page, `#${field}`, v);
      if (random() < 0.5) await page.keyboard.press('Enter');
      return `${field} "${v}"`;
    }
    case 'enter': await page.focus('#rate'); await page.keyboard.press('Enter'); return 'enter';
    case 'language': await page.click('#language'); return 'language';
    case 'back':
      await page.goBack();
      // Back from the first entry leaves the page: forward again, onto it.
      if (!page.url().startsWith(kPageUrl)) {
        await page.goForward();
        await page.waitForFunction(() => document.body.dataset.state !== undefined);
        return 'back (none)';
      }
      return 'back';
    case 'forward': await page.goForward(); return 'forward';
    case 'decode': {
      const v = pick(kDecodes);
      await TypeInto(page, '#decode-value', v);
      await page.click('#decode');
      return `decode "${v}"`;
    }
    case 'plan-field': {
      // A plan field typed, then Enter in it, which plans.
      const field = pick(Object.keys(kPlanFieldValues));
      if (!(await page.isVisible(field))) return `${field} (hidden)`;
      const v = pick(kPlanFieldValues[field]);
      await TypeInto(page, field, v);
      await page.keyboard.press('Enter');
      return `${field} "${v}" Enter`;
    }
    case 'plan':
      if (!(await page.isVisible('#plan-compute'))) return 'plan (hidden)';
      await page.click('#plan-compute');
      return 'plan';
    default: throw new Error(kind);
  }
}

for (const sequence of (process.env.QUILLMERE_SEQUENCES ?? '1,2,3').split(',').map(Number)) {
  test(`sequence ${sequence}: every answer shown is the address's, after each of 24 random steps`, async () => {
    const random = Random(sequence);
    // Odd sequences start from a bus plan's address, even ones from the bare page.
    const query = sequence % 2 ? '?clock=42&rate=500&sp=0&tol=0&nodes=a%3Dbxcan%4042%3Bb%3Dmcp2515%4016' : '';
    const { context, page, problems } = await OpenPage(browser, { locale: 'en-US', query });
    const trace = [];
    try {
      await WaitAnswered(page);
      for (let i = 0; i < 24; ++i) {
        trace.push(await Step(page, random));
        await WaitAnswered(page).catch((error) => { throw new Error(`${trace.join(' / ')}: ${error.message}`); });
        const { query, language } = await Where(page);
        const shown = await ShownAnswers(page);
        const fresh = await FreshAnswers(query, language);
        assert.deepEqual(shown, fresh, `${trace.join(' / ')} at ${query}`);
        // A decode shown read its registers at the listing's clock, for its controller.
        if (await page.isVisible('#decode-output')) {
          const decoded = await page.evaluate(() => ({ ...document.getElementById('decode-output').dataset }));
          const named = new URLSearchParams(query);
          assert.deepEqual(decoded, { clock: named.get('clock'), controller: named.get('ctl') ?? 'bxcan' },
            `decode: ${trace.join(' / ')}`);
        }
      }
      assert.deepEqual(problems, []);
    } finally {
      await context.close();
    }
  });
}
