#pragma once
// DtHandleTable: values filed under 32-bit handles (federates, regions,
// region sets), kept in the order they were first filed. The tables of one
// class record hold one entry per federate or region set, so they are small
// and a walk in filing order is what their users want.

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

template <class Value>
class DtHandleTable {
public:
  using Entry = std::pair<std::uint32_t, Value>;
  using iterator = typename std::vector<Entry>::iterator;
  using const_iterator = typename std::vector<Entry>::const_iterator;

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
    return entries_.emplace_back(handle, std::move(value)).second;
  }
  // The entry's value, made with Value{} when there is none.
  Value& findOrAdd(std::uint32_t handle) {
    if (Value* held = find(handle)) return *held;
    return entries_.emplace_back(handle, Value{}).second;
  }
  // True when there was an entry.
  bool remove(std::uint32_t handle) {
    const auto entry = locate(handle);
    if (entry == entries_.end()) return false;
    entries_.erase(entry);
    return true;
  }
  void clear() { entries_.clear(); }
  std::uint32_t size() const { return static_cast<std::uint32_t>(entries_.size()); }
  bool empty() const { return entries_.empty(); }
  iterator begin() { return entries_.begin(); }
  iterator end() { return entries_.end(); }
  const_iterator begin() const { return entries_.begin(); }
  const_iterator end() const { return entries_.end(); }

private:
  iterator locate(std::uint32_t handle) {
    return std::find_if(entries_.begin(), entries_.end(), [handle](const Entry& e) { return e.first == handle; });
  }

  std::vector<Entry> entries_;
};
