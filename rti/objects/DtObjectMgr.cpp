// The object manager's core: creation, the handlers of received messages,
// the object lists, the handles and names it makes, and the advisory queues
// that tick() hands to the federate.
#include "objects/DtObjectMgr.h"

#include <cinttypes>
#include <cstdio>

#include "config/DtRIDParameters.h"
#include "msg/DtDeclarationMsgs.h"
#include "msg/DtObjectMsgs.h"
#include "msg/DtOwnershipMsg.h"
#include "msg/DtUpdateMsgs.h"
#include "objects/DtAddrMap.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtObjectMgrMsg.h"
#include "objects/DtRtiObject.h"
#include "util/DtCreatorHook.h"
#include "util/DtNotify.h"

namespace {

DtCreatorHook<DtObjectMgr, DtConnectionMgr*, DtFomClassMgr*, DtRIDParameters*> theCreator;
DtCreatorHook<DtObjectMgr, DtConnectionMgr*, DtFomClassMgr*, DtRIDParameters*> theDataDistCreator;

// Runs the action on the entries queued when it starts, taking each out
// first: an action may queue more (for the next tick) or throw (the rest
// stays queued).
template <class Queue, class Action>
void drain(Queue& queue, Action&& action) {
  for (std::size_t n = queue.size(); n > 0 && !queue.empty(); --n) {
    auto entry = std::move(queue.front());
    queue.pop_front();
    action(entry);
  }
}

}  // namespace

std::uint8_t DtObjectMgr::theDefaultClassAdvisorySwitch = 1;
std::uint8_t DtObjectMgr::theDefaultAttributeAdvisorySwitch = 0;
std::uint8_t DtObjectMgr::theDefaultAttributeScopeAdvisorySwitch = 0;
const char* DtObjectMgr::theHlaNamePrefix = "";

// Creation ------------------------------------------------------------------

std::unique_ptr<DtObjectMgr> DtObjectMgr::create(DtConnectionMgr* connectMgr, DtFomClassMgr* fom,
                                                 DtRIDParameters* params) {
  if (auto installed = theCreator.makeInstalled(connectMgr, fom, params)) return installed;
  if (params && params->dataDistMgmt() != 0) {
    if (auto dataDist = theDataDistCreator.makeInstalled(connectMgr, fom, params)) return dataDist;
  }
  return std::make_unique<DtObjectMgr>(connectMgr, fom, params);
}

void DtObjectMgr::setCreatorFunction(Creator creator) { theCreator.set(creator); }

void DtObjectMgr::setDataDistCreator(Creator creator) { theDataDistCreator.set(creator); }

DtObjectMgr::DtObjectMgr(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params)
    : connectMgr_(connectMgr),
      fom_(fom),
      params_(params),
      classRelevanceSwitch_(theDefaultClassAdvisorySwitch),
      attributeRelevanceSwitch_(theDefaultAttributeAdvisorySwitch),
      attributeScopeSwitch_(theDefaultAttributeScopeAdvisorySwitch) {
  if (params_) {
    settings_.errorChecking = params_->errorChecking() != 0;
    settings_.fomDataReliable = params_->fomDataReliable() != 0;
    settings_.timeMgmt = params_->timeMgmt() != 0;
    settings_.dataDistMgmt = params_->dataDistMgmt() != 0;
    settings_.sendDiscoveredClass = params_->sendDiscoveredClass() != 0;
    settings_.processUnknownUpdatesForDiscovery = params_->processUnknownUpdatesForDiscovery() != 0;
    settings_.deleteOrphans = params_->deleteOrphans() != 0;
    settings_.momServiceAvailable = params_->momServiceAvailable() != 0;
    settings_.useDMFiltering = params_->useDMFiltering();
    settings_.addressDelay = params_->addressDelay();
    settings_.useRtiExec = params_->useRtiExec() != 0;
  }
  addrMap_ = std::make_unique<DtAddrMap>(0, settings_.addressDelay);
  DtRtiObject::setUseDiscoveredClass(settings_.sendDiscoveredClass);
  if (settings_.dataDistMgmt) DtUpdateMsg::setChannelIncluded(1);
  subscribeHandlers();
}

DtObjectMgr::~DtObjectMgr() {
  destroyObjectLists();
  // A federate that resigned keeps no group of its classes.
  classGroups_.leaveAll(connectMgr_);
  handlers_.clear();
}

