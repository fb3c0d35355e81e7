// The federate manager's life: creation, joining and resigning, the tick
// steps, the heartbeat and the received federation messages.
#include "core/DtFederateMgr.h"

#include <cstring>

#include "config/DtRIDParameters.h"
#include "core/DtFedAmbPrinter.h"
#include "core/DtFedFileMapping.h"
#include "core/DtLocalNumberSource.h"
#include "core/DtRtiExecFederateMgr.h"
#include "core/DtSimpleFederateMgr.h"
#include "core/DtTimeMgr.h"
#include "ddm/DtDataDistMakers.h"
#include "ddm/DtDataDistMgr.h"
#include "ddm/DtInterDataDistMgr.h"
#include "ddm/DtObjectDataDistMgr.h"
#include "mom/DtMomMgr.h"
#include "msg/DtFederationMsgs.h"
#include "msg/DtSaveMsgs.h"
#include "net/DtAsyncConnectionMgr.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtInteractionMgr.h"
#include "objects/DtObjectMgr.h"
#include "util/DtClock.h"
#include "util/DtCreatorHook.h"
#include "util/DtNotify.h"

namespace {

DtCreatorHook<DtFederateMgr, DtRIDParameters*> theCreator;

// The callback printer's name in the wrapper chain.
const char* const printerName = "Printer";

std::unique_ptr<char[]> copyOf(const char* text) {
  if (!text) text = "";
  const std::size_t size = std::strlen(text) + 1;
  std::unique_ptr<char[]> copy(new char[size]);
  std::memcpy(copy.get(), text, size);
  return copy;
}

}  // namespace

struct DtFederateMgr::Retired {
  std::unique_ptr<DtObjectMgr> objMgr;
  std::unique_ptr<DtInteractionMgr> interMgr;
  std::unique_ptr<DtTimeMgr> timeMgr;
  std::unique_ptr<DtDataDistMgr> ddmMgr;
  std::unique_ptr<DtFomClassMgr> fom;
};

// A tick step in progress. When the outermost one ends, the managers that a
// resignation inside it retired are deleted.
class DtFederateMgr::TickStep {
public:
  explicit TickStep(DtFederateMgr& mgr) : mgr_(mgr) { ++mgr_.tickDepth_; }
  ~TickStep() {
    if (--mgr_.tickDepth_ == 0) mgr_.deleteRetired();
  }
  TickStep(const TickStep&) = delete;
  TickStep& operator=(const TickStep&) = delete;

private:
  DtFederateMgr& mgr_;
};

// Creation -------------------------------------------------------------------

std::unique_ptr<DtFederateMgr> DtFederateMgr::create(DtRIDParameters* params) {
  if (std::unique_ptr<DtFederateMgr> made = theCreator.makeInstalled(params)) return made;
  if (params->useRtiExec()) return std::make_unique<DtRtiExecFederateMgr>(params);
  return std::make_unique<DtSimpleFederateMgr>(params);
}

void DtFederateMgr::setCreatorFunction(Creator creator) { theCreator.set(creator); }

DtFederateMgr::DtFederateMgr(DtRIDParameters* params) : DtFederateMgr(params, DtAsyncConnectionMgr::create(params)) {}

DtFederateMgr::DtFederateMgr(DtRIDParameters* params, std::unique_ptr<DtConnectionMgr> connectMgr)
    : params_(params),
      connectMgr_(std::move(connectMgr)),
      localNumber_(DtLocalNumberSource::draw()),
      saveTime_(RTI::FedTimeFactory::makeZero()),
      secondSaveTime_(RTI::FedTimeFactory::makeZero()) {
  // Before any join: the object and interaction managers made after one
  // are their data distribution forms when RTI_dataDistMgmt is set.
  DtInstallDataDistMakers();
  // A heartbeat nobody times out is useless, and a timeout without
  // heartbeats would end every federate: either one at 0 stops both.
  if (!(params_->federateHeartbeatInterval() > 0)) params_->setFederateTimeoutInterval(0);
  if (!(params_->federateTimeoutInterval() > 0)) params_->setFederateHeartbeatInterval(0);
  // Above level 3 every callback is traced; below, the chain has no printer
  // and callbacks cost nothing more.
  if (connectMgr_ && DtGetNotifyLevel() > 3) {
    auto printer = std::make_unique<DtFedAmbPrinter>(this);
    printer_ = printer.get();
    connectMgr_->addFedAmbWrapper(printerName, std::move(printer));
  }
}

