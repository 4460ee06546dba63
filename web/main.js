// The page: the window's form, its state in the URL, the worker that runs the search,
// and the result grid; for FDCAN and for every listing the companion's answers (best
// setting, code to paste, register decode). No number shown here is computed here:
// rows, messages, code and decodes come from the worker's module.
import { ApplyTexts, kLanguages, kTexts, PreferredLanguage } from './i18n.js';
import { EmptyRows, ResultGrid, RowStart } from './table.js';
import { WorkerBridge } from './worker_bridge.js';
import { RedrawSettingBit, ShowSettingBit } from './bit_picture.js';
import { StartPlan } from './plan.js';

const kSamplePointItems = 5;
const kToleranceItems = 11;
const kLanguageStoreKey = 'quillmere-language';  // the language last chosen, in localStorage

const clockField = document.getElementById('clock');
const rateField = document.getElementById('rate');
const samplePointSelect = document.getElementById('sample-point');
const toleranceSelect = document.getElementById('tolerance');
const controllerSelect = document.getElementById('controller');
const dataRateField = document.getElementById('data-rate');
const form = document.getElementById('inputs');
const messageBox = document.getElementById('message');
const rowCountText = document.getElementById('row-count');
const copyButton = document.getElementById('copy');
const languageButton = document.getElementById('language');
const grid = new ResultGrid(document.getElementById('results'));

let language = StartLanguage();
let lastCount = null;  // {count, kept} of the rows shown, null before the first listing
let computeCount = 0;  // the computations asked for: only the last one's answers show
let shownMessage = null;  // the name of the field's status shown in #message, null when none
let shownController = 'bxcan';  // the controller of the rows shown
let shownInputs = null;  // the inputs of the rows shown
let shownSettings = null;  // their settings, kSettingFields numbers a row
let bestLines = [];  // the best setting's tsv line(s) for the rows shown
let bestSettings = new Uint16Array(0);  // their settings, as shownSettings
let bestRows = [];  // where they stand in the grid (-1: beyond the rows it holds)

// --- Language -------------------------------------------------------------------

// The grid's columns, from the module's column table (the worker's 'ready' message):
// the window's for bxCAN, the companion's tsv columns for FDCAN.
let pageColumns = { bxcan: [], fdcan: [] };

function ColumnTitles(controller) {
  return (pageColumns[controller] ?? []).map((column) => column[language]);
}

function ShowTexts() {
  ApplyTexts(document, language);
  grid.SetColumns(ColumnTitles(shownController));
  if (shownMessage) messageBox.textContent = FieldMessage(shownMessage);
  ShowRowCount();
  if (!document.getElementById('best-panel').hidden) ShowBest({ best: bestLines.join('\n'), settings: bestSettings });
  plan?.ShowTexts();
  RedrawSettingBit(bitPicture, language);
}

// The language the page starts in: the address's lang, else the one last chosen here,
// else the browser's preference.

function LanguageFromUrl() {
  const text = new URLSearchParams(location.search).get('lang');
  return kLanguages.includes(text) ? text : null;
}

// Storage may be refused (a browser's privacy setting): then nothing is remembered.
function StoredLanguage() {
  try {
    const text = localStorage.getItem(kLanguageStoreKey);
    return kLanguages.includes(text) ? text : null;
  } catch {
    return null;
  }
}

function StartLanguage() {
  return LanguageFromUrl() ?? StoredLanguage() ?? PreferredLanguage(navigator.languages);
}

function RememberLanguage() {
  try {
    localStorage.setItem(kLanguageStoreKey, language);
  } catch {
    // Not remembered; the page still switches.
  }
}

// The switch changes the texts, never the request: the address keeps the listing it
// names (the fields may hold edits not yet computed), and only a lang it carries
// follows the switch, so that a reload shows the language chosen.
languageButton.addEventListener('click', () => {
  language = language === 'zh' ? 'en' : 'zh';
  RememberLanguage();
  ShowTexts();
  const params = new URLSearchParams(location.search);
  if (!params.has('lang')) return;
  params.set('lang', language);
  ReplaceSearch(`?${params.toString()}`);
});

// --- Inputs and the URL -----------------------------------------------------------

