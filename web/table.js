// The result table: a virtual-scrolling data grid (WAI-ARIA "Data Grid") over rows that
// the worker made. Only the rows in view have elements; selection, focus and copy work
// on the row data, never on the elements.
//
// Rows arrive as one block of ASCII bytes, each row its cells (the window's six, or the
// companion's FDCAN columns) joined by tabs and ended by CR LF, with rowEnds[i] the
// offset just past row i. A run of whole rows is then the window's clipboard text once
// its last CR LF is dropped.
//
// The keys and clicks are the window's: a click makes its cell the focus cell and
// selects that row; Shift+click selects from the anchor row (the last row clicked
// without Shift) to the clicked one; arrows move the focus cell by one, Page Up/Down by
// a page, Home/End to the first/last row (with Ctrl also to the first/last column), and
// the selection follows, Shift extending it from the anchor; Ctrl+A selects every row;
// Ctrl+C and Ctrl+Insert copy.

import { CopyText, EmptyRows, EmptySelection, FocusAndSelectRows, MoveByKey, RowCells } from './grid_rows.js';

export const kRowHeight = 24;
// Browsers cap an element's height (Firefox near 17.9 million pixels); above this the
// scroll range is scaled and row positions follow the scroll fraction.
const kMaxScrollHeight = 8_000_000;

// A column is as wide as its widest text measured so far, plus the cell's padding and
// border and a little slack for the tabular digits the canvas does not apply; the
// grid scrolls sideways when they add up to more than the screen.
const kCellExtraWidth = 12;
// Rows measured when a listing arrives: its first, its last and some between; a wider
// text seen later widens its column as it comes into view.
const kSampledRows = 64;

export class ResultGrid {
  // element: the grid (#results), focusable; it receives a header and a scrolling body.
  constructor(element) {
    this.element = element;
    this.rows = EmptyRows();
    this.selection = EmptySelection();
    this.onCopyRequest = null;  // set by the page: called on Ctrl+C / Ctrl+Insert
    this.onSelectionChange = null;
    this.renderQueued = false;
    this.pool = [];
    this.columnWidths = [];  // px, as wide as each column's widest text measured
    this.measure = document.createElement('canvas').getContext('2d');

    element.setAttribute('role', 'grid');
    element.setAttribute('aria-multiselectable', 'true');
    element.setAttribute('aria-readonly', 'true');
    element.tabIndex = 0;

    this.head = document.createElement('div');
    this.head.className = 'grid-head';
    this.head.setAttribute('role', 'rowgroup');
    this.headRow = document.createElement('div');
    this.headRow.className = 'grid-row';
    this.headRow.setAttribute('role', 'row');
    this.headRow.setAttribute('aria-rowindex', '1');
    this.head.appendChild(this.headRow);
    this.headCells = [];
    this.columnCount = 0;
    this.bestRows = [];

    this.body = document.createElement('div');
    this.body.className = 'grid-body';
    this.body.setAttribute('role', 'rowgroup');
    // The scrolling body is a Tab stop of its own (browsers make every scrolling box
    // one, and it must be reachable by keyboard): the grid's keys, focus cell and copy
    // work there as on the grid, since its keys reach the grid's handler.
    this.body.tabIndex = 0;
    this.spacer = document.createElement('div');
    this.spacer.className = 'grid-spacer';
    this.body.appendChild(this.spacer);
    element.append(this.head, this.body);

    this.body.addEventListener('scroll', () => {
      // The header scrolls sideways with the rows.
      this.head.scrollLeft = this.body.scrollLeft;
      this.QueueRender();
    }, { passive: true });
    element.addEventListener('keydown', (event) => this.OnKeyDown(event));
    this.body.addEventListener('mousedown', (event) => this.OnMouseDown(event));
    this.head.addEventListener('mousedown', (event) => {
      event.preventDefault();
      element.focus({ preventScroll: true });
      this.SetSelection(EmptySelection());  // a header click drops the selection
    });
    new ResizeObserver(() => this.QueueRender()).observe(this.body);
    this.SetRows(EmptyRows());
  }

  // Sets the column titles (helps: what each holds, a tooltip on its header); a new
  // number of columns rebuilds the header and the rows.
  SetColumns(titles, helps = []) {
    if (titles.length !== this.columnCount) {
      this.columnCount = titles.length;
      this.element.setAttribute('aria-colcount', String(titles.length));
      this.element.style.setProperty('--columns', String(titles.length));
      this.headRow.replaceChildren();
      this.headCells = titles.map((_, c) => {
        const cell = document.createElement('div');
        cell.className = 'grid-cell';
        cell.setAttribute('role', 'columnheader');
        cell.setAttribute('aria-colindex', String(c + 1));
        this.headRow.appendChild(cell);
        return cell;
      });
      for (const element of this.pool) element.remove();
      this.pool = [];
    }
    titles.forEach((title, c) => {
      this.headCells[c].textContent = title;
      if (helps[c]) this.headCells[c].title = helps[c];
      else this.headCells[c].removeAttribute('title');
    });
    this.Render();
    this.MeasureColumns();
  }