DtFederateMgr::~DtFederateMgr() {
  // The chain owns the printer while it is filed; taken out, it goes now.
  if (printer_ && connectMgr_) connectMgr_->removeFedAmbWrapper(printerName);
  printer_ = nullptr;
  // The joined managers use the connection manager (the time manager takes
  // its queue back from it): they go first, in the reverse order of
  // postJoinInit. The MOM manager is the ambassador's and already gone
  // (it took its part down as it went).
  momJoined_ = false;
  if (interMgr_) interMgr_->setMomMgr(nullptr);
  if (isJoined()) tearDownJoined();
  retired_.clear();
  fom_.reset();
  fedFileMappings_.clear();
  joinedHandlers_.clear();
  connectMgr_.reset();
  DtLocalNumberSource::release(localNumber_);
}

void DtFederateMgr::init(DtMomMgr* momMgr) { momMgr_ = momMgr; }

DtMomMgr* DtFederateMgr::joinedMomMgr() const { return momJoined_ && momMgr_->joined() ? momMgr_ : nullptr; }

// Joining and resigning -------------------------------------------------------

void DtFederateMgr::postJoinInit(const char* federateName, const char* executionName, RTI::FederateAmbassador* fedAmb) {
  setJoinedNames(federateName, executionName);
  try {
    interMgr_ = DtInteractionMgr::create(connectMgr(), fom(), params_);
    objMgr_ = DtObjectMgr::create(connectMgr(), fom(), params_);
    connectMgr_->connectFederation(fedAmb, DtString(executionName), federateHandle_,
                                   static_cast<int>(executionHandle_));
    if (params_->timeMgmt()) {
      timeMgr_ = DtTimeMgr::create(connectMgr(), fom(), params_);
      objMgr_->setTimeMgr(timeMgr_.get());
      interMgr_->setTimeMgr(timeMgr_.get());
      timeMgr_->setOwner(this);
    }
    if (params_->dataDistMgmt()) {
      // Over the data distribution forms of the object and interaction
      // managers (a plug-in's manager may be neither: that half is not
      // told of regions then).
      auto* objDdm = dynamic_cast<DtObjectDataDistMgr*>(objMgr_.get());
      auto* interDdm = dynamic_cast<DtInterDataDistMgr*>(interMgr_.get());
      ddmMgr_ = std::make_unique<DtDataDistMgr>(connectMgr(), fom(), params_, objDdm, interDdm);
      if (interDdm) interDdm->setDdmMgr(ddmMgr_.get());
      if (objDdm) objDdm->setDdmMgr(ddmMgr_.get());
    }
    if (momMgr_ && params_->momServiceAvailable()) {
      momMgr_->join(connectMgr(), fom(), momView(), objMgr_.get(), interMgr_.get());
      momJoined_ = true;
      interMgr_->setMomMgr(momMgr_);
    }
    subscribeJoinedHandlers();
  } catch (...) {
    // Not joined after all: nothing of the join stays.
    tearDownJoined();
    fom_.reset();
    throw;
  }
  heartbeatTime_ = 0.0;
}

void DtFederateMgr::tearDownJoined() {
  joinedHandlers_.clear();
  if (momJoined_) {
    momJoined_ = false;
    if (interMgr_) interMgr_->setMomMgr(nullptr);
    // Before the object manager, which lists the MOM's object records.
    momMgr_->resign();
  }
  timeMgr_.reset();
  if (connectMgr_) connectMgr_->disconnectFederation();
  objMgr_.reset();
  interMgr_.reset();
  // The halves' region sets point at its regions: it goes after them.
  ddmMgr_.reset();
  clearJoinedNames();
}

void DtFederateMgr::checkResignAction(RTI::ResignAction action) const {
  switch (action) {
    case RTI::RELEASE_ATTRIBUTES:
    case RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES: return;
    case RTI::DELETE_OBJECTS:
      if (objMgr_ && objMgr_->ownedObjects().count() != objMgr_->numObjectsOwned()) {
        throw RTI::FederateOwnsAttributes("");
      }
      return;
    case RTI::NO_ACTION:
      if (objMgr_ && objMgr_->ownedObjects().count() != 0) throw RTI::FederateOwnsAttributes("");
      return;
  }
  throw RTI::InvalidResignAction("");
}

