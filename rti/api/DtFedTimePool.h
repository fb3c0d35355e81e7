#pragma once
// DtFedTimePool: spare federation times, so that the steps that run for
// every advance (the LBTS updates in the rtiexec, the grant steps in a
// federate) make no new time objects once the pool holds what they need.
// A Temp takes a time for the length of a scope and gives it back.
//
// Not thread safe: one pool belongs to one object on one thread.

#include <memory>
#include <vector>

#include "RTI.hh"

class DtFedTimePool {
public:
  DtFedTimePool() = default;
  DtFedTimePool(const DtFedTimePool&) = delete;
  DtFedTimePool& operator=(const DtFedTimePool&) = delete;

  // A zero time from the pool (a new one when it is empty); the caller owns
  // it until it gives it back.
  RTI::FedTime* get() {
    if (spares_.empty()) return RTI::FedTimeFactory::makeZero();
    RTI::FedTime* time = spares_.back().release();
    spares_.pop_back();
    time->setZero();
    return time;
  }
  void put(RTI::FedTime* time) {
    if (time) spares_.emplace_back(time);
  }
  void clear() { spares_.clear(); }

  class Temp {
  public:
    explicit Temp(DtFedTimePool& pool) : pool_(pool), time_(pool.get()) {}
    Temp(DtFedTimePool& pool, const RTI::FedTime& value) : Temp(pool) { *time_ = value; }
    ~Temp() { pool_.put(time_); }
    Temp(const Temp&) = delete;
    Temp& operator=(const Temp&) = delete;
    RTI::FedTime& operator*() const { return *time_; }
    RTI::FedTime* operator->() const { return time_; }

  private:
    DtFedTimePool& pool_;
    RTI::FedTime* time_;
  };

private:
  std::vector<std::unique_ptr<RTI::FedTime>> spares_;
};
