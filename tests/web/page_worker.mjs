// Runs the page's worker as the site ships it (the text index.html starts its worker
// from) under Node: a context of its own with the browser globals the worker uses,
// and its messages answered through a promise per request.
import { readFileSync } from 'node:fs';
import vm from 'node:vm';

// The worker's source, taken from the built page.
export function WorkerSource(siteDir) {
  const page = readFileSync(`${siteDir}/index.html`, 'utf8');
  const match = page.match(/<script id="worker-source" type="text\/plain">\n([\s\S]*?)\n<\/script>/);
  if (!match) throw new Error('index.html holds no worker source');
  return match[1].replace(/<\\\/script/gi, '</script');
}

// Starts the worker; resolves once it is ready. compute(request) resolves with the
// worker's reply to that request.
export async function StartPageWorker(siteDir) {
  let onReply = null;
  let readyResolve;
  let readyReject;
  const ready = new Promise((resolve, reject) => { readyResolve = resolve; readyReject = reject; });
  const self = {
    postMessage(message) {
      if (message.type === 'ready') readyResolve();
      else if (message.type === 'failed' && message.id === 0) readyReject(new Error(message.reason));
      else if (onReply) onReply(message);
    },
  };
  const context = vm.createContext({
    self: Object.assign(self, { location: { href: 'blob:null/page-worker' } }),
    console, performance, TextDecoder, TextEncoder, WebAssembly, atob,
    importScripts() {}, setTimeout, clearTimeout, Uint8Array, Uint32Array,
  });
  vm.runInContext(WorkerSource(siteDir), context, { filename: 'worker-source.js' });
  await ready;
  let nextId = 1;
  return {
    compute(request) {
      const id = nextId++;
      return new Promise((resolve) => {
        onReply = (message) => { if (message.id === id) resolve(message); };
        self.onmessage({ data: { type: 'compute', id, samplePoint: 0, tolerance: 0, ...request } });
      });
    },
  };
}

// The rows of a 'rows' reply as the lines of the companion's tsv: cells by tab, one
// line per row.
export function RowLines(reply) {
  const text = new TextDecoder('latin1').decode(reply.bytes);
  if (text === '') return [];
  if (!text.endsWith('\r\n')) throw new Error('the last row lacks its CR LF');
  return text.slice(0, -2).split('\r\n');
}
