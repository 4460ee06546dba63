// The form's controller: the controller table (the worker's start reply), the
// selector filled from it, and what the chosen controller changes on the form (its
// clock and limits, the SJW placeholders, the FD fields, the decode's registers). This
// module owns the table; the others ask it through ControllerEntry and IsFd.
import { kTexts } from './i18n.js';
import { FillControllerSelect } from './controller_select.js';
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
export function FillControllers(list) {
  const chosen = controllerSelect.value;
  controllerTable = new Map(list.map((entry) => [entry.name, entry]));
  FillControllerSelect(controllerSelect, list);
  controllerSelect.value = controllerTable.has(chosen) ? chosen : 'bxcan';
  ShowController();
}

// What the chosen controller expects and allows: the clock to type, its limits.
export function ShowControllerFacts() {
  const entry = controllerTable.get(controllerSelect.value);
  const texts = kTexts[PageLanguage()];
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
  document.getElementById('sjw').placeholder = texts.sjwDefault[kind];
  document.getElementById('data-sjw').placeholder = texts.sjwDefault[kind === 'bxcan' ? 'table' : kind];
}

// The data rate shows while the controller or a node of the plan is FD.
export function ShowDataRateField() {
  document.getElementById('data-rate-field').hidden = !IsFd(controllerSelect.value) && !PlanHasFdNode();
}

// The FD inputs (the data rate, data SJW, the data registers) show for every FD
// controller; the decode's labels name the controller's registers.
export function ShowController() {
  const name = controllerSelect.value;
  const fd = IsFd(name);
  ShowDataRateField();
  document.getElementById('data-sjw-field').hidden = !fd;
  document.getElementById('decode-data-field').hidden = !fd;
  const registers = controllerTable.get(name)?.registers;
  const nominalNames = registers?.nominal ?? [name === 'fdcan' ? 'NBTP' : 'CAN_BTR'];
  const dataNames = registers?.data ?? ['DBTP'];
  document.getElementById('decode-value-label').textContent = nominalNames.join(', ');
  document.getElementById('decode-data-label').textContent = dataNames.join(', ');
  document.getElementById('decode-value').placeholder = RegisterPlaceholder(name, nominalNames, '0x001C0001');
  document.getElementById('decode-data').placeholder = RegisterPlaceholder(name, dataNames, '0x00010A30');
  ShowControllerFacts();
  FillCodeForms();
  UpdateCodeButtons();
  ForgetDecodeOf(name);
}

// A bare value for bxCAN and FDCAN, NAME=VALUE pairs for the others.
function RegisterPlaceholder(name, names, bare) {
  if (name === 'bxcan' || name === 'fdcan') return bare;
  return names.length === 1 ? '0x00000000' : names.map((register) => `${register}=0x00`).join(',');
}