// A selector's index as the window sets one: past the last item gives the last, -1
// and below give -1 (nothing selected).
function SelectionIndexFor(index, itemCount) {
  if (index < -1) return -1;
  return Math.min(index, itemCount - 1);
}

function ReadInputs() {
  return {
    clock: clockField.value,
    rate: rateField.value,
    samplePoint: samplePointSelect.selectedIndex,
    tolerance: toleranceSelect.selectedIndex,
    controller: controllerSelect.value,
    dataRate: controllerSelect.value === 'fdcan' ? dataRateField.value : '',
  };
}

function WriteInputs(inputs) {
  clockField.value = inputs.clock;
  rateField.value = inputs.rate;
  samplePointSelect.selectedIndex = inputs.samplePoint;
  toleranceSelect.selectedIndex = inputs.tolerance;
  controllerSelect.value = inputs.controller;
  dataRateField.value = inputs.dataRate;
  ShowController();
}

// The FDCAN inputs (the data rate, DBTP) show only for FDCAN; SPL has no FDCAN form.
function ShowController() {
  const fdcan = controllerSelect.value === 'fdcan';
  document.getElementById('data-rate-field').hidden = !fdcan;
  document.getElementById('decode-data-field').hidden = !fdcan;
  document.getElementById('decode-value-label').textContent = fdcan ? 'NBTP' : 'CAN_BTR';
  UpdateCodeButtons();
}

function IndexFromUrl(params, name, itemCount) {
  const text = params.get(name);
  if (text === null || !/^-?\d{1,9}$/.test(text)) return 0;
  return SelectionIndexFor(Number(text), itemCount);
}

// The inputs a URL names, or null when it names none. Missing ones take the window's
// start values.
function InputsFromUrl() {
  const params = new URLSearchParams(location.search);
  if (!['clock', 'rate', 'sp', 'tol'].some((name) => params.has(name))) return null;
  return {
    clock: params.get('clock') ?? '42',
    rate: params.get('rate') ?? '500',
    samplePoint: IndexFromUrl(params, 'sp', kSamplePointItems),
    tolerance: IndexFromUrl(params, 'tol', kToleranceItems),
    controller: params.get('ctl') === 'fdcan' ? 'fdcan' : 'bxcan',
    dataRate: params.get('ctl') === 'fdcan' ? params.get('data') ?? '' : '',
  };
}

function UrlFor(inputs) {
  const params = new URLSearchParams();
  params.set('clock', inputs.clock);
  params.set('rate', inputs.rate);
  params.set('sp', String(inputs.samplePoint));
  params.set('tol', String(inputs.tolerance));
  if (inputs.controller === 'fdcan') {
    params.set('ctl', 'fdcan');
    if (inputs.dataRate !== '') params.set('data', inputs.dataRate);
  }
  if (new URLSearchParams(location.search).has('lang')) params.set('lang', language);
  for (const [key, value] of plan?.UrlEntries() ?? []) params.set(key, value);
  return `?${params.toString()}`;
}

function ReplaceSearch(search) {
  try {
    history.replaceState(history.state, '', search);
  } catch {
    // As in WriteUrl.
  }
}

// A new history entry when the inputs changed, the same entry otherwise.
function WriteUrl(inputs, push) {
  const search = UrlFor(inputs);
  if (search === location.search) return;
  try {
    if (push) history.pushState(inputs, '', search);
    else history.replaceState(inputs, '', search);
  } catch {
    // Some browsers refuse to rewrite a file:// address; the listing still shows.
  }
}

// The address names the listing on screen: it is written when the rows of a request
// show (or its refusal empties the table), never when it is only asked for, so that
// a computation overtaken by another, or refused for an empty field, leaves the
// address of the rows still shown. The code shown for the listing before goes.
function ShowRequest(inputs, push) {
  WriteUrl(inputs, push);
  document.getElementById('code').hidden = true;
}

// The page as it opens without a request: the window's start values, no rows, no best
// setting, no code, no message; answers still on their way are dropped.
function ShowStart() {
  ++computeCount;
  computeWhenReady = null;
  WriteInputs({ clock: '42', rate: '500', samplePoint: 0, tolerance: 0, controller: 'bxcan', dataRate: '' });
  HideMessage();
  ClearRows();
  shownInputs = null;
  UpdateCodeButtons();
  document.getElementById('code').hidden = true;
  document.body.dataset.state = workerReady ? 'ready' : document.body.dataset.state;
}

