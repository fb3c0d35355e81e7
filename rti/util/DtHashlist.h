#pragma once
// DtHashlist: the library's associative container. It files untyped data
// under keys (DtStringKey, DtUlongKey, ...) and also keeps the data and the
// keys in insertion order, in two DtLists that callers may walk. It never
// owns the data; it owns its own copies of the keys.
//
// The bucket count given at construction is where the table starts: once
// it holds more entries than buckets, it doubles its buckets (and one more,
// so the count stays odd), so look-ups stay constant time however many
// entries it holds. Growing moves only the bucket links: the data list,
// the key list and their items stay as they are, so a walk over either
// goes on undisturbed through an add. A bucket list (bucket()) is valid
// until the next add; a bucket item (findEntry()) until its entry goes.
//
// Not thread safe: the owner serialises access.

#include <cstdint>
#include <memory>

#include "util/DtList.h"

class DtHashEntry;
class DtHashKey;

class DtHashlist {
public:
  explicit DtHashlist(std::uint32_t buckets);
  // Uses a data list that the caller keeps alive (a DtMemberList, so that
  // every object added learns the list and item it sits in).
  DtHashlist(DtList* dataList, std::uint32_t buckets);
  // The source's bucket count and a list of its own; keys cloned, data
  // shared.
  DtHashlist(const DtHashlist& other);
  DtHashlist& operator=(const DtHashlist& other);
  virtual ~DtHashlist();

  // Replaces an entry with an equal key (its data is stored through
  // `replaced` when given, and never deleted), appends the data to the data
  // list and files a copy of the key. Returns the new data-list item. The
  // caller keeps the key it passed.
  virtual DtListItem* add(const DtHashKey& key, void* data, void** replaced = nullptr);
  // Takes out the entry; returns its data, or null when there is none.
  virtual void* remove(const DtHashKey& key);
  virtual void* find(const DtHashKey& key);
  virtual void* find(const DtHashKey& key) const;
  // The data in insertion order.
  virtual DtList* list();
  virtual const DtList* list() const;
  // The hash list's key copies (DtHashKey*) in insertion order.
  virtual DtList* keys();
  virtual const DtList* keys() const;
  // Prints every key with its data at notify level 2.
  virtual void print() const;
  // Removes every entry; the data are not deleted.
  virtual void clear();
  virtual void copy(const DtHashlist& other);
  virtual DtListItem* findItem(const DtHashKey& key) const;
  virtual DtList* bucket(const DtHashKey& key) const;
  // The bucket item whose entry has an equal key, else null.
  virtual DtListItem* findEntry(const DtHashKey& key) const;

  // The buckets in use now (the count given, or more once grown).
  std::uint32_t bucketCount() const { return bucketCount_; }

private:
  struct Place {
    DtList* bucket;
    DtListItem* item;  // null when no entry has the key
  };
  Place locate(const DtHashKey& key) const;
  void growIfFull();

  std::uint32_t bucketCount_;
  bool ownsDataList_;
  DtList* dataList_;
  std::unique_ptr<DtList[]> buckets_;
  DtList keyList_;
};
