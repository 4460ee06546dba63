// The page: the window's form and the companion's further fields, its state in the
// URL, the worker that runs the search, and the result grid; for every controller of
// the table the companion's answers (its listing, best setting with its warnings, code
// to paste in each form the controller has, register decode). No number shown here is
// computed here: rows, messages, warnings, code and decodes come from the worker's
// module.
import { ApplyTexts, kLanguages, kTexts, PreferredLanguage } from './i18n.js';
import { EmptyRows, ResultGrid, RowStart } from './table.js';
import { WorkerBridge } from './worker_bridge.js';
import { RedrawSettingBit, ShowSettingBit } from './bit_picture.js';
import { StartPlan } from './plan.js';
import { FillControllerSelect } from './controller_select.js';

const kSamplePointItems = 5;
const kToleranceItems = 11;
const kLanguageStoreKey = 'quillmere-language';  // the language last chosen, in localStorage

const clockField = document.getElementById('clock');
const rateField = document.getElementById('rate');
const samplePointSelect = document.getElementById('sample-point');
const toleranceSelect = document.getElementById('tolerance');
const controllerSelect = document.getElementById('controller');
const dataRateField = document.getElementById('data-rate');
const sjwField = document.getElementById('sjw');
const dataSjwField = document.getElementById('data-sjw');
const nodeDelayField = document.getElementById('node-delay');
const busLengthField = document.getElementById('bus-length');
const minToleranceField = document.getElementById('min-tolerance');
const codeFormSelect = document.getElementById('code-form');
const form = document.getElementById('inputs');
const messageBox = document.getElementById('message');
const rowCountText = document.getElementById('row-count');
const copyButton = document.getElementById('copy');
const languageButton = document.getElementById('language');
const grid = new ResultGrid(document.getElementById('results'));

let language = StartLanguage();
let plan = null;  // the bus plan (plan.js), started once the page's own parts are
let lastCount = null;  // {count, kept} of the rows shown, null before the first listing
let computeCount = 0;  // the computations asked for: only the last one's answers show
let askedInputs = null;  // the inputs of the last listing asked for, null before one
let shownMessage = null;  // the name of the field's status shown in #message, null when none
let shownController = 'bxcan';  // the controller of the rows shown
let shownInputs = null;  // the inputs of the rows shown
let shownSettings = null;  // their settings, kSettingFields numbers a row
let bestLines = [];  // the best setting's tsv line(s) for the rows shown
let bestSettings = new Uint16Array(0);  // their settings, as shownSettings
let bestRows = [];  // where they stand in the grid (-1: beyond the rows it holds)
let bestFacts = null;  // the best reply's tolerance, longest bus and warnings
let shownColumns = [];  // the columns of the rows shown, as the listing gave them
// The controller table (the worker's start reply), by name; until it comes, the two
// the page knows from its own selector.
let controllers = new Map([
  ['bxcan', { name: 'bxcan', vendor: 'ST', clock: '', fd: false, forms: ['hal', 'spl'], limits: null, registers: null }],
  ['fdcan', { name: 'fdcan', vendor: 'ST', clock: '', fd: true, forms: ['hal'], limits: null, registers: null }],
]);
// The grid rows last selected of each phase: the code of an FD controller is the pair.
let selectedNominalRow = -1;
let selectedDataRow = -1;

// --- Language -------------------------------------------------------------------

// The grid's columns, from the module's column table (the worker's 'ready' message):
// each controller's --wide tsv columns, until a listing brings its own.
let pageColumns = { bxcan: [], fdcan: [] };

function ColumnsFor(controller) {
  return controller === shownController && shownColumns.length > 0 ? shownColumns : pageColumns[controller] ?? [];
}

function ColumnTitles(controller) {
  return ColumnsFor(controller).map((column) => column[language]);
}

function ColumnHelps(controller) {
  return ColumnsFor(controller).map((column) => column[`${language}Help`] ?? '');
}

// The grid's titles with what each column holds as a tooltip, and the legend under
// the grid that says the same for a screen without hover.
function ShowColumns() {
  grid.SetColumns(ColumnTitles(shownController), ColumnHelps(shownController));
  const legend = document.getElementById('column-legend');
  legend.replaceChildren();
  for (const column of ColumnsFor(shownController)) {
    const term = document.createElement('dt');
    term.textContent = column[language];
    const description = document.createElement('dd');
    description.textContent = column[`${language}Help`] ?? '';
    legend.append(term, description);
  }
}

