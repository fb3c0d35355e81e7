#include "objects/DtInteractionMgr.h"

#include <memory>

#include "config/DtRIDParameters.h"
#include "msg/DtDeclarationMsgs.h"
#include "msg/DtFederationMsgs.h"
#include "msg/DtUpdateMsgs.h"
#include "net/DtConnectionMgr.h"
#include "net/DtMakeMsg.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtInteractionClassInfo.h"
#include "objects/DtInteractionMomHook.h"
#include "objects/DtReceivedParamSet.h"
#include "save/DtRtiSaveFile.h"
#include "util/DtCreatorHook.h"
#include "util/DtNotify.h"

namespace {
DtCreatorHook<DtInteractionMgr, DtConnectionMgr*, DtFomClassMgr*, DtRIDParameters*> theCreator;
DtCreatorHook<DtInteractionMgr, DtConnectionMgr*, DtFomClassMgr*, DtRIDParameters*> theDataDistCreator;
}  // namespace

std::uint8_t DtInteractionMgr::theDefaultInteractionAdvisorySwitch = 1;

std::unique_ptr<DtInteractionMgr> DtInteractionMgr::create(DtConnectionMgr* connectMgr, DtFomClassMgr* fom,
                                                           DtRIDParameters* params) {
  if (theCreator.installed()) return theCreator.make(connectMgr, fom, params);
  if (params && params->dataDistMgmt() != 0) {
    if (auto dataDist = theDataDistCreator.makeInstalled(connectMgr, fom, params)) return dataDist;
  }
  return std::make_unique<DtInteractionMgr>(connectMgr, fom, params);
}

void DtInteractionMgr::setCreatorFunction(Creator creator) { theCreator.set(creator); }

void DtInteractionMgr::setDataDistCreator(Creator creator) { theDataDistCreator.set(creator); }

DtInteractionMgr::DtInteractionMgr(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params)
    : connectMgr_(connectMgr),
      fom_(fom),
      params_(params),
      relevanceAdvisorySwitch_(theDefaultInteractionAdvisorySwitch),
      view_(std::make_unique<DtReceivedParamSet>()) {
  if (params_ && params_->dataDistMgmt()) DtInteractionMsg::setChannelIncluded(1);
  subscribeHandlers();
}

DtInteractionMgr::~DtInteractionMgr() {
  destroyInteractionLists();
  // A federate that resigned keeps no group of its classes.
  classGroups_.leaveAll(connectMgr_);
  handlers_.clear();
}

void DtInteractionMgr::subscribeHandlers() {
  DtConnectionMgr* mgr = connectMgr_;
  // The interaction kinds are those of the channel switch as it stands now.
  handlers_.add<DtInteractionRoMsg>(mgr, &DtInteractionMgr::processInteraction, this);
  handlers_.add<DtInteractionTsoMsg>(mgr, &DtInteractionMgr::processInteraction, this);
  handlers_.add<DtPubInterMsg>(mgr, &DtInteractionMgr::processPub, this);
  handlers_.add<DtUnpubInterMsg>(mgr, &DtInteractionMgr::processUnpub, this);
  handlers_.add<DtSubInterMsg>(mgr, &DtInteractionMgr::processSub, this);
  handlers_.add<DtUnsubInterMsg>(mgr, &DtInteractionMgr::processUnsub, this);
}

void DtInteractionMgr::processInteraction(const DtInteractionMsg& msg, void* mgr) {
  static_cast<DtInteractionMgr*>(mgr)->processInteraction(msg);
}
void DtInteractionMgr::processPub(const DtPubInterMsg& msg, void* mgr) {
  static_cast<DtInteractionMgr*>(mgr)->processPub(msg);
}
void DtInteractionMgr::processUnpub(const DtUnpubInterMsg& msg, void* mgr) {
  static_cast<DtInteractionMgr*>(mgr)->processUnpub(msg);
}
void DtInteractionMgr::processSub(const DtSubInterMsg& msg, void* mgr) {
  static_cast<DtInteractionMgr*>(mgr)->processSub(msg);
}
void DtInteractionMgr::processUnsub(const DtUnsubInterMsg& msg, void* mgr) {
  static_cast<DtInteractionMgr*>(mgr)->processUnsub(msg);
}

