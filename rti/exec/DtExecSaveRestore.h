#pragma once
// DtExecSaveRestore: federation save and restore for one execution inside
// the rtiexec. It takes a save or restore request from one federate, tells
// every joined federate, counts their answers, gives up at a deadline, and
// at the end writes (or reads back) the execution's own save file
// (DtExecSaveFile).
//
//   save:    request (33) -> answer to all (66, flag 1: every federate
//            starts; flag 0 to a request while a save or restore runs) ->
//            begun (70) -> each federate's completion (35) -> when all
//            completed: the execution's file, then finished (36) to all,
//            with success only when every file was written
//   timed:   request at a time T (63) -> T to all (64); each constrained
//            federate stops its advances at T and reports it (65) -> when
//            all have: the save starts as above (the requester's answer,
//            66). Without constrained federates it starts at once.
//   restore: request (37) -> reply to the requester (38: 0 accepted, 1 no
//            such save, 2 another federation, 3 busy) -> restore (39) to all
//            -> each federate's begun (67) -> when all began: one initiate
//            (68) per federate, naming the saved handle of its namesake ->
//            each federate's completion (40) -> when all completed: the
//            execution's file is read back, then the end (41) to all
// A failure reported by any federate, a federate that leaves, or the
// deadline (RTI_saveRestoreTimeout seconds from the start, from a timed
// request too, and for a restore again from its second phase) ends the save
// or restore for every federate with failure; a timed save still waiting
// for its time ends the same way (finished, 36, with failure), so that the
// federates held at T go on. A failed save removes the execution's file of its
// label: the federates' files of that label may be partly new, and a
// restore must not mix them with the older ones.
//
// The execution (DtFedExec) owns it; every message of another execution is
// ignored. It registers its handlers for as long as it lives. Its deadline
// reads the execution's clock. Used on the rtiexec's thread only.

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "RTI.hh"
#include "exec/DtExecSaveFile.h"
#include "msg/DtMsgSubscriptions.h"

class DtFedExec;
class DtRIDParameters;
class DtRestoreBegunMsg;
class DtRestoreCompleteMsg;
class DtRestoreRequestMsg;
class DtRtiMsg;
class DtSaveBegunMsg;
class DtSaveCompleteMsg;
class DtSaveRequestMsg;
class DtSaveRequestTsoMsg;
class DtSaveTimeAdvanceMsg;

class DtExecSaveRestore {
public:
  DtExecSaveRestore(DtFedExec& exec, DtRIDParameters* rid);
  DtExecSaveRestore(const DtExecSaveRestore&) = delete;
  DtExecSaveRestore& operator=(const DtExecSaveRestore&) = delete;
  virtual ~DtExecSaveRestore();

  // The federates' messages.
  virtual void processSaveRequest(const DtSaveRequestMsg& msg);
  virtual void processSaveRequestTso(const DtSaveRequestTsoMsg& msg);
  virtual void processSaveTimeAdvance(const DtSaveTimeAdvanceMsg& msg);
  virtual void processSaveBegun(const DtSaveBegunMsg& msg);
  virtual void processSaveComplete(const DtSaveCompleteMsg& msg);
  virtual void processRestoreRequest(const DtRestoreRequestMsg& msg);
  virtual void processRestoreBegun(const DtRestoreBegunMsg& msg);
  virtual void processRestoreComplete(const DtRestoreCompleteMsg& msg);

  // Starts a save of every federate under the label, answering the
  // requesting federate's request.
  virtual void initiateSave(const char* label);
  // The end of the save: the execution's file when `success`, then the
  // outcome to every federate.
  virtual void endSave(bool success);
  virtual void endRestore(bool success);
  // The execution's file of the label: written; -1 when there is none, -2
  // when it is not this execution's (another FED file, other federates) or
  // damaged, 0 when it matches; read back into the execution.
  virtual bool save(const char* label);
  virtual int verifyRestore(const char* label);
  virtual bool restore(const char* label);
  std::string getSaveFileName(const char* label) const;
  std::string getRestoreFileName(const char* label) const { return getSaveFileName(label); }

  // Ends a save or restore whose deadline has passed.
  virtual void tickSaveRestore();
  // A federate has left: a save or restore in progress cannot be whole.
  virtual void federateLeft(unsigned long handle);

  bool saveInProgress() const { return saveInProgress_; }
  bool restoreInProgress() const { return restoreInProgress_; }
  bool timedSavePending() const { return timedSavePending_; }
  bool saveBegun() const { return saveBegun_; }
  const std::string& label() const { return label_; }
  // The error value of a join request now: 2 during a save (or a timed save
  // pending), 3 during a restore, 0 otherwise.
  int joinRefusal() const;
  // The federates still to report in the current phase.
  const std::set<std::uint32_t>& reporting() const { return reporting_; }
  // A timed save's time (positive infinity before the first), and the
  // constrained federates that have reached it.
  const RTI::FedTime& saveTime() const { return *saveTime_; }
  const std::set<std::uint32_t>& timeReached() const { return timeReached_; }
  // The end of the current phase on the execution's clock; 0 when none runs.
  double deadline() const { return deadline_; }

protected:
  void sendStamped(DtRtiMsg* msg);
  virtual void sendSaveResponse(unsigned long requester, const char* label, std::uint16_t flag);
  virtual void sendRestoreReply(unsigned long requester, const char* label, int code);
  virtual void sendSaveTimeMsg(const RTI::FedTime& time);
  // Every federate's heartbeat starts afresh after a save or restore, during
  // which nobody was dropped for silence.
  void resetHeartbeats();
  void reportAll();
  // The federate has reported how its part went: true when that ends the
  // phase (everyone reported, or it failed).
  bool reported(unsigned long federate, const char* what, bool success);
  bool mine(const DtRtiMsg& msg) const;

  DtFedExec& exec_;
  bool saveInProgress_ = false;
  bool restoreInProgress_ = false;
  bool timedSavePending_ = false;
  bool saveBegun_ = false;
  std::set<std::uint32_t> reporting_;
  std::string label_;
  std::uint32_t requester_ = 0;
  std::unique_ptr<RTI::FedTime> saveTime_;
  std::set<std::uint32_t> timeReached_;
  double deadline_ = 0;
  int timeout_;
  std::string directory_;
  // The federates of the save being restored not yet given to a current
  // federate, in their order; and each saved handle given -> the
  // connection of its new federate.
  std::vector<DtExecSavedFederate> savedFederates_;
  std::map<std::uint32_t, std::uint32_t> handleMap_;

private:
  void subscribeHandlers();

  DtMsgSubscriptions handlers_;
};
