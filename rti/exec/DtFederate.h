#pragma once
// DtFederate: one federate joined to a federation execution in the rtiexec:
// its name, its handle in the execution, the connection its join request
// came from (how a lost connection finds it) and the real time of its last
// heartbeat. A heartbeat of 0 or less means that the federate is never
// checked for lost contact (-1.0 unless its join was confirmed while
// heartbeat checking is on).
//
// It also keeps its own copy of every synchronization point that concerns
// it (label, tag, whether it achieved the point). A federate made with the
// execution's points gets a copy of each point of the execution that
// concerns every federate.
//
// Each federate owns its name and its copies; copies of a federate are not
// made. Used on the rtiexec's thread only.

#include <cstdint>
#include <memory>
#include <string>

#include "exec/DtExecLinks.h"
#include "exec/DtSyncPt.h"

class DtFederate {
public:
  DtFederate(const char* name, unsigned long handle, unsigned long connectionHandle,
             const DtSyncHashlist* executionPoints = nullptr);
  DtFederate(const DtFederate&) = delete;
  DtFederate& operator=(const DtFederate&) = delete;
  virtual ~DtFederate();

  const char* getName() const { return name_.c_str(); }
  unsigned long getHandle() const { return handle_; }
  unsigned long getConnectionHandle() const { return connectionHandle_; }
  void setConnectionHandle(unsigned long handle) { connectionHandle_ = static_cast<std::uint32_t>(handle); }
  // Where its join came from: its own messages are taken from there only.
  const DtMsgOrigin& origin() const { return origin_; }
  void setOrigin(const DtMsgOrigin& origin) { origin_ = origin; }
  double heartbeat() const { return heartbeat_; }
  void setHeartbeat(double realTime) { heartbeat_ = realTime; }

  // Marks its copy achieved; false, with "SyncPoint <label> not found.",
  // when it has none.
  virtual bool setFederateSyncPtAchieved(const std::string& label);
  // Whether its copy is achieved; false when it has none (said at level 1
  // unless quiet).
  virtual bool federateSyncPtAchieved(const std::string& label, bool quiet = false) const;
  // Files a copy under its label, replacing one there.
  virtual void addFederateSyncPt(std::unique_ptr<DtSyncPt> point);
  // Takes the copy out (null when there is none).
  virtual std::unique_ptr<DtSyncPt> removeFederateSyncPt(const std::string& label);
  const DtSyncHashlist& syncPtList() const { return syncPoints_; }

private:
  std::string name_;
  double heartbeat_ = -1.0;
  std::uint32_t handle_;
  std::uint32_t connectionHandle_;
  DtMsgOrigin origin_;
  DtSyncHashlist syncPoints_;
};
