// The clipboard: the grid's selected rows as the window copies them (cells by tab,
// rows by CR LF) on Ctrl+C or 复制, code to paste, and the note that says what a copy
// put there.
import { kTexts } from './i18n.js';
import { PageLanguage } from './page_language.js';
import { listingGrid } from './listing.js';

const copyButton = document.getElementById('copy');
// What a copy put on the clipboard, said in #copy-note (a polite live region) and on
// the Copy button's tooltip; emptied first, so that the same words said again are
// announced again.
const copyNote = document.getElementById('copy-note');

let copyFromButton = false;
let copyOverride = null;  // a text to copy instead of the selection (code to paste)

function ShowCopyNote(text) {
  copyNote.textContent = '';
  requestAnimationFrame(() => { copyNote.textContent = text; });
}

function CopiedRowsNote() {
  const count = listingGrid.SelectedRowCount();
  if (count === 0) return;
  copyButton.title = kTexts[PageLanguage()].copied(count);
  ShowCopyNote(kTexts[PageLanguage()].copied(count));
}

// Ctrl+C in the grid: the copy event of a focused element that is not editable reaches
// the document. The text is the window's: cells by tab, rows by CR LF.
document.addEventListener('copy', (event) => {
  if (copyOverride !== null) {
    event.clipboardData.setData('text/plain', copyOverride);
    event.preventDefault();
    return;
  }
  // Any element of the grid that holds the focus copies: the grid itself, or its
  // scrolling body when a scroll bar was clicked.
  const fromGrid = copyFromButton || listingGrid.element.contains(document.activeElement);
  if (!fromGrid) return;
  const text = listingGrid.SelectedText();
  if (text === null) return;  // nothing selected: the clipboard stays as it was
  event.clipboardData.setData('text/plain', text);
  event.preventDefault();
  CopiedRowsNote();
});

function CopySelection() {
  copyFromButton = true;
  try {
    document.execCommand('copy');
  } finally {
    copyFromButton = false;
  }
}

listingGrid.onCopyRequest = CopySelection;
copyButton.addEventListener('click', CopySelection);

// The Copy button is usable while rows are selected.
export function EnableCopy(selection) {
  copyButton.disabled = selection.firstRow < 0;
}

// Copies a text: through the asynchronous clipboard (the worker's answer comes after
// the click), else through a copy command.
export function CopyToClipboard(text) {
  const Copied = () => ShowCopyNote(kTexts[PageLanguage()].copiedCode);
  if (navigator.clipboard && navigator.clipboard.writeText) {
    navigator.clipboard.writeText(text).then(Copied, () => {
      CopyWithCommand(text);
      Copied();
    });
    return;
  }
  CopyWithCommand(text);
  Copied();
}

function CopyWithCommand(text) {
  copyOverride = text;
  try {
    document.execCommand('copy');
  } finally {
    copyOverride = null;
  }
}

// Copies an element's text (the plan's code), through the asynchronous clipboard, or
// where that is refused, the element selected and copied.
export function CopyElementText(element) {
  const text = element.textContent;
  if (navigator.clipboard && navigator.clipboard.writeText) {
    navigator.clipboard.writeText(text).catch(() => CopyElementByCommand(element));
    return;
  }
  CopyElementByCommand(element);
}

function CopyElementByCommand(element) {
  const range = document.createRange();
  range.selectNodeContents(element);
  const selection = window.getSelection();
  selection.removeAllRanges();
  selection.addRange(range);
  document.execCommand('copy');
  selection.removeAllRanges();
}
