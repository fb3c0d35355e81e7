#pragma once
// DtObjectRegionSet: the region set of object-class attributes, base of the
// federate's own publication and subscription sets (DtLocalRegionSet) and of
// the sets that stand for other federates' announcements
// (DtRemoteRegionSet). It carries:
// - the attributes of whole classes published or subscribed with the set's
//   regions, and of single objects associated with them for updates (every
//   object's attribute is its class's too);
// - the attributes of objects the federate does not own that it associated
//   with the set (unowned);
// - the sets of the other side whose regions overlap this one's, those that
//   also match it by class and attribute (with the classes each matches
//   for), and those the manager recorded as carrying data (match-overlap).
// It keeps state and answers questions; the object data distribution
// manager decides what follows (channels, messages, advisories).
//
// At its end every region of the set forgets it. Not copied; used on the
// federate's thread only.

#include <cstdint>
#include <vector>

#include "api/DtAttributeHandleSet.h"
#include "ddm/DtHandleIndex.h"
#include "ddm/DtRegAttrAssoc.h"
#include "ddm/DtRegObjAttr.h"
#include "ddm/DtRegionSet.h"
#include "ddm/DtRegionSetList.h"

class DtObjectClassInfo;

class DtObjectRegionSet : public DtRegionSet {
public:
  struct ObjectEntry {
    std::uint32_t handle;  // the object
    DtRegObjAttr record;
  };
  struct ClassEntry {
    std::uint32_t handle;  // the class
    DtRegAttrAssoc assoc;
  };
  struct UnownedEntry {
    std::uint32_t handle;  // the object
    DtAttributeHandleSet attributes;
  };
  struct MatchedClasses {
    std::uint32_t handle;  // the matching set
    std::vector<std::uint32_t> classes;
  };

  DtObjectRegionSet() = default;
  DtObjectRegionSet(std::uint32_t setHandle, std::uint32_t regionHandle) : DtRegionSet(setHandle, regionHandle) {}
  DtObjectRegionSet(std::uint32_t setHandle, DtRegion* region) : DtRegionSet(setHandle, region) {}
  // Leaves every set it overlaps or matches, then every known region of the
  // set forgets it as a publication, subscription and passive set.
  ~DtObjectRegionSet() override;

  // ---- associations of single objects (a null class does nothing)
  virtual void addAttribute(std::uint32_t object, const char* name, DtObjectClassInfo* cls,
                            RTI::AttributeHandle attribute);
  virtual void addAttributes(std::uint32_t object, const char* name, DtObjectClassInfo* cls,
                             const DtAttributeHandleSet& attributes);
  virtual void removeAttribute(std::uint32_t object, DtObjectClassInfo* cls, RTI::AttributeHandle attribute);
  virtual void removeAttributes(std::uint32_t object, DtObjectClassInfo* cls, const DtAttributeHandleSet& attributes);
  // ---- associations of whole classes
  virtual void addAttribute(DtObjectClassInfo* cls, RTI::AttributeHandle attribute);
  virtual void addAttributes(DtObjectClassInfo* cls, const DtAttributeHandleSet& attributes);
  virtual void removeAttribute(std::uint32_t classHandle, RTI::AttributeHandle attribute);
  virtual void removeAttributes(std::uint32_t classHandle, const DtAttributeHandleSet& attributes);
  // ---- attributes of objects the federate does not own
  virtual void addUnownedAttribute(std::uint32_t object, RTI::AttributeHandle attribute);
  virtual void addUnownedAttributes(std::uint32_t object, const DtAttributeHandleSet& attributes);
  virtual void removeUnownedAttribute(std::uint32_t object, RTI::AttributeHandle attribute);
  virtual void removeUnownedAttributes(std::uint32_t object, const DtAttributeHandleSet& attributes);

