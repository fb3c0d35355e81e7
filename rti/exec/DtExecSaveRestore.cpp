#include "exec/DtExecSaveRestore.h"

#include <cstdio>
#include <ctime>

#include "config/DtRIDParameters.h"
#include "exec/DtExecTimeMgr.h"
#include "exec/DtFedExec.h"
#include "exec/DtFederate.h"
#include "exec/DtTimeInfo.h"
#include "exec/DtTimeInfoList.h"
#include "msg/DtSaveMsgs.h"
#include "net/DtConnectionMgr.h"
#include "net/DtMakeMsg.h"
#include "util/DtNotify.h"

namespace {

const char* orEmpty(const char* text) { return text ? text : ""; }

// The date of a save's first line, as the C library writes it (with its
// line feed).
std::string dateNow() {
  const std::time_t now = std::time(nullptr);
  char text[64] = {};
  if (!ctime_r(&now, text)) return "\n";
  return text;
}

}  // namespace

DtExecSaveRestore::DtExecSaveRestore(DtFedExec& exec, DtRIDParameters* rid)
    : exec_(exec),
      saveTime_(RTI::FedTimeFactory::makeZero()),
      timeout_(rid->saveRestoreTimeout()),
      directory_(rid->saveRestoreDirectoryPath()) {
  saveTime_->setPositiveInfinity();
  subscribeHandlers();
}

DtExecSaveRestore::~DtExecSaveRestore() { handlers_.clear(); }

void DtExecSaveRestore::subscribeHandlers() {
  DtConnectionMgr* mgr = exec_.connectMgr();
  using Self = DtExecSaveRestore;
  handlers_.add<DtSaveRequestMsg, &Self::processSaveRequest>(mgr, this);
  handlers_.add<DtSaveRequestTsoMsg, &Self::processSaveRequestTso>(mgr, this);
  handlers_.add<DtSaveTimeAdvanceMsg, &Self::processSaveTimeAdvance>(mgr, this);
  handlers_.add<DtSaveBegunMsg, &Self::processSaveBegun>(mgr, this);
  handlers_.add<DtSaveCompleteMsg, &Self::processSaveComplete>(mgr, this);
  handlers_.add<DtRestoreRequestMsg, &Self::processRestoreRequest>(mgr, this);
  handlers_.add<DtRestoreBegunMsg, &Self::processRestoreBegun>(mgr, this);
  handlers_.add<DtRestoreCompleteMsg, &Self::processRestoreComplete>(mgr, this);
}

bool DtExecSaveRestore::mine(const DtRtiMsg& msg) const {
  return msg.isForExec(exec_.fedExName(), exec_.fedExHandle()) != 0;
}

int DtExecSaveRestore::joinRefusal() const {
  if (saveInProgress_ || timedSavePending_) return 2;
  if (restoreInProgress_) return 3;
  return 0;
}

std::string DtExecSaveRestore::getSaveFileName(const char* label) const {
  return DtExecSaveFile::fileName(directory_, label, exec_.fedExName().string());
}

// Sending ------------------------------------------------------------------------

void DtExecSaveRestore::sendStamped(DtRtiMsg* msg) {
  if (!msg) return;
  DtConnectionMgr* mgr = exec_.connectMgr();
  msg->setFedEx(exec_.fedExHandle());
  mgr->sendAndDelete(msg, mgr->internalTransportType(), 0);
}

void DtExecSaveRestore::sendSaveResponse(unsigned long requester, const char* label, std::uint16_t flag) {
  auto msg = DtMakeMsg<DtSaveResponseMsg>(*exec_.connectMgr());
  if (!msg) return;
  msg->set(requester, label, flag);
  sendStamped(msg.release());
}

void DtExecSaveRestore::sendRestoreReply(unsigned long requester, const char* label, int code) {
  auto msg = DtMakeMsg<DtRestoreReplyMsg>(*exec_.connectMgr());
  if (!msg) return;
  msg->setLabel(label);
  msg->setReply(static_cast<DtRestoreReplyMsg::replyCodes>(code));
  msg->setDestinationID(requester);
  sendStamped(msg.release());
}

void DtExecSaveRestore::sendSaveTimeMsg(const RTI::FedTime& time) {
  auto msg = DtMakeMsg<DtSaveTimeMsg>(*exec_.connectMgr());
  if (!msg) return;
  msg->set(time);
  sendStamped(msg.release());
}

