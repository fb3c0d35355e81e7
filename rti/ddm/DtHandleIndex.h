#pragma once
// DtHandleIndex: the tables of data distribution. Entries filed under a
// 32-bit handle (a region, a region set, an interaction class), found by
// hashing and walked in the order they were filed. Entry is a struct with a
// `handle` member, the key it is filed under, which stays as filed.
//
// Filing under a handle that is there replaces the old entry, which is
// handed back; the new entry goes to the end of the order. Taking an entry
// out leaves the others, and walks standing on them, where they are.
//
// Not thread safe: used on the federate's thread only.

#include <cstdint>
#include <list>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

template <class Entry>
class DtHandleIndex {
public:
  using iterator = typename std::list<Entry>::iterator;
  using const_iterator = typename std::list<Entry>::const_iterator;

  DtHandleIndex() = default;
  DtHandleIndex(const DtHandleIndex& other) { *this = other; }
  DtHandleIndex& operator=(const DtHandleIndex& other) {
    if (this == &other) return *this;
    clear();
    for (const Entry& entry : other.entries_) put(entry);
    return *this;
  }
  DtHandleIndex(DtHandleIndex&&) noexcept = default;
  DtHandleIndex& operator=(DtHandleIndex&&) noexcept = default;

  Entry* find(std::uint32_t handle) {
    const auto found = index_.find(handle);
    return found == index_.end() ? nullptr : &*found->second.at;
  }
  const Entry* find(std::uint32_t handle) const { return const_cast<DtHandleIndex*>(this)->find(handle); }
  bool contains(std::uint32_t handle) const { return index_.count(handle) != 0; }

  // Files the entry under its handle; the entry it replaces, if any.
  std::optional<Entry> put(Entry entry) {
    std::optional<Entry> replaced = take(entry.handle);
    const std::uint32_t handle = entry.handle;
    index_.emplace(handle, Slot{entries_.insert(entries_.end(), std::move(entry)), nextSerial_++});
    return replaced;
  }
  // Takes the entry out; nothing when there was none.
  std::optional<Entry> take(std::uint32_t handle) {
    const auto found = index_.find(handle);
    if (found == index_.end()) return std::nullopt;
    std::optional<Entry> taken(std::move(*found->second.at));
    entries_.erase(found->second.at);
    index_.erase(found);
    return taken;
  }
  void clear() {
    index_.clear();
    entries_.clear();
  }

  // Where the entry stands in the order: entries filed later have larger
  // numbers (0 when there is none), so that a few entries picked out can be
  // walked in the order without walking all of them.
  std::uint64_t filingRank(std::uint32_t handle) const {
    const auto found = index_.find(handle);
    return found == index_.end() ? 0 : found->second.serial;
  }

  std::uint32_t size() const { return static_cast<std::uint32_t>(entries_.size()); }
  bool empty() const { return entries_.empty(); }
  iterator begin() { return entries_.begin(); }
  iterator end() { return entries_.end(); }
  const_iterator begin() const { return entries_.begin(); }
  const_iterator end() const { return entries_.end(); }
  // The handles in filing order, as they are now (for walks whose steps may
  // change the table).
  std::vector<std::uint32_t> handles() const {
    std::vector<std::uint32_t> all;
    all.reserve(entries_.size());
    for (const Entry& entry : entries_) all.push_back(entry.handle);
    return all;
  }

private:
  struct Slot {
    iterator at;
    std::uint64_t serial;
  };
  std::list<Entry> entries_;
  std::unordered_map<std::uint32_t, Slot> index_;
  std::uint64_t nextSerial_ = 1;
};
