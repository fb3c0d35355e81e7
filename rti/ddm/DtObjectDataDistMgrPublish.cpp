// The object data distribution manager's publishing side: which publication
// region set carries each attribute of this federate's objects. A
// registration, with regions or without, is announced by the associations
// of the object's attributes with their sets (kind 27), the new sets before
// them (kind 29); associating and unassociating regions move attributes
// between sets; ownership changes take attributes out of their sets and put
// them back; a registration is announced again, regions before sets before
// associations, to federates that became interested later.
#include <algorithm>

#include "ddm/DtDataDistMgr.h"
#include "ddm/DtObjectDataDistMgr.h"
#include "ddm/DtPubRegionSet.h"
#include "ddm/DtRegion.h"
#include "ddm/DtRegionEntryListWithAttributes.h"
#include "ddm/DtRemoteRegionSet.h"
#include "objects/DtAddrMap.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtRtiObject.h"
#include "util/DtNotify.h"

DtRegion& DtObjectDataDistMgr::ownRegion(const RTI::Region* region) const {
  const auto* candidate = dynamic_cast<const DtRegion*>(region);
  DtRegion* filed = candidate && ddmMgr_ ? ddmMgr_->localRegion(candidate->handle()) : nullptr;
  if (!filed || filed != candidate) throw RTI::RegionNotKnown("");
  return *filed;
}

DtPubRegionSet* DtObjectDataDistMgr::pubSet(const DtRtiObject& object, RTI::AttributeHandle attribute) {
  return dynamic_cast<DtPubRegionSet*>(object.regionSet(attribute));
}

// ---- registration ----------------------------------------------------------------

RTI::ObjectHandle DtObjectDataDistMgr::registerObjectInstanceWithRegion(RTI::ObjectClassHandle theClass,
                                                                        const char* name,
                                                                        RTI::AttributeHandle* attributes,
                                                                        RTI::Region** regions, RTI::ULong count) {
  // The plain registration's name rules: a null name is the empty one.
  return registerObjectInstanceWithRegion(theClass, 0, name ? name : "", attributes, regions, count);
}

RTI::ObjectHandle DtObjectDataDistMgr::registerObjectInstanceWithRegion(RTI::ObjectClassHandle theClass,
                                                                        RTI::AttributeHandle* attributes,
                                                                        RTI::Region** regions, RTI::ULong count) {
  return registerObjectInstanceWithRegion(theClass, 0, nullptr, attributes, regions, count);
}

RTI::ObjectHandle DtObjectDataDistMgr::registerObjectInstanceWithRegion(RTI::ObjectClassHandle theClass,
                                                                        RTI::ObjectHandle objectHandle,
                                                                        const char* name,
                                                                        RTI::AttributeHandle* attributes,
                                                                        RTI::Region** regions, RTI::ULong count) {
  DtObjectClassInfo& cls = checkRegistration(theClass, name);
  if (count > 0 && (!attributes || !regions)) throw RTI::RTIinternalError("no attributes or regions");
  for (RTI::ULong i = 0; i < count; ++i) {
    if (cls.publishedAttrs().isMember(attributes[i])) continue;
    if (!cls.allAttrs().isMember(attributes[i])) throw RTI::AttributeNotDefined("");
    throw RTI::AttributeNotPublished("");
  }
  for (RTI::ULong i = 0; i < count; ++i) {
    const DtRegion& region = ownRegion(regions[i]);
    // No wildcard space here: the region's space is the attribute's.
    if (static_cast<std::int64_t>(region.getSpaceHandle()) != cls.attrSpace(attributes[i])) {
      throw RTI::InvalidRegionContext("");
    }
  }
  // The handle (and the generated name) only once every check passed.
  const std::uint32_t handle = objectHandle ? static_cast<std::uint32_t>(objectHandle) : uniqueHandle();
  DtRtiObject& object = *fileNewObject(cls, handle, name ? name : uniqueName(handle));

  std::vector<std::unique_ptr<DtRegionEntryListWithAttributes>> lists;
  DtAttributeHandleSet withoutRegion;
  collectRegionLists(object, attributes, regions, count, lists, withoutRegion);
  if (!withoutRegion.isEmpty() && ddmMgr_) {
    associateRegionForUpdates(ddmMgr_->defaultRegion(), object, withoutRegion, false);
  }
  for (const auto& list : lists) registerAssociateRegionForUpdates(*list, object);
  return handle;
}