void DtExecSaveRestore::resetHeartbeats() {
  const float timeout = exec_.federateTimeout();
  if (!(timeout > 0)) return;
  const double next = exec_.now() + timeout;
  for (DtFederate* federate : exec_.federates()) federate->setHeartbeat(next);
}

void DtExecSaveRestore::reportAll() {
  reporting_.clear();
  for (DtFederate* federate : exec_.federates()) reporting_.insert(static_cast<std::uint32_t>(federate->getHandle()));
}

// Save ------------------------------------------------------------------------------

void DtExecSaveRestore::processSaveRequest(const DtSaveRequestMsg& msg) {
  if (!mine(msg)) return;
  const char* label = orEmpty(msg.label());
  // A save runs for every federate at once: a second one, even before the
  // first has begun, would reach federates that already hold messages back
  // for the first and so start a save nobody counts.
  if (saveInProgress_ || restoreInProgress_) {
    DtNotifyVerbose("Save request already in progress");
    sendSaveResponse(msg.federateHandle(), label, 0);
    return;
  }
  // A timed save that the federation's bound has not reached yet holds the
  // constrained federates at its time: it stands, and the request is
  // refused (it was left without an answer, and its requester gave up).
  if (timedSavePending_ && *saveTime_ < exec_.timeMgmt().lagLbts()) {
    DtNotifyVerbose("Timed save request pending already in progress\n");
    sendSaveResponse(msg.federateHandle(), label, 0);
    return;
  }
  timedSavePending_ = false;
  requester_ = static_cast<std::uint32_t>(msg.federateHandle());
  initiateSave(label);
}

void DtExecSaveRestore::processSaveRequestTso(const DtSaveRequestTsoMsg& msg) {
  if (!mine(msg)) return;
  if (saveInProgress_ || restoreInProgress_) {
    DtNotifyVerbose("Save request already in progress");
    return;
  }
  if (timedSavePending_) {
    DtNotifyVerbose("Timed save request pending already in progress\n");
    return;
  }
  requester_ = static_cast<std::uint32_t>(msg.federateHandle());
  const char* label = orEmpty(msg.label());
  *saveTime_ = msg.time();
  if (exec_.timeMgmt().constrainedByTime().count() == 0) {
    initiateSave(label);
    return;
  }
  timeReached_.clear();
  DtNotifyVerbose("Starting save, label: %s\n", label);
  sendSaveTimeMsg(*saveTime_);
  timedSavePending_ = true;
  label_ = label;
  // A constrained federate that never reaches the time must not hold the
  // federation for good.
  deadline_ = exec_.now() + timeout_;
}

void DtExecSaveRestore::processSaveTimeAdvance(const DtSaveTimeAdvanceMsg& msg) {
  if (!mine(msg) || !timedSavePending_ || saveInProgress_) return;
  timeReached_.insert(static_cast<std::uint32_t>(msg.federateHandle()));
  for (DtTimeInfoItem* item = exec_.timeMgmt().constrainedByTime().first(); item;
       item = static_cast<DtTimeInfoItem*>(item->next())) {
    if (!timeReached_.count(item->info()->federateHandle())) return;
  }
  initiateSave(label_.c_str());
}

void DtExecSaveRestore::initiateSave(const char* label) {
  reportAll();
  DtNotifyVerbose("Starting save, label: %s\n", label);
  deadline_ = exec_.now() + timeout_;
  sendSaveResponse(requester_, label, 1);
  saveInProgress_ = true;
  label_ = label;
}

void DtExecSaveRestore::processSaveBegun(const DtSaveBegunMsg& msg) {
  if (!mine(msg)) return;
  if (saveInProgress_) saveBegun_ = true;
}

void DtExecSaveRestore::processSaveComplete(const DtSaveCompleteMsg& msg) {
  if (!mine(msg) || !saveInProgress_) return;
  if (label_ != orEmpty(msg.label())) {
    DtNotifyVerbose("Federate %d reports save %s, not %s: ignored\n", static_cast<int>(msg.federateHandle()),
                    orEmpty(msg.label()), label_.c_str());
    return;
  }
  const bool success = msg.successIndicator() != 0;
  if (reported(msg.federateHandle(), "save", success)) endSave(success);
}

bool DtExecSaveRestore::reported(unsigned long federate, const char* what, bool success) {
  reporting_.erase(static_cast<std::uint32_t>(federate));
  DtNotifyVerbose("Federate %d reports %s %s\n", static_cast<int>(federate), what, success ? "complete" : "failed");
  return reporting_.empty() || !success;
}

