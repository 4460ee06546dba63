// The bus plan's nodes: a row per node (name, controller, clock, and the node's own
// options: its SJWs, clock accuracy, code form and fixed settings) with its labels, the
// rows as the companion's --node texts (NAME=CONTROLLER@MHZ[,sjw=N][,dsjw=N][,ppm=N]
// [,form=FORM][,setting=P/S1/S2][,dsetting=P/S1/S2][,registers=R][,dregisters=R]) and back, and whether a node is
// FD. The rows' selectors hold the controller table of the worker's start reply.
import { FillControllerSelect } from './controller_select.js';
import { kTexts } from './i18n.js';

// A node's own options, as its --node text names them, each a field of its row: key
// its name in the text; label the key of its label (i18n.js); mode the input's
// keyboard, or select for the code form (the controller's forms); hint the key of its
// placeholder, an example of the value; data: the data phase's, so only an FD
// controller's row shows it and only an FD controller's text gives it. The module
// reads and refuses every value: the page only carries the text.
const kNodeOptions = [
  { key: 'sjw', label: 'nodeSjw', mode: 'numeric' },
  { key: 'dsjw', label: 'nodeDataSjw', mode: 'numeric', data: true },
  { key: 'ppm', label: 'nodePpm', mode: 'numeric' },
  { key: 'form', label: 'nodeForm', select: true },
  { key: 'setting', label: 'nodeSetting', mode: 'text', hint: 'nodeSettingHint' },
  { key: 'dsetting', label: 'nodeDataSetting', mode: 'text', hint: 'nodeSettingHint', data: true },
  { key: 'registers', label: 'nodeRegisters', mode: 'text', hint: 'nodeRegistersHint' },
  { key: 'dregisters', label: 'nodeDataRegisters', mode: 'text', hint: 'nodeRegistersHint', data: true },
];

