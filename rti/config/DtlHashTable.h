// The symbol table of an environment frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "config/DtlObjPtr.h"

class DtlObj;

// Bindings of symbol names to values. Keys are compared by name, byte-wise
// and case-sensitive. The table owns its entries and releases every key and
// value when it is destroyed.
//
// The language knows the table as 256 buckets (the name's hash below), each
// listing its newest entry first; print() shows it so. Look-ups go through
// buckets of their own that start at 256 and double whenever the table holds
// more entries than buckets, so that a frame of many thousand symbols (a
// large FED file's) stays constant time per look-up.
class DtlHashTable {
public:
  static constexpr int BucketCount = 256;

  DtlHashTable();
  DtlHashTable(const DtlHashTable&) = delete;
  DtlHashTable& operator=(const DtlHashTable&) = delete;
  ~DtlHashTable();

  // The sum of the name's characters as signed bytes, modulo 256.
  static std::uint8_t hash(const char* name);

  // The value bound to the name, or a null handle.
  DtlObjPtr value(const char* name) const;
  // The key symbol stored under the name, or a null handle.
  DtlObjPtr key(const char* name) const;
  // The same without taking a count (null when absent); valid until the
  // binding changes.
  const DtlObjPtr* findValue(const char* name) const;
  const DtlObjPtr* findKey(const char* name) const;

  // Adds a binding; raises the language error when the name is present or
  // the key is not a symbol. Returns the symbol.
  DtlObjPtr insert(const DtlObjPtr& symbol, const DtlObjPtr& value);
  // Replaces the value bound to the symbol's name; raises the language
  // error when there is none. Returns the value.
  DtlObjPtr rebind(const DtlObjPtr& symbol, const DtlObjPtr& value);

  // "[%d]:" per non-empty bucket of the 256, then " %s -> " and the value per
  // entry, newest first.
  void print() const;
  // The bindings held.
  std::size_t size() const { return count_; }

  // The bindings whose value is a procedure defined in `frame` and counted
  // once (by this table alone).
  std::uint32_t localProcedureCount(const DtlObj* frame) const;
  // How many bindings hold a procedure at all (a cheap upper bound of the
  // above, kept up to date by insert and rebind).
  std::uint32_t procedureBindings() const { return procedureBindings_; }

private:
  struct Entry {
    DtlObjPtr key;
    DtlObjPtr value;
    Entry* next;
    std::size_t lookupHash;  // of the name, for the look-up buckets
    std::uint64_t sequence;  // insertion order, for print()
  };

  static std::size_t lookupHash(const char* name);
  Entry* find(const char* name) const;
  void growIfFull();

  std::vector<Entry*> buckets_;  // a power of two of them
  std::size_t count_ = 0;
  std::uint64_t nextSequence_ = 0;
  std::uint32_t procedureBindings_ = 0;
};
