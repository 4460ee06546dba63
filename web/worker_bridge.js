// The page's side of the worker's messages (worker.js lists them): every request gets
// an id and a promise, which the one reply with that id settles, with its result or
// its error ({name, ...}); partial messages before it go to the request's onPartial.
// Every message the worker sends passes Dispatch, the start-up reply (id 0) too.

// worker: the Worker that worker_start.js started (its takeEarlyMessages hands over
// what came before). The bridge's `started` settles with the reply to id 0.
// onPending(count), when given, hears the number of requests still unanswered each
// time it changes (the start's included).
export function WorkerBridge(worker, onPending = () => {}) {
  const pending = new Map();  // id: {resolve, reject, onPartial}
  let nextId = 1;

  function Dispatch(message) {
    const request = pending.get(message.id);
    if (!request) return;
    if (message.partial !== undefined) {
      if (request.onPartial) request.onPartial(message.partial);
      return;
    }
    pending.delete(message.id);
    onPending(pending.size);
    if (message.ok) request.resolve(message.result);
    else request.reject(message.error);
  }

  const started = new Promise((resolve, reject) => pending.set(0, { resolve, reject, onPartial: null }));
  onPending(pending.size);
  worker.addEventListener('message', (event) => Dispatch(event.data));
  for (const message of worker.takeEarlyMessages ? worker.takeEarlyMessages() : []) Dispatch(message);

  // Sends a request of the type with the fields; the promise settles with its reply.
  function Ask(type, fields, onPartial = null) {
    const id = nextId++;
    const reply = new Promise((resolve, reject) => pending.set(id, { resolve, reject, onPartial }));
    onPending(pending.size);
    worker.postMessage({ ...fields, type, id });
    return reply;
  }

  return { started, Ask };
}
