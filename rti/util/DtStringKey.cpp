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

std::uint32_t DtStringKey::bucketHash() const {
  std::uint32_t h = 2166136261u;
  for (const char* p = text_.string(); *p; ++p) {
    h ^= static_cast<unsigned char>(*p);
    h *= 16777619u;
  }
  // Mix the high bits into the low ones, which pick the bucket.
  h ^= h >> 16;
  h *= 0x85ebca6bu;
  h ^= h >> 13;
  return h;
}

DtString& DtStringKey::string() {
  forgetHash();
  return text_;
}

void DtStringKey::setString(const DtString& text) {
  text_ = text;
  forgetHash();
}
