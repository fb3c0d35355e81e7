// The symbol table of an environment frame.
#pragma once

#include <cstdint>

#include "config/DtlObjPtr.h"

class DtlObj;

// 256 buckets of singly linked entries (key symbol, value). Keys are compared
// by name, byte-wise and case-sensitive; a new entry goes to the head of its
// bucket. The table owns its entries and releases every key and value when it
// is destroyed.
class DtlHashTable {
 public:
  static constexpr int BucketCount = 256;

  DtlHashTable() = default;
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

  // "[%d]:" per non-empty bucket, then " %s -> " and the value per entry.
  void print() const;

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
  };

  Entry* find(const char* name) const;

  Entry* buckets_[BucketCount] = {};
  std::uint32_t procedureBindings_ = 0;
};