function ShowTexts() {
  ApplyTexts(document, language);
  ShowColumns();
  if (shownMessage) messageBox.textContent = FieldMessage(shownMessage);
  ShowRowCount();
  ShowControllerFacts();
  if (decodeShown) ShowDecoded(decodeShown);
  if (!document.getElementById('best-panel').hidden) {
    ShowBest({ best: bestLines.join('\n'), settings: bestSettings, ...(bestFacts ?? {}) });
  }
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

function IsFd(name) {
  return controllers.get(name)?.fd ?? false;
}

function ReadInputs() {
  const fd = IsFd(controllerSelect.value);
  return {
    clock: clockField.value,
    rate: rateField.value,
    samplePoint: samplePointSelect.selectedIndex,
    tolerance: toleranceSelect.selectedIndex,
    controller: controllerSelect.value,
    dataRate: fd ? dataRateField.value : '',
    sjw: sjwField.value,
    dataSjw: fd ? dataSjwField.value : '',
    nodeDelay: nodeDelayField.value,
    busLength: busLengthField.value,
    minTolerance: minToleranceField.value,
  };
}

function WriteInputs(inputs) {
  clockField.value = inputs.clock;
  rateField.value = inputs.rate;
  samplePointSelect.selectedIndex = inputs.samplePoint;
  toleranceSelect.selectedIndex = inputs.tolerance;
  controllerSelect.value = controllers.has(inputs.controller) ? inputs.controller : 'bxcan';
  dataRateField.value = inputs.dataRate;
  sjwField.value = inputs.sjw ?? '';
  dataSjwField.value = inputs.dataSjw ?? '';
  nodeDelayField.value = inputs.nodeDelay ?? '';
  busLengthField.value = inputs.busLength ?? '';
  minToleranceField.value = inputs.minTolerance ?? '';
  if (inputs.form) codeFormWanted = inputs.form;
  ShowController();
}

// The controller selector from the table: one <optgroup> per vendor, in the table's
// order, each option the companion's --controller name.
function FillControllers(list) {
  const chosen = controllerSelect.value;
  controllers = new Map(list.map((entry) => [entry.name, entry]));
  FillControllerSelect(controllerSelect, list);
  controllerSelect.value = controllers.has(chosen) ? chosen : 'bxcan';
  ShowController();
}

// What the chosen controller expects and allows: the clock to type, its limits.
function ShowControllerFacts() {
  const entry = controllers.get(controllerSelect.value);
  const texts = kTexts[language];
  document.getElementById('clock-note').textContent = entry?.clock ? texts.clockNote(entry.clock) : '';
  const limits = document.getElementById('limits-text');
  limits.replaceChildren();
  for (const [key, title] of [['nominal', texts.limitsNominal], ['data', texts.limitsData], ['tdc', texts.limitsTdc]]) {
    const text = entry?.limits?.[key];
    if (!text) continue;
    const term = document.createElement('dt');
    term.textContent = title;
    const description = document.createElement('dd');
    description.textContent = text;
    limits.append(term, description);
  }
  document.getElementById('limits').hidden = !entry?.limits;
  const kind = controllerSelect.value === 'bxcan' ? 'bxcan' : controllerSelect.value === 'fdcan' ? 'fdcan' : 'table';
  sjwField.placeholder = texts.sjwDefault[kind];
  dataSjwField.placeholder = texts.sjwDefault[kind === 'bxcan' ? 'table' : kind];
}

// The code form last chosen (or named by the URL): kept while a controller has it.
let codeFormWanted = 'hal';

// The forms the controller has, as --format names them.
function FillCodeForms() {
  const forms = controllers.get(controllerSelect.value)?.forms ?? [];
  const wanted = forms.includes(codeFormWanted) ? codeFormWanted : forms[0] ?? '';
  codeFormSelect.replaceChildren(...forms.map((form) => {
    const option = document.createElement('option');
    option.value = form;
    option.textContent = form;
    return option;
  }));
  codeFormSelect.value = wanted;
}

// The data rate shows while the controller or a node of the plan is FD.
function ShowDataRateField() {
  document.getElementById('data-rate-field').hidden = !IsFd(controllerSelect.value) && !(plan?.HasFdNode() ?? false);
}

// The FD inputs (the data rate, data SJW, the data registers) show for every FD
// controller; the decode's labels name the controller's registers.
function ShowController() {
  const name = controllerSelect.value;
  const fd = IsFd(name);
  ShowDataRateField();
  document.getElementById('data-sjw-field').hidden = !fd;
  document.getElementById('decode-data-field').hidden = !fd;
  const registers = controllers.get(name)?.registers;
  const nominalNames = registers?.nominal ?? [name === 'fdcan' ? 'NBTP' : 'CAN_BTR'];
  const dataNames = registers?.data ?? ['DBTP'];
  document.getElementById('decode-value-label').textContent = nominalNames.join(', ');
  document.getElementById('decode-data-label').textContent = dataNames.join(', ');
  document.getElementById('decode-value').placeholder = RegisterPlaceholder(name, nominalNames, '0x001C0001');
  document.getElementById('decode-data').placeholder = RegisterPlaceholder(name, dataNames, '0x00010A30');
  ShowControllerFacts();
  FillCodeForms();
  UpdateCodeButtons();
  // A decode (or its refusal) names the registers of the controller it was asked for.
  if (decodeController !== null && decodeController !== name) {
    decodeController = null;
    HideDecoded();
    document.getElementById('decode-message').hidden = true;
  }
}

// A bare value for bxCAN and FDCAN, NAME=VALUE pairs for the others.
function RegisterPlaceholder(name, names, bare) {
  if (name === 'bxcan' || name === 'fdcan') return bare;
  return names.length === 1 ? '0x00000000' : names.map((register) => `${register}=0x00`).join(',');
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
  const controller = controllers.has(params.get('ctl')) || kTableNames.test(params.get('ctl') ?? '')
    ? params.get('ctl') : 'bxcan';
  const fd = IsFd(controller) || !controllers.has(controller);
  // A plan's data rate is its FD nodes' (plan.js), whatever the controller here.
  const planData = params.has('nodes');
  return {
    clock: params.get('clock') ?? '42',
    rate: params.get('rate') ?? '500',
    samplePoint: IndexFromUrl(params, 'sp', kSamplePointItems),
    tolerance: IndexFromUrl(params, 'tol', kToleranceItems),
    controller,
    dataRate: fd || planData ? params.get('data') ?? '' : '',
    sjw: params.get('sjw') ?? '',
    dataSjw: fd ? params.get('dsjw') ?? '' : '',
    nodeDelay: params.get('delay') ?? '',
    busLength: params.get('bus') ?? '',
    minTolerance: params.get('mintol') ?? '',
    form: params.get('form') ?? '',
  };
}

// A controller name as the table spells them, before the table has come: the URL is
// read at start-up, the table a little later (unknown names fall back to bxcan then).
const kTableNames = /^[a-z0-9_.-]{1,32}$/;

function UrlFor(inputs) {
  const params = new URLSearchParams();
  params.set('clock', inputs.clock);
  params.set('rate', inputs.rate);
  params.set('sp', String(inputs.samplePoint));
  params.set('tol', String(inputs.tolerance));
  if (inputs.controller !== 'bxcan') params.set('ctl', inputs.controller);
  if ((inputs.dataRate ?? '') !== '') params.set('data', inputs.dataRate);
  for (const [key, name] of [['sjw', 'sjw'], ['dsjw', 'dataSjw'], ['delay', 'nodeDelay'], ['bus', 'busLength'],
    ['mintol', 'minTolerance']]) {
    if ((inputs[name] ?? '') !== '') params.set(key, inputs[name]);
  }
  if (codeFormSelect.value !== '' && codeFormSelect.value !== (controllers.get(inputs.controller)?.forms ?? [])[0]) {
    params.set('form', codeFormSelect.value);
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
  askedInputs = null;
  computeWhenReady = null;
  WriteInputs({ clock: '42', rate: '500', samplePoint: 0, tolerance: 0, controller: 'bxcan', dataRate: '' });
  HideMessage();
  ClearRows();
  shownInputs = null;
  ++codeAsked;  // a code still on its way describes the listing gone
  ShowCode('');
  UpdateCodeButtons();
  document.body.dataset.state = workerReady ? 'ready' : document.body.dataset.state;
}

// Back and Forward: an entry's language when its address names one, and its request
// computed again, or the start when it names none. The fields are the entry's before
// its plan is made, since the plan reads them.
window.addEventListener('popstate', () => {
  const entryLanguage = LanguageFromUrl();
  if (entryLanguage && entryLanguage !== language) {
    language = entryLanguage;
    ShowTexts();
  }
  const inputs = InputsFromUrl();
  if (!inputs) {
    ShowStart();
  } else {
    WriteInputs(inputs);
    Compute(false);
  }
  plan?.FromUrl();
});

// --- Messages -------------------------------------------------------------------

function HideMessage() {
  shownMessage = null;
  messageBox.hidden = true;
  messageBox.textContent = '';
  for (const field of [clockField, rateField, dataRateField, sjwField, dataSjwField, nodeDelayField, busLengthField,
    minToleranceField]) {
    field.removeAttribute('aria-invalid');
    field.removeAttribute('aria-describedby');
  }
}

// The statuses that name a field: the window's two for an empty one, and a text that
// holds no value.
const kFieldOfStatus = {
  'clock-missing': clockField, 'rate-missing': rateField,
  'clock-unreadable': clockField, 'rate-unreadable': rateField, 'data-rate-unreadable': dataRateField,
  'sjw-unreadable': sjwField, 'data-sjw-unreadable': dataSjwField, 'node-delay-unreadable': nodeDelayField,
  'bus-length-unreadable': busLengthField, 'min-tolerance-unreadable': minToleranceField,
};

// The form's fields by the names the worker's refusals give them.
const kFieldByName = {
  clock: clockField, rate: rateField, 'data-rate': dataRateField, sjw: sjwField, 'data-sjw': dataSjwField,
  'node-delay': nodeDelayField, 'bus-length': busLengthField, 'min-tolerance': minToleranceField,
};

let shownDetail = '';  // the companion's reason for a refusal of another kind

function IsFieldStatus(name) {
  return Object.hasOwn(kFieldOfStatus, name);
}

function FieldMessage(name) {
  const texts = kTexts[language];
  return texts.missing[name] ?? texts.unreadable[name] ?? shownDetail;
}

// A refusal that names a field of the form (the companion's own, such as an option
// that needs another) shows its reason beside that field.
function IsFieldRefusal(error) {
  return IsFieldStatus(error.name) || Object.hasOwn(kFieldByName, error.field ?? '');
}

// The message next to the field its status (or refusal) names; the focus goes there.
function ShowMissing(name, error = null) {
  shownDetail = error?.detail ?? '';
  const field = kFieldOfStatus[name] ?? kFieldByName[error?.field ?? ''];
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
  ShowCode('');
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
  ShowColumns();
}

// startResult: what the module tells the page once, the result of the reply to the
// worker's start (id 0); the module's column titles come in it as columns, the
// controller table as controllers.
function WorkerReady(startResult) {
  if (startResult.controllers) {
    // The controller the URL named, kept if the table has it.
    const named = startInputs?.controller ?? controllerSelect.value;
    FillControllers(startResult.controllers);
    if (startInputs) WriteInputs({ ...startInputs, controller: named });
  }
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
  shownColumns = rows.columns ?? [];
  selectedNominalRow = -1;
  selectedDataRow = -1;
  ShowColumns();
  grid.SetRows({ bytes: rows.bytes, rowEnds: rows.rowEnds, count: rows.kept });
  lastCount = { count: rows.count, kept: rows.kept };
  ShowRowCount();
  ShowBest({ best: '', settings: new Uint16Array(0) });
  document.getElementById('best-panel').hidden = true;
  document.getElementById('download').hidden = rows.kept === rows.count;
  ShowCode('');
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

// best: the best reply's result, {best, settings, tolerance, longestBus, warnings}.
function ShowBest(best) {
  const text = best.best;
  bestLines = text === '' ? [] : text.replace(/\n$/, '').split('\n');
  bestSettings = best.settings;
  bestFacts = text === '' ? null : { tolerance: best.tolerance, longestBus: best.longestBus, warnings: best.warnings ?? [] };
  ShowBestFacts();
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

// The best setting's tolerance and longest bus beside it, and a plain warning for
// each the module found short.
function ShowBestFacts() {
  const texts = kTexts[language];
  const facts = document.getElementById('best-facts');
  const warnings = document.getElementById('best-warnings');
  warnings.replaceChildren();
  if (!bestFacts) {
    facts.textContent = '';
    warnings.hidden = true;
    return;
  }
  const bus = bestFacts.longestBus === null || bestFacts.longestBus < 0 ? '-' : `${bestFacts.longestBus} m`;
  facts.textContent = texts.bestFacts(bestFacts.tolerance, bus);
  for (const warning of bestFacts.warnings) {
    const say = texts.bestWarnings[warning.name];
    if (!say) continue;
    const item = document.createElement('li');
    item.textContent = say(warning.longest, warning.limit);
    warnings.appendChild(item);
  }
  warnings.hidden = warnings.childElementCount === 0;
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

// The settings the code shows: a classic controller's selected row (the focused one),
// else its best; an FD controller's pair, the nominal and the data row last selected,
// the best's in place of a phase not selected (no data phase without a data rate).
function CodeTarget() {
  const { firstRow, focusRow } = grid.selection;
  const selected = firstRow >= 0 && focusRow >= 0;
  if (!IsFd(shownController)) return SettingAt(selected ? shownSettings : bestSettings, selected ? focusRow : 0);
  const bestNominal = SettingAt(bestSettings, 0);
  const bestData = SettingAt(bestSettings, 1);
  const nominal = selected && selectedNominalRow >= 0 ? SettingAt(shownSettings, selectedNominalRow) : bestNominal;
  const data = selected && selectedDataRow >= 0 ? SettingAt(shownSettings, selectedDataRow) : bestData;
  if (!nominal) return null;
  return { nominal, data: shownInputs?.dataRate ? data : null };
}

function UpdateCodeButtons() {
  const usable = shownInputs !== null && CodeTarget() !== null && codeFormSelect.value !== '';
  document.getElementById('copy-code').disabled = !usable;
}

// Notes which phase's row the focus is on: the last selected of each makes the pair.
function NoteSelectedRow(selection) {
  if (selection.firstRow < 0 || selection.focusRow < 0) {
    selectedNominalRow = -1;
    selectedDataRow = -1;
    return;
  }
  const target = SettingAt(shownSettings, selection.focusRow);
  if (!target) return;
  if (target.phase === 'data') selectedDataRow = selection.focusRow;
  else selectedNominalRow = selection.focusRow;
}

function ShowCode(text) {
  const code = document.getElementById('code');
  code.textContent = text;
  code.hidden = text === '';
}

let codeAsked = 0;  // only the last code request's answer shows

// Asks for the code of CodeTarget() in the chosen form; resolves to its text, or ''
// when there is none. The settings and the fields of their listing travel with the
// request, so the code is the rows' on screen whatever the worker has listed since.
function AskCode() {
  const target = CodeTarget();
  if (!target || !shownInputs || codeFormSelect.value === '') {
    ShowCode('');
    return Promise.resolve('');
  }
  const asked = ++codeAsked;
  const setting = (entry) => (entry ? entry.setting : undefined);
  const request = target.nominal
    ? { ...shownInputs, form: codeFormSelect.value, nominal: setting(target.nominal), data: setting(target.data) }
    : { ...shownInputs, form: codeFormSelect.value, nominal: setting(target) };
  return bridge.Ask('code', request).then((result) => {
    if (asked === codeAsked) ShowCode(result.text);
    return result.text;
  }, (error) => {
    console.info(`no code: ${error.name}`);
    if (asked === codeAsked) ShowCode('');
    return '';
  });
}

// The code follows the selection, the form and the best setting.
function RefreshCode() {
  UpdateCodeButtons();
  if (shownInputs) AskCode();
}

// The clipboard is written inside the click; the code follows from the worker, so
// the button copies what the preview then shows.
document.getElementById('copy-code').addEventListener('click', () => {
  AskCode().then((text) => { if (text !== '') CopyToClipboard(text); });
});

codeFormSelect.addEventListener('change', () => {
  codeFormWanted = codeFormSelect.value;
  RefreshCode();
  if (shownInputs) WriteUrl(shownInputs, false);
});

// --- The whole listing as a file ---------------------------------------------------

document.getElementById('download').addEventListener('click', () => {
  if (!shownInputs) return;
  const parts = [];
  // Each chunk goes to the browser's blob store as it comes.
  bridge.Ask('download', shownInputs, (partial) => parts.push(new Blob([partial.chunk]))).then(() => {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob(parts, { type: 'text/tab-separated-values' }));
    link.download = `quillmere-${shownInputs.controller}.tsv`;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  }, (error) => console.info(`no download: ${error.name}`));
});

// --- Register decode ---------------------------------------------------------------

// The register texts go to the worker as typed: the module reads them as the
// companion reads --decode and --decode-data, its rows come back with their columns
// (titled in the page's language) and the companion's warnings.
let decodeShown = null;  // the last decode's result, for a change of language
let decodeController = null;  // the controller of the decode or refusal shown, null when none

function ShowDecoded(result) {
  decodeShown = result;
  const output = document.getElementById('decode-output');
  const table = document.createElement('table');
  table.className = 'best-table';
  const head = table.insertRow();
  for (const column of result.columns) {
    const cell = document.createElement('th');
    cell.scope = 'col';
    cell.textContent = column[language];
    cell.title = column[`${language}Help`] ?? '';
    head.appendChild(cell);
  }
  for (const line of result.text.replace(/\n$/, '').split('\n')) {
    const row = table.insertRow();
    for (const text of line.split('\t')) row.insertCell().textContent = text;
  }
  output.replaceChildren(table);
  output.hidden = false;
  const warnings = document.getElementById('decode-warnings');
  warnings.replaceChildren(...result.warnings.map((text) => {
    const item = document.createElement('li');
    item.textContent = text;
    return item;
  }));
  warnings.hidden = result.warnings.length === 0;
}

function HideDecoded() {
  decodeShown = null;
  document.getElementById('decode-output').hidden = true;
  document.getElementById('decode-warnings').hidden = true;
}

document.getElementById('decode-form').addEventListener('submit', (event) => {
  event.preventDefault();
  const fd = IsFd(controllerSelect.value);
  const nominal = document.getElementById('decode-value').value.trim();
  const data = fd ? document.getElementById('decode-data').value.trim() : '';
  const message = document.getElementById('decode-message');
  message.hidden = true;
  const inputs = ReadInputs();
  decodeController = inputs.controller;
  bridge.Ask('decode', { ...inputs, nominal, data }).then(ShowDecoded, (error) => {
    if (IsFieldRefusal(error) && kFieldByName[error.field]) {
      HideDecoded();
      ShowMissing(error.name, error);
      return;
    }
    const texts = kTexts[language];
    if (error.name === 'reserved-bits' || error.name === 'data-reserved-bits') {
      message.textContent = texts.reservedBits(error.bits);
    } else if (error.detail !== undefined) {
      message.textContent = texts.unreadable[error.name] ?? error.detail;
      if (texts.unreadable[error.name] && error.detail) message.title = error.detail;
    } else {
      ShowFailure(error);
      return;
    }
    message.hidden = false;
    HideDecoded();
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
  askedInputs = inputs;
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
    // An empty field keeps the rows, as the window's table does; a field that holds no
    // value, or a value the request refuses, shows none.
    if (IsFieldRefusal(error) && !(error.name ?? '').endsWith('-missing')) {
      ClearRows();
      ShowRequest(inputs, push);
    }
    if (IsFieldRefusal(error)) ShowMissing(error.name, error);
    else ShowFailure(error);
  });
  bridge.Ask('best', inputs).then((result) => {
    if (asked !== computeCount) return;
    ShowBest(result);
    RefreshCode();
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
  NoteSelectedRow(selection);
  RefreshCode();
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

// The fields written into the address by a plan are the listing's too: a listing shown
// for other fields is asked for again, so that the rows are the address's.
function PlanWritesUrl(push) {
  const inputs = ReadInputs();
  if (askedInputs && JSON.stringify(inputs) !== JSON.stringify(askedInputs)) Compute(false);
  WriteUrl(inputs, push);
}

OfferApp();
// The bus plan reads the main form's fields, and its nodes go into the address.
plan = StartPlan({
  bridge,
  started: bridge.started,
  language: () => language,
  fields: () => ({
    ...ReadInputs(), dataRate: dataRateField.value, nodeDelay: BusField('node-delay'), busLength: BusField('bus-length'),
    minTolerance: BusField('min-tolerance'),
  }),
  writeUrl: PlanWritesUrl,
  nodesChanged: ShowDataRateField,
});

const startInputs = InputsFromUrl();
ShowController();
ShowTexts();
if (startInputs) {
  WriteInputs(startInputs);
  history.replaceState(startInputs, '');
  Compute(false);
}
