// The federate's half of federation save and restore with the rtiexec: the
// services, the rtiexec's messages, and the federate manager's own records
// in the save file.
#include <cstring>
#include <memory>

#include "core/DtFederateSaveStages.h"
#include "core/DtRtiExecFederateMgr.h"
#include "core/DtTimeMgr.h"
#include "net/DtMakeMsg.h"
#include "objects/DtObjectMgr.h"
#include "save/DtRtiSaveFile.h"
#include "save/DtSavePackets.h"
#include "save/DtSavedMessages.h"
#include "util/DtNotify.h"

namespace {

const char* orEmpty(const char* text) { return text ? text : ""; }

}  // namespace

template <class Msg, class... Args>
void DtRtiExecFederateMgr::sendInternal(Args&&... args) {
  auto msg = DtMakeMsg<Msg>(*connectMgr_);
  if (!msg) return;
  msg->set(std::forward<Args>(args)...);
  connectMgr_->sendStampedAndDelete(msg.release(), connectMgr_->internalTransportType(), 0);
}

// Sent -------------------------------------------------------------------------

void DtRtiExecFederateMgr::sendSaveRequestMsg(const char* label) { sendInternal<DtSaveRequestMsg>(label); }

void DtRtiExecFederateMgr::sendSaveRequestTsoMsg(const char* label, const RTI::FedTime& time) {
  sendInternal<DtSaveRequestTsoMsg>(label, time);
}

void DtRtiExecFederateMgr::sendSaveCompleteMsg(const char* label, char success) {
  sendInternal<DtSaveCompleteMsg>(label, success);
}

void DtRtiExecFederateMgr::sendSaveBegunMsg() {
  auto msg = DtMakeMsg<DtSaveBegunMsg>(*connectMgr_);
  if (msg) connectMgr_->sendStampedAndDelete(msg.release(), connectMgr_->internalTransportType(), 0);
}

void DtRtiExecFederateMgr::sendRestoreRequestMsg(const char* label) { sendInternal<DtRestoreRequestMsg>(label); }

void DtRtiExecFederateMgr::sendRestoreBegunMsg(const char* label, DtResponseFlag flag) {
  sendInternal<DtRestoreBegunMsg>(federateHandle_, label, flag);
}

void DtRtiExecFederateMgr::sendRestoreCompleteMsg(const char* label, char success) {
  sendInternal<DtRestoreCompleteMsg>(label, success);
}

// The services -------------------------------------------------------------------

void DtRtiExecFederateMgr::testSaveProgress() {
  // Between this federate's completion and the federation's answer the
  // save label is already cleared: the last one is the save's.
  if (saveInitiated_) throw RTI::SaveInProgress(saveLabel_ == "" ? lastSaveLabel_.string() : saveLabel_.string());
  if (restoreBegun_) throw RTI::RestoreInProgress(restoreLabel_.string());
}

void DtRtiExecFederateMgr::requestFederationSave(const char* label, const RTI::FedTime* time) {
  label = orEmpty(label);
  // The rtiexec keeps the label on a line of its save file.
  if (std::strchr(label, '\n')) {
    DtNotifyError("requestFederationSave: the label holds a line feed\n");
    throw RTI::RTIinternalError("requestFederationSave: a save label may not hold a line feed");
  }
  saveLabel_ = label;
  if (time) {
    sendSaveRequestTsoMsg(label, *time);
    return;
  }
  requestImmediateSave(label);
}

void DtRtiExecFederateMgr::processSaveResponse(const DtSaveResponseMsg& msg) {
  // A refusal answers its requester alone; it starts nothing anywhere.
  if (msg.responseFlag() == 0) return;
  pendingSaveInitiate_ = orEmpty(msg.label());
}

void DtRtiExecFederateMgr::processSaveInitiate(const DtSaveInitiateMsg& msg) { processSaveInitiate(msg.label()); }

void DtRtiExecFederateMgr::posttick() {
  DtFederateMgr::posttick();
  if (!pendingSaveInitiate_ || !isJoined()) return;
  const std::string label = *pendingSaveInitiate_;
  pendingSaveInitiate_.reset();
  processSaveInitiate(label.c_str());
}

void DtRtiExecFederateMgr::processSaveInitiate(const char* label) {
  saveLabel_ = orEmpty(label);
  // A constrained federate saves where its advances allow.
  if (timeMgr_) {
    timeMgr_->saveInitiated();
  } else {
    initiateSave();
  }
}

void DtRtiExecFederateMgr::takeSaveTime() {
  // The save's time becomes the federate manager's; the time manager's goes.
  saveTime();
  *secondSaveTime_ = *saveTime_;
  if (timeMgr_) timeMgr_->clearPendingSaveTime();
}

void DtRtiExecFederateMgr::initiateSave() {
  saveInitiated_ = true;
  connectMgr_->setSaveInProgress(1);
  if (RTI::FederateAmbassador* fedAmb = connectMgr_->fedAmb()) fedAmb->initiateFederateSave(saveLabel_.string());
}