void DtObjectMgr::subscribeHandlers() {
  DtConnectionMgr* mgr = connectMgr_;
  // The update kinds are those of the channel switch as it stands now.
  handlers_.add<DtUpdateRoMsg, &DtObjectMgr::processUpdate>(mgr, this);
  handlers_.add<DtUpdateTsoMsg, &DtObjectMgr::processUpdate>(mgr, this);
  handlers_.add<DtRegObjMsg, &DtObjectMgr::processRegister>(mgr, this);
  handlers_.add<DtDiscObjMsg, &DtObjectMgr::processDiscover>(mgr, this);
  handlers_.add<DtReqDiscObjMsg, &DtObjectMgr::processRequestDiscover>(mgr, this);
  handlers_.add<DtDeleteRoMsg, &DtObjectMgr::processDelete>(mgr, this);
  handlers_.add<DtDeleteTsoMsg, &DtObjectMgr::processDelete>(mgr, this);
  handlers_.add<DtLocDelMsg, &DtObjectMgr::processLocDelete>(mgr, this);
  handlers_.add<DtPubObjMsg, &DtObjectMgr::processPub>(mgr, this);
  handlers_.add<DtUnpubObjMsg, &DtObjectMgr::processUnpub>(mgr, this);
  handlers_.add<DtSubObjMsg, &DtObjectMgr::processSub>(mgr, this);
  handlers_.add<DtUnsubObjMsg, &DtObjectMgr::processUnsub>(mgr, this);
  handlers_.add<DtRequestMsg, &DtObjectMgr::processRequest>(mgr, this);
  handlers_.add<DtOwnershipMsg, &DtObjectMgr::processOwnership>(mgr, this);
}

// What the manager works through -------------------------------------------

RTI::FederateAmbassador* DtObjectMgr::fedAmb() const { return connectMgr_ ? connectMgr_->fedAmb() : nullptr; }

std::uint32_t DtObjectMgr::fedHandle() const {
  return connectMgr_ ? static_cast<std::uint32_t>(connectMgr_->fedHandle()) : 0;
}

void DtObjectMgr::sendInternal(std::unique_ptr<DtRtiMsg> msg) const {
  if (!msg || !connectMgr_) return;
  connectMgr_->sendStampedAndDelete(msg.release(), connectMgr_->internalTransportType(), 0);
}

DtObjectClassInfo& DtObjectMgr::definedClass(RTI::ObjectClassHandle theClass) const {
  DtObjectClassInfo* cls = fom_ ? fom_->classByHandle(theClass) : nullptr;
  if (!cls) throw RTI::ObjectClassNotDefined("");
  return *cls;
}

DtRtiObject& DtObjectMgr::knownObject(RTI::ObjectHandle object) const {
  DtRtiObject* found = knownObj(object);
  if (!found) throw RTI::ObjectNotKnown("");
  return *found;
}

// Names and handles -----------------------------------------------------------

RTI::ObjectHandle DtObjectMgr::objectHandle(const char* name) {
  DtRtiObject* found = knownObj(name);
  if (!found) throw RTI::ObjectNotKnown("");
  return found->objHandle();
}

const char* DtObjectMgr::objectName(RTI::ObjectHandle object) { return knownObject(object).objName(); }

RTI::ObjectClassHandle DtObjectMgr::objectClass(RTI::ObjectHandle object) {
  return knownObject(object).knownClassHandle();
}

std::uint32_t DtObjectMgr::uniqueHandle() {
  const std::uint32_t handle = DtFederateHandleRange::handle(fedHandle(), handleCounter_, "object");
  ++handleCounter_;
  return handle;
}

const char* DtObjectMgr::uniqueName(std::uint32_t handle) {
  std::snprintf(nameBuffer_, sizeof nameBuffer_, "%s%" PRIu32, theHlaNamePrefix, handle);
  return nameBuffer_;
}

// The lists ------------------------------------------------------------------

void DtObjectMgr::addAllObj(DtRtiObject* object) { all_.add(object); }

void DtObjectMgr::removeAllObj(RTI::ObjectHandle object) { all_.remove(object); }

void DtObjectMgr::addKnownObj(DtRtiObject* object) {
  if (!object) return;
  known_.add(object);
  object->setIsKnown(true);
}

void DtObjectMgr::removeKnownObj(RTI::ObjectHandle object) {
  if (DtRtiObject* removed = known_.remove(object)) removed->setIsKnown(false);
}

void DtObjectMgr::addOwnedObj(DtRtiObject* object) { owned_.add(object); }

void DtObjectMgr::removeOwnedObj(RTI::ObjectHandle object) { owned_.remove(object); }

void DtObjectMgr::addLrcManagedObj(DtRtiObject* object) { lrcManaged_.add(object); }

