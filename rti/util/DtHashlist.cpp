#include "util/DtHashlist.h"

#include <cinttypes>
#include <cstdint>
#include <utility>

#include "util/DtHashEntry.h"
#include "util/DtHashKey.h"
#include "util/DtNotify.h"

namespace {
// A bucket count of 0 would divide by zero; one bucket still works.
std::uint32_t atLeastOne(std::uint32_t buckets) { return buckets ? buckets : 1; }

DtHashEntry* entryOf(const DtListItem* item) { return static_cast<DtHashEntry*>(item->data()); }
}  // namespace

DtHashlist::DtHashlist(std::uint32_t buckets)
    : bucketCount_(atLeastOne(buckets)),
      ownsDataList_(true),
      dataList_(new DtList),
      buckets_(new DtList[bucketCount_]) {}

DtHashlist::DtHashlist(DtList* dataList, std::uint32_t buckets)
    : bucketCount_(atLeastOne(buckets)),
      ownsDataList_(dataList == nullptr),
      dataList_(dataList ? dataList : new DtList),
      buckets_(new DtList[bucketCount_]) {}

DtHashlist::DtHashlist(const DtHashlist& other) : DtHashlist(other.bucketCount_) { copy(other); }

DtHashlist& DtHashlist::operator=(const DtHashlist& other) {
  if (this != &other) copy(other);
  return *this;
}

DtHashlist::~DtHashlist() {
  clear();
  if (ownsDataList_) delete dataList_;
}

DtListItem* DtHashlist::add(const DtHashKey& key, void* data, void** replaced) {
  void* old = remove(key);
  if (replaced) *replaced = old;
  growIfFull();
  DtListItem* dataItem = dataList_->append(data);
  auto* entry = new DtHashEntry(key.clone(), dataItem);
  DtList* list = &buckets_[entry->bucketHash() % bucketCount_];
  list->link(entry, list->tail());
  entry->setKeyItem(keyList_.append(entry->key()));
  return dataItem;
}

void* DtHashlist::remove(const DtHashKey& key) {
  const Place place = locate(key);
  if (!place.item) return nullptr;
  DtHashEntry* entry = entryOf(place.item);
  place.bucket->unlink(entry);
  keyList_.remove(entry->keyItem());
  void* data = dataList_->remove(entry->dataItem());
  delete entry;
  return data;
}

void* DtHashlist::find(const DtHashKey& key) { return static_cast<const DtHashlist&>(*this).find(key); }

void* DtHashlist::find(const DtHashKey& key) const {
  DtListItem* item = findEntry(key);
  return item ? entryOf(item)->filed() : nullptr;
}

DtList* DtHashlist::list() { return dataList_; }
const DtList* DtHashlist::list() const { return dataList_; }
DtList* DtHashlist::keys() { return &keyList_; }
const DtList* DtHashlist::keys() const { return &keyList_; }

void DtHashlist::print() const {
  for (DtListItem* item = keyList_.head(); item; item = item->next()) {
    const auto* key = static_cast<const DtHashKey*>(item->data());
    DtNotifyInfo("Key: %s\n", key->string().string());
    if (const void* data = find(*key)) {
      DtNotifyInfo(" Data: %" PRIxPTR "\n", reinterpret_cast<std::uintptr_t>(data));
    } else {
      DtNotifyInfo(" Data: NULL\n");
    }
  }
}

void DtHashlist::clear() {
  DtListItem* item = keyList_.head();
  while (item) {
    DtListItem* next = item->next();
    remove(*static_cast<const DtHashKey*>(item->data()));
    item = next;
  }
}

void DtHashlist::copy(const DtHashlist& other) {
  if (this == &other) return;
  clear();
  for (DtListItem* item = other.keyList_.head(); item; item = item->next()) {
    const auto* key = static_cast<const DtHashKey*>(item->data());
    add(*key, other.find(*key));
  }
}

DtListItem* DtHashlist::findItem(const DtHashKey& key) const {
  DtListItem* bucketItem = findEntry(key);
  return bucketItem ? entryOf(bucketItem)->dataItem() : nullptr;
}

DtList* DtHashlist::bucket(const DtHashKey& key) const { return &buckets_[key.bucketHash() % bucketCount_]; }

DtListItem* DtHashlist::findEntry(const DtHashKey& key) const { return locate(key).item; }

DtHashlist::Place DtHashlist::locate(const DtHashKey& key) const {
  // Equal keys have equal bucket hashes, so a different one rules a key out.
  const std::uint32_t hash = key.bucketHash();
  DtList* list = &buckets_[hash % bucketCount_];
  for (DtListItem* item = list->head(); item; item = item->next()) {
    const DtHashEntry* entry = entryOf(item);
    if (entry->bucketHash() == hash && *entry->key() == key) return {list, item};
  }
  return {list, nullptr};
}

void DtHashlist::growIfFull() {
  if (keyList_.count() < bucketCount_) return;
  const std::uint32_t oldCount = bucketCount_;
  if (oldCount > (UINT32_MAX - 1) / 2) return;
  const std::uint32_t newCount = 2 * oldCount + 1;
  std::unique_ptr<DtList[]> grown(new DtList[newCount]);
  // The entries move across as they are (unlinked, linked again), so
  // nothing is allocated per entry and held entries stay valid.
  for (std::uint32_t b = 0; b < oldCount; ++b) {
    DtList& old = buckets_[b];
    while (DtListItem* item = old.head()) {
      old.unlink(item);
      DtList& target = grown[entryOf(item)->bucketHash() % newCount];
      target.link(item, target.tail());
    }
  }
  buckets_ = std::move(grown);
  bucketCount_ = newCount;
}