// Back and Forward: an entry's language when its address names one, and its request
// computed again, or the start when it names none.
window.addEventListener('popstate', () => {
  const entryLanguage = LanguageFromUrl();
  if (entryLanguage && entryLanguage !== language) {
    language = entryLanguage;
    ShowTexts();
  }
  plan?.FromUrl();
  const inputs = InputsFromUrl();
  if (!inputs) {
    ShowStart();
    return;
  }
  WriteInputs(inputs);
  Compute(false);
});

// --- Messages -------------------------------------------------------------------

function HideMessage() {
  shownMessage = null;
  messageBox.hidden = true;
  messageBox.textContent = '';
  for (const field of [clockField, rateField, dataRateField]) {
    field.removeAttribute('aria-invalid');
    field.removeAttribute('aria-describedby');
  }
}

// The statuses that name a field: the window's two for an empty one, and a text that
// holds no value.
const kFieldOfStatus = {
  'clock-missing': clockField, 'rate-missing': rateField,
  'clock-unreadable': clockField, 'rate-unreadable': rateField, 'data-rate-unreadable': dataRateField,
};

function IsFieldStatus(name) {
  return Object.hasOwn(kFieldOfStatus, name);
}

function FieldMessage(name) {
  const texts = kTexts[language];
  return texts.missing[name] ?? texts.unreadable[name];
}

// The message next to the field its status names; the focus goes there.
function ShowMissing(name) {
  const field = kFieldOfStatus[name];
  shownMessage = name;
  messageBox.textContent = FieldMessage(name);
  field.parentElement.appendChild(messageBox);
  messageBox.hidden = false;
  field.setAttribute('aria-invalid', 'true');
  field.setAttribute('aria-describedby', 'message');
  field.focus();
}

// A field that holds no value: the rows, the best setting and the code of the last
// listing no longer describe the request, so none are shown.
function ClearRows() {
  shownSettings = new Uint16Array(0);
  grid.SetRows(EmptyRows());
  lastCount = null;
  ShowRowCount();
  ShowBest({ best: '', settings: new Uint16Array(0) });
  document.getElementById('best-panel').hidden = true;
  document.getElementById('download').hidden = true;
  UpdateCodeButtons();
}

function ShowRowCount() {
  const texts = kTexts[language];
  if (!lastCount) {
    rowCountText.textContent = '';
    return;
  }
  rowCountText.textContent = lastCount.kept < lastCount.count
    ? texts.rowCountTruncated(lastCount.count, lastCount.kept)
    : texts.rowCount(lastCount.count);
}

// --- The worker -------------------------------------------------------------------

// The worker that worker_start.js started while the page was read.
const bridge = WorkerBridge(window.quillmereWorker);
let workerReady = false;
let computeWhenReady = null;

function TakeColumns(columns) {
  if (columns) pageColumns = columns;
  grid.SetColumns(ColumnTitles(shownController));
}

// startResult: what the module tells the page once, the result of the reply to the
// worker's start (id 0); the module's column titles come in it as columns.
function WorkerReady(startResult) {
  TakeColumns(startResult.columns);
  workerReady = true;
  performance.mark('quillmere-ready');
  document.body.dataset.state = 'ready';
  if (computeWhenReady !== null) Compute(computeWhenReady);
  computeWhenReady = null;
}

// A failure that is no input check: the module did not load, or the worker failed.
function ShowFailure(error) {
  rowCountText.textContent = kTexts[language].loadFailed;
  console.warn(error.reason ?? error.name);
}

bridge.started.then(WorkerReady, ShowFailure);

// The rows of a listing (the compute reply's result) for the inputs it was asked for.
function ShowRows(rows, inputs, started) {
  shownController = inputs.controller;
  shownInputs = inputs;
  shownSettings = rows.settings;
  grid.SetColumns(ColumnTitles(shownController));
  grid.SetRows({ bytes: rows.bytes, rowEnds: rows.rowEnds, count: rows.kept });
  lastCount = { count: rows.count, kept: rows.kept };
  ShowRowCount();
  ShowBest({ best: '', settings: new Uint16Array(0) });
  document.getElementById('best-panel').hidden = true;
  document.getElementById('download').hidden = rows.kept === rows.count;
  UpdateCodeButtons();
  // Marked once the rows have been painted: after the next frame.
  requestAnimationFrame(() => setTimeout(() => {
    performance.measure('quillmere-compute', { start: started, end: performance.now() });
    document.body.dataset.state = 'shown';
  }, 0));
}

