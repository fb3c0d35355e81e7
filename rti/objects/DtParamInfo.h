#pragma once
// DtParamInfo: one parameter of an interaction class, its name and its
// handle (its index in the class, inherited parameters first).

#include <cstdint>

#include "util/DtString.h"

class DtParamInfo {
public:
  DtParamInfo(const char* name, std::uint32_t handle) : name_(name), handle_(handle) {}
  DtParamInfo(const DtParamInfo&) = default;
  DtParamInfo& operator=(const DtParamInfo&) = default;
  virtual ~DtParamInfo() = default;

  virtual void subscribe() { subscribed_ = true; }
  virtual void unsubscribe() { subscribed_ = false; }
  virtual bool subscribed() const { return subscribed_; }
  virtual void publish() { published_ = true; }
  virtual void unpublish() { published_ = false; }
  virtual bool published() const { return published_; }
  virtual const char* name() const { return name_.string(); }
  virtual std::uint32_t handle() const { return handle_; }
  // Equal to the name ignoring case.
  virtual bool isName(const char* text) const { return text && name_.equalNoCase(text); }

  bool operator==(const DtParamInfo& other) const {
    return name_ == other.name_ && handle_ == other.handle_ && subscribed_ == other.subscribed_ &&
           published_ == other.published_;
  }
  bool operator!=(const DtParamInfo& other) const { return !(*this == other); }

private:
  DtString name_;
  std::uint32_t handle_;
  bool subscribed_ = false;
  bool published_ = false;
};
