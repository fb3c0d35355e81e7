// The interaction data distribution manager's matching: subscription with
// regions (active, passive, narrowing), unsubscription, sending with a
// region, the other federates' region sets (kind 30), which of their
// publication sets overlap a set of this federate (and so whose channels it
// listens to), and the reaction to regions that change or go.
#include <algorithm>

#include "config/DtRIDParameters.h"
#include "ddm/DtDataDistMgr.h"
#include "ddm/DtInterDataDistMgr.h"
#include "ddm/DtInteractionRegionSet.h"
#include "ddm/DtRegion.h"
#include "msg/DtFederationMsgs.h"
#include "msg/DtRegionSetMsgs.h"
#include "msg/DtUpdateMsgs.h"
#include "net/DtConnectionMgr.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtInteractionClassInfo.h"
#include "util/DtNotify.h"

namespace {

DtInteractionRegionSet* asInter(DtRegionSet* set) { return static_cast<DtInteractionRegionSet*>(set); }

// The sets of a list, taken before the list may change under a walk.
std::vector<DtInteractionRegionSet*> setsOf(const DtRegionSetList* list) {
  std::vector<DtInteractionRegionSet*> sets;
  if (!list) return sets;
  for (const DtRegionSetEntry& entry : *list) sets.push_back(asInter(entry.set));
  return sets;
}

// Regions of the set other than the default region.
std::uint32_t ownRegionCount(const DtInteractionRegionSet* set) {
  if (!set) return 0;
  return set->regionCount() - (set->isMemberRegion(0u) ? 1 : 0);
}

bool holds(const DtInteractionRegionSet* set, std::uint32_t regionHandle) {
  return set && set->isMemberRegion(regionHandle);
}

}  // namespace

// ---- pairing and channels

void DtInterDataDistMgr::touched(DtInteractionRegionSet& pub) {
  if (std::find(unsettled_.begin(), unsettled_.end(), &pub) == unsettled_.end()) unsettled_.push_back(&pub);
}

void DtInterDataDistMgr::settleChannels() {
  for (DtInteractionRegionSet* pub : std::exchange(unsettled_, {})) {
    const std::uint32_t classHandle = pub->classHandle();
    const std::uint32_t handle = pub->regionSetHandle();
    const DtRegionSetList* filed = overlapping_.lookup(classHandle);
    const bool wasFiled = filed && filed->isMember(handle);
    if (pub->overlapCount() > 0 && !wasFiled) {
      overlapping_.addRegionSet(classHandle, pub);
      if (ddmMgr_) ddmMgr_->joinInteractionRegionSet(pub->address(), classHandle, handle);
    } else if (pub->overlapCount() == 0 && wasFiled) {
      overlapping_.removeRegionSet(classHandle, handle, true);
      if (ddmMgr_) ddmMgr_->dropInteractionRegionSet(pub->address(), classHandle, handle);
    }
  }
}

void DtInterDataDistMgr::evaluateOverlap(DtInteractionRegionSet& sub, DtInteractionRegionSet& pub) {
  const bool was = sub.isOverlap(pub.regionSetHandle());
  const bool now = sub.intersect(pub);
  if (now && !was) {
    sub.addOverlap(&pub);
    pub.addOverlap(&sub);
    touched(pub);
  } else if (was && !now) {
    sub.removeOverlap(pub.regionSetHandle());
    pub.removeOverlap(sub.regionSetHandle());
    touched(pub);
  }
}

void DtInterDataDistMgr::evaluateLocalOverlap(const DtRegionSetList& pubs, DtInteractionRegionSet& sub) {
  for (DtInteractionRegionSet* pub : setsOf(&pubs)) evaluateOverlap(sub, *pub);
}

void DtInterDataDistMgr::evaluateLocalOverlap(std::uint32_t classHandle, DtInteractionRegionSet* sub) {
  const DtRegionSetList* pubs = bySubscribedClass_.lookup(classHandle);
  if (sub && pubs) evaluateLocalOverlap(*pubs, *sub);
}

void DtInterDataDistMgr::evaluateRemoteOverlap(DtInteractionRegionSet& pub, DtInteractionClassInfo& cls) {
  if (DtInteractionRegionSet* sub = cls.subRegionSet()) evaluateOverlap(*sub, pub);
  if (DtInteractionRegionSet* pas = cls.pasRegionSet()) evaluateOverlap(*pas, pub);
}

