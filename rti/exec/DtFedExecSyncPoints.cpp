// A federation execution's synchronization points: registration (with or
// without a set of federates), announcement to the federates concerned (late
// joiners too), achievement, and the end of a point once every federate it
// concerns achieved it or left.
#include <algorithm>

#include "exec/DtFedExec.h"
#include "exec/DtFederate.h"
#include "exec/DtSyncPt.h"
#include "msg/DtSyncPointMsg.h"
#include "net/DtConnectionMgr.h"
#include "net/DtMakeMsg.h"
#include "util/DtNotify.h"

namespace {

std::string textOf(const char* text) { return text ? text : ""; }

}  // namespace

void DtFedExec::processSyncPoint(const DtSyncPointMsg& msg) {
  if (!msg.isForExec(name_, handle_)) return;
  const std::string label = textOf(msg.syncPointName());
  switch (msg.syncMsgKind()) {
    case DtRegister:
      DtNotifyVerbose("Got a register for %s\n", label.c_str());
      processRegisterSyncPoint(msg);
      return;
    case DtAchieved:
      DtNotifyVerbose("Got an achieved for %s\n", label.c_str());
      processAchievedSyncPoint(msg);
      return;
    case DtSynchronized: DtNotifyVerbose("Got a synchronized for %s\n", label.c_str()); return;
    case DtAnnouncePt: DtNotifyVerbose("Got an announce for %s\n", label.c_str()); return;
    case DtSyncPointSucceeded: DtNotifyVerbose("Got an succeeded for %s\n", label.c_str()); return;
    case DtSyncPointFailed: DtNotifyVerbose("Got a failed for %s\n", label.c_str()); return;
    default: DtNotifyError("Synchronization Point Message kind used is not defined.\n"); return;
  }
}

void DtFedExec::processRegisterSyncPoint(const DtSyncPointMsg& msg) {
  const std::string label = textOf(msg.syncPointName());
  const std::vector<std::uint32_t> federates = msg.federateHandles();
  const bool known = syncPoints_.lookupSyncPoint(label) != nullptr;
  const bool strangers = std::any_of(federates.begin(), federates.end(),
                                     [&](std::uint32_t handle) { return getFederate(handle) == nullptr; });
  if (known || strangers) {
    sendSyncPointMsg(DtSyncPointFailed, msg.federateId(), label.c_str(), nullptr, {});
    return;
  }
  createSyncPoint(label, textOf(msg.tag()), federates);
  sendSyncPointMsg(DtSyncPointSucceeded, msg.federateId(), label.c_str(), nullptr, {});
  sendSyncPointMsg(DtAnnouncePt, 0, label.c_str(), textOf(msg.tag()).c_str(), federates);
}

DtSyncPt* DtFedExec::createSyncPoint(const std::string& label, const std::string& tag,
                                     const std::vector<std::uint32_t>& federates) {
  DtSyncPt* point = syncPoints_.addSyncPoint(std::make_unique<DtSyncPt>(label, tag, false, federates));
  for (const auto& federate : federates_) {
    if (point->concerns(federate->getHandle())) federate->addFederateSyncPt(std::make_unique<DtSyncPt>(label, tag));
  }
  syncPtRegistered_.callAll(point);
  return point;
}

void DtFedExec::processAchievedSyncPoint(const DtSyncPointMsg& msg) {
  const std::string label = textOf(msg.syncPointName());
  DtSyncPt* point = syncPoints_.lookupSyncPoint(label);
  if (!point) {
    DtNotifyError("Received achieved message for invalid Sync Point: %s.\n", label.c_str());
    return;
  }
  DtFederate* federate = getFederate(msg.federateId());
  if (!federate) {
    DtNotifyError("Bad federate ID in SyncPointAchieved message: %d,\n", static_cast<int>(msg.federateId()));
    return;
  }
  federate->setFederateSyncPtAchieved(label);
  syncPtAchieved_.callAll(federate, point);
  if (synchronized(*point)) endSyncPoint(label);
}

bool DtFedExec::synchronized(const DtSyncPt& point) const {
  // A point for everyone waits for the federates in the middle of joining:
  // each is told of it once its join is confirmed, and counts from then.
  if (point.federates().empty() && !pendingJoins_.empty()) return false;
  return std::all_of(federates_.begin(), federates_.end(), [&](const auto& federate) {
    return !point.concerns(federate->getHandle()) || federate->federateSyncPtAchieved(point.name(), true);
  });
}

void DtFedExec::endSyncPoint(const std::string& label) {
  DtSyncPt* point = syncPoints_.lookupSyncPoint(label);
  if (!point) return;
  DtNotifyVerbose("Federation is synchronized for %s!\n", label.c_str());
  sendSyncPointMsg(DtSynchronized, 0, label.c_str(), nullptr, point->federates());
  retireSyncPoint(label);
}

void DtFedExec::endReachedSyncPoints() {
  for (DtSyncPt* point : syncPoints_.list()) {
    if (synchronized(*point)) endSyncPoint(point->name());
  }
}

void DtFedExec::retireSyncPoint(const std::string& label) {
  std::unique_ptr<DtSyncPt> point = syncPoints_.remove(label);
  if (!point) return;
  synchronizedCbs_.callAll(point.get());
  for (const auto& federate : federates_) federate->removeFederateSyncPt(label);
}

void DtFedExec::announceAllSyncPoints(unsigned long federateHandle) {
  for (DtSyncPt* point : syncPoints_.list()) {
    if (point->concerns(federateHandle)) {
      sendSyncPointMsg(DtAnnouncePt, 0, point->name().c_str(), point->tag().c_str(), point->federates());
    }
  }
}

void DtFedExec::sendSyncPointMsg(int kind, unsigned long federateId, const char* label, const char* tag,
                                 const std::vector<std::uint32_t>& federates) {
  auto msg = DtMakeMsg<DtSyncPointMsg>(*connectMgr_);
  if (!msg) return;
  msg->setSyncMsgKind(kind);
  msg->setFederateId(federateId);
  msg->setSyncPointName(label);
  msg->setTag(tag);
  msg->setFederateHandles(federates);
  sendStamped(std::move(msg), handle_);
}