void DtRtiExecFederateMgr::federateSaveBegun() {
  sendSaveBegunMsg();
  saveBegun_ = true;
}

void DtRtiExecFederateMgr::federateSaveComplete() {
  if (!saveBegun_) throw RTI::SaveNotInitiated("Save not begun");
  DtString name;
  getSaveFileName(saveLabel_.string(), federateHandle_, name, 0);
  DtRtiSaveFile file(name.string(), false);
  bool saved = file.isOk();
  if (!saved) {
    DtNotifyError("Cannot open the save file %s: save %s not complete\n", name.string(), saveLabel_.string());
  } else {
    DtNotifyInfo("Begin save %s to file %s\n", saveLabel_.string(), name.string());
    saved = DtFederateSaveStages(*this).save(file);
    // Bytes lost at the last flush or at the close count as lost too.
    if (!file.close() && saved) {
      DtNotifyError("The save file %s could not be written whole\n", name.string());
      saved = false;
    }
    if (saved) {
      DtNotifyInfo("Finished save %s\n", saveLabel_.string());
    } else {
      DtNotifyError("Save %s not complete\n", saveLabel_.string());
    }
  }
  sendSaveCompleteMsg(saveLabel_.string(), saved ? 1 : 0);
  takeSaveTime();
  // Answered once: a second answer is refused.
  saveBegun_ = false;
  lastSaveLabel_ = saveLabel_;
  saveLabel_ = "";
}

void DtRtiExecFederateMgr::federateSaveNotComplete() {
  sendSaveCompleteMsg(saveLabel_.string(), 0);
  lastSaveLabel_ = saveLabel_;
  takeSaveTime();
  saveLabel_ = "";
  saveInitiated_ = false;
  saveBegun_ = false;
  connectMgr_->setSaveInProgress(0);
}

void DtRtiExecFederateMgr::endSaveHere() {
  pendingSaveInitiate_.reset();
  saveInitiated_ = false;
  saveBegun_ = false;
  connectMgr_->setSaveInProgress(0);
}

void DtRtiExecFederateMgr::processSaveFinished(const DtSaveFinishedMsg& msg) {
  // The state is the federation's again before the federate hears it, so
  // that it may call services from the callback.
  endSaveHere();
  if (RTI::FederateAmbassador* fedAmb = connectMgr_->fedAmb()) {
    if (msg.successIndicator()) {
      fedAmb->federationSaved();
    } else {
      fedAmb->federationNotSaved();
    }
  }
  // A grant held for the save comes after the federate heard the outcome.
  if (timeMgr_) timeMgr_->saveCompleted();
}

// Restore --------------------------------------------------------------------------

void DtRtiExecFederateMgr::requestFederationRestore(const char* label) {
  label = orEmpty(label);
  sendRestoreRequestMsg(label);
  restoreLabel_ = label;
}

void DtRtiExecFederateMgr::processRestoreReply(const DtRestoreReplyMsg& msg) {
  if (msg.destinationID() != connectMgr_->fedHandle()) return;
  RTI::FederateAmbassador* fedAmb = connectMgr_->fedAmb();
  if (!fedAmb) return;
  const char* label = orEmpty(msg.label());
  switch (msg.reply()) {
    case DtRestoreReplyMsg::RestoreOk: fedAmb->requestFederationRestoreSucceeded(label); return;
    case DtRestoreReplyMsg::NoLabel: fedAmb->requestFederationRestoreFailed(label, "Label not found"); return;
    case DtRestoreReplyMsg::WrongConfiguration:
      fedAmb->requestFederationRestoreFailed(label, "Current configuration does not match save");
      return;
    case DtRestoreReplyMsg::RestoreInProgress:
      fedAmb->requestFederationRestoreFailed(label, "Another request is being processed");
      return;
  }
  fedAmb->requestFederationRestoreFailed(label, "unknown error");
}

void DtRtiExecFederateMgr::processRestore(const DtRestoreMsg& msg) {
  connectMgr_->setSaveInProgress(1);
  if (objMgr_) objMgr_->setRestoreInProgress(true);
  restoreLabel_ = orEmpty(msg.label());
  restoreBegun_ = true;
  restoreInitiated_ = false;
  restoredHandle_.reset();
  handleBeforeRestore_ = federateHandle_;
  if (RTI::FederateAmbassador* fedAmb = connectMgr_->fedAmb()) fedAmb->federationRestoreBegun();
  sendRestoreBegunMsg(restoreLabel_.string(), 0);
}

bool DtRtiExecFederateMgr::readRestoreFile(unsigned long savedHandle) {
  DtString name;
  getRestoreFileName(restoreLabel_.string(), savedHandle, name);
  DtRtiSaveFile file(name.string(), true);
  if (!file.isOk()) {
    DtNotifyError("Cannot open the restore file %s\n", name.string());
    return false;
  }
  DtNotifyInfo("Begin restore %s from file %s\n", restoreLabel_.string(), name.string());
  if (!DtFederateSaveStages(*this).restore(file)) return false;
  // The file is this federate's under the saved handle, or it is not its.
  if (federateHandle_ != savedHandle) {
    DtNotifyError("The restore file %s holds federate %lu, not %lu\n", name.string(),
                  static_cast<unsigned long>(federateHandle_), savedHandle);
    return false;
  }
  DtNotifyInfo("Finished restore %s\n", restoreLabel_.string());
  return true;
}

