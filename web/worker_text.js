// The page's worker, its texts: the form's fields copied into the WebAssembly module's
// memory as the window reads them (GBK) or as the companion takes its arguments
// (UTF-8), and the module's texts read back. A classic script: the site puts it
// between the module's loader and worker.js, in one scope with them.

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

// Copies a text into the module's memory as UTF-8, as the companion takes its
// arguments; the caller frees the pointer.
function PutUtf8(module, text) {
  const bytes = new TextEncoder().encode(String(text ?? ''));
  const pointer = module._malloc(bytes.length + 1);
  module.HEAPU8.set(bytes, pointer);
  module.HEAPU8[pointer + bytes.length] = 0;
  return pointer;
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

function CString(module, pointer) {
  let end = pointer;
  while (module.HEAPU8[end] !== 0) ++end;
  return module.HEAPU8.slice(pointer, end);
}

function Utf8Text(module, pointer) {
  return new TextDecoder('utf-8').decode(CString(module, pointer));
}

// The field texts of a request, in the module's order (web/page_hooks.h): GBK as the
// window reads its fields, but the nodes in UTF-8, as the companion takes --node.
const kFieldNames = ['controller', 'clock', 'rate', 'dataRate', 'sjw', 'dataSjw', 'nodeDelay', 'busLength',
  'minTolerance', 'spread', 'nodes', 'clockAccuracy', 'targetSamplePoint', 'dataTargetSamplePoint', 'tolerance'];

// Runs fn with a pointer to the module's array of the request's field texts, then
// frees them.
function WithFields(module, request, fn) {
  const pointers = kFieldNames.map((name) =>
    (name === 'nodes' ? PutUtf8 : PutText)(module, String(request[name] ?? '')));
  const array = module._malloc(pointers.length * 4);
  try {
    new Uint32Array(module.HEAPU8.buffer, array, pointers.length).set(pointers);
    return fn(array);
  } finally {
    module._free(array);
    pointers.forEach((pointer) => module._free(pointer));
  }
}
