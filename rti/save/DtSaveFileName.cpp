#include "save/DtSaveFileName.h"

std::string DtSaveFileNamePart(const char* text) {
  static const char hex[] = "0123456789ABCDEF";
  std::string part;
  if (!text) return part;
  for (const char* c = text; *c; ++c) {
    const auto byte = static_cast<unsigned char>(*c);
    if (byte == '/' || byte == '\\' || byte == '%' || byte < 0x20 || byte == 0x7F) {
      part += '%';
      part += hex[byte >> 4];
      part += hex[byte & 0xF];
    } else {
      part += *c;
    }
  }
  return part;
}
