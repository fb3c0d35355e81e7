#pragma once
// DtDimInfo: one dimension of a routing space, its name and its handle
// within the space (0, 1, 2, ... in FED order).

#include <cstdint>

#include "util/DtString.h"

class DtDimInfo {
public:
  DtDimInfo() = default;
  DtDimInfo(const char* name, std::uint32_t handle) : name_(name), handle_(handle) {}
  DtDimInfo(const DtDimInfo&) = default;
  DtDimInfo& operator=(const DtDimInfo&) = default;
  virtual ~DtDimInfo() = default;

  // A null name leaves the name as it is.
  virtual void setName(const char* name) {
    if (name) name_ = name;
  }
  virtual const char* name() const { return name_.string(); }
  // Equal to the name ignoring case.
  virtual bool isName(const char* text) const { return text && name_.equalNoCase(text); }
  virtual void setHandle(std::uint32_t handle) { handle_ = handle; }
  virtual std::uint32_t handle() const { return handle_; }

  // Names compared as written, and handles.
  bool operator==(const DtDimInfo& other) const { return name_ == other.name_ && handle_ == other.handle_; }
  bool operator!=(const DtDimInfo& other) const { return !(*this == other); }

private:
  DtString name_;
  std::uint32_t handle_ = 0;
};
