#pragma once
// DtTimeMgr: the federate's side of time management. It keeps the
// federate's logical time, lookahead and LBTS, runs the regulation,
// constrained and advance state machines against the rtiexec (which
// computes the LBTS, see DtExecTimeMgr), and owns the time-stamp-order queue
// and the retraction list that it hooks into the connection manager.
//
//   regulation:  off -> enableTimeRegulation -> pending -> (51) on -> off
//   constrained: off -> enableTimeConstrained -> pending -> (53) on -> off
//   advance:     idle -> TAR, TARA, NER, NERA or flush -> pending
//                     -> granted (timeAdvanceGrant) -> idle
// While either enable is pending no advance may be asked for, and while an
// advance is pending neither may be enabled. A constrained federate is
// granted a time T when T is below its LBTS (or equal to it, for the
// available forms), and never while the rtiexec holds the constrained
// federates for a new regulator (grantsHeld, from 59 to 61).
//
// The federate manager makes one after a join when RTI_timeMgmt is set,
// gives it itself as its owner, runs its per-tick step and deletes it at
// resignation; the implementor hands every time service to the operation of
// the same name and asks isValidTimeStamp before every time-stamped send.
// The object and interaction managers see it as their DtTimeStamping.
//
// Every failure of a service is an RTI exception with the empty reason,
// thrown before anything changed. Used on the thread that calls the
// ambassador; the handlers run inside its tick.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "RTI.hh"
#include "api/DtFedTimePool.h"
#include "core/DtDeliveredEvents.h"
#include "core/DtRetractionList.h"
#include "core/DtTsoMsgQueue.h"
#include "msg/DtMsgSubscriptions.h"
#include "objects/DtTimeStamping.h"

class DtConnectionMgr;
class DtConstrainedEnabledMsg;
class DtFederateMgr;
class DtFomClassMgr;
class DtLbtsMsg;
class DtNerLbtsMsg;
class DtRegulationEnabledMsg;
class DtResumeConstrainedMsg;
class DtRetractMsg;
class DtRIDParameters;
class DtRtiMsg;
class DtRtiSaveFile;
class DtSavePacket;
class DtSaveTimeMsg;
class DtSyncConstrainedMsg;

// Which time service a disable message turns off.
enum DtTimeService : std::uint32_t { DtTimeRegulation = 0, DtTimeConstrained = 1 };

class DtTimeMgr : public DtTimeStamping {
public:
  using Creator = DtTimeMgr* (*)(DtConnectionMgr*, DtFomClassMgr*, DtRIDParameters*);

  // The installed creator's result, else a new time manager.
  static std::unique_ptr<DtTimeMgr> create(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params);
  // Null restores the default. Process-wide.
  static void setCreatorFunction(Creator creator);

  // Hooks its queue, retraction list and callback link into the connection
  // manager (which may be null) and registers its message handlers.
  DtTimeMgr(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params);
  DtTimeMgr(const DtTimeMgr&) = delete;
  DtTimeMgr& operator=(const DtTimeMgr&) = delete;
  // Undoes all of it; held messages and records are deleted.
  virtual ~DtTimeMgr();

  // The federate manager that made it (not owned).
  void setOwner(DtFederateMgr* owner) { owner_ = owner; }
  DtFederateMgr* owner() const { return owner_; }

  // The per-tick step, from the federate manager's posttick.
  virtual void tick();

  // The HLA 1.3 time services.
  virtual void enableTimeRegulation(const RTI::FedTime& theFederateTime, const RTI::FedTime& theLookahead);
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

  // True when a message may go out with this time stamp: not before the
  // federate's time (the requested one while an advance is pending) plus
  // its lookahead.
  virtual bool isValidTimeStamp(const RTI::FedTime& time);
  virtual bool isAdvancePending() const { return advancePending_; }

  // DtTimeStamping.
  bool regulating() const override { return regulating_; }
  bool constrained() const override { return constrained_; }
  std::uint32_t takeSerialNumber() override { return serialNumber_++; }
  void eventDelivered(std::uint32_t sender, std::uint32_t serialNumber) override {
    delivered_.add(sender, serialNumber);
  }

  // The values the services and the save read.
  const RTI::FedTime& federateTime() const { return *federateTime_; }
  const RTI::FedTime& lookahead() const { return *lookahead_; }
  const RTI::FedTime& lbts() const { return *lbts_; }
  const RTI::FedTime& constrainedLbts() const { return *constrainedLbts_; }
  const RTI::FedTime& requestedTime() const { return *requestedTime_; }
  const RTI::FedTime& timePlusLookahead() const { return *timePlusLookahead_; }
  // The lookahead in force: the reducing one while a reduction runs.
  const RTI::FedTime& effectiveLookahead() const;
  bool grantsHeld() const { return grantsHeld_; }

  // Set by the callback link whenever a time-stamped event reaches the
  // federate.
  void setTsoEventDelivered() { tsoEventDelivered_ = true; }

  DtTsoMsgQueue* msgQueue() { return &queue_; }
  DtRetractionList* retractList() { return &retracts_; }

