#pragma once
// DtPendingAssocQueue: attributes on their way between object region sets,
// one record per region set in the order the sets came: the set, the object
// (publication) or the class (subscription) the first entry named, and the
// attributes. The object data distribution manager fills a queue while it
// moves attributes and drains it before the service returns; the collected
// announcements of a registration wait in such records until the next
// drain.
//
// The sets, objects and classes are borrowed. Used on the federate's thread
// only.

#include <cstdint>
#include <vector>

#include "api/DtAttributeHandleSet.h"
#include "ddm/DtHandleIndex.h"

class DtObjectClassInfo;
class DtObjectRegionSet;
class DtRtiObject;

struct DtPendingAssoc {
  std::uint32_t handle;  // the region set's
  DtObjectRegionSet* set;
  DtRtiObject* object;     // publication records
  DtObjectClassInfo* cls;  // subscription and passive records
  DtAttributeHandleSet attrs;
};

class DtPendingAssocQueue {
public:
  // Adds the attribute to the set's record, made with this object or class
  // when the set has none (a later object or class is not kept).
  void add(DtObjectRegionSet& set, DtRtiObject* object, DtObjectClassInfo* cls, RTI::AttributeHandle attribute);
  // The set's record, made when absent, takes these attributes in place of
  // its own.
  void replace(DtObjectRegionSet& set, DtRtiObject* object, DtObjectClassInfo* cls,
               const DtAttributeHandleSet& attributes);
  // Takes every record out, in order (the queue is empty after).
  std::vector<DtPendingAssoc> takeAll();

  bool empty() const { return records_.empty(); }
  std::uint32_t size() const { return records_.size(); }
  const DtPendingAssoc* find(std::uint32_t setHandle) const { return records_.find(setHandle); }
  void clear() { records_.clear(); }
  // The set's record goes (the set is about to).
  void forget(std::uint32_t setHandle) { records_.take(setHandle); }

private:
  DtPendingAssoc& record(DtObjectRegionSet& set, DtRtiObject* object, DtObjectClassInfo* cls);

  DtHandleIndex<DtPendingAssoc> records_;
};
