#pragma once
// DtFedExec: one federation execution inside the rtiexec. It answers join
// requests and hands out federate handles (1, 2, ... in the order of the
// requests, never given twice), keeps the joined federates with their
// heartbeats, removes the federates that resign, lose their connection or
// fall silent, names the designated federate, hands the attributes of a
// resigning federate to another one, keeps the federation's synchronization
// points, and tells its observers of joins, resignations and
// synchronization points.
//
// Every execution registers its own message callbacks with the rtiexec's
// connection manager, so every execution sees every message of its kinds
// and picks its own: a join by the execution's name, the others by the
// execution id in the header (isForExec). Handles are per execution: the
// same handle may be in use in several executions.
//
// A join goes: join request (a pending join, answered with the handle and
// answered again every 3 s) -> join confirm (the federate is a member) ->
// gone (its resign message, its lost connection, its lost heartbeat or the
// operator's delete command). When the rtiexec itself resigns a federate,
// it sends the resign message on the federate's behalf and retires the
// federate at once; the copy of that message that comes back finds the
// federate gone and only says so at level 3.
//
// A synchronization point goes: registered (the registrant is answered, the
// federates it concerns are told and get their copies; a federate that
// joins later is told after its join is confirmed) -> achieved by each of
// them -> synchronized, when every joined federate it concerns achieved it
// or left: the federates are told, and the point is retired, so its label
// may be registered again. A duplicate label or a set naming a federate not
// joined fails the registration.
//
// The time side of the execution (the federates' time records and the
// bounds) is told of every federate that leaves through
// resignFederateTime. Save and restore run in the execution's
// DtExecSaveRestore: while one runs, joins are refused (error 2 during a
// save, 3 during a restore), no federate is dropped for silence, and a
// federate that leaves fails it.
//
// Time-dependent steps (the join resends, the heartbeat check) read the
// execution's clock, DtRealTime unless a test sets another. Everything runs
// on the rtiexec's thread.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "RTI.hh"
#include "exec/DtExecCallbackList.h"
#include "exec/DtExecSaveFile.h"
#include "exec/DtOwnershipLedger.h"
#include "exec/DtSyncPt.h"
#include "msg/DtMsgSubscriptions.h"
#include "util/DtString.h"

class DtAliveMsg;
class DtExecTimeMgr;
class DtExecSaveRestore;
class DtConnectionMgr;
class DtFederate;
class DtJoinConfirmMsg;
class DtJoinMsg;
class DtOwnershipMsg;
class DtResignMsg;
class DtRIDParameters;
class DtRtiMsg;
class DtSyncPointMsg;

class DtFedExec {
public:
  using Clock = std::function<double()>;
  using FederateCallback = DtExecCallbackList<DtFederate*>::Function;
  using SyncPtCallback = DtExecCallbackList<DtSyncPt*>::Function;
  using SyncPtAchievedCallback = DtExecCallbackList<DtFederate*, DtSyncPt*>::Function;

  // Seconds between two sends of the join response to a federate that has
  // not confirmed its join.
  static constexpr double joinResendInterval = 3.0;

  // Registers the execution's message callbacks with the manager (which it
  // borrows). Heartbeat checking needs both RTI_federateHeartbeatInterval
  // and RTI_federateTimeoutInterval above 0: either one at 0 or less sets
  // the other to 0 in the RID parameters.
  DtFedExec(DtConnectionMgr* connectMgr, const DtString& executionName, const DtString& fedFileName,
            int executionHandle, DtRIDParameters* rid);
  DtFedExec(const DtFedExec&) = delete;
  DtFedExec& operator=(const DtFedExec&) = delete;
  // Removes the callbacks and deletes the federates (the resigned
  // callbacks are not called) and the pending joins.
  virtual ~DtFedExec();

  DtString fedExName() const { return name_; }
  int fedExHandle() const { return handle_; }
  DtString fedFileName() const { return fedFile_; }
  DtConnectionMgr* connectMgr() const { return connectMgr_; }

