// The result grid's data, apart from its elements: the rows as the worker made them
// (one block of ASCII bytes, each row its cells joined by tabs and ended by CR LF,
// rowEnds[i] the offset just past row i), and the selection and focus with the
// window's keys, as plain values (table.js draws them).

// The rows are ASCII: UTF-8's decoder reads them fastest.
const kAsciiDecoder = new TextDecoder('utf-8');

// The selection and focus of a grid as plain data: rows are 0-based data rows, -1 none.
export function EmptySelection() {
  return { anchorRow: -1, focusRow: -1, focusColumn: -1, firstRow: -1, lastRow: -1 };
}

// Makes (row, column) the focus cell and selects the rows from the anchor to row (only
// row, which also becomes the anchor, unless extending from a valid anchor).
export function FocusAndSelectRows(selection, rowCount, row, column, extend) {
  const anchorValid = selection.anchorRow >= 0 && selection.anchorRow < rowCount;
  const anchorRow = extend && anchorValid ? selection.anchorRow : row;
  return {
    anchorRow,
    focusRow: row,
    focusColumn: column,
    firstRow: Math.min(anchorRow, row),
    lastRow: Math.max(anchorRow, row),
  };
}

// Where a movement key takes the focus and what is selected then; null for a key that
// changes nothing. key is a KeyboardEvent.key.
export function MoveByKey(selection, rowCount, columnCount, key, shift, ctrl, pageRows) {
  if (rowCount <= 0) return null;
  const last = rowCount - 1;
  const lastColumn = columnCount - 1;
  const page = Math.max(pageRows, 1);
  let row = selection.focusRow;
  let column = selection.focusColumn;
  const moves = ['ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown', 'PageUp', 'PageDown', 'Home', 'End'];
  if (!moves.includes(key)) return null;
  if (row < 0 || row > last || column < 0) {
    // No focus cell yet: the move lands on the first row (End: the last one).
    row = key === 'End' ? last : 0;
    column = key === 'End' && ctrl ? lastColumn : 0;
  } else {
    switch (key) {
      case 'ArrowLeft': column = Math.max(0, column - 1); break;
      case 'ArrowRight': column = Math.min(lastColumn, column + 1); break;
      case 'ArrowUp': row = Math.max(0, row - 1); break;
      case 'ArrowDown': row = Math.min(last, row + 1); break;
      case 'PageUp': row = Math.max(0, row - page); break;
      case 'PageDown': row = Math.min(last, row + page); break;
      case 'Home': row = 0; if (ctrl) column = 0; break;
      case 'End': row = last; if (ctrl) column = lastColumn; break;
    }
  }
  return FocusAndSelectRows(selection, rowCount, row, column, shift);
}

// The rows as the grid holds them. An empty listing has count 0.
export function EmptyRows() {
  return { bytes: new Uint8Array(0), rowEnds: new Uint32Array(0), count: 0 };
}

export function RowStart(rows, row) {
  return row === 0 ? 0 : rows.rowEnds[row - 1];
}

// The cell texts of one row.
export function RowCells(rows, row) {
  const end = rows.rowEnds[row] - 2;  // without its CR LF
  return kAsciiDecoder.decode(rows.bytes.subarray(RowStart(rows, row), end)).split('\t');
}

// The window's clipboard text for the rows first to last: cells by tab, rows by CR LF,
// nothing after the last row.
export function CopyText(rows, firstRow, lastRow) {
  return kAsciiDecoder.decode(rows.bytes.subarray(RowStart(rows, firstRow), rows.rowEnds[lastRow] - 2));
}