void DtInterDataDistMgr::evaluateLocalMatchOverlap(const DtRegionSetList& pubs, DtInteractionClassInfo* oldClass,
                                                   DtInteractionRegionSet& sub) {
  DtInteractionClassInfo& receivedAs = sub.classDesc();
  for (DtInteractionRegionSet* pub : setsOf(&pubs)) {
    // Filed under the class it was received as until now (its own when
    // none was subscribed); its pairings were with that class's sets.
    const std::uint32_t before = oldClass ? oldClass->handle() : pub->classHandle();
    bySubscribedClass_.removeRegionSet(before, pub->regionSetHandle(), true);
    if (pub->overlapCount() > 0) {
      pub->emptyOverlaps();
      touched(*pub);
    }
    bySubscribedClass_.addRegionSet(receivedAs.handle(), pub);
    evaluateOverlap(sub, *pub);
    evaluateRemoteOverlap(*pub, receivedAs);
  }
}

void DtInterDataDistMgr::evaluateLocalOverlapSubClasses(DtInteractionClassInfo* oldClass, DtInteractionClassInfo& cls,
                                                        DtInteractionRegionSet& sub) {
  if (const DtRegionSetList* pubs = remotePub_.lookup(cls.handle())) evaluateLocalMatchOverlap(*pubs, oldClass, sub);
  for (DtInteractionClassInfo* subclass : cls.subclasses()) {
    if (!subscribed(subclass->handle())) evaluateLocalOverlapSubClasses(oldClass, *subclass, sub);
  }
}

void DtInterDataDistMgr::removeLocalOverlap(DtInteractionRegionSet& sub) {
  while (sub.overlapCount() > 0) {
    auto* pub = asInter(sub.overlaps().begin()->set);
    sub.removeOverlap(pub->regionSetHandle());
    pub->removeOverlap(sub.regionSetHandle());
    touched(*pub);
  }
}

// ---- the class's sets replaced

void DtInterDataDistMgr::replaceSubSet(DtInteractionClassInfo& cls, DtInteractionRegionSet* next, bool announce) {
  DtInteractionRegionSet* old = cls.subRegionSet();
  if (old == next) return;
  removeLocalSubRegSet(old);
  cls.setSubRegionSet(next);
  const bool announced = next && !isDefaultSet(next);
  if (next) {
    addLocalSubRegSet(cls.handle(), next);
    if (announce && announced) sendRegionSetMsg(DtInterSubRegionSet, *next, cls.handle());
    evaluateLocalOverlap(cls.handle(), next);
  }
  // A set that no announced set replaces is withdrawn, or the others would
  // keep counting its regions.
  if (!announced && old && !isDefaultSet(old)) withdraw(*old);
  discard(old);
}

void DtInterDataDistMgr::replacePasSet(DtInteractionClassInfo& cls, DtInteractionRegionSet* next) {
  DtInteractionRegionSet* old = cls.pasRegionSet();
  if (old == next) return;
  removePassiveRegSet(old);
  cls.setPasRegionSet(next);
  if (next) {
    addPassiveRegSet(cls.handle(), next);
    evaluateLocalOverlap(cls.handle(), next);
  }
  discard(old);
}

// ---- the services

void DtInterDataDistMgr::subscribeInteractionClassWithRegion(RTI::InteractionClassHandle theClass, RTI::Region& region,
                                                             RTI::Boolean active) {
  DtInteractionClassInfo& cls = knownClass(theClass);
  const RTI::SpaceHandle space = region.getSpaceHandle();
  if (space != 0 && static_cast<std::int64_t>(space) != cls.spaceHandle()) throw RTI::InvalidRegionContext("");
  DtRegion& own = ownRegion(region);
  if (active) {
    subscribeActive(cls, own);
  } else {
    subscribePassive(cls, own);
  }
  settleChannels();
}

