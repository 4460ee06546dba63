// The page's side of the worker's messages (worker.js lists them): every request gets
// an id and a promise, which the one reply with that id settles, with its result or
// its error ({name, ...}); partial messages before it go to the request's onPartial.
// Every message the worker sends passes Dispatch, the start-up reply (id 0) too.
//
// The worker answers one request at a time, and a request cannot be stopped inside it:
// the only way past a long one is a new worker. So a request may name a channel
// (options.channel, such as 'plan'), of which only the newest request is wanted:
//   1. a newer request of the channel drops an older one still unanswered (its promise
//      never settles: its asker has moved on);
//   2. a worker busy with a dropped request while others wait is replaced, and every
//      request still unanswered is sent to the new one, in the order asked;
//   3. a channel's request that has run kPatienceMs while later requests wait gives way
//      to them: the worker is replaced, the later requests are sent to it, and the long
//      one is held back until the worker has nothing else to do, so no answer waits
//      behind it (it answers when it can, or is dropped by a newer one of its channel
//      before it is sent again: the usual case, since the answers that passed it
//      mostly lead to a newer request of its channel). A request asked with
//      options.givesWay false keeps its place instead: the listing's rows and its best
//      are shown in the order asked (the rows first), and the requests behind them are
//      mostly theirs, so letting those pass would only start the long one over;
//   4. a worker whose module failed (an abort) answers that request with its error and
//      is replaced for the rest.
// A request with partial messages (a download) names no channel, so no answer is sent
// twice. Replies of a replaced worker are never read. A request dropped by rule 1 is
// replaced by rule 2 whatever its givesWay: its asker no longer waits for it.

// How long a channel's request runs before later requests go first: short enough that
// an answer never seems to wait, long enough that a plan of a few milliseconds never
// costs a new worker.
const kPatienceMs = 200;

// worker: the Worker that worker_start.js started (its takeEarlyMessages hands over
// what came before). The bridge's `started` settles with the reply to id 0.
// onPending(count), when given, hears the number of requests still unanswered each
// time it changes (the start's included; a dropped request no longer counts).
// startWorker(), when given, starts a fresh worker of the same source (without it the
// worker is never replaced, and rules 2-4 above do not apply).
export function WorkerBridge(worker, onPending = () => {}, startWorker = null) {
  const pending = new Map();  // id: {resolve, reject, onPartial, message, channel, givesWay}
  let nextId = 1;
  let sent = [];              // ids posted to the current worker and not yet answered, in order
  let held = [];              // ids that gave way (rule 3), sent again once the worker is idle
  let headSince = 0;          // when the worker began on sent[0]
  let patienceTimer = 0;

  function Dispatch(message) {
    if (message.partial === undefined) {
      const at = sent.indexOf(message.id);
      if (at >= 0) sent.splice(at, 1);
      // The worker answers in order, once started (id 0): the next request starts now.
      if (at === 0 || message.id === 0) headSince = performance.now();
    }
    const request = pending.get(message.id);
    if (request) {
      if (message.partial !== undefined) {
        if (request.onPartial) request.onPartial(message.partial);
        return;
      }
      pending.delete(message.id);
      onPending(pending.size);
      if (message.ok) request.resolve(message.result);
      else request.reject(message.error);
      if (!message.ok && message.error?.name === 'worker-failed') return Replace(null);
    }
    SendHeld();
    Review();
  }

  // The requests that gave way, once the worker has nothing else: those still wanted.
  function SendHeld() {
    if (sent.length > 0) return;
    sent = held.filter((id) => pending.has(id));
    held = [];
    for (const id of sent) worker.postMessage(pending.get(id).message);
    headSince = performance.now();
  }

  function Listen(target) {
    target.addEventListener('message', (event) => {
      if (target === worker) Dispatch(event.data);
    });
  }

  // A new worker for the requests still unanswered, in the order asked, but for those
  // held back (last: the one that gives way now, rule 3, or null).
  function Replace(last) {
    clearTimeout(patienceTimer);
    // Before the start-up reply the worker is still loading: a new one would only
    // load again.
    if (!startWorker || pending.has(0)) return;
    worker.terminate();
    worker = startWorker();
    worker.takeEarlyMessages?.();  // its start-up reply answers nothing asked now
    Listen(worker);
    if (last !== null) held.push(last);
    sent = [...pending.keys()].filter((id) => !held.includes(id)).sort((a, b) => a - b);
    for (const id of sent) worker.postMessage(pending.get(id).message);
    headSince = performance.now();
    SendHeld();
  }

  // Rules 2 and 3 for the request the worker is on now, once others wait behind it:
  // a dropped one, or a channel's that has had its patience, makes way. A dropped
  // request gets the same patience, so a quick one is let finish rather than cost a
  // new worker.
  function Review() {
    clearTimeout(patienceTimer);
    if (!startWorker || sent.length < 2) return;
    const request = pending.get(sent[0]);
    if (request && !request.givesWay) return;
    const waited = performance.now() - headSince;
    if (waited >= kPatienceMs) return Replace(request ? sent[0] : null);
    patienceTimer = setTimeout(Review, kPatienceMs - waited);
  }

  const started = new Promise((resolve, reject) => pending.set(0, { resolve, reject, onPartial: null }));
  onPending(pending.size);
  Listen(worker);
  for (const message of worker.takeEarlyMessages ? worker.takeEarlyMessages() : []) Dispatch(message);

  // Sends a request of the type with the fields; the promise settles with its reply.
  // options.channel: the request's channel (above), none by default; options.givesWay:
  // whether a channel's request gives way after its patience (rule 3), true unless
  // false (a request of no channel never does).
  function Ask(type, fields, onPartial = null, options = {}) {
    const id = nextId++;
    const channel = options.channel ?? null;
    const givesWay = channel !== null && options.givesWay !== false;
    if (channel !== null) {
      for (const [older, request] of pending) if (request.channel === channel) pending.delete(older);
    }
    const message = { ...fields, type, id };
    const reply = new Promise((resolve, reject) => pending.set(id, { resolve, reject, onPartial, message, channel, givesWay }));
    onPending(pending.size);
    if (sent.length === 0) headSince = performance.now();
    sent.push(id);
    worker.postMessage(message);
    Review();
    return reply;
  }

  return { started, Ask };
}
