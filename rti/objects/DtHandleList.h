#pragma once
// DtHandleList: a few handles (federates, as a rule) in the order they were
// added, each at most once. The remote subscribers of a class or attribute
// live in one; their number is that of the federates, so a walk is cheap and
// the order is the one a save file records.

#include <algorithm>
#include <cstdint>
#include <vector>

class DtHandleList {
public:
  using const_iterator = std::vector<std::uint32_t>::const_iterator;

  // Appends the handle unless it is there; true when it was added.
  bool add(std::uint32_t handle) {
    if (contains(handle)) return false;
    handles_.push_back(handle);
    return true;
  }
  // True when the handle was there.
  bool remove(std::uint32_t handle) {
    const auto found = std::find(handles_.begin(), handles_.end(), handle);
    if (found == handles_.end()) return false;
    handles_.erase(found);
    return true;
  }
  bool contains(std::uint32_t handle) const {
    return std::find(handles_.begin(), handles_.end(), handle) != handles_.end();
  }
  void clear() { handles_.clear(); }
  std::uint32_t size() const { return static_cast<std::uint32_t>(handles_.size()); }
  bool empty() const { return handles_.empty(); }
  const_iterator begin() const { return handles_.begin(); }
  const_iterator end() const { return handles_.end(); }

private:
  std::vector<std::uint32_t> handles_;
};
