#pragma once
// DtFederateMgr: the federation-management half of one federate, one per
// implementor. It owns the federate's connection manager for its whole life
// and, from a join to the resignation, the FOM class manager (read from the
// FED file at the join) and the interaction, object, time and data
// distribution managers; it drives the MOM manager, which the ambassador
// owns. The implementor reaches every other manager through it on every
// call. The federation services themselves (create, destroy, join,
// synchronization points, save and restore) are pure here: the federate
// managers without and with the rtiexec carry them out.
//
// How the other managers plug in (postJoinInit, after a successful join):
//   interaction manager, object manager    DtInteractionMgr/DtObjectMgr::create
//   connectFederation                      the connection manager is bound
//   time manager (RTI_timeMgmt)            DtTimeMgr::create, given to both
//   data distribution (RTI_dataDistMgmt)   over the object and interaction managers
//   MOM (RTI_momServiceAvailable)          join(...), then the interaction manager's setMomMgr
//   the eight received-message callbacks   resign, save and restore
// Resignation undoes it: the object manager's prepareToResign(action), then
// the object, interaction and time managers are deleted, the MOM manager
// resigns, the data distribution manager is deleted, the resign message goes
// out, the names and the class tree are dropped, the connection manager is
// disconnected and the callbacks removed. The destructor of a joined manager
// tears the managers down in the reverse order of postJoinInit before it
// deletes the connection manager they use.
//
// A resignation may come from inside a callback (the federate resigns in a
// callback, or a resign message names this federate): the managers whose
// code may be running then are deleted only when the outermost tick step
// (tick or posttick) returns. Until then they stay registered with the
// connection manager, which is already disconnected (its fedAmb() is null),
// and may still see the rest of that step's messages.
//
// Made while the notify level is above 3, it files the callback printer
// (DtFedAmbPrinter) in its connection manager's wrapper chain as "Printer",
// so that every callback of the federate is traced.
//
// Made by create(), which a plug-in's creator hook can redirect. Used on the
// thread that calls the ambassador.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "RTI.hh"
#include "config/DtFedReader.h"
#include "core/DtFederateMomView.h"
#include "msg/DtMsgSubscriptions.h"
#include "net/DtConnectionMgr.h"
#include "util/DtFomTypes.h"
#include "util/DtString.h"

class DtDataDistMgr;
class DtFedAmbWrapper;
class DtFedFileMapping;
class DtFomClassMgr;
class DtInteractionMgr;
class DtMomMgr;
class DtObjectMgr;
class DtRIDParameters;
class DtRestoreEndMsg;
class DtRestoreInitiateMsg;
class DtRestoreMsg;
class DtRestoreReplyMsg;
class DtResignMsg;
class DtRtiSaveFile;
class DtSaveFinishedMsg;
class DtSaveInitiateMsg;
class DtSaveResponseMsg;
class DtTimeMgr;

class DtFederateMgr {
public:
  using Creator = DtFederateMgr* (*)(DtRIDParameters* params);

  // The installed creator's result when one is set; otherwise the federate
  // manager with the rtiexec when the RID file asks for it, else the one
  // without.
  static std::unique_ptr<DtFederateMgr> create(DtRIDParameters* params);
  // Null restores the default. Process-wide.
  static void setCreatorFunction(Creator creator);

  // Makes the connection manager (RTIinternalError when its socket cannot
  // be opened), couples the heartbeat and timeout intervals (either one at
  // 0 switches both off) and draws the local number.
  explicit DtFederateMgr(DtRIDParameters* params);
  DtFederateMgr(const DtFederateMgr&) = delete;
  DtFederateMgr& operator=(const DtFederateMgr&) = delete;
  virtual ~DtFederateMgr();

  // Keeps the MOM manager (not owned; may be null).
  virtual void init(DtMomMgr* momMgr);

  // The federation services, as the implementor hands them over.
  virtual void createFederationExecution(const char* executionName, const char* fedFile) = 0;
  virtual void destroyFederationExecution(const char* executionName) = 0;
  virtual RTI::FederateHandle joinFederationExecution(const char* federateName, const char* executionName,
                                                      RTI::FederateAmbassador* fedAmb) = 0;
  // FederateNotExecutionMember when not joined; InvalidResignAction for an
  // action outside 1..4; FederateOwnsAttributes for DELETE_OBJECTS while
  // objects are owned that this federate may not delete, and for NO_ACTION
  // while any attribute is owned. Nothing is torn down when it throws.
  virtual void resignFederationExecution(RTI::ResignAction action);
  virtual void registerFederationSynchronizationPoint(const char* label, const char* tag,
                                                      const RTI::FederateHandleSet& federates) = 0;
  virtual void registerFederationSynchronizationPoint(const char* label, const char* tag) = 0;
  virtual void synchronizationPointAchieved(const char* label) = 0;

