#pragma once
// DtMomOwnedTime: a federation time that a MOM interaction owns. A copy
// holds a time object of its own with the same value, so an interaction and
// its copies never share (or free twice) one time.

#include <memory>

#include "RTI.hh"

class DtMomOwnedTime {
public:
  // A zero time, or none.
  enum Start { zero, none };

  explicit DtMomOwnedTime(Start start = zero);
  DtMomOwnedTime(const DtMomOwnedTime& other);
  DtMomOwnedTime& operator=(const DtMomOwnedTime& other);
  ~DtMomOwnedTime();

  // The time kept, or null; it stays the holder's.
  RTI::FedTime* get() const { return time_.get(); }
  // Takes the time over (null for none), deleting the one it replaces.
  void reset(RTI::FedTime* time) { time_.reset(time); }

private:
  std::unique_ptr<RTI::FedTime> time_;
};
