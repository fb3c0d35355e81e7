#pragma once
// DtStringKey: a hash key holding a text (a name). Its hash is the sum of
// each character (as a signed 8-bit value) times its position from 1,
// wrapping as an unsigned 32-bit number: "ab" hashes to 97 + 2 * 98 = 293.

#include <cstdint>

#include "util/DtHashKey.h"

class DtStringKey : public DtHashKey {
public:
  DtStringKey() = default;
  explicit DtStringKey(const DtString& text) : text_(text) {}
  explicit DtStringKey(const char* text) : text_(text) {}

  DtHashKey* clone() const override;
  const DtString& string() const override { return text_; }
  std::uint32_t computeHash() const override;
  // The weighted sum above takes few values over names that differ in a
  // few characters ("Radio1" to "Radio99999" take 851 values), so
  // buckets are chosen from a hash that mixes every character (FNV-1a and
  // a final mix of its bits).
  std::uint32_t bucketHash() const override;

  // The text may be changed through this reference, so the hash is taken
  // anew afterwards.
  virtual DtString& string();
  virtual void setString(const DtString& text);

private:
  DtString text_;
};
