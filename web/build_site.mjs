// Puts the page together in one folder that works from file://, where browsers load
// neither module scripts nor workers from files: the page's modules go inline into
// index.html as one module script, in the order of kModules, and the worker's source
// (the WebAssembly module's loader, its module embedded, then worker_text.js and
// worker.js) goes inline as text that worker_start.js starts from a blob. The footer names the version and the commit
// the site was built from (the commit as cmake/BuildCommit.cmake writes it for the
// programs), the service worker's cache is named after them, and the help page, the
// app manifest with its icons (beside the icon given) and the documents go beside
// the page. The output depends on the inputs alone.
//
//   node build_site.mjs <web folder> <module .js> <icon> <site folder> <version>
//                       <build_commit.h> [<document>...]
import { mkdirSync, readFileSync, writeFileSync, copyFileSync } from 'node:fs';
import { basename, dirname, join } from 'node:path';

const [webDir, moduleJs, icon, siteDir, version, commitHeader, ...documents] = process.argv.slice(2);
if (!commitHeader) {
  console.error('usage: node build_site.mjs <web folder> <module .js> <icon> <site folder> <version> ' +
    '<build_commit.h> [<document>...]');
  process.exit(2);
}

// The files copied as they are: from the web folder, and the app's icons from the
// icon's folder.
const kWebFiles = ['style.css', 'help.html', 'manifest.webmanifest'];
const kAppIcons = ['quillmere-192.png', 'quillmere-512.png'];

// The page's modules, in the order their top-level code runs: each after those whose
// constants its own top-level code uses (the grid before the listing and the
// clipboard), main.js last. Their functions call one another freely: in the one
// shared scope every function is declared before any of this code runs.
const kModules = [
  'i18n.js', 'grid_rows.js', 'table.js', 'worker_bridge.js', 'page_bridge.js', 'controller_select.js', 'bit_picture.js',
  'page_language.js', 'controller_form.js', 'inputs.js', 'field_messages.js', 'listing.js', 'best.js', 'code.js',
  'clipboard.js', 'decode.js', 'plan_nodes.js', 'plan_view.js', 'plan.js', 'main.js',
];

// The worker's scripts after the module's loader, in one classic scope.
const kWorkerScripts = ['worker_text.js', 'worker.js'];

function Read(path) {
  return readFileSync(path, 'utf8');
}

// Text that sits inside a <script> element must not close it early or open an HTML
// comment, which changes how the parser looks for the end.
function ScriptSafe(name, text) {
  if (/<!--/.test(text)) throw new Error(`${name}: "<!--" would confuse the HTML parser`);
  return text.replace(/<\/(script)/gi, '<\\/$1');
}

// A module without its import lines and export keywords: in one shared module scope
// the names meet directly.
function Inlined(name) {
  const source = Read(join(webDir, name));
  const body = source
    .replace(/^import\s[^;]*;\s*$/gm, '')
    .replace(/^export\s+(?=(const|let|function|class|async)\b)/gm, '');
  if (/^\s*(import|export)\b/m.test(body)) throw new Error(`${name}: an import or export form the site cannot inline`);
  return `// ${name}\n${body}`;
}

// "#define QUILLMERE_COMMIT 4df0920" -> "4df0920".
function BuildCommit() {
  const match = Read(commitHeader).match(/^#define QUILLMERE_COMMIT (\S+)$/m);
  if (!match) throw new Error(`${commitHeader} names no commit`);
  return match[1];
}

// Replaces the one marker in text, which must be there.
function Fill(name, text, marker, value) {
  if (!text.includes(marker)) throw new Error(`${name} lacks ${marker}`);
  return text.replace(marker, () => value);
}

function Main() {
  if (!/^\d+\.\d+\.\d+$/.test(version)) throw new Error(`"${version}" is no version`);
  const commit = BuildCommit();
  const workerSource = kWorkerScripts.reduce((source, name) => `${source}\n${Read(join(webDir, name))}`, Read(moduleJs));
  const scripts = kModules.map(Inlined).join('\n');
  let page = Read(join(webDir, 'index.html'));
  // The worker starts as soon as its source is parsed, before the page's modules run
  // (they wait for the whole document); main.js takes it over, and with it a 'ready'
  // that came before.
  const workerTag = `<script id="worker-source" type="text/plain">\n${ScriptSafe('worker', workerSource)}\n</script>\n` +
    `<script>\n${ScriptSafe('worker start', Read(join(webDir, 'worker_start.js')))}</script>`;
  const scriptTag = `<script type="module">\n${ScriptSafe('modules', scripts)}\n</script>`;
  for (const marker of ['<!--QUILLMERE-WORKER-->', '<!--QUILLMERE-SCRIPTS-->']) {
    if (!page.includes(marker)) throw new Error(`index.html lacks ${marker}`);
  }
  page = page.replace('<!--QUILLMERE-WORKER-->', () => workerTag).replace('<!--QUILLMERE-SCRIPTS-->', () => scriptTag);
  page = Fill('index.html', page, '<!--QUILLMERE-VERSION-->', `${version} (${commit})`);
  const serviceWorker = Fill('sw.js', Read(join(webDir, 'sw.js')), 'QUILLMERE-BUILD', `${version}-${commit}`);
  mkdirSync(siteDir, { recursive: true });
  writeFileSync(join(siteDir, 'index.html'), page);
  writeFileSync(join(siteDir, 'sw.js'), serviceWorker);
  for (const name of kWebFiles) copyFileSync(join(webDir, name), join(siteDir, name));
  copyFileSync(icon, join(siteDir, 'quillmere.ico'));
  for (const name of kAppIcons) copyFileSync(join(dirname(icon), name), join(siteDir, name));
  for (const document of documents) copyFileSync(document, join(siteDir, basename(document)));
}

try {
  Main();
} catch (error) {
  console.error(`build_site: ${error.message}`);
  process.exit(1);
}
