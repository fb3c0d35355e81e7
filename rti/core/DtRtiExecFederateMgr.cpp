// The federate manager with the rtiexec: the connection handshake, create,
// destroy and join as requests with their answers, resign, and the
// designated federate.
#include "core/DtRtiExecFederateMgr.h"

#include <cstring>

#include "config/DtRIDParameters.h"
#include "mom/DtMomMgr.h"
#include "msg/DtFederationMsgs.h"
#include "msg/DtSyncPointMsg.h"
#include "net/DtAsyncConnectionMgr.h"
#include "net/DtMakeMsg.h"
#include "net/DtRtiConnection.h"
#include "net/DtSocket.h"
#include "util/DtClock.h"
#include "util/DtFilename.h"
#include "util/DtNotify.h"

namespace {

// The FED file's name without its folder (either separator).
DtString baseName(const char* path) {
  const char* base = path;
  for (const char* p = path; *p; ++p) {
    if (*p == '/' || *p == '\\') base = p + 1;
  }
  return DtString(base);
}

const char* orEmpty(const char* text) { return text ? text : ""; }

// The answer about the execution of this name that carries the ticket (or
// none, as an rtiexec that does not bring tickets back answers).
template <class Response>
bool isOwnAnswerTo(const Response& response, const DtString& name, unsigned long ticket) {
  return response.fullFedExName() == name && (response.federateHandle() == ticket || response.federateHandle() == 0);
}

}  // namespace

DtRtiExecFederateMgr::DtRtiExecFederateMgr(DtRIDParameters* params)
    : DtFederateMgr(params), drawnNumber_(localNumber_) {}

DtRtiExecFederateMgr::DtRtiExecFederateMgr(DtRIDParameters* params, std::unique_ptr<DtConnectionMgr> connectMgr)
    : DtFederateMgr(params, std::move(connectMgr)), drawnNumber_(localNumber_) {}

DtRtiExecFederateMgr::~DtRtiExecFederateMgr() {
  joinedHandlers_.clear();
  handlers_.clear();
  // The base releases the number it drew, whatever the rtiexec called us.
  localNumber_ = drawnNumber_;
}

void DtRtiExecFederateMgr::init(DtMomMgr* momMgr) {
  DtFederateMgr::init(momMgr);
  handlers_.add<DtJoinResponseMsg, &DtRtiExecFederateMgr::processJoinResponseMsg>(connectMgr(), this);
  handlers_.add<DtConnectMsg, &DtRtiExecFederateMgr::processConnectMsg>(connectMgr(), this);
  if (!connectMgr_->reliableConn()) return;
  const std::uint32_t remembered = localNumber_;
  localNumber_ = 0;
  DtNotifyVerbose("Waiting to initialize rtiexec connection\n");
  const double deadline = DtRealTime() + params_->responseInterval();
  try {
    while (localNumber_ == 0) {
      if (tick()) continue;
      const double left = deadline - DtRealTime();
      if (left <= 0 || reliableConnBroken()) break;
      connectMgr_->wait(left);
    }
  } catch (const RTI::RTIinternalError&) {
    // The connection broke: reported by the connection manager.
  }
  if (localNumber_ == 0) {
    localNumber_ = remembered;
    DtNotifyError("Failed to initialize rtiexec connection\n");
  }
}

void DtRtiExecFederateMgr::processConnectMsg(const DtConnectMsg& msg) {
  DtNotifyVerbose("Connected to rtiexec with ID %lu\n", msg.connectionHandle());
  localNumber_ = static_cast<std::uint32_t>(msg.connectionHandle());
}

// The wait for an answer ----------------------------------------------------------

bool DtRtiExecFederateMgr::reliableConnBroken() const {
  const DtRtiConnection* reliable = connectMgr_->reliableConn();
  return reliable && !reliable->socket()->isOk();
}

void DtRtiExecFederateMgr::keepForTick(std::unique_ptr<DtRtiMsg> msg) {
  if (!isJoined()) return;
  // As a message held during a save: the management object model's
  // registry has seen it, the others see it at the next tick.
  connectMgr_->momProcessMsg(*msg);
  connectMgr_->addPendingMsg(msg.release());
}

