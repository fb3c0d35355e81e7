#include "util/DtStringKey.h"

DtHashKey* DtStringKey::clone() const { return new DtStringKey(*this); }

std::uint32_t DtStringKey::computeHash() const {
  std::uint32_t sum = 0;
  const char* text = text_.string();
  for (std::uint32_t i = 0; text[i]; ++i) {
    sum += static_cast<std::uint32_t>(static_cast<std::int8_t>(text[i])) * (i + 1);
  }
  return sum;
}

DtString& DtStringKey::string() {
  forgetHash();
  return text_;
}

void DtStringKey::setString(const DtString& text) {
  text_ = text;
  forgetHash();
}