void DtRtiExecFederateMgr::processRestoreInitiate(const DtRestoreInitiateMsg& msg) {
  if (!restoreBegun_ || msg.oldHandle() != connectMgr_->fedHandle()) return;
  if (!readRestoreFile(msg.newHandle())) {
    // Not restored: the RTI answers for the federate at once, so that the
    // whole federation ends the restore with federationNotRestored rather
    // than go on from a state that is partly this file's.
    sendRestoreCompleteMsg(restoreLabel_.string(), 0);
    return;
  }
  restoredHandle_ = federateHandle_;
  restoreInitiated_ = true;
  if (RTI::FederateAmbassador* fedAmb = connectMgr_->fedAmb()) {
    fedAmb->initiateFederateRestore(restoreLabel_.string(), federateHandle_);
  }
}

void DtRtiExecFederateMgr::federateRestoreComplete() {
  sendRestoreCompleteMsg(restoreLabel_.string(), 1);
  restoreInitiated_ = false;
}

void DtRtiExecFederateMgr::federateRestoreNotComplete() {
  sendRestoreCompleteMsg(restoreLabel_.string(), 0);
  restoreInitiated_ = false;
}

void DtRtiExecFederateMgr::endRestoreHere() {
  restoreBegun_ = false;
  restoreInitiated_ = false;
  restoredHandle_.reset();
  lastRestoreLabel_ = restoreLabel_;
  connectMgr_->setSaveInProgress(0);
  if (objMgr_) objMgr_->setRestoreInProgress(false);
}

void DtRtiExecFederateMgr::processRestoreEnd(const DtRestoreEndMsg& msg) {
  if (!restoreBegun_) return;
  const bool restored = msg.successIndicator() && restoredHandle_;
  if (restored) {
    federateHandle_ = *restoredHandle_;
    connectMgr_->setFederateHandle(federateHandle_);
  } else {
    if (msg.successIndicator()) DtNotifyError("The federation was restored, but this federate was not\n");
    federateHandle_ = handleBeforeRestore_;
  }
  endRestoreHere();
  if (RTI::FederateAmbassador* fedAmb = connectMgr_->fedAmb()) {
    if (restored) {
      fedAmb->federationRestored();
    } else {
      fedAmb->federationNotRestored();
    }
  }
  if (timeMgr_) timeMgr_->saveCompleted();
}

// The federate manager's own records --------------------------------------------

bool DtRtiExecFederateMgr::save(DtRtiSaveFile& file) {
  // The held messages come off the list to be written and go back in order.
  std::vector<std::unique_ptr<DtRtiMsg>> held;
  while (DtRtiMsg* msg = connectMgr_->nextPendingMsg()) held.emplace_back(msg);
  bool written = file.writePacket(DtFedMgrPacket::build(static_cast<std::uint32_t>(federateHandle_),
                                                        {syncLabels_.begin(), syncLabels_.end()},
                                                        static_cast<std::uint32_t>(held.size())));
  std::vector<const DtRtiMsg*> msgs;
  msgs.reserve(held.size());
  for (const std::unique_ptr<DtRtiMsg>& msg : held) msgs.push_back(msg.get());
  written = DtWriteSavedMessages(file, msgs) && written;
  for (std::unique_ptr<DtRtiMsg>& msg : held) connectMgr_->addPendingMsg(msg.release());
  return written;
}

bool DtRtiExecFederateMgr::restore(DtRtiSaveFile& file) {
  const DtSavePacket* record = file.readNextPacket();
  if (!record || record->type() != DtFedMgrPacket::theType) {
    DtNotifyError("FedMgr received an incorrect save packet, restore aborted\n");
    return false;
  }
  const std::optional<std::vector<std::string>> labels = DtFedMgrPacket::labels(*record);
  if (!labels) {
    DtNotifyError("FedMgr received a damaged save packet (%u bytes), restore aborted\n", record->size());
    return false;
  }
  const std::uint32_t messages = record->u32(DtFedMgrPacket::messageCountAt);
  federateHandle_ = record->u32(DtFedMgrPacket::federateAt);
  syncLabels_ = std::set<std::string>(labels->begin(), labels->end());
  connectMgr_->emptyPendingMsgList();
  for (std::uint32_t k = 0; k < messages; ++k) {
    std::unique_ptr<DtRtiMsg> msg;
    const DtSavedMessageRead read =
        DtReadSavedMessage(file, *connectMgr_->msgFactory(), static_cast<int>(executionHandle_), &msg);
    if (read == DtSavedMessageRead::NotSaved) {
      DtNotifyError("FedMgr read an incorrect message save packet, restore aborted\n");
      return false;
    }
    if (msg) connectMgr_->addPendingMsg(msg.release());
  }
  return true;
}
