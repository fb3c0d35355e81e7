// The object data distribution manager's pending associations: attributes
// moving between region sets are queued per set, then each queue is drained
// in the order unassociate, remove, add, announcing the change (kinds 27
// and 28), matching again, keeping the classes' region subscriptions and the
// remote objects' scope. What a registration with regions collects waits
// for the next drain (tick).
#include "ddm/DtObjectDataDistMgr.h"
#include "ddm/DtRemoteRegionSet.h"
#include "objects/DtAddrMap.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtRtiObject.h"

namespace {

// The remote sets a local set matches (those are the other federates').
std::vector<DtRemoteRegionSet*> matchedRemoteSets(const DtObjectRegionSet& set) {
  std::vector<DtRemoteRegionSet*> remotes;
  for (const DtRegionSetEntry& entry : set.matchList()) {
    if (auto* remote = dynamic_cast<DtRemoteRegionSet*>(entry.set)) remotes.push_back(remote);
  }
  return remotes;
}

// Records with attributes, in order; the queue is empty after.
std::vector<DtPendingAssoc> drain(DtPendingAssocQueue& queue) {
  std::vector<DtPendingAssoc> records = queue.takeAll();
  std::erase_if(records, [](const DtPendingAssoc& r) { return r.attrs.isEmpty() || !r.set; });
  return records;
}

}  // namespace

// ---- queueing --------------------------------------------------------------------

void DtObjectDataDistMgr::addPendingAssocPubRegAdd(DtObjectRegionSet& set, DtRtiObject& object,
                                                   RTI::AttributeHandle attribute) {
  pendingAssocPubRegAdd_.add(set, &object, nullptr, attribute);
}
void DtObjectDataDistMgr::addPendingAssocPubRegRemove(DtObjectRegionSet& set, DtRtiObject& object,
                                                      RTI::AttributeHandle attribute) {
  pendingAssocPubRegRemove_.add(set, &object, nullptr, attribute);
}
void DtObjectDataDistMgr::addPendingUnassocPubReg(DtObjectRegionSet& set, DtRtiObject& object,
                                                  RTI::AttributeHandle attribute) {
  pendingUnassocPubReg_.add(set, &object, nullptr, attribute);
}
void DtObjectDataDistMgr::addPendingAssocSubRegAdd(DtObjectRegionSet& set, DtObjectClassInfo& cls,
                                                   RTI::AttributeHandle attribute) {
  pendingAssocSubRegAdd_.add(set, nullptr, &cls, attribute);
}
void DtObjectDataDistMgr::addPendingAssocSubRegRemove(DtObjectRegionSet& set, DtObjectClassInfo& cls,
                                                      RTI::AttributeHandle attribute) {
  pendingAssocSubRegRemove_.add(set, nullptr, &cls, attribute);
}
void DtObjectDataDistMgr::addPendingUnassocSubReg(DtObjectRegionSet& set, DtObjectClassInfo& cls,
                                                  RTI::AttributeHandle attribute) {
  pendingUnassocSubReg_.add(set, nullptr, &cls, attribute);
}
void DtObjectDataDistMgr::addPendingAssocPasRegAdd(DtObjectRegionSet& set, DtObjectClassInfo& cls,
                                                   RTI::AttributeHandle attribute) {
  pendingAssocPasRegAdd_.add(set, nullptr, &cls, attribute);
}
void DtObjectDataDistMgr::addPendingAssocPasRegRemove(DtObjectRegionSet& set, DtObjectClassInfo& cls,
                                                      RTI::AttributeHandle attribute) {
  pendingAssocPasRegRemove_.add(set, nullptr, &cls, attribute);
}
void DtObjectDataDistMgr::addPendingUnassocPasReg(DtObjectRegionSet& set, DtObjectClassInfo& cls,
                                                  RTI::AttributeHandle attribute) {
  pendingUnassocPasReg_.add(set, nullptr, &cls, attribute);
}

// ---- processing ---------------------------------------------------------------------

