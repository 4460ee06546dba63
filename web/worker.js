// The page's worker: it owns the WebAssembly module (the window's core and the
// companion's answers) and runs every search there, so that the page never waits on
// it. A classic script: the site puts the module's loader (QuillmereModule) in front of
// it and starts both from one blob.
//
// Messages in (fields: the form's texts and selector indexes as they are):
//   {type: 'compute', id, controller, clock, rate, samplePoint, tolerance, dataRate}
//   {type: 'download', id, ...the same}                   FDCAN's whole listing as tsv
//   {type: 'code', id, controller, clock, rate, dataRate, row, phase, register, form}
//   {type: 'decode', id, controller, clock, rate, dataRate, nominal, data}
// Messages out: {type: 'ready', columns} once (the grid's columns from the module's
// column table: {bxcan: [...], fdcan: [...]}, each {key, zh, en, align}), then per request one of
//   {type: 'missing', id, check, windowText}   an empty field (1: clock, 2: rate)
//   {type: 'rows', id, count, kept, bytes, rowEnds, milliseconds}, then
//   {type: 'best', id, best}                   the best setting's tsv line(s), or ""
//   {type: 'tsv', id, chunk} ... {type: 'tsv-end', id, bytes}
//   {type: 'text', id, status, text}           code or a decoded value (status 0), or
//                                              the reserved bits set (3: first value, 4: DBTP)
//   {type: 'failed', id, reason}
// bytes and rowEnds are transferred; table.js says their form.

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

// The window's GBK message as Unicode: the one place GBK becomes text for the page.
// The decoder is made on the first message, not while the worker starts.
function WindowText(module, pointer) {
  if (!pointer) return '';
  let end = pointer;
  while (module.HEAPU8[end] !== 0) ++end;
  return new TextDecoder('gbk').decode(module.HEAPU8.subarray(pointer, end));
}

// Runs fn with the texts copied into the module's memory (as pointers), then frees them.
function WithTexts(module, texts, fn) {
  const pointers = texts.map((text) => PutText(module, text));
  try {
    return fn(...pointers);
  } finally {
    pointers.forEach((pointer) => module._free(pointer));
  }
}

function IsFdcan(request) {
  return request.controller === 'fdcan' ? 1 : 0;
}

function MissingMessage(module, request, check) {
  const windowText = WindowText(module, module._QuillmereMissingInputMessage(check));
  return { message: { type: 'missing', id: request.id, check, windowText }, transfer: [] };
}

function LastText(module) {
  return new TextDecoder('utf-8').decode(CString(module, module._QuillmereText()));
}

function CString(module, pointer) {
  let end = pointer;
  while (module.HEAPU8[end] !== 0) ++end;
  return module.HEAPU8.slice(pointer, end);
}

// The listing: the window's compute command for bxCAN, the companion's listing for
// FDCAN; then the companion's best setting for the same inputs.
function Compute(module, request) {
  const started = performance.now();
  const collector = RowCollector(kTableRowLimit);
  module.takeRows = (bytes, byteCount, rowEnds, rowCount) => collector.take(module, bytes, byteCount, rowEnds, rowCount);
  const fdcan = IsFdcan(request);
  const samplePoint = request.samplePoint | 0;
  const tolerance = request.tolerance | 0;
  let check;
  try {
    check = WithTexts(module, [request.clock, request.rate, request.dataRate ?? ''], (clock, rate, dataRate) => (fdcan
      ? module._QuillmereFdcanListing(clock, rate, samplePoint, tolerance, dataRate, 0)
      : module._QuillmereCompute(clock, rate, samplePoint, tolerance)));
  } finally {
    module.takeRows = null;
  }
  if (check !== 0) return MissingMessage(module, request, check);
  const rows = collector.result();
  const message = {
    type: 'rows', id: request.id, count: rows.count, kept: rows.kept,
    bytes: rows.bytes, rowEnds: rows.rowEnds, milliseconds: performance.now() - started,
  };
  // The best setting follows in a message of its own, so the rows show first.
  const after = () => {
    WithTexts(module, [request.clock, request.rate, request.dataRate ?? ''],
      (clock, rate, dataRate) => module._QuillmereBest(fdcan, clock, rate, samplePoint, tolerance, dataRate));
    return { type: 'best', id: request.id, best: LastText(module) };
  };
  return { message, transfer: [rows.bytes.buffer, rows.rowEnds.buffer], after };
}

// FDCAN's whole listing as the companion's tsv, posted in chunks as it is made: the
// page gathers them into a file, and nothing here holds more than one chunk.
function Download(module, request) {
  let bytes = 0;
  module.takeTsv = (pointer, byteCount) => {
    const chunk = module.HEAPU8.slice(pointer, pointer + byteCount);
    bytes += byteCount;
    self.postMessage({ type: 'tsv', id: request.id, chunk }, [chunk.buffer]);
  };
  let check;
  try {
    check = WithTexts(module, [request.clock, request.rate, request.dataRate ?? ''], (clock, rate, dataRate) =>
      module._QuillmereFdcanListing(clock, rate, request.samplePoint | 0, request.tolerance | 0, dataRate, 1));
  } finally {
    module.takeTsv = null;
  }
  if (check !== 0) return MissingMessage(module, request, check);
  return { message: { type: 'tsv-end', id: request.id, bytes }, transfer: [] };
}

// Code to paste for one setting, or the decode of register values. A bxCAN row of the
// last listing is named by its position; its CAN_BTR comes from the module.
function Decode(module, request, form) {
  const fdcan = IsFdcan(request);
  let nominal = request.nominal ?? null;
  let data = request.data ?? null;
  if (request.type === 'code') {
    if (!fdcan) nominal = module._QuillmereBxCanRegister(request.row) >>> 0;
    else if (request.phase === 'data') data = request.register;
    else nominal = request.register;
  }
  const status = WithTexts(module, [request.clock, request.rate, request.dataRate ?? ''], (clock, rate, dataRate) =>
    module._QuillmereDecode(fdcan, clock, rate, dataRate, nominal !== null ? 1 : 0, (nominal ?? 0) >>> 0,
      data !== null ? 1 : 0, (data ?? 0) >>> 0, form));
  if (status === 1 || status === 2) return MissingMessage(module, request, status);
  return { message: { type: 'text', id: request.id, status, text: LastText(module) }, transfer: [] };
}

const kForms = { hal: 0, spl: 1, table: 2 };

function Answer(module, request) {
  switch (request.type) {
    case 'compute': return Compute(module, request);
    case 'download': return Download(module, request);
    case 'code': return Decode(module, request, kForms[request.form] ?? 0);
    case 'decode': return Decode(module, request, kForms.table);
    default: return { message: { type: 'failed', id: request.id, reason: `unknown request ${request.type}` }, transfer: [] };
  }
}

const moduleReady = QuillmereModule();
moduleReady.then(
  (module) => {
    const columns = JSON.parse(new TextDecoder('utf-8').decode(CString(module, module._QuillmereColumns())));
    self.postMessage({ type: 'ready', columns });
    // One search straight away, its rows dropped: the engine compiles the search's code
    // fully while the person reads the page, not on the first click.
    Compute(module, { id: 0, controller: 'bxcan', clock: '42', rate: '500', samplePoint: 0, tolerance: 0 }).after();
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
  const { message, transfer, after } = Answer(module, request);
  self.postMessage(message, transfer);
  if (after) self.postMessage(after());
};
