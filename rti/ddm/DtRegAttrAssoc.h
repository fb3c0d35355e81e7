#pragma once
// DtRegAttrAssoc: the attributes of one object class associated with an
// object region set: every attribute the class has in the set, and per
// attribute the objects whose attribute is associated one by one. An
// attribute associated for the whole class (a publication or subscription
// with the set's regions) has no objects; one associated object by object
// stays while an object keeps it.

#include <cstdint>
#include <map>
#include <set>

#include "api/DtAttributeHandleSet.h"

class DtObjectClassInfo;

class DtRegAttrAssoc {
public:
  explicit DtRegAttrAssoc(DtObjectClassInfo* cls = nullptr) : class_(cls) {}

  DtObjectClassInfo* classDesc() const { return class_; }
  void setClassDesc(DtObjectClassInfo* cls) { class_ = cls; }

  // The attribute, for the class.
  void addAssociation(RTI::AttributeHandle attribute) { attributes_.add(attribute); }
  // The attribute, through the object.
  void addAssociation(RTI::AttributeHandle attribute, std::uint32_t object);
  // The attribute leaves the set; the objects filed under it stay.
  void removeAssociation(RTI::AttributeHandle attribute) { attributes_.remove(attribute); }
  // The object lets go of the attribute, which leaves the set with its
  // last object.
  void removeAssociation(RTI::AttributeHandle attribute, std::uint32_t object);
  void addAssociations(const DtAttributeHandleSet& attributes);
  void addAssociations(const DtAttributeHandleSet& attributes, std::uint32_t object);
  void removeAssociations(const DtAttributeHandleSet& attributes);
  void removeAssociations(const DtAttributeHandleSet& attributes, std::uint32_t object);

  const DtAttributeHandleSet& attributes() const { return attributes_; }
  bool isMember(RTI::AttributeHandle attribute) const { return attributes_.isMember(attribute); }
  // The objects associated through the attribute (none: empty).
  const std::set<std::uint32_t>& objects(RTI::AttributeHandle attribute) const;
  void emptyAttrs();

private:
  DtObjectClassInfo* class_;
  std::map<RTI::AttributeHandle, std::set<std::uint32_t>> objects_;
  DtAttributeHandleSet attributes_;
};
