#include "util/DtHashEntry.h"

#include "util/DtHashKey.h"

DtHashEntry::DtHashEntry(DtHashKey* key, DtListItem* dataItem)
    : DtListItem(this),
      key_(key),
      bucketHash_(key->bucketHash()),
      dataItem_(dataItem),
      filed_(dataItem ? dataItem->data() : nullptr) {}

DtHashEntry::DtHashEntry(const DtHashEntry& other)
    : DtListItem(this),
      key_(other.key_->clone()),
      bucketHash_(other.bucketHash_),
      dataItem_(other.dataItem_),
      filed_(other.filed_) {}

DtHashEntry& DtHashEntry::operator=(const DtHashEntry& other) {
  if (this == &other) return *this;
  DtHashKey* key = other.key_->clone();
  delete key_;
  key_ = key;
  bucketHash_ = other.bucketHash_;
  dataItem_ = other.dataItem_;
  filed_ = other.filed_;
  keyItem_ = nullptr;
  return *this;
}

DtHashEntry::~DtHashEntry() { delete key_; }
