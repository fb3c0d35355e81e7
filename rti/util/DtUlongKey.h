#pragma once
// DtUlongKey: a hash key holding one unsigned 32-bit number (a handle, a
// serial number, an address). Its hash is the number itself.

#include <cstdint>

#include "util/DtHashKey.h"

class DtUlongKey : public DtHashKey {
public:
  explicit DtUlongKey(std::uint32_t value = 0) : value_(value) {}

  DtHashKey* clone() const override;
  // Always the shared empty string: equality of two number keys rests on
  // the number alone, and a key (made for every look-up by handle) carries
  // no text of its own.
  const DtString& string() const override;
  std::uint32_t computeHash() const override;
  virtual std::uint32_t value() const { return value_; }

private:
  std::uint32_t value_;
};