  // ---- a save at a federation time and the save around an advance.
  // A timed save's time comes from the rtiexec (processSaveTime): a
  // constrained federate's advance past it stops there (its events up to the
  // save time delivered, its grant held), and the rtiexec is told once
  // (65); the save runs there. saveInitiated starts this federate's save:
  // at once, unless the federate is constrained with no advance under way,
  // when its next advance step starts it. saveCompleted (the save or
  // restore is over, either way) lets the held or deferred advance go on.
  virtual void processSaveTime(const DtSaveTimeMsg& msg);
  virtual void saveInitiated();
  virtual void saveCompleted();
  // The time of the save pending here (zero when none), which the federate
  // manager takes over when the save is done.
  const RTI::FedTime& pendingSaveTime() const { return *saveTime_; }
  void clearPendingSaveTime() { saveTime_->setZero(); }
  bool saveTimeKnown() const { return saveTimeKnown_; }
  bool savePointReached() const { return savePointReached_; }
  bool saveDeferred() const { return saveDeferred_; }
  bool grantPending() const { return grantPending_; }
  bool nerAfterSave() const { return nerAfterSave_; }

  // ---- a federation save. saveState writes the time state (the flags, the
  // state version, the next-event cycle, the ten times and the retraction
  // records) as one record, then every queued time-stamped message (held
  // receive-order messages are not kept). restoreState reads it back: the
  // state and the retraction records replace this manager's, the queue is
  // emptied and each saved message offered to it again (one it does not
  // take is reported and dropped). A first record of another type, or one
  // whose times or counts do not add up, fails the restore with nothing
  // changed; a message record of another type fails it after the state.
  virtual bool saveState(DtRtiSaveFile& file);
  virtual bool restoreState(DtRtiSaveFile& file);
  // The length of the time manager's record.
  std::uint32_t packetLength() const;
  std::uint32_t stateVersion() const { return stateVersion_; }
  const RTI::FedTime& pendingGrantTime() const { return *pendingGrantTime_; }

  // Whether the federate may be granted t now (the LBTS rule for
  // constrained federates).
  virtual bool canGrant(const RTI::FedTime& t) const;

  // The message handlers.
  virtual void processRegulationEnabled(const DtRegulationEnabledMsg& msg);
  virtual void processConstrainedEnabled(const DtConstrainedEnabledMsg& msg);
  virtual void processLbts(const DtLbtsMsg& msg);
  virtual void processNerLbts(const DtNerLbtsMsg& msg);
  virtual void processSyncConstrained(const DtSyncConstrainedMsg& msg);
  virtual void processResumeConstrained(const DtResumeConstrainedMsg& msg);
  virtual void processRetract(const DtRetractMsg& msg);

protected:
  // Setters that keep the derived values (time + lookahead, the queue's
  // lookahead, the retraction records) in step.
  void setFederateTime(const RTI::FedTime& t);
  void setLookahead(const RTI::FedTime& l);
  void setReducingLookahead(const RTI::FedTime& l);
  void setAdvancePending(bool pending);
  void setTimeAvailable(bool available);

  // Sends (the request kinds only while regulating or constrained).
  virtual void sendEnableRegulation(const RTI::FedTime& time, const RTI::FedTime& lookahead);
  virtual void sendEnableConstrained(const RTI::FedTime& time, const RTI::FedTime& lookahead);
  virtual void sendTimeAdvanceRequest(const RTI::FedTime& time, const RTI::FedTime& lookahead);
  virtual void sendDisable(DtTimeService service);
  virtual void sendConstrainedSync(const RTI::FedTime& time, const RTI::FedTime& lookahead);
  virtual void sendRetract(std::uint32_t serialNumber);
  virtual void sendNextEventRequest(const RTI::FedTime& time, const RTI::FedTime& lookahead, bool available,
                                    std::uint32_t cycle);
  virtual void sendSaveTimeAdvance();

  // The advance steps.
  virtual void checkAdvance(bool cycleChanged);
  // A constrained federate that the rtiexec made a regulator at a later
  // time gets there as an available advance would: once its LBTS allows,
  // with the events up to that time delivered first.
  void checkRegulationStart();
  void enableRegulationAt(const RTI::FedTime& time);
  virtual void processTimeAdvance();
  virtual void processFlush(const RTI::FedTime& t);
  virtual void processNextEvent(const RTI::FedTime& bound, bool cycleChanged);
  // Delivers the earliest deliverable time-stamped events up to limit (all
  // of one time stamp); `next` becomes their time, else limit.
  virtual void findNextEvents(const RTI::FedTime& limit, RTI::FedTime& next, const RTI::FedTime& bound);
  // Every message the queue releases for t, dispatched.
  virtual void deliverUpTo(const RTI::FedTime& t);
  // The held receive-order messages alone (a time-stamped message of time
  // zero is one for the advance's own step).
  void deliverReceiveOrder();
  virtual bool advanceTo(const RTI::FedTime& t);
  virtual void grant(const RTI::FedTime& t);
  virtual void applyEpsilonLookahead(bool force);
  virtual void restoreZeroLookahead();
  // An advance to t goes past the save time: constrained, a save time
  // known, and the save time before t (or at t, for the available forms).
  virtual bool isSaveTimeReached(const RTI::FedTime& t) const;
  // The time an advance to t may reach before a pending save: the save time
  // (just past it for the available forms) when it comes first, else t.
  void saveTarget(const RTI::FedTime& t, RTI::FedTime& target) const;
  // The advance stops at the save point: its grant (to t) is held.
  void holdAtSavePoint(const RTI::FedTime& t);
  // A save deferred to this advance step starts (once); true when one is.
  bool startDeferredSave();
  void setPendingGrantTime(const RTI::FedTime& t);

