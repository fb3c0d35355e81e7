#pragma once
// DtMomObjectInfo: what a federate knows of one object instance, as the MOM
// inspector finds it for a ReportObjectInformation: the class it was
// registered with, the class this federate knows it as, and the attributes
// this federate owns.

#include <cstdint>

#include "RTI.hh"
#include "mom/DtMomHandleList.h"

class DtMomObjectInfo {
public:
  DtMomObjectInfo() = default;
  DtMomObjectInfo(const DtMomObjectInfo&) = default;
  DtMomObjectInfo& operator=(const DtMomObjectInfo&) = default;
  virtual ~DtMomObjectInfo() = default;

  virtual void setActualClass(std::uint32_t handle) { actualClass_ = handle; }
  virtual std::uint32_t actualClass() const { return actualClass_; }
  virtual void setKnownClass(std::uint32_t handle) { knownClass_ = handle; }
  virtual std::uint32_t knownClass() const { return knownClass_; }
  // Appends the set's handles to the owned list.
  virtual void setOwned(const RTI::AttributeHandleSet& owned) { owned_.setAttributes(owned); }
  virtual const DtMomHandleList& owned() const { return owned_; }

private:
  std::uint32_t actualClass_ = 0;
  std::uint32_t knownClass_ = 0;
  DtMomHandleList owned_;
};