// host: {language() the page's, nodesChanged() after the nodes' controllers changed}.
export function PlanNodes(host) {
  const nodeList = document.getElementById('plan-nodes');
  let controllers = [];  // the controller table, from the worker's start reply

  function ControllerOptions(select, chosen) {
    FillControllerSelect(select, controllers);
    // A name the table lacks stays as typed, so the module's refusal names it.
    if (chosen && !controllers.some((entry) => entry.name === chosen)) select.add(new Option(chosen, chosen));
    select.value = chosen || (controllers[0]?.name ?? '');
  }

  // The controller's clock, named beside the node's clock field; the data phase's
  // options shown for an FD controller only; the code forms the controller has (empty:
  // the plan's).
  function ShowClockHint(row) {
    const select = row.querySelector('.plan-node-controller');
    const entry = controllers.find((candidate) => candidate.name === select.value);
    row.querySelector('.plan-node-clock').title = entry ? entry.clock : '';
    for (const option of kNodeOptions) {
      if (option.data) row.querySelector(`.plan-node-${option.key}`).parentElement.hidden = !entry?.fd;
    }
    const form = row.querySelector('.plan-node-form');
    const chosen = form.value;
    const forms = entry?.forms ?? [];
    form.replaceChildren(new Option(kTexts[host.language()].nodeFormPlan, ''), ...forms.map((name) => new Option(name, name)));
    // A form the controller lacks stays as given, so the module's refusal names it.
    if (chosen && !forms.includes(chosen)) form.add(new Option(chosen, chosen));
    form.value = chosen;
  }

  function LabelRows() {
    const texts = kTexts[host.language()];
    [...nodeList.children].forEach((row, index) => {
      const n = index + 1;
      row.setAttribute('aria-label', texts.nodeLabel(n));
      for (const [selector, key] of [['.plan-node-name', 'nodeName'], ['.plan-node-controller', 'nodeController'],
        ['.plan-node-clock', 'nodeClock'], ...kNodeOptions.map((option) => [`.plan-node-${option.key}`, option.label])]) {
        const field = row.querySelector(selector);
        const label = row.querySelector(`label[data-for="${selector.slice(1)}"]`);
        field.id = `${selector.slice(1)}-${n}`;
        label.htmlFor = field.id;
        label.textContent = texts[key];
      }
      for (const option of kNodeOptions) {
        if (option.hint) row.querySelector(`.plan-node-${option.key}`).placeholder = texts[option.hint];
      }
      row.querySelector('.plan-node-form').options[0].textContent = texts.nodeFormPlan;
      const remove = row.querySelector('.plan-node-remove');
      remove.textContent = texts.removeNode;
      remove.setAttribute('aria-label', texts.removeNodeLabel(n));
    });
  }

  // A row for node at the end; unless told to wait (many rows added at once), the rows
  // are labelled and the page told at once.
  function AddNodeRow(node = { name: '', controller: '', clock: '', options: {} }, settle = true) {
    const row = document.createElement('div');
    row.className = 'plan-node';
    row.setAttribute('role', 'group');
    const parts = [['plan-node-name', 'input'], ['plan-node-controller', 'select'], ['plan-node-clock', 'input'],
      ...kNodeOptions.map((option) => [`plan-node-${option.key}`, option.select ? 'select' : 'input'])];
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
    for (const option of kNodeOptions) {
      const field = row.querySelector(`.plan-node-${option.key}`);
      const value = node.options?.[option.key] ?? '';
      // A selector's value needs its option: the empty one, and the value given.
      if (option.select) field.add(new Option('', ''));
      else field.inputMode = option.mode;
      if (option.select && value !== '') field.add(new Option(value, value));
      field.value = value;
    }
    const select = row.querySelector('.plan-node-controller');
    ControllerOptions(select, node.controller);
    select.addEventListener('change', () => {
      ShowClockHint(row);
      host.nodesChanged();
    });
    ShowClockHint(row);
    nodeList.appendChild(row);
    if (settle) {
      LabelRows();
      host.nodesChanged();
    }
    return row;
  }

  // The rows as the companion's --node texts; a row left wholly empty is no node. A
  // node's option field left empty is not given (a hidden data SJW neither).
  function NodeTexts() {
    const texts = [];
    for (const row of nodeList.children) {
      const name = row.querySelector('.plan-node-name').value.trim();
      const clock = row.querySelector('.plan-node-clock').value.trim();
      if (name === '' && clock === '') continue;
      let text = `${name}=${row.querySelector('.plan-node-controller').value}@${clock}`;
      for (const option of kNodeOptions) {
        const field = row.querySelector(`.plan-node-${option.key}`);
        const value = field.value.trim();
        if (value !== '' && !field.parentElement.hidden) text += `,${option.key}=${value}`;
      }
      texts.push(text);
    }
    return texts;
  }

  // NAME=CONTROLLER@MHZ[,OPTION=VALUE...] into the row's fields, as the module splits
  // it: the name up to the first "=", the clock after the last "@" up to a comma, then
  // the options. An option the row has no field for (or has twice, or a data phase's
  // of a classic controller) stays after the clock as typed, so the module reads it or
  // refuses it with its line.
  function SplitNode(text) {
    const equals = text.indexOf('=');
    const at = text.lastIndexOf('@');
    if (equals < 0 || at < equals) return { name: text, controller: '', clock: '', options: {} };
    const controller = text.slice(equals + 1, at);
    const fd = controllers.some((entry) => entry.name === controller && entry.fd);
    const [clock, ...given] = text.slice(at + 1).split(',');
    const options = {};
    const kept = [];
    for (const piece of given) {
      const split = piece.indexOf('=');
      const key = split < 0 ? '' : piece.slice(0, split);
      const option = kNodeOptions.find((candidate) => candidate.key === key);
      const known = option !== undefined && !(key in options) && (!option.data || fd);
      if (known) options[key] = piece.slice(split + 1);
      else kept.push(piece);
    }
    return { name: text.slice(0, equals), controller, clock: [clock, ...kept].join(','), options };
  }

  function SetNodes(texts) {
    nodeList.replaceChildren();
    // Labelled once at the end: rows labelled one by one took time growing with the
    // square of their number (an address with 2 000 nodes held the page a minute).
    for (const text of texts) AddNodeRow(SplitNode(text), false);
    LabelRows();
    host.nodesChanged();
  }

  // Whether a node's controller is an FD one: then the bus has a data phase, and the
  // data rate the form holds is the plan's.
  function HasFdNode() {
    return [...nodeList.querySelectorAll('.plan-node-controller')]
      .some((select) => controllers.some((entry) => entry.name === select.value && entry.fd));
  }

  // The controllers from the start reply: the module's controller table.
  function TakeControllers(list) {
    controllers = list;
    for (const row of nodeList.children) {
      ControllerOptions(row.querySelector('.plan-node-controller'), row.querySelector('.plan-node-controller').value);
      ShowClockHint(row);
    }
    host.nodesChanged();
  }

  function HasControllers() {
    return controllers.length > 0;
  }

  document.getElementById('add-node').addEventListener('click', () => {
    AddNodeRow().querySelector('.plan-node-name').focus();
  });

  return { NodeTexts, SetNodes, HasFdNode, LabelRows, TakeControllers, HasControllers };
}
