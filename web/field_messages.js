// The message beside a field: the window's words for an empty clock or rate, the
// page's for a text that holds no value, else the companion's reason for a refusal
// that names a field. One message at a time, in #message, the focus on its field.
import { kTexts, PageWords } from './i18n.js';
import { PageLanguage } from './page_language.js';
import { formFields } from './inputs.js';

const messageBox = document.getElementById('message');

// The statuses that name a field: the window's two for an empty one, and a text that
// holds no value.
const kFieldOfStatus = {
  'clock-missing': 'clock', 'rate-missing': 'rate',
  'clock-unreadable': 'clock', 'rate-unreadable': 'rate', 'data-rate-unreadable': 'dataRate',
  'sjw-unreadable': 'sjw', 'data-sjw-unreadable': 'dataSjw', 'node-delay-unreadable': 'nodeDelay',
  'bus-length-unreadable': 'busLength', 'min-tolerance-unreadable': 'minTolerance',
  'tolerance-unreadable': 'tolerance', 'target-sample-point-unreadable': 'bestTarget',
  'data-target-sample-point-unreadable': 'dataBestTarget',
};

// The form's fields by the names the worker's refusals give them.
const kFieldByName = {
  clock: 'clock', rate: 'rate', 'data-rate': 'dataRate', sjw: 'sjw', 'data-sjw': 'dataSjw',
  'node-delay': 'nodeDelay', 'bus-length': 'busLength', 'min-tolerance': 'minTolerance', tolerance: 'tolerance',
  // A listing's targets are its best's (the plan's own show beside the plan).
  'target-sample-point': 'bestTarget', 'data-target-sample-point': 'dataBestTarget',
};

// The message shown: the status's name and the companion's reason for a refusal of
// another kind; null when none shows.
let shownRefusal = null;

// The window's messages for an empty clock or rate (the start reply's windowMessages),
// which the Chinese page says as they are; {} before the start reply.
let windowMessages = {};

export function SetWindowMessages(messages) {
  windowMessages = messages ?? {};
}

function FieldMessage(refusal) {
  const language = PageLanguage();
  const texts = kTexts[language];
  const missing = language === 'zh' ? windowMessages : texts.missing;
  return missing[refusal.name] ?? texts.unreadable[refusal.name] ?? PageWords(refusal.detail, language);
}

export function HideMessage() {
  shownRefusal = null;
  messageBox.hidden = true;
  messageBox.textContent = '';
  for (const name of ['clock', 'rate', 'dataRate', 'sjw', 'dataSjw', 'nodeDelay', 'busLength', 'minTolerance',
    'tolerance', 'bestTarget', 'dataBestTarget']) {
    formFields[name].removeAttribute('aria-invalid');
    formFields[name].removeAttribute('aria-describedby');
  }
}

// A refusal that names a field of the form (the companion's own, such as an option
// that needs another) shows its reason beside that field.
export function IsFieldRefusal(error) {
  return Object.hasOwn(kFieldOfStatus, error.name) || Object.hasOwn(kFieldByName, error.field ?? '');
}

// Whether the refusal names one of the form's fields by its field name.
export function NamesFormField(error) {
  return Boolean(kFieldByName[error.field]);
}

// The message next to the field a refusal names; the focus goes there.
export function ShowFieldMessage(error) {
  const field = formFields[kFieldOfStatus[error.name] ?? kFieldByName[error.field ?? '']];
  shownRefusal = { name: error.name, detail: error.detail ?? '' };
  messageBox.textContent = FieldMessage(shownRefusal);
  field.parentElement.appendChild(messageBox);
  messageBox.hidden = false;
  field.setAttribute('aria-invalid', 'true');
  field.setAttribute('aria-describedby', 'message');
  field.focus();
}

// The message again, in another language.
export function ShowFieldMessageAgain() {
  if (shownRefusal) messageBox.textContent = FieldMessage(shownRefusal);
}
