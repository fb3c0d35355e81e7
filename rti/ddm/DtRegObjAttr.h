#pragma once
// DtRegObjAttr: the attributes of one object instance associated with an
// object region set, with the object's name and class as the association
// named them (the class is borrowed from the FOM).

#include <cstdint>

#include "api/DtAttributeHandleSet.h"
#include "util/DtString.h"

class DtObjectClassInfo;

class DtRegObjAttr {
public:
  DtRegObjAttr() = default;
  DtRegObjAttr(std::uint32_t object, const char* name, DtObjectClassInfo* cls)
      : object_(object), name_(name), class_(cls) {}

  std::uint32_t objectHandle() const { return object_; }
  const char* objectName() const { return name_.string(); }
  DtObjectClassInfo* classDesc() const { return class_; }
  void setClassDesc(DtObjectClassInfo* cls) { class_ = cls; }

  void add(RTI::AttributeHandle attribute) { attributes_.add(attribute); }
  void remove(RTI::AttributeHandle attribute) { attributes_.remove(attribute); }
  DtAttributeHandleSet& attributes() { return attributes_; }
  const DtAttributeHandleSet& attributes() const { return attributes_; }
  bool isEmpty() const { return attributes_.isEmpty(); }

private:
  std::uint32_t object_ = 0;
  DtString name_;
  DtObjectClassInfo* class_ = nullptr;
  DtAttributeHandleSet attributes_;
};