void DtFederateMgr::resignFederationExecution(RTI::ResignAction action) {
  if (!isJoined()) throw RTI::FederateNotExecutionMember("");
  checkResignAction(action);

  // Each manager goes at its step, unless this runs inside a tick step,
  // where its code may be on the stack: then it waits for the step's end.
  Retired joined;
  auto drop = [this](auto& owner, auto& slot) {
    slot = std::move(owner);
    if (tickDepth_ == 0) slot.reset();
  };
  // The MOM first: its object records are its own, listed by the object
  // manager until it resigns.
  if (momJoined_) {
    momJoined_ = false;
    if (interMgr_) interMgr_->setMomMgr(nullptr);
    momMgr_->resign();
  }
  if (objMgr_) objMgr_->prepareToResign(action);
  drop(objMgr_, joined.objMgr);
  drop(interMgr_, joined.interMgr);
  drop(timeMgr_, joined.timeMgr);
  drop(ddmMgr_, joined.ddmMgr);
  sendResignMsg(executionName_.get(), federateHandle_, action);
  clearJoinedNames();
  drop(fom_, joined.fom);
  connectMgr_->disconnectFederation();
  federateHandle_ = 0;
  executionHandle_ = 0;
  saveInitiated_ = saveBegun_ = restoreInitiated_ = restoreBegun_ = false;
  saveLabel_ = lastSaveLabel_ = restoreLabel_ = lastRestoreLabel_ = "";
  joinedHandlers_.clear();
  if (tickDepth_ > 0) retired_.push_back(std::move(joined));
}

void DtFederateMgr::deleteRetired() {
  // In the order a resignation deletes them.
  for (Retired& managers : retired_) {
    managers.objMgr.reset();
    managers.interMgr.reset();
    managers.timeMgr.reset();
    managers.ddmMgr.reset();
    managers.fom.reset();
  }
  retired_.clear();
}

void DtFederateMgr::setJoinedNames(const char* federateName, const char* executionName) {
  federateName_ = copyOf(federateName);
  executionName_ = copyOf(executionName);
}

void DtFederateMgr::clearJoinedNames() {
  federateName_.reset();
  executionName_.reset();
}

// Tick ----------------------------------------------------------------------

RTI::Boolean DtFederateMgr::tick() {
  const TickStep step(*this);
  const double interval = params_->federateHeartbeatInterval();
  if (interval > 0) {
    const double now = clock_ ? clock_() : DtRealTime();
    if (now - heartbeatTime_ > interval) {
      sendAlive();
      heartbeatTime_ = now;
    }
  }
  return connectMgr_->tick();
}

void DtFederateMgr::pretick() {
  if (connectMgr_) connectMgr_->beginTick();
}

void DtFederateMgr::posttick() {
  if (connectMgr_) connectMgr_->endTick();
  const TickStep step(*this);
  // Each looked up again: a step may resign the federate.
  if (ddmMgr_) ddmMgr_->tick();
  if (objMgr_) objMgr_->tick();
  if (interMgr_) interMgr_->tick();
  if (momJoined_) momMgr_->tick();
  if (timeMgr_) timeMgr_->tick();
}

// Messages --------------------------------------------------------------------

void DtFederateMgr::sendAlive() {
  if (federateHandle_ == 0) return;
  connectMgr_->sendStampedAndDelete(connectMgr_->create(DtAliveMsgKind), connectMgr_->internalTransportType(), 0);
}

void DtFederateMgr::sendResignMsg(const char* executionName, unsigned long federateHandle, RTI::ResignAction action) {
  std::unique_ptr<DtRtiMsg> msg(connectMgr_->create(DtResignMsgKind));
  auto* resign = dynamic_cast<DtResignMsg*>(msg.get());
  if (!resign) {
    DtNotifyError("The message factory makes no resign message: peers are not told\n");
    return;
  }
  resign->set(executionName, federateHandle, action);
  connectMgr_->sendStampedAndDelete(msg.release(), connectMgr_->internalTransportType(), 0);
}

