// The bus plan shown: its tables (and an FD bus's data table), the margin and the
// longest bus with the nodes that limit them, every node's bit on one time axis, each node's code in the form chosen,
// and the companion's line for a plan it refuses. Every text here comes from the
// worker's module.
import { kTexts, PageWords } from './i18n.js';
import { ShowPlanPicture } from './bit_picture.js';
import { CopyElementText } from './clipboard.js';

// host: {bridge, language() the page's}.
export function PlanView(host) {
  const message = document.getElementById('plan-message');
  const messageHome = message.previousElementSibling;  // the plan's fields; a field's refusal shows beside it
  const limitList = document.getElementById('plan-limits');
  const warningList = document.getElementById('plan-warnings');
  const tableBox = document.getElementById('plan-table');
  const marginText = document.getElementById('plan-margin');
  const busText = document.getElementById('plan-bus');
  const picture = document.getElementById('plan-picture');
  const formSelect = document.getElementById('plan-code-form');
  const code = document.getElementById('plan-code');
  const copyButton = document.getElementById('copy-plan-code');
  const results = document.getElementById('plan-results');

  let planned = null;  // {request, result} of the plan shown, null when none
  let refusal = null;  // the error shown in the message, null when none: said again in another language

  // The plan's code forms, as the companion's --format names them (the start reply's
  // planForms); linux first shown.
  function TakeForms(forms) {
    formSelect.replaceChildren(...forms.map((form) => new Option(form, form)));
    formSelect.value = 'linux';
  }

  // The plan's fields by the names the module's refusals give them.
  const kFieldIds = ['spread', 'target-sample-point', 'data-target-sample-point', 'clock-accuracy'];

  function HideMessage() {
    refusal = null;
    message.hidden = true;
    message.textContent = '';
    messageHome.after(message);
    for (const id of kFieldIds) document.getElementById(id).removeAttribute('aria-invalid');
  }

  function ShowRefusal(error) {
    // A refusal says the module's line; anything else (the module failed) the page's
    // own words, never the runtime's message, which goes to the console.
    if (error.detail === undefined) console.warn(error.reason ?? error.name);
    refusal = error;
    SayRefusal();
    message.hidden = false;
    if (kFieldIds.includes(error.field)) {
      const field = document.getElementById(error.field);
      field.setAttribute('aria-invalid', 'true');
      field.parentElement.appendChild(message);
    }
  }

  // The refusal shown, in the page's language: again after a switch.
  function SayRefusal() {
    if (!refusal) return;
    const error = refusal;
    message.textContent = error.detail !== undefined ? PageWords(error.detail, host.language())
      : kTexts[host.language()].requestFailed;
  }

  function Table(caption, titles, table, className) {
    const element = document.createElement('table');
    element.className = `plan-table ${className}`;
    element.createCaption().textContent = caption;
    const head = element.createTHead().insertRow();
    for (const title of titles) {
      const cell = document.createElement('th');
      cell.scope = 'col';
      cell.textContent = title;
      head.appendChild(cell);
    }
    const body = element.createTBody();
    for (const cells of table.rows) {
      const row = body.insertRow();
      cells.forEach((text, c) => {
        const cell = c === 0 ? document.createElement('th') : row.insertCell();
        if (c === 0) {
          cell.scope = 'row';
          row.appendChild(cell);
        }
        cell.textContent = text;
        if (table.right[c]) cell.className = 'number';
      });
    }
    return element;
  }

  function ShowPlan() {
    SayRefusal();
    const texts = kTexts[host.language()];
    if (!planned) {
      results.hidden = true;
      return;
    }
    const { shown } = planned.result;
    results.hidden = false;
    tableBox.replaceChildren(Table(texts.planNominalCaption, texts.planNominalColumns, shown.nominal, 'plan-nominal'));
    if (shown.data) tableBox.appendChild(Table(texts.planDataCaption, texts.planDataColumns, shown.data, 'plan-data'));
    marginText.textContent = shown.margin;
    busText.textContent = shown.longestBus;
    const nodeName = texts.planLimitNode;
    limitList.replaceChildren(...(shown.limits ?? []).map((fact) => {
      const item = document.createElement('li');
      item.dataset.kind = fact.kind;
      item.textContent = texts.planLimits[fact.kind](fact, nodeName);
      return item;
    }), ...(shown.fixed ?? []).map((fact) => {
      // What holds the plan too: a node kept at the setting it was given.
      const item = document.createElement('li');
      item.dataset.kind = 'fixed';
      item.textContent = texts.planFixed(fact, nodeName);
      return item;
    }));
    // The companion's warning: lines for the plan, in the page's words.
    warningList.replaceChildren(...(shown.warnings ?? []).map((fact) => {
      const item = document.createElement('li');
      item.textContent = texts.planWarning(fact, nodeName);
      return item;
    }));
    warningList.hidden = warningList.childElementCount === 0;
    const groups = [{ title: texts.planNominalBits, rows: shown.bits.map((bit) => ({ name: bit.name, parts: bit.nominal })) }];
    if (shown.data) groups.push({ title: texts.planDataBits, rows: shown.bits.map((bit) => ({ name: bit.name, parts: bit.data })) });
    ShowPlanPicture(picture, groups, host.language());
  }

  function ShowCode() {
    if (!planned) return;
    const request = { ...planned.request, form: formSelect.value };
    const plan = planned;
    host.bridge.Ask('plan-code', request, null, { channel: 'plan-code' }).then((result) => {
      if (plan !== planned) return;
      code.textContent = result.text;
      copyButton.disabled = false;
    }, (error) => {
      if (plan !== planned) return;
      code.textContent = '';
      copyButton.disabled = true;
      ShowRefusal(error);
    });
  }

  // Shows a plan ({request, result}: the plan's request and the worker's reply) with
  // its code, or none (null).
  function ShowPlanned(plan) {
    planned = plan;
    ShowPlan();
    if (plan) ShowCode();
  }

  formSelect.addEventListener('change', ShowCode);
  copyButton.addEventListener('click', () => CopyElementText(code));

  return { HideMessage, ShowRefusal, ShowPlan, ShowPlanned, TakeForms };
}
