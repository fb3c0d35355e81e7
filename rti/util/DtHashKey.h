#pragma once
// DtHashKey: the abstract key of a DtHashlist. The hash is computed once, on
// first use, and cached. Two keys are equal when their hashes and their
// printable forms are equal.

#include <cstdint>

#include "util/DtString.h"

class DtHashKey {
public:
  DtHashKey() = default;
  DtHashKey(const DtHashKey&) = default;
  DtHashKey& operator=(const DtHashKey&) = default;
  virtual ~DtHashKey();

  virtual bool operator==(const DtHashKey& other) const;
  virtual bool operator!=(const DtHashKey& other) const;
  virtual std::uint32_t hash() const;
  // The number that picks the key's bucket in a DtHashlist. Keys that are
  // equal must give equal numbers. By default the hash itself; a key whose
  // hash takes few distinct values over typical keys spreads them better.
  virtual std::uint32_t bucketHash() const;
  // A new heap copy of the key, of its own class; the caller deletes it.
  virtual DtHashKey* clone() const = 0;
  virtual const DtString& string() const = 0;
  virtual std::uint32_t computeHash() const = 0;

protected:
  // For subclasses whose value changes: the next hash() recomputes.
  void forgetHash() { hashComputed_ = false; }

private:
  mutable bool hashComputed_ = false;
  mutable std::uint32_t hash_ = 0;
};
