#include "answers/writers/aligned_table.h"

#include <cstddef>

#include "answers/text/display_width.h"

void PutAlignedTable(OutputSink& sink, const AlignedTable& table) {
  std::vector<std::size_t> widths(table.titles.size(), 0);
  auto measure = [&widths](const std::vector<std::string>& cells) {
    for (std::size_t c = 0; c < cells.size() && c < widths.size(); ++c)
      if (DisplayWidth(cells[c]) > widths[c]) widths[c] = DisplayWidth(cells[c]);
  };
  measure(table.titles);
  for (const auto& row : table.rows) measure(row);
  auto line = [&](const std::vector<std::string>& cells) {
    std::string text;
    for (std::size_t c = 0; c < cells.size() && c < widths.size(); ++c) {
      const std::string pad(widths[c] - DisplayWidth(cells[c]), ' ');
      const bool right = c < table.right.size() && table.right[c];
      if (c > 0) text += "  ";
      text += right ? pad + cells[c] : (c + 1 < cells.size() ? cells[c] + pad : cells[c]);
    }
    Put(sink, text + "\n");
  };
  line(table.titles);
  for (const auto& row : table.rows) {
    if (sink.error != 0) return;
    line(row);
  }
}
