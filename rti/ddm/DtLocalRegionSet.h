#pragma once
// DtLocalRegionSet: the base of the region sets this federate makes itself,
// its publication and its (active and passive) subscription sets. It
// decides, for a set of the other side, which classes and attributes of the
// two sets match, and records the result in the matching tables of its own
// classes: in the overlap table while the two sets' regions overlap, in the
// matching table otherwise.
//
// A pair of class associations fits in the direction of the data: a
// publication of class P reaches a subscription of class S when P is S or
// derives from it. Whatever a match records on a local class, its end takes
// off the same class with the same test, so that no entry outlives it.
// Matches are filed under the local class (the one that carries the record)
// whichever side brought them about.

#include <cstdint>
#include <vector>

#include "ddm/DtObjectRegionSet.h"

class DtObjectClassInfo;

class DtLocalRegionSet : public DtObjectRegionSet {
public:
  DtLocalRegionSet() = default;
  DtLocalRegionSet(std::uint32_t setHandle, std::uint32_t regionHandle) : DtObjectRegionSet(setHandle, regionHandle) {}
  DtLocalRegionSet(std::uint32_t setHandle, DtRegion* region) : DtObjectRegionSet(setHandle, region) {}

  // Whether a class association of this set and one of the other side fit
  // (see above).
  virtual bool fits(const DtObjectClassInfo& localClass, const DtObjectClassInfo& otherClass) const = 0;

  // The other set's class took the attributes: each own class association
  // that fits it and shares attributes records them (as overlapping or
  // matching). The local classes that did are appended to `matched`; true
  // when there is one.
  bool evaluateMatchingAfterAdd(const DtObjectRegionSet& other, const DtObjectClassInfo& otherClass,
                                const DtAttributeHandleSet& attributes, std::vector<std::uint32_t>* matched) const;
  // The same against every class association of the other set.
  bool evaluateMatchingAfterAdd(const DtObjectRegionSet& other, std::vector<std::uint32_t>* matched) const;
  // The attributes left this set's class: their records with every set this
  // one matches go, and a set that no longer matches the class at all is
  // unmatched on both sides; those no longer matched for any class are
  // appended to `unmatched`.
  void evalMatchAfterLocalRemove(DtObjectClassInfo& localClass, const DtAttributeHandleSet& removed,
                                 std::vector<DtObjectRegionSet*>& unmatched);
  // The attributes left the other set's class (already taken out of it):
  // the records of them go, and each own class that no longer matches the
  // other set is unmatched on both sides. Whether the two sets still match.
  bool evalMatchAfterRemoteRemove(DtObjectRegionSet& other, const DtObjectClassInfo& otherClass,
                                  const DtAttributeHandleSet& removed);
  // The regions of this set and the other's began to overlap: every record
  // under its handle overlaps now.
  void moveAttrToOverlap(std::uint32_t otherHandle) const;
  // They stopped overlapping: the records under the other's handle match
  // again.
  void moveAttrToMatching(const DtObjectRegionSet& other) const;

protected:
  // The classes' tables of the other side's sets: publication sets record
  // in the class's subscription tables and subscription sets in its
  // publication tables.
  virtual void recordMatching(DtObjectClassInfo& cls, std::uint32_t otherHandle,
                              const DtAttributeHandleSet& attributes) const = 0;
  virtual void recordOverlap(DtObjectClassInfo& cls, std::uint32_t otherHandle,
                             const DtAttributeHandleSet& attributes) const = 0;
  virtual void unrecord(DtObjectClassInfo& cls, const DtObjectRegionSet& other, const DtObjectClassInfo& otherClass,
                        const DtAttributeHandleSet& attributes) const = 0;
  virtual void moveToOverlap(DtObjectClassInfo& cls, std::uint32_t otherHandle) const = 0;
  virtual void moveToMatching(DtObjectClassInfo& cls, std::uint32_t otherHandle,
                              const DtAttributeHandleSet& attributes) const = 0;

private:
  // Some class association of the other set fits the local class and shares
  // one of these attributes.
  bool stillMatches(const DtObjectClassInfo& localClass, const DtAttributeHandleSet& attributes,
                    const DtObjectRegionSet& other) const;
  void unmatch(DtObjectRegionSet& other, std::uint32_t classHandle);
};
