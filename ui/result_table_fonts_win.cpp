#include "ui/result_table_fonts_win.h"

#include <cstring>

#include "ui/dpi_win.h"

namespace {

constexpr int kHeavyWeight = 600;  // header cells in the focus cell's column
// Two cell fonts, each plain and heavy.
constexpr size_t kUsualFontCount = 4;

FontDescription DescriptionOf(const LOGFONTW& font) {
  FontDescription d;
  d.height = font.lfHeight;
  d.width = font.lfWidth;
  d.escapement = font.lfEscapement;
  d.orientation = font.lfOrientation;
  d.weight = font.lfWeight;
  d.italic = font.lfItalic;
  d.underline = font.lfUnderline;
  d.strikeOut = font.lfStrikeOut;
  d.charSet = font.lfCharSet;
  d.outPrecision = font.lfOutPrecision;
  d.clipPrecision = font.lfClipPrecision;
  d.quality = font.lfQuality;
  d.pitchAndFamily = font.lfPitchAndFamily;
  static_assert(sizeof d.faceName == sizeof font.lfFaceName, "face names differ in size");
  std::memcpy(d.faceName, font.lfFaceName, sizeof d.faceName);
  d.faceName[31] = 0;
  return d;
}

LOGFONTW LogFontOf(const FontDescription& d) {
  LOGFONTW font = {};
  font.lfHeight = d.height;
  font.lfWidth = d.width;
  font.lfEscapement = d.escapement;
  font.lfOrientation = d.orientation;
  font.lfWeight = d.weight;
  font.lfItalic = d.italic;
  font.lfUnderline = d.underline;
  font.lfStrikeOut = d.strikeOut;
  font.lfCharSet = d.charSet;
  font.lfOutPrecision = d.outPrecision;
  font.lfClipPrecision = d.clipPrecision;
  font.lfQuality = d.quality;
  font.lfPitchAndFamily = d.pitchAndFamily;
  std::memcpy(font.lfFaceName, d.faceName, sizeof font.lfFaceName);
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
