#include "ddm/DtObjectRegionSet.h"

#include <algorithm>

#include "ddm/DtRegion.h"
#include "objects/DtObjectClassInfo.h"

namespace {

// The sets of these lists are object region sets: they file nothing else.
DtObjectRegionSet* objectSet(DtRegionSet* set) { return static_cast<DtObjectRegionSet*>(set); }

}  // namespace

DtObjectRegionSet::~DtObjectRegionSet() {
  emptyOverlaps(nullptr);
  emptyMatches();
  emptyAttrs();
  for (const DtRegionEntry& entry : regionList()) {
    if (!entry.region) continue;
    entry.region->removeObjPubRegSet(this);
    entry.region->removeObjSubRegSet(this);
    entry.region->removeObjPasRegSet(this);
  }
}

// ---- associations ------------------------------------------------------------

DtRegAttrAssoc& DtObjectRegionSet::classAssociation(DtObjectClassInfo* cls) {
  if (ClassEntry* entry = classes_.find(cls->handle())) return entry->assoc;
  classes_.put({cls->handle(), DtRegAttrAssoc(cls)});
  return classes_.find(cls->handle())->assoc;
}

DtRegAttrAssoc* DtObjectRegionSet::attributeAssociation(std::uint32_t classHandle) {
  ClassEntry* entry = classes_.find(classHandle);
  return entry ? &entry->assoc : nullptr;
}

const DtRegAttrAssoc* DtObjectRegionSet::attributeAssociation(std::uint32_t classHandle) const {
  const ClassEntry* entry = classes_.find(classHandle);
  return entry ? &entry->assoc : nullptr;
}

void DtObjectRegionSet::dropClassIfEmpty(std::uint32_t classHandle) {
  const ClassEntry* entry = classes_.find(classHandle);
  if (entry && entry->assoc.attributes().isEmpty()) classes_.take(classHandle);
}

void DtObjectRegionSet::dropObjectIfEmpty(std::uint32_t object) {
  const ObjectEntry* entry = objects_.find(object);
  if (entry && entry->record.isEmpty()) objects_.take(object);
}

void DtObjectRegionSet::addAttribute(std::uint32_t object, const char* name, DtObjectClassInfo* cls,
                                     RTI::AttributeHandle attribute) {
  if (!cls) return;
  classAssociation(cls).addAssociation(attribute, object);
  if (!objects_.contains(object)) objects_.put({object, DtRegObjAttr(object, name, cls)});
  objects_.find(object)->record.add(attribute);
}

void DtObjectRegionSet::addAttributes(std::uint32_t object, const char* name, DtObjectClassInfo* cls,
                                      const DtAttributeHandleSet& attributes) {
  if (!cls) return;
  classAssociation(cls).addAssociations(attributes, object);
  if (!objects_.contains(object)) objects_.put({object, DtRegObjAttr(object, name, cls)});
  DtAttributeHandleSet& held = objects_.find(object)->record.attributes();
  held = held.setUnion(attributes);
}

void DtObjectRegionSet::removeAttribute(std::uint32_t object, DtObjectClassInfo* cls, RTI::AttributeHandle attribute) {
  if (!cls) return;
  if (DtRegAttrAssoc* assoc = attributeAssociation(cls->handle())) {
    assoc->removeAssociation(attribute, object);
    dropClassIfEmpty(cls->handle());
  }
  if (ObjectEntry* entry = objects_.find(object)) {
    entry->record.remove(attribute);
    dropObjectIfEmpty(object);
  }
}

void DtObjectRegionSet::removeAttributes(std::uint32_t object, DtObjectClassInfo* cls,
                                         const DtAttributeHandleSet& attributes) {
  if (!cls) return;
  if (DtRegAttrAssoc* assoc = attributeAssociation(cls->handle())) {
    assoc->removeAssociations(attributes, object);
    dropClassIfEmpty(cls->handle());
  }
  if (ObjectEntry* entry = objects_.find(object)) {
    DtAttributeHandleSet& held = entry->record.attributes();
    held = held.removeSetIntersection(attributes);
    dropObjectIfEmpty(object);
  }
}

void DtObjectRegionSet::addAttribute(DtObjectClassInfo* cls, RTI::AttributeHandle attribute) {
  if (cls) classAssociation(cls).addAssociation(attribute);
}

void DtObjectRegionSet::addAttributes(DtObjectClassInfo* cls, const DtAttributeHandleSet& attributes) {
  if (cls) classAssociation(cls).addAssociations(attributes);
}

void DtObjectRegionSet::removeAttribute(std::uint32_t classHandle, RTI::AttributeHandle attribute) {
  if (DtRegAttrAssoc* assoc = attributeAssociation(classHandle)) {
    assoc->removeAssociation(attribute);
    dropClassIfEmpty(classHandle);
  }
}

void DtObjectRegionSet::removeAttributes(std::uint32_t classHandle, const DtAttributeHandleSet& attributes) {
  if (DtRegAttrAssoc* assoc = attributeAssociation(classHandle)) {
    assoc->removeAssociations(attributes);
    dropClassIfEmpty(classHandle);
  }
}

void DtObjectRegionSet::addUnownedAttribute(std::uint32_t object, RTI::AttributeHandle attribute) {
  if (!unowned_.contains(object)) unowned_.put({object, {}});
  unowned_.find(object)->attributes.add(attribute);
}

