#pragma once
// DtAddrMap: the multicast addresses of region sets, this federate's own
// (local) and other federates' (remote). A local address that was just
// mapped is held back for a delay: until the delay has run out the map
// answers 0, so that the sender goes on using its default destination while
// the receivers join the new group. Remote addresses are answered at once.
//
// Handles and addresses are 32-bit (addresses in host order); 0 means no
// address. The object manager and the interaction data distribution manager
// each embed one. No lock: it lives on the federate's thread.

#include <cstdint>
#include <unordered_map>

class DtAddrMap {
public:
  // Maps `handle` to address 0 (its delay starts too).
  DtAddrMap(std::uint32_t handle, float delaySeconds);
  // A copy holds back the same addresses for what is left of their delays:
  // it never answers an address the original would still hide.
  DtAddrMap(const DtAddrMap& other) = default;
  DtAddrMap& operator=(const DtAddrMap& other) = default;
  virtual ~DtAddrMap() = default;

  // Applies to the delays already running as well as to later ones.
  virtual void setDelay(float seconds) { delay_ = seconds; }
  virtual float delay() const { return delay_; }
  virtual std::uint32_t ownHandle() const { return ownHandle_; }

  // Maps (or re-maps) a local handle and starts (or restarts) its delay.
  virtual void addLocalAddrMap(std::uint32_t handle, std::uint32_t address);
  virtual void removeLocalAddrMap(std::uint32_t handle);
  // The address once its delay has run out, else 0 (also for a handle that
  // is not mapped). The first answer after the delay forgets the delay.
  virtual std::uint32_t localAddrMap(std::uint32_t handle);

  virtual void addRemoteAddrMap(std::uint32_t handle, std::uint32_t address) { remote_[handle] = address; }
  virtual void removeRemoteAddrMap(std::uint32_t handle) { remote_.erase(handle); }
  // 0 when the handle is not mapped.
  virtual std::uint32_t remoteAddrMap(std::uint32_t handle) const;

  // Starts the handle's delay, or restarts it when one is running.
  virtual void addAddrMapDelay(std::uint32_t handle);
  virtual void removeAddrMapDelay(std::uint32_t handle) { delayStarts_.erase(handle); }
  // True when the handle has no delay running or its delay has run out
  // (which then ends it).
  virtual bool addrMapDelayExpired(std::uint32_t handle);

  // Forgets every address and every delay.
  virtual void empty();

private:
  float delay_;
  std::uint32_t ownHandle_;
  std::unordered_map<std::uint32_t, std::uint32_t> local_;
  std::unordered_map<std::uint32_t, std::uint32_t> remote_;
  std::unordered_map<std::uint32_t, double> delayStarts_;  // handle -> DtRealTime() when its delay began
};
