#pragma once
// What a DtHashlist bucket holds: the entry's own copy of the key, the item of
// the hash list's data list that holds the data, and the item of its key
// list that holds the key copy.
//
// An entry is its own link in its bucket: it is the bucket list's item, and
// that item's data is the entry itself, so a look-up goes from the bucket
// straight to the entry. It also keeps the key's bucket hash, so that a
// look-up passes over the other keys of its bucket, and the table grows,
// without touching the keys themselves; and the data its data item holds
// (an item's data never changes), so a look-up ends at the entry.

#include <cstdint>

#include "util/DtListItem.h"

class DtHashKey;

class DtHashEntry : public DtListItem {
public:
  // Takes ownership of the key.
  DtHashEntry(DtHashKey* key, DtListItem* dataItem);
  // Copies clone the key and share the data item; the key item stays unset
  // and the copy is in no bucket.
  DtHashEntry(const DtHashEntry& other);
  // Takes the other's key (cloned) and data item; stays where it is linked.
  DtHashEntry& operator=(const DtHashEntry& other);
  ~DtHashEntry() override;

  virtual DtHashKey* key() const { return key_; }
  virtual DtListItem* dataItem() const { return dataItem_; }
  virtual DtListItem* keyItem() const { return keyItem_; }
  virtual void setKeyItem(DtListItem* item) { keyItem_ = item; }
  std::uint32_t bucketHash() const { return bucketHash_; }
  // The data of dataItem().
  void* filed() const { return filed_; }

private:
  DtHashKey* key_;
  std::uint32_t bucketHash_;
  DtListItem* dataItem_;
  DtListItem* keyItem_ = nullptr;
  void* filed_;
};