void DtInterDataDistMgr::subscribeActive(DtInteractionClassInfo& cls, DtRegion& region) {
  DtInteractionRegionSet* sub = cls.subRegionSet();
  DtInteractionRegionSet* pas = cls.pasRegionSet();
  DtInteractionClassInfo* receivedAs = firstSubscribedClass(&cls);
  const bool hadRegion = cls.subscribedWithRegion();
  const std::uint32_t handle = region.handle();
  DtInteractionRegionSet* current = sub;
  if (handle == 0) {
    // The default region moves from the passive set to the active one.
    if (holds(pas, 0)) replacePasSet(cls, withoutRegion(region, cls, pas, true));
  } else if ((holds(sub, handle) || holds(pas, handle)) && ownRegionCount(sub) + ownRegionCount(pas) > 1) {
    // Narrowing: only this region stays (with the default region).
    if (pas && !isDefaultSet(pas)) replacePasSet(cls, holds(pas, 0) ? defaultPasRegionSet(cls.handle()) : nullptr);
    if (sub && !(holds(sub, handle) && ownRegionCount(sub) <= 1)) {
      current = holds(sub, 0) ? defaultSubRegionSet(cls.handle()) : nullptr;
      removeLocalSubRegSet(sub);
      cls.setSubRegionSet(nullptr);
      discard(sub);
      sub = nullptr;
    }
  }
  if (holds(current, handle)) {
    if (current != sub) replaceSubSet(cls, current, true);
    return;
  }
  installGrown(cls, sub, withRegion(region, cls, current, false), false, hadRegion, receivedAs);
}

void DtInterDataDistMgr::installGrown(DtInteractionClassInfo& cls, DtInteractionRegionSet* old,
                                      DtInteractionRegionSet* next, bool passive, bool hadRegion,
                                      DtInteractionClassInfo* receivedAs) {
  if (!next || next == old) return;
  if (passive) {
    removePassiveRegSet(old);
    addPassiveRegSet(cls.handle(), next);
    cls.setPasRegionSet(next);
  } else {
    removeLocalSubRegSet(old);
    addLocalSubRegSet(cls.handle(), next);
    cls.setSubRegionSet(next);
  }
  discard(old);
  if (hadRegion) {
    evaluateLocalOverlap(cls.handle(), next);
  } else {
    evaluateLocalOverlapSubClasses(receivedAs, cls, *next);
  }
  if (!passive && !isDefaultSet(next)) sendRegionSetMsg(DtInterSubRegionSet, *next, cls.handle());
}

void DtInterDataDistMgr::subscribePassive(DtInteractionClassInfo& cls, DtRegion& region) {
  DtInteractionRegionSet* sub = cls.subRegionSet();
  DtInteractionRegionSet* pas = cls.pasRegionSet();
  DtInteractionClassInfo* receivedAs = firstSubscribedClass(&cls);
  const bool hadRegion = cls.subscribedWithRegion();
  const std::uint32_t handle = region.handle();
  if (handle == 0) {
    // The default region moves from the active set to the passive one.
    if (holds(sub, 0)) replaceSubSet(cls, withoutRegion(region, cls, sub, false), true);
  } else if ((holds(sub, handle) || holds(pas, handle)) && ownRegionCount(sub) + ownRegionCount(pas) > 1) {
    if (sub && !isDefaultSet(sub))
      replaceSubSet(cls, holds(sub, 0) ? defaultSubRegionSet(cls.handle()) : nullptr, true);
    if (pas && !(holds(pas, handle) && ownRegionCount(pas) <= 1)) {
      replacePasSet(cls, holds(pas, 0) ? defaultPasRegionSet(cls.handle()) : nullptr);
    }
  }
  DtInteractionRegionSet* current = cls.pasRegionSet();
  if (holds(current, handle)) return;
  installGrown(cls, current, withRegion(region, cls, current, true), true, hadRegion, receivedAs);
}