void DtObjectMgr::removeLrcManagedObj(RTI::ObjectHandle object) { lrcManaged_.remove(object); }

void DtObjectMgr::deleteObj(DtRtiObject* object) {
  if (!object) return;
  const std::uint32_t handle = object->objHandle();
  // Only the record filed under its handle is the manager's to delete.
  if (all_.find(handle) != object) return;
  known_.remove(handle);
  owned_.remove(handle);
  lrcManaged_.remove(handle);
  all_.remove(handle);
  if (callbackDepth_ > 0) {
    retired_.emplace_back(object);
  } else {
    delete object;
  }
}

DtObjectMgr::CallbackScope::~CallbackScope() {
  if (--mgr_.callbackDepth_ == 0) mgr_.retired_.clear();
}

std::uint32_t DtObjectMgr::numObjectsOwned() const {
  std::uint32_t count = 0;
  for (const DtListItem* item = owned_.list().head(); item; item = item->next()) {
    if (static_cast<const DtRtiObject*>(item->data())->ownPriviledgeToDelete()) ++count;
  }
  return count;
}

void DtObjectMgr::destroyObjectLists() {
  pendingStartUpdates_.clear();
  pendingStopUpdates_.clear();
  pendingStartReg_.clear();
  pendingStopReg_.clear();
  pendingRegister_.clear();
  if (addrMap_) addrMap_->empty();
  // Every record is the manager's but those whose privilege to delete the
  // RTI holds (the MOM's objects): they belong to whoever made them and are
  // only unlisted. The lists are emptied whole (a restore empties a manager
  // of many objects).
  std::vector<DtRtiObject*> records;
  records.reserve(all_.count());
  for (const DtListItem* item = all_.list().head(); item; item = item->next()) {
    auto* record = static_cast<DtRtiObject*>(item->data());
    if (!record->rtiOwned(0)) records.push_back(record);
  }
  known_.clear();
  owned_.clear();
  lrcManaged_.clear();
  all_.clear();
  for (DtRtiObject* record : records) {
    if (callbackDepth_ > 0) {
      retired_.emplace_back(record);
    } else {
      delete record;
    }
  }
}

// Advisory queues --------------------------------------------------------------

void DtObjectMgr::addPendingStartReg(std::uint32_t classHandle) {
  if (classRelevanceSwitch()) pendingStartReg_.push_back(classHandle);
}

void DtObjectMgr::addPendingStopReg(std::uint32_t classHandle) {
  if (classRelevanceSwitch()) pendingStopReg_.push_back(classHandle);
}

void DtObjectMgr::addPendingStartUpdates(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes) {
  if (!attributeRelevanceSwitch()) return;
  pendingStartUpdates_.push_back(
      DtPendingAttrs{1, static_cast<std::uint32_t>(object), DtAttributeHandleSet(attributes)});
}

void DtObjectMgr::addPendingStopUpdates(RTI::ObjectClassHandle theClass, const RTI::AttributeHandleSet& attributes) {
  if (!attributeRelevanceSwitch()) return;
  pendingStopUpdates_.push_back(
      DtPendingAttrs{0, static_cast<std::uint32_t>(theClass), DtAttributeHandleSet(attributes)});
}

void DtObjectMgr::addPendingRemoval(RTI::ObjectHandle object) {
  // A removal reports a deletion that happened: it is queued even during a
  // restore.
  pendingRemovals_.push_back(static_cast<std::uint32_t>(object));
}

void DtObjectMgr::addPendingRegister(std::uint32_t classHandle) {
  if (restoreInProgress_) return;
  const DtObjectClassInfo* added = fom_ ? fom_->classByHandle(classHandle) : nullptr;
  for (auto at = pendingRegister_.begin(); at != pendingRegister_.end();) {
    if (at->kind != 0) {
      ++at;
      continue;
    }
    // A queued class covers its subclasses; a new class replaces the
    // queued subclasses it covers.
    if (at->handle == classHandle || (added && added->isOfClass(at->handle))) return;
    const DtObjectClassInfo* queued = fom_ ? fom_->classByHandle(at->handle) : nullptr;
    if (queued && queued->isOfClass(classHandle)) {
      at = pendingRegister_.erase(at);
    } else {
      ++at;
    }
  }
  pendingRegister_.push_back(DtPendingHandle{0, classHandle});
}

void DtObjectMgr::addPendingRegisterForObject(RTI::ObjectHandle object) {
  if (restoreInProgress_) return;
  pendingRegister_.push_back(DtPendingHandle{1, static_cast<std::uint32_t>(object)});
}

