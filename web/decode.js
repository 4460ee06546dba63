// Register decode: the register texts go to the worker as typed, its module reads them
// as the companion reads --decode and --decode-data, and its rows come back with their
// columns (titled in the page's language) and the companion's warnings. A decode reads
// the fields of the listing on screen: fields edited since are listed first, and a
// decode stays only while the listing of its fields does.
import { kTexts, PageWords } from './i18n.js';
import { kPageBridge } from './page_bridge.js';
import { PageLanguage } from './page_language.js';
import { controllerSelect, IsFd } from './controller_form.js';
import { ReadInputs } from './inputs.js';
import { IsFieldRefusal, NamesFormField, ShowFieldMessage } from './field_messages.js';
import { ComputeListing, ShowFailure, ShownListing } from './listing.js';

let decodeShown = null;  // the last decode's result, for a change of language
let decodeInputs = null;  // the fields of the decode shown, null when none
let decodeController = null;  // the controller of the decode or refusal shown, null when none
let decodeAsked = 0;  // only the last decode's answer shows

const SameInputs = (a, b) => a !== null && b !== null && JSON.stringify(a) === JSON.stringify(b);

function ShowDecoded(result) {
  decodeShown = result;
  const language = PageLanguage();
  const output = document.getElementById('decode-output');
  output.dataset.clock = decodeInputs.clock;
  output.dataset.controller = decodeInputs.controller;
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
  decodeInputs = null;
  document.getElementById('decode-output').hidden = true;
  document.getElementById('decode-warnings').hidden = true;
}

// The decode shown again, in another language.
export function ShowDecodedAgain() {
  if (decodeShown) ShowDecoded(decodeShown);
}

// A listing of other fields shown (inputs), or none (null): the decode shown read the
// registers at another clock or for another controller, and goes.
export function KeepDecodeFor(inputs) {
  if (decodeShown !== null && !SameInputs(decodeInputs, inputs)) HideDecoded();
}

// A decode (or its refusal) names the registers of the controller it was asked for:
// another controller chosen, it goes.
export function ForgetDecodeOf(controller) {
  if (decodeController === null || decodeController === controller) return;
  decodeController = null;
  HideDecoded();
  document.getElementById('decode-message').hidden = true;
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
  // Fields edited since the listing on screen: their listing first (the worker answers
  // in order, so its rows come before the decode), and the decode shows only beside it.
  if (!SameInputs(ShownListing().inputs, inputs)) ComputeListing(true);
  const asked = ++decodeAsked;
  kPageBridge.Ask('decode', { ...inputs, nominal, data }).then((result) => {
    if (asked !== decodeAsked) return;
    if (!SameInputs(ShownListing().inputs, inputs)) {
      HideDecoded();
      return;
    }
    decodeInputs = inputs;
    ShowDecoded(result);
  }, (error) => {
    if (asked !== decodeAsked) return;
    if (IsFieldRefusal(error) && NamesFormField(error)) {
      HideDecoded();
      ShowFieldMessage(error);
      return;
    }
    const texts = kTexts[PageLanguage()];
    if (error.name === 'reserved-bits' || error.name === 'data-reserved-bits') {
      message.textContent = texts.reservedBits(error.bits);
    } else if (error.detail !== undefined) {
      const detail = PageWords(error.detail, PageLanguage());
      message.textContent = texts.unreadable[error.name] ?? detail;
      if (texts.unreadable[error.name] && error.detail) message.title = detail;
    } else {
      ShowFailure(error);
      return;
    }
    message.hidden = false;
    HideDecoded();
  });
});
