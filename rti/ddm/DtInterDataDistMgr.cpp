// The interaction data distribution manager's tables: its region sets, how
// they are made, filed, announced and deleted, and the tick's announcements.
#include "ddm/DtInterDataDistMgr.h"

#include <algorithm>

#include "config/DtRIDParameters.h"
#include "ddm/DtDataDistMgr.h"
#include "ddm/DtInteractionRegionSet.h"
#include "ddm/DtRegion.h"
#include "msg/DtRegionSetMsgs.h"
#include "msg/DtUpdateMsgs.h"
#include "net/DtConnectionMgr.h"
#include "net/DtMakeMsg.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtInteractionClassInfo.h"

namespace {

DtInteractionRegionSet* asInter(DtRegionSet* set) { return static_cast<DtInteractionRegionSet*>(set); }

}  // namespace

DtInteractionMgr* DtInterDataDistMgr::create(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params) {
  return new DtInterDataDistMgr(connectMgr, fom, params);
}

DtInterDataDistMgr::DtInterDataDistMgr(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params)
    : DtInteractionMgr(connectMgr, fom, params) {
  if (connectMgr) {
    regionSetHandler_.add<DtInterRegSetMsg, &DtInterDataDistMgr::processRegionSet>(connectMgr, this);
  }
}

DtInterDataDistMgr::~DtInterDataDistMgr() {
  regionSetHandler_.clear();
  destroyRegionLists();
}

void DtInterDataDistMgr::setDdmMgr(DtDataDistMgr* ddm) {
  DtDataDistHalf::setDdmMgr(ddm);
  pubHandles_.setCounter(DtRegionSetHandlePool::theFirstSerial);
  subHandles_.setCounter(DtRegionSetHandlePool::theFirstSerial);
}

std::uint32_t DtInterDataDistMgr::fedHandle() const {
  return connectMgr() ? static_cast<std::uint32_t>(connectMgr()->fedHandle()) : 0;
}

std::uint32_t DtInterDataDistMgr::numClasses() const {
  return fom() ? static_cast<std::uint32_t>(std::max(fom()->numInteractions(), 0)) : 0;
}

std::uint32_t DtInterDataDistMgr::uniquePubRegSetHandle() { return pubHandles_.take(fedHandle()); }

std::uint32_t DtInterDataDistMgr::uniqueSubRegSetHandle() { return subHandles_.take(fedHandle()); }

DtInteractionClassInfo& DtInterDataDistMgr::knownClass(RTI::InteractionClassHandle theClass) const {
  return definedClass(theClass);
}

DtRegion& DtInterDataDistMgr::ownRegion(const RTI::Region& region) const {
  // Only a region this federate holds now: a stale or foreign reference
  // would leave sets pointing at nothing.
  const auto* candidate = dynamic_cast<const DtRegion*>(&region);
  DtRegion* filed = candidate && ddmMgr_ ? ddmMgr_->localRegion(candidate->handle()) : nullptr;
  if (!filed || filed != candidate) throw RTI::RegionNotKnown("");
  return *filed;
}

// ---- the tables

DtInteractionRegionSet* DtInterDataDistMgr::localPubRegSet(std::uint32_t classHandle, std::uint32_t setHandle) const {
  const DtRegionSetList* sets = localPub_.lookup(classHandle);
  return sets ? asInter(sets->lookup(setHandle)) : nullptr;
}

void DtInterDataDistMgr::addLocalPubRegSet(std::uint32_t classHandle, DtInteractionRegionSet* set) {
  localPub_.addRegionSet(classHandle, set);
}

void DtInterDataDistMgr::deleteLocalPubRegSet(DtInteractionRegionSet* set) {
  if (!set) return;
  const std::uint32_t classHandle = set->classHandle();
  localPub_.removeRegionSet(classHandle, set->regionSetHandle(), false);
  addrMaps_.removeLocal(classHandle, set->regionSetHandle());
  detachRegions(*set);
  sendRegionSetMsg(DtInterPubRegionSet, *set, classHandle);
  pubHandles_.free(set->regionSetHandle());
  discard(set);
}

namespace {

template <class Table>
DtInteractionRegionSet* filedSet(const Table& table, std::uint32_t classHandle) {
  const auto* filed = table.find(classHandle);
  return filed ? filed->set : nullptr;
}

}  // namespace

DtInteractionRegionSet* DtInterDataDistMgr::localSubRegSet(std::uint32_t classHandle) const {
  return filedSet(localSub_, classHandle);
}

DtInteractionRegionSet* DtInterDataDistMgr::passiveRegSet(std::uint32_t classHandle) const {
  return filedSet(passive_, classHandle);
}

