#pragma once
// DtHandleTable: values filed under 32-bit handles (federates, regions,
// region sets), kept in the order they were first filed. Most tables of a
// class or object record hold one entry per federate or region set, so they
// are small and a walk in filing order is what their users want; a table
// that grows (a class's matching sets, one per other federate's region set)
// gets an index by handle, so that finding, filing and taking out an entry
// stay cheap however many there are.

#include <algorithm>
#include <cstdint>
#include <list>
#include <memory>
#include <unordered_map>
#include <utility>

template <class Value>
class DtHandleTable {
public:
  using Entry = std::pair<std::uint32_t, Value>;
  using iterator = typename std::list<Entry>::iterator;
  using const_iterator = typename std::list<Entry>::const_iterator;

  DtHandleTable() = default;
  DtHandleTable(const DtHandleTable& other) : entries_(other.entries_) { reindex(); }
  DtHandleTable& operator=(const DtHandleTable& other) {
    if (this != &other) {
      entries_ = other.entries_;
      reindex();
    }
    return *this;
  }
  // A moved list keeps its nodes, so the index stays right.
  DtHandleTable(DtHandleTable&&) noexcept = default;
  DtHandleTable& operator=(DtHandleTable&&) noexcept = default;
  ~DtHandleTable() = default;

  Value* find(std::uint32_t handle) {
    const auto entry = locate(handle);
    return entry == entries_.end() ? nullptr : &entry->second;
  }
  const Value* find(std::uint32_t handle) const { return const_cast<DtHandleTable*>(this)->find(handle); }
  bool contains(std::uint32_t handle) const { return find(handle) != nullptr; }

  // Files the value, replacing the value of an entry with that handle (which
  // keeps its place).
  Value& put(std::uint32_t handle, Value value) {
    if (Value* held = find(handle)) return *held = std::move(value);
    return append(handle, std::move(value));
  }
  // The entry's value, made with Value{} when there is none.
  Value& findOrAdd(std::uint32_t handle) {
    if (Value* held = find(handle)) return *held;
    return append(handle, Value{});
  }
  // True when there was an entry.
  bool remove(std::uint32_t handle) {
    const auto entry = locate(handle);
    if (entry == entries_.end()) return false;
    if (index_) index_->erase(handle);
    entries_.erase(entry);
    return true;
  }
  void clear() {
    entries_.clear();
    index_.reset();
  }
  std::uint32_t size() const { return static_cast<std::uint32_t>(entries_.size()); }
  bool empty() const { return entries_.empty(); }
  iterator begin() { return entries_.begin(); }
  iterator end() { return entries_.end(); }
  const_iterator begin() const { return entries_.begin(); }
  const_iterator end() const { return entries_.end(); }

private:
  // Up to this many entries a walk finds one as fast as the index would.
  static constexpr std::size_t walked = 16;
  using Index = std::unordered_map<std::uint32_t, iterator>;

  iterator locate(std::uint32_t handle) {
    if (index_) {
      const auto found = index_->find(handle);
      return found == index_->end() ? entries_.end() : found->second;
    }
    return std::find_if(entries_.begin(), entries_.end(), [handle](const Entry& e) { return e.first == handle; });
  }
  Value& append(std::uint32_t handle, Value value) {
    const iterator added = entries_.emplace(entries_.end(), handle, std::move(value));
    if (index_) {
      index_->emplace(handle, added);
    } else if (entries_.size() > walked) {
      reindex();
    }
    return added->second;
  }
  void reindex() {
    index_.reset();
    if (entries_.size() <= walked) return;
    index_ = std::make_unique<Index>();
    for (auto it = entries_.begin(); it != entries_.end(); ++it) index_->emplace(it->first, it);
  }

  std::list<Entry> entries_;
  std::unique_ptr<Index> index_;  // only while the table is large
};
