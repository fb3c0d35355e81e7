#pragma once
// DtDeliveredEvents: the retraction handles (sender and serial number) of
// the time-stamped events that reached this federate, so that another
// federate's retraction becomes a requestRetraction callback only where its
// event was delivered: not where the federate never subscribed to it, nor
// where its queue dropped it or has not yet received it.
//
// A sender can retract an event only until its own time passes the event's
// time stamp, so a retraction follows its delivery by at most the sender's
// lookahead; the handles of the last `capacity` deliveries are kept (the
// oldest go first), which covers that window in any ordinary federation.
//
// Used on the thread that ticks.

#include <cstdint>
#include <deque>
#include <unordered_set>

class DtDeliveredEvents {
public:
  static constexpr std::size_t defaultCapacity = 1u << 16;

  explicit DtDeliveredEvents(std::size_t capacity = defaultCapacity) : capacity_(capacity) {}

  void add(std::uint32_t sender, std::uint32_t serialNumber);
  // True when the event was delivered (and is forgotten from now on).
  bool take(std::uint32_t sender, std::uint32_t serialNumber);
  std::size_t size() const { return handles_.size(); }
  void clear();

private:
  static std::uint64_t key(std::uint32_t sender, std::uint32_t serialNumber) {
    return (static_cast<std::uint64_t>(sender) << 32) | serialNumber;
  }

  std::size_t capacity_;
  std::unordered_set<std::uint64_t> handles_;
  std::deque<std::uint64_t> order_;  // oldest first; may hold handles taken since
};
