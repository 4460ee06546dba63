// The page's one bridge to its worker (worker_bridge.js), the worker that
// worker_start.js started while the page was read; every part of the page asks
// through it.
import { WorkerBridge } from './worker_bridge.js';

export const kPageBridge = WorkerBridge(window.quillmereWorker);
