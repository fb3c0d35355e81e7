#pragma once
// What the object and interaction manager tests share: RID parameters from
// RID lines, a time-management stand-in, and a connection manager that
// sends nothing but writes down what it is handed.

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "FomTestSupport.h"
#include "config/DtRIDParameters.h"
#include "msg/DtRtiMsg.h"
#include "net/DtConnectionMgr.h"
#include "objects/DtTimeStamping.h"
#include "util/DtIpv4Address.h"

namespace mgrtest {

// RID parameters from these RID lines (none: the defaults).
inline std::unique_ptr<DtRIDParameters> ridWith(const std::string& lines) {
  ScratchDirectory dir;
  const std::string file = dir.write("rid.mtl", lines + "\n");
  const ScopedEnv rid("RTI_RID_FILE", file.c_str());
  const ScopedEnv config("RTI_CONFIG", nullptr);
  return std::make_unique<DtRIDParameters>();
}

class FakeTimeStamping : public DtTimeStamping {
public:
  bool regulating() const override { return isRegulating; }
  bool constrained() const override { return isConstrained; }
  std::uint32_t takeSerialNumber() override { return next++; }
  bool isRegulating = false;
  bool isConstrained = false;
  std::uint32_t next = 1;
};

// Sends nothing: every message handed over is stamped with the federate's
// handle (0 when sent anonymously), written down as the line the subclass
// makes of it, shown to posted() and deleted. Groups joined and left are
// written down as "join a.b.c.d" and "leave a.b.c.d".
class RecordingConnectionMgr : public DtConnectionMgr {
public:
  explicit RecordingConnectionMgr(std::uint32_t handle) : handle_(handle) {}
  int sendStampedAndDelete(DtRtiMsg* msg, DtTransportType transport, unsigned long address) override {
    return record(msg, transport, address, false);
  }
  int sendStampedAnonymousAndDelete(DtRtiMsg* msg, DtTransportType transport, unsigned long address) override {
    return record(msg, transport, address, true);
  }
  // The borrowing forms write down a copy; the message is stamped as the
  // real forms stamp it.
  int sendStamped(DtRtiMsg& msg, DtTransportType transport, unsigned long address) override {
    msg.setFederateHandle(handle_);
    return record(msg.clone(1), transport, address, false);
  }
  int sendStampedAnonymous(DtRtiMsg& msg, DtTransportType transport, unsigned long address) override {
    msg.setFederateHandle(0);
    return record(msg.clone(1), transport, address, true);
  }
  bool listenToMulticastGroup(unsigned long group) override {
    groups.push_back("join " + DottedAddress(static_cast<std::uint32_t>(group)));
    return true;
  }
  bool dropMulticastGroup(unsigned long group) override {
    groups.push_back("leave " + DottedAddress(static_cast<std::uint32_t>(group)));
    return true;
  }
  RTI::FederateAmbassador* fedAmb() const override { return ambassador; }
  unsigned long fedHandle() const override { return handle_; }

  std::vector<std::string> takeSent() { return std::exchange(sent, {}); }
  std::vector<std::string> takeGroups() { return std::exchange(groups, {}); }

  RTI::FederateAmbassador* ambassador = nullptr;
  std::vector<std::string> sent;
  std::vector<std::string> groups;

protected:
  virtual std::string line(const DtRtiMsg& msg, DtTransportType transport, unsigned long address) const = 0;
  virtual void posted(const DtRtiMsg&) {}

private:
  int record(DtRtiMsg* msg, DtTransportType transport, unsigned long address, bool anonymous) {
    const std::unique_ptr<DtRtiMsg> owned(msg);
    owned->setFederateHandle(anonymous ? 0 : handle_);
    sent.push_back(line(*owned, transport, address));
    posted(*owned);
    return 0;
  }

  std::uint32_t handle_;
};

}  // namespace mgrtest
