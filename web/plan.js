// The bus plan: the nodes (plan_nodes.js), the spread, and the plan the module makes
// of them with the main form's rate, data rate, sample point, tolerance and bus
// fields, shown by plan_view.js. In the URL as nodes=NAME=CONTROLLER@MHZ;... and
// spread=, so a shared link shows the same plan. Every text shown comes from the
// worker's module; refusals show the companion's line.
import { PlanNodes } from './plan_nodes.js';
import { PlanView } from './plan_view.js';

// The plan StartPlan started, for the page's questions below; null before.
let startedPlan = null;

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
  const spreadField = document.getElementById('spread');
  const nodes = PlanNodes(host);
  const view = PlanView(host);

  let urlPlan = null;       // {nodes, spread, dataRate} for the address: the plan asked for last
  let asked = 0;            // only the last plan's answers show
  let pendingNodes = null;  // node texts to put into rows once the controllers are known
  let maxNodes = Infinity;  // the most nodes a plan takes (the start reply's)

  // The plan for the rows (or the address's node texts, when too many for rows) and
  // the main form's fields. push: a new history entry.
  function Compute(push, urlNodes = null) {
    view.HideMessage();
    const fields = host.fields();
    const request = {
      ...fields, dataRate: nodes.HasFdNode() ? fields.dataRate : '', nodes: urlNodes ?? nodes.NodeTexts().join(';'),
      spread: spreadField.value.trim(),
    };
    const mine = ++asked;
    const started = performance.now();
    document.body.dataset.planState = 'planning';
    urlPlan = { nodes: request.nodes, spread: request.spread, dataRate: request.dataRate };
    host.writeUrl(push);
    host.bridge.Ask('plan', request).then((result) => {
      if (mine !== asked) return;
      view.ShowPlanned({ request, result });
      // Measured once the plan has been painted: after the next frame.
      requestAnimationFrame(() => setTimeout(() => {
        if (mine !== asked) return;
        performance.measure('quillmere-plan', { start: started, end: performance.now() });
        document.body.dataset.planState = 'shown';
      }, 0));
    }, (error) => {
      if (mine !== asked) return;
      view.ShowPlanned(null);
      view.ShowRefusal(error);
      document.body.dataset.planState = 'refused';
    });
  }

  document.getElementById('plan-compute').addEventListener('click', () => Compute(true));
  // Enter in a node's or the spread's field plans, as Enter in the form above lists.
  section.addEventListener('keydown', (event) => {
    if (event.key !== 'Enter' || !event.target.matches('input')) return;
    event.preventDefault();
    Compute(true);
  });

  // The plan's part of the address, read at start and on Back and Forward: the rows,
  // the spread, and a plan made once the worker is ready.
  function FromUrl() {
    const params = new URLSearchParams(location.search);
    const nodeTexts = params.get('nodes');
    spreadField.value = params.get('spread') ?? '';
    if (nodeTexts === null) {
      urlPlan = null;
      SetNodesWhenReady([]);
      view.ShowPlanned(null);
      view.HideMessage();
      return;
    }
    urlPlan = { nodes: nodeTexts, spread: spreadField.value, dataRate: params.get('data') ?? '' };
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
    if (urlPlan.spread !== '') entries.push(['spread', urlPlan.spread]);
    if (urlPlan.dataRate !== '') entries.push(['data', urlPlan.dataRate]);
    return entries;
  }

  host.started.then((start) => {
    view.TakeForms(start.planForms ?? []);
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