  // Execution name to FED file: the oldest mapping of the name wins; without
  // one, the file of the latest create of the name by any ambassador of this
  // process (DtProcessFedFiles); else the execution name followed by ".fed".
  virtual void addFedFileNameMapping(const DtString& executionName, const DtString& fedFile);
  virtual DtString fedFileName(const DtString& executionName);
  // Reads the FED file (the mapped one when the name is empty; under
  // RTI_CONFIG by its base name when it cannot be opened as named) into a
  // new class manager, which becomes fom(). RTI_dumpFed 0 keeps the read
  // quiet. CouldNotOpenFED (the reason names the file) or ErrorReadingFED
  // (the file, the line and what was expected there) leave no class
  // manager.
  virtual void readFedFile(const DtString& fedFile, const DtString& executionName);
  // Makes and wires the joined federate's managers (see above).
  virtual void postJoinInit(const char* federateName, const char* executionName, RTI::FederateAmbassador* fedAmb);

  // One unit of tick work (the heartbeat when due, then one pass of the
  // connection manager): true when a received message was processed.
  virtual RTI::Boolean tick();
  // Around the implementor's tick loops: the connection manager's tick
  // begins before, and ends after; then the managers' per-tick steps
  // (data distribution, objects, interactions, MOM, time).
  virtual void pretick();
  virtual void posttick();

  // A null time asks for an untimed save.
  virtual void requestFederationSave(const char* label, const RTI::FedTime* time) = 0;
  virtual void federateSaveBegun() = 0;
  virtual void federateSaveComplete() = 0;
  virtual void federateSaveNotComplete() = 0;
  virtual void requestFederationRestore(const char* label) = 0;
  virtual void federateRestoreComplete() = 0;
  virtual void federateRestoreNotComplete() = 0;

  // Received messages. A resign message of this federate's own handle
  // resigns it with the message's action; another federate's goes to the
  // object, interaction and data distribution managers. The save and
  // restore ones are not handled here (a message says so at level 1).
  virtual void processResign(const DtResignMsg& msg);
  virtual void processSaveInitiate(const DtSaveInitiateMsg& msg);
  virtual void processSaveResponse(const DtSaveResponseMsg& msg);
  virtual void processSaveFinished(const DtSaveFinishedMsg& msg);
  virtual void processRestoreReply(const DtRestoreReplyMsg& msg);
  virtual void processRestore(const DtRestoreMsg& msg);
  virtual void processRestoreInitiate(const DtRestoreInitiateMsg& msg);
  virtual void processRestoreEnd(const DtRestoreEndMsg& msg);
  // The connection manager's callbacks: each calls the operation above on
  // the federate manager passed as user data.
  static void processResign(const DtResignMsg& msg, void* fedMgr);
  static void processSaveInitiate(const DtSaveInitiateMsg& msg, void* fedMgr);
  static void processSaveResponse(const DtSaveResponseMsg& msg, void* fedMgr);
  static void processSaveFinished(const DtSaveFinishedMsg& msg, void* fedMgr);
  static void processRestoreReply(const DtRestoreReplyMsg& msg, void* fedMgr);
  static void processRestore(const DtRestoreMsg& msg, void* fedMgr);
  static void processRestoreInitiate(const DtRestoreInitiateMsg& msg, void* fedMgr);
  static void processRestoreEnd(const DtRestoreEndMsg& msg, void* fedMgr);

  // The heartbeat (kind 32), sent only while the federate has a handle.
  virtual void sendAlive();
  // The clock that paces the heartbeat: DtRealTime unless a test sets another.
  using Clock = std::function<double()>;
  void setClock(Clock clock) { clock_ = std::move(clock); }
  virtual void sendResignMsg(const char* executionName, unsigned long federateHandle, RTI::ResignAction action);

  // Transport and order names and handles; a returned name is a new array
  // that the caller frees with delete[]. InvalidTransportationHandle,
  // InvalidOrderingHandle (empty reason) for a value other than 0 and 1;
  // NameNotFound (the name as reason) for an unknown name, compared ignoring
  // case.
  virtual char* getTransportationName(DtTransportType type);
  virtual char* getOrderName(DtOrderType type);
  virtual DtTransportType getTransportationHandle(const DtString& name);
  virtual DtOrderType getOrderHandle(const DtString& name);

  // Throws RTI::SaveInProgress or RTI::RestoreInProgress while a save or a
  // restore stands in the way of a service.
  virtual void testSaveProgress() = 0;
  virtual void initiateSave();
  // The federate manager's own record in a save file: none here.
  virtual bool save(DtRtiSaveFile& file);
  virtual bool restore(DtRtiSaveFile& file);

  // <RTI_saveRestoreDirectory>/<label>-<execution>-<federate>-<handle>.sav,
  // each part escaped (DtSaveFileName.h); the flag is not used.
  virtual DtString& getSaveFileName(const char* label, unsigned long federateHandle, DtString& result, char flag);
  virtual DtString& getRestoreFileName(const char* label, unsigned long federateHandle, DtString& result);

