// The MOM manager's life: creation, join, resign, tick, and the federation
// messages that keep its objects and its list of live federates current.
#include "mom/DtMomMgr.h"

#include <string>

#include "api/DtRtiAmbObserverList.h"
#include "config/DtRIDParameters.h"
#include "mom/DtMomAmbassador.h"
#include "mom/DtMomFedAmbWrapper.h"
#include "mom/DtMomFederate.h"
#include "mom/DtMomFederatePublisher.h"
#include "mom/DtMomFederateView.h"
#include "mom/DtMomFederationPublisher.h"
#include "mom/DtMomForcedAlerts.h"
#include "mom/DtMomInteractionFactory.h"
#include "mom/DtMomObjectClasses.h"
#include "mom/DtMomObserver.h"
#include "mom/DtMomReports.h"
#include "mom/DtMomServiceReportSender.h"
#include "msg/DtDeclarationMsgs.h"
#include "msg/DtFederationMsgs.h"
#include "msg/DtObjectMsgs.h"
#include "msg/DtUpdateMsgs.h"
#include "net/DtConnectionMgr.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtInteractionClassInfo.h"
#include "util/DtCreatorHook.h"
#include "util/DtNotify.h"

namespace {

DtCreatorHook<DtMomMgr, DtMomAmbassador*> theCreator;

}  // namespace

std::unique_ptr<DtMomMgr> DtMomMgr::create(DtMomAmbassador* ambassador) { return theCreator.make(ambassador); }

void DtMomMgr::setCreatorFunction(Creator creator) { theCreator.set(creator); }

DtMomMgr::DtMomMgr(DtMomAmbassador* ambassador)
    : ambassador_(ambassador),
      observer_(std::make_unique<DtMomObserver>(*this)),
      wrapper_(std::make_unique<DtMomFedAmbWrapper>(*this)) {}

DtMomMgr::~DtMomMgr() {
  // The publishers, inspector, factory and message handlers go as at
  // resign, so that nothing is left pointing at this manager.
  leave();
}

DtRIDParameters* DtMomMgr::ridParams() const { return ambassador_ ? ambassador_->ridParameters() : nullptr; }

std::uint32_t DtMomMgr::federateHandle() const {
  return connectMgr_ ? static_cast<std::uint32_t>(connectMgr_->fedHandle()) : 0;
}

// Join and resign ---------------------------------------------------------------

void DtMomMgr::join(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtMomFederate* federate, DtObjectMgr* objMgr,
                    DtInteractionMgr* interMgr) {
  if (joined_) leave();
  // The publishers take the object model's classes and attributes on
  // trust: without them the MOM stays off and the federate goes on.
  const std::string missing = fom ? DtMomMissingObjectModel(*fom) : std::string("Manager.Federate");
  if (!missing.empty()) {
    DtNotifyError("%s not found in fom\n", missing.c_str());
    return;
  }
  connectMgr_ = connectMgr;
  fom_ = fom;
  federate_ = federate;
  objMgr_ = objMgr;
  interMgr_ = interMgr;
  try {
    factory_ = std::make_unique<DtMomInteractionFactory>(fom_);
    const DtReportServiceInvocationInteraction report;
    handleCache_.add(*fom_, report);
    reportSender_ = DtMomServiceReportSender::make(handleCache_.find(report));
    handleCache_.add(*fom_, DtAlertInteraction());
    inspector_ = std::make_unique<DtMomInspector>(fom_, federate_, objMgr_, interMgr_, nullptr);
    if (connectMgr_) {
      installedWrapper_ = wrapper_.get();
      // A wrapper filed under the name before goes (the chain hands it back).
      static_cast<void>(connectMgr_->addFedAmbWrapper(theWrapperName, std::move(wrapper_)));
    }
    if (DtRtiAmbObserverList* observers = ambassador_ ? ambassador_->observers() : nullptr) {
      observers->addObserver(theObserverName, observer_.get());
      observerInstalled_ = true;
    }
    exceptionReports_ = exceptionLogging_ = 0;
    setServiceReporting(0);
    const std::uint32_t handle = federate_ ? federate_->federateHandle() : federateHandle();
    const DtRIDParameters* rid = ridParams();
    federationPublisher_ = std::make_unique<DtMomFederationPublisher>(connectMgr_, fom_, objMgr_, inspector_.get());
    federatePublisher_ = std::make_unique<DtMomFederatePublisher>(connectMgr_, fom_, objMgr_, inspector_.get(), handle,
                                                                  rid ? rid->momFederateUpdateInterval() : 0);
    federatePublisher_->forceRegister();
    federationPublisher_->forceRegister();
    inspector_->setMomMgr(this);
    exceptionReports_ = rid ? rid->momExceptionReports() : 0;
    exceptionLogging_ = rid ? rid->momExceptionLogging() : 0;
    registerMessageHandlers();
    // Its own MOM interactions come back to it through the group, for the
    // MOM table; the interaction manager still drops them.
    if (connectMgr_) connectMgr_->setOwnInteractionsKept(true);
    joined_ = true;
    registerInteractionHandlers();
  } catch (...) {
    leave();
    throw;
  }
}

