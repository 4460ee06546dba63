// The page's one bridge to its worker (worker_bridge.js), the worker that
// worker_start.js started while the page was read (and a fresh one of the same source
// when the bridge replaces it); every part of the page asks through it. The body's
// data-pending says how many of its requests are unanswered: "0" once every answer
// asked for has come (what the tests wait for); a request dropped for a newer one of
// its channel no longer counts.
import { WorkerBridge } from './worker_bridge.js';

export const kPageBridge = WorkerBridge(window.quillmereWorker, (count) => {
  document.body.dataset.pending = String(count);
}, () => window.quillmereStartWorker());