void DtInterDataDistMgr::addLocalSubRegSet(std::uint32_t classHandle, DtInteractionRegionSet* set) {
  if (set) localSub_.put({classHandle, set});
}

void DtInterDataDistMgr::addPassiveRegSet(std::uint32_t classHandle, DtInteractionRegionSet* set) {
  if (set) passive_.put({classHandle, set});
}

void DtInterDataDistMgr::unfileLocalSet(DtHandleIndex<ClassSet>& table, DtInteractionRegionSet* set) {
  if (!set) return;
  removeLocalOverlap(*set);
  if (filedSet(table, set->classHandle()) == set) table.take(set->classHandle());
  if (!isDefaultSet(set)) subHandles_.free(set->regionSetHandle());
}

void DtInterDataDistMgr::removeLocalSubRegSet(DtInteractionRegionSet* set) { unfileLocalSet(localSub_, set); }

void DtInterDataDistMgr::removePassiveRegSet(DtInteractionRegionSet* set) { unfileLocalSet(passive_, set); }

DtInteractionRegionSet* DtInterDataDistMgr::remotePubRegSet(std::uint32_t classHandle, std::uint32_t setHandle) const {
  const DtRegionSetList* sets = remotePub_.lookup(classHandle);
  return sets ? asInter(sets->lookup(setHandle)) : nullptr;
}

DtInteractionRegionSet* DtInterDataDistMgr::remoteSubRegSet(std::uint32_t federate, std::uint32_t classHandle) const {
  const FederateSubs* subs = remoteSub_.find(federate);
  const OwnedSet* filed = subs ? subs->byClass.find(classHandle) : nullptr;
  return filed ? filed->set.get() : nullptr;
}

void DtInterDataDistMgr::addRemoteSubRegSet(DtInteractionRegionSet* set) {
  if (!set) return;
  FederateSubs* subs = remoteSub_.find(set->federateHandle());
  if (!subs) {
    remoteSub_.put({set->federateHandle(), {}});
    subs = remoteSub_.find(set->federateHandle());
  }
  // A set filed before under the class is replaced; its owner has let it
  // go already (remoteSubRegSet then removeRemoteSubRegSet).
  auto replaced = subs->byClass.put({set->classHandle(), std::unique_ptr<DtInteractionRegionSet>(set)});
  if (replaced && replaced->set.get() != set) discard(replaced->set.release());
}

void DtInterDataDistMgr::removeRemoteSubRegSet(DtInteractionRegionSet* set) {
  if (!set) return;
  FederateSubs* subs = remoteSub_.find(set->federateHandle());
  OwnedSet* filed = subs ? subs->byClass.find(set->classHandle()) : nullptr;
  if (!filed || filed->set.get() != set) return;
  static_cast<void>(filed->set.release());  // the caller has it now
  subs->byClass.take(set->classHandle());
  if (subs->byClass.empty()) remoteSub_.take(set->federateHandle());
}

// ---- default sets

DtInteractionRegionSet* DtInterDataDistMgr::defaultSet(DtHandleIndex<OwnedSet>& table, std::uint32_t classHandle,
                                                       std::uint32_t handle) {
  if (OwnedSet* filed = table.find(classHandle)) return filed->set.get();
  DtInteractionClassInfo* cls = fom() ? fom()->interactionByHandle(classHandle) : nullptr;
  if (!cls || !ddmMgr_) return nullptr;
  DtRegion& region = ddmMgr_->defaultRegion();
  auto set = std::make_unique<DtInteractionRegionSet>(handle, *cls, &region);
  set->setFederateHandle(fedHandle());
  if (handle == 0) {
    region.addInterSubRegSet(classHandle, set.get());
  } else {
    region.addInterPasRegSet(classHandle, set.get());
  }
  DtInteractionRegionSet* made = set.get();
  table.put({classHandle, std::move(set)});
  return made;
}

DtInteractionRegionSet* DtInterDataDistMgr::defaultSubRegionSet(std::uint32_t classHandle) {
  return defaultSet(defaultSub_, classHandle, 0);
}

DtInteractionRegionSet* DtInterDataDistMgr::defaultPasRegionSet(std::uint32_t classHandle) {
  return defaultSet(defaultPas_, classHandle, 1);
}

bool DtInterDataDistMgr::isDefaultSet(const DtInteractionRegionSet* set) const {
  if (!set) return false;
  const OwnedSet* sub = defaultSub_.find(set->classHandle());
  const OwnedSet* pas = defaultPas_.find(set->classHandle());
  return (sub && sub->set.get() == set) || (pas && pas->set.get() == set);
}

// ---- set construction

