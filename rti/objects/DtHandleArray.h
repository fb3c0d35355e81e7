#pragma once
// DtHandleArray: owned records indexed by handle (classes of a FOM,
// attributes of a class, ...), with room for a number of handles that starts
// at a limit shared by every array of its kind. An array that runs out of
// room doubles, and the shared limit grows with it, so that arrays made
// later start larger. Each array keeps its own size: one that another array
// outgrew is never indexed past its end.

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

template <class Record>
class DtHandleArray {
public:
  // Room for handles 0 to limit.
  explicit DtHandleArray(std::atomic<std::uint32_t>& limit) : limit_(&limit) { slots_.resize(limit.load() + 1); }

  // Stores the record at `handle`, doubling the room until it fits.
  Record* put(std::uint32_t handle, std::unique_ptr<Record> record) {
    while (handle >= slots_.size()) grow();
    slots_[handle] = std::move(record);
    return slots_[handle].get();
  }
  // Null for a handle without a record and beyond the room.
  Record* at(std::uint32_t handle) const { return handle < slots_.size() ? slots_[handle].get() : nullptr; }
  // The first `count` slots (count within the room).
  std::span<const std::unique_ptr<Record>> slots(std::uint32_t count) const {
    return std::span<const std::unique_ptr<Record>>(slots_.data(), std::min<std::size_t>(count, slots_.size()));
  }
  // Handles 0 to room() - 1 fit without growing.
  std::uint32_t room() const { return static_cast<std::uint32_t>(slots_.size()); }
  void clear() {
    for (auto& slot : slots_) slot.reset();
  }

private:
  void grow() {
    const std::uint32_t newLimit = 2 * (room() - 1) + (room() == 1 ? 1 : 0);
    slots_.resize(newLimit + 1);
    std::uint32_t shared = limit_->load();
    while (shared < newLimit && !limit_->compare_exchange_weak(shared, newLimit)) {
    }
  }

  std::atomic<std::uint32_t>* limit_;
  std::vector<std::unique_ptr<Record>> slots_;
};