void DtObjectDataDistMgr::collectRegionLists(DtRtiObject& object, const RTI::AttributeHandle* attributes,
                                             RTI::Region* const* regions, RTI::ULong count,
                                             std::vector<std::unique_ptr<DtRegionEntryListWithAttributes>>& lists,
                                             DtAttributeHandleSet& withoutRegion) {
  const DtObjectClassInfo* cls = object.actualClass();
  if (!cls) return;
  const DtAttributeHandleSet& published = cls->publishedAttrs();
  for (RTI::ULong p = 0; p < published.size(); ++p) {
    const RTI::AttributeHandle attribute = published.getHandle(p);
    DtRegionEntryListWithAttributes* current = nullptr;
    for (RTI::ULong j = 0; j < count; ++j) {
      if (attributes[j] != attribute) continue;
      DtRegion& region = ownRegion(regions[j]);
      if (current && current->isMember(region.handle())) continue;
      DtRegionEntryListWithAttributes* next = getRegionList(lists, current, region);
      if (current) current->attributes().remove(attribute);
      next->attributes().add(attribute);
      current = next;
    }
    if (!current) withoutRegion.add(attribute);
  }
  std::erase_if(lists, [](const auto& list) { return list->attributes().isEmpty(); });
}

DtRegionEntryListWithAttributes* DtObjectDataDistMgr::getRegionList(
    std::vector<std::unique_ptr<DtRegionEntryListWithAttributes>>& lists, const DtRegionEntryListWithAttributes* from,
    DtRegion& region) {
  for (const auto& list : lists) {
    if (list->equal(from, region)) return list.get();
  }
  auto made = std::make_unique<DtRegionEntryListWithAttributes>();
  if (from) {
    for (const DtRegionEntry& entry : *from) made->add(entry.handle, entry.region);
  }
  made->add(region.handle(), &region);
  lists.push_back(std::move(made));
  return lists.back().get();
}

void DtObjectDataDistMgr::registerAssociateRegionForUpdates(const DtRegionEntryListWithAttributes& list,
                                                            DtRtiObject& object) {
  const DtAttributeHandleSet& attributes = list.attributes();
  if (attributes.isEmpty()) return;
  auto* set = static_cast<DtPubRegionSet*>(pubRegionSets_.getRegionSet(list));
  if (set) {
    if (addrMap()) addrMap()->addAddrMapDelay(set->regionSetHandle());
  } else {
    set = createPubRegionSet(list);
  }
  DtObjectClassInfo* cls = object.actualClass();
  sendAssocPublishRegionMsg(set->regionSetHandle(), object.objHandle(), object.objName(), object.actualClassHandle(),
                            false, attributes);
  for (RTI::ULong i = 0; i < attributes.size(); ++i) {
    const RTI::AttributeHandle attribute = attributes.getHandle(i);
    object.setRegionSet(attribute, set);
    set->addAttribute(object.objHandle(), object.objName(), cls, attribute);
  }
  evaluateMatchingAfterAdd(remoteSubRegionSets_, pubMatches_, pubMatchOverlaps_, *set, cls, attributes, true, false);
}

void DtObjectDataDistMgr::sendRegister(DtRtiObject* object) {
  if (!ddmMgr_) {
    DtObjectMgr::sendRegister(object);
    return;
  }
  associateRegionForUpdates(ddmMgr_->defaultRegion(), *object, object->ownedAttrs(), false);
}

// ---- association -------------------------------------------------------------------

void DtObjectDataDistMgr::associateRegionForUpdates(RTI::Region& region, RTI::ObjectHandle objectHandle,
                                                    const RTI::AttributeHandleSet& attributes, int keepOthers) {
  DtRtiObject& object = knownObject(objectHandle);
  DtRegion& own = ownRegion(&region);
  const DtObjectClassInfo* cls = object.knownClass();
  if (settings().errorChecking && cls) {
    const auto space = static_cast<std::int64_t>(own.getSpaceHandle());
    for (RTI::ULong i = 0; i < attributes.size(); ++i) {
      const RTI::AttributeHandle attribute = attributes.getHandle(i);
      if (!cls->attrByHandle(attribute)) throw RTI::AttributeNotDefined("");
      // A region of space 0 fits every attribute.
      if (space != 0 && cls->attrSpace(attribute) != space) throw RTI::InvalidRegionContext("");
    }
  }
  associateRegionForUpdates(own, object, DtAttributeHandleSet(attributes), keepOthers != 0);
}