DtInteractionRegionSet* DtInterDataDistMgr::createPubRegionSet(DtRegion& region, DtInteractionClassInfo& cls) {
  const std::uint32_t classHandle = cls.handle();
  auto* set = new DtInteractionRegionSet(uniquePubRegSetHandle(), cls, &region);
  set->setFederateHandle(fedHandle());
  set->setAddress(ddmMgr_ ? ddmMgr_->freeChannel() : 0);
  region.addInterPubRegSet(classHandle, set);
  addLocalPubRegSet(classHandle, set);
  addrMaps_.addLocal(classHandle, set->regionSetHandle(), set->address());
  sendRegionSetMsg(DtInterPubRegionSet, *set, classHandle);
  return set;
}

DtInteractionRegionSet* DtInterDataDistMgr::getPubRegionSet(DtRegion& region, DtInteractionClassInfo& cls) {
  if (const DtRegionSetList* sets = localPub_.lookup(cls.handle())) {
    for (const DtRegionSetEntry& entry : *sets) {
      if (entry.set->isMemberRegion(region.handle())) return asInter(entry.set);
    }
  }
  return createPubRegionSet(region, cls);
}

DtInteractionRegionSet* DtInterDataDistMgr::createRoleSet(DtRegion& region, DtInteractionClassInfo& cls,
                                                          DtInteractionRegionSet* base, bool add, bool passive) {
  auto set = std::make_unique<DtInteractionRegionSet>(cls);
  set->setRegionSetHandle(uniqueSubRegSetHandle());
  set->setFederateHandle(fedHandle());
  // A default set's region comes along too: a plain subscription that
  // gains a region keeps receiving everything. A passive set's regions list
  // it as their passive set, not as their subscription set: that one stays
  // the active set's.
  if (base && passive) set->addPasRegions(*base);
  if (base && !passive) set->addSubRegions(*base);
  if (add) {
    set->addRegion(&region);
    if (passive) {
      region.addInterPasRegSet(cls.handle(), set.get());
    } else {
      region.addInterSubRegSet(cls.handle(), set.get());
    }
  } else {
    set->removeRegion(region.handle());
    region.removeInterSubRegSet(cls.handle(), set.get());
    region.removeInterPasRegSet(cls.handle(), set.get());
  }
  return set.release();
}

DtInteractionRegionSet* DtInterDataDistMgr::createSubRegionSet(DtRegion& region, DtInteractionClassInfo& cls,
                                                               DtInteractionRegionSet* base, bool add) {
  return createRoleSet(region, cls, base, add, false);
}

DtInteractionRegionSet* DtInterDataDistMgr::createPasRegionSet(DtRegion& region, DtInteractionClassInfo& cls,
                                                               DtInteractionRegionSet* base, bool add) {
  return createRoleSet(region, cls, base, add, true);
}

DtInteractionRegionSet* DtInterDataDistMgr::withRegion(DtRegion& region, DtInteractionClassInfo& cls,
                                                       DtInteractionRegionSet* current, bool passive) {
  if (region.handle() == 0 && !current) {
    return passive ? defaultPasRegionSet(cls.handle()) : defaultSubRegionSet(cls.handle());
  }
  if (current && current->isMemberRegion(region.handle())) return current;
  return createRoleSet(region, cls, current, true, passive);
}

DtInteractionRegionSet* DtInterDataDistMgr::withoutRegion(DtRegion& region, DtInteractionClassInfo& cls,
                                                          DtInteractionRegionSet* current, bool passive) {
  if (!current || !current->isMemberRegion(region.handle())) return current;
  if (current->regionCount() == 1) return nullptr;
  // The region and the default region: the default set.
  if (region.handle() != 0 && current->regionCount() == 2 && current->isMemberRegion(0u)) {
    return passive ? defaultPasRegionSet(cls.handle()) : defaultSubRegionSet(cls.handle());
  }
  return createRoleSet(region, cls, current, false, passive);
}

// ---- deletion

void DtInterDataDistMgr::detachRegions(DtInteractionRegionSet& set) {
  const std::uint32_t classHandle = set.classHandle();
  for (const DtRegionEntry& entry : set.regionList()) {
    if (!entry.region) continue;
    entry.region->removeInterPubRegSet(classHandle, &set);
    entry.region->removeInterSubRegSet(classHandle, &set);
    entry.region->removeInterPasRegSet(classHandle, &set);
  }
  set.emptyRegions();
}

void DtInterDataDistMgr::withdraw(DtInteractionRegionSet& set) {
  detachRegions(set);
  sendRegionSetMsg(DtInterSubRegionSet, set, set.classHandle());
}

