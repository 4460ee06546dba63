// The result table's fonts on Windows: its default font (the platform's message font)
// and the platform fonts its cells are drawn with.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/result_table.h"

// The platform's standard message font at dpi; the default GUI font when it cannot be
// read.
FontDescription MessageFontDescription(int dpi);

// Platform fonts made for drawing cells. The table holds two cell fonts (the default
// font and the header's), so only a few are ever kept.
struct CellFontCache {
  struct Entry {
    int32_t height;
    bool heavy;
    HFONT font;
  };
  std::vector<Entry> entries;
};

// The default font `base` at `height`, at weight 600 when heavy (a header cell in the
// focus cell's column). Made on first use and kept; null when it cannot be made. The
// cache must be released when base changes.
HFONT CellFontHandle(CellFontCache& cache, const FontDescription& base, int32_t height, bool heavy);
// After a paint: releases the fonts when more than the table's usual ones pile up
// (cells given many heights), so the cache never grows without bound.
void TrimCellFonts(CellFontCache& cache);
// Deletes every font; none may still be selected into a device context.
void ReleaseCellFonts(CellFontCache& cache);
