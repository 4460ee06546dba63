// Starts the page's worker from its source in the page (a blob: browsers start no
// worker from a file:// address) as early as the page allows; main.js takes it over.
// A classic script, so it runs while the page is still being read.
(function StartWorker() {
  const source = document.getElementById('worker-source').textContent;
  const url = URL.createObjectURL(new Blob([source], { type: 'text/javascript' }));
  const worker = new Worker(url);
  URL.revokeObjectURL(url);
  worker.readyEarly = false;
  worker.addEventListener('message', function NoteReady(event) {
    if (event.data && event.data.type === 'ready') {
      worker.readyEarly = true;
      worker.readyColumns = event.data.columns;  // the grid's columns, for main.js
    }
  });
  window.quillmereWorker = worker;
})();
