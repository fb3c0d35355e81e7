#pragma once
// What a DtHashlist bucket holds: the entry's own copy of the key, the item of
// the hash list's data list that holds the data, and the item of its key
// list that holds the key copy.

class DtHashKey;
class DtListItem;

class DtHashEntry {
public:
  // Takes ownership of the key.
  DtHashEntry(DtHashKey* key, DtListItem* dataItem) : key_(key), dataItem_(dataItem) {}
  // Copies clone the key and share the data item; the key item stays unset.
  DtHashEntry(const DtHashEntry& other);
  DtHashEntry& operator=(const DtHashEntry& other);
  virtual ~DtHashEntry();

  virtual DtHashKey* key() const { return key_; }
  virtual DtListItem* dataItem() const { return dataItem_; }
  virtual DtListItem* keyItem() const { return keyItem_; }
  virtual void setKeyItem(DtListItem* item) { keyItem_ = item; }

private:
  DtHashKey* key_;
  DtListItem* dataItem_;
  DtListItem* keyItem_ = nullptr;
};
