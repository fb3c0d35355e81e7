#include "util/DtHashKey.h"

DtHashKey::~DtHashKey() = default;

bool DtHashKey::operator==(const DtHashKey& other) const {
  return hash() == other.hash() && string() == other.string();
}

bool DtHashKey::operator!=(const DtHashKey& other) const { return !(*this == other); }

std::uint32_t DtHashKey::bucketHash() const { return hash(); }

std::uint32_t DtHashKey::hash() const {
  if (!hashComputed_) {
    hash_ = computeHash();
    hashComputed_ = true;
  }
  return hash_;
}
