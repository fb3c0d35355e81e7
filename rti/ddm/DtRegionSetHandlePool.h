#pragma once
// DtRegionSetHandlePool: the handles of one kind of interaction region set
// (publication sets, or subscription and passive sets, which share one
// pool): the federate handle x 100000 plus a serial from 2 to 99998. The
// serials 0 and 1 are every class's default subscription and passive sets,
// which are never taken from a pool. A handle is taken at the counter,
// skipping those in use and wrapping to 2, and is freed again when its set
// goes, so a federate reuses the handles of its deleted sets once it has
// gone round. The two pools are separate: a publication set and a
// subscription set may carry the same number.
//
// Used on the federate's thread only.

#include <cstdint>
#include <unordered_set>

class DtRegionSetHandlePool {
public:
  static constexpr std::uint32_t theFirstSerial = 2;
  static constexpr std::uint32_t theLastSerial = 99998;

  // The counter is at the first serial.
  DtRegionSetHandlePool() = default;

  // The next handle of the federate, now in use. RTI::RTIinternalError
  // "Interaction region set handle pool exhausted" when every handle is in
  // use, and (see DtFederateHandleRange) for a federate whose handles do
  // not fit 32 bits; nothing is taken then.
  std::uint32_t take(std::uint32_t federate);
  // The handle is no longer in use (nothing when it was not).
  void free(std::uint32_t handle) { used_.erase(handle); }
  // A handle restored in use.
  void markUsed(std::uint32_t handle) { used_.insert(handle); }
  bool inUse(std::uint32_t handle) const { return used_.count(handle) != 0; }
  std::uint32_t usedCount() const { return static_cast<std::uint32_t>(used_.size()); }
  void clear() { used_.clear(); }

  // The serial the next search starts at.
  std::uint32_t counter() const { return counter_; }
  void setCounter(std::uint32_t counter) { counter_ = counter; }

private:
  std::uint32_t counter_ = theFirstSerial;
  std::unordered_set<std::uint32_t> used_;
};