void DtInterDataDistMgr::unsubscribeInteractionClassWithRegion(RTI::InteractionClassHandle theClass,
                                                               RTI::Region& region) {
  DtInteractionClassInfo& cls = knownClass(theClass);
  const RTI::SpaceHandle space = region.getSpaceHandle();
  if (space != 0 && static_cast<std::int64_t>(space) != cls.spaceHandle()) {
    throw RTI::InteractionClassNotSubscribed("");
  }
  DtRegion& own = ownRegion(region);
  const std::uint32_t handle = own.handle();
  DtInteractionRegionSet* sub = cls.subRegionSet();
  DtInteractionRegionSet* pas = cls.pasRegionSet();
  if (holds(sub, handle)) {
    replaceSubSet(cls, withoutRegion(own, cls, sub, false), true);
  } else if (holds(pas, handle)) {
    replacePasSet(cls, withoutRegion(own, cls, pas, true));
  } else if (handle != 0) {
    throw RTI::InteractionClassNotSubscribed("");
  }
  if (!subscribed(theClass)) {
    // The class's remote publication sets are received as the nearest
    // subscribed base class now, or as their own class.
    DtInteractionClassInfo* base = firstSubscribedClass(cls.baseClass());
    DtInteractionRegionSet* baseSets[] = {base ? base->subRegionSet() : nullptr, base ? base->pasRegionSet() : nullptr};
    if (base && (baseSets[0] || baseSets[1])) {
      for (DtInteractionRegionSet* set : baseSets) {
        if (set) evaluateLocalOverlapSubClasses(&cls, *base, *set);
      }
    } else {
      for (DtInteractionRegionSet* pub : setsOf(bySubscribedClass_.lookup(cls.handle()))) {
        if (pub->classHandle() == cls.handle()) continue;
        bySubscribedClass_.removeRegionSet(cls.handle(), pub->regionSetHandle(), true);
        pub->emptyOverlaps();
        touched(*pub);
        bySubscribedClass_.addRegionSet(pub->classHandle(), pub);
      }
    }
  }
  settleChannels();
}

std::uint32_t DtInterDataDistMgr::send(RTI::InteractionClassHandle theClass,
                                       const RTI::ParameterHandleValuePairSet& parameters, const RTI::FedTime* time,
                                       const char* tag, const RTI::Region& region) {
  DtInteractionClassInfo& cls = knownClass(theClass);
  if (!cls.published()) throw RTI::InteractionClassNotPublished("");
  if (static_cast<std::int64_t>(region.getSpaceHandle()) != cls.spaceHandle()) throw RTI::InvalidRegionContext("");
  DtRegion& own = ownRegion(region);
  const DtInteractionRegionSet* set = getPubRegionSet(own, cls);
  return DtInteractionMgr::send(theClass, parameters, time, tag, set->regionSetHandle());
}

std::uint32_t DtInterDataDistMgr::localAddrMap(RTI::InteractionClassHandle theClass, RTI::ULong destination) {
  const auto classHandle = static_cast<std::uint32_t>(theClass);
  const auto setHandle = static_cast<std::uint32_t>(destination);
  if (setHandle == 0) return DtInteractionMgr::localAddrMap(theClass, destination);
  const double delay = params() ? params()->addressDelay() : 1.0;
  // While the subscribers may still be joining, the default route.
  if (!addrMaps_.delayExpired(classHandle, setHandle, delay)) {
    return DtInteractionMgr::localAddrMap(theClass, destination);
  }
  const std::uint32_t channel = addrMaps_.local(classHandle, setHandle);
  return channel ? channel : DtInteractionMgr::localAddrMap(theClass, destination);
}

bool DtInterDataDistMgr::acceptInteraction(const DtInteractionMsg& msg) const {
  return DtInteractionMgr::acceptInteraction(msg) &&
         acceptInteractionChannel(static_cast<std::uint32_t>(msg.handle()), static_cast<std::uint32_t>(msg.channel()));
}

bool DtInterDataDistMgr::acceptInteractionChannel(std::uint32_t classHandle, std::uint32_t regionSet) const {
  if (regionSet == 0 || (params() && params()->dataDistMgmt() == 0)) return true;
  const DtRegionSetList* overlapping = overlapping_.lookup(classHandle);
  return overlapping && overlapping->isMember(regionSet);
}

// ---- the other federates' sets

void DtInterDataDistMgr::processRegionSet(const DtInterRegSetMsg& msg) {
  if (msg.federateHandle() == fedHandle()) return;
  switch (msg.regionSetType()) {
    case DtInterPubRegionSet: processPubRegionSet(msg); break;
    case DtInterSubRegionSet: processSubRegionSet(msg); break;
    default: break;
  }
  settleChannels();
}

namespace {

DtInteractionClassInfo* announcedClass(const DtFomClassMgr* fom, const DtInterRegSetMsg& msg) {
  DtInteractionClassInfo* cls =
      fom ? fom->interactionByHandle(static_cast<RTI::InteractionClassHandle>(msg.classHandle())) : nullptr;
  if (!cls) {
    DtNotifyError("Invalid interaction class handle %lu received for region set %lu\n", msg.classHandle(),
                  msg.regionSetHandle());
  }
  return cls;
}

}  // namespace

