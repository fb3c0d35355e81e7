#include "ddm/DtObjectDataDistMgr.h"

#include <algorithm>
#include <span>

#include "api/DtAttrValueSet.h"
#include "ddm/DtDataDistMgr.h"
#include "ddm/DtPubRegionSet.h"
#include "ddm/DtRegion.h"
#include "ddm/DtRemoteRegionSet.h"
#include "ddm/DtSubRegionSet.h"
#include "msg/DtFederationMsgs.h"
#include "msg/DtObjectMsgs.h"
#include "net/DtConnectionMgr.h"
#include "objects/DtAddrMap.h"
#include "objects/DtFederateHandleRange.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtObjectMgrMsg.h"
#include "objects/DtRtiObject.h"

DtObjectMgr* DtObjectDataDistMgr::create(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params) {
  return new DtObjectDataDistMgr(connectMgr, fom, params);
}

DtObjectDataDistMgr::DtObjectDataDistMgr(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params)
    : DtObjectMgr(connectMgr, fom, params) {
  if (connectMgr_) {
    // The association handlers are overloaded: their static forwarders pick
    // the message forms.
    handlers_.add<DtAssocPubRegMsg>(connectMgr_, &DtObjectDataDistMgr::receiveAssocPubReg, this);
    handlers_.add<DtAssocSubRegMsg>(connectMgr_, &DtObjectDataDistMgr::receiveAssocSubReg, this);
    handlers_.add<DtObjRegSetMsg, &DtObjectDataDistMgr::processRegionSet>(connectMgr_, this);
  }
}

void DtObjectDataDistMgr::receiveAssocPubReg(const DtAssocPubRegMsg& msg, void* mgr) {
  static_cast<DtObjectDataDistMgr*>(mgr)->processAssocPubReg(msg);
}

void DtObjectDataDistMgr::receiveAssocSubReg(const DtAssocSubRegMsg& msg, void* mgr) {
  static_cast<DtObjectDataDistMgr*>(mgr)->processAssocSubReg(msg);
}

DtObjectDataDistMgr::~DtObjectDataDistMgr() {
  destroyRegionLists();
  handlers_.clear();
}

// ---- the default sets ----------------------------------------------------------

void DtObjectDataDistMgr::setDdmMgr(DtDataDistMgr* ddm) {
  DtDataDistHalf::setDdmMgr(ddm);
  if (ddm) makeDefaultSets(ddm->defaultRegion());
}

void DtObjectDataDistMgr::makeDefaultSets(DtRegion& defaultRegion) {
  if (defaultPub_) return;  // made already
  const std::uint32_t self = fedHandle();
  defaultPub_ = std::make_unique<DtPubRegionSet>(0, &defaultRegion);
  defaultPub_->setFederateHandle(self);
  defaultRegion.addObjPubRegSet(defaultPub_.get());
  pubRegionSets_.add(0, defaultPub_.get());

  defaultSub_ = std::make_unique<DtSubRegionSet>(0, &defaultRegion);
  defaultSub_->setFederateHandle(self);
  defaultRegion.addObjSubRegSet(defaultSub_.get());
  subRegionSets_.add(0, defaultSub_.get());

  // Filed as the region's passive set, like every other passive set (not
  // among its subscription sets): one rule for live and restored passive
  // sets. The default region is never modified or deleted, so where it is
  // filed changes nothing while the federate runs.
  defaultPas_ = std::make_unique<DtSubRegionSet>(1, &defaultRegion);
  defaultPas_->setFederateHandle(self);
  defaultRegion.addObjPasRegSet(defaultPas_.get());
  pasRegionSets_.add(1, defaultPas_.get());

  defaultRemotePub_ = std::make_unique<DtRemoteRegionSet>(0, &defaultRegion);
  defaultRemoteSub_ = std::make_unique<DtRemoteRegionSet>(0, &defaultRegion);
}

// ---- handles, filters, look-ups --------------------------------------------------

