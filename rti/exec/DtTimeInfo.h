#pragma once
// DtTimeInfo: the rtiexec's time record of one federate of a federation
// execution: its time and lookahead with their sum (the LBTS its messages
// can carry), its next-event time and lookahead with their sum, and whether
// it is constrained, regulating, asked for an available time and has a
// next-event request outstanding. The execution files one record in several
// sorted lists at once (DtTimeInfoList); the lists never own it.
//
// The setters keep LBTS = time + lookahead and NER LBTS = NER time + NER
// lookahead; the two triples never touch each other. A record listed in a
// sorted list must be repositioned there after a change of its key.
//
// Beside these, what the execution's time manager keeps of the federate:
// a next-event cycle may raise the LBTS past time + lookahead (until the
// next setTime or setLookahead); the least the federate's messages could
// carry at any moment of the running next-event cycle (cycle floor); the
// cycle its last next-event request answered; and, for a constrained
// federate, the LBTS it holds after the bounds sent to it (infinity until
// it was told a bound).
//
// Used on the rtiexec's thread only.

#include <cstdint>
#include <memory>

#include "RTI.hh"

class DtTimeInfo {
public:
  DtTimeInfo(std::uint32_t federateHandle, const RTI::FedTime& time, const RTI::FedTime& lookahead);
  DtTimeInfo(const DtTimeInfo&) = delete;
  DtTimeInfo& operator=(const DtTimeInfo&) = delete;
  virtual ~DtTimeInfo();

  virtual void setFederateHandle(std::uint32_t handle) { federateHandle_ = handle; }
  virtual std::uint32_t federateHandle() const { return federateHandle_; }
  virtual void setTime(const RTI::FedTime& time);
  virtual const RTI::FedTime& time() const { return *time_; }
  virtual void setLookahead(const RTI::FedTime& lookahead);
  virtual const RTI::FedTime& lookahead() const { return *lookahead_; }
  virtual const RTI::FedTime& lbts() const { return *lbts_; }
  virtual void setConstrained(bool flag) { constrained_ = flag; }
  virtual bool constrained() const { return constrained_; }
  virtual void setRegulating(bool flag) { regulating_ = flag; }
  virtual bool regulating() const { return regulating_; }
  virtual void setTimeAvailable(bool flag) { timeAvailable_ = flag; }
  virtual bool timeAvailable() const { return timeAvailable_; }
  virtual void setNerPending(bool flag) { nerPending_ = flag; }
  virtual bool nerPending() const { return nerPending_; }
  virtual void setNerTime(const RTI::FedTime& time);
  virtual const RTI::FedTime& nerTime() const { return *nerTime_; }
  virtual void setNerLookahead(const RTI::FedTime& lookahead);
  virtual const RTI::FedTime& nerLookahead() const { return *nerLookahead_; }
  virtual const RTI::FedTime& nerLbts() const { return *nerLbts_; }
  // Eleven labelled lines at notify level 2.
  virtual void print() const;

  // The LBTS becomes `lbts` when that is later.
  void raiseLbts(const RTI::FedTime& lbts);
  const RTI::FedTime& cycleFloor() const { return *cycleFloor_; }
  void setCycleFloor(const RTI::FedTime& floor) { *cycleFloor_ = floor; }
  // The cycle floor becomes `floor` when that is earlier.
  void lowerCycleFloor(const RTI::FedTime& floor);
  std::uint32_t answeredCycle() const { return answeredCycle_; }
  void setAnsweredCycle(std::uint32_t cycle) { answeredCycle_ = cycle; }
  const RTI::FedTime& heldBound() const { return *heldBound_; }
  // As the federate takes a bound: a constrained-enabled message sets it;
  // an LBTS message raises it, and replaces infinity whatever its value.
  void setHeldBound(const RTI::FedTime& bound) { *heldBound_ = bound; }
  void offerBound(const RTI::FedTime& bound);

private:
  void updateLbts();
  void updateNerLbts();

  std::uint32_t federateHandle_;
  bool constrained_ = false;
  bool regulating_ = false;
  std::unique_ptr<RTI::FedTime> time_;
  std::unique_ptr<RTI::FedTime> lookahead_;
  std::unique_ptr<RTI::FedTime> lbts_;
  bool timeAvailable_ = true;
  bool nerPending_ = false;
  std::unique_ptr<RTI::FedTime> nerTime_;
  std::unique_ptr<RTI::FedTime> nerLookahead_;
  std::unique_ptr<RTI::FedTime> nerLbts_;
  std::unique_ptr<RTI::FedTime> cycleFloor_;
  std::uint32_t answeredCycle_ = 0;
  std::unique_ptr<RTI::FedTime> heldBound_;
};