void DtRtiExecFederateMgr::takeReceived() {
  while (std::unique_ptr<DtRtiMsg> msg{connectMgr_->getMessage()}) keepForTick(std::move(msg));
}

std::uint16_t DtRtiExecFederateMgr::ticket() const { return static_cast<std::uint16_t>(localNumber_ % 0xFFFFu + 1); }

template <class Judge>
std::unique_ptr<DtRtiMsg> DtRtiExecFederateMgr::awaitAnswer(Judge&& judge) {
  const double deadline = DtRealTime() + params_->responseInterval();
  for (;;) {
    if (std::unique_ptr<DtRtiMsg> msg{connectMgr_->getMessage()}) {
      switch (judge(*msg)) {
        case Verdict::Answer:
          if (DtGetNotifyLevel() >= 3) {
            DtNotifyVerbose("[=================================================\n");
            DtNotifyVerbose("Received message of size %d\n", msg->size());
            msg->print();
            DtNotifyVerbose("=================================================]\n");
          }
          return msg;
        case Verdict::Other: keepForTick(std::move(msg)); break;
        case Verdict::OtherAnswer: break;  // another federate's answer
      }
      continue;
    }
    const double left = deadline - DtRealTime();
    // No answer can come over a broken connection to the rtiexec.
    if (left <= 0 || reliableConnBroken()) return nullptr;
    connectMgr_->wait(left);
  }
}

void DtRtiExecFederateMgr::requestImmediateSave(const char* label) {
  sendSaveRequestMsg(label);
  DtNotifyVerbose("Waiting for save request response\n");
  // Every federate hears every answer: this federate's is the one that
  // names it. The others, and everything else, wait for the next tick.
  std::unique_ptr<DtRtiMsg> answer = awaitAnswer([&](const DtRtiMsg& msg) {
    const auto* response = dynamic_cast<const DtSaveResponseMsg*>(&msg);
    return response && response->requestingFederate() == connectMgr_->fedHandle() ? Verdict::Answer : Verdict::Other;
  });
  if (!answer) {
    DtNotifyInfo("Could not request save %s:  Could not connect to rtiexec.\n", label);
    throw RTI::RTIinternalError("");
  }
  DtNotifyVerbose("Received save request response\n");
  if (static_cast<const DtSaveResponseMsg&>(*answer).responseFlag() == 0) throw RTI::SaveInProgress("");
  // Accepted: the save starts here as everywhere, from the answer itself.
  connectMgr_->addPendingMsg(answer.release());
}

// Create and destroy ----------------------------------------------------------------

void DtRtiExecFederateMgr::sendCreateMsg(const char* executionName, const DtString& fedFile, DtString* sentName) {
  auto msg = DtMakeMsg<DtCreateMsg>(*connectMgr_);
  if (!msg) return;
  msg->set(executionName, fedFile);
  msg->setFederateHandle(ticket());
  *sentName = msg->fullFedExName();
  connectMgr_->send(*msg, connectMgr_->internalTransportType(), 0);
}

void DtRtiExecFederateMgr::createFederationExecution(const char* executionName, const char* fedFile) {
  executionName = orEmpty(executionName);
  fedFile = orEmpty(fedFile);
  if (isJoined() && std::strcmp(this->executionName(), executionName) == 0) {
    throw RTI::FederationExecutionAlreadyExists("");
  }
  addFedFileNameMapping(executionName, fedFile);
  testReadFedFile(fedFile, executionName);
  DtString sentName;
  takeReceived();
  sendCreateMsg(executionName, baseName(fedFile), &sentName);
  DtNotifyVerbose("Waiting for create response\n");
  const std::unique_ptr<DtRtiMsg> answer = awaitAnswer([&](const DtRtiMsg& msg) {
    const auto* response = dynamic_cast<const DtCreateResponseMsg*>(&msg);
    if (!response) return Verdict::Other;
    return isOwnAnswerTo(*response, sentName, ticket()) ? Verdict::Answer : Verdict::OtherAnswer;
  });
  if (!answer) {
    DtNotifyInfo("Could not create %s:  Could not connect to rtiexec.\n", executionName);
    throw RTI::RTIinternalError("");
  }
  if (static_cast<const DtCreateResponseMsg&>(*answer).responseFlag() == 1) {
    throw RTI::FederationExecutionAlreadyExists("");
  }
}

