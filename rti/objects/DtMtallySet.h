#pragma once
// DtMtallySet: the messages counted for one object or interaction class,
// received and sent, reliable and best effort. The object and interaction
// managers count every update, reflection and interaction here; the
// management object model reads the counts, and a federation save keeps
// them.

#include <array>
#include <cstdint>

#include "RTI.hh"
#include "util/DtFomTypes.h"

class DtSavePacket;
class DtSavePacketBuilder;

class DtMtallySet {
public:
  DtMtallySet() = default;
  // Copies the counts, not the handle.
  DtMtallySet(const DtMtallySet& other) : counts_(other.counts_) {}
  DtMtallySet& operator=(const DtMtallySet& other) {
    counts_ = other.counts_;
    return *this;
  }
  virtual ~DtMtallySet() = default;

  // 0 received reliable, 1 received best effort, 2 sent reliable, 3 sent
  // best effort. Any transport but reliable counts as best effort, any
  // non-zero flag as received.
  static int index(RTI::Boolean received, DtTransportType transport) {
    return (received ? 0 : 2) + (transport == DtReliable ? 0 : 1);
  }

  void increment(RTI::Boolean received, DtTransportType transport) { ++counts_[index(received, transport)]; }
  long tally(RTI::Boolean received, DtTransportType transport) const { return counts_[index(received, transport)]; }
  // The counter keeps 32 bits, as the save file and the reports do.
  void setTally(long value, RTI::Boolean received, DtTransportType transport) {
    counts_[index(received, transport)] = static_cast<std::int32_t>(value);
  }

  // A save record keeps the four counts as u32s from `at` on: sent best
  // effort, sent reliable, received best effort, received reliable.
  void saveTo(DtSavePacketBuilder& record, std::uint32_t at) const;
  void restoreFrom(const DtSavePacket& record, std::uint32_t at);

  // The class the counts belong to.
  virtual std::uint32_t handle() const { return handle_; }
  virtual void setHandle(std::uint32_t handle) { handle_ = handle; }

private:
  std::uint32_t handle_ = 0;
  std::array<std::int32_t, 4> counts_{};
};
