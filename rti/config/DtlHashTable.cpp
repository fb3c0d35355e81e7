#include "config/DtlHashTable.h"

#include <cstring>

#include "config/DtlError.h"
#include "config/DtlObj.h"
#include "config/DtlPrint.h"
#include "util/DtNotify.h"

namespace {

const char* keyName(const DtlObjPtr& key) {
  if (!DtcIs(key, DtlSymbolTag)) DtlError("non-symbol in environment");
  return key->pname() ? key->pname() : "";
}

bool holdsProcedure(const DtlObjPtr& value) { return DtcIs(value, DtlProcedureTag); }

}  // namespace

DtlHashTable::~DtlHashTable() {
  for (Entry*& head : buckets_) {
    while (Entry* entry = head) {
      head = entry->next;
      delete entry;
    }
  }
}

std::uint8_t DtlHashTable::hash(const char* name) {
  unsigned sum = 0;
  for (const char* c = name ? name : ""; *c; ++c)
    sum += static_cast<unsigned>(static_cast<int>(static_cast<signed char>(*c)));
  return static_cast<std::uint8_t>(sum & 0xFFu);
}

DtlHashTable::Entry* DtlHashTable::find(const char* name) const {
  if (!name) name = "";
  for (Entry* entry = buckets_[hash(name)]; entry; entry = entry->next) {
    if (std::strcmp(keyName(entry->key), name) == 0) return entry;
  }
  return nullptr;
}

const DtlObjPtr* DtlHashTable::findValue(const char* name) const {
  const Entry* entry = find(name);
  return entry ? &entry->value : nullptr;
}

const DtlObjPtr* DtlHashTable::findKey(const char* name) const {
  const Entry* entry = find(name);
  return entry ? &entry->key : nullptr;
}

DtlObjPtr DtlHashTable::value(const char* name) const {
  const DtlObjPtr* value = findValue(name);
  return value ? *value : DtlObjPtr();
}

DtlObjPtr DtlHashTable::key(const char* name) const {
  const DtlObjPtr* key = findKey(name);
  return key ? *key : DtlObjPtr();
}

DtlObjPtr DtlHashTable::insert(const DtlObjPtr& symbol, const DtlObjPtr& value) {
  const char* name = keyName(symbol);
  if (find(name)) DtlError("cannot insert binding with duplicate key");
  auto* entry = new (std::nothrow) Entry{symbol, value, nullptr};
  if (!entry) DtlError("out of memory in DtlHashTable::insert");
  Entry*& head = buckets_[hash(name)];
  entry->next = head;
  head = entry;
  if (holdsProcedure(value)) ++procedureBindings_;
  return symbol;
}

DtlObjPtr DtlHashTable::rebind(const DtlObjPtr& symbol, const DtlObjPtr& value) {
  Entry* entry = find(keyName(symbol));
  if (!entry) DtlError("symbol was not found in DtlHashTable::rebind");
  DtlObjPtr result = value;  // `value` may be the entry's own handle
  procedureBindings_ += holdsProcedure(result);
  procedureBindings_ -= holdsProcedure(entry->value);
  // The old value goes last: it may be what still held a frame.
  DtlObjPtr old = std::move(entry->value);
  entry->value = result;
  return result;
}

void DtlHashTable::print() const {
  for (int index = 0; index < BucketCount; ++index) {
    if (!buckets_[index]) continue;
    DtNotifyInfo("[%d]:", index);
    for (const Entry* entry = buckets_[index]; entry; entry = entry->next) {
      DtNotifyInfo(" %s -> ", keyName(entry->key));
      DtcPrintLine(entry->value);
    }
  }
}

std::uint32_t DtlHashTable::localProcedureCount(const DtlObj* frame) const {
  std::uint32_t count = 0;
  for (const Entry* head : buckets_) {
    for (const Entry* entry = head; entry; entry = entry->next) {
      const DtlObj* value = entry->value.get();
      if (value && value->tag() == DtlProcedureTag && value->third().get() == frame && value->refCount() == 1) ++count;
    }
  }
  return count;
}
