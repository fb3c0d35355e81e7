#pragma once
// DtFederate: one federate joined to a federation execution in the rtiexec:
// its name, its handle in the execution, the connection its join request
// came from (how a lost connection finds it) and the real time of its last
// heartbeat. A heartbeat of 0 or less means that the federate is never
// checked for lost contact (-1.0 unless its join was confirmed while
// heartbeat checking is on).
//
// Each federate owns its name; copies are not made. Used on the rtiexec's
// thread only.

#include <cstdint>
#include <string>

class DtFederate {
public:
  DtFederate(const char* name, unsigned long handle, unsigned long connectionHandle);
  DtFederate(const DtFederate&) = delete;
  DtFederate& operator=(const DtFederate&) = delete;
  virtual ~DtFederate();

  const char* getName() const { return name_.c_str(); }
  unsigned long getHandle() const { return handle_; }
  unsigned long getConnectionHandle() const { return connectionHandle_; }
  void setConnectionHandle(unsigned long handle) { connectionHandle_ = static_cast<std::uint32_t>(handle); }
  double heartbeat() const { return heartbeat_; }
  void setHeartbeat(double realTime) { heartbeat_ = realTime; }

private:
  std::string name_;
  double heartbeat_ = -1.0;
  std::uint32_t handle_;
  std::uint32_t connectionHandle_;
};