void DtRtiExecFederateMgr::sendDestroyMsg(const char* executionName, DtString* sentName) {
  auto msg = DtMakeMsg<DtDestroyMsg>(*connectMgr_);
  if (!msg) return;
  msg->set(executionName);
  msg->setFederateHandle(ticket());
  *sentName = msg->fullFedExName();
  connectMgr_->send(*msg, connectMgr_->internalTransportType(), 0);
}

void DtRtiExecFederateMgr::destroyFederationExecution(const char* executionName) {
  executionName = orEmpty(executionName);
  if (isJoined() && std::strcmp(this->executionName(), executionName) == 0) {
    throw RTI::FederatesCurrentlyJoined("");
  }
  DtString sentName;
  takeReceived();
  sendDestroyMsg(executionName, &sentName);
  const std::unique_ptr<DtRtiMsg> answer = awaitAnswer([&](const DtRtiMsg& msg) {
    const auto* response = dynamic_cast<const DtDestroyResponseMsg*>(&msg);
    if (!response) return Verdict::Other;
    return isOwnAnswerTo(*response, sentName, ticket()) ? Verdict::Answer : Verdict::OtherAnswer;
  });
  if (!answer) {
    DtNotifyInfo("Could not destroy %s:  Could not connect to rtiexec.\n", executionName);
    throw RTI::RTIinternalError("");
  }
  switch (static_cast<const DtDestroyResponseMsg&>(*answer).responseFlag()) {
    case 1: throw RTI::FederationExecutionDoesNotExist("");
    case 2: throw RTI::FederatesCurrentlyJoined("");
    default: return;
  }
}

// Join ----------------------------------------------------------------------------------

void DtRtiExecFederateMgr::sendJoinMsg(unsigned long connectionId, const char* executionName, const char* federateName,
                                       DtString* sentName) {
  auto msg = DtMakeMsg<DtJoinMsg>(*connectMgr_);
  if (!msg) return;
  msg->set(connectionId, federateName, executionName);
  *sentName = msg->fullFedExName();
  connectMgr_->send(*msg, connectMgr_->internalTransportType(), 0);
}

void DtRtiExecFederateMgr::sendJoinConfirmMsg(const char* federateName) {
  auto msg = DtMakeMsg<DtJoinConfirmMsg>(*connectMgr_);
  if (!msg) return;
  msg->set(federateName);
  connectMgr_->sendStampedAndDelete(msg.release(), connectMgr_->internalTransportType(), 0);
}

bool DtRtiExecFederateMgr::isOwnJoinResponse(const DtJoinResponseMsg& msg, const DtString& executionName,
                                             const char* federateName) const {
  // The name field holds at most 16 characters: a name that begins with
  // the one in the answer is taken as the same.
  const char* answered = msg.federateName();
  return msg.fullFedExName() == executionName && msg.destinationID() == localNumber_ &&
         std::strncmp(federateName, answered, std::strlen(answered)) == 0;
}

RTI::FederateHandle DtRtiExecFederateMgr::joinFederationExecution(const char* federateName, const char* executionName,
                                                                  RTI::FederateAmbassador* fedAmb) {
  federateName = orEmpty(federateName);
  executionName = orEmpty(executionName);
  DtString sentName;
  takeReceived();
  sendJoinMsg(localNumber_, executionName, federateName, &sentName);
  DtNotifyVerbose("Waiting for join response\n");
  const std::unique_ptr<DtRtiMsg> answer = awaitAnswer([&](const DtRtiMsg& msg) {
    const auto* response = dynamic_cast<const DtJoinResponseMsg*>(&msg);
    if (!response) {
      DtNotifyVerbose("got some other kind of message %d\n", static_cast<int>(msg.msgKind()));
      return Verdict::Other;
    }
    return isOwnJoinResponse(*response, sentName, federateName) ? Verdict::Answer : Verdict::OtherAnswer;
  });
  if (!answer) {
    DtNotifyInfo("Could not join %s:  Could not connect to rtiexec.\n", executionName);
    throw RTI::RTIinternalError("");
  }
  const auto& response = static_cast<const DtJoinResponseMsg&>(*answer);
  switch (response.errorValue()) {
    case 0: break;
    case 1: throw RTI::FederationExecutionDoesNotExist("");
    case 2: throw RTI::SaveInProgress("");
    case 3: throw RTI::RestoreInProgress("");
    default: throw RTI::RTIinternalError("");
  }
  const RTI::FederateHandle handle = response.federateHandleToUse();
  const DtString fedFile = fedFileToRead(executionName, DtString(response.fedFileName()));
  federateHandle_ = handle;
  executionHandle_ = response.fedexHandleToUse();
  try {
    readFedFile(fedFile, executionName);
    postJoinInit(federateName, executionName, fedAmb);
  } catch (...) {
    withdrawJoin(executionName, handle);
    federateHandle_ = 0;
    executionHandle_ = 0;
    throw;
  }
  sendJoinConfirmMsg(federateName);
  currentFedFile_ = fedFile;
  subscribeJoinedHandlers();
  return handle;
}

