// The object data distribution manager's advisories under regions: the
// scope of remote objects through the default region (attributesInScope,
// attributesOutOfScope), and on the owner's side the updates the other
// federates' region subscriptions turn on and off, several removals
// collected into one advisory per object.
#include "ddm/DtObjectDataDistMgr.h"
#include "ddm/DtRemoteRegionSet.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtRtiObject.h"

namespace {

// The handles of the owned objects the federate discovered (with the class,
// when one is given), taken before any callback can change the list.
std::vector<std::uint32_t> discoveredBy(const DtList& owned, std::uint32_t federate, const std::uint32_t* cls) {
  std::vector<std::uint32_t> handles;
  for (DtListItem* item = owned.head(); item; item = item->next()) {
    const auto* object = static_cast<const DtRtiObject*>(item->data());
    if (!object->isDiscovered(federate)) continue;
    if (cls && object->discoveredClass(federate) != *cls) continue;
    handles.push_back(object->objHandle());
  }
  return handles;
}

}  // namespace

void DtObjectDataDistMgr::evaluateScopeUpdates(DtRtiObject& object, const DtAttributeHandleSet& attributes,
                                               bool advise) {
  DtObjectClassInfo* known = object.knownClass();
  if (!known) return;
  const DtAttributeHandleSet associated = tables_.defaultPubAttrs(object.objHandle());
  const DtAttributeHandleSet touched = attributes.setUnion(associated);
  const DtAttributeHandleSet wanted = known->subscribedAttrs(0).setIntersection(associated);
  const DtAttributeHandleSet inScope = object.inScopeAttrs().setIntersection(touched);
  RTI::FederateAmbassador* amb = advise ? scopeAmb() : nullptr;
  const RTI::ObjectHandle handle = object.objHandle();
  CallbackScope scope(*this);

  const DtAttributeHandleSet coming = wanted.removeSetIntersection(inScope);
  if (!coming.isEmpty()) {
    object.addToScope(coming);
    if (amb) amb->attributesInScope(handle, coming);
    tables_.addObjectDefaultByClass(object);
  }
  const DtAttributeHandleSet going = inScope.removeSetIntersection(wanted);
  if (!going.isEmpty()) {
    object.removeFromScope(going);
    // Not told for a class the federate no longer subscribes at all.
    if (amb && (known->subscribed() || known->subscribedWithRegions() != 0)) amb->attributesOutOfScope(handle, going);
    if (!object.inScope()) tables_.removeObjectDefaultByClass(object);
  }
}

void DtObjectDataDistMgr::evaluateOutOfScopeUpdates(DtRtiObject& object, const DtAttributeHandleSet& attributes) {
  const DtAttributeHandleSet going = object.inScopeAttrs().setIntersection(attributes);
  if (going.isEmpty()) return;
  object.removeFromScope(going);
  if (!object.inScope()) tables_.removeObjectDefaultByClass(object);
}

void DtObjectDataDistMgr::setDiscoveredClass(DtRtiObject* object, std::uint32_t federate,
                                             RTI::ObjectClassHandle theClass) {
  DtObjectMgr::setDiscoveredClass(object, federate, theClass);
  const DtObjectClassInfo* cls = fom_ ? fom_->classByHandle(theClass) : nullptr;
  if (object && cls) object->remoteSubscribeRegion(federate, *cls);
}

void DtObjectDataDistMgr::remoteSubscribeRegion(std::uint32_t classHandle, const DtAttributeHandleSet& attributes,
                                                std::uint32_t federate, std::uint32_t regionSet) {
  CallbackScope scope(*this);
  for (const std::uint32_t handle : discoveredBy(ownedObjects(), federate, &classHandle)) {
    DtRtiObject* object = ownedObj(handle);
    if (!object) continue;
    DtAttributeHandleSet before = object->updateOnAttrs();
    if (auto snapshot = pendingRemoteUnsubscribe_.take(handle)) before = snapshot->updatesOn;
    object->remoteSubscribeRegion(regionSet, attributes);
    RTI::FederateAmbassador* amb = attributeRelevanceSwitch() ? fedAmb() : nullptr;
    if (!amb) continue;
    const DtAttributeHandleSet after = object->updateOnAttrs();
    if (!before.isEmpty()) {
      const DtAttributeHandleSet off = before.removeSetIntersection(after);
      if (!off.isEmpty()) amb->turnUpdatesOffForObjectInstance(handle, off);
    }
    const DtAttributeHandleSet on = after.removeSetIntersection(before);
    if (!on.isEmpty()) amb->turnUpdatesOnForObjectInstance(handle, on);
  }
}