void DtObjectMgr::tick() {
  sendPendingStopReg();
  sendPendingStartReg();
  sendPendingStopUpdates();
  sendPendingStartUpdates();
  sendPendingRemovals();
  sendPendingRegister();
}

void DtObjectMgr::sendPendingStartReg() {
  drain(pendingStartReg_, [this](std::uint32_t theClass) {
    if (RTI::FederateAmbassador* amb = fedAmb()) amb->startRegistrationForObjectClass(theClass);
  });
}

void DtObjectMgr::sendPendingStopReg() {
  drain(pendingStopReg_, [this](std::uint32_t theClass) {
    // Only a class this federate still publishes stops: an unpublished one
    // has nothing to register anyway.
    RTI::FederateAmbassador* amb = fedAmb();
    if (amb && published(theClass)) amb->stopRegistrationForObjectClass(theClass);
  });
}

void DtObjectMgr::sendPendingStartUpdates() {
  drain(pendingStartUpdates_, [this](const DtPendingAttrs& entry) {
    DtRtiObject* object = entry.flag == 1 ? ownedObj(entry.handle) : nullptr;
    RTI::FederateAmbassador* amb = fedAmb();
    if (!object || !amb) return;
    amb->turnUpdatesOnForObjectInstance(entry.handle, object->ownedAttrs().setIntersection(entry.attrs));
  });
}

void DtObjectMgr::sendPendingStopUpdates() {
  drain(pendingStopUpdates_, [this](const DtPendingAttrs& entry) {
    owned_.forEach([&](DtRtiObject& object) {
      RTI::FederateAmbassador* amb = fedAmb();
      if (!amb || object.knownClassHandle() != entry.handle) return;
      amb->turnUpdatesOffForObjectInstance(object.objHandle(), object.ownedAttrs().setIntersection(entry.attrs));
    });
  });
}

void DtObjectMgr::sendPendingRemovals() {
  drain(pendingRemovals_, [this](std::uint32_t object) {
    if (RTI::FederateAmbassador* amb = fedAmb()) amb->removeObjectInstance(object, "Deleted by Resignation");
  });
}

void DtObjectMgr::sendPendingRegister() {
  drain(pendingRegister_, [this](const DtPendingHandle& entry) {
    if (entry.kind == 1) {
      if (DtRtiObject* object = ownedObj(entry.handle)) resendRegister(object);
      return;
    }
    owned_.forEach([&](DtRtiObject& object) {
      if (object.isOfActualClass(entry.handle)) resendRegister(&object);
    });
  });
}

// Region operations and data distribution hooks: nothing here ----------------

void DtObjectMgr::subscribeObjectClassAttributesWithRegion(RTI::ObjectClassHandle, RTI::Region&,
                                                           const RTI::AttributeHandleSet&, RTI::Boolean) {}
void DtObjectMgr::unsubscribeObjectClassWithRegion(RTI::ObjectClassHandle, RTI::Region&) {}
void DtObjectMgr::associateRegionForUpdates(RTI::Region&, RTI::ObjectHandle, const RTI::AttributeHandleSet&, int) {}
void DtObjectMgr::unassociateRegionForUpdates(RTI::Region&, RTI::ObjectHandle) {}
RTI::ObjectHandle DtObjectMgr::registerObjectInstanceWithRegion(RTI::ObjectClassHandle, const char*,
                                                                RTI::AttributeHandle*, RTI::Region**, RTI::ULong) {
  return 0;
}
RTI::ObjectHandle DtObjectMgr::registerObjectInstanceWithRegion(RTI::ObjectClassHandle, RTI::AttributeHandle*,
                                                                RTI::Region**, RTI::ULong) {
  return 0;
}
void DtObjectMgr::requestClassAttributeValueUpdateWithRegion(RTI::ObjectClassHandle, const RTI::AttributeHandleSet&,
                                                             const RTI::Region&) {}
void DtObjectMgr::calculateRegionSet(std::uint32_t, const RTI::AttributeHandleValuePairSet&) {}
void DtObjectMgr::acquireAssociateRegionForUpdates(RTI::ObjectHandle, const RTI::AttributeHandleSet&) {}
void DtObjectMgr::unassociateRegionForDivested(DtRtiObject&, const RTI::AttributeHandleSet&, bool) {}
void DtObjectMgr::checkForRegionalSubscribe(DtObjectClassInfo&) {}
void DtObjectMgr::removeObjAssociations(DtRtiObject&) {}
bool DtObjectMgr::acceptObjectChannel(std::uint32_t) const { return true; }
bool DtObjectMgr::acceptRequestChannel(std::uint32_t) const { return true; }
