#include "ddm/DtLocalRegionSet.h"

#include "objects/DtObjectClassInfo.h"

bool DtLocalRegionSet::evaluateMatchingAfterAdd(const DtObjectRegionSet& other, const DtObjectClassInfo& otherClass,
                                                const DtAttributeHandleSet& attributes,
                                                std::vector<std::uint32_t>* matched) const {
  bool any = false;
  for (const ClassEntry& entry : attributeAssociations()) {
    DtObjectClassInfo* cls = entry.assoc.classDesc();
    if (!cls || !fits(*cls, otherClass)) continue;
    const DtAttributeHandleSet shared = entry.assoc.attributes().setIntersection(attributes);
    if (shared.isEmpty()) continue;
    any = true;
    if (isOverlap(other.regionSetHandle())) {
      recordOverlap(*cls, other.regionSetHandle(), shared);
    } else {
      recordMatching(*cls, other.regionSetHandle(), shared);
    }
    if (matched) matched->push_back(cls->handle());
  }
  return any;
}

bool DtLocalRegionSet::evaluateMatchingAfterAdd(const DtObjectRegionSet& other,
                                                std::vector<std::uint32_t>* matched) const {
  bool any = false;
  for (const ClassEntry& entry : other.attributeAssociations()) {
    const DtObjectClassInfo* otherClass = entry.assoc.classDesc();
    if (otherClass && evaluateMatchingAfterAdd(other, *otherClass, entry.assoc.attributes(), matched)) any = true;
  }
  return any;
}

bool DtLocalRegionSet::stillMatches(const DtObjectClassInfo& localClass, const DtAttributeHandleSet& attributes,
                                    const DtObjectRegionSet& other) const {
  if (attributes.isEmpty()) return false;
  for (const ClassEntry& entry : other.attributeAssociations()) {
    const DtObjectClassInfo* otherClass = entry.assoc.classDesc();
    if (otherClass && fits(localClass, *otherClass) &&
        !entry.assoc.attributes().setIntersection(attributes).isEmpty()) {
      return true;
    }
  }
  return false;
}

void DtLocalRegionSet::unmatch(DtObjectRegionSet& other, std::uint32_t classHandle) {
  removeMatch(other.regionSetHandle(), classHandle);
  other.removeMatch(regionSetHandle(), classHandle);
}

void DtLocalRegionSet::evalMatchAfterLocalRemove(DtObjectClassInfo& localClass, const DtAttributeHandleSet& removed,
                                                 std::vector<DtObjectRegionSet*>& unmatched) {
  const DtAttributeHandleSet* held = attributes(localClass.handle());
  const DtAttributeHandleSet remaining = held ? *held : DtAttributeHandleSet();
  for (const std::uint32_t handle : matchList().handles()) {
    auto* other = static_cast<DtObjectRegionSet*>(matchList().lookup(handle));
    if (!other) continue;
    for (const ClassEntry& entry : other->attributeAssociations()) {
      const DtObjectClassInfo* otherClass = entry.assoc.classDesc();
      if (!otherClass || !fits(localClass, *otherClass)) continue;
      const DtAttributeHandleSet gone = entry.assoc.attributes().setIntersection(removed);
      if (!gone.isEmpty()) unrecord(localClass, *other, *otherClass, gone);
    }
    if (stillMatches(localClass, remaining, *other)) continue;
    unmatch(*other, localClass.handle());
    if (!isMatch(handle)) unmatched.push_back(other);
  }
}

bool DtLocalRegionSet::evalMatchAfterRemoteRemove(DtObjectRegionSet& other, const DtObjectClassInfo& otherClass,
                                                  const DtAttributeHandleSet& removed) {
  for (const ClassEntry& entry : attributeAssociations()) {
    DtObjectClassInfo* cls = entry.assoc.classDesc();
    if (!cls || !fits(*cls, otherClass)) continue;
    const DtAttributeHandleSet gone = entry.assoc.attributes().setIntersection(removed);
    if (!gone.isEmpty()) unrecord(*cls, other, otherClass, gone);
    if (!stillMatches(*cls, entry.assoc.attributes(), other)) unmatch(other, cls->handle());
  }
  return isMatch(other.regionSetHandle());
}

void DtLocalRegionSet::moveAttrToOverlap(std::uint32_t otherHandle) const {
  for (const ClassEntry& entry : attributeAssociations()) {
    if (DtObjectClassInfo* cls = entry.assoc.classDesc()) moveToOverlap(*cls, otherHandle);
  }
}

void DtLocalRegionSet::moveAttrToMatching(const DtObjectRegionSet& other) const {
  for (const ClassEntry& own : attributeAssociations()) {
    DtObjectClassInfo* cls = own.assoc.classDesc();
    if (!cls) continue;
    for (const ClassEntry& theirs : other.attributeAssociations()) {
      const DtObjectClassInfo* otherClass = theirs.assoc.classDesc();
      if (!otherClass || !fits(*cls, *otherClass)) continue;
      const DtAttributeHandleSet shared = own.assoc.attributes().setIntersection(theirs.assoc.attributes());
      if (!shared.isEmpty()) moveToMatching(*cls, other.regionSetHandle(), shared);
    }
  }
}
