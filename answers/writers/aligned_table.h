// The one writer of the companion's aligned tables beside the listing's table form
// (which measures its rows as they stream): the controller list and the plan's tables.
#pragma once

#include <string>
#include <vector>

#include "answers/writers/output_sink.h"

// A table of texts (UTF-8): its titles, one row of cells per line below them, and
// which columns are right-aligned (none where right is empty).
struct AlignedTable {
  std::vector<std::string> titles;
  std::vector<bool> right;
  std::vector<std::vector<std::string>> rows;
};

// Writes the titles, then each row, one line each: the columns two spaces apart, each
// padded to its widest text by DisplayWidth (answers/text/display_width.h), a
// right-aligned one on its left; the last column, left-aligned, is not padded. Stops
// at the first failed write.
void PutAlignedTable(OutputSink& sink, const AlignedTable& table);
