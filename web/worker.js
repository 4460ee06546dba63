// The page's worker: it owns the WebAssembly module (the window's core) and runs the
// search there, so that the page never waits on it. A classic script: the site puts
// the module's loader (QuillmereModule) in front of it and starts both from one blob.
//
// Messages in:  {type: 'compute', id, clock, rate, samplePoint, tolerance}
// Messages out: {type: 'ready'} once, then per compute either
//               {type: 'missing', id, check, windowText} (1: clock, 2: rate) or
//               {type: 'rows', id, count, bytes, rowEnds, milliseconds}
//               (bytes and rowEnds transferred; see table.js for their form),
//               or {type: 'failed', id, reason}.

// Rows beyond this many are counted but not kept for the table.
const kTableRowLimit = 1000000;

// Unicode to GBK (code page 936) as Windows gives a field's text to the window: ASCII
// as it is, every character with a GBK form as its bytes, anything else (emoji, lone
// surrogates) as "?". The table comes from the browser's own GBK decoder, built on the
// first text that needs it.
let gbkTable = null;

function BuildGbkTable() {
  const table = new Map([[0x20ac, 0x80]]);
  const probe = new Uint8Array(126 * 190 * 3);
  let n = 0;
  for (let lead = 0x81; lead <= 0xfe; ++lead) {
    for (let trail = 0x40; trail <= 0xfe; ++trail) {
      if (trail === 0x7f) continue;
      probe[n++] = lead;
      probe[n++] = trail;
      probe[n++] = 0x0a;  // one line per pair: a pair that is not GBK cannot swallow the next
    }
  }
  const decoded = new TextDecoder('gbk').decode(probe).split('\n');
  let i = 0;
  for (let lead = 0x81; lead <= 0xfe; ++lead) {
    for (let trail = 0x40; trail <= 0xfe; ++trail) {
      if (trail === 0x7f) continue;
      const text = decoded[i++];
      if (text.length !== 1 || text === '\ufffd') continue;
      const unit = text.charCodeAt(0);
      if (!table.has(unit)) table.set(unit, (lead << 8) | trail);
    }
  }
  return table;
}

// The GBK bytes of text with a terminating zero.
function ToGbk(text) {
  const out = new Uint8Array(text.length * 2 + 1);
  let n = 0;
  for (let i = 0; i < text.length; ++i) {
    const unit = text.charCodeAt(i);
    if (unit < 0x80) {
      out[n++] = unit;
      continue;
    }
    if (!gbkTable) gbkTable = BuildGbkTable();
    const code = gbkTable.get(unit);
    if (code === undefined) {
      out[n++] = 0x3f;  // "?", as WideCharToMultiByte writes it
    } else if (code < 0x100) {
      out[n++] = code;
    } else {
      out[n++] = code >> 8;
      out[n++] = code & 0xff;
    }
  }
  out[n++] = 0;
  return out.subarray(0, n);
}

// Copies a text into the module's memory; the caller frees the pointer.
function PutText(module, text) {
  const bytes = ToGbk(String(text ?? ''));
  const pointer = module._malloc(bytes.length);
  module.HEAPU8.set(bytes, pointer);
  return pointer;
}

// Gathers the blocks that Module.takeRows receives: the first `limit` rows kept, all
// counted.
function RowCollector(limit) {
  let bytes = new Uint8Array(1 << 20);
  let rowEnds = new Uint32Array(1 << 14);
  let used = 0;
  let kept = 0;
  let count = 0;
  return {
    take(module, bytesPointer, byteCount, rowEndsPointer, rowCount) {
      count += rowCount;
      const room = Math.min(rowCount, limit - kept);
      if (room <= 0) return;
      const ends = new Uint32Array(module.HEAPU8.buffer, rowEndsPointer, rowCount);
      const blockBytes = room === rowCount ? byteCount : ends[room - 1];
      while (used + blockBytes > bytes.length) {
        const grown = new Uint8Array(bytes.length * 2);
        grown.set(bytes.subarray(0, used));
        bytes = grown;
      }
      while (kept + room > rowEnds.length) {
        const grown = new Uint32Array(rowEnds.length * 2);
        grown.set(rowEnds.subarray(0, kept));
        rowEnds = grown;
      }
      bytes.set(module.HEAPU8.subarray(bytesPointer, bytesPointer + blockBytes), used);
      for (let i = 0; i < room; ++i) rowEnds[kept + i] = used + ends[i];
      used += blockBytes;
      kept += room;
    },
    result() {
      return { count, kept, bytes: bytes.slice(0, used), rowEnds: rowEnds.slice(0, kept) };
    },
  };
}

const kGbkDecoder = new TextDecoder('gbk');

function WindowText(module, pointer) {
  if (!pointer) return '';
  let end = pointer;
  while (module.HEAPU8[end] !== 0) ++end;
  return kGbkDecoder.decode(module.HEAPU8.subarray(pointer, end));
}

// One compute command; returns the message to post and what to transfer.
function Compute(module, request) {
  const started = performance.now();
  const clock = PutText(module, request.clock);
  const rate = PutText(module, request.rate);
  const collector = RowCollector(kTableRowLimit);
  module.takeRows = (bytes, byteCount, rowEnds, rowCount) => collector.take(module, bytes, byteCount, rowEnds, rowCount);
  let check;
  try {
    check = module._QuillmereCompute(clock, rate, request.samplePoint | 0, request.tolerance | 0);
  } finally {
    module._free(clock);
    module._free(rate);
    module.takeRows = null;
  }
  if (check !== 0) {
    const windowText = WindowText(module, module._QuillmereMissingInputMessage(check));
    return { message: { type: 'missing', id: request.id, check, windowText }, transfer: [] };
  }
  const rows = collector.result();
  const message = {
    type: 'rows', id: request.id, count: rows.count, kept: rows.kept,
    bytes: rows.bytes, rowEnds: rows.rowEnds, milliseconds: performance.now() - started,
  };
  return { message, transfer: [rows.bytes.buffer, rows.rowEnds.buffer] };
}

const moduleReady = QuillmereModule();
moduleReady.then(
  (module) => {
    self.postMessage({ type: 'ready' });
    // One search straight away, its rows dropped: the engine compiles the search's code
    // fully while the person reads the page, not on the first click.
    Compute(module, { id: 0, clock: '42', rate: '500', samplePoint: 0, tolerance: 0 });
  },
  (error) => self.postMessage({ type: 'failed', id: 0, reason: String(error) }));

self.onmessage = async (event) => {
  const request = event.data;
  let module;
  try {
    module = await moduleReady;
  } catch (error) {
    self.postMessage({ type: 'failed', id: request.id, reason: String(error) });
    return;
  }
  if (request.type === 'compute') {
    const { message, transfer } = Compute(module, request);
    self.postMessage(message, transfer);
  }
};