void DtObjectDataDistMgr::associateRegionForUpdates(DtRegion& region, DtRtiObject& object,
                                                    const DtAttributeHandleSet& attributes, bool keepOthers) {
  const std::uint32_t handle = object.objHandle();
  DtObjectClassInfo* known = object.knownClass();
  for (RTI::ULong i = 0; i < attributes.size(); ++i) {
    const RTI::AttributeHandle attribute = attributes.getHandle(i);
    DtPubRegionSet* old = pubSet(object, attribute);
    DtPubRegionSet* next = addPubRegion(region, old);
    object.setRegionSet(attribute, next);
    if (next == old) continue;
    const bool owned = object.owned(attribute);
    if (old && owned) {
      old->removeAttribute(handle, known, attribute);
      addPendingAssocPubRegRemove(*old, object, attribute);
    } else if (old) {
      old->removeUnownedAttribute(handle, attribute);
    }
    if (!next) {
      DtNotifyError("Could not create a region set when adding %u\n", static_cast<unsigned>(region.handle()));
    } else if (owned) {
      next->addAttribute(handle, object.objName(), known, attribute);
      addPendingAssocPubRegAdd(*next, object, attribute);
    } else {
      next->addUnownedAttribute(handle, attribute);
    }
  }
  processPendingAssocPubReg();
  if (keepOthers) return;
  const DtAttributeHandleSet others = pubAttributesToRemove(region, object, attributes);
  if (!others.isEmpty()) unassociateRegionForUpdates(region, object, others);
}

DtAttributeHandleSet DtObjectDataDistMgr::pubAttributesToRemove(const DtRegion& region, const DtRtiObject& object,
                                                                const DtAttributeHandleSet& attributes) const {
  DtAttributeHandleSet others;
  const DtObjectClassInfo* cls = object.knownClass();
  if (!cls) return others;
  const DtAttributeHandleSet& all = cls->allAttrs();
  for (RTI::ULong i = 0; i < all.size(); ++i) {
    const RTI::AttributeHandle attribute = all.getHandle(i);
    if (attributes.isMember(attribute)) continue;
    const DtPubRegionSet* set = pubSet(object, attribute);
    if (set && set->isMemberRegion(region.handle())) others.add(attribute);
  }
  return others;
}

void DtObjectDataDistMgr::unassociateRegionForUpdates(RTI::Region& region, RTI::ObjectHandle objectHandle) {
  DtRtiObject& object = knownObject(objectHandle);
  DtRegion& own = ownRegion(&region);
  // The region may hold attributes this federate does not own (associated
  // while another federate owned them): those count too.
  if (!own.isMemberObjPub(static_cast<std::uint32_t>(objectHandle)) &&
      pubAttributesToRemove(own, object, DtAttributeHandleSet()).isEmpty()) {
    throw RTI::InvalidRegionContext("");
  }
  const DtObjectClassInfo* cls = object.knownClass();
  unassociateRegionForUpdates(own, object, cls ? cls->allAttrs() : DtAttributeHandleSet());
}

void DtObjectDataDistMgr::unassociateRegionForUpdates(DtRegion& region, DtRtiObject& object,
                                                      const DtAttributeHandleSet& attributes) {
  const std::uint32_t handle = object.objHandle();
  DtObjectClassInfo* known = object.knownClass();
  for (RTI::ULong i = 0; i < attributes.size(); ++i) {
    const RTI::AttributeHandle attribute = attributes.getHandle(i);
    DtPubRegionSet* old = pubSet(object, attribute);
    if (!old || !old->isMemberRegion(region.handle())) continue;
    DtPubRegionSet* next = removePubRegion(region, old);
    object.setRegionSet(attribute, next);
    if (next == old) continue;
    const bool owned = object.owned(attribute);
    if (owned) {
      old->removeAttribute(handle, known, attribute);
      addPendingAssocPubRegRemove(*old, object, attribute);
    } else {
      old->removeUnownedAttribute(handle, attribute);
    }
    if (next && owned) {
      next->addAttribute(handle, object.objName(), known, attribute);
      addPendingAssocPubRegAdd(*next, object, attribute);
    } else if (next) {
      next->addUnownedAttribute(handle, attribute);
    } else if (owned) {
      addPendingUnassocPubReg(*old, object, attribute);
    }
  }
  processPendingAssocPubReg();
}

// ---- ownership ----------------------------------------------------------------------