std::uint32_t DtObjectDataDistMgr::uniqueRegionSetHandle() {
  const std::uint32_t handle = DtFederateHandleRange::handle(fedHandle(), regionSetCounter_, "object region set");
  ++regionSetCounter_;
  return handle;
}

bool DtObjectDataDistMgr::acceptObjectChannel(std::uint32_t regionSet) const {
  return regionSet == 0 || subMatchOverlaps_.lookup(regionSet) != nullptr;
}

bool DtObjectDataDistMgr::acceptRequestChannel(std::uint32_t regionSet) const {
  return regionSet == 0 || pubOverlaps_.lookup(regionSet) != nullptr;
}

// The tables file only sets of their kind.
DtPubRegionSet* DtObjectDataDistMgr::getPubRegionSet(std::uint32_t handle) const {
  return static_cast<DtPubRegionSet*>(pubRegionSets_.lookup(handle));
}
DtSubRegionSet* DtObjectDataDistMgr::getSubRegionSet(std::uint32_t handle) const {
  return static_cast<DtSubRegionSet*>(subRegionSets_.lookup(handle));
}
DtSubRegionSet* DtObjectDataDistMgr::getPasRegionSet(std::uint32_t handle) const {
  return static_cast<DtSubRegionSet*>(pasRegionSets_.lookup(handle));
}
DtRemoteRegionSet* DtObjectDataDistMgr::getRemotePubRegionSet(std::uint32_t handle) const {
  return static_cast<DtRemoteRegionSet*>(remotePubRegionSets_.lookup(handle));
}
DtRemoteRegionSet* DtObjectDataDistMgr::getRemoteSubRegionSet(std::uint32_t handle) const {
  return static_cast<DtRemoteRegionSet*>(remoteSubRegionSets_.lookup(handle));
}

RTI::FederateAmbassador* DtObjectDataDistMgr::scopeAmb() const { return attributeScopeSwitch() ? fedAmb() : nullptr; }

// ---- messages ----------------------------------------------------------------------

void DtObjectDataDistMgr::sendRegionSetMsg(DtObjRegSetType type, const DtRegionSet& set) {
  auto msg = makeMsg<DtObjRegSetMsg>(DtObjRegSetMsgKind);
  if (!msg) return;
  std::vector<std::uint32_t> regions;
  for (const DtRegionEntry& entry : set.regionList()) regions.push_back(entry.handle);
  msg->set(type, set.regionSetHandle(), set.address(), std::span<const std::uint32_t>(regions));
  sendInternal(std::move(msg));
}

void DtObjectDataDistMgr::sendAssocPublishRegionMsg(std::uint32_t regionSet, std::uint32_t object, const char* name,
                                                    std::uint32_t classHandle, bool remove,
                                                    const DtAttributeHandleSet& attributes) {
  auto msg = makeMsg<DtAssocPubRegMsg>(DtAssocPubRegMsgKind);
  if (!msg) return;
  msg->set(regionSet, object, name, classHandle, remove ? 1 : 0, attributes);
  sendInternal(std::move(msg));
}

void DtObjectDataDistMgr::sendAssocSubscribeRegionMsg(std::uint32_t regionSet, std::uint32_t classHandle,
                                                      const DtAttributeHandleSet& attributes) {
  auto msg = makeMsg<DtAssocSubRegMsg>(DtAssocSubRegMsgKind);
  if (!msg) return;
  msg->set(regionSet, classHandle, attributes);
  sendInternal(std::move(msg));
}

// ---- received ------------------------------------------------------------------------

void DtObjectDataDistMgr::processRegionSet(const DtObjRegSetMsg& msg) {
  switch (msg.regionSetType()) {
    case DtObjPubRegionSet: processPubRegionSet(msg); break;
    case DtObjSubRegionSet: processSubRegionSet(msg); break;
    default: break;  // neither kind of set: nothing of ours
  }
}

// ---- remote objects --------------------------------------------------------------------

