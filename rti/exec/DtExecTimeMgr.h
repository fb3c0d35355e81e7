#pragma once
// DtExecTimeMgr: time management of one federation execution inside the
// rtiexec. It keeps one time record (DtTimeInfo) per federate that
// regulates or is constrained, filed in sorted lists, and answers the
// federates' time requests:
//   kind 50 enable regulation    -> 51 regulation enabled (at once, or
//                                   after a constrained sync: 59 ... 60 ... 61)
//   kind 52 enable constrained   -> 53 constrained enabled (at once, or when
//                                   the LBTS has risen past the federate's time)
//   kind 54 time advance request -> 56 LBTS when the least or lag LBTS moved
//   kind 55 next-event request   -> 57 NER LBTS: a new next-event cycle
//                                   asks the waiting regulators again; 56
//                                   once their answers raise an LBTS
//   kind 58 disable              -> 56/57 as the bounds move
//   kind 60 constrained sync     -> 61 resume, once every constrained
//                                   federate has answered
// An LBTS message names the regulator of least LBTS and carries the least
// and the second-least (lag) LBTS: a federate takes the lag one when it is
// itself the one named. One that repeats the least LBTS sent last is news to
// the federate it names alone, once every federate holds that least (the
// others take the least, and the LBTS a federate holds never falls): where
// the reliable transport can name that federate's connection
// (setConnectionOf), it goes there only, so that in lock step the others are
// not woken for it. Bounds are read off the heads of the sorted lists;
// only the constrained sync, a next-event cycle, the release of pending
// constrained federates and the start of a new regulator walk a list: each
// concerns every federate on it.
//
// What makes the bounds safe (time-stamp order is never broken):
//   - a regulator's LBTS is the least time stamp it can still send. A
//     message it sent before it raised that value travels on the same
//     forwarder before the request that raised it, so it reaches every
//     federate before any bound computed from the request does;
//   - the LBTS a constrained federate holds never falls, so a new regulator
//     starts where its LBTS is at least every bound a constrained federate
//     holds (the rtiexec keeps, per record, the bound it told it); one that
//     holds infinity must first stop and tell its time (the constrained
//     sync);
//   - a next-event request is a promise on condition: the federate sends
//     nothing below the least of its requested time, its queued events and
//     the events still to come, plus its lookahead. Such promises raise a
//     regulator's LBTS only after a next-event cycle has confirmed them
//     (DtExecTimeMgrNer.cpp).
//
// The execution (DtFedExec) owns it, gives it its connection manager, name
// and handle, and calls resignFederateTime for every federate that leaves.
// It registers its handlers with the connection manager for as long as it
// lives; each takes only the messages of its execution. What it sends is
// stamped with the execution's handle and goes on the connection manager's
// internal transport.
//
// A federate that leaves (or stops being constrained) while the constrained
// sync awaits its answer is taken out of the sync, and the sync ends when it
// was the last one awaited; a departing federate's held regulation request
// is dropped with it.
//
// Used on the rtiexec's thread only; nothing locks.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "RTI.hh"
#include "api/DtFedTimePool.h"
#include "exec/DtTimeInfoList.h"
#include "msg/DtMsgSubscriptions.h"
#include "util/DtList.h"
#include "util/DtString.h"

struct DtExecSavedState;
class DtConnectionMgr;
class DtConstrainedSyncMsg;
class DtDisableMsg;
class DtEnableConstrainedMsg;
class DtEnableRegulationMsg;
class DtNextEventRequestMsg;
class DtRtiMsg;
class DtTimeAdvanceRequestMsg;
class DtTimeInfo;

class DtExecTimeMgr {
public:
  DtExecTimeMgr(DtConnectionMgr* connectMgr, const DtString& execName, int execHandle);
  DtExecTimeMgr(const DtExecTimeMgr&) = delete;
  DtExecTimeMgr& operator=(const DtExecTimeMgr&) = delete;
  // Removes its handlers and deletes every record.
  virtual ~DtExecTimeMgr();

  // The number of the forwarder connection a federate's join came from (0:
  // not known), for the messages that concern one federate alone.
  using ConnectionOf = std::function<std::uint32_t(std::uint32_t federate)>;
  void setConnectionOf(ConnectionOf lookup) { connectionOf_ = std::move(lookup); }
  // A federate joined the execution: it has heard no bound yet, so the next
  // one goes to every federate.
  void noteNewcomer() { leastHeldByAll_ = false; }

