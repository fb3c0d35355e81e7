#pragma once
// DtTimeStamping: what the object and interaction managers need of the
// federate's time management when they send and deliver time-stamped
// messages: whether the federate is time-regulating (its messages then carry
// their class's order) and time-constrained (time-stamp-ordered messages are
// then delivered with their time), and the serial numbers that make the
// retraction handles of what it sends. The time manager implements it; the
// federate manager hands it to both managers after a join.
//
// Used on the federate's thread only.

#include <cstdint>

class DtTimeStamping {
public:
  virtual ~DtTimeStamping() = default;

  virtual bool regulating() const = 0;
  virtual bool constrained() const = 0;
  // The next serial number, counted from 1; every call takes one.
  virtual std::uint32_t takeSerialNumber() = 0;
  // A time-stamp-ordered event of that sender and serial number is about to
  // reach the federate.
  virtual void eventDelivered(std::uint32_t sender, std::uint32_t serialNumber) {
    static_cast<void>(sender);
    static_cast<void>(serialNumber);
  }
};
