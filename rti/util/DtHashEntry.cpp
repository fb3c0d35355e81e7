#include "util/DtHashEntry.h"

#include "util/DtHashKey.h"

DtHashEntry::DtHashEntry(const DtHashEntry& other) : key_(other.key_->clone()), dataItem_(other.dataItem_) {}

DtHashEntry& DtHashEntry::operator=(const DtHashEntry& other) {
  if (this == &other) return *this;
  DtHashKey* key = other.key_->clone();
  delete key_;
  key_ = key;
  dataItem_ = other.dataItem_;
  keyItem_ = nullptr;
  return *this;
}

DtHashEntry::~DtHashEntry() { delete key_; }