DtRtiObject* DtObjectDataDistMgr::discoverFromRegionSet(std::uint32_t object, std::uint32_t classHandle,
                                                        const char* name, const DtAttributeHandleSet& attributes,
                                                        std::uint32_t regionSet) {
  if (knownObj(object)) return nullptr;
  return processNewObj(object, static_cast<RTI::ObjectClassHandle>(classHandle), name, attributes, regionSet);
}

DtObjectClassInfo* DtObjectDataDistMgr::publishedClass(const DtRtiObject& object) {
  return object.actualClass() ? object.actualClass() : object.knownClass();
}

void DtObjectDataDistMgr::removeObject(DtRtiObject& object) {
  const std::uint32_t handle = object.objHandle();
  tables_.removeObjectDefaultByClass(object);
  tables_.removeAttrPubDefaultRegionSet(handle);
  DtObjectClassInfo* known = publishedClass(object);
  // The attributes grouped by the set they leave, in the order the sets come.
  std::vector<std::pair<DtRemoteRegionSet*, DtAttributeHandleSet>> groups;
  for (const auto& entry : tables_.takeAttrPubRegionSets(handle)) {
    const RTI::AttributeHandle attribute = entry.first;
    DtRemoteRegionSet* set = entry.second;
    if (!set) continue;
    auto group = std::find_if(groups.begin(), groups.end(), [&](const auto& g) { return g.first == set; });
    if (group == groups.end()) group = groups.insert(groups.end(), {set, {}});
    group->second.add(attribute);
    set->removeAttribute(handle, known, attribute);
  }
  for (auto& [set, attributes] : groups) {
    if (!known) continue;
    const bool wasAccepted = acceptObjectChannel(set->regionSetHandle());
    evalMatchAfterRemoteRemove(subMatches_, subMatchOverlaps_, *set, *known, attributes);
    dropIfNoLongerAccepted(wasAccepted, *set);
  }
}

void DtObjectDataDistMgr::removeObjAssociations(DtRtiObject& object) {
  DtObjectClassInfo* known = object.knownClass();
  std::vector<std::pair<DtPubRegionSet*, DtAttributeHandleSet>> groups;
  const DtAttributeHandleSet& owned = object.ownedAttrs();
  for (RTI::ULong i = 0; i < owned.size(); ++i) {
    const RTI::AttributeHandle attribute = owned.getHandle(i);
    auto* set = dynamic_cast<DtPubRegionSet*>(object.regionSet(attribute));
    if (!set) continue;
    auto group = std::find_if(groups.begin(), groups.end(), [&](const auto& g) { return g.first == set; });
    if (group == groups.end()) group = groups.insert(groups.end(), {set, {}});
    group->second.add(attribute);
    set->removeAttribute(object.objHandle(), known, attribute);
  }
  if (!known) return;
  for (auto& [set, attributes] : groups) {
    evalMatchAfterLocalRemove(pubMatches_, pubMatchOverlaps_, *set, *known, attributes, false);
  }
}

void DtObjectDataDistMgr::leaveLocalSets(DtRtiObject& object) {
  removeObjAssociations(object);
  // Unowned associations, and owned ones whose matching went already.
  const std::uint32_t handle = object.objHandle();
  for (RTI::AttributeHandle a = 0; a < object.numAttributes(); ++a) {
    DtPubRegionSet* set = pubSet(object, a);
    if (!set) continue;
    set->removeAttribute(handle, object.knownClass(), a);
    set->removeUnownedAttribute(handle, a);
    object.setRegionSet(a, nullptr);
  }
}

void DtObjectDataDistMgr::deleteObj(DtRtiObject* object) {
  if (object && allObj(object->objHandle()) == object) {
    const std::uint32_t handle = object->objHandle();
    removeObject(*object);
    leaveLocalSets(*object);
    pendingRemoteUnsubscribe_.take(handle);
    collectedAssocPub_.take(handle);
  }
  DtObjectMgr::deleteObj(object);
}

