#include "msg/DtNetMsgHeader.h"

#include <cstring>

#include "util/DtString.h"

DtString DtNetMsgHeader::fedExName() const {
  if (!hasNameForm()) return DtString();
  char name[4] = {};
  std::memcpy(name, exec_, 3);
  return DtString(name);
}

std::uint16_t DtNetMsgHeader::fedExHandle() const { return hasNameForm() ? 0 : DtNetU16::read(exec_ + 1); }

void DtNetMsgHeader::setFedEx(std::uint16_t handle) {
  exec_[0] = 0;
  DtNetU16::write(exec_ + 1, handle);
}

void DtNetMsgHeader::setFedEx(const char* name) {
  std::memset(exec_, 0, sizeof exec_);
  if (name) std::memcpy(exec_, name, strnlen(name, sizeof exec_));
}

bool DtNetMsgHeader::isForExec(const DtString& name, std::uint16_t handle) const {
  if (hasNameForm()) return std::strncmp(name.string(), reinterpret_cast<const char*>(exec_), sizeof exec_) == 0;
  const std::uint16_t own = fedExHandle();
  return own == 0 || own == handle;
}
