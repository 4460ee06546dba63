// The listing: the compute command (the inputs to the worker as they are, texts and
// indexes, read by its module as the window reads them), the grid of its rows with
// their columns and the legend, the row count, and the whole listing as a file. This
// module owns what is shown; the others read it through ShownListing().
import { kTexts } from './i18n.js';
import { EmptyRows } from './grid_rows.js';
import { ResultGrid } from './table.js';
import { kPageBridge } from './page_bridge.js';
import { PageLanguage } from './page_language.js';
import { ReadInputs, WriteUrl } from './inputs.js';
import { HideMessage, IsFieldRefusal, ShowFieldMessage } from './field_messages.js';
import { HideBest, ShowBest } from './best.js';
import { DropCode, ForgetSelectedRows, RefreshCode, UpdateCodeButtons } from './code.js';
import { KeepDecodeFor } from './decode.js';
import { ShowClockWarning } from './controller_form.js';

export const listingGrid = new ResultGrid(document.getElementById('results'));
const rowCountText = document.getElementById('row-count');

// The listing on screen: its controller, the inputs it was asked for (null before
// one), its rows' settings (kSettingFields numbers a row), its columns as its reply
// gave them, and {count, kept} of its rows (null without rows).
let shown = { controller: 'bxcan', inputs: null, settings: null, columns: [], count: null };
let computeCount = 0;  // the computations asked for: only the last one's answers show
let askedInputs = null;  // the inputs of the last listing asked for, null before one
let workerReady = false;
let computeWhenReady = null;  // push of a computation asked for before the worker was ready
// The grid's columns, from the module's column table (the worker's start reply): each
// controller's --wide tsv columns, until a listing brings its own.
let startColumns = { bxcan: [], fdcan: [] };

export function ShownListing() {
  return shown;
}

export function AskedInputs() {
  return askedInputs;
}

function ColumnsFor(controller) {
  return controller === shown.controller && shown.columns.length > 0 ? shown.columns : startColumns[controller] ?? [];
}

// The titles of the columns shown, in the page's language.
export function ColumnTitles() {
  return ColumnsFor(shown.controller).map((column) => column[PageLanguage()]);
}

// The grid's titles with what each column holds as a tooltip, and the legend under
// the grid that says the same for a screen without hover.
export function ShowColumns() {
  const language = PageLanguage();
  const columns = ColumnsFor(shown.controller);
  listingGrid.SetColumns(columns.map((column) => column[language]), columns.map((column) => column[`${language}Help`] ?? ''));
  const legend = document.getElementById('column-legend');
  legend.replaceChildren();
  for (const column of columns) {
    const term = document.createElement('dt');
    term.textContent = column[language];
    const description = document.createElement('dd');
    description.textContent = column[`${language}Help`] ?? '';
    legend.append(term, description);
  }
}

export function ShowRowCount() {
  const texts = kTexts[PageLanguage()];
  if (!shown.count) {
    rowCountText.textContent = '';
    return;
  }
  rowCountText.textContent = shown.count.kept < shown.count.count
    ? texts.rowCountTruncated(shown.count.count, shown.count.kept)
    : texts.rowCount(shown.count.count);
}

// A field that holds no value: the rows, the best setting and the code of the last
// listing no longer describe the request, so none are shown.
// The best setting and the code go before the grid's rows change: a selection the
// grid drops asks for the code again, which must not be the old best's.
function ClearRows() {
  HideBest();
  DropCode();
  shown.settings = new Uint16Array(0);
  listingGrid.SetRows(EmptyRows());
  shown.count = null;
  ShowRowCount();
  KeepDecodeFor(null);
  document.getElementById('download').hidden = true;
  UpdateCodeButtons();
}

// The rows of a listing (the compute reply's result) for the inputs it was asked for.
function ShowRows(rows, inputs, started) {
  HideBest();
  DropCode();
  shown = { controller: inputs.controller, inputs, settings: rows.settings, columns: rows.columns ?? [], count: null };
  ForgetSelectedRows();
  ShowColumns();
  listingGrid.SetRows({ bytes: rows.bytes, rowEnds: rows.rowEnds, count: rows.kept });
  shown.count = { count: rows.count, kept: rows.kept };
  ShowRowCount();
  KeepDecodeFor(inputs);
  document.getElementById('download').hidden = rows.kept === rows.count;
  UpdateCodeButtons();
  // Marked once the rows have been painted: after the next frame.
  requestAnimationFrame(() => setTimeout(() => {
    performance.measure('quillmere-compute', { start: started, end: performance.now() });
    document.body.dataset.state = 'shown';
  }, 0));
}

// The address names the listing on screen: it is written when the rows of a request
// show (or its refusal empties the table), never when it is only asked for, so that
// a computation overtaken by another, or refused for an empty field, leaves the
// address of the rows still shown. The code shown for the listing before goes.
function ShowRequest(inputs, push) {
  WriteUrl(inputs, push);
  document.getElementById('code').hidden = true;
  listingWritten();
}

// What follows the listing's address: the page's bus plan (main.js).
let listingWritten = () => {};
export function OnListingWritten(follow) {
  listingWritten = follow;
}

// The compute command. push: a new history entry.
export function ComputeListing(push) {
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
  // first; the answers of a computation asked for since are dropped. Each is the only
  // one of its channel wanted: a listing or best still being made when the fields
  // change is dropped, and the worker busy with it replaced (worker_bridge.js), so the
  // new answers never wait for it; neither lets the requests behind it pass (its best
  // is one), so the rows still come before their best.
  kPageBridge.Ask('compute', inputs, null, { channel: 'listing', givesWay: false }).then((rows) => {
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
    if (IsFieldRefusal(error)) ShowFieldMessage(error);
    else ShowFailure(error);
  });
  kPageBridge.Ask('best', inputs, null, { channel: 'best', givesWay: false }).then((result) => {
    if (asked !== computeCount) return;
    ShowClockWarning(result.clockWarning);
    ShowBest(result);
    RefreshCode();
  }, () => {
    // An empty field: the listing's answer says so.
    if (asked === computeCount) ShowClockWarning(null);
  });
}

// No listing: answers still on their way are dropped, and the rows, best setting,
// clock warning and code go (the page as it opens without a request).
export function DropListing() {
  ++computeCount;
  askedInputs = null;
  computeWhenReady = null;
  HideMessage();
  ShowClockWarning(null);
  ClearRows();
  shown.inputs = null;
  document.body.dataset.state = workerReady ? 'ready' : document.body.dataset.state;
}

// The worker has started: the columns of its start reply, and a computation asked
// for before.
export function ListingReady(columns) {
  if (columns) startColumns = columns;
  ShowColumns();
  workerReady = true;
  performance.mark('quillmere-ready');
  document.body.dataset.state = 'ready';
  if (computeWhenReady !== null) ComputeListing(computeWhenReady);
  computeWhenReady = null;
}

// A failure that is no input check: the module did not load, or the worker failed.
export function ShowFailure(error) {
  rowCountText.textContent = kTexts[PageLanguage()].loadFailed;
  console.warn(error.reason ?? error.name);
}

// The whole listing as a tsv file: each chunk goes to the browser's blob store as it
// comes.
document.getElementById('download').addEventListener('click', () => {
  const inputs = shown.inputs;
  if (!inputs) return;
  const parts = [];
  kPageBridge.Ask('download', inputs, (partial) => parts.push(new Blob([partial.chunk]))).then(() => {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob(parts, { type: 'text/tab-separated-values' }));
    link.download = `quillmere-${inputs.controller}.tsv`;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  }, (error) => console.info(`no download: ${error.name}`));
});
