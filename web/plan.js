// The bus plan: a node per row (name, controller, clock), the spread, and the plan the
// module makes of them with the main form's rate, data rate, sample point, tolerance
// and bus fields: its tables, margin and longest bus, a picture of every node's bit on
// one time axis, and each node's code. In the URL as nodes=NAME=CONTROLLER@MHZ;... and
// spread=, so a shared link shows the same plan. Every text shown comes from the
// worker's module; refusals show the companion's line.
import { FillControllerSelect } from './controller_select.js';
import { kTexts } from './i18n.js';
import { ShowPlanPicture } from './bit_picture.js';

// The code forms of the plan, as the companion's --format names them.
const kPlanForms = ['registers', 'linux', 'zephyr', 'python-can', 'hal', 'spl', 'esp-idf'];

// host: {bridge, started (the worker's start promise, its result the start reply's),
// language() the page's, fields() the main form's fields as a request carries them
// (dataRate: the field's text, whatever controller the form has), writeUrl() puts the
// page's state (with UrlEntries below) into the address, nodesChanged() after the
// nodes' controllers changed (the page shows the data rate while one is FD)}.
export function StartPlan(host) {
  const section = document.getElementById('plan');
  const nodeList = document.getElementById('plan-nodes');
  const spreadField = document.getElementById('spread');
  const message = document.getElementById('plan-message');
  const tableBox = document.getElementById('plan-table');
  const marginText = document.getElementById('plan-margin');
  const busText = document.getElementById('plan-bus');
  const picture = document.getElementById('plan-picture');
  const formSelect = document.getElementById('plan-code-form');
  const code = document.getElementById('plan-code');
  const copyButton = document.getElementById('copy-plan-code');
  const results = document.getElementById('plan-results');

  let controllers = [];     // the controller table, from the worker's start reply
  let planned = null;       // {request, result} of the plan shown
  let urlPlan = null;       // {nodes, spread, dataRate} for the address: the plan asked for last
  let asked = 0;            // only the last plan's answers show
  let pendingNodes = null;  // node texts to put into rows once the controllers are known

  for (const form of kPlanForms) formSelect.add(new Option(form, form));
  formSelect.value = 'linux';

  // --- Node rows ---------------------------------------------------------------------

  function ControllerOptions(select, chosen) {
    FillControllerSelect(select, controllers);
    // A name the table lacks stays as typed, so the module's refusal names it.
    if (chosen && !controllers.some((entry) => entry.name === chosen)) select.add(new Option(chosen, chosen));
    select.value = chosen || (controllers[0]?.name ?? '');
  }

  // The controller's clock, named beside the node's clock field.
  function ShowClockHint(row) {
    const select = row.querySelector('.plan-node-controller');
    const entry = controllers.find((candidate) => candidate.name === select.value);
    row.querySelector('.plan-node-clock').title = entry ? entry.clock : '';
  }

  function LabelRows() {
    const texts = kTexts[host.language()];
    [...nodeList.children].forEach((row, index) => {
      const n = index + 1;
      row.setAttribute('aria-label', texts.nodeLabel(n));
      for (const [selector, key] of [['.plan-node-name', 'nodeName'], ['.plan-node-controller', 'nodeController'],
        ['.plan-node-clock', 'nodeClock']]) {
        const field = row.querySelector(selector);
        const label = row.querySelector(`label[data-for="${selector.slice(1)}"]`);
        field.id = `${selector.slice(1)}-${n}`;
        label.htmlFor = field.id;
        label.textContent = texts[key];
      }
      const remove = row.querySelector('.plan-node-remove');
      remove.textContent = texts.removeNode;
      remove.setAttribute('aria-label', texts.removeNodeLabel(n));
    });
  }

  function AddNodeRow(node = { name: '', controller: '', clock: '' }) {
    const row = document.createElement('div');
    row.className = 'plan-node';
    row.setAttribute('role', 'group');
    const parts = [['plan-node-name', 'input'], ['plan-node-controller', 'select'], ['plan-node-clock', 'input']];
    for (const [className, tag] of parts) {
      const wrap = document.createElement('span');
      wrap.className = 'field';
      const label = document.createElement('label');
      label.dataset.for = className;
      const field = document.createElement(tag);
      field.className = className;
      if (tag === 'input') {
        field.type = 'text';
        field.autocomplete = 'off';
        field.spellcheck = false;
      }
      wrap.append(label, field);
      row.appendChild(wrap);
    }
    const remove = document.createElement('button');
    remove.type = 'button';
    remove.className = 'plan-node-remove';
    remove.addEventListener('click', () => {
      const next = row.nextElementSibling ?? row.previousElementSibling;
      row.remove();
      LabelRows();
      host.nodesChanged();
      (next?.querySelector('.plan-node-name') ?? document.getElementById('add-node')).focus();
    });
    row.appendChild(remove);
    row.querySelector('.plan-node-name').value = node.name;
    row.querySelector('.plan-node-clock').value = node.clock;
    row.querySelector('.plan-node-clock').inputMode = 'decimal';
    const select = row.querySelector('.plan-node-controller');
    ControllerOptions(select, node.controller);
    select.addEventListener('change', () => {
      ShowClockHint(row);
      host.nodesChanged();
    });
    ShowClockHint(row);
    nodeList.appendChild(row);
    LabelRows();
    host.nodesChanged();
    return row;
  }

  // The rows as the companion's --node texts; a row left wholly empty is no node.
  function NodeTexts() {
    const texts = [];
    for (const row of nodeList.children) {
      const name = row.querySelector('.plan-node-name').value.trim();
      const clock = row.querySelector('.plan-node-clock').value.trim();
      if (name === '' && clock === '') continue;
      texts.push(`${name}=${row.querySelector('.plan-node-controller').value}@${clock}`);
    }
    return texts;
  }

  // NAME=CONTROLLER@MHZ into the row's three fields, as the module splits it: the name
  // up to the first "=", the clock after the last "@".
  function SplitNode(text) {
    const equals = text.indexOf('=');
    const at = text.lastIndexOf('@');
    if (equals < 0 || at < equals) return { name: text, controller: '', clock: '' };
    return { name: text.slice(0, equals), controller: text.slice(equals + 1, at), clock: text.slice(at + 1) };
  }

  function SetNodes(texts) {
    nodeList.replaceChildren();
    for (const text of texts) AddNodeRow(SplitNode(text));
    host.nodesChanged();
  }

  // Whether a node's controller is an FD one: then the bus has a data phase, and the
  // data rate the form holds is the plan's.
  function HasFdNode() {
    return [...nodeList.querySelectorAll('.plan-node-controller')]
      .some((select) => controllers.some((entry) => entry.name === select.value && entry.fd));
  }

  document.getElementById('add-node').addEventListener('click', () => {
    AddNodeRow().querySelector('.plan-node-name').focus();
  });

  // --- The plan ------------------------------------------------------------------------

  function HideMessage() {
    message.hidden = true;
    message.textContent = '';
    spreadField.removeAttribute('aria-invalid');
  }

  function ShowRefusal(error) {
    message.textContent = error.detail ?? error.reason ?? error.name;
    message.hidden = false;
    if (error.field === 'spread') spreadField.setAttribute('aria-invalid', 'true');
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
    const groups = [{ title: texts.planNominalBits, rows: shown.bits.map((bit) => ({ name: bit.name, parts: bit.nominal })) }];
    if (shown.data) groups.push({ title: texts.planDataBits, rows: shown.bits.map((bit) => ({ name: bit.name, parts: bit.data })) });
    ShowPlanPicture(picture, groups, host.language());
  }

  function ShowCode() {
    if (!planned) return;
    const request = { ...planned.request, form: formSelect.value };
    const plan = planned;
    host.bridge.Ask('plan-code', request).then((result) => {
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

  // The plan for the rows and the main form's fields. push: a new history entry.
  function Compute(push) {
    HideMessage();
    const nodes = NodeTexts();
    const fields = host.fields();
    const request = {
      ...fields, dataRate: HasFdNode() ? fields.dataRate : '', nodes: nodes.join(';'), spread: spreadField.value.trim(),
    };
    const mine = ++asked;
    const started = performance.now();
    document.body.dataset.planState = 'planning';
    urlPlan = { nodes: request.nodes, spread: request.spread, dataRate: request.dataRate };
    host.writeUrl(push);
    host.bridge.Ask('plan', request).then((result) => {
      if (mine !== asked) return;
      planned = { request, result };
      ShowPlan();
      ShowCode();
      // Measured once the plan has been painted: after the next frame.
      requestAnimationFrame(() => setTimeout(() => {
        if (mine !== asked) return;
        performance.measure('quillmere-plan', { start: started, end: performance.now() });
        document.body.dataset.planState = 'shown';
      }, 0));
    }, (error) => {
      if (mine !== asked) return;
      planned = null;
      ShowPlan();
      ShowRefusal(error);
      document.body.dataset.planState = 'refused';
    });
  }

  document.getElementById('plan-compute').addEventListener('click', () => Compute(true));
  formSelect.addEventListener('change', ShowCode);
  copyButton.addEventListener('click', () => {
    const text = code.textContent;
    if (navigator.clipboard && navigator.clipboard.writeText) {
      navigator.clipboard.writeText(text).catch(() => CopyPlanCodeByCommand());
      return;
    }
    CopyPlanCodeByCommand();
  });

  // Where the asynchronous clipboard is refused: the code selected and copied.
  function CopyPlanCodeByCommand() {
    const range = document.createRange();
    range.selectNodeContents(code);
    const selection = window.getSelection();
    selection.removeAllRanges();
    selection.addRange(range);
    document.execCommand('copy');
    selection.removeAllRanges();
  }

  // --- The address -----------------------------------------------------------------------

  // The plan's part of the address, read at start and on Back and Forward: the rows,
  // the spread, and a plan made once the worker is ready.
  function FromUrl() {
    const params = new URLSearchParams(location.search);
    const nodes = params.get('nodes');
    spreadField.value = params.get('spread') ?? '';
    if (nodes === null) {
      urlPlan = null;
      planned = null;
      SetNodesWhenReady([]);
      ShowPlan();
      HideMessage();
      return;
    }
    urlPlan = { nodes, spread: spreadField.value, dataRate: params.get('data') ?? '' };
    SetNodesWhenReady(nodes.split(';').filter(Boolean), true);
  }

  function SetNodesWhenReady(texts, compute = false) {
    if (controllers.length === 0) {
      pendingNodes = { texts, compute };
      return;
    }
    SetNodes(texts);
    if (compute) Compute(false);
  }

  // The address's keys for the plan asked for: [[key, value], ...]; none without one.
  function UrlEntries() {
    if (!urlPlan) return [];
    const entries = [['nodes', urlPlan.nodes]];
    if (urlPlan.spread !== '') entries.push(['spread', urlPlan.spread]);
    if (urlPlan.dataRate !== '') entries.push(['data', urlPlan.dataRate]);
    return entries;
  }

  // The controllers from the start reply: the module's controller table.
  function TakeControllers(list) {
    controllers = list;
    for (const select of nodeList.querySelectorAll('.plan-node-controller')) ControllerOptions(select, select.value);
    host.nodesChanged();
    if (pendingNodes) {
      const { texts, compute } = pendingNodes;
      pendingNodes = null;
      SetNodesWhenReady(texts, compute);
    }
  }

  host.started.then((start) => TakeControllers(start.controllers ?? []), () => {});

  function ShowTexts() {
    LabelRows();
    ShowPlan();
  }

  section.hidden = false;
  FromUrl();
  return { FromUrl, UrlEntries, ShowTexts, HasFdNode };
}