void DtInterDataDistMgr::processPubRegionSet(const DtInterRegSetMsg& msg) {
  if (msg.federateHandle() == fedHandle()) return;
  const auto classHandle = static_cast<std::uint32_t>(msg.classHandle());
  const auto setHandle = static_cast<std::uint32_t>(msg.regionSetHandle());
  // A set known already stays as it is; its regions' own messages say
  // what changes.
  if (remotePubRegSet(classHandle, setHandle)) return;
  // A handle is one set: the same handle for another class would share its
  // place in the overlaps of the sets it pairs with.
  for (const DtClassRegionSets& sets : remotePub_) {
    if (sets.sets->isMember(setHandle)) {
      DtNotifyError("Ignoring region set %lu of federate %lu: it is known for another class\n", msg.regionSetHandle(),
                    msg.federateHandle());
      return;
    }
  }
  DtInteractionClassInfo* cls = announcedClass(fom(), msg);
  if (!cls) return;
  auto* set = new DtInteractionRegionSet(*cls);
  set->setRegionSetHandle(setHandle);
  set->setFederateHandle(static_cast<std::uint32_t>(msg.federateHandle()));
  set->setAddress(static_cast<std::uint32_t>(msg.address()));
  addrMaps_.addRemote(classHandle, setHandle, set->address());
  const std::uint32_t* regions = msg.regions();
  for (unsigned long i = 0; regions && i < msg.numberRegions(); ++i) {
    DtRegion* region = regions[i] == 0 ? (ddmMgr_ ? &ddmMgr_->defaultRegion() : nullptr)
                                       : (ddmMgr_ ? ddmMgr_->remoteRegion(regions[i]) : nullptr);
    if (region) {
      set->addRegion(region);
      region->addInterPubRegSet(classHandle, set);
      if (!pubRegions_.contains(*region)) pubRegions_.add(*region);
    } else {
      set->addRegion(regions[i]);
      addPendingRef(pendingPubRefs_, regions[i], set);
    }
  }
  processPubRegionSet(set, cls);
}

void DtInterDataDistMgr::processPubRegionSet(DtInteractionRegionSet* set, DtInteractionClassInfo* cls) {
  remotePub_.addRegionSet(cls->handle(), set);
  DtInteractionClassInfo* receivedAs = firstSubscribedClass(cls);
  bySubscribedClass_.addRegionSet(receivedAs ? receivedAs->handle() : cls->handle(), set);
  if (receivedAs) evaluateRemoteOverlap(*set, *receivedAs);
}

void DtInterDataDistMgr::processSubRegionSet(const DtInterRegSetMsg& msg) {
  if (msg.federateHandle() == fedHandle()) return;
  const auto federate = static_cast<std::uint32_t>(msg.federateHandle());
  const auto classHandle = static_cast<std::uint32_t>(msg.classHandle());
  const auto setHandle = static_cast<std::uint32_t>(msg.regionSetHandle());
  DtInteractionRegionSet* existing = remoteSubRegSet(federate, classHandle);
  if (existing && existing->regionSetHandle() == setHandle && msg.numberRegions() > 0) return;
  DtInteractionClassInfo* cls = announcedClass(fom(), msg);
  if (!cls) return;
  if (existing) {
    removeRemoteSubRegSet(existing);
    if (msg.numberRegions() == 0) cls->remoteUnsubscribeRegion(federate, existing->regionSetHandle(), this);
    discard(existing);
  }
  // A withdrawal of a subscription not known here subscribes nothing.
  if (msg.numberRegions() == 0) return;
  auto* set = new DtInteractionRegionSet(*cls);
  set->setRegionSetHandle(setHandle);
  set->setFederateHandle(federate);
  const std::uint32_t* regions = msg.regions();
  for (unsigned long i = 0; regions && i < msg.numberRegions(); ++i) {
    DtRegion* region = regions[i] == 0 ? (ddmMgr_ ? &ddmMgr_->defaultRegion() : nullptr)
                                       : (ddmMgr_ ? ddmMgr_->remoteRegion(regions[i]) : nullptr);
    if (region && regions[i] != 0) {
      set->addRegion(region);
      region->addInterSubRegSet(classHandle, set);
    } else if (region) {
      set->addRegion(region);
    } else {
      set->addRegion(regions[i]);
    }
  }
  processSubRegionSet(set, cls);
  addPendingAssociatePubRegions(*cls);
}