  // The received messages.
  virtual void processJoin(const DtJoinMsg& msg);
  virtual void processJoinConfirm(const DtJoinConfirmMsg& msg);
  virtual void processAlive(const DtAliveMsg& msg);
  virtual void processResign(const DtResignMsg& msg);
  virtual void processOwnership(const DtOwnershipMsg& msg);

  // The federate table, in join order.
  int numFederates() const { return static_cast<int>(federates_.size()); }
  std::vector<DtFederate*> federates() const;
  // Files a new federate under its handle and calls the joined callbacks.
  virtual DtFederate* addFederate(const char* name, unsigned long handle, unsigned long connectionHandle);
  virtual DtFederate* getFederate(unsigned long handle) const;
  bool isMember(const DtFederate* federate) const;
  // False when there is no such federate; otherwise the resigned callbacks
  // run, and the federate is deleted (the designated federate is cleared
  // when none is left).
  virtual bool deleteFederate(unsigned long handle);
  // The connection's pending join is dropped, or else the first federate of
  // that connection is resigned with DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES.
  virtual void removeFederateConnection(unsigned long connectionHandle);
  // "   <handle>\t<name>" for every federate, at level 2.
  virtual void printFederates() const;
  // False when there is no such federate; otherwise the resign message goes
  // out in the federate's name and the federate is retired at once.
  virtual bool resignFederate(unsigned long handle, RTI::ResignAction action);
  unsigned long designatedFederate() const { return designated_; }
  bool hasPendingJoin(unsigned long handle) const {
    return pendingJoins_.count(static_cast<std::uint32_t>(handle)) != 0;
  }
  std::size_t pendingJoinCount() const { return pendingJoins_.size(); }

  // The periodic work, after every tick of the connection manager.
  virtual void tick();
  virtual void tickSaveRestore();
  // Answers again every pending join whose resend time has passed.
  virtual void tickJoin();
  // Resigns the federates whose heartbeat is older than the timeout.
  virtual void tickFederates();

  void addFederateJoinedCallback(FederateCallback fn, void* data) { joined_.add(fn, data); }
  void removeFederateJoinedCallback(FederateCallback fn, void* data) { joined_.remove(fn, data); }
  void addFederateResignedCallback(FederateCallback fn, void* data) { resigned_.add(fn, data); }
  void removeFederateResignedCallback(FederateCallback fn, void* data) { resigned_.remove(fn, data); }

  // Synchronization points.
  virtual void processSyncPoint(const DtSyncPointMsg& msg);
  virtual void processRegisterSyncPoint(const DtSyncPointMsg& msg);
  virtual void processAchievedSyncPoint(const DtSyncPointMsg& msg);
  // Files the point, gives a copy to every federate it concerns and calls
  // the registered callbacks.
  virtual DtSyncPt* createSyncPoint(const std::string& label, const std::string& tag,
                                    const std::vector<std::uint32_t>& federates);
  // Whether every joined federate the point concerns achieved it (a point
  // that concerns none is).
  virtual bool synchronized(const DtSyncPt& point) const;
  // Takes the point out, calls the synchronized callbacks with it and takes
  // every federate's copy.
  virtual void retireSyncPoint(const std::string& label);
  // Announces every point that concerns the federate, in the order filed.
  virtual void announceAllSyncPoints(unsigned long federateHandle);
  const DtSyncHashlist& syncPoints() const { return syncPoints_; }
  void addSyncPtRegisteredCallback(SyncPtCallback fn, void* data) { syncPtRegistered_.add(fn, data); }
  void removeSyncPtRegisteredCallback(SyncPtCallback fn, void* data) { syncPtRegistered_.remove(fn, data); }
  void addSyncPtAchievedCallback(SyncPtAchievedCallback fn, void* data) { syncPtAchieved_.add(fn, data); }
  void removeSyncPtAchievedCallback(SyncPtAchievedCallback fn, void* data) { syncPtAchieved_.remove(fn, data); }
  void addFederationSynchronizedCallback(SyncPtCallback fn, void* data) { synchronizedCbs_.add(fn, data); }
  void removeFederationSynchronizedCallback(SyncPtCallback fn, void* data) { synchronizedCbs_.remove(fn, data); }

