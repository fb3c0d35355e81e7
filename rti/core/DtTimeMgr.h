#pragma once
// DtTimeMgr: the federate's side of time management (logical time,
// lookahead, LBTS, regulation, constrained delivery, advances, the
// time-stamp-order queue and the retraction list). The federate manager makes
// one after a join when RTI_timeMgmt is set, gives it itself as its owner,
// runs its per-tick step and deletes it at resignation, before the
// connection manager; the implementor hands every time service to the
// operation of the same name and asks it whether an outgoing time stamp is
// valid.
//
// Until time management is built, the federate is neither regulating nor
// constrained: every received message passes the queue that the manager
// hooks into the connection manager, the queries answer the starting state
// (federate time and lookahead zero, LBTS positive infinity), any time stamp
// not before the federate time is valid, and the services that change the
// state answer "<service> not implemented". The object and interaction
// managers see it as their DtTimeStamping.
//
// Used on the thread that calls the ambassador.

#include <cstdint>
#include <memory>

#include "RTI.hh"
#include "objects/DtTimeStamping.h"
#include "net/DtRtiMsgQueue.h"

class DtConnectionMgr;
class DtFederateMgr;
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

  // Hooks its queue into the connection manager (which may be null).
  DtTimeMgr(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params);
  DtTimeMgr(const DtTimeMgr&) = delete;
  DtTimeMgr& operator=(const DtTimeMgr&) = delete;
  // Unhooks its queue, unless the connection manager holds another one by now.
  virtual ~DtTimeMgr();

  // The federate manager that made it (not owned).
  void setOwner(DtFederateMgr* owner) { owner_ = owner; }
  DtFederateMgr* owner() const { return owner_; }

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
  bool regulating() const override { return regulating_; }
  bool constrained() const override { return constrained_; }
  std::uint32_t takeSerialNumber() override { return serialNumber_++; }

  // The queue as the connection manager sees it.
  DtRtiMsgQueue* msgQueue() { return &queue_; }

protected:
  // Holds a received message back only while the federate is constrained;
  // until then every message passes.
  class Queue : public DtRtiMsgQueue {
  public:
    char takeMsg(const DtRtiMsg& msg) override;
  };

  DtConnectionMgr* connectMgr_;
  DtFomClassMgr* fom_;
  DtRIDParameters* params_;
  std::uint32_t serialNumber_ = 1;
  DtFederateMgr* owner_ = nullptr;
  bool regulating_ = false;
  bool constrained_ = false;
  std::unique_ptr<RTI::FedTime> lbts_;
  std::unique_ptr<RTI::FedTime> federateTime_;
  std::unique_ptr<RTI::FedTime> lookahead_;
  Queue queue_;
};