void DtInterDataDistMgr::processSubRegionSet(DtInteractionRegionSet* set, DtInteractionClassInfo* cls) {
  addRemoteSubRegSet(set);
  cls->remoteSubscribe(set->federateHandle(), set->regionSetHandle(), this);
}

void DtInterDataDistMgr::addPendingRef(DtHandleIndex<PendingRefs>& refs, std::uint32_t region,
                                       DtInteractionRegionSet* set) {
  PendingRefs* waiting = refs.find(region);
  if (!waiting) {
    refs.put({region, {}});
    waiting = refs.find(region);
  }
  if (std::find(waiting->sets.begin(), waiting->sets.end(), set) == waiting->sets.end()) waiting->sets.push_back(set);
}

void DtInterDataDistMgr::resolvePendingRefs(DtHandleIndex<PendingRefs>& refs, DtRegion& region, bool publication) {
  std::optional<PendingRefs> waiting = refs.take(region.handle());
  if (!waiting) return;
  for (DtInteractionRegionSet* set : waiting->sets) {
    if (!set->isMemberRegion(region.handle())) continue;
    set->addRegion(&region);
    if (publication) {
      region.addInterPubRegSet(set->classHandle(), set);
      if (!pubRegions_.contains(region)) pubRegions_.add(region);
    } else {
      region.addInterSubRegSet(set->classHandle(), set);
    }
  }
}

void DtInterDataDistMgr::dropRemotePubSet(DtInteractionRegionSet* set) {
  const std::uint32_t classHandle = set->classHandle();
  const std::uint32_t handle = set->regionSetHandle();
  if (remotePubRegSet(classHandle, handle) != set) return;
  remotePub_.removeRegionSet(classHandle, handle, true);
  set->emptyOverlaps();
  const DtRegionSetList* filed = overlapping_.lookup(classHandle);
  if (filed && filed->lookup(handle) == set) {
    overlapping_.removeRegionSet(classHandle, handle, true);
    if (ddmMgr_) ddmMgr_->dropInteractionRegionSet(set->address(), classHandle, handle);
  }
  for (const DtClassRegionSets& received : bySubscribedClass_) {
    if (received.sets->lookup(handle) == set) {
      bySubscribedClass_.removeRegionSet(received.handle, handle, true);
      break;
    }
  }
  addrMaps_.removeRemote(classHandle, handle);
  discard(set);
}

void DtInterDataDistMgr::processResign(const DtResignMsg& msg) {
  DtInteractionMgr::processResign(msg);
  const auto federate = static_cast<std::uint32_t>(msg.federateHandle());
  if (federate == fedHandle()) return;
  if (FederateSubs* subs = remoteSub_.find(federate)) {
    for (const std::uint32_t classHandle : subs->byClass.handles()) {
      DtInteractionRegionSet* set = remoteSubRegSet(federate, classHandle);
      removeRemoteSubRegSet(set);
      set->classDesc().remoteUnsubscribeRegion(federate, set->regionSetHandle(), this);
      discard(set);
    }
  }
  std::vector<DtInteractionRegionSet*> gone;
  for (const DtClassRegionSets& sets : remotePub_) {
    for (DtInteractionRegionSet* set : setsOf(sets.sets.get())) {
      if (set->federateHandle() == federate) gone.push_back(set);
    }
  }
  for (DtInteractionRegionSet* set : gone) dropRemotePubSet(set);
  settleChannels();
}

// ---- the region hooks

std::vector<DtInteractionRegionSet*> DtInterDataDistMgr::pairingCandidates(const DtRegion& region,
                                                                           const DtRegionSetList& received,
                                                                           const DtInteractionRegionSet* sub,
                                                                           const DtInteractionRegionSet* pas) const {
  // Only a set paired now may part, and only one that meets the region in
  // its new extents may join: the other regions of the sets did not move.
  std::vector<DtInteractionRegionSet*> candidates;
  for (const DtInteractionRegionSet* set : {sub, pas}) {
    for (DtInteractionRegionSet* pub : setsOf(set ? &set->overlaps() : nullptr)) candidates.push_back(pub);
  }
  pubRegions_.candidates(region, [&](DtRegion& theirs) {
    for (std::uint32_t classHandle = 0; classHandle < numClasses(); ++classHandle) {
      for (DtInteractionRegionSet* pub : setsOf(theirs.interPubRegSetList(classHandle))) {
        if (received.lookup(pub->regionSetHandle()) == pub) candidates.push_back(pub);
      }
    }
  });
  // In handle order, each once, so that the groups are joined in an order
  // that does not depend on where the sets lie in memory.
  std::sort(candidates.begin(), candidates.end(), [](const DtInteractionRegionSet* a, const DtInteractionRegionSet* b) {
    return a->regionSetHandle() < b->regionSetHandle();
  });
  candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
  return candidates;
}