  // The send family: a message of the kind, stamped with this execution
  // (the join response alone with execution 0, its body carrying the
  // handle), sent on the internal transport.
  virtual void sendJoinResponseMsg(unsigned long destinationID, const DtString& fullName, int executionHandle,
                                   const char* federateName, const DtString& fedFileName, unsigned long federateHandle);
  virtual void sendResignMsg(const DtString& executionName, unsigned long federateHandle, RTI::ResignAction action);
  virtual void sendDesignatedFederate(unsigned long federateHandle);
  virtual void sendSyncPointMsg(int kind, unsigned long federateId, const char* label, const char* tag,
                                const std::vector<std::uint32_t>& federates);

  // The federate has left: its time records go, and the bounds move.
  virtual void resignFederateTime(unsigned long federateHandle);
  // The execution's time management (its federates' time records, the
  // LBTS and next-event bounds), which handles the time messages itself.
  DtExecTimeMgr& timeMgmt() const { return *time_; }

  // The execution's part of a federation save (its save file holds it):
  // its federates with their copies of the synchronization points, its
  // open points and its time management. A restore of it: the pending
  // joins, the federates and the points go, and the saved ones come back
  // (the joined callbacks run, no point is announced again: the federates'
  // own files hold what was announced to them), each federate on the
  // connection that the map gives its saved handle (0 when none).
  virtual DtExecSavedState savedState() const;
  virtual void restoreState(const DtExecSavedState& state, const std::map<std::uint32_t, std::uint32_t>& connections);
  DtExecSaveRestore& saveRestore() const { return *saveRestore_; }

  float federateTimeout() const { return federateTimeout_; }
  bool saveInProgress() const;
  bool restoreInProgress() const;
  void setClock(Clock clock) { clock_ = std::move(clock); }
  double now() const { return clock_(); }

protected:
  // Hands the attributes of a federate that is gone (`from`) to the first
  // federate left, whose component holds them; the heir's ledger gets them.
  void handOver(const DtOwnershipLedger::Gift& gift, std::uint32_t from);
  // Tells a federate whose resign message was handled that it is out of
  // the execution: its resignation returns only then, so that whatever it
  // does next (another federate's destroy, say) finds it gone.
  void answerResign(std::uint32_t federate, std::uint32_t connection);
  // Sends the message stamped with the execution handle, and deletes it.
  void sendStamped(std::unique_ptr<DtRtiMsg> msg, int executionHandle);
  // What a resignation does once the federate is known to be gone.
  virtual void retireFederate(unsigned long handle);

private:
  struct PendingJoin {
    std::uint32_t sourceID;
    DtString fullName;
    DtString federateName;
    std::uint32_t handle;
    double resendAt;
  };
  void subscribeHandlers();
  // Announces the point synchronized and retires it.
  void endSyncPoint(const std::string& label);
  // Ends every point that is now synchronized (after a federate left).
  void endReachedSyncPoints();

  DtConnectionMgr* connectMgr_;
  DtMsgSubscriptions handlers_;
  std::uint32_t nextFederateHandle_ = 1;
  DtString name_;
  std::vector<std::unique_ptr<DtFederate>> federates_;
  DtString fedFile_;
  int handle_;
  std::uint32_t designated_ = 0;
  float federateTimeout_ = 0;
  std::map<std::uint32_t, PendingJoin> pendingJoins_;
  DtSyncHashlist syncPoints_;
  DtExecCallbackList<DtSyncPt*> syncPtRegistered_;
  DtExecCallbackList<DtFederate*, DtSyncPt*> syncPtAchieved_;
  DtExecCallbackList<DtSyncPt*> synchronizedCbs_;
  DtExecCallbackList<DtFederate*> joined_;
  DtExecCallbackList<DtFederate*> resigned_;
  Clock clock_;
  std::unique_ptr<DtExecTimeMgr> time_;
  std::unique_ptr<DtExecSaveRestore> saveRestore_;
  DtOwnershipLedger ledger_;
};
