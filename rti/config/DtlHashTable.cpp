#include "config/DtlHashTable.h"

#include <algorithm>
#include <cstring>
#include <new>

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

DtlHashTable::DtlHashTable() : buckets_(BucketCount, nullptr) {}

DtlHashTable::~DtlHashTable() {
  for (Entry*& head : buckets_) {
    while (Entry* entry = head) {
      head = entry->next;
      delete entry;
    }
  }
}

// FNV-1a: the language's own hash sums the characters, which puts names
// that differ only in their order (or a digit's place) together.
std::size_t DtlHashTable::lookupHash(const char* name) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char* c = name; *c; ++c) {
    hash ^= static_cast<unsigned char>(*c);
    hash *= 1099511628211ull;
  }
  return static_cast<std::size_t>(hash ^ (hash >> 32));
}

void DtlHashTable::growIfFull() {
  if (count_ < buckets_.size()) return;
  std::vector<Entry*> grown(2 * buckets_.size(), nullptr);
  const std::size_t mask = grown.size() - 1;
  // Entries move across as they are; their order within a bucket does not
  // matter to look-ups (a name is in the table once).
  for (Entry* head : buckets_) {
    while (Entry* entry = head) {
      head = entry->next;
      Entry*& target = grown[entry->lookupHash & mask];
      entry->next = target;
      target = entry;
    }
  }
  buckets_ = std::move(grown);
}

std::uint8_t DtlHashTable::hash(const char* name) {
  unsigned sum = 0;
  for (const char* c = name ? name : ""; *c; ++c)
    sum += static_cast<unsigned>(static_cast<int>(static_cast<signed char>(*c)));
  return static_cast<std::uint8_t>(sum & 0xFFu);
}

DtlHashTable::Entry* DtlHashTable::find(const char* name) const {
  if (!name) name = "";
  const std::size_t h = lookupHash(name);
  for (Entry* entry = buckets_[h & (buckets_.size() - 1)]; entry; entry = entry->next) {
    if (entry->lookupHash == h && std::strcmp(keyName(entry->key), name) == 0) return entry;
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
  growIfFull();
  const std::size_t h = lookupHash(name);
  auto* entry = new (std::nothrow) Entry{symbol, value, nullptr, h, nextSequence_++};
  if (!entry) DtlError("out of memory in DtlHashTable::insert");
  Entry*& head = buckets_[h & (buckets_.size() - 1)];
  entry->next = head;
  head = entry;
  ++count_;
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
  // The language's buckets: by the 256-way hash, each newest first.
  struct Listed {
    std::uint8_t bucket;
    std::uint64_t sequence;
    const Entry* entry;
  };
  std::vector<Listed> listed;
  listed.reserve(count_);
  for (const Entry* head : buckets_) {
    for (const Entry* entry = head; entry; entry = entry->next) {
      listed.push_back({hash(keyName(entry->key)), entry->sequence, entry});
    }
  }
  std::sort(listed.begin(), listed.end(), [](const Listed& a, const Listed& b) {
    return a.bucket != b.bucket ? a.bucket < b.bucket : a.sequence > b.sequence;
  });
  int current = -1;
  for (const Listed& item : listed) {
    if (item.bucket != current) {
      current = item.bucket;
      DtNotifyInfo("[%d]:", current);
    }
    DtNotifyInfo(" %s -> ", keyName(item.entry->key));
    DtcPrintLine(item.entry->value);
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