  // The fonts the header's and the rows' cells are drawn in, read once a measuring
  // (reading a cell's computed style is what a measuring costs most). The header's
  // focus column is drawn bold: measured bold, it never grows.
  CellFonts() {
    const FontOf = (cell, weight) => {
      if (!cell) return null;
      const style = getComputedStyle(cell);
      return `${weight ?? style.fontWeight} ${style.fontSize} ${style.fontFamily}`;
    };
    return { head: FontOf(this.headCells[0], 600), row: FontOf(this.pool[0]?.children[0]) };
  }

  // The width of text in column c of the header (head) or of a row, in px.
  TextWidth(text, c, head) {
    this.fonts ??= this.CellFonts();
    const font = head ? this.fonts.head : this.fonts.row;
    if (font === null) return 0;
    if (this.measure.font !== font) this.measure.font = font;
    let width = this.measure.measureText(text).width;
    // The best row's mark before the first cell's text (style.css).
    if (c === 0 && !head) width += this.measure.measureText('\u2605\u00a0').width;
    return Math.ceil(width) + kCellExtraWidth;
  }

  // Widens column c to hold text; true when it grew.
  FitColumn(c, text, head) {
    const width = this.TextWidth(text, c, head);
    if (width <= (this.columnWidths[c] ?? 0)) return false;
    this.columnWidths[c] = width;
    return true;
  }

  // Measures the titles and a sample of the rows afresh and sets the columns' widths.
  MeasureColumns() {
    this.columnWidths = new Array(this.columnCount).fill(0);
    this.fonts = null;  // a theme or zoom may have changed them
    if (!this.measure) return;
    this.headCells.forEach((cell, c) => this.FitColumn(c, cell.textContent, true));
    const count = this.rows.count;
    const sample = new Set();
    for (let i = 0; i < Math.min(kSampledRows, count); ++i) {
      sample.add(i);
      sample.add(count - 1 - i);
      sample.add(Math.floor((i * count) / kSampledRows));
    }
    for (const element of this.pool) {
      if (!element.hidden) sample.add(Number(element.getAttribute('aria-rowindex')) - 2);
    }
    for (const row of sample) {
      if (row < 0 || row >= count) continue;
      RowCells(this.rows, row).forEach((text, c) => {
        if (c < this.columnCount) this.FitColumn(c, text, false);
      });
    }
    this.ApplyColumnWidths();
  }

  ApplyColumnWidths() {
    const total = this.columnWidths.reduce((sum, width) => sum + width, 0);
    this.element.style.setProperty('--grid-columns', this.columnWidths.map((w) => `minmax(${w}px, 1fr)`).join(' '));
    this.element.style.setProperty('--grid-width', `${total}px`);
  }

  // Marks rows (0-based) as the best setting.
  SetBestRows(rows) {
    this.bestRows = rows;
    this.Render();
  }

  // Replaces the rows (the grid keeps the arrays); drops selection and focus, scrolls
  // to the top.
  SetRows(rows) {
    this.rows = rows;
    this.bestRows = [];
    this.selection = EmptySelection();
    this.element.setAttribute('aria-rowcount', String(rows.count + 1));
    const full = rows.count * kRowHeight;
    this.scrollHeight = Math.min(full, kMaxScrollHeight);
    this.spacer.style.height = `${this.scrollHeight}px`;
    this.body.scrollTop = 0;
    this.element.removeAttribute('aria-activedescendant');
    this.Render();
    this.MeasureColumns();
    if (this.onSelectionChange) this.onSelectionChange(this.selection);
  }

  SetSelection(selection) {
    this.selection = selection;
    this.Render();
    if (this.onSelectionChange) this.onSelectionChange(selection);
  }

  SelectAll() {
    if (this.rows.count === 0) return;
    this.SetSelection({ ...this.selection, firstRow: 0, lastRow: this.rows.count - 1 });
  }

  // The clipboard text of the selection, or null when nothing is selected.
  SelectedText() {
    const { firstRow, lastRow } = this.selection;
    if (firstRow < 0 || this.rows.count === 0) return null;
    return CopyText(this.rows, firstRow, lastRow);
  }

  SelectedRowCount() {
    const { firstRow, lastRow } = this.selection;
    return firstRow < 0 ? 0 : lastRow - firstRow + 1;
  }

  ViewportRows() {
    return Math.max(1, Math.floor(this.body.clientHeight / kRowHeight));
  }

  // The first row in view and its offset in pixels, from the scroll position. Scaled
  // when the listing is taller than the scroll range.
  FirstVisible() {
    const viewport = this.body.clientHeight;
    const full = this.rows.count * kRowHeight;
    const top = this.body.scrollTop;
    if (full <= kMaxScrollHeight) return { row: Math.floor(top / kRowHeight), offset: top % kRowHeight };
    const range = Math.max(1, this.scrollHeight - viewport);
    const rowTop = (Math.min(top, range) / range) * (full - viewport);
    return { row: Math.floor(rowTop / kRowHeight), offset: rowTop % kRowHeight };
  }

