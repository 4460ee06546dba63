// The form's controller: the controller table (the worker's start reply), the
// selector filled from it, and what the chosen controller changes on the form (its
// clock and limits, the SJW placeholders, the FD fields, the decode's registers). This
// module owns the table; the others ask it through ControllerEntry and IsFd.
import { kTexts } from './i18n.js';
import { FillControllerSelect, FilterControllerSelect } from './controller_select.js';
import { PageLanguage } from './page_language.js';
import { FillCodeForms, UpdateCodeButtons } from './code.js';
import { ForgetDecodeOf } from './decode.js';
import { PlanHasFdNode } from './plan.js';

export const controllerSelect = document.getElementById('controller');

// The controller table, by name; until it comes, the two the page knows from its own
// selector.
let controllerTable = new Map([
  ['bxcan', { name: 'bxcan', vendor: 'ST', clock: '', fd: false, forms: ['hal', 'spl'], limits: null, registers: null }],
  ['fdcan', { name: 'fdcan', vendor: 'ST', clock: '', fd: true, forms: ['hal'], limits: null, registers: null }],
]);
// How the form shows each controller (the start reply's faces, web/page_facts.h): the
// SJW of an empty field, a bare decode value or pairs, a bare field's example.
let controllerFaces = new Map();

export function ControllerEntry(name) {
  return controllerTable.get(name);
}

export function HasController(name) {
  return controllerTable.has(name);
}

export function IsFd(name) {
  return controllerTable.get(name)?.fd ?? false;
}

// The controller selector from the table: one <optgroup> per vendor, in the table's
// order, each option the companion's --controller name.
export function FillControllers(list, faces) {
  const chosen = controllerSelect.value;
  controllerTable = new Map(list.map((entry) => [entry.name, entry]));
  controllerFaces = new Map(Object.entries(faces ?? {}));
  FillControllerSelect(controllerSelect, list);
  controllerSelect.value = controllerTable.has(chosen) ? chosen : 'bxcan';
  FilterControllers();
  ShowController();
}

// The selector narrowed to the controllers the search field names (its chosen one
// always stays).
export function FilterControllers() {
  const search = document.getElementById('controller-search');
  FilterControllerSelect(controllerSelect, [...controllerTable.values()], search.value);
}

// The warning of the last best reply: a clock the controller's chips do not run at
// (null: none).
let clockWarning = null;

export function ShowClockWarning(warning) {
  clockWarning = warning ?? null;
  const element = document.getElementById('clock-warning');
  element.textContent = clockWarning ? kTexts[PageLanguage()].clockWarning(clockWarning) : '';
  element.hidden = clockWarning === null;
}

// What the chosen controller expects and allows: the clock to type, its limits.
export function ShowControllerFacts() {
  const entry = controllerTable.get(controllerSelect.value);
  const texts = kTexts[PageLanguage()];
  document.getElementById('clock-note').textContent = entry?.clock ? texts.clockNote(entry.clock) : '';
  ShowClockWarning(clockWarning);
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
  // The SJW a row takes when the field is empty: a rule's words, or the number itself.
  const face = controllerFaces.get(controllerSelect.value);
  const sjwText = (kind) => (kind === undefined ? '' : texts.sjwDefault[kind] ?? kind);
  document.getElementById('sjw').placeholder = sjwText(face?.sjw.nominal);
  document.getElementById('data-sjw').placeholder = sjwText(face?.sjw.data);
}

// The data rate shows while the controller or a node of the plan is FD.
export function ShowDataRateField() {
  document.getElementById('data-rate-field').hidden = !IsFd(controllerSelect.value) && !PlanHasFdNode();
}

// The FD inputs (the data rate, data SJW, the best's data target, the data registers) show for every FD
// controller; the decode's labels name the controller's registers.
export function ShowController() {
  const name = controllerSelect.value;
  const fd = IsFd(name);
  ShowDataRateField();
  document.getElementById('data-sjw-field').hidden = !fd;
  document.getElementById('best-data-target-field').hidden = !fd;
  document.getElementById('decode-data-field').hidden = !fd;
  // Until the start reply names the registers, the page's own labels stand.
  const registers = controllerTable.get(name)?.registers;
  const face = controllerFaces.get(name);
  if (registers && face) {
    const nominalNames = registers.nominal;
    const dataNames = registers.data ?? ['DBTP'];
    document.getElementById('decode-value-label').textContent = nominalNames.join(', ');
    document.getElementById('decode-data-label').textContent = dataNames.join(', ');
    document.getElementById('decode-value').placeholder = RegisterPlaceholder(face, nominalNames, 'nominal');
    document.getElementById('decode-data').placeholder = RegisterPlaceholder(face, dataNames, 'data');
  }
  ShowControllerFacts();
  FillCodeForms();
  UpdateCodeButtons();
  ForgetDecodeOf(name);
}

// A bare value where the controller's decode reads one (or the phase has one
// register), else NAME=VALUE pairs.
function RegisterPlaceholder(face, names, phase) {
  if (face.bareDecode || names.length === 1) return face.barePlaceholder[phase];
  return names.map((register) => `${register}=0x00`).join(',');
}