  // ---- queries; null when there is nothing
  virtual const DtAttributeHandleSet* attributes(std::uint32_t classHandle) const;
  virtual bool isMemberAttributes(std::uint32_t classHandle, RTI::AttributeHandle attribute) const;
  virtual bool isMemberObject(std::uint32_t object) const { return objects_.contains(object); }
  const DtAttributeHandleSet* objectAttributes(std::uint32_t object) const;
  const DtAttributeHandleSet* objectUnownedAttributes(std::uint32_t object) const;
  const DtRegAttrAssoc* attributeAssociation(std::uint32_t classHandle) const;
  const DtHandleIndex<ObjectEntry>& objectAssociations() const { return objects_; }
  const DtHandleIndex<ClassEntry>& attributeAssociations() const { return classes_; }
  const DtHandleIndex<UnownedEntry>& objectUnownedAssociations() const { return unowned_; }
  // Some class association or unowned set is left (object records alone do
  // not count).
  bool inUse() const override { return !classes_.empty() || !unowned_.empty(); }

  // ---- overlaps, matches, match-overlaps, by the other set's handle
  virtual void addOverlap(DtObjectRegionSet* set);
  // Also ends the match-overlap.
  virtual void removeOverlap(std::uint32_t setHandle);
  virtual bool isOverlap(std::uint32_t setHandle) const { return overlaps_.isMember(setHandle); }
  virtual std::uint32_t overlapCount() const { return overlaps_.count(); }
  virtual const DtRegionSetList& overlapList() const { return overlaps_; }
  // Every overlapping set forgets this one; they are appended to `left`
  // when given.
  virtual void emptyOverlaps(std::vector<DtObjectRegionSet*>* left);
  // The other set matches for the class; once per class.
  virtual void addMatch(DtObjectRegionSet* set, std::uint32_t classHandle);
  // The class's match goes; with the last class the set leaves the match
  // and match-overlap lists. A class that never matched changes nothing.
  virtual void removeMatch(std::uint32_t setHandle, std::uint32_t classHandle);
  // Every class's.
  virtual void removeMatches(std::uint32_t setHandle);
  virtual bool isMatch(std::uint32_t setHandle) const { return matches_.isMember(setHandle); }
  virtual bool isMatchedClass(std::uint32_t setHandle, std::uint32_t classHandle) const;
  virtual std::uint32_t matchCount() const { return matches_.count(); }
  virtual const DtRegionSetList& matchList() const { return matches_; }
  // The classes the set matches for, in the order they came (empty: none).
  std::vector<std::uint32_t> matchedClasses(std::uint32_t setHandle) const;
  virtual void addMatchOverlap(DtObjectRegionSet* set);
  virtual void removeMatchOverlap(std::uint32_t setHandle) { matchOverlaps_.remove(setHandle); }
  virtual bool isMatchOverlap(std::uint32_t setHandle) const { return matchOverlaps_.isMember(setHandle); }
  virtual std::uint32_t matchOverlapCount() const { return matchOverlaps_.count(); }
  virtual const DtRegionSetList& matchOverlapList() const { return matchOverlaps_; }

protected:
  DtRegAttrAssoc* attributeAssociation(std::uint32_t classHandle);
  // Every match ends on both sides; the match-overlaps are forgotten by
  // their sets.
  virtual void emptyMatches();
  // Every object record, class association and unowned set goes.
  virtual void emptyAttrs();

private:
  DtRegAttrAssoc& classAssociation(DtObjectClassInfo* cls);
  void dropClassIfEmpty(std::uint32_t classHandle);
  void dropObjectIfEmpty(std::uint32_t object);

  DtRegionSetList overlaps_;
  DtRegionSetList matches_;
  DtRegionSetList matchOverlaps_;
  DtHandleIndex<ObjectEntry> objects_;
  DtHandleIndex<ClassEntry> classes_;
  DtHandleIndex<UnownedEntry> unowned_;
  DtHandleIndex<MatchedClasses> matchedClasses_;
};
