// Starts the page's worker from its source in the page (a blob: browsers start no
// worker from a file:// address) as early as the page allows; main.js takes it over.
// A classic script, so it runs while the page is still being read. The bridge
// (worker_bridge.js) starts a fresh one the same way when it replaces a worker busy
// with an answer nobody wants any more (window.quillmereStartWorker).
(function Start() {
  const source = document.getElementById('worker-source').textContent;

  function StartWorker() {
    const url = URL.createObjectURL(new Blob([source], { type: 'text/javascript' }));
    const worker = new Worker(url);
    URL.revokeObjectURL(url);
    // What the worker says before main.js listens (its start-up reply) is kept for it.
    const early = [];
    function Keep(event) {
      early.push(event.data);
    }
    worker.addEventListener('message', Keep);
    worker.takeEarlyMessages = () => {
      worker.removeEventListener('message', Keep);
      return early.splice(0);
    };
    return worker;
  }

  window.quillmereWorker = StartWorker();
  window.quillmereStartWorker = StartWorker;
})();
