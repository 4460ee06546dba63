// The best setting (the companion's --best): its line(s) under the table's titles, its
// rows marked ★ in the grid (found by their setting, not by their text), its tolerance
// and longest bus, and a plain warning for each the module found short.
import { kTexts } from './i18n.js';
import { PageLanguage } from './page_language.js';
import { kSettingFields } from './code.js';
import { ColumnTitles, listingGrid, ShownListing } from './listing.js';

// The best reply last shown: its tsv line(s), their settings, and its tolerance,
// longest bus and warnings (null without a best setting).
let bestShown = { lines: [], settings: new Uint16Array(0), facts: null };

export function BestSettings() {
  return bestShown.settings;
}

// The row of settings (kSettingFields numbers a row) whose setting is the one at
// `at` in wanted, or -1: the grid holds each setting of its listing once.
function RowWithSetting(settings, wanted, at) {
  for (let row = 0; (row + 1) * kSettingFields <= settings.length; ++row) {
    let same = true;
    for (let i = 0; i < kSettingFields && same; ++i) same = settings[row * kSettingFields + i] === wanted[at + i];
    if (same) return row;
  }
  return -1;
}

// best: the best reply's result, {best, settings, tolerance, longestBus, warnings,
// targetNotes}.
export function ShowBest(best) {
  const text = best.best;
  const lines = text === '' ? [] : text.replace(/\n$/, '').split('\n');
  bestShown = {
    lines, settings: best.settings,
    facts: text === '' ? null : {
      tolerance: best.tolerance, longestBus: best.longestBus, warnings: best.warnings ?? [],
      targetNotes: best.targetNotes ?? [],
    },
  };
  ShowBestFacts();
  const shownSettings = ShownListing().settings ?? new Uint16Array(0);
  const rows = lines.map((line, i) => RowWithSetting(shownSettings, best.settings, i * kSettingFields));
  listingGrid.SetBestRows(rows.filter((row) => row >= 0));
  const panel = document.getElementById('best-panel');
  const box = document.getElementById('best');
  panel.hidden = false;
  box.replaceChildren();
  if (lines.length === 0) {
    const none = document.createElement('p');
    none.textContent = kTexts[PageLanguage()].noBest;
    box.appendChild(none);
    return;
  }
  const table = document.createElement('table');
  table.className = 'best-table';
  const head = table.insertRow();
  for (const title of ColumnTitles()) {
    const cell = document.createElement('th');
    cell.scope = 'col';
    cell.textContent = title;
    head.appendChild(cell);
  }
  for (const line of lines) {
    const row = table.insertRow();
    for (const cellText of line.split('\t')) row.insertCell().textContent = cellText;
  }
  box.appendChild(table);
}

// No best setting: a listing shown (or gone) whose best reply has not come.
export function HideBest() {
  ShowBest({ best: '', settings: new Uint16Array(0) });
  document.getElementById('best-panel').hidden = true;
}

// The best setting shown again, in another language.
export function ShowBestAgain() {
  if (document.getElementById('best-panel').hidden) return;
  ShowBest({ best: bestShown.lines.join('\n'), settings: bestShown.settings, ...(bestShown.facts ?? {}) });
}

// The best setting's tolerance and longest bus beside it, the nearest sample point
// where it does not meet the target asked for, and a plain warning for each the
// module found short.
function ShowBestFacts() {
  const texts = kTexts[PageLanguage()];
  const facts = document.getElementById('best-facts');
  const notes = document.getElementById('best-notes');
  const warnings = document.getElementById('best-warnings');
  const bestFacts = bestShown.facts;
  notes.replaceChildren();
  warnings.replaceChildren();
  if (!bestFacts) {
    facts.textContent = '';
    notes.hidden = true;
    warnings.hidden = true;
    return;
  }
  for (const note of bestFacts.targetNotes) {
    const item = document.createElement('li');
    item.textContent = texts.targetNote(note);
    notes.appendChild(item);
  }
  notes.hidden = notes.childElementCount === 0;
  const bus = bestFacts.longestBus === null || bestFacts.longestBus < 0 ? '-' : `${bestFacts.longestBus} m`;
  facts.textContent = texts.bestFacts(bestFacts.tolerance, bus);
  for (const warning of bestFacts.warnings) {
    const say = texts.bestWarnings[warning.name];
    if (!say) continue;
    const item = document.createElement('li');
    item.textContent = say(warning);
    warnings.appendChild(item);
  }
  warnings.hidden = warnings.childElementCount === 0;
}