  // The message handlers (registered for their kinds by the constructor);
  // each ignores a message of another execution.
  virtual void processEnableRegulation(const DtEnableRegulationMsg& msg);
  virtual void processEnableConstrained(const DtEnableConstrainedMsg& msg);
  virtual void processTimeAdvanceRequest(const DtTimeAdvanceRequestMsg& msg);
  virtual void processNextEventRequest(const DtNextEventRequestMsg& msg);
  virtual void processDisable(const DtDisableMsg& msg);
  virtual void processConstrainedSync(const DtConstrainedSyncMsg& msg);

  // Grants regulation now: the start time raised, where a bound that a
  // constrained federate holds (or, for one that held infinity, its time)
  // requires it, so that the new LBTS is not below it.
  virtual void processEnableRegulation(std::uint32_t handle, const RTI::FedTime& time, const RTI::FedTime& lookahead);
  // Holds the request and starts a constrained sync unless one runs.
  virtual void processPendingRegulation(std::uint32_t handle, const RTI::FedTime& time, const RTI::FedTime& lookahead);
  // Forgets the federate's time state (it resigned or was resigned).
  virtual void resignFederateTime(std::uint32_t handle);
  // Releases the pending constrained federates whose time is below the
  // bound (all of them, or that one record).
  virtual void checkPendingConstrained(const RTI::FedTime& bound);
  virtual void checkPendingConstrained(DtTimeInfo* info, const RTI::FedTime& bound);
  // Makes the federate constrained when its time is not past the least LBTS
  // of the other regulators; false when it must wait.
  virtual bool becomeConstrained(DtTimeInfo* info);

  // The bounds, off the heads of the regulators' lists.
  virtual std::uint32_t minLbtsFederate() const;
  virtual const RTI::FedTime& minLbts() const;
  virtual const RTI::FedTime& lagLbts() const;
  virtual bool minTimeAvailable() const;
  virtual bool lagTimeAvailable() const;
  virtual std::uint32_t minNerLbtsFederate() const;
  virtual const RTI::FedTime& minNerLbts() const;
  virtual const RTI::FedTime& lagNerLbts() const;
  virtual bool minNerPending() const;
  virtual bool lagNerPending() const;

  // Spare times for the bound updates: a zero time from the pool (a new one
  // when it is empty), and one given back.
  virtual RTI::FedTime* getTempTime();
  virtual void putTempTime(RTI::FedTime* time);
  virtual void destroyTempTimePool();

  // The execution's save file: the bound values of the cycle, the time
  // records and the lists into the state; restoreState replaces every
  // record and list by the state's (a list entry of a federate without a
  // record is left out with a message). A federate's held regulation
  // request keeps a record of its own (saved after the federate's other
  // record).
  virtual void saveState(DtExecSavedState& state) const;
  virtual void restoreState(const DtExecSavedState& state);
  // The regulators' LBTS as it stands, to every federate (after a save or a
  // restore, when a regulator is there).
  virtual void announceBounds();

  // What the execution's save and the tests read.
  const DtTimeInfoList& regulatingByLbts() const { return regulatingByLbts_; }
  const DtTimeInfoList& constrainedByTime() const { return constrainedByTime_; }
  const DtTimeInfoList& pendingConstrained() const { return pendingConstrained_; }
  const DtTimeInfoList& pendingRegulation() const { return pendingRegulation_; }
  const DtTimeInfoList& regulatingByNerLbts() const { return regulatingByNerLbts_; }
  const DtTimeInfoList& nerRequesters() const { return nerRequesters_; }
  const DtTimeInfoList& nerAwaited() const { return nerAwaited_; }
  DtTimeInfoList& savedTimeList() { return savedTimeList_; }
  std::uint32_t nerCycle() const { return nerCycle_; }
  std::uint32_t constrainedSyncWaitingCount() const { return constrainedSyncWaiting_.count(); }
  const DtString& fedExName() const { return execName_; }
  int fedExHandle() const { return execHandle_; }