void DtObjectRegionSet::addUnownedAttributes(std::uint32_t object, const DtAttributeHandleSet& attributes) {
  if (!unowned_.contains(object)) unowned_.put({object, {}});
  DtAttributeHandleSet& held = unowned_.find(object)->attributes;
  held = held.setUnion(attributes);
}

void DtObjectRegionSet::removeUnownedAttribute(std::uint32_t object, RTI::AttributeHandle attribute) {
  UnownedEntry* entry = unowned_.find(object);
  if (!entry) return;
  entry->attributes.remove(attribute);
  if (entry->attributes.size() == 0) unowned_.take(object);
}

void DtObjectRegionSet::removeUnownedAttributes(std::uint32_t object, const DtAttributeHandleSet& attributes) {
  UnownedEntry* entry = unowned_.find(object);
  if (!entry) return;
  entry->attributes = entry->attributes.removeSetIntersection(attributes);
  if (entry->attributes.size() == 0) unowned_.take(object);
}

const DtAttributeHandleSet* DtObjectRegionSet::attributes(std::uint32_t classHandle) const {
  const DtRegAttrAssoc* assoc = attributeAssociation(classHandle);
  return assoc ? &assoc->attributes() : nullptr;
}

bool DtObjectRegionSet::isMemberAttributes(std::uint32_t classHandle, RTI::AttributeHandle attribute) const {
  const DtRegAttrAssoc* assoc = attributeAssociation(classHandle);
  return assoc && assoc->isMember(attribute);
}

const DtAttributeHandleSet* DtObjectRegionSet::objectAttributes(std::uint32_t object) const {
  const ObjectEntry* entry = objects_.find(object);
  return entry ? &entry->record.attributes() : nullptr;
}

const DtAttributeHandleSet* DtObjectRegionSet::objectUnownedAttributes(std::uint32_t object) const {
  const UnownedEntry* entry = unowned_.find(object);
  return entry ? &entry->attributes : nullptr;
}

void DtObjectRegionSet::emptyAttrs() {
  objects_.clear();
  classes_.clear();
  unowned_.clear();
}

// ---- overlaps and matches ----------------------------------------------------

void DtObjectRegionSet::addOverlap(DtObjectRegionSet* set) {
  if (set) overlaps_.add(set->regionSetHandle(), set);
}

void DtObjectRegionSet::removeOverlap(std::uint32_t setHandle) {
  overlaps_.remove(setHandle);
  removeMatchOverlap(setHandle);
}

void DtObjectRegionSet::emptyOverlaps(std::vector<DtObjectRegionSet*>* left) {
  for (const std::uint32_t handle : overlaps_.handles()) {
    DtObjectRegionSet* other = objectSet(overlaps_.lookup(handle));
    if (!other) continue;
    other->removeOverlap(regionSetHandle());
    if (left) left->push_back(other);
  }
  overlaps_.destroyAll();
}

void DtObjectRegionSet::addMatch(DtObjectRegionSet* set, std::uint32_t classHandle) {
  if (!set || isMatchedClass(set->regionSetHandle(), classHandle)) return;
  matches_.add(set->regionSetHandle(), set);
  if (!matchedClasses_.contains(set->regionSetHandle())) matchedClasses_.put({set->regionSetHandle(), {}});
  matchedClasses_.find(set->regionSetHandle())->classes.push_back(classHandle);
}

void DtObjectRegionSet::removeMatch(std::uint32_t setHandle, std::uint32_t classHandle) {
  if (MatchedClasses* entry = matchedClasses_.find(setHandle)) {
    const auto at = std::find(entry->classes.begin(), entry->classes.end(), classHandle);
    if (at == entry->classes.end()) return;
    entry->classes.erase(at);
    if (!entry->classes.empty()) return;
    matchedClasses_.take(setHandle);
  }
  matches_.remove(setHandle);
  removeMatchOverlap(setHandle);
}

void DtObjectRegionSet::removeMatches(std::uint32_t setHandle) {
  matchedClasses_.take(setHandle);
  matches_.remove(setHandle);
  removeMatchOverlap(setHandle);
}

bool DtObjectRegionSet::isMatchedClass(std::uint32_t setHandle, std::uint32_t classHandle) const {
  const MatchedClasses* entry = matchedClasses_.find(setHandle);
  return entry && std::find(entry->classes.begin(), entry->classes.end(), classHandle) != entry->classes.end();
}

std::vector<std::uint32_t> DtObjectRegionSet::matchedClasses(std::uint32_t setHandle) const {
  const MatchedClasses* entry = matchedClasses_.find(setHandle);
  return entry ? entry->classes : std::vector<std::uint32_t>{};
}

void DtObjectRegionSet::addMatchOverlap(DtObjectRegionSet* set) {
  if (set) matchOverlaps_.add(set->regionSetHandle(), set);
}

void DtObjectRegionSet::emptyMatches() {
  while (!matches_.empty()) {
    const std::uint32_t handle = matches_.begin()->handle;
    if (DtObjectRegionSet* other = objectSet(matches_.begin()->set)) other->removeMatches(regionSetHandle());
    removeMatches(handle);
  }
  for (const std::uint32_t handle : matchOverlaps_.handles()) {
    if (DtObjectRegionSet* other = objectSet(matchOverlaps_.lookup(handle))) {
      other->removeMatchOverlap(regionSetHandle());
    }
  }
  matchOverlaps_.destroyAll();
  matchedClasses_.clear();
}
