#include "ddm/DtRemoteRegionSet.h"

#include <memory>

#include "ddm/DtObjectDataDistMgr.h"
#include "ddm/DtRegion.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtRtiObject.h"

DtRemoteRegionSet::DtRemoteRegionSet() { setBoundingRegion(std::make_unique<DtRegion>()); }

DtRemoteRegionSet::DtRemoteRegionSet(std::uint32_t setHandle, std::uint32_t regionHandle)
    : DtObjectRegionSet(setHandle, regionHandle) {
  setBoundingRegion(std::make_unique<DtRegion>());
}

DtRemoteRegionSet::DtRemoteRegionSet(std::uint32_t setHandle, DtRegion* region) {
  setRegionSetHandle(setHandle);
  setBoundingRegion(std::make_unique<DtRegion>());
  addRegion(region);
}

void DtRemoteRegionSet::discoverObjects(DtObjectDataDistMgr& mgr) const {
  for (const std::uint32_t handle : objectAssociations().handles()) {
    const ObjectEntry* entry = objectAssociations().find(handle);
    if (!entry || mgr.knownObj(handle)) continue;
    const DtRegObjAttr& record = entry->record;
    if (!record.classDesc()) continue;
    mgr.discoverFromRegionSet(handle, record.classDesc()->handle(), record.objectName(), record.attributes(),
                              regionSetHandle());
  }
}

void DtRemoteRegionSet::evaluateScopeUpdates(DtRtiObject& object, const DtAttributeHandleSet& extra,
                                             RTI::FederateAmbassador* amb) const {
  const DtObjectClassInfo* known = object.knownClass();
  if (!known) return;
  const std::uint32_t handle = object.objHandle();
  const DtAttributeHandleSet* held = objectAttributes(handle);
  const DtAttributeHandleSet associated = held ? *held : DtAttributeHandleSet();
  const DtAttributeHandleSet touched = extra.setUnion(associated);
  const DtAttributeHandleSet wanted = known->subscribedAttrs(regionSetHandle()).setIntersection(associated);
  const DtAttributeHandleSet inScope = object.inScopeAttrs().setIntersection(touched);
  const DtAttributeHandleSet coming = wanted.removeSetIntersection(inScope);
  if (!coming.isEmpty()) {
    object.addToScope(coming);
    if (amb) amb->attributesInScope(handle, coming);
  }
  const DtAttributeHandleSet going = inScope.removeSetIntersection(wanted);
  if (!going.isEmpty()) {
    object.removeFromScope(going);
    if (amb) amb->attributesOutOfScope(handle, going);
  }
}

void DtRemoteRegionSet::evaluateScopeUpdates(DtRtiObject& object, RTI::FederateAmbassador* amb) const {
  evaluateScopeUpdates(object, DtAttributeHandleSet(), amb);
}

void DtRemoteRegionSet::evaluateScopeUpdates(DtObjectDataDistMgr& mgr, RTI::FederateAmbassador* amb) const {
  for (const std::uint32_t handle : objectAssociations().handles()) {
    DtRtiObject* object = mgr.knownObj(handle);
    const DtAttributeHandleSet* held = objectAttributes(handle);
    if (object && held && !held->isEmpty()) evaluateScopeUpdates(*object, amb);
  }
}

void DtRemoteRegionSet::evaluateOutOfScopeUpdates(const DtAttributeHandleSet& attributes, DtObjectDataDistMgr& mgr,
                                                  RTI::FederateAmbassador* amb) const {
  for (const std::uint32_t handle : objectAssociations().handles()) {
    DtRtiObject* object = mgr.knownObj(handle);
    const DtAttributeHandleSet* held = objectAttributes(handle);
    if (!object || !held) continue;
    const DtAttributeHandleSet going = object->inScopeAttrs().setIntersection(*held).setIntersection(attributes);
    if (going.isEmpty()) continue;
    object->removeFromScope(going);
    if (amb) amb->attributesOutOfScope(handle, going);
  }
}
