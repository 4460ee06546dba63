// The page: the window's form, its state in the URL, the worker that runs the search,
// and the result grid. No number shown here is computed here: the rows and messages
// come from the worker's module.
import { ApplyTexts, kTexts, PreferredLanguage } from './i18n.js';
import { ResultGrid } from './table.js';

const kSamplePointItems = 5;
const kToleranceItems = 11;

const clockField = document.getElementById('clock');
const rateField = document.getElementById('rate');
const samplePointSelect = document.getElementById('sample-point');
const toleranceSelect = document.getElementById('tolerance');
const form = document.getElementById('inputs');
const messageBox = document.getElementById('message');
const rowCountText = document.getElementById('row-count');
const copyButton = document.getElementById('copy');
const languageButton = document.getElementById('language');
const grid = new ResultGrid(document.getElementById('results'));

let language = PreferredLanguage(navigator.languages);
let lastCount = null;  // {count, kept} of the rows shown, null before the first listing
let nextId = 1;
let pendingId = 0;
let pendingStart = 0;
let shownMessage = 0;  // the input check shown in #message, 0 when none

// --- Language -------------------------------------------------------------------

function ShowTexts() {
  ApplyTexts(document, language);
  grid.SetColumns(kTexts[language].columns);
  if (shownMessage) messageBox.textContent = kTexts[language].missing[shownMessage];
  ShowRowCount();
}

languageButton.addEventListener('click', () => {
  language = language === 'zh' ? 'en' : 'zh';
  ShowTexts();
  WriteUrl(ReadInputs(), false);
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
  };
}

function WriteInputs(inputs) {
  clockField.value = inputs.clock;
  rateField.value = inputs.rate;
  samplePointSelect.selectedIndex = inputs.samplePoint;
  toleranceSelect.selectedIndex = inputs.tolerance;
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
  if (params.get('lang') === 'zh' || params.get('lang') === 'en') language = params.get('lang');
  if (!['clock', 'rate', 'sp', 'tol'].some((name) => params.has(name))) return null;
  return {
    clock: params.get('clock') ?? '42',
    rate: params.get('rate') ?? '500',
    samplePoint: IndexFromUrl(params, 'sp', kSamplePointItems),
    tolerance: IndexFromUrl(params, 'tol', kToleranceItems),
  };
}

function UrlFor(inputs) {
  const params = new URLSearchParams();
  params.set('clock', inputs.clock);
  params.set('rate', inputs.rate);
  params.set('sp', String(inputs.samplePoint));
  params.set('tol', String(inputs.tolerance));
  if (new URLSearchParams(location.search).has('lang')) params.set('lang', language);
  return `?${params.toString()}`;
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

window.addEventListener('popstate', () => {
  const inputs = InputsFromUrl();
  if (!inputs) {
    WriteInputs({ clock: '42', rate: '500', samplePoint: 0, tolerance: 0 });
    return;
  }
  WriteInputs(inputs);
  Compute(false);
});

// --- Messages -------------------------------------------------------------------

function HideMessage() {
  shownMessage = 0;
  messageBox.hidden = true;
  messageBox.textContent = '';
  for (const field of [clockField, rateField]) {
    field.removeAttribute('aria-invalid');
    field.removeAttribute('aria-describedby');
  }
}

// The window's message next to the field that lacks its text; the focus goes there.
function ShowMissing(check) {
  const field = check === 1 ? clockField : rateField;
  shownMessage = check;
  messageBox.textContent = kTexts[language].missing[check];
  field.parentElement.appendChild(messageBox);
  messageBox.hidden = false;
  field.setAttribute('aria-invalid', 'true');
  field.setAttribute('aria-describedby', 'message');
  field.focus();
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

function StartWorker() {
  const source = document.getElementById('worker-source').textContent;
  const url = URL.createObjectURL(new Blob([source], { type: 'text/javascript' }));
  const worker = new Worker(url);
  URL.revokeObjectURL(url);
  return worker;
}

const worker = StartWorker();
let workerReady = false;
let computeWhenReady = null;

worker.onmessage = (event) => {
  const reply = event.data;
  if (reply.type === 'ready') {
    workerReady = true;
    performance.mark('quillmere-ready');
    document.body.dataset.state = 'ready';
    if (computeWhenReady !== null) Compute(computeWhenReady);
    computeWhenReady = null;
    return;
  }
  if (reply.id !== pendingId) return;  // a newer computation was asked for
  if (reply.type === 'missing') {
    document.body.dataset.state = 'shown';
    ShowMissing(reply.check);
    return;
  }
  if (reply.type === 'rows') {
    grid.SetRows({ bytes: reply.bytes, rowEnds: reply.rowEnds, count: reply.kept });
    lastCount = { count: reply.count, kept: reply.kept };
    ShowRowCount();
    const started = pendingStart;
    // Marked once the rows have been painted: after the next frame.
    requestAnimationFrame(() => setTimeout(() => {
      performance.measure('quillmere-compute', { start: started, end: performance.now() });
      document.body.dataset.state = 'shown';
    }, 0));
    return;
  }
  if (reply.type === 'failed') {
    rowCountText.textContent = kTexts[language].loadFailed;
    console.warn(reply.reason);
  }
};

// The compute command: the inputs go to the worker as they are (texts and indexes),
// and the worker's module reads them as the window does.
function Compute(push) {
  HideMessage();
  const inputs = ReadInputs();
  if (!workerReady) {
    computeWhenReady = push;
    return;
  }
  pendingId = nextId++;
  pendingStart = performance.now();
  document.body.dataset.state = 'computing';
  worker.postMessage({ type: 'compute', id: pendingId, ...inputs });
  // Only complete inputs go into the address: an empty field changes nothing, as in
  // the window, whose table keeps its rows.
  if (inputs.clock !== '' && inputs.rate !== '') WriteUrl(inputs, push);
}

form.addEventListener('submit', (event) => {
  event.preventDefault();
  Compute(true);
});
// Choosing an item in either selector computes, as in the window.
samplePointSelect.addEventListener('change', () => Compute(true));
toleranceSelect.addEventListener('change', () => Compute(true));

// --- Copy -----------------------------------------------------------------------

let copyFromButton = false;

function CopiedRowsNote() {
  const count = grid.SelectedRowCount();
  if (count > 0) copyButton.title = kTexts[language].copied(count);
}

// Ctrl+C in the grid: the copy event of a focused element that is not editable reaches
// the document. The text is the window's: cells by tab, rows by CR LF.
document.addEventListener('copy', (event) => {
  const fromGrid = copyFromButton || document.activeElement === grid.element;
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

grid.onCopyRequest = CopySelection;
copyButton.addEventListener('click', CopySelection);
grid.onSelectionChange = (selection) => {
  copyButton.disabled = selection.firstRow < 0;
};

// --- Start ------------------------------------------------------------------------

const startInputs = InputsFromUrl();
ShowTexts();
if (startInputs) {
  WriteInputs(startInputs);
  history.replaceState(startInputs, '');
  Compute(false);
}