// --- The best setting -------------------------------------------------------------

const kAsciiEncoder = new TextEncoder();  // the rows and best lines are ASCII

// The grid row whose text is line (an ASCII tsv line), or -1.
function FindRow(rows, line) {
  const bytes = kAsciiEncoder.encode(line);
  for (let row = 0; row < rows.count; ++row) {
    const start = RowStart(rows, row);
    if (rows.rowEnds[row] - 2 - start !== bytes.length) continue;
    let same = true;
    for (let i = 0; i < bytes.length && same; ++i) same = rows.bytes[start + i] === bytes[i];
    if (same) return row;
  }
  return -1;
}

// best: the best reply's result, {best, settings}.
function ShowBest(best) {
  const text = best.best;
  bestLines = text === '' ? [] : text.replace(/\n$/, '').split('\n');
  bestSettings = best.settings;
  bestRows = bestLines.map((line) => FindRow(grid.rows, line));
  grid.SetBestRows(bestRows.filter((row) => row >= 0));
  const panel = document.getElementById('best-panel');
  const box = document.getElementById('best');
  panel.hidden = false;
  box.replaceChildren();
  if (bestLines.length === 0) {
    const none = document.createElement('p');
    none.textContent = kTexts[language].noBest;
    box.appendChild(none);
    return;
  }
  const table = document.createElement('table');
  table.className = 'best-table';
  const head = table.insertRow();
  for (const title of ColumnTitles(shownController)) {
    const cell = document.createElement('th');
    cell.scope = 'col';
    cell.textContent = title;
    head.appendChild(cell);
  }
  for (const line of bestLines) {
    const row = table.insertRow();
    for (const text of line.split('\t')) row.insertCell().textContent = text;
  }
  box.appendChild(table);
}

// --- Copy as code ------------------------------------------------------------------

// A setting as the module hands it: kSettingFields numbers a row, the phase by its
// number first (web/row_text.h).
const kSettingFields = 5;
const kPhaseNames = ['bxcan', 'nominal', 'data'];

// The setting of row index in settings, as a code request carries it, or null.
function SettingAt(settings, index) {
  const at = index * kSettingFields;
  if (!settings || index < 0 || at + kSettingFields > settings.length) return null;
  return {
    phase: kPhaseNames[settings[at]],
    setting: { prescaler: settings[at + 1], seg1: settings[at + 2], seg2: settings[at + 3], sjw: settings[at + 4] },
  };
}

// The setting the code buttons write: the focused row's when a row is selected, else
// the best setting's first (the nominal phase for FDCAN), each as the module handed it.
function CodeTarget() {
  const { firstRow, focusRow } = grid.selection;
  if (firstRow >= 0 && focusRow >= 0) return SettingAt(shownSettings, focusRow);
  return SettingAt(bestSettings, 0);
}

function UpdateCodeButtons() {
  const usable = shownInputs !== null && CodeTarget() !== null;
  document.getElementById('copy-hal').disabled = !usable;
  document.getElementById('copy-spl').disabled = !usable || shownController === 'fdcan';
}

function CopyCode(form) {
  const target = CodeTarget();
  if (!target || !shownInputs) return;
  // The row's setting and the inputs of its listing travel with the request, so the
  // code is the row's whatever the worker has listed since.
  const request = { ...shownInputs, form, ...target };
  // The clipboard is written inside the click; the code follows from the worker, so
  // the button copies what the preview then shows.
  bridge.Ask('code', request).then((result) => {
    const code = document.getElementById('code');
    code.textContent = result.text;
    code.hidden = false;
    CopyToClipboard(result.text);
  }, (error) => console.info(`no code: ${error.name}`));
}

document.getElementById('copy-hal').addEventListener('click', () => CopyCode('hal'));
document.getElementById('copy-spl').addEventListener('click', () => CopyCode('spl'));

// --- FDCAN's whole listing as a file ------------------------------------------------

