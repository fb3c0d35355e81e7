#include "objects/DtSpaceInfo.h"

#include "RTI.hh"

void DtSpaceInfo::addDim(const char* name) {
  DtDimInfo dimension;
  dimension.setName(name);
  dimension.setHandle(dimensionCount());
  dims_.push_back(dimension);
}

const DtDimInfo* DtSpaceInfo::dimByName(const char* name) const {
  if (!name) return nullptr;
  for (auto dim = dims_.rbegin(); dim != dims_.rend(); ++dim) {
    if (dim->isName(name)) return &*dim;
  }
  return nullptr;
}

DtDimInfo* DtSpaceInfo::dimByName(const char* name) {
  return const_cast<DtDimInfo*>(static_cast<const DtSpaceInfo*>(this)->dimByName(name));
}

const DtDimInfo* DtSpaceInfo::dimByHandle(std::uint32_t handle) const {
  return handle < dims_.size() ? &dims_[handle] : nullptr;
}

DtDimInfo* DtSpaceInfo::dimByHandle(std::uint32_t handle) {
  return const_cast<DtDimInfo*>(static_cast<const DtSpaceInfo*>(this)->dimByHandle(handle));
}

std::uint32_t DtSpaceInfo::dimHandle(const char* name) const {
  const DtDimInfo* dimension = dimByName(name);
  if (!dimension) throw RTI::NameNotFound("");
  return dimension->handle();
}

const char* DtSpaceInfo::dimName(std::uint32_t handle) const {
  const DtDimInfo* dimension = dimByHandle(handle);
  if (!dimension) throw RTI::DimensionNotDefined("");
  return dimension->name();
}

bool DtSpaceInfo::operator==(const DtSpaceInfo& other) const {
  return name_ == other.name_ && handle_ == other.handle_ && dims_ == other.dims_;
}
