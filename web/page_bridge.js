// The page's one bridge to its worker (worker_bridge.js), the worker that
// worker_start.js started while the page was read; every part of the page asks
// through it. The body's data-pending says how many of its requests are unanswered:
// "0" once every answer asked for has come (what the tests wait for).
import { WorkerBridge } from './worker_bridge.js';

export const kPageBridge = WorkerBridge(window.quillmereWorker, (count) => {
  document.body.dataset.pending = String(count);
});