void DtExecSaveRestore::endSave(bool success) {
  bool outcome = false;
  if (success) {
    DtNotifyInfo("All federates and fedex have finished saving\n");
    outcome = save(label_.c_str());
  }
  // A timed save still waiting for its time ends for everyone too: the
  // federates held at it go on.
  if (saveInProgress_ || timedSavePending_) {
    auto msg = DtMakeMsg<DtSaveFinishedMsg>(*exec_.connectMgr());
    if (msg) {
      msg->set(label_.c_str(), outcome ? 1 : 0);
      sendStamped(msg.release());
    }
    reporting_.clear();
    saveInProgress_ = false;
    if (!outcome && std::remove(getSaveFileName(label_.c_str()).c_str()) == 0) {
      DtNotifyInfo("Save %s failed: its save file is removed\n", label_.c_str());
    }
  }
  timedSavePending_ = false;
  timeReached_.clear();
  deadline_ = 0;
  exec_.timeMgmt().announceBounds();
  saveBegun_ = false;
  resetHeartbeats();
}

bool DtExecSaveRestore::save(const char* label) {
  const std::string name = getSaveFileName(label);
  std::string reason;
  const std::optional<std::string> bytes = DtExecSaveFile::format(exec_.savedState(), label, dateNow(), &reason);
  if (!bytes) {
    DtNotifyError("Save %s cannot be written: %s\n", label, reason.c_str());
    return false;
  }
  DtNotifyInfo("Begin save %s to file %s\n", label, name.c_str());
  if (!DtExecSaveFile::write(name, *bytes, &reason)) {
    DtNotifyError("unable to open save file %s\n", name.c_str());
    DtNotifyError("Save file %s not written: %s\n", name.c_str(), reason.c_str());
    return false;
  }
  DtNotifyInfo("Finished save %s to file %s\n", label, name.c_str());
  return true;
}

// Restore ---------------------------------------------------------------------------

void DtExecSaveRestore::processRestoreRequest(const DtRestoreRequestMsg& msg) {
  if (!mine(msg)) return;
  const char* label = orEmpty(msg.label());
  const unsigned long requester = msg.federateHandle();
  if (restoreInProgress_ || saveInProgress_ || timedSavePending_) {
    sendRestoreReply(requester, label, DtRestoreReplyMsg::RestoreInProgress);
    DtNotifyVerbose("Restore request already in progress\n");
    return;
  }
  const int verdict = verifyRestore(label);
  if (verdict == -1) {
    sendRestoreReply(requester, label, DtRestoreReplyMsg::NoLabel);
    DtNotifyVerbose("Restore %s not found\n", label);
    return;
  }
  if (verdict != 0) {
    sendRestoreReply(requester, label, DtRestoreReplyMsg::WrongConfiguration);
    DtNotifyVerbose("Restore %s configuration does not match\n", label);
    return;
  }
  sendRestoreReply(requester, label, DtRestoreReplyMsg::RestoreOk);
  reportAll();
  DtNotifyVerbose("Starting Restore, label: %s\n", label);
  deadline_ = exec_.now() + timeout_;
  auto restoreMsg = DtMakeMsg<DtRestoreMsg>(*exec_.connectMgr());
  if (restoreMsg) {
    restoreMsg->set(label);
    sendStamped(restoreMsg.release());
  }
  restoreInProgress_ = true;
  label_ = label;
}

void DtExecSaveRestore::processRestoreBegun(const DtRestoreBegunMsg& msg) {
  if (!mine(msg) || !restoreInProgress_) return;
  const bool began = msg.responseFlag() == 0;
  reporting_.erase(static_cast<std::uint32_t>(msg.federateHandle()));
  DtNotifyVerbose("Federate %d reports restore begun %s\n", static_cast<int>(msg.federateHandle()),
                  began ? "Succeeded" : "failed");
  if (!began) {
    endRestore(false);
    return;
  }
  if (!reporting_.empty()) return;
  // Everyone has begun: each federate takes the saved handle of the first
  // saved federate of its name not taken yet.
  reportAll();
  for (DtFederate* federate : exec_.federates()) {
    for (auto saved = savedFederates_.begin(); saved != savedFederates_.end(); ++saved) {
      if (saved->name != federate->getName()) continue;
      handleMap_[saved->handle] = static_cast<std::uint32_t>(federate->getConnectionHandle());
      auto initiate = DtMakeMsg<DtRestoreInitiateMsg>(*exec_.connectMgr());
      if (initiate) {
        initiate->set(federate->getHandle(), saved->handle);
        sendStamped(initiate.release());
      }
      savedFederates_.erase(saved);
      break;
    }
  }
  DtNotifyVerbose("Initiate restore\n");
  deadline_ = exec_.now() + timeout_;
}

