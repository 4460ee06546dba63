// The page: its parts started and joined. The window's form and the companion's
// further fields (inputs.js, controller_form.js), the listing and its grid
// (listing.js), the best setting (best.js), code to paste (code.js), register decode
// (decode.js), the clipboard (clipboard.js), the selected row's bit (bit_picture.js)
// and the bus plan (plan.js); here the language switch, Back and Forward, the
// worker's start and the events that join them. No number shown is computed in the
// page: rows, messages, warnings, code and decodes come from the worker's module.
import { ApplyTexts } from './i18n.js';
import { kPageBridge } from './page_bridge.js';
import { LanguageFromUrl, PageLanguage, SetPageLanguage } from './page_language.js';
import { RedrawSettingBit, ShowSettingBit } from './bit_picture.js';
import {
  DefaultInput, InputsFromUrl, PlanFields, ReadInputs, ReplaceSearch, SetInputDefaults, WriteInputs, WriteUrl,
} from './inputs.js';
import {
  controllerSelect, FillControllers, FilterControllers, ShowController, ShowControllerFacts, ShowDataRateField,
} from './controller_form.js';
import { SetWindowMessages, ShowFieldMessageAgain } from './field_messages.js';
import {
  AskedInputs, ComputeListing, DropListing, listingGrid, ListingReady, OnListingWritten, ShowColumns, ShowFailure,
  ShowRowCount, ShownListing,
} from './listing.js';
import { ShowBestAgain } from './best.js';
import { DropCode, NoteSelectedRow, RefreshCode, SettingAt } from './code.js';
import { ShowDecodedAgain } from './decode.js';
import { EnableCopy } from './clipboard.js';
import { StartPlan } from './plan.js';

const bitPicture = document.getElementById('bit-picture');
let plan = null;  // the bus plan (plan.js), started once the page's own parts are
let startFacts = null;  // the start reply's defaults, advice and reference lengths, null before it

// Every text in the page's language.
function ShowTexts() {
  const language = PageLanguage();
  ApplyTexts(document, language, startFacts);
  ShowColumns();
  ShowFieldMessageAgain();
  ShowRowCount();
  ShowControllerFacts();
  ShowDecodedAgain();
  ShowBestAgain();
  plan?.ShowTexts();
  RedrawSettingBit(bitPicture, language);
}

// The switch changes the texts, never the request: the address keeps the listing it
// names (the fields may hold edits not yet computed), and only a lang it carries
// follows the switch, so that a reload shows the language chosen.
document.getElementById('language').addEventListener('click', () => {
  SetPageLanguage(PageLanguage() === 'zh' ? 'en' : 'zh', true);
  ShowTexts();
  const params = new URLSearchParams(location.search);
  if (!params.has('lang')) return;
  params.set('lang', PageLanguage());
  ReplaceSearch(`?${params.toString()}`);
});

// The page as it opens without a request: the window's start values, no rows, no best
// setting, no code, no message; answers still on their way are dropped.
function ShowStart() {
  DropListing();
  WriteInputs({
    clock: DefaultInput('clock'), rate: DefaultInput('rate'), samplePoint: 0, tolerance: '0', controller: 'bxcan',
    dataRate: '',
  });
  DropCode();
}

// Back and Forward: an entry's language when its address names one, and its request
// computed again, or the start when it names none. The fields are the entry's before
// its plan is made, since the plan reads them.
window.addEventListener('popstate', () => {
  const entryLanguage = LanguageFromUrl();
  if (entryLanguage && entryLanguage !== PageLanguage()) {
    SetPageLanguage(entryLanguage, false);
    ShowTexts();
  }
  const inputs = InputsFromUrl();
  if (!inputs) {
    ShowStart();
  } else {
    WriteInputs(inputs);
    ComputeListing(false);
  }
  plan?.FromUrl();
});

document.getElementById('inputs').addEventListener('submit', (event) => {
  event.preventDefault();
  ComputeListing(true);
});
// Choosing an item in the selector, or one of the window's tolerances from the
// tolerance's list, computes, as in the window; a typed value computes with Enter.
document.getElementById('sample-point').addEventListener('change', () => ComputeListing(true));
document.getElementById('tolerance').addEventListener('input', (event) => {
  if (event.inputType === 'insertReplacementText' || event.inputType === undefined) ComputeListing(true);
});
controllerSelect.addEventListener('change', () => {
  ShowController();
  ComputeListing(true);
});
// Typing in the search field narrows the selector; it computes nothing.
document.getElementById('controller-search').addEventListener('input', FilterControllers);

// The focused row's setting, drawn by bit_picture.js from the module's parts.
function ShowSelectedBit(selection) {
  const shown = ShownListing();
  const target = selection.firstRow >= 0 && selection.focusRow >= 0 ? SettingAt(shown.settings, selection.focusRow) : null;
  const request = target && shown.inputs ? {
    controller: shown.controller, clock: shown.inputs.clock, phase: target.phase, ...target.setting,
    nodeDelay: document.getElementById('node-delay').value, busLength: document.getElementById('bus-length').value,
  } : null;
  ShowSettingBit(kPageBridge, bitPicture, request, PageLanguage());
}

listingGrid.onSelectionChange = (selection) => {
  EnableCopy(selection);
  NoteSelectedRow(selection);
  RefreshCode();
  ShowSelectedBit(selection);
};

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
// for other fields, or none yet, is asked for, so that the rows are the address's.
function PlanWritesUrl(push) {
  const inputs = ReadInputs();
  const asked = AskedInputs();
  if (!asked || JSON.stringify(inputs) !== JSON.stringify(asked)) ComputeListing(false);
  WriteUrl(inputs, push);
}

const startInputs = InputsFromUrl();

// startResult: what the module tells the page once, the result of the reply to the
// worker's start (id 0); the module's column titles come in it as columns, the
// controller table as controllers.
function WorkerReady(startResult) {
  startFacts = {
    defaults: startResult.defaults, advice: startResult.advice, referenceLengths: startResult.referenceLengths,
  };
  SetInputDefaults(startFacts.defaults);
  SetWindowMessages(startResult.windowMessages);
  ApplyTexts(document, PageLanguage(), startFacts);
  if (startResult.controllers) {
    // The controller the URL named, kept if the table has it.
    const named = startInputs?.controller ?? controllerSelect.value;
    FillControllers(startResult.controllers, startResult.faces);
    if (startInputs) WriteInputs({ ...startInputs, controller: named });
  }
  ListingReady(startResult.columns);
}

kPageBridge.started.then(WorkerReady, ShowFailure);

OfferApp();
// The bus plan reads the main form's fields, and its nodes go into the address.
plan = StartPlan({
  bridge: kPageBridge,
  started: kPageBridge.started,
  language: PageLanguage,
  fields: PlanFields,
  writeUrl: PlanWritesUrl,
  nodesChanged: ShowDataRateField,
});
OnListingWritten(() => plan.ListingChanged());

ShowController();
ShowTexts();
if (startInputs) {
  WriteInputs(startInputs);
  history.replaceState(startInputs, '');
  ComputeListing(false);
}
