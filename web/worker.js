// The page's worker: it owns the WebAssembly module (the window's core and the
// companion's answers) and runs every search there, so that the page never waits on
// it. A classic script: the site puts the module's loader (QuillmereModule) in front of
// it and starts both from one blob. docs/architecture.md gives the protocol in brief;
// here is every message and member.
//
// Requests, each with an id above 0, carry the form's fields as typed (strings; ''
// or absent: not given, the companion's default) and its sample point selector by index:
//   fields = controller (the companion's --controller name; unknown: bxcan), clock,
//            rate, dataRate, sjw, dataSjw, nodeDelay, busLength, minTolerance,
//            tolerance (--tolerance's text, both phases'), spread, nodes,
//            clockAccuracy (these three a plan's only), targetSamplePoint and
//            dataTargetSamplePoint (a plan's, or a listing's for its best setting),
//            samplePoint
//   {id, type: 'compute', ...fields}
//   {id, type: 'best', ...fields}
//   {id, type: 'download', ...fields}           the whole listing as tsv, the grid's columns
//       (the companion's --wide columns, and bxCAN's and FDCAN's Tq (ns) as the grid has it)
//   {id, type: 'code', form, nominal, data, ...fields}
//       form a --format name the controller has (registers, linux, zephyr, python-can,
//       hal, spl, esp-idf); nominal (a classic controller's only phase) and, for an FD
//       pair, data: a row's own setting {prescaler, seg1, seg2, sjw}, as its listing
//       (or the best reply) gave it, with the fields of that listing
//   {id, type: 'decode', nominal, data, ...fields}
//       nominal, data: register texts as typed, the companion's --decode and
//       --decode-data ('' : not decoded)
// Replies: exactly one per request, {id, ok: true, result} or {id, ok: false, error}:
//   compute   {count, kept, bytes, rowEnds, settings, columns}   bytes, rowEnds and
//             settings transferred (table.js says the rows' form): the companion's
//             --format tsv --wide lines, each ended by CR LF; settings: five numbers a
//             kept row (kSettingFields, web/row_text.h): phase (0 bxCAN, 1 nominal,
//             2 data), prescaler, seg1, seg2, SJW; columns: the rows' columns, each
//             {key, zh, en, align, zhHelp, enHelp}
//   best      {best, settings, tolerance, longestBus, warnings, targetNotes}   the best setting's
//             tsv line(s), or "" (then nothing else), their settings as compute's, its
//             tolerance ("0.36%"; an FD pair's: the pair's), longest bus in m, and
//             warnings, the companion's --best warnings with their figures
//             (web/best_facts.h BestWarningJson); targetNotes: a target sample point
//             the best does not meet, [{phase: 'nominal' or 'data', target: '87.5',
//             nearest: '85.7'}]
//   download  {bytes}       after any number of {id, partial: {chunk}}, the tsv in
//                           order as it is made; nothing here holds more than a chunk
//   code      {text}
//   decode    {text, columns, warnings}   the tsv line(s), their columns, the
//             companion's warning texts
//   error     {name, field, detail, ...}   name: the module's status name; field: the
//             form's field it concerns ('clock', 'rate', 'data-rate', 'tolerance', 'sjw', 'data-sjw',
//             'node-delay', 'bus-length', 'min-tolerance', 'spread', 'clock-accuracy',
//             'target-sample-point', 'data-target-sample-point', 'nodes',
//             'decode-value', 'decode-data') or ''; detail: why, as the companion says it;
//             'reserved-bits' and 'data-reserved-bits' with bits, "10, 11"; or the
//             worker's own: 'unknown-request', 'module-failed' and 'worker-failed' with
//             reason.
// The bus plan and the picture of a bit (web/page_plan.cpp):
//   {id, type: 'plan', ...fields, nodes, spread}   nodes 'NAME=CONTROLLER@MHZ;...'
//       -> {plan, text, shown}   plan: the companion's --plan --format json, parsed
//          (text: as written);
//          shown: its tables' texts {nominal: {right, rows}, data (FD bus) or null},
//          margin ("0.41%"), longestBus ("66 m" or "-"), limits (what holds each
//          figure, [{kind, node, own, value, target, errorNode, error}], the nodes
//          {name, controller, clock, fixed}), fixed (the nodes kept at a fixed
//          setting, [{node, setting, dataSetting}], '6/11/2' or '') and bits, one per node
//          {name, nominal: parts, data: parts or null}
//   {id, type: 'plan-code', ...fields, nodes, spread, form}
//       -> {text}   the companion's --plan --format FORM, one block per node
//   {id, type: 'bit-parts', controller, clock, phase, prescaler, seg1, seg2, sjw,
//       nodeDelay, busLength}   phase 'bxcan', 'nominal' or 'data'
//       -> parts {sync, prop, phase1, phase2, split, tqNs, samplePoint, bitNs, scalePs}
//   a refusal of these: {name, field, detail}, detail the companion's line for the
//   same values ('plan-few-nodes', 'node-repeated', 'node-without-setting', ...).
// Once, unasked, the reply to id 0: the module has started, its result what the page
// learns from the module once (StartResult: columns, every controller's grid columns
// by name, {bxcan: [...], fdcan: [...], ...}; controllers, the controller table:
// [{name, vendor, chips, clock, fixedClockKHz, fd, forms, registers: {nominal, data},
// limits: {nominal, data, tdc}}]; faces, how the form shows each controller by name,
// {bxcan: {sjw: {nominal, data}, bareDecode, barePlaceholder: {nominal, data}}, ...};
// planForms, the plan's code forms in its selector's order; defaults, advice,
// referenceLengths and windowMessages, the figures and the window's words the page's
// texts say, web/page_facts.h), or the error 'module-failed'.
// Behind every request, the module's entry answers in its one shape (web/page_reply.h):
// {status, field, text, ...}, status 'ready' (then text and the further members make
// the result above) or the refusal's name (then field and text make the error's field
// and detail), whichever entry it is.

