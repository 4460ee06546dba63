#include "ui/result_table_fonts_win.h"

#include <cstddef>
#include <cstring>
#include <type_traits>

#include "ui/dpi_win.h"

namespace {

constexpr int kHeavyWeight = 600;  // header cells in the focus cell's column
// Two cell fonts, each plain and heavy.
constexpr size_t kUsualFontCount = 4;

// FontDescription is a LOGFONTW field for field, so one copies into the other whole.
static_assert(std::is_trivially_copyable_v<FontDescription>, "a font record is plain data");
static_assert(sizeof(FontDescription) == sizeof(LOGFONTW), "font records differ in size");
static_assert(offsetof(FontDescription, weight) == offsetof(LOGFONTW, lfWeight) &&
                  offsetof(FontDescription, italic) == offsetof(LOGFONTW, lfItalic) &&
                  offsetof(FontDescription, pitchAndFamily) == offsetof(LOGFONTW, lfPitchAndFamily) &&
                  offsetof(FontDescription, faceName) == offsetof(LOGFONTW, lfFaceName),
              "font records differ in layout");

FontDescription DescriptionOf(const LOGFONTW& font) {
  FontDescription d;
  std::memcpy(static_cast<void*>(&d), &font, sizeof d);  // trivially copyable
  d.faceName[31] = 0;
  return d;
}

LOGFONTW LogFontOf(const FontDescription& d) {
  LOGFONTW font;
  std::memcpy(&font, &d, sizeof font);
  return font;
}

}  // namespace

FontDescription MessageFontDescription(int dpi) { return DescriptionOf(MessageFontAt(dpi)); }

HFONT CellFontHandle(CellFontCache& cache, const FontDescription& base, int32_t height, bool heavy) {
  for (const CellFontCache::Entry& entry : cache.entries)
    if (entry.height == height && entry.heavy == heavy) return entry.font;
  LOGFONTW font = LogFontOf(base);
  font.lfHeight = height;
  if (heavy) font.lfWeight = kHeavyWeight;
  HFONT made = CreateFontIndirectW(&font);
  if (made) cache.entries.push_back({height, heavy, made});
  return made;
}

void TrimCellFonts(CellFontCache& cache) {
  if (cache.entries.size() > kUsualFontCount) ReleaseCellFonts(cache);
}

void ReleaseCellFonts(CellFontCache& cache) {
  for (const CellFontCache::Entry& entry : cache.entries) DeleteObject(entry.font);
  cache.entries.clear();
}