void DtFederateMgr::processResign(const DtResignMsg& msg) {
  if (msg.federateHandle() == connectMgr_->fedHandle()) {
    if (federateHandle_ == 0) return;
    // A refused resignation must not escape into the federate's tick.
    try {
      resignFederationExecution(msg.resignAction());
    } catch (const RTI::Exception& refused) {
      DtNotifyError("A resign message names this federate, but it cannot resign with action %lu: %s\n",
                    static_cast<unsigned long>(msg.resignAction()), refused._name);
    }
    return;
  }
  if (objMgr_) objMgr_->processResign(msg);
  if (interMgr_) interMgr_->processResign(msg);
  if (ddmMgr_) ddmMgr_->processResign(msg);
}

void DtFederateMgr::processSaveInitiate(const DtSaveInitiateMsg&) {
  DtNotifyError("Unhandled Save Initiate request\n");
}
void DtFederateMgr::processSaveResponse(const DtSaveResponseMsg&) { DtNotifyError("Unhandled Save Response\n"); }
void DtFederateMgr::processSaveFinished(const DtSaveFinishedMsg&) {
  DtNotifyError("Unhandled Save Finished request\n");
}
void DtFederateMgr::processRestoreReply(const DtRestoreReplyMsg&) {
  DtNotifyError("Unhandled Restore Reply message\n");
}
void DtFederateMgr::processRestore(const DtRestoreMsg&) { DtNotifyError("Unhandled Restore request\n"); }
void DtFederateMgr::processRestoreInitiate(const DtRestoreInitiateMsg&) {
  DtNotifyError("Unhandled Restore initiate\n");
}
void DtFederateMgr::processRestoreEnd(const DtRestoreEndMsg&) { DtNotifyError("Unhandled Restore End message\n"); }

#define DT_FEDMGR_FORWARD(Process, Msg) \
  void DtFederateMgr::Process(const Msg& msg, void* mgr) { static_cast<DtFederateMgr*>(mgr)->Process(msg); }
DT_FEDMGR_FORWARD(processResign, DtResignMsg)
DT_FEDMGR_FORWARD(processSaveInitiate, DtSaveInitiateMsg)
DT_FEDMGR_FORWARD(processSaveResponse, DtSaveResponseMsg)
DT_FEDMGR_FORWARD(processSaveFinished, DtSaveFinishedMsg)
DT_FEDMGR_FORWARD(processRestoreReply, DtRestoreReplyMsg)
DT_FEDMGR_FORWARD(processRestore, DtRestoreMsg)
DT_FEDMGR_FORWARD(processRestoreInitiate, DtRestoreInitiateMsg)
DT_FEDMGR_FORWARD(processRestoreEnd, DtRestoreEndMsg)
#undef DT_FEDMGR_FORWARD

void DtFederateMgr::subscribeJoinedHandlers() {
  DtConnectionMgr* mgr = connectMgr();
  joinedHandlers_.add<DtResignMsg>(mgr, &DtFederateMgr::processResign, this);
  joinedHandlers_.add<DtSaveInitiateMsg>(mgr, &DtFederateMgr::processSaveInitiate, this);
  joinedHandlers_.add<DtSaveResponseMsg>(mgr, &DtFederateMgr::processSaveResponse, this);
  joinedHandlers_.add<DtSaveFinishedMsg>(mgr, &DtFederateMgr::processSaveFinished, this);
  joinedHandlers_.add<DtRestoreReplyMsg>(mgr, &DtFederateMgr::processRestoreReply, this);
  joinedHandlers_.add<DtRestoreMsg>(mgr, &DtFederateMgr::processRestore, this);
  joinedHandlers_.add<DtRestoreInitiateMsg>(mgr, &DtFederateMgr::processRestoreInitiate, this);
  joinedHandlers_.add<DtRestoreEndMsg>(mgr, &DtFederateMgr::processRestoreEnd, this);
}

// Save and restore: nothing of the federate manager's own is kept here.

void DtFederateMgr::initiateSave() {}

RTI::FedTime* DtFederateMgr::saveTime() const {
  if (timeMgr_) *saveTime_ = timeMgr_->pendingSaveTime();
  return saveTime_.get();
}

bool DtFederateMgr::save(DtRtiSaveFile&) { return true; }

bool DtFederateMgr::restore(DtRtiSaveFile&) { return true; }