  // Joined exactly while an execution name is held.
  bool isJoined() const { return executionName_ != nullptr; }
  const char* federateName() const { return federateName_.get(); }
  const char* executionName() const { return executionName_.get(); }
  RTI::FederateHandle federateHandle() const { return federateHandle_; }
  std::uint32_t executionHandle() const { return executionHandle_; }
  std::uint32_t localNumber() const { return localNumber_; }
  const DtString& currentFedFile() const { return currentFedFile_; }

  DtRIDParameters* params() const { return params_; }
  DtMomMgr* momMgr() const { return momMgr_; }
  // The MOM manager while it is joined with this federate; else null.
  DtMomMgr* joinedMomMgr() const;
  DtConnectionMgr* connectMgr() const { return connectMgr_.get(); }
  DtFomClassMgr* fom() const { return fom_.get(); }
  DtObjectMgr* objMgr() const { return objMgr_.get(); }
  DtInteractionMgr* interMgr() const { return interMgr_.get(); }
  DtTimeMgr* timeMgr() const { return timeMgr_.get(); }
  DtDataDistMgr* ddmMgr() const { return ddmMgr_.get(); }

  bool saveInitiated() const { return saveInitiated_; }
  bool saveBegun() const { return saveBegun_; }
  bool restoreInitiated() const { return restoreInitiated_; }
  bool restoreBegun() const { return restoreBegun_; }
  const DtString& saveLabel() const { return saveLabel_; }
  const DtString& restoreLabel() const { return restoreLabel_; }
  const DtString& lastSaveLabel() const { return lastSaveLabel_; }
  const DtString& lastRestoreLabel() const { return lastRestoreLabel_; }
  // The time of the last timed save (the time manager's pending one first,
  // when there is a time manager).
  RTI::FedTime* saveTime() const;
  // The time of the save last taken (the second save time).
  const RTI::FedTime& lastSaveTime() const { return *secondSaveTime_; }
  // What the management object model reads of this federate.
  DtMomFederate* momView() { return &momView_; }

protected:
  // For subclasses and tests that bring their own connection manager (null:
  // none; the services that need one must then not be called).
  DtFederateMgr(DtRIDParameters* params, std::unique_ptr<DtConnectionMgr> connectMgr);

  // Checks that the FED file can be read (CouldNotOpenFED, ErrorReadingFED
  // as readFedFile) without keeping what it read.
  virtual void testReadFedFile(const DtString& fedFile, const DtString& executionName);

  // Keeps copies of both names (the federate is then joined) or frees them.
  void setJoinedNames(const char* federateName, const char* executionName);
  void clearJoinedNames();

  DtRIDParameters* params_;
  DtMomMgr* momMgr_ = nullptr;                   // not owned
  std::unique_ptr<DtConnectionMgr> connectMgr_;  // the federate's for its whole life
  std::unique_ptr<char[]> federateName_;         // null when not joined
  std::unique_ptr<char[]> executionName_;        // null when not joined
  RTI::FederateHandle federateHandle_ = 0;
  std::uint32_t executionHandle_ = 0;
  std::uint32_t localNumber_ = 0;
  DtString currentFedFile_;
  double heartbeatTime_ = 0.0;
  Clock clock_;
  // From a join to the resignation.
  std::unique_ptr<DtDataDistMgr> ddmMgr_;  // only with RTI_dataDistMgmt
  std::unique_ptr<DtInteractionMgr> interMgr_;
  std::unique_ptr<DtObjectMgr> objMgr_;
  std::unique_ptr<DtTimeMgr> timeMgr_;  // only with RTI_timeMgmt
  std::unique_ptr<RTI::FedTime> saveTime_;
  std::unique_ptr<RTI::FedTime> secondSaveTime_;
  std::unique_ptr<DtFomClassMgr> fom_;
  bool saveInitiated_ = false;
  bool saveBegun_ = false;
  bool restoreInitiated_ = false;
  bool restoreBegun_ = false;
  DtString saveLabel_;
  DtString lastSaveLabel_;
  DtString restoreLabel_;
  DtString lastRestoreLabel_;

private:
  // Managers taken from a federate that resigned inside a callback, deleted
  // when the outermost tick step ends.
  struct Retired;
  // Counts the tick steps in progress (callbacks run inside them).
  class TickStep;

  std::unique_ptr<DtFomClassMgr> readModel(const DtString& fedFile, const DtString& executionName);
  void checkResignAction(RTI::ResignAction action) const;
  // The handlers of a joined federate, from the join to the resignation.
  void subscribeJoinedHandlers();
  void tearDownJoined();
  void retire(Retired&& managers);
  void deleteRetired();

  DtFedReader fedReader_;
  DtFederateMomView momView_{*this};
  // The callback printer, filed (and owned) in the connection manager's
  // wrapper chain as "Printer"; null below notify level 4.
  DtFedAmbWrapper* printer_ = nullptr;
  std::vector<std::unique_ptr<DtFedFileMapping>> fedFileMappings_;
  DtMsgSubscriptions joinedHandlers_;
  bool momJoined_ = false;
  int tickDepth_ = 0;
  std::vector<Retired> retired_;
};
