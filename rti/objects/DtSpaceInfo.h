#pragma once
// DtSpaceInfo: a routing space of the FOM with its dimensions. The FOM class
// manager makes one per space of the FED file, after the default space
// "HlaDefaultSpace" (handle 0); regions point to them.
//
// Used on the federate's thread only.

#include <cstdint>
#include <vector>

#include "objects/DtDimInfo.h"
#include "util/DtString.h"

class DtSpaceInfo {
public:
  DtSpaceInfo() = default;
  DtSpaceInfo(const char* name, std::int32_t handle) : name_(name), handle_(handle) {}
  DtSpaceInfo(const DtSpaceInfo&) = default;
  DtSpaceInfo& operator=(const DtSpaceInfo&) = default;
  virtual ~DtSpaceInfo() = default;

  virtual const char* name() const { return name_.string(); }
  virtual std::int32_t handle() const { return handle_; }
  // Equal to the name ignoring case.
  virtual bool isName(const char* text) const { return text && name_.equalNoCase(text); }

  // Adds a dimension with the next dimension handle.
  virtual void addDim(const char* name);
  // NameNotFound for a name no dimension has; where two dimensions have the
  // name, the one added last.
  virtual std::uint32_t dimHandle(const char* name) const;
  // DimensionNotDefined for a handle no dimension has.
  virtual const char* dimName(std::uint32_t handle) const;
  virtual const DtDimInfo* dimByName(const char* name) const;
  virtual DtDimInfo* dimByName(const char* name);
  virtual const DtDimInfo* dimByHandle(std::uint32_t handle) const;
  virtual DtDimInfo* dimByHandle(std::uint32_t handle);
  virtual std::uint32_t dimensionCount() const { return static_cast<std::uint32_t>(dims_.size()); }

  bool operator==(const DtSpaceInfo& other) const;
  bool operator!=(const DtSpaceInfo& other) const { return !(*this == other); }

private:
  DtString name_;
  std::int32_t handle_ = 0;
  std::vector<DtDimInfo> dims_;  // indexed by dimension handle
};
