#include "mom/DtMomOwnedTime.h"

DtMomOwnedTime::DtMomOwnedTime(Start start) {
  if (start == zero) time_.reset(RTI::FedTimeFactory::makeZero());
}

DtMomOwnedTime::DtMomOwnedTime(const DtMomOwnedTime& other) { *this = other; }

DtMomOwnedTime& DtMomOwnedTime::operator=(const DtMomOwnedTime& other) {
  if (this == &other) return *this;
  if (!other.time_) {
    time_.reset();
    return *this;
  }
  std::unique_ptr<RTI::FedTime> copy(RTI::FedTimeFactory::makeZero());
  *copy = *other.time_;
  time_ = std::move(copy);
  return *this;
}

DtMomOwnedTime::~DtMomOwnedTime() = default;