void DtExecSaveRestore::processRestoreComplete(const DtRestoreCompleteMsg& msg) {
  if (!mine(msg) || !restoreInProgress_) return;
  const bool success = msg.successIndicator() != 0;
  if (reported(msg.federateHandle(), "restore", success)) endRestore(success);
}

void DtExecSaveRestore::endRestore(bool success) {
  bool outcome = false;
  if (success) {
    DtNotifyInfo("All federates and fedex have finished restoring\n");
    outcome = restore(label_.c_str());
  }
  auto msg = DtMakeMsg<DtRestoreEndMsg>(*exec_.connectMgr());
  if (msg) {
    msg->set(label_.c_str(), outcome ? 1 : 0);
    sendStamped(msg.release());
  }
  if (outcome) exec_.timeMgmt().announceBounds();
  reporting_.clear();
  savedFederates_.clear();
  handleMap_.clear();
  restoreInProgress_ = false;
  deadline_ = 0;
  resetHeartbeats();
}

int DtExecSaveRestore::verifyRestore(const char* label) {
  const std::string name = getRestoreFileName(label);
  std::string reason;
  const std::optional<std::string> bytes = DtExecSaveFile::read(name, &reason);
  if (!bytes) return -1;
  const std::optional<DtExecSavedState> state = DtExecSaveFile::parse(*bytes, &reason);
  if (!state) {
    DtNotifyError("Save file %s is damaged: %s\n", name.c_str(), reason.c_str());
    return -2;
  }
  if (state->fedFile != exec_.fedFileName().string()) {
    DtNotifyInfo("FedFile: %s vs %s\n", exec_.fedFileName().string(), state->fedFile.c_str());
    return -2;
  }
  if (state->federates.size() != static_cast<std::size_t>(exec_.numFederates())) {
    DtNotifyError("Number federates(%d) does not match save file(%d)\n", exec_.numFederates(),
                  static_cast<int>(state->federates.size()));
    return -2;
  }
  std::multiset<std::string> names;
  for (const DtExecSavedFederate& saved : state->federates) names.insert(saved.name);
  for (DtFederate* federate : exec_.federates()) {
    const auto found = names.find(federate->getName());
    if (found == names.end()) {
      DtNotifyError("Fedtype %s not found in save file\n", federate->getName());
      return -2;
    }
    names.erase(found);
  }
  savedFederates_ = state->federates;
  handleMap_.clear();
  return 0;
}

bool DtExecSaveRestore::restore(const char* label) {
  const std::string name = getRestoreFileName(label);
  std::string reason;
  const std::optional<std::string> bytes = DtExecSaveFile::read(name, &reason);
  const std::optional<DtExecSavedState> state = bytes ? DtExecSaveFile::parse(*bytes, &reason) : std::nullopt;
  if (!state) {
    DtNotifyError("unable to open save file %s\n", name.c_str());
    DtNotifyError("Save file %s not read back: %s\n", name.c_str(), reason.c_str());
    return false;
  }
  saveInProgress_ = false;
  timedSavePending_ = false;
  exec_.restoreState(*state, handleMap_);
  return true;
}

// The deadline and departures ----------------------------------------------------

void DtExecSaveRestore::tickSaveRestore() {
  if (deadline_ == 0 || !(exec_.now() > deadline_)) return;
  reporting_.clear();
  if (saveInProgress_ || timedSavePending_) {
    DtNotifyError("Timed out save\n");
    endSave(false);
  }
  if (restoreInProgress_) {
    DtNotifyError("Timed out restore\n");
    endRestore(false);
  }
}

void DtExecSaveRestore::federateLeft(unsigned long handle) {
  const auto federate = static_cast<std::uint32_t>(handle);
  if (saveInProgress_ || timedSavePending_) {
    reporting_.erase(federate);
    DtNotifyInfo("Federate %d resigned during save\n", static_cast<int>(handle));
    endSave(false);
  }
  if (restoreInProgress_) {
    reporting_.erase(federate);
    DtNotifyInfo("Federate %d resigned during restore\n", static_cast<int>(handle));
    endRestore(false);
  }
}
