#include "util/DtUlongKey.h"

DtHashKey* DtUlongKey::clone() const { return new DtUlongKey(*this); }

const DtString& DtUlongKey::string() const { return DtString::nullString(); }

std::uint32_t DtUlongKey::computeHash() const { return value_; }