document.getElementById('download').addEventListener('click', () => {
  if (!shownInputs) return;
  const parts = [];
  // Each chunk goes to the browser's blob store as it comes.
  bridge.Ask('download', shownInputs, (partial) => parts.push(new Blob([partial.chunk]))).then(() => {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob(parts, { type: 'text/tab-separated-values' }));
    link.download = 'quillmere-fdcan.tsv';
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  }, (error) => console.info(`no download: ${error.name}`));
});

// --- Register decode ---------------------------------------------------------------

// A register value as typed: 0x and up to eight hex digits, or decimal up to 2^32 - 1.
function ReadRegisterText(text) {
  const trimmed = text.trim();
  if (/^0[xX][0-9A-Fa-f]{1,8}$/.test(trimmed)) return Number.parseInt(trimmed.slice(2), 16);
  if (/^\d{1,10}$/.test(trimmed) && Number(trimmed) <= 0xffffffff) return Number(trimmed);
  return null;
}

document.getElementById('decode-form').addEventListener('submit', (event) => {
  event.preventDefault();
  const fdcan = controllerSelect.value === 'fdcan';
  const valueText = document.getElementById('decode-value').value;
  const dataText = fdcan ? document.getElementById('decode-data').value : '';
  const message = document.getElementById('decode-message');
  const output = document.getElementById('decode-output');
  const nominal = valueText.trim() === '' && fdcan ? null : ReadRegisterText(valueText);
  const data = dataText.trim() === '' ? null : ReadRegisterText(dataText);
  const invalid = (nominal === null && (!fdcan || valueText.trim() !== '')) ||
    (fdcan && dataText.trim() !== '' && data === null) || (nominal === null && data === null);
  message.hidden = !invalid;
  if (invalid) {
    message.textContent = kTexts[language].decodeInvalid;
    output.hidden = true;
    return;
  }
  const inputs = ReadInputs();
  bridge.Ask('decode', { ...inputs, nominal, data }).then((result) => {
    output.textContent = result.text;
    output.hidden = false;
  }, (error) => {
    if (IsFieldStatus(error.name)) {
      ShowMissing(error.name);
      return;
    }
    if (error.name === 'reserved-bits' || error.name === 'data-reserved-bits') {
      message.textContent = kTexts[language].reservedBits(error.bits);
      message.hidden = false;
      output.hidden = true;
      return;
    }
    ShowFailure(error);
  });
});

// The compute command: the inputs go to the worker as they are (texts and indexes),
// and the worker's module reads them as the window does.
function Compute(push) {
  HideMessage();
  const inputs = ReadInputs();
  if (!workerReady) {
    computeWhenReady = push;
    return;
  }
  const asked = ++computeCount;
  const started = performance.now();
  document.body.dataset.state = 'computing';
  // The best setting is asked for at once and answered after the rows, so they show
  // first; the answers of a computation asked for since are dropped.
  bridge.Ask('compute', inputs).then((rows) => {
    if (asked !== computeCount) return;
    ShowRows(rows, inputs, started);
    ShowRequest(inputs, push);
  }, (error) => {
    if (asked !== computeCount) return;
    document.body.dataset.state = 'shown';
    if ((error.name ?? '').endsWith('-unreadable')) {
      ClearRows();
      ShowRequest(inputs, push);
    }
    if (IsFieldStatus(error.name)) ShowMissing(error.name);
    else ShowFailure(error);
  });
  bridge.Ask('best', inputs).then((result) => {
    if (asked !== computeCount) return;
    ShowBest(result);
    UpdateCodeButtons();
  }, () => {});  // an empty field: the listing's answer says so
}

form.addEventListener('submit', (event) => {
  event.preventDefault();
  Compute(true);
});
// Choosing an item in either selector computes, as in the window.
samplePointSelect.addEventListener('change', () => Compute(true));
toleranceSelect.addEventListener('change', () => Compute(true));
controllerSelect.addEventListener('change', () => {
  ShowController();
  Compute(true);
});

// --- Copy -----------------------------------------------------------------------

let copyFromButton = false;
let copyOverride = null;  // a text to copy instead of the selection (code to paste)

// What a copy put on the clipboard, said in #copy-note (a polite live region) and on
// the Copy button's tooltip; emptied first, so that the same words said again are
// announced again.
const copyNote = document.getElementById('copy-note');

