#pragma once
// DtInterAddrMaps: the channels of interaction region sets, by interaction
// class and region-set handle: the channel each of this federate's
// publication sets sends on (local) and the one each other federate's
// publication set was announced with (remote). A local channel is held back
// for a while after its set is made or its region changes, so that the
// subscribers have time to join the group: until then the interaction
// takes the class's default route.
//
// The clock is injected (the real time while none is set, so that the
// library exports nothing of the clock's type) so that the hold-back can be
// tested without waiting. Used on the federate's thread only.

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <utility>

class DtInterAddrMaps {
public:
  using Clock = std::function<double()>;

  DtInterAddrMaps();
  void setClock(Clock clock) { clock_ = std::move(clock); }

  // Files the channel (replacing one filed before) and starts the hold-back.
  void addLocal(std::uint32_t classHandle, std::uint32_t setHandle, std::uint32_t address);
  // The entry and its hold-back go.
  void removeLocal(std::uint32_t classHandle, std::uint32_t setHandle);
  // 0 when nothing is filed.
  std::uint32_t local(std::uint32_t classHandle, std::uint32_t setHandle) const;
  void addRemote(std::uint32_t classHandle, std::uint32_t setHandle, std::uint32_t address);
  void removeRemote(std::uint32_t classHandle, std::uint32_t setHandle);
  std::uint32_t remote(std::uint32_t classHandle, std::uint32_t setHandle) const;

  // Starts the hold-back again (or anew).
  void startDelay(std::uint32_t classHandle, std::uint32_t setHandle);
  void stopDelay(std::uint32_t classHandle, std::uint32_t setHandle);
  // True when no hold-back is running, or it has lasted `seconds` (it then
  // ends).
  bool delayExpired(std::uint32_t classHandle, std::uint32_t setHandle, double seconds);

  std::size_t localCount() const { return local_.size(); }
  std::size_t remoteCount() const { return remote_.size(); }
  std::size_t delayCount() const { return delays_.size(); }
  void clear();

private:
  double now() const;
  static std::uint64_t key(std::uint32_t classHandle, std::uint32_t setHandle) {
    return (std::uint64_t{classHandle} << 32) | setHandle;
  }

  Clock clock_;
  std::unordered_map<std::uint64_t, std::uint32_t> local_;
  std::unordered_map<std::uint64_t, std::uint32_t> remote_;
  std::unordered_map<std::uint64_t, double> delays_;  // when each began
};