// ---- looking classes up

DtInteractionClassInfo& DtInteractionMgr::definedClass(RTI::InteractionClassHandle theClass) const {
  DtInteractionClassInfo* record = fom_ ? fom_->interactionByHandle(theClass) : nullptr;
  if (!record) throw RTI::InteractionClassNotDefined("");
  return *record;
}

DtInteractionClassInfo& DtInteractionMgr::publishedClass(RTI::InteractionClassHandle theClass) const {
  DtInteractionClassInfo& record = definedClass(theClass);
  if (!record.published()) throw RTI::InteractionClassNotPublished("");
  return record;
}

bool DtInteractionMgr::subscribed(RTI::InteractionClassHandle theClass) const {
  const DtInteractionClassInfo* record = fom_ ? fom_->interactionByHandle(theClass) : nullptr;
  return record && (record->subscribed() != DtInteractionClassInfo::notSubscribed || record->subscribedWithRegion());
}

bool DtInteractionMgr::published(RTI::InteractionClassHandle theClass) const {
  const DtInteractionClassInfo* record = fom_ ? fom_->interactionByHandle(theClass) : nullptr;
  return record && record->published();
}

DtInteractionClassInfo* DtInteractionMgr::firstSubscribedClass(DtInteractionClassInfo* interactionClass) const {
  for (DtInteractionClassInfo* at = interactionClass; at; at = at->baseClass()) {
    if (subscribed(at->handle())) return at;
  }
  return nullptr;
}

bool DtInteractionMgr::dmFiltering() const { return params_ && params_->useDMFiltering(); }

// ---- declarations

void DtInteractionMgr::publish(RTI::InteractionClassHandle theClass) {
  definedClass(theClass).publish(this);
  sendPublishMsg(theClass);
}

void DtInteractionMgr::unpublish(RTI::InteractionClassHandle theClass) {
  publishedClass(theClass).unpublish();
  sendUnpublishMsg(theClass);
}

void DtInteractionMgr::subscribe(RTI::InteractionClassHandle theClass, RTI::Boolean active) {
  DtInteractionClassInfo& record = definedClass(theClass);
  const std::uint32_t before = record.subscribed();
  if (momMgr_) momMgr_->prepareForSubscribe(record);
  record.subscribe(active == RTI::RTI_TRUE);
  if (active == RTI::RTI_TRUE) {
    sendSubscribeMsg(theClass);
  } else if (before == DtInteractionClassInfo::subscribedActively) {
    // The others stop counting this federate; the groups stay as they are.
    sendUnsubscribeMsg(theClass);
    return;
  }
  if (before == DtInteractionClassInfo::notSubscribed && dmFiltering()) addClassMulticast(&record);
}

void DtInteractionMgr::unsubscribe(RTI::InteractionClassHandle theClass) {
  DtInteractionClassInfo& record = definedClass(theClass);
  const std::uint32_t before = record.subscribed();
  if (before == DtInteractionClassInfo::notSubscribed) throw RTI::InteractionClassNotSubscribed("");
  if (before == DtInteractionClassInfo::subscribedActively) sendUnsubscribeMsg(theClass);
  record.unsubscribe();
  if (dmFiltering()) removeClassMulticast(&record);
}

template <class Msg>
void DtInteractionMgr::sendClassMsg(RTI::InteractionClassHandle theClass) {
  if (!connectMgr_) return;
  auto msg = DtMakeMsg<Msg>(*connectMgr_);
  if (!msg) return;
  msg->setHandle(theClass);
  connectMgr_->sendStampedAndDelete(msg.release(), connectMgr_->internalTransportType(), 0);
}

void DtInteractionMgr::sendSubscribeMsg(RTI::InteractionClassHandle theClass) { sendClassMsg<DtSubInterMsg>(theClass); }
void DtInteractionMgr::sendPublishMsg(RTI::InteractionClassHandle theClass) { sendClassMsg<DtPubInterMsg>(theClass); }
void DtInteractionMgr::sendUnsubscribeMsg(RTI::InteractionClassHandle theClass) {
  sendClassMsg<DtUnsubInterMsg>(theClass);
}
void DtInteractionMgr::sendUnpublishMsg(RTI::InteractionClassHandle theClass) {
  sendClassMsg<DtUnpubInterMsg>(theClass);
}