function ShowCopyNote(text) {
  copyNote.textContent = '';
  requestAnimationFrame(() => { copyNote.textContent = text; });
}

function CopiedRowsNote() {
  const count = grid.SelectedRowCount();
  if (count === 0) return;
  copyButton.title = kTexts[language].copied(count);
  ShowCopyNote(kTexts[language].copied(count));
}

// Ctrl+C in the grid: the copy event of a focused element that is not editable reaches
// the document. The text is the window's: cells by tab, rows by CR LF.
document.addEventListener('copy', (event) => {
  if (copyOverride !== null) {
    event.clipboardData.setData('text/plain', copyOverride);
    event.preventDefault();
    return;
  }
  // Any element of the grid that holds the focus copies: the grid itself, or its
  // scrolling body when a scroll bar was clicked.
  const fromGrid = copyFromButton || grid.element.contains(document.activeElement);
  if (!fromGrid) return;
  const text = grid.SelectedText();
  if (text === null) return;  // nothing selected: the clipboard stays as it was
  event.clipboardData.setData('text/plain', text);
  event.preventDefault();
  CopiedRowsNote();
});

function CopySelection() {
  copyFromButton = true;
  try {
    document.execCommand('copy');
  } finally {
    copyFromButton = false;
  }
}

// Copies a text: through the asynchronous clipboard (the worker's answer comes after
// the click), else through a copy command.
function CopyToClipboard(text) {
  const Copied = () => ShowCopyNote(kTexts[language].copiedCode);
  if (navigator.clipboard && navigator.clipboard.writeText) {
    navigator.clipboard.writeText(text).then(Copied, () => {
      CopyWithCommand(text);
      Copied();
    });
    return;
  }
  CopyWithCommand(text);
  Copied();
}

function CopyWithCommand(text) {
  copyOverride = text;
  try {
    document.execCommand('copy');
  } finally {
    copyOverride = null;
  }
}

grid.onCopyRequest = CopySelection;
copyButton.addEventListener('click', CopySelection);
grid.onSelectionChange = (selection) => {
  copyButton.disabled = selection.firstRow < 0;
  UpdateCodeButtons();
  ShowSelectedBit(selection);
};

// --- The picture of the selected row's bit ---------------------------------------

const bitPicture = document.getElementById('bit-picture');

function BusField(id) {
  return document.getElementById(id)?.value ?? '';
}

// The focused row's setting, drawn by bit_picture.js from the module's parts.
function ShowSelectedBit(selection) {
  const target = selection.firstRow >= 0 && selection.focusRow >= 0 ? SettingAt(shownSettings, selection.focusRow) : null;
  const request = target && shownInputs ? {
    controller: shownController, clock: shownInputs.clock, phase: target.phase, ...target.setting,
    nodeDelay: BusField('node-delay'), busLength: BusField('bus-length'),
  } : null;
  ShowSettingBit(bridge, bitPicture, request, language);
}

// --- Start ------------------------------------------------------------------------

// Served over http(s) the page is an app: its manifest, and a service worker that keeps
// the site for offline use. From file:// neither applies (browsers register no worker
// there), and the page works as it is.
function OfferApp() {
  if (location.protocol !== 'https:' && location.protocol !== 'http:') return;
  const manifest = document.createElement('link');
  manifest.rel = 'manifest';
  manifest.href = 'manifest.webmanifest';
  document.head.appendChild(manifest);
  if (!('serviceWorker' in navigator)) return;
  navigator.serviceWorker.register('sw.js').catch((error) => console.info(`no offline copy: ${error.message}`));
}

OfferApp();
// The bus plan reads the main form's fields, and its nodes go into the address.
const plan = StartPlan({
  bridge,
  started: bridge.started,
  language: () => language,
  fields: () => ({
    ...ReadInputs(), nodeDelay: BusField('node-delay'), busLength: BusField('bus-length'),
    minTolerance: BusField('min-tolerance'),
  }),
  writeUrl: (push) => WriteUrl(ReadInputs(), push),
});

const startInputs = InputsFromUrl();
ShowController();
ShowTexts();
if (startInputs) {
  WriteInputs(startInputs);
  history.replaceState(startInputs, '');
  Compute(false);
}