DtString DtRtiExecFederateMgr::fedFileToRead(const char* executionName, const DtString& answered) {
  const DtString mapped = fedFileName(executionName);
  return DtFilename(mapped).baseName() == answered ? mapped : answered;
}

void DtRtiExecFederateMgr::withdrawJoin(const char* executionName, unsigned long handle) {
  // A resign of the handle given ends the rtiexec's pending join.
  auto msg = DtMakeMsg<DtResignMsg>(*connectMgr_);
  if (!msg) return;
  msg->set(executionName, handle, RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES);
  msg->setFedEx(static_cast<int>(executionHandle_));
  connectMgr_->send(*msg, connectMgr_->internalTransportType(), 0);
}

void DtRtiExecFederateMgr::processJoinResponseMsg(const DtJoinResponseMsg& msg) {
  if (!isJoined() || msg.errorValue() != 0) return;
  if (isOwnJoinResponse(msg, DtString(executionName()), federateName())) sendJoinConfirmMsg(federateName());
}

// Resign and the designated federate ------------------------------------------------

void DtRtiExecFederateMgr::resignFederationExecution(RTI::ResignAction action) {
  const std::uint32_t handle = federateHandle_;
  const int execution = static_cast<int>(executionHandle_);
  DtFederateMgr::resignFederationExecution(action);
  designated_ = false;
  syncLabels_.clear();
  pendingSaveInitiate_.reset();
  restoredHandle_.reset();
  handleBeforeRestore_ = 0;
  joinedHandlers_.clear();
  if (resignOrdered_ || !connectMgr_->reliableConn()) return;
  // The resign message left on this federate's path to the rtiexec, the
  // answer comes back once the rtiexec handled it.
  const std::unique_ptr<DtRtiMsg> answer = awaitAnswer([&](const DtRtiMsg& msg) {
    if (msg.msgKind() != DtResignResponseMsgKind) return Verdict::Other;
    return msg.federateHandle() == handle && msg.fedExHandle() == execution ? Verdict::Answer : Verdict::OtherAnswer;
  });
  if (!answer) DtNotifyInfo("Resign of federate %lu: no answer from the rtiexec\n", static_cast<unsigned long>(handle));
}

void DtRtiExecFederateMgr::processResign(const DtResignMsg& msg) {
  // A resign message naming this federate comes from the rtiexec, which
  // has it out already: no answer is to be waited for.
  resignOrdered_ = true;
  try {
    DtFederateMgr::processResign(msg);
  } catch (...) {
    resignOrdered_ = false;
    throw;
  }
  resignOrdered_ = false;
}

void DtRtiExecFederateMgr::processDesignatedFederateMsg(const DtDesignatedFederateMsg& msg) {
  if (msg.designatedFederate() != connectMgr_->fedHandle()) return;
  setDesignatedFederate(1);
  if (momMgr_) momMgr_->designateFederationPublisher();
}

void DtRtiExecFederateMgr::subscribeJoinedHandlers() {
  if (!joinedHandlers_.empty()) return;
  joinedHandlers_.add<DtDesignatedFederateMsg, &DtRtiExecFederateMgr::processDesignatedFederateMsg>(connectMgr(), this);
  joinedHandlers_.add<DtSyncPointMsg, &DtRtiExecFederateMgr::processSyncPointMsg>(connectMgr(), this);
}

// Synchronization points ----------------------------------------------------------------