void DtMomMgr::registerMessageHandlers() {
  using Self = DtMomMgr;
  constexpr char mom = 1;
  messageHandlers_.add<DtSubObjMsg, &Self::processSub>(connectMgr_, this, mom);
  messageHandlers_.add<DtRequestMsg, &Self::processRequest>(connectMgr_, this, mom);
  messageHandlers_.add<DtJoinConfirmMsg, &Self::processJoin>(connectMgr_, this, mom);
  messageHandlers_.add<DtAliveMsg, &Self::processAlive>(connectMgr_, this, mom);
  messageHandlers_.add<DtResignMsg, &Self::processResign>(connectMgr_, this, mom);
  messageHandlers_
      .add<DtInteractionRoMsg, static_cast<void (Self::*)(const DtInteractionMsg&)>(&Self::processInteraction)>(
          connectMgr_, this, mom);
  messageHandlers_
      .add<DtInteractionTsoMsg, static_cast<void (Self::*)(const DtInteractionMsg&)>(&Self::processInteraction)>(
          connectMgr_, this, mom);
}

void DtMomMgr::resign() { leave(); }

void DtMomMgr::leave() {
  if (observerInstalled_) {
    // The list may be gone already (its ambassador is being taken apart).
    if (DtRtiAmbObserverList* observers = ambassador_ ? ambassador_->observers() : nullptr) {
      static_cast<void>(observers->removeObserver(theObserverName));  // the manager's own
    }
    observerInstalled_ = false;
  }
  if (installedWrapper_ && connectMgr_) {
    std::unique_ptr<DtFedAmbWrapper> back = connectMgr_->removeFedAmbWrapper(theWrapperName);
    if (back.get() == installedWrapper_) {
      static_cast<void>(back.release());  // the manager's own again
      wrapper_.reset(installedWrapper_);
    }
  }
  installedWrapper_ = nullptr;
  // One filed under its name since has deleted it: a new one for the next join.
  if (!wrapper_) wrapper_ = std::make_unique<DtMomFedAmbWrapper>(*this);
  if (joined_ && connectMgr_) connectMgr_->setOwnInteractionsKept(false);
  joined_ = false;
  federationPublisher_.reset();
  federatePublisher_.reset();
  messageHandlers_.clear();
  callbacks_.clear();
  federateList_.clear();
  connectMgr_ = nullptr;
  fom_ = nullptr;
  federate_ = nullptr;
  objMgr_ = nullptr;
  interMgr_ = nullptr;
  inspector_.reset();
  factory_.reset();
  handleCache_.clear();
  reportSender_.reset();
  exceptionLogging_ = exceptionReports_ = 0;
  setServiceReporting(0);
  ++exceptionReportsSettings_;  // a resignation inside dispatch leaves it 0
  nextAlertId_ = 1;
  resignPending_ = false;
}

// Tick --------------------------------------------------------------------------

void DtMomMgr::tick() {
  if (!joined_) return;
  if (federatePublisher_) federatePublisher_->tick();
  if (!resignPending_ || !ambassador_) return;
  resignPending_ = false;
  // The public service, so that every observer sees the call; the
  // federate manager resigns this manager on the way.
  const DtMomForcedAlerts forced(exceptionReports_, exceptionReportsSettings_);
  try {
    ambassador_->resignFederationExecution(resignAction_);
  } catch (const RTI::Exception&) {
    // Already an Alert through the observer; not tried again.
  }
}

void DtMomMgr::designateFederationPublisher() {
  if (federationPublisher_) federationPublisher_->designate();
}

// Federation messages -----------------------------------------------------------

void DtMomMgr::alive(unsigned long federateHandle) {
  if (federateHandle == 0) return;
  const auto handle = static_cast<std::uint32_t>(federateHandle);
  for (const DtListItem* item = federateList_.head(); item; item = item->next()) {
    if (federateList_.data(item) == handle) return;
  }
  federateList_.append(handle);
}

void DtMomMgr::processAlive(const DtAliveMsg& msg) { alive(msg.federateHandle()); }

void DtMomMgr::processResign(const DtResignMsg& msg) {
  const auto handle = static_cast<std::uint32_t>(msg.federateHandle());
  for (DtListItem* item = federateList_.head(); item; item = item->next()) {
    if (federateList_.data(item) == handle) {
      federateList_.remove(item);
      return;
    }
  }
}

void DtMomMgr::processJoin(const DtJoinConfirmMsg&) { sendAlive(); }

void DtMomMgr::sendAlive() {
  if (!connectMgr_) return;
  connectMgr_->sendStampedAndDelete(connectMgr_->create(DtAliveMsgKind), connectMgr_->internalTransportType(), 0);
}

void DtMomMgr::processRequest(const DtRequestMsg& msg) {
  const bool byObject = msg.requestType() == DtRequestById;
  const std::uint32_t target = static_cast<std::uint32_t>(byObject ? msg.id() : msg.objectClassHandle());
  for (DtMomPublisher* publisher : {static_cast<DtMomPublisher*>(federatePublisher_.get()),
                                    static_cast<DtMomPublisher*>(federationPublisher_.get())}) {
    if (!publisher) continue;
    if (byObject ? publisher->isObject(target) : publisher->isClass(target)) publisher->forceUpdate(msg.attrHandles());
  }
}

void DtMomMgr::processSub(const DtSubObjMsg& msg) {
  const auto classHandle = static_cast<std::uint32_t>(msg.objectClassHandle());
  for (DtMomPublisher* publisher : {static_cast<DtMomPublisher*>(federatePublisher_.get()),
                                    static_cast<DtMomPublisher*>(federationPublisher_.get())}) {
    if (publisher && publisher->isClass(classHandle)) publisher->forceRegister();
  }
}
