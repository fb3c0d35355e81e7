#include "ddm/DtRegAttrAssoc.h"

void DtRegAttrAssoc::addAssociation(RTI::AttributeHandle attribute, std::uint32_t object) {
  objects_[attribute].insert(object);
  attributes_.add(attribute);
}

void DtRegAttrAssoc::removeAssociation(RTI::AttributeHandle attribute, std::uint32_t object) {
  const auto filed = objects_.find(attribute);
  if (filed == objects_.end()) return;
  filed->second.erase(object);
  if (!filed->second.empty()) return;
  objects_.erase(filed);
  attributes_.remove(attribute);
}

void DtRegAttrAssoc::addAssociations(const DtAttributeHandleSet& attributes) {
  for (RTI::ULong i = 0; i < attributes.size(); ++i) addAssociation(attributes.getHandle(i));
}

void DtRegAttrAssoc::addAssociations(const DtAttributeHandleSet& attributes, std::uint32_t object) {
  for (RTI::ULong i = 0; i < attributes.size(); ++i) addAssociation(attributes.getHandle(i), object);
}

void DtRegAttrAssoc::removeAssociations(const DtAttributeHandleSet& attributes) {
  for (RTI::ULong i = 0; i < attributes.size(); ++i) removeAssociation(attributes.getHandle(i));
}

void DtRegAttrAssoc::removeAssociations(const DtAttributeHandleSet& attributes, std::uint32_t object) {
  for (RTI::ULong i = 0; i < attributes.size(); ++i) removeAssociation(attributes.getHandle(i), object);
}

const std::set<std::uint32_t>& DtRegAttrAssoc::objects(RTI::AttributeHandle attribute) const {
  static const std::set<std::uint32_t> none;
  const auto filed = objects_.find(attribute);
  return filed == objects_.end() ? none : filed->second;
}

void DtRegAttrAssoc::emptyAttrs() {
  objects_.clear();
  attributes_.empty();
}
