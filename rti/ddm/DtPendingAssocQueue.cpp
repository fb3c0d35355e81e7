#include "ddm/DtPendingAssocQueue.h"

#include "ddm/DtObjectRegionSet.h"

DtPendingAssoc& DtPendingAssocQueue::record(DtObjectRegionSet& set, DtRtiObject* object, DtObjectClassInfo* cls) {
  const std::uint32_t handle = set.regionSetHandle();
  if (DtPendingAssoc* found = records_.find(handle)) return *found;
  records_.put({handle, &set, object, cls, {}});
  return *records_.find(handle);
}

void DtPendingAssocQueue::add(DtObjectRegionSet& set, DtRtiObject* object, DtObjectClassInfo* cls,
                              RTI::AttributeHandle attribute) {
  record(set, object, cls).attrs.add(attribute);
}

void DtPendingAssocQueue::replace(DtObjectRegionSet& set, DtRtiObject* object, DtObjectClassInfo* cls,
                                  const DtAttributeHandleSet& attributes) {
  record(set, object, cls).attrs = attributes;
}

std::vector<DtPendingAssoc> DtPendingAssocQueue::takeAll() {
  std::vector<DtPendingAssoc> all;
  all.reserve(records_.size());
  for (DtPendingAssoc& entry : records_) all.push_back(std::move(entry));
  records_.clear();
  return all;
}
