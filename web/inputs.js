// The form's inputs and the address: the fields read into a request and written back
// from one, and the address that names the listing on screen (?clock=42&rate=500&sp=0
// &tol=0, the best's targets as bt= and dbt=, the further fields, the code form, the language and the plan's nodes), so
// that a link reproduces it and Back and Forward show each entry's listing again.
import { PageLanguage } from './page_language.js';
import { ControllerEntry, controllerSelect, HasController, IsFd, ShowController } from './controller_form.js';
import { codeFormSelect, WantCodeForm } from './code.js';
import { PlanUrlEntries } from './plan.js';

const kSamplePointItems = 5;

// The form's fields by their request names (the controller: controller_form.js).
export const formFields = {
  clock: document.getElementById('clock'),
  rate: document.getElementById('rate'),
  samplePoint: document.getElementById('sample-point'),
  tolerance: document.getElementById('tolerance'),
  bestTarget: document.getElementById('best-target'),
  dataBestTarget: document.getElementById('best-data-target'),
  dataRate: document.getElementById('data-rate'),
  sjw: document.getElementById('sjw'),
  dataSjw: document.getElementById('data-sjw'),
  nodeDelay: document.getElementById('node-delay'),
  busLength: document.getElementById('bus-length'),
  minTolerance: document.getElementById('min-tolerance'),
};

// The fields' values when not given (the start reply's defaults), null before it.
let inputDefaults = null;

// The start reply's defaults: a missing field of the address takes its value, and the
// further fields show theirs greyed.
export function SetInputDefaults(defaults) {
  inputDefaults = defaults;
  for (const name of ['nodeDelay', 'busLength', 'minTolerance']) formFields[name].placeholder = defaults[name];
}

// The value of a field when not given: the start reply's, else (before it) the one
// the page opened with.
export function DefaultInput(name) {
  return inputDefaults?.[name] ?? formFields[name].defaultValue;
}

// A selector's index as the window sets one: past the last item gives the last, -1
// and below give -1 (nothing selected).
function SelectionIndexFor(index, itemCount) {
  if (index < -1) return -1;
  return Math.min(index, itemCount - 1);
}

export function ReadInputs() {
  const fd = IsFd(controllerSelect.value);
  return {
    clock: formFields.clock.value,
    rate: formFields.rate.value,
    samplePoint: formFields.samplePoint.selectedIndex,
    tolerance: formFields.tolerance.value,
    targetSamplePoint: formFields.bestTarget.value,
    controller: controllerSelect.value,
    dataRate: fd ? formFields.dataRate.value : '',
    sjw: formFields.sjw.value,
    dataSjw: fd ? formFields.dataSjw.value : '',
    dataTargetSamplePoint: fd ? formFields.dataBestTarget.value : '',
    nodeDelay: formFields.nodeDelay.value,
    busLength: formFields.busLength.value,
    minTolerance: formFields.minTolerance.value,
  };
}

// The fields as the bus plan reads them: the data rate's text whatever controller the
// form has.
export function PlanFields() {
  return {
    ...ReadInputs(), dataRate: formFields.dataRate.value, nodeDelay: formFields.nodeDelay.value,
    busLength: formFields.busLength.value, minTolerance: formFields.minTolerance.value,
  };
}

export function WriteInputs(inputs) {
  formFields.clock.value = inputs.clock;
  formFields.rate.value = inputs.rate;
  formFields.samplePoint.selectedIndex = inputs.samplePoint;
  formFields.tolerance.value = inputs.tolerance ?? '0';
  formFields.bestTarget.value = inputs.targetSamplePoint ?? '';
  controllerSelect.value = HasController(inputs.controller) ? inputs.controller : 'bxcan';
  formFields.dataRate.value = inputs.dataRate;
  formFields.sjw.value = inputs.sjw ?? '';
  formFields.dataSjw.value = inputs.dataSjw ?? '';
  formFields.dataBestTarget.value = inputs.dataTargetSamplePoint ?? '';
  formFields.nodeDelay.value = inputs.nodeDelay ?? '';
  formFields.busLength.value = inputs.busLength ?? '';
  formFields.minTolerance.value = inputs.minTolerance ?? '';
  if (inputs.form) WantCodeForm(inputs.form);
  ShowController();
}