void DtRtiExecFederateMgr::registerFederationSynchronizationPoint(const char* label, const char* tag,
                                                                  const RTI::FederateHandleSet& federates) {
  registerSyncPoint(label, tag, &federates);
}

void DtRtiExecFederateMgr::registerFederationSynchronizationPoint(const char* label, const char* tag) {
  registerSyncPoint(label, tag, nullptr);
}

void DtRtiExecFederateMgr::registerSyncPoint(const char* label, const char* tag,
                                             const RTI::FederateHandleSet* federates) {
  label = orEmpty(label);
  tag = orEmpty(tag);
  for (const char* text : {label, tag}) {
    if (std::strlen(text) > static_cast<std::size_t>(DtSyncPointMsg::theMaxTextLength)) {
      throw RTI::RTIinternalError(("A synchronization point's label and tag hold at most " +
                                   std::to_string(DtSyncPointMsg::theMaxTextLength) + " characters")
                                      .c_str());
    }
    // The rtiexec keeps them on lines of its save file.
    if (std::strchr(text, '\n')) {
      throw RTI::RTIinternalError("A synchronization point's label and tag may not hold a line feed");
    }
  }
  if (syncLabels_.count(label) == 0) {
    sendSyncPointMsg(DtRegister, federateHandle_, label, tag, federates);
    return;
  }
  // A point of that label is announced and not synchronized: the failure
  // reaches the federate in its next tick, as the rtiexec's would.
  auto failed = DtMakeMsg<DtSyncPointMsg>(*connectMgr_);
  if (!failed) return;
  failed->set(DtSyncPointFailed, federateHandle_, label, nullptr, nullptr);
  failed->setFedEx(static_cast<int>(executionHandle_));
  connectMgr_->addPendingMsg(failed.release());
}

void DtRtiExecFederateMgr::synchronizationPointAchieved(const char* label) {
  label = orEmpty(label);
  if (syncLabels_.count(label) == 0) throw RTI::SynchronizationPointLabelWasNotAnnounced("");
  sendSyncPointMsg(DtAchieved, federateHandle_, label, nullptr, nullptr);
}

void DtRtiExecFederateMgr::sendSyncPointMsg(int kind, unsigned long federateHandle, const char* label, const char* tag,
                                            const RTI::FederateHandleSet* federates) {
  auto msg = DtMakeMsg<DtSyncPointMsg>(*connectMgr_);
  if (!msg) return;
  if (!msg->set(static_cast<DtSyncMsgType>(kind), federateHandle, label, tag, federates)) {
    throw RTI::RTIinternalError("The synchronization point message cannot be made (see the RTI's log)");
  }
  connectMgr_->sendStampedAndDelete(msg.release(), connectMgr_->internalTransportType(), 0);
}

void DtRtiExecFederateMgr::processSyncPointMsg(const DtSyncPointMsg& msg) {
  if (!isJoined() || !msg.isForExec(DtString(executionName()), static_cast<int>(executionHandle_))) return;
  RTI::FederateAmbassador* fedAmb = connectMgr_->fedAmb();
  const std::string label = orEmpty(msg.syncPointName());
  const bool concerned = msg.concerns(federateHandle_);
  const bool own = msg.federateId() == federateHandle_;
  switch (msg.syncMsgKind()) {
    case DtRegister:
    case DtAchieved: return;
    case DtSynchronized:
      // Only the end of a point this federate was told of: a joiner hears
      // the end of a point that was over before it counted, or not at all.
      if (!concerned || syncLabels_.erase(label) == 0) return;
      if (fedAmb) fedAmb->federationSynchronized(label.c_str());
      return;
    case DtAnnouncePt:
      // A repeated announcement (a late joiner's, heard by all) is not
      // delivered twice.
      if (!concerned || !syncLabels_.insert(label).second) return;
      if (fedAmb) fedAmb->announceSynchronizationPoint(label.c_str(), orEmpty(msg.tag()));
      return;
    case DtSyncPointSucceeded:
      if (own && fedAmb) fedAmb->synchronizationPointRegistrationSucceeded(label.c_str());
      return;
    case DtSyncPointFailed:
      if (own && fedAmb) fedAmb->synchronizationPointRegistrationFailed(label.c_str());
      return;
    default: DtNotifyError("Synchronization Point Message kind used is not defined.\n"); return;
  }
}
