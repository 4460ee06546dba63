// The bus plan: the nodes (plan_nodes.js), the plan's own fields (the spread, the
// target sample points and the clock accuracy), and the plan the module makes of them
// with the main form's rate, data rate, sample point, tolerance and bus fields, shown
// by plan_view.js. In the URL as nodes=NAME=CONTROLLER@MHZ;... and the fields' keys
// (kPlanFields), so a shared link shows the same plan. Every text shown comes from the
// worker's module; refusals show the companion's line in the page's words.
import { PlanNodes } from './plan_nodes.js';
import { PlanView } from './plan_view.js';

// The plan StartPlan started, for the page's questions below; null before.
let startedPlan = null;

// The plan's own fields: the request's name, the field's id, the address's key, and
// whether only an FD bus has it (then it is asked for, shown and kept in the address
// only while a node is FD, as the data rate is).
export const kPlanFields = [
  { name: 'spread', id: 'spread', key: 'spread', fd: false },
  { name: 'targetSamplePoint', id: 'target-sample-point', key: 'target', fd: false },
  { name: 'dataTargetSamplePoint', id: 'data-target-sample-point', key: 'dtarget', fd: true },
  { name: 'clockAccuracy', id: 'clock-accuracy', key: 'ppm', fd: false },
];

// Whether a node of the plan is FD (the page shows the data rate then).
export function PlanHasFdNode() {
  return startedPlan?.HasFdNode() ?? false;
}

// The address's keys for the plan asked for last: [[key, value], ...]; none without one.
export function PlanUrlEntries() {
  return startedPlan?.UrlEntries() ?? [];
}