void DtObjectDataDistMgr::processPendingAssocPubReg() {
  for (const DtPendingAssoc& r : drain(pendingUnassocPubReg_)) {
    if (!r.object) continue;
    sendAssocPublishRegionMsg(r.handle, r.object->objHandle(), r.object->objName(), r.object->knownClassHandle(), true,
                              r.attrs);
  }
  for (const DtPendingAssoc& r : drain(pendingAssocPubRegRemove_)) {
    if (r.object && r.object->knownClass()) {
      evalMatchAfterLocalRemove(pubMatches_, pubMatchOverlaps_, *r.set, *r.object->knownClass(), r.attrs, false);
    }
  }
  for (const DtPendingAssoc& r : drain(pendingAssocPubRegAdd_)) {
    if (!r.object) continue;
    if (addrMap()) addrMap()->addAddrMapDelay(r.handle);
    sendAssocPublishRegionMsg(r.handle, r.object->objHandle(), r.object->objName(), r.object->knownClassHandle(), false,
                              r.attrs);
    evaluateMatchingAfterAdd(remoteSubRegionSets_, pubMatches_, pubMatchOverlaps_, *r.set, r.object->knownClass(),
                             r.attrs, true, false);
  }
}

void DtObjectDataDistMgr::processPendingSubRegAssoc() {
  for (const DtPendingAssoc& r : drain(pendingUnassocSubReg_)) {
    if (!r.cls) continue;
    // Back to the default set.
    sendAssocSubscribeRegionMsg(0, r.cls->handle(), r.attrs);
    for (DtRemoteRegionSet* remote : matchedRemoteSets(*r.set))
      remote->evaluateOutOfScopeUpdates(r.attrs, *this, nullptr);
    for (DtRtiObject* object : tables_.objectDefaultByClass(r.cls->handle())) {
      evaluateOutOfScopeUpdates(*object, r.attrs);
    }
  }
  for (const DtPendingAssoc& r : drain(pendingAssocSubRegRemove_)) {
    if (!r.cls) continue;
    evalMatchAfterLocalRemove(subMatches_, subMatchOverlaps_, *r.set, *r.cls, r.attrs, true);
    r.cls->unsubscribeByRegion(r.handle, r.attrs);
  }
  for (const DtPendingAssoc& r : drain(pendingAssocSubRegAdd_)) {
    if (!r.cls) continue;
    if (r.handle != 0) sendAssocSubscribeRegionMsg(r.handle, r.cls->handle(), r.attrs);
    evaluateMatchingAfterAdd(remotePubRegionSets_, subMatches_, subMatchOverlaps_, *r.set, r.cls, r.attrs, true, true);
    r.cls->subscribeByRegion(r.handle, r.attrs);
    for (DtRemoteRegionSet* remote : matchedRemoteSets(*r.set)) remote->evaluateScopeUpdates(*this, scopeAmb());
  }
}

void DtObjectDataDistMgr::processPendingPasRegAssoc() {
  for (const DtPendingAssoc& r : drain(pendingUnassocPasReg_)) {
    if (!r.cls) continue;
    // Passive sets are never announced.
    for (DtRemoteRegionSet* remote : matchedRemoteSets(*r.set))
      remote->evaluateOutOfScopeUpdates(r.attrs, *this, nullptr);
    for (DtRtiObject* object : tables_.objectDefaultByClass(r.cls->handle())) {
      evaluateOutOfScopeUpdates(*object, r.attrs);
    }
  }
  for (const DtPendingAssoc& r : drain(pendingAssocPasRegRemove_)) {
    if (!r.cls) continue;
    r.set->removeAttributes(r.cls->handle(), r.attrs);
    evalMatchAfterLocalRemove(subMatches_, subMatchOverlaps_, *r.set, *r.cls, r.attrs, true);
    r.cls->unsubscribeByRegion(r.handle, r.attrs);
  }
  for (const DtPendingAssoc& r : drain(pendingAssocPasRegAdd_)) {
    if (!r.cls) continue;
    if (r.handle != 0 && r.handle != 1) sendSubscribeMsg(r.cls->handle(), 1, 0, r.attrs);
    evaluateMatchingAfterAdd(remotePubRegionSets_, subMatches_, subMatchOverlaps_, *r.set, r.cls, r.attrs, true, true);
    r.cls->subscribeByRegion(r.handle, r.attrs);
    for (DtRemoteRegionSet* remote : matchedRemoteSets(*r.set)) remote->evaluateScopeUpdates(*this, scopeAmb());
  }
}