// ---- the other federates' declarations

DtInteractionClassInfo* DtInteractionMgr::remoteDeclaration(const DtRtiMsg& msg, std::uint32_t classHandle,
                                                            const char* ignoring) const {
  if (connectMgr_ && msg.federateHandle() == connectMgr_->fedHandle()) return nullptr;
  DtInteractionClassInfo* record = fom_ ? fom_->interactionByHandle(classHandle) : nullptr;
  if (!record && ignoring) DtNotifyInfo("Ignoring %s message for undefined class %u\n", ignoring, classHandle);
  return record;
}

void DtInteractionMgr::processPub(const DtPubInterMsg& msg) {
  const auto published = static_cast<std::uint32_t>(msg.handle());
  DtInteractionClassInfo* record = remoteDeclaration(msg, published, "publish");
  // A late publisher learns of every active subscriber of the class or of
  // a base class.
  for (DtInteractionClassInfo* at = record; at; at = at->baseClass()) {
    if (at->subscribed() == DtInteractionClassInfo::subscribedActively) sendSubscribeMsg(published);
    checkForRegionalSubscribe(*at);
  }
}

void DtInteractionMgr::processUnpub(const DtUnpubInterMsg&) {}

void DtInteractionMgr::processSub(const DtSubInterMsg& msg) {
  if (DtInteractionClassInfo* record = remoteDeclaration(msg, static_cast<std::uint32_t>(msg.handle()), "subscribe")) {
    record->remoteSubscribe(static_cast<std::uint32_t>(msg.federateHandle()), this);
    checkForRegionalPublish(*record);
  }
}

void DtInteractionMgr::processUnsub(const DtUnsubInterMsg& msg) {
  if (DtInteractionClassInfo* record =
          remoteDeclaration(msg, static_cast<std::uint32_t>(msg.handle()), "unsubscribe")) {
    record->remoteUnsubscribe(static_cast<std::uint32_t>(msg.federateHandle()), this);
  }
}

void DtInteractionMgr::processResign(const DtResignMsg& msg) {
  const auto federate = static_cast<std::uint32_t>(msg.federateHandle());
  if (!fom_ || (connectMgr_ && federate == connectMgr_->fedHandle())) return;
  for (int h = 0; h < fom_->numInteractions(); ++h) {
    if (DtInteractionClassInfo* record = fom_->interactionByHandle(static_cast<RTI::InteractionClassHandle>(h))) {
      record->remoteUnsubscribe(federate, this);
    }
  }
}

void DtInteractionMgr::checkForRegionalSubscribe(DtInteractionClassInfo&) {}
void DtInteractionMgr::checkForRegionalPublish(DtInteractionClassInfo&) {}
void DtInteractionMgr::subscribeInteractionClassWithRegion(RTI::InteractionClassHandle, RTI::Region&, RTI::Boolean) {}
void DtInteractionMgr::unsubscribeInteractionClassWithRegion(RTI::InteractionClassHandle, RTI::Region&) {}

// ---- relevance advisories

void DtInteractionMgr::addPendingStartInters(std::uint32_t classHandle) {
  if (relevanceAdvisorySwitch_) pendingStart_.push_back(classHandle);
}

void DtInteractionMgr::addPendingStopInters(std::uint32_t classHandle) {
  if (relevanceAdvisorySwitch_) pendingStop_.push_back(classHandle);
}

namespace {
// Hands the advisories over from the head; one the federate's callback
// queues meanwhile comes after the others.
template <class Advise>
void handOver(std::deque<std::uint32_t>& pending, DtConnectionMgr* connectMgr, Advise advise) {
  while (!pending.empty()) {
    const std::uint32_t classHandle = pending.front();
    pending.pop_front();
    if (RTI::FederateAmbassador* fedAmb = connectMgr ? connectMgr->fedAmb() : nullptr) advise(*fedAmb, classHandle);
  }
}
}  // namespace

void DtInteractionMgr::sendPendingStopInters() {
  handOver(pendingStop_, connectMgr_,
           [](RTI::FederateAmbassador& fedAmb, std::uint32_t h) { fedAmb.turnInteractionsOff(h); });
}

