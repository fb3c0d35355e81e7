#include "msg/DtSyncPointMsg.h"

#include <algorithm>
#include <cstring>

#include "util/DtBigEndian.h"
#include "util/DtNotify.h"
#include "util/DtPrintField.h"

namespace {

constexpr const char* theKindNames[] = {"DtRegister",   "DtAchieved",           "DtSynchronized",
                                        "DtAnnouncePt", "DtSyncPointSucceeded", "DtSyncPointFailed"};

}  // namespace

const char* DtSyncMsgTypeName(int kind) {
  constexpr int count = static_cast<int>(sizeof theKindNames / sizeof theKindNames[0]);
  return kind >= 0 && kind < count ? theKindNames[kind] : "";
}

DtSyncPointMsg::DtSyncPointMsg(DtSyncMsgType kind, unsigned long federateId, const char* label, const char* tag,
                               const RTI::FederateHandleSet* federates, DtBufferPlaceHolder* where)
    : DtSyncPointMsg(where) {
  set(kind, federateId, label, tag, federates);
}

bool DtSyncPointMsg::set(DtSyncMsgType kind, unsigned long federateId, const char* label, const char* tag,
                         const RTI::FederateHandleSet* federates) {
  setSyncMsgKind(kind);
  setFederateId(federateId);
  const bool named = setSyncPointName(label);
  const bool tagged = setTag(tag);
  const bool listed = setFederates(federates);
  return named && tagged && listed;
}

bool DtSyncPointMsg::setFederates(const RTI::FederateHandleSet* federates) {
  std::vector<std::uint32_t> handles;
  const RTI::ULong count = federates ? federates->size() : 0;
  for (RTI::ULong i = 0; i < count; ++i) {
    const RTI::FederateHandle handle = federates->getHandle(i);
    if (handle > 0xFFFFFFFFul) {
      refuse("%s: federate handle %lu does not fit 32 bits; not set\n", className(),
             static_cast<unsigned long>(handle));
      return false;
    }
    handles.push_back(static_cast<std::uint32_t>(handle));
  }
  return setFederateHandles(handles);
}

bool DtSyncPointMsg::setFederateHandles(const std::vector<std::uint32_t>& handles) {
  if (handles.size() > 0xFFFF) {
    refuse("%s: %zu federate handles do not fit its count; not set\n", className(), handles.size());
    return false;
  }
  const int count = static_cast<int>(handles.size());
  if (!resizePart(0, 4 * count, static_cast<std::uint32_t>(count), "federate handles")) return false;
  char* at = partPtr(0);
  for (const std::uint32_t handle : handles) {
    DtPutBigEndian(handle, at);
    at += 4;
  }
  return true;
}

std::vector<std::uint32_t> DtSyncPointMsg::federateHandles() const {
  std::vector<std::uint32_t> handles;
  if (size() < partsStart()) return handles;
  const int bytes = partLength(0);
  const char* at = partPtr(0);
  for (int i = 0; i + 4 <= bytes; i += 4) handles.push_back(DtGetBigEndian<std::uint32_t>(at + i));
  return handles;
}

std::unique_ptr<RTI::FederateHandleSet> DtSyncPointMsg::federates() const {
  const std::vector<std::uint32_t> handles = federateHandles();
  std::unique_ptr<RTI::FederateHandleSet> set(
      RTI::FederateHandleSetFactory::create(static_cast<RTI::ULong>(std::max<std::size_t>(handles.size(), 1))));
  for (const std::uint32_t handle : handles) set->add(handle);
  return set;
}

void DtSyncPointMsg::getFederates(RTI::FederateHandleSet& set) const {
  for (const std::uint32_t handle : federateHandles()) {
    try {
      set.add(handle);
    } catch (const RTI::ValueCountExceeded&) {
      DtNotifyInfo("DtSyncPointMsg::getFederates needs larger set.\n");
    }
  }
}

bool DtSyncPointMsg::concerns(unsigned long federateHandle) const {
  const std::vector<std::uint32_t> handles = federateHandles();
  return handles.empty() || std::find(handles.begin(), handles.end(), federateHandle) != handles.end();
}

void DtSyncPointMsg::printData() const {
  const int kind = syncMsgKind();
  DtPrintField("SyncMsgKind:", DtSyncMsgTypeName(kind), kind);
  DtPrintField("FederateId:", static_cast<long>(federateId()));
  const char* name = syncPointName();
  DtPrintField("SyncPointName:", name ? name : "");
  const char* text = tag();
  DtPrintField("Tag:", text ? text : "");
  const std::vector<std::uint32_t> handles = federateHandles();
  DtPrintField("NumFederates:", static_cast<long>(handles.size()));
  for (const std::uint32_t handle : handles) DtNotifyInfo(" %ld\n", static_cast<long>(handle));
}

int DtSyncPointMsg::checkBody() const {
  // A text's last byte is its zero.
  for (const int part : {1, 2}) {
    const int length = partLength(part);
    if (length > 0 && partPtr(part)[length - 1] != '\0') return BadContent;
  }
  return Valid;
}