  RTI::FedTime* getTempTime();
  void putTempTime(RTI::FedTime* time);

private:
  // A spare time of the pool for the length of a step.
  class TempTime : public DtFedTimePool::Temp {
  public:
    explicit TempTime(DtTimeMgr& owner) : DtFedTimePool::Temp(owner.timePool_) {}
  };

  // The checks every advance request makes first.
  void checkAdvanceAllowed(const RTI::FedTime& t) const;
  // What every advance request (and every next-event request) starts with,
  // after those checks.
  void beginAdvance(const RTI::FedTime& t, bool available);
  void beginNextEvent(const RTI::FedTime& t, bool available);
  // The LBTS of a bound message: the lag one when this federate is the one
  // named, the least one otherwise; the LBTS only rises (from infinity it
  // takes any value).
  void applyLbts(unsigned long laggard, const RTI::FedTime& least, const RTI::FedTime& lag);
  bool isThisFederate(unsigned long handle) const;
  // The lookahead reduction step for a request to t, and its end at a grant.
  void reduceLookaheadFor(const RTI::FedTime& t);
  void finishLookaheadReduction();
  bool mayGrant(const RTI::FedTime& t, const RTI::FedTime& bound) const;
  void sendStamped(DtRtiMsg* msg);
  void subscribeHandlers();
  // The ten times of the record, in its order.
  std::array<RTI::FedTime*, 10> savedTimes() const;
  // The state of a time manager's record; false when it is not whole.
  bool takeRecord(const DtSavePacket& record);
  // The saved messages after the record, offered to the queue again.
  bool takeQueuedMsgs(DtRtiSaveFile& file, std::uint32_t count);

  DtConnectionMgr* connectMgr_;
  DtMsgSubscriptions handlers_;
  DtFomClassMgr* fom_;
  DtRIDParameters* params_;
  DtFederateMgr* owner_ = nullptr;
  DtTsoMsgQueue queue_;
  std::unique_ptr<RTI::FedTime> lbts_;
  std::unique_ptr<RTI::FedTime> timePlusLookahead_;
  std::unique_ptr<RTI::FedTime> constrainedLbts_;
  std::unique_ptr<RTI::FedTime> federateTime_;
  std::unique_ptr<RTI::FedTime> lookahead_;
  std::unique_ptr<RTI::FedTime> requestedTime_;
  std::unique_ptr<RTI::FedTime> targetLookahead_;
  std::unique_ptr<RTI::FedTime> nerBound_;
  bool nerEventFound_ = false;
  bool nerFirstPass_ = true;
  std::uint32_t nerCycle_ = 0;
  std::unique_ptr<RTI::FedTime> reducingLookahead_;
  // A grant held back at a save point, and whether it is.
  std::unique_ptr<RTI::FedTime> pendingGrantTime_;
  bool grantPending_ = false;
  bool nerAfterSave_ = false;
  std::uint32_t stateVersion_ = 1;
  // A timed save: its time, and where this federate stands with it.
  std::unique_ptr<RTI::FedTime> saveTime_;
  bool saveTimeKnown_ = false;
  bool saveTimeAdvanceDue_ = false;
  bool saveDeferred_ = false;
  bool deferredSaveStarted_ = false;
  bool savePointReached_ = false;
  bool constrained_ = false;
  bool regulating_ = false;
  bool regulationPending_ = false;
  // The rtiexec's regulation time that this constrained federate waits for.
  bool regulationAwaitsBound_ = false;
  std::unique_ptr<RTI::FedTime> regulationStart_;
  bool constrainedPending_ = false;
  bool grantsHeld_ = false;
  bool checkNeeded_ = false;
  bool tarPending_ = false;
  bool nerPending_ = false;
  bool flushPending_ = false;
  bool advancePending_ = false;
  bool tsoEventDelivered_ = false;
  bool timeAvailable_ = true;
  bool epsilonLookahead_ = false;
  bool epsilonReducing_ = false;
  bool lookaheadReducing_ = false;
  bool zeroLookaheadRestored_ = false;
  std::unique_ptr<RTI::FedTime> positiveInfinityTime_;
  std::unique_ptr<RTI::FedTime> zeroTime_;
  std::unique_ptr<RTI::FedTime> epsilonTime_;
  DtRetractionList retracts_;
  DtDeliveredEvents delivered_;
  DtFedTimePool timePool_;
  std::uint32_t serialNumber_ = 1;
};