void DtObjectDataDistMgr::localDeleteObj(RTI::ObjectHandle object) {
  DtRtiObject& o = knownObject(object);
  if (!o.ownedAttrs().isEmpty()) throw RTI::FederateOwnsAttributes("");
  // Also when the record stays (its attributes held here for the
  // federation): it is no longer reflected here.
  removeObject(o);
  DtObjectMgr::localDeleteObj(object);
}

void DtObjectDataDistMgr::processDelete(const DtDeleteMsg& msg) {
  if (DtRtiObject* object = knownObj(static_cast<RTI::ObjectHandle>(msg.id()))) removeObject(*object);
  DtObjectMgr::processDelete(msg);
}

void DtObjectDataDistMgr::calculateRegionSet(std::uint32_t regionSet, const RTI::AttributeHandleValuePairSet& values) {
  const DtRemoteRegionSet* set = regionSet == 0 ? defaultRemotePub_.get() : getRemotePubRegionSet(regionSet);
  // The library makes every value set it reflects.
  auto* reflected = dynamic_cast<DtAttrValueSet*>(const_cast<RTI::AttributeHandleValuePairSet*>(&values));
  if (set && reflected) reflected->setRegion(set->boundingRegion());
}

void DtObjectDataDistMgr::processResign(const DtResignMsg& msg) {
  const std::uint32_t federate = msg.federateHandle();
  if (federate == fedHandle()) return;
  DtObjectMgr::processResign(msg);
  tables_.removeFederate(federate);
}

// ---- teardown --------------------------------------------------------------------------

void DtObjectDataDistMgr::clearQueues() {
  for (DtPendingAssocQueue* queue : {&pendingAssocPubRegAdd_, &pendingAssocPubRegRemove_, &pendingUnassocPubReg_,
                                     &pendingAssocSubRegAdd_, &pendingAssocSubRegRemove_, &pendingUnassocSubReg_,
                                     &pendingAssocPasRegAdd_, &pendingAssocPasRegRemove_, &pendingUnassocPasReg_}) {
    queue->clear();
  }
  collectedPubRegionSets_.clear();
  collectedSubRegionSets_.clear();
  collectedAssocPub_.clear();
  collectedAssocSub_.clear();
}

void DtObjectDataDistMgr::destroyRegionLists() {
  remotePubRegions_.clear();
  remoteSubRegions_.clear();
  for (DtRegionMatchList* list :
       {&subMatches_, &subOverlaps_, &subMatchOverlaps_, &pubMatches_, &pubOverlaps_, &pubMatchOverlaps_}) {
    list->destroyAll();
  }
  // Records pointing at the sets go before the sets do.
  clearQueues();
  tables_.clear();
  pendingRemoteUnsubscribe_.clear();
  // Objects' attributes stop naming publication sets about to go.
  for (DtListItem* item = allObjects().head(); item; item = item->next()) {
    auto* object = static_cast<DtRtiObject*>(item->data());
    for (RTI::AttributeHandle a = 0; a < object->numAttributes(); ++a) {
      if (object->regionSet(a)) object->setRegionSet(a, nullptr);
    }
  }
  if (fom_) {
    for (int c = 0; c < fom_->numClasses(); ++c) {
      DtObjectClassInfo* cls = fom_->classByHandle(static_cast<RTI::ObjectClassHandle>(c));
      if (!cls) continue;
      cls->emptyRegionLists();
      for (const auto& attribute : cls->attrs()) {
        if (!attribute) continue;
        attribute->setSubRegionSet(nullptr);
        attribute->setPasRegionSet(nullptr);
      }
    }
  }
  pubRegionSets_.remove(0);
  subRegionSets_.remove(0);
  pasRegionSets_.remove(1);
  defaultPub_.reset();
  defaultSub_.reset();
  defaultPas_.reset();
  defaultRemotePub_.reset();
  defaultRemoteSub_.reset();
  remotePubRegionSets_.destroyAll();
  remoteSubRegionSets_.destroyAll();
  pubRegionSets_.destroyAll();
  subRegionSets_.destroyAll();
  pasRegionSets_.destroyAll();
}