  // Scrolls so that row is in view.
  ScrollToRow(row) {
    const viewport = this.body.clientHeight;
    const full = this.rows.count * kRowHeight;
    if (full <= kMaxScrollHeight) {
      const top = row * kRowHeight;
      if (top < this.body.scrollTop) this.body.scrollTop = top;
      else if (top + kRowHeight > this.body.scrollTop + viewport) this.body.scrollTop = top + kRowHeight - viewport;
      return;
    }
    const { row: first } = this.FirstVisible();
    const inView = this.ViewportRows();
    if (row >= first && row < first + inView - 1) return;
    const wantedTop = Math.max(0, Math.min(full - viewport, row * kRowHeight - (row < first ? 0 : viewport - kRowHeight)));
    const range = Math.max(1, this.scrollHeight - viewport);
    this.body.scrollTop = Math.round((wantedTop / Math.max(1, full - viewport)) * range);
  }

  QueueRender() {
    if (this.renderQueued) return;
    this.renderQueued = true;
    requestAnimationFrame(() => {
      this.renderQueued = false;
      this.Render();
    });
  }

  // Draws the rows in view: a pool of row elements, placed over the spacer.
  Render() {
    const viewportRows = Math.ceil(this.body.clientHeight / kRowHeight) + 1;
    while (this.pool.length < viewportRows) this.pool.push(this.MakeRowElement());
    const { row: first, offset } = this.FirstVisible();
    const top = this.body.scrollTop - offset;
    const { firstRow, lastRow, focusRow, focusColumn } = this.selection;
    let activeId = null;
    let widened = false;
    for (let i = 0; i < this.pool.length; ++i) {
      const element = this.pool[i];
      const row = first + i;
      if (i >= viewportRows || row >= this.rows.count) {
        element.hidden = true;
        continue;
      }
      element.hidden = false;
      element.style.transform = `translateY(${top + i * kRowHeight}px)`;
      element.setAttribute('aria-rowindex', String(row + 2));
      const selected = firstRow >= 0 && row >= firstRow && row <= lastRow;
      element.setAttribute('aria-selected', selected ? 'true' : 'false');
      element.classList.toggle('selected', selected);
      element.classList.toggle('best', this.bestRows.includes(row));
      const cells = RowCells(this.rows, row);
      for (let c = 0; c < this.columnCount; ++c) {
        const cell = element.children[c];
        if (cell.textContent !== cells[c]) {
          cell.textContent = cells[c];
          if (this.FitColumn(c, cells[c], false)) widened = true;
        }
        const focused = row === focusRow && c === focusColumn;
        cell.classList.toggle('focused', focused);
        if (focused) {
          cell.id = 'results-focus-cell';
          activeId = cell.id;
        } else if (cell.id) {
          cell.removeAttribute('id');
        }
      }
    }
    if (widened) this.ApplyColumnWidths();
    if (activeId) this.element.setAttribute('aria-activedescendant', activeId);
    else this.element.removeAttribute('aria-activedescendant');
    this.headCells.forEach((cell, c) => cell.classList.toggle('focus-column', c === focusColumn && focusRow >= 0));
  }

  MakeRowElement() {
    const element = document.createElement('div');
    element.className = 'grid-row';
    element.setAttribute('role', 'row');
    for (let c = 0; c < this.columnCount; ++c) {
      const cell = document.createElement('div');
      cell.className = 'grid-cell';
      cell.setAttribute('role', 'gridcell');
      cell.setAttribute('aria-colindex', String(c + 1));
      cell.dataset.column = String(c);
      element.appendChild(cell);
    }
    this.body.appendChild(element);
    return element;
  }

  // The data row and column under a point of the body, or null.
  CellAtPoint(event) {
    const cell = event.target.closest('.grid-cell');
    const rowElement = event.target.closest('.grid-row');
    if (!cell || !rowElement) return null;
    const row = Number(rowElement.getAttribute('aria-rowindex')) - 2;
    if (!(row >= 0 && row < this.rows.count)) return null;
    return { row, column: Number(cell.dataset.column) };
  }

  OnMouseDown(event) {
    if (event.button !== 0) return;
    const at = this.CellAtPoint(event);
    if (!at) return;
    event.preventDefault();  // no text selection; the focus goes to the grid
    this.element.focus({ preventScroll: true });
    this.SetSelection(FocusAndSelectRows(this.selection, this.rows.count, at.row, at.column, event.shiftKey));
  }

  OnKeyDown(event) {
    const ctrl = event.ctrlKey || event.metaKey;
    const key = event.key;
    if (ctrl && (key === 'a' || key === 'A')) {
      event.preventDefault();
      this.SelectAll();
      return;
    }
    if (ctrl && key === 'Insert' && !event.shiftKey) {
      event.preventDefault();
      if (this.onCopyRequest) this.onCopyRequest();
      return;
    }
    // Ctrl+C is left to the browser: its copy event carries the rows (main.js).
    const moved = MoveByKey(this.selection, this.rows.count, this.columnCount, key, event.shiftKey, ctrl,
      this.ViewportRows());
    if (!moved) return;
    event.preventDefault();
    this.selection = moved;
    this.ScrollToRow(moved.focusRow);
    this.SetSelection(moved);
  }
}
