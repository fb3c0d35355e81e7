#pragma once
// DtTimeMgr: the federate's side of time management (logical time,
// lookahead, LBTS, regulation, constrained delivery, advances, the
// time-stamp-order queue and the retraction list). The federate manager makes
// one after a join when RTI_timeMgmt is set and runs its per-tick step; the
// implementor hands every time service to the operation of the same name and
// asks it whether an outgoing time stamp is valid.
//
// This is the interface the implementor and the federate manager call; until
// time management is built, each service answers "not implemented", and the
// federate is neither regulating nor constrained. The object and interaction
// managers see it as their DtTimeStamping.

#include <cstdint>
#include <memory>

#include "RTI.hh"
#include "objects/DtTimeStamping.h"

class DtConnectionMgr;
class DtFomClassMgr;
class DtRIDParameters;

class DtTimeMgr : public DtTimeStamping {
public:
  using Creator = DtTimeMgr* (*)(DtConnectionMgr*, DtFomClassMgr*, DtRIDParameters*);

  // The installed creator's result, else a new time manager.
  static std::unique_ptr<DtTimeMgr> create(DtConnectionMgr* connectMgr, DtFomClassMgr* fom,
                                           DtRIDParameters* params);
  // Null restores the default. Process-wide.
  static void setCreatorFunction(Creator creator);

  DtTimeMgr(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params);
  DtTimeMgr(const DtTimeMgr&) = delete;
  DtTimeMgr& operator=(const DtTimeMgr&) = delete;
  virtual ~DtTimeMgr();

  // The per-tick step, from the federate manager's posttick.
  virtual void tick();

  // The HLA 1.3 time services.
  virtual void enableTimeRegulation(const RTI::FedTime& theFederateTime,
                                    const RTI::FedTime& theLookahead);
  virtual void disableTimeRegulation();
  virtual void enableTimeConstrained();
  virtual void disableTimeConstrained();
  virtual void timeAdvanceRequest(const RTI::FedTime& theTime);
  virtual void timeAdvanceRequestAvailable(const RTI::FedTime& theTime);
  virtual void nextEventRequest(const RTI::FedTime& theTime);
  virtual void nextEventRequestAvailable(const RTI::FedTime& theTime);
  virtual void flushQueueRequest(const RTI::FedTime& theTime);
  virtual void enableAsynchronousDelivery();
  virtual void disableAsynchronousDelivery();
  virtual void queryLBTS(RTI::FedTime& theTime);
  virtual void queryFederateTime(RTI::FedTime& theTime);
  virtual void queryMinNextEventTime(RTI::FedTime& theTime);
  virtual void modifyLookahead(const RTI::FedTime& theLookahead);
  virtual void queryLookahead(RTI::FedTime& theTime);
  virtual void retract(RTI::EventRetractionHandle theHandle);

  // True when a message may go out with this time stamp: it is not earlier
  // than the floor this federate keeps for its outgoing time stamps.
  virtual bool isValidTimeStamp(const RTI::FedTime& time);

  // DtTimeStamping.
  bool regulating() const override { return false; }
  bool constrained() const override { return false; }
  std::uint32_t takeSerialNumber() override { return serialNumber_++; }

protected:
  DtConnectionMgr* connectMgr_;
  DtFomClassMgr* fom_;
  DtRIDParameters* params_;
  std::uint32_t serialNumber_ = 1;
};
