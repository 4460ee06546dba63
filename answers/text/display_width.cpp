#include "answers/text/display_width.h"

std::size_t DisplayWidth(const char* bytes, std::size_t length) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < length;) {
    const unsigned char lead = static_cast<unsigned char>(bytes[i]);
    // The character's length by its lead byte; a stray continuation byte (10xxxxxx)
    // stands alone.
    const std::size_t size = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    width += size >= 3 ? 2 : 1;
    i += size;
  }
  return width;
}

std::size_t DisplayWidth(const std::string& text) { return DisplayWidth(text.data(), text.size()); }
