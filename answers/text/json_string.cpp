#include "answers/text/json_string.h"

void PutJsonString(std::string& out, const std::string& text) {
  static const char kHex[] = "0123456789abcdef";
  out += '"';
  for (const char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte >= 0x20) {
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else {
      // The other controls have short forms too (\b, \f) or none; one spelling for all
      // of them keeps the writer's rule a line long.
      out += "\\u00";
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    }
  }
  out += '"';
}

std::string JsonString(const std::string& text) {
  std::string out;
  PutJsonString(out, text);
  return out;
}
