// Runs the page's worker as the site ships it (the text index.html starts its worker
// from) under Node: a context of its own with the browser globals the worker uses,
// spoken to through the page's own bridge (web/worker_bridge.js).
import { readFileSync } from 'node:fs';
import vm from 'node:vm';

import { WorkerBridge } from '../../web/worker_bridge.js';

// The worker's source, taken from the built page.
export function WorkerSource(siteDir) {
  const page = readFileSync(`${siteDir}/index.html`, 'utf8');
  const match = page.match(/<script id="worker-source" type="text\/plain">\n([\s\S]*?)\n<\/script>/);
  if (!match) throw new Error('index.html holds no worker source');
  return match[1].replace(/<\\\/script/gi, '</script');
}

// Starts the worker; resolves once it is ready with {messages, ask, compute}: every
// message the worker posted, in order; ask(type, fields, onPartial) the bridge's
// promise for a request; compute(request) a listing's.
export async function StartPageWorker(siteDir) {
  const listeners = [];
  const messages = [];
  let context = null;
  // The two ends of a Worker: what the worker posts reaches the page's listeners in a
  // later task, as a browser delivers it; what the page posts reaches the worker's
  // onmessage.
  const self = {
    postMessage(message) {
      messages.push(message);
      setTimeout(() => listeners.forEach((listener) => listener({ data: message })), 0);
    },
  };
  const worker = {
    addEventListener(type, listener) { if (type === 'message') listeners.push(listener); },
    postMessage(message) { setTimeout(() => context.self.onmessage({ data: structuredClone(message) }), 0); },
  };
  context = vm.createContext({
    self: Object.assign(self, { location: { href: 'blob:null/page-worker' } }),
    console, performance, TextDecoder, TextEncoder, WebAssembly, atob,
    importScripts() {}, setTimeout, clearTimeout, Uint8Array, Uint16Array, Uint32Array,
  });
  vm.runInContext(WorkerSource(siteDir), context, { filename: 'worker-source.js' });
  const bridge = WorkerBridge(worker);
  await bridge.started;
  return {
    messages,
    ask: bridge.Ask,
    compute(request) {
      return bridge.Ask('compute', { samplePoint: 0, tolerance: 0, ...request });
    },
  };
}

// The rows of a listing's result as the lines of the companion's tsv: cells by tab,
// one line per row.
export function RowLines(rows) {
  const text = new TextDecoder('latin1').decode(rows.bytes);
  if (text === '') return [];
  if (!text.endsWith('\r\n')) throw new Error('the last row lacks its CR LF');
  return text.slice(0, -2).split('\r\n');
}
