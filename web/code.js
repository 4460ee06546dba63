// Code to paste: the settings the code box shows (a classic controller's selected row,
// else its best; an FD controller's pair of the nominal and data rows last selected),
// the forms the controller has, and the code the worker writes for them.
import { kPageBridge } from './page_bridge.js';
import { ControllerEntry, controllerSelect, IsFd } from './controller_form.js';
import { BestSettings } from './best.js';
import { CopyToClipboard } from './clipboard.js';
import { listingGrid, ShownListing } from './listing.js';
import { WriteUrl } from './inputs.js';

// A setting as the module hands it: kSettingFields numbers a row, the phase by its
// number first (web/row_text.h).
export const kSettingFields = 5;
const kPhaseNames = ['bxcan', 'nominal', 'data'];

export const codeFormSelect = document.getElementById('code-form');

// The code form last chosen (or named by the URL): kept while a controller has it.
let codeFormWanted = 'hal';
// The grid rows last selected of each phase: the code of an FD controller is the pair.
let selectedNominalRow = -1;
let selectedDataRow = -1;
let codeAsked = 0;  // only the last code request's answer shows

export function WantCodeForm(form) {
  codeFormWanted = form;
}

// The setting of row index in settings, as a code request carries it, or null.
export function SettingAt(settings, index) {
  const at = index * kSettingFields;
  if (!settings || index < 0 || at + kSettingFields > settings.length) return null;
  return {
    phase: kPhaseNames[settings[at]],
    setting: { prescaler: settings[at + 1], seg1: settings[at + 2], seg2: settings[at + 3], sjw: settings[at + 4] },
  };
}

// The forms the controller has, as --format names them.
export function FillCodeForms() {
  const forms = ControllerEntry(controllerSelect.value)?.forms ?? [];
  const wanted = forms.includes(codeFormWanted) ? codeFormWanted : forms[0] ?? '';
  codeFormSelect.replaceChildren(...forms.map((form) => {
    const option = document.createElement('option');
    option.value = form;
    option.textContent = form;
    return option;
  }));
  codeFormSelect.value = wanted;
}

// The settings the code shows: a classic controller's selected row (the focused one),
// else its best; an FD controller's pair, the nominal and the data row last selected,
// the best's in place of a phase not selected (no data phase without a data rate).
function CodeTarget() {
  const { firstRow, focusRow } = listingGrid.selection;
  const selected = firstRow >= 0 && focusRow >= 0;
  const shown = ShownListing();
  const bestSettings = BestSettings();
  if (!IsFd(shown.controller)) return SettingAt(selected ? shown.settings : bestSettings, selected ? focusRow : 0);
  const bestNominal = SettingAt(bestSettings, 0);
  const bestData = SettingAt(bestSettings, 1);
  const nominal = selected && selectedNominalRow >= 0 ? SettingAt(shown.settings, selectedNominalRow) : bestNominal;
  const data = selected && selectedDataRow >= 0 ? SettingAt(shown.settings, selectedDataRow) : bestData;
  if (!nominal) return null;
  return { nominal, data: shown.inputs?.dataRate ? data : null };
}

export function UpdateCodeButtons() {
  const usable = ShownListing().inputs !== null && CodeTarget() !== null && codeFormSelect.value !== '';
  document.getElementById('copy-code').disabled = !usable;
}

// A new listing: no row of it is selected yet.
export function ForgetSelectedRows() {
  selectedNominalRow = -1;
  selectedDataRow = -1;
}

// Notes which phase's row the focus is on: the last selected of each makes the pair.
export function NoteSelectedRow(selection) {
  if (selection.firstRow < 0 || selection.focusRow < 0) {
    ForgetSelectedRows();
    return;
  }
  const target = SettingAt(ShownListing().settings, selection.focusRow);
  if (!target) return;
  if (target.phase === 'data') selectedDataRow = selection.focusRow;
  else selectedNominalRow = selection.focusRow;
}

export function ShowCode(text) {
  const code = document.getElementById('code');
  code.textContent = text;
  code.hidden = text === '';
}

// No code: the listing it described is gone, and a code still on its way describes it.
export function DropCode() {
  ++codeAsked;
  ShowCode('');
  UpdateCodeButtons();
}

// Asks for the code of CodeTarget() in the chosen form; resolves to its text, or ''
// when there is none. The settings and the fields of their listing travel with the
// request, so the code is the rows' on screen whatever the worker has listed since.
function AskCode() {
  const target = CodeTarget();
  const shownInputs = ShownListing().inputs;
  if (!target || !shownInputs || codeFormSelect.value === '') {
    ShowCode('');
    return Promise.resolve('');
  }
  const asked = ++codeAsked;
  const setting = (entry) => (entry ? entry.setting : undefined);
  const request = target.nominal
    ? { ...shownInputs, form: codeFormSelect.value, nominal: setting(target.nominal), data: setting(target.data) }
    : { ...shownInputs, form: codeFormSelect.value, nominal: setting(target) };
  return kPageBridge.Ask('code', request).then((result) => {
    if (asked === codeAsked) ShowCode(result.text);
    return result.text;
  }, (error) => {
    console.info(`no code: ${error.name}`);
    if (asked === codeAsked) ShowCode('');
    return '';
  });
}

// The code follows the selection, the form and the best setting.
export function RefreshCode() {
  UpdateCodeButtons();
  if (ShownListing().inputs) AskCode();
}

// The clipboard is written inside the click; the code follows from the worker, so
// the button copies what the preview then shows.
document.getElementById('copy-code').addEventListener('click', () => {
  AskCode().then((text) => { if (text !== '') CopyToClipboard(text); });
});

codeFormSelect.addEventListener('change', () => {
  codeFormWanted = codeFormSelect.value;
  RefreshCode();
  const shownInputs = ShownListing().inputs;
  if (shownInputs) WriteUrl(shownInputs, false);
});
