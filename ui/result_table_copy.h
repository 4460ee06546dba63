// The text the result table's copy command offers.
#pragma once

#include <string>

#include "ui/result_table.h"

// The smallest block holding the selection, columns separated by a tab (an unselected
// cell gives no text but keeps its tab), rows by CR LF, nothing after the last row; rows
// of height 0 and columns of width 0 drop out with their separators. False, and *out
// untouched, when nothing is selected.
bool CopyText(const ResultTable& table, std::string* out);