void DtInterDataDistMgr::notifyAboutRegionModification(DtRegion& region) {
  for (std::uint32_t classHandle = 0; classHandle < numClasses(); ++classHandle) {
    for (DtInteractionRegionSet* pub : setsOf(region.interPubRegSetList(classHandle))) {
      addrMaps_.startDelay(classHandle, pub->regionSetHandle());
    }
    const DtRegionSetList* received = bySubscribedClass_.lookup(classHandle);
    auto* sub = asInter(region.interSubRegSet(classHandle));
    auto* pas = asInter(region.interPasRegSet(classHandle));
    if (!received || (!sub && !pas)) continue;
    for (DtInteractionRegionSet* pub : pairingCandidates(region, *received, sub, pas)) {
      if (sub) evaluateOverlap(*sub, *pub);
      if (pas) evaluateOverlap(*pas, *pub);
    }
  }
  settleChannels();
}

void DtInterDataDistMgr::deleteRegion(DtRegion& region) {
  for (std::uint32_t classHandle = 0; classHandle < numClasses(); ++classHandle) {
    for (DtInteractionRegionSet* pub : setsOf(region.interPubRegSetList(classHandle))) deleteLocalPubRegSet(pub);
    if (auto* sub = asInter(region.interSubRegSet(classHandle))) {
      region.removeInterSubRegSet(classHandle, sub);
      if (sub->classDesc().subRegionSet() == sub) {
        replaceSubSet(sub->classDesc(), withoutRegion(region, sub->classDesc(), sub, false), true);
      } else {
        removeLocalSubRegSet(sub);
        if (!isDefaultSet(sub)) withdraw(*sub);
        discard(sub);
      }
    }
    if (auto* pas = asInter(region.interPasRegSet(classHandle))) {
      // The class keeps its passive set without the region (the default
      // one when the default region remains), and leaves the channels
      // that only this set needed.
      DtInteractionClassInfo& cls = pas->classDesc();
      if (cls.pasRegionSet() == pas) {
        replacePasSet(cls, withoutRegion(region, cls, pas, true));
      } else {
        region.removeInterPasRegSet(classHandle, pas);
        removePassiveRegSet(pas);
        discard(pas);
      }
    }
  }
  settleChannels();
}

void DtInterDataDistMgr::processNotifyRegion(DtRegion& region, bool isNew) {
  if (pubRegions_.contains(region)) pubRegions_.add(region);  // filed by its new extents
  if (isNew) {
    resolvePendingRefs(pendingPubRefs_, region, true);
    resolvePendingRefs(pendingSubRefs_, region, false);
  }
  for (std::uint32_t classHandle = 0; classHandle < numClasses(); ++classHandle) {
    for (DtInteractionRegionSet* pub : setsOf(region.interPubRegSetList(classHandle))) {
      if (DtInteractionClassInfo* receivedAs = firstSubscribedClass(&pub->classDesc())) {
        evaluateRemoteOverlap(*pub, *receivedAs);
      }
    }
  }
  settleChannels();
}

void DtInterDataDistMgr::processDeleteRegion(DtRegion& region) {
  pubRegions_.remove(region);
  for (std::uint32_t classHandle = 0; classHandle < numClasses(); ++classHandle) {
    for (DtInteractionRegionSet* pub : setsOf(region.interPubRegSetList(classHandle))) dropRemotePubSet(pub);
    auto* sub = asInter(region.interSubRegSet(classHandle));
    if (!sub || remoteSubRegSet(sub->federateHandle(), classHandle) != sub) continue;
    removeRemoteSubRegSet(sub);
    sub->classDesc().remoteUnsubscribeRegion(sub->federateHandle(), sub->regionSetHandle(), this);
    discard(sub);
  }
  settleChannels();
}