void DtInterDataDistMgr::discard(DtInteractionRegionSet* set) {
  if (!set || isDefaultSet(set)) return;
  std::erase(pendingPub_, set);
  std::erase(pendingSub_, set);
  std::erase(unsettled_, set);
  for (auto* refs : {&pendingPubRefs_, &pendingSubRefs_}) {
    for (PendingRefs& waiting : *refs) std::erase(waiting.sets, set);
  }
  delete set;
}

// ---- announcements

void DtInterDataDistMgr::sendRegionSetMsg(std::uint32_t type, const DtInteractionRegionSet& set,
                                          std::uint32_t classHandle) {
  if (!connectMgr()) return;
  std::unique_ptr<DtInterRegSetMsg> msg = DtMakeMsg<DtInterRegSetMsg>(*connectMgr());
  if (!msg) return;
  msg->set(static_cast<DtInterRegSetType>(type), set.regionSetHandle(), classHandle, set.address(), {});
  set.fillInRegions(msg.get());
  connectMgr()->sendStampedAndDelete(msg.release(), connectMgr()->internalTransportType(), 0);
}

void DtInterDataDistMgr::addPendingAssociatePubRegions(DtInteractionClassInfo& cls) {
  if (const DtRegionSetList* sets = localPub_.lookup(cls.handle())) {
    for (const DtRegionSetEntry& entry : *sets) {
      if (ddmMgr_) ddmMgr_->addPendingNotifyRegion(*entry.set);
      auto* set = asInter(entry.set);
      if (std::find(pendingPub_.begin(), pendingPub_.end(), set) == pendingPub_.end()) pendingPub_.push_back(set);
    }
  }
  for (DtInteractionClassInfo* subclass : cls.subclasses()) addPendingAssociatePubRegions(*subclass);
}

void DtInterDataDistMgr::addPendingAssociateSubRegions(DtInteractionClassInfo& cls) {
  DtInteractionRegionSet* set = cls.subRegionSet();
  if (!set) return;
  if (ddmMgr_) ddmMgr_->addPendingNotifyRegion(*set);
  if (std::find(pendingSub_.begin(), pendingSub_.end(), set) == pendingSub_.end()) pendingSub_.push_back(set);
}

void DtInterDataDistMgr::checkForRegionalSubscribe(DtInteractionClassInfo& interactionClass) {
  addPendingAssociateSubRegions(interactionClass);
}

void DtInterDataDistMgr::checkForRegionalPublish(DtInteractionClassInfo& interactionClass) {
  if (interactionClass.published()) addPendingAssociatePubRegions(interactionClass);
}

void DtInterDataDistMgr::tick() {
  DtInteractionMgr::tick();
  for (DtInteractionRegionSet* set : std::exchange(pendingPub_, {})) {
    sendRegionSetMsg(DtInterPubRegionSet, *set, set->classHandle());
  }
  for (DtInteractionRegionSet* set : std::exchange(pendingSub_, {})) {
    if (!isDefaultSet(set)) sendRegionSetMsg(DtInterSubRegionSet, *set, set->classHandle());
  }
}

// ---- the end

void DtInterDataDistMgr::destroyRegionLists() {
  pendingPubRefs_.clear();
  pendingSubRefs_.clear();
  pendingPub_.clear();
  pendingSub_.clear();
  unsettled_.clear();
  addrMaps_.clear();
  pubRegions_.clear();
  overlapping_.destroyAll();
  bySubscribedClass_.destroyAll();
  // The sets take themselves out of their regions and partners as they go.
  localPub_.destroyAll();
  remotePub_.destroyAll();
  for (const std::uint32_t classHandle : localSub_.handles()) {
    DtInteractionRegionSet* set = localSubRegSet(classHandle);
    localSub_.take(classHandle);
    if (set && set->classDesc().subRegionSet() == set) set->classDesc().setSubRegionSet(nullptr);
    if (!isDefaultSet(set)) delete set;
  }
  for (const std::uint32_t classHandle : passive_.handles()) {
    DtInteractionRegionSet* set = passiveRegSet(classHandle);
    passive_.take(classHandle);
    if (set && set->classDesc().pasRegionSet() == set) set->classDesc().setPasRegionSet(nullptr);
    if (!isDefaultSet(set)) delete set;
  }
  // A class may still hold a default set that was never filed.
  for (auto* table : {&defaultSub_, &defaultPas_}) {
    for (const OwnedSet& filed : *table) {
      DtInteractionClassInfo& cls = filed.set->classDesc();
      if (cls.subRegionSet() == filed.set.get()) cls.setSubRegionSet(nullptr);
      if (cls.pasRegionSet() == filed.set.get()) cls.setPasRegionSet(nullptr);
    }
  }
  remoteSub_.clear();
  defaultSub_.clear();
  defaultPas_.clear();
  pubHandles_.clear();
  subHandles_.clear();
}