void DtObjectDataDistMgr::removeRemoteSubscribeRegion(std::uint32_t classHandle, std::uint32_t federate,
                                                      std::uint32_t regionSet, const DtAttributeHandleSet& attributes) {
  for (const std::uint32_t handle : discoveredBy(ownedObjects(), federate, &classHandle)) {
    DtRtiObject* object = ownedObj(handle);
    if (!object || object->updateOnAttrs().isEmpty()) continue;
    // The turn-off waits for the flush, so that every removal of one
    // message makes one advisory.
    if (attributeRelevanceSwitch() && !pendingRemoteUnsubscribe_.contains(handle)) {
      pendingRemoteUnsubscribe_.put({handle, object->updateOnAttrs()});
    }
    object->remoteUnsubscribeRegion(regionSet, attributes);
  }
}

void DtObjectDataDistMgr::processRemoteUnsubscribeRegion() {
  CallbackScope scope(*this);
  DtHandleIndex<Snapshot> snapshots = std::exchange(pendingRemoteUnsubscribe_, {});
  for (const Snapshot& snapshot : snapshots) {
    // An object no longer owned is skipped.
    const DtRtiObject* object = ownedObj(snapshot.handle);
    if (!object) continue;
    const DtAttributeHandleSet off = snapshot.updatesOn.removeSetIntersection(object->updateOnAttrs());
    RTI::FederateAmbassador* amb = fedAmb();
    if (!off.isEmpty() && amb) amb->turnUpdatesOffForObjectInstance(snapshot.handle, off);
  }
}

void DtObjectDataDistMgr::collectRemoteRegionSubscriptions(DtRtiObject& object) {
  CallbackScope scope(*this);
  const DtAttributeHandleSet before = object.updateOnAttrs();
  for (const DtRegionSetEntry& entry : remoteSubRegionSets_) {
    const auto& set = static_cast<const DtRemoteRegionSet&>(*entry.set);
    for (const DtObjectClassInfo* cls = object.actualClass(); cls; cls = cls->baseClass()) {
      const DtAttributeHandleSet* held = set.attributes(cls->handle());
      if (held) object.remoteSubscribeRegion(set.regionSetHandle(), object.ownedAttrs().setIntersection(*held));
    }
  }
  const DtAttributeHandleSet on = object.updateOnAttrs().removeSetIntersection(before);
  RTI::FederateAmbassador* amb = attributeRelevanceSwitch() && !on.isEmpty() ? fedAmb() : nullptr;
  if (amb) amb->turnUpdatesOnForObjectInstance(object.objHandle(), on);
}

void DtObjectDataDistMgr::processRemoteScopeChanges(DtRemoteRegionSet& set) {
  CallbackScope scope(*this);
  const std::uint32_t federate = set.federateHandle();
  for (const std::uint32_t handle : discoveredBy(ownedObjects(), federate, nullptr)) {
    DtRtiObject* object = ownedObj(handle);
    if (!object) continue;
    const DtAttributeHandleSet before = object->updateOnAttrs();
    const DtAttributeHandleSet* held = set.attributes(object->discoveredClass(federate));
    if (!held) continue;
    const DtAttributeHandleSet retest = object->ownedAttrs().setIntersection(*held);
    if (retest.isEmpty()) continue;
    object->remoteUnsubscribeRegion(set.regionSetHandle(), retest);
    object->remoteSubscribeRegion(set.regionSetHandle(), retest);
    RTI::FederateAmbassador* amb = attributeRelevanceSwitch() ? fedAmb() : nullptr;
    if (!amb) continue;
    const DtAttributeHandleSet after = object->updateOnAttrs();
    const DtAttributeHandleSet off = before.removeSetIntersection(after);
    if (!off.isEmpty()) amb->turnUpdatesOffForObjectInstance(handle, off);
    const DtAttributeHandleSet on = after.removeSetIntersection(before);
    if (!on.isEmpty()) amb->turnUpdatesOnForObjectInstance(handle, on);
  }
}