void DtObjectDataDistMgr::unassociateRegionForDivested(DtRtiObject& object, const RTI::AttributeHandleSet& attributes,
                                                       bool keepAnnounced) {
  DtObjectClassInfo* known = object.knownClass();
  for (RTI::ULong i = 0; i < attributes.size(); ++i) {
    const RTI::AttributeHandle attribute = attributes.getHandle(i);
    DtPubRegionSet* set = pubSet(object, attribute);
    if (set) {
      set->removeAttribute(object.objHandle(), known, attribute);
      addPendingAssocPubRegRemove(*set, object, attribute);
    } else {
      set = defaultPub_.get();
    }
    if (!keepAnnounced && set) addPendingUnassocPubReg(*set, object, attribute);
    object.setRegionSet(attribute, nullptr);
  }
  processPendingAssocPubReg();
}

void DtObjectDataDistMgr::acquireAssociateRegionForUpdates(RTI::ObjectHandle objectHandle,
                                                           const RTI::AttributeHandleSet& attributes) {
  DtRtiObject* object = allObj(objectHandle);
  if (!object) return;
  DtObjectClassInfo* known = object->knownClass();
  DtAttributeHandleSet withoutSet;
  bool queued = false;
  for (RTI::ULong i = 0; i < attributes.size(); ++i) {
    const RTI::AttributeHandle attribute = attributes.getHandle(i);
    DtPubRegionSet* set = pubSet(*object, attribute);
    if (!set) {
      withoutSet.add(attribute);
      continue;
    }
    set->addAttribute(object->objHandle(), object->objName(), known, attribute);
    addPendingAssocPubRegAdd(*set, *object, attribute);
    queued = true;
  }
  if (!withoutSet.isEmpty()) {
    sendAssocPublishRegionMsg(0, object->objHandle(), object->objName(), object->knownClassHandle(), false, withoutSet);
  }
  // What this federate owns is no longer reflected here.
  object->removeFromScope(attributes);
  if (!object->inScope()) tables_.removeObjectDefaultByClass(*object);
  if (queued) processPendingAssocPubReg();
  for (const DtRegionSetEntry& entry : remoteSubRegionSets_) {
    const auto* remote = static_cast<const DtRemoteRegionSet*>(entry.set);
    const std::uint32_t federate = remote->federateHandle();
    if (!object->isDiscovered(federate)) continue;
    const DtAttributeHandleSet* held = remote->attributes(object->discoveredClass(federate));
    if (held && !held->isEmpty()) object->remoteSubscribeRegion(remote->regionSetHandle(), *held);
  }
}

// ---- announced again ------------------------------------------------------------------

void DtObjectDataDistMgr::collectPendingRegisterWithRegion(DtRtiObject& object) {
  DtAttributeHandleSet withoutSet;
  std::vector<std::pair<DtPubRegionSet*, DtAttributeHandleSet>> bySet;
  const DtAttributeHandleSet& owned = object.ownedAttrs();
  for (RTI::ULong i = 0; i < owned.size(); ++i) {
    const RTI::AttributeHandle attribute = owned.getHandle(i);
    DtPubRegionSet* set = pubSet(object, attribute);
    if (!set) {
      withoutSet.add(attribute);
      continue;
    }
    auto group = std::find_if(bySet.begin(), bySet.end(), [&](const auto& g) { return g.first == set; });
    if (group == bySet.end()) group = bySet.insert(bySet.end(), {set, {}});
    group->second.add(attribute);
  }
  if (!withoutSet.isEmpty() && defaultPub_) collectPendingAssocPubReg(*defaultPub_, object, withoutSet);
  for (auto& [set, attributes] : bySet) {
    if (ddmMgr_) ddmMgr_->addPendingNotifyRegion(*set);
    collectPendingPubRegSet(set);
    collectPendingAssocPubReg(*set, object, attributes);
  }
}

void DtObjectDataDistMgr::sendCollectedRegisters() {
  if (!collectedPubRegionSets_.empty()) {
    if (ddmMgr_) ddmMgr_->sendPendingNotifyRegion();
    processCollectedPubRegSet();
  }
  if (!collectedAssocPub_.empty()) processCollectedAssocPubReg();
}

void DtObjectDataDistMgr::resendRegister(DtRtiObject* object) {
  if (object) collectPendingRegisterWithRegion(*object);
  if (!collectingRegisters_) sendCollectedRegisters();
}

void DtObjectDataDistMgr::sendPendingRegister() {
  collectingRegisters_ = true;
  DtObjectMgr::sendPendingRegister();
  collectingRegisters_ = false;
  sendCollectedRegisters();
}