  // The messages it sends, each stamped with the execution's handle.
  virtual void sendRegulationEnabledMsg(std::uint32_t handle, const RTI::FedTime& time);
  virtual void sendConstrainedEnabledMsg(std::uint32_t handle, const RTI::FedTime& time, const RTI::FedTime& lbts);
  virtual void sendLbtsMsg(std::uint32_t handle, const RTI::FedTime& lbts, const RTI::FedTime& lagLbts);
  virtual void sendNerLbtsMsg(std::uint32_t cycle, std::uint32_t handle, bool nerPending, bool lagNerPending,
                              const RTI::FedTime& lbts, const RTI::FedTime& lagLbts);
  virtual void sendSyncConstrainedMsg();
  virtual void sendResumeConstrainedMsg(std::uint32_t handle, const RTI::FedTime& lbts, const RTI::FedTime& lagLbts);

protected:
  void removeRegulatingEntry(DtTimeInfo* info);
  void disableFederateTimeRegulation(std::uint32_t handle);
  void adjustRegulatingEntry(DtTimeInfo* info, const RTI::FedTime& time, const RTI::FedTime& lookahead,
                             bool timeAvailable);

private:
  bool isForThisExec(const DtRtiMsg& msg) const;
  // On the internal transport; for that federate's connection alone when it
  // names one (see setConnectionOf), else for every federate.
  void sendAndDelete(DtRtiMsg* msg, std::uint32_t federate = 0);
  // The LBTS broadcast, left out when it would repeat the last bound sent.
  void broadcastLbts();
  void rememberLbts(const RTI::FedTime& lbts, const RTI::FedTime& lagLbts);
  void broadcastNerLbts();
  // The bound message sent as the federates take it: each constrained
  // record holds what its federate holds (the federate named alone, when
  // only it hears the message).
  void noteBoundsSent(std::uint32_t laggard, const RTI::FedTime& lbts, const RTI::FedTime& lagLbts, bool laggardAlone);
  // A constrained federate other than this one holds an infinite bound: it
  // could run past any start without asking.
  bool someoneHoldsInfinity(std::uint32_t handle) const;
  // The least LBTS a new regulator may start with: every bound a constrained
  // federate other than it holds, or that federate's time (just past it when
  // it is not available) for one that holds infinity; false when there is
  // no constrained federate.
  bool leastNewLbts(std::uint32_t handle, RTI::FedTime& least) const;
  // After a change of the regulators' LBTS (the least one's federate and the
  // least and lag values before it): when the bounds moved, the pending
  // constrained federates they release, then the LBTS message.
  void afterLbtsChange(const DtTimeInfo* oldFirst, const RTI::FedTime& oldMin, const RTI::FedTime& oldLag);
  // ---- next-event cycles (DtExecTimeMgrNer.cpp)
  bool nerCycleRunning() const { return nerAwaited_.count() != 0; }
  // A new cycle when a next-event request could raise its regulator's LBTS.
  void maybeStartNerCycle();
  // The cycle's confirmed promises raise their regulators' LBTS.
  void commitNerCycle();
  // The federate no longer awaited in the running cycle; the cycle ends
  // when it was the last.
  void stopAwaiting(std::uint32_t handle);
  // The record of the federate in any of the lists that own records.
  DtTimeInfo* recordOf(std::uint32_t handle) const;
  // Deletes the record unless a list that owns records still holds it.
  void deleteIfUnlisted(DtTimeInfo* info);
  // Takes the record out of the running constrained sync; true when it was
  // the last one awaited, so that the caller ends the sync.
  bool leaveConstrainedSync(const DtTimeInfo* info);
  // Carries out the held regulation requests and resumes the constrained
  // federates.
  void endConstrainedSync();

  void subscribeHandlers();
  // Every record once, in the order of the lists that own records.
  std::vector<DtTimeInfo*> ownedRecords() const;
  void deleteAllRecords();
  // The eight lists, in the order of the save file.
  std::array<DtTimeInfoList*, 8> allLists();

  DtConnectionMgr* connectMgr_;
  DtMsgSubscriptions handlers_;
  DtString execName_;
  int execHandle_;

  DtTimeInfoList regulatingByLbts_{byLbts};
  DtTimeInfoList constrainedByTime_{byTime};
  DtTimeInfoList pendingConstrained_{byTime};
  DtTimeInfoList savedTimeList_{byTime};
  DtTimeInfoList pendingRegulation_{byLbts};
  DtTimeInfoList regulatingByNerLbts_{byNerLbts};
  DtTimeInfoList nerRequesters_{byNerLbts};
  DtTimeInfoList nerAwaited_{byNerLbts};
  DtList constrainedSyncWaiting_;  // of DtTimeInfo, not owned
  std::uint32_t nerCycle_ = 0;
  std::unique_ptr<RTI::FedTime> positiveInfinityTime_;
  std::unique_ptr<RTI::FedTime> cycleMinNerLbts_;
  std::unique_ptr<RTI::FedTime> cycleLagNerLbts_;
  std::uint32_t cycleMinNerFederate_ = 0;
  // The least cycle floor of the regulators that left during the running
  // next-event cycle.
  std::unique_ptr<RTI::FedTime> departedFloor_;
  DtFedTimePool tempTimePool_;
  // The least and lag LBTS of the last bound sent (broadcast or resume).
  bool lbtsSent_ = false;
  std::unique_ptr<RTI::FedTime> lastMinLbts_;
  std::unique_ptr<RTI::FedTime> lastLagLbts_;
  ConnectionOf connectionOf_;
  // Every federate has heard the least LBTS sent last (no one joined or
  // took up regulation since).
  bool leastHeldByAll_ = false;
};