void DtInteractionMgr::sendPendingStartInters() {
  handOver(pendingStart_, connectMgr_,
           [](RTI::FederateAmbassador& fedAmb, std::uint32_t h) { fedAmb.turnInteractionsOn(h); });
}

void DtInteractionMgr::tick() {
  sendPendingStopInters();
  sendPendingStartInters();
}

// ---- class multicast groups

void DtInteractionMgr::addClassMulticast(DtInteractionClassInfo* interactionClass) {
  classGroups_.add(connectMgr_, interactionClass);
}

void DtInteractionMgr::removeClassMulticast(DtInteractionClassInfo* interactionClass) {
  classGroups_.remove(connectMgr_, interactionClass);
}

std::uint32_t DtInteractionMgr::localAddrMap(RTI::InteractionClassHandle theClass, RTI::ULong) {
  if (!dmFiltering()) return 0;
  const DtInteractionClassInfo* record = fom_ ? fom_->interactionByHandle(theClass) : nullptr;
  return record ? record->destinationAddress() : 0;
}

// ---- transport, order, tallies

void DtInteractionMgr::setTransport(RTI::InteractionClassHandle theClass, DtTransportType type) {
  if (type != DtBestEffort && type != DtReliable) throw RTI::InvalidTransportationHandle("");
  publishedClass(theClass).setTransport(type);
}

void DtInteractionMgr::setOrder(RTI::InteractionClassHandle theClass, DtOrderType type) {
  if (type != DtReceiveOrder && type != DtTimestampOrder) throw RTI::InvalidOrderingHandle("");
  publishedClass(theClass).setOrder(type);
}

void DtInteractionMgr::incrementSentTally(RTI::InteractionClassHandle theClass, DtTransportType transport) {
  if (DtInteractionClassInfo* record = fom_ ? fom_->interactionByHandle(theClass) : nullptr) {
    record->tallySet().increment(RTI::RTI_FALSE, transport);
  }
}

void DtInteractionMgr::incrementReceivedTally(RTI::InteractionClassHandle theClass, DtTransportType transport) {
  if (DtInteractionClassInfo* record = fom_ ? fom_->interactionByHandle(theClass) : nullptr) {
    record->tallySet().increment(RTI::RTI_TRUE, transport);
  }
}

void DtInteractionMgr::fastIncrementSentTally(RTI::InteractionClassHandle theClass, DtTransportType transport) {
  if (params_ && params_->momServiceAvailable()) incrementSentTally(theClass, transport);
}

void DtInteractionMgr::fastIncrementReceivedTally(RTI::InteractionClassHandle theClass, DtTransportType transport) {
  if (params_ && params_->momServiceAvailable()) incrementReceivedTally(theClass, transport);
}

// ---- save and restore

bool DtInteractionMgr::save(DtRtiSaveFile& file) const {
  DtSavePacketBuilder record(DtInteractionMgrPacket::theType, DtInteractionMgrPacket::theLength);
  record.setU8(DtInteractionMgrPacket::relevanceSwitchAt, relevanceAdvisorySwitch_);
  return file.writePacket(record);
}

bool DtInteractionMgr::restore(DtRtiSaveFile& file) {
  const DtSavePacket* record = file.readNextPacket();
  if (!record || record->type() != DtInteractionMgrPacket::theType) {
    DtNotifyError("IntMgr received an incorrect save packet, restore aborted\n");
    return false;
  }
  if (!record->holds(DtInteractionMgrPacket::relevanceSwitchAt, 1)) {
    DtNotifyError("IntMgr received a damaged save packet, restore aborted\n");
    return false;
  }
  relevanceAdvisorySwitch_ = record->u8(DtInteractionMgrPacket::relevanceSwitchAt) ? 1 : 0;
  classGroups_.leaveAll(connectMgr_);
  if (dmFiltering() && fom_) {
    for (int h = 0; h < fom_->numInteractions(); ++h) {
      DtInteractionClassInfo* record = fom_->interactionByHandle(static_cast<RTI::InteractionClassHandle>(h));
      if (record && record->subscribed() != DtInteractionClassInfo::notSubscribed) addClassMulticast(record);
    }
  }
  return true;
}