// Rows beyond this many are counted but not kept for the table.
const kTableRowLimit = 1000000;

// The numbers of one row's setting (web/row_text.h's kSettingFields).
const kSettingFields = 5;

// Gathers the blocks that Module.takeRows receives, and the settings that
// Module.takeSettings gives for each: the first `limit` rows kept, all counted.
function RowCollector(limit) {
  let bytes = new Uint8Array(1 << 20);
  let rowEnds = new Uint32Array(1 << 14);
  let settings = new Uint16Array(rowEnds.length * kSettingFields);  // of the kept rows
  let used = 0;
  let kept = 0;
  let count = 0;
  let blockKept = 0;  // the rows of the last block that were kept
  return {
    take(module, bytesPointer, byteCount, rowEndsPointer, rowCount) {
      count += rowCount;
      const room = Math.min(rowCount, limit - kept);
      blockKept = Math.max(room, 0);
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
    // The settings of the block just taken: those of its kept rows, after the rows before.
    takeSettings(module, settingsPointer) {
      const first = (kept - blockKept) * kSettingFields;
      while (first + blockKept * kSettingFields > settings.length) {
        const grown = new Uint16Array(settings.length * 2);
        grown.set(settings.subarray(0, first));
        settings = grown;
      }
      settings.set(new Uint16Array(module.HEAPU8.buffer, settingsPointer, blockKept * kSettingFields), first);
    },
    result() {
      return {
        count, kept, bytes: bytes.slice(0, used), rowEnds: rowEnds.slice(0, kept),
        settings: settings.slice(0, kept * kSettingFields),
      };
    },
  };
}

// The reply of the entry just called, in the module's one shape (web/page_reply.h):
// {status, field, text, ...}, status 'ready' or the refusal's name.
function ModuleReply(module) {
  return JSON.parse(Utf8Text(module, module._QuillmereReply()));
}

// What an answer is: a result (with what to transfer), or an error.
function Done(result, transfer = []) {
  return { ok: true, result, transfer };
}

function Refused(error) {
  return { ok: false, error };
}

// A refusal of the module as the page takes it: the status's name, the field it
// concerns and why (the companion's line); the reserved bits beside reserved ones.
function RefusalError(reply) {
  const error = { name: reply.status, field: reply.field, detail: reply.text };
  if (reply.bits !== undefined) error.bits = reply.bits;
  return error;
}

// Calls the entry (fn, with the module's array of the request's field texts), then
// reads its reply: the reply when it is ready, else null with the refusal in refused.
function Called(module, request, fn, texts = []) {
  WithTexts(module, texts, (...pointers) => WithFields(module, request, (fields) => fn(fields, ...pointers)));
  return ModuleReply(module);
}

function Settled(module, reply, result, transfer = []) {
  return reply.status === 'ready' ? Done(result(reply), transfer) : Refused(RefusalError(reply));
}

// Any controller's listing, with its rows' settings and columns.
function Compute(module, request) {
  const collector = RowCollector(kTableRowLimit);
  module.takeRows = (bytes, byteCount, rowEnds, rowCount) => collector.take(module, bytes, byteCount, rowEnds, rowCount);
  module.takeSettings = (settings) => collector.takeSettings(module, settings);
  let reply;
  try {
    reply = Called(module, request, (fields) =>
      module._QuillmereListing(fields, request.samplePoint | 0, 0));
  } finally {
    module.takeRows = null;
    module.takeSettings = null;
  }
  const rows = collector.result();
  return Settled(module, reply, () => ({ ...rows, columns: reply.columns ?? [] }),
    [rows.bytes.buffer, rows.rowEnds.buffer, rows.settings.buffer]);
}

// The companion's best setting for the same fields, its lines with their settings,
// its tolerance, longest bus and warnings.
function Best(module, request) {
  let settings = new Uint16Array(0);
  module.takeSettings = (pointer, rowCount) => {
    settings = new Uint16Array(module.HEAPU8.buffer, pointer, rowCount * kSettingFields).slice();
  };
  let reply;
  try {
    reply = Called(module, request, (fields) =>
      module._QuillmereBest(fields, request.samplePoint | 0));
  } finally {
    module.takeSettings = null;
  }
  return Settled(module, reply, () => ({
    best: reply.text, settings, tolerance: reply.tolerance ?? '', longestBus: reply.longestBus ?? null,
    warnings: reply.warnings ?? [], targetNotes: reply.targetNotes ?? [], clockWarning: reply.clockWarning ?? null,
  }), [settings.buffer]);
}

// The whole listing as the companion's tsv, posted in chunks as it is made: the page
// gathers them into a file, and nothing here holds more than one chunk.
function Download(module, request) {
  let bytes = 0;
  module.takeTsv = (pointer, byteCount) => {
    const chunk = module.HEAPU8.slice(pointer, pointer + byteCount);
    bytes += byteCount;
    self.postMessage({ id: request.id, partial: { chunk } }, [chunk.buffer]);
  };
  let reply;
  try {
    reply = Called(module, request, (fields) =>
      module._QuillmereListing(fields, request.samplePoint | 0, 1));
  } finally {
    module.takeTsv = null;
  }
  return Settled(module, reply, () => ({ bytes }));
}

// Code to paste for a row's own setting (an FD pair's two), with the fields of the
// listing it came from.
function Code(module, request) {
  const nominal = request.nominal ?? {};
  const data = request.data ?? null;
  const reply = Called(module, request, (fields, form) =>
    module._QuillmereSettingCode(fields, request.samplePoint | 0, form,
      nominal.prescaler | 0, nominal.seg1 | 0, nominal.seg2 | 0, nominal.sjw | 0,
      data ? 1 : 0, data?.prescaler | 0, data?.seg1 | 0, data?.seg2 | 0, data?.sjw | 0), [request.form ?? '']);
  return Settled(module, reply, () => ({ text: reply.text }));
}

// The companion's tsv for register values, their columns and its warnings.
function Decode(module, request) {
  const reply = Called(module, request, (fields, nominal, data) => module._QuillmereDecode(fields, nominal, data),
    [request.nominal ?? '', request.data ?? '']);
  return Settled(module, reply, () => ({ text: reply.text, columns: reply.columns ?? [], warnings: reply.warnings ?? [] }));
}

// --- The bus plan and the picture of a bit ------------------------------------------

function Plan(module, request) {
  const reply = Called(module, request, (fields, form) =>
    module._QuillmerePlan(fields, request.samplePoint | 0, form), ['json']);
  return Settled(module, reply, () => ({ plan: JSON.parse(reply.text), text: reply.text, shown: reply.shown }));
}

function PlanCode(module, request) {
  const reply = Called(module, request, (fields, form) =>
    module._QuillmerePlan(fields, request.samplePoint | 0, form), [String(request.form ?? '')]);
  return Settled(module, reply, () => ({ text: reply.text }));
}

const kPartPhases = { bxcan: 0, nominal: 1, data: 2 };

function BitParts(module, request) {
  const reply = Called(module, request, (fields) => module._QuillmereBitParts(fields,
    kPartPhases[request.phase] ?? 0, request.prescaler | 0, request.seg1 | 0, request.seg2 | 0));
  return Settled(module, reply, () => reply.parts);
}

const kAnswers = {
  compute: Compute, best: Best, download: Download, code: Code, decode: Decode,
  plan: Plan, 'plan-code': PlanCode, 'bit-parts': BitParts,
};

function Answer(module, request) {
  const answer = kAnswers[request.type];
  if (!answer) return Refused({ name: 'unknown-request', reason: `unknown request ${request.type}` });
  try {
    return answer(module, request);
  } catch (error) {
    return Refused({ name: 'worker-failed', reason: String(error) });
  }
}

function Reply(id, answer) {
  if (answer.ok) self.postMessage({ id, ok: true, result: answer.result }, answer.transfer);
  else self.postMessage({ id, ok: false, error: answer.error });
}

// What the page learns from the module once, at start-up: the reply to id 0.
function StartResult(module) {
  module._QuillmereStart();
  const { status, field, text, ...result } = ModuleReply(module);
  return result;
}

const moduleReady = QuillmereModule();
moduleReady.then(
  (module) => {
    Reply(0, Done(StartResult(module)));
    // One search straight away, its rows dropped: the engine compiles the search's code
    // fully while the person reads the page, not on the first click.
    const warmUp = { controller: 'bxcan', clock: '42', rate: '500', samplePoint: 0, tolerance: '' };
    Compute(module, warmUp);
    Best(module, warmUp);
  },
  (error) => Reply(0, Refused({ name: 'module-failed', reason: String(error) })));

self.onmessage = async (event) => {
  const request = event.data;
  let module;
  try {
    module = await moduleReady;
  } catch (error) {
    Reply(request.id, Refused({ name: 'module-failed', reason: String(error) }));
    return;
  }
  Reply(request.id, Answer(module, request));
};