function IndexFromUrl(params, name, itemCount) {
  const text = params.get(name);
  if (text === null || !/^-?\d{1,9}$/.test(text)) return 0;
  return SelectionIndexFor(Number(text), itemCount);
}

// A controller name as the table spells them, before the table has come: the URL is
// read at start-up, the table a little later (unknown names fall back to bxcan then).
const kTableNames = /^[a-z0-9_.-]{1,32}$/;

// The inputs a URL names, or null when it names none. Missing ones take the window's
// start values.
export function InputsFromUrl() {
  const params = new URLSearchParams(location.search);
  if (!['clock', 'rate', 'sp', 'tol'].some((name) => params.has(name))) return null;
  const controller = HasController(params.get('ctl')) || kTableNames.test(params.get('ctl') ?? '')
    ? params.get('ctl') : 'bxcan';
  const fd = IsFd(controller) || !HasController(controller);
  // A plan's data rate is its FD nodes' (plan.js), whatever the controller here.
  const planData = params.has('nodes');
  return {
    clock: params.get('clock') ?? DefaultInput('clock'),
    rate: params.get('rate') ?? DefaultInput('rate'),
    samplePoint: IndexFromUrl(params, 'sp', kSamplePointItems),
    // Whole percent as the window's selector had it (tol=1: 1%), or decimals (tol=0.25).
    tolerance: params.get('tol') ?? '0',
    targetSamplePoint: params.get('bt') ?? '',
    controller,
    dataRate: fd || planData ? params.get('data') ?? '' : '',
    sjw: params.get('sjw') ?? '',
    dataSjw: fd ? params.get('dsjw') ?? '' : '',
    dataTargetSamplePoint: fd ? params.get('dbt') ?? '' : '',
    nodeDelay: params.get('delay') ?? '',
    busLength: params.get('bus') ?? '',
    minTolerance: params.get('mintol') ?? '',
    form: params.get('form') ?? '',
  };
}

function UrlFor(inputs) {
  const params = new URLSearchParams();
  params.set('clock', inputs.clock);
  params.set('rate', inputs.rate);
  params.set('sp', String(inputs.samplePoint));
  params.set('tol', inputs.tolerance);
  if (inputs.controller !== 'bxcan') params.set('ctl', inputs.controller);
  if ((inputs.dataRate ?? '') !== '') params.set('data', inputs.dataRate);
  for (const [key, name] of [['sjw', 'sjw'], ['dsjw', 'dataSjw'], ['delay', 'nodeDelay'], ['bus', 'busLength'],
    ['mintol', 'minTolerance'], ['bt', 'targetSamplePoint'], ['dbt', 'dataTargetSamplePoint']]) {
    if ((inputs[name] ?? '') !== '') params.set(key, inputs[name]);
  }
  if (codeFormSelect.value !== '' && codeFormSelect.value !== (ControllerEntry(inputs.controller)?.forms ?? [])[0]) {
    params.set('form', codeFormSelect.value);
  }
  if (new URLSearchParams(location.search).has('lang')) params.set('lang', PageLanguage());
  for (const [key, value] of PlanUrlEntries()) params.set(key, value);
  return `?${params.toString()}`;
}

export function ReplaceSearch(search) {
  try {
    history.replaceState(history.state, '', search);
  } catch {
    // As in WriteUrl.
  }
}

// A new history entry when the inputs changed, the same entry otherwise.
export function WriteUrl(inputs, push) {
  const search = UrlFor(inputs);
  if (search === location.search) return;
  try {
    if (push) history.pushState(inputs, '', search);
    else history.replaceState(inputs, '', search);
  } catch {
    // Some browsers refuse to rewrite a file:// address; the listing still shows.
  }
}