// ---- collected announcements ------------------------------------------------------------

namespace {

void collectOnce(std::vector<DtObjectRegionSet*>& sets, DtObjectRegionSet* set) {
  if (set && set->regionSetHandle() != 0 && std::find(sets.begin(), sets.end(), set) == sets.end()) {
    sets.push_back(set);
  }
}

}  // namespace

void DtObjectDataDistMgr::collectPendingPubRegSet(DtObjectRegionSet* set) { collectOnce(collectedPubRegionSets_, set); }

void DtObjectDataDistMgr::collectPendingSubRegSet(DtObjectRegionSet* set) { collectOnce(collectedSubRegionSets_, set); }

void DtObjectDataDistMgr::collectPendingAssocPubReg(DtObjectRegionSet& set, DtRtiObject& object,
                                                    const DtAttributeHandleSet& attributes) {
  const std::uint32_t handle = object.objHandle();
  if (!collectedAssocPub_.contains(handle)) collectedAssocPub_.put({handle, {}});
  collectedAssocPub_.find(handle)->bySet.replace(set, &object, nullptr, attributes);
}

void DtObjectDataDistMgr::collectPendingAssocSubReg(DtObjectRegionSet& set, DtObjectClassInfo& cls,
                                                    const DtAttributeHandleSet& attributes) {
  const std::uint32_t handle = cls.handle();
  if (!collectedAssocSub_.contains(handle)) collectedAssocSub_.put({handle, {}});
  collectedAssocSub_.find(handle)->bySet.replace(set, nullptr, &cls, attributes);
}

void DtObjectDataDistMgr::processCollectedPubRegSet() {
  for (DtObjectRegionSet* set : std::exchange(collectedPubRegionSets_, {})) sendRegionSetMsg(DtObjPubRegionSet, *set);
}

void DtObjectDataDistMgr::processCollectedSubRegSet() {
  for (DtObjectRegionSet* set : std::exchange(collectedSubRegionSets_, {})) sendRegionSetMsg(DtObjSubRegionSet, *set);
}

void DtObjectDataDistMgr::processCollectedAssocPubReg() {
  DtHandleIndex<CollectedAssocs> collected = std::exchange(collectedAssocPub_, {});
  for (CollectedAssocs& object : collected) {
    for (const DtPendingAssoc& r : object.bySet.takeAll()) {
      if (!r.object) continue;
      sendAssocPublishRegionMsg(r.handle, object.handle, r.object->objName(), r.object->knownClassHandle(), false,
                                r.attrs);
    }
  }
}

void DtObjectDataDistMgr::processCollectedAssocSubReg() {
  DtHandleIndex<CollectedAssocs> collected = std::exchange(collectedAssocSub_, {});
  for (CollectedAssocs& cls : collected) {
    for (const DtPendingAssoc& r : cls.bySet.takeAll()) sendAssocSubscribeRegionMsg(r.handle, cls.handle, r.attrs);
  }
}

void DtObjectDataDistMgr::tick() {
  DtObjectMgr::tick();
  if (!collectedPubRegionSets_.empty()) processCollectedPubRegSet();
  if (!collectedSubRegionSets_.empty()) processCollectedSubRegSet();
  if (!collectedAssocPub_.empty()) processCollectedAssocPubReg();
  if (!collectedAssocSub_.empty()) processCollectedAssocSubReg();
}