// host: {bridge, started (the worker's start promise, its result the start reply's),
// language() the page's, fields() the main form's fields as a request carries them
// (dataRate: the field's text, whatever controller the form has), writeUrl() puts the
// page's state (with PlanUrlEntries) into the address, nodesChanged() after the
// nodes' controllers changed (the page shows the data rate while one is FD)}.
export function StartPlan(host) {
  const section = document.getElementById('plan');
  const fieldOf = (entry) => document.getElementById(entry.id);
  // The FD-only fields show while a node is FD, as the data rate does.
  const nodes = PlanNodes({
    ...host,
    nodesChanged: () => {
      document.getElementById('data-target-sample-point-field').hidden = !nodes.HasFdNode();
      host.nodesChanged();
    },
  });
  const view = PlanView(host);

  let urlPlan = null;       // {nodes, dataRate, and kPlanFields' by name} for the address: the plan asked for last
  let asked = 0;            // only the last plan's answers show
  let awaitedKey = null;    // the last plan's request (JSON) while its answer is on its way
  let pendingNodes = null;  // node texts to put into rows once the controllers are known
  let maxNodes = Infinity;  // the most nodes a plan takes (the start reply's)

  // The plan for the rows (or the address's node texts, when too many for rows) and
  // the main form's fields. push: a new history entry.
  function Compute(push, urlNodes = null) {
    view.HideMessage();
    const fields = host.fields();
    const fd = nodes.HasFdNode();
    const request = {
      ...fields, dataRate: fd ? fields.dataRate : '', nodes: urlNodes ?? nodes.NodeTexts().join(';'),
    };
    for (const entry of kPlanFields) request[entry.name] = entry.fd && !fd ? '' : fieldOf(entry).value.trim();
    // The same plan still on its way (a page opened on a plan's address asks for it
    // as it starts and again once its listing shows) is awaited, not asked again: a
    // second request would only make the first give way and start it over.
    const key = JSON.stringify(request);
    if (key === awaitedKey) {
      host.writeUrl(push);
      return;
    }
    awaitedKey = key;
    const mine = ++asked;
    const started = performance.now();
    document.body.dataset.planState = 'planning';
    urlPlan = { nodes: request.nodes, dataRate: request.dataRate };
    for (const entry of kPlanFields) urlPlan[entry.name] = request[entry.name];
    host.writeUrl(push);
    // Only the newest plan is wanted: an older one still being made gives way
    // (worker_bridge.js), so a heavy plan never holds up the answers asked after it.
    host.bridge.Ask('plan', request, null, { channel: 'plan' }).then((result) => {
      if (mine !== asked) return;
      awaitedKey = null;
      view.ShowPlanned({ request, result });
      // Measured once the plan has been painted: after the next frame.
      requestAnimationFrame(() => setTimeout(() => {
        if (mine !== asked) return;
        performance.measure('quillmere-plan', { start: started, end: performance.now() });
        document.body.dataset.planState = 'shown';
      }, 0));
    }, (error) => {
      if (mine !== asked) return;
      awaitedKey = null;
      view.ShowPlanned(null);
      view.ShowRefusal(error);
      document.body.dataset.planState = 'refused';
    });
  }

  document.getElementById('plan-compute').addEventListener('click', () => Compute(true));
  // Enter in a node's or a plan field plans, as Enter in the form above lists.
  section.addEventListener('keydown', (event) => {
    if (event.key !== 'Enter' || !event.target.matches('input')) return;
    event.preventDefault();
    Compute(true);
  });

  // The plan's part of the address, read at start and on Back and Forward: the rows,
  // the plan's fields, and a plan made once the worker is ready.
  function FromUrl() {
    const params = new URLSearchParams(location.search);
    const nodeTexts = params.get('nodes');
    for (const entry of kPlanFields) fieldOf(entry).value = params.get(entry.key) ?? '';
    if (nodeTexts === null) {
      urlPlan = null;
      SetNodesWhenReady([]);
      view.ShowPlanned(null);
      view.HideMessage();
      return;
    }
    urlPlan = { nodes: nodeTexts, dataRate: params.get('data') ?? '' };
    for (const entry of kPlanFields) urlPlan[entry.name] = fieldOf(entry).value;
    SetNodesWhenReady(nodeTexts.split(';').filter(Boolean), true);
  }

  function SetNodesWhenReady(texts, compute = false) {
    if (!nodes.HasControllers()) {
      pendingNodes = { texts, compute };
      return;
    }
    // More nodes than a plan takes: no rows (thousands of them would hold the page),
    // and the module refuses the address's nodes as they are, counted.
    const tooMany = texts.length > maxNodes;
    nodes.SetNodes(tooMany ? [] : texts);
    if (compute) Compute(false, tooMany ? texts.join(';') : null);
  }

  function UrlEntries() {
    if (!urlPlan) return [];
    const entries = [['nodes', urlPlan.nodes]];
    for (const entry of kPlanFields) if (urlPlan[entry.name] !== '') entries.push([entry.key, urlPlan[entry.name]]);
    if (urlPlan.dataRate !== '') entries.push(['data', urlPlan.dataRate]);
    return entries;
  }

  host.started.then((start) => {
    view.TakeForms(start.planForms ?? []);
    // An empty clock accuracy is the companion's default, shown greyed (the page's
    // own 100 until the module says).
    if (start.defaults?.clockAccuracy) document.getElementById('clock-accuracy').placeholder = start.defaults.clockAccuracy;
    maxNodes = start.maxPlanNodes ?? Infinity;
    nodes.TakeControllers(start.controllers ?? []);
    if (pendingNodes) {
      const { texts, compute } = pendingNodes;
      pendingNodes = null;
      SetNodesWhenReady(texts, compute);
    }
  }, () => {});

  function ShowTexts() {
    nodes.LabelRows();
    view.ShowPlan();
  }

  // The listing's fields have changed and its address is written: a plan asked for
  // is made again for them, so that the plan shown is the address's.
  function ListingChanged() {
    // Without rows, the address's nodes (too many for rows) are the plan's still.
    if (urlPlan && nodes.HasControllers()) Compute(false, nodes.NodeTexts().length === 0 ? urlPlan.nodes : null);
  }

  section.hidden = false;
  FromUrl();
  startedPlan = { FromUrl, UrlEntries, ShowTexts, ListingChanged, HasFdNode: nodes.HasFdNode };
  return startedPlan;
}
