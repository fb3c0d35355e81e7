#pragma once
// For the connection tests: RID parameters for a federation of the test's
// own on the loopback (its own port and multicast group), a message class
// of any kind and size, and a recorder of callbacks.

#include <memory>
#include <string>
#include <vector>

#include "NetTestSupport.h"
#include "config/DtRIDParameters.h"
#include "msg/DtRtiMsgFactory.h"
#include "net/DtConnectionMgr.h"
#include "rti/config/ConfigTestFiles.h"
#include "rti/msg/TestMsgs.h"
#include "support/WaitUntil.h"
#include "util/DtBigEndian.h"
#include "util/DtIpv4Address.h"

namespace nettest {

// A free UDP port, held (shared, as the RTI's sockets share it) while the
// object lives, and the group made from it.
class FederationPort {
public:
  FederationPort() : holder_(udpSocket(loopback)) {}
  int port() const { return holder_->port(); }
  std::uint32_t group() const { return groupFor(port()); }
  std::string groupText() const { return DottedAddress(group()); }

private:
  std::unique_ptr<DtNetSocket> holder_;
};

// A RID file of these lines, on top of the settings every test needs: the
// port, the group as destination, the loopback as multicast interface and
// as the forwarder's address.
inline std::string ridText(const FederationPort& federation, const std::string& lines = "") {
  return "(setq RTI_udpPort " + std::to_string(federation.port()) + ")\n" + "(setq RTI_destAddrString \"" +
         federation.groupText() + "\")\n" + "(setq RTI_mcastDevAddrString \"127.0.0.1\")\n" +
         "(setq RTI_tcpForwarderAddr \"127.0.0.1\")\n" + lines;
}

// RID parameters loaded from such a file.
inline std::unique_ptr<DtRIDParameters> ridFor(const FederationPort& federation, const std::string& lines = "") {
  ScratchDirectory directory;
  const std::string file = directory.write("rid.mtl", ridText(federation, lines));
  const ScopedEnv rid("RTI_RID_FILE", file.c_str());
  const ScopedEnv config("RTI_CONFIG", nullptr);
  return std::make_unique<DtRIDParameters>();
}

// Any message of a kind, read back as such (so that the factory of a
// manager can make it from received bytes).
inline DtRtiMsg* makeRaw(const DtNetMsgHeader* header, DtBufferPlaceHolder* where) {
  return new RawMsg(header->bytes(), where);
}
inline DtRtiMsg* makeEmptyRaw(DtBufferPlaceHolder* where) { return new RawMsg(16, DtRtiMsgKind(200), where); }

// A message of its class passes during a save.
class AllowedDuringSaveMsg : public RawMsg {
public:
  AllowedDuringSaveMsg(const char* bytes, DtBufferPlaceHolder* where) : RawMsg(bytes, where) {
    setAllowedDuringSave(1);
  }
  explicit AllowedDuringSaveMsg(const RawMsg& other) : RawMsg(other) { setAllowedDuringSave(1); }
  DtRtiMsg* clone(char copy) const override { return copy ? new AllowedDuringSaveMsg(*this) : nullptr; }
};
inline DtRtiMsg* makeAllowed(const DtNetMsgHeader* header, DtBufferPlaceHolder* where) {
  return new AllowedDuringSaveMsg(header->bytes(), where);
}

// Kinds the tests send; the manager's factory learns them. Kind B's
// messages pass during a save.
constexpr DtRtiMsgKind kindA = DtRtiMsgKind(200);
constexpr DtRtiMsgKind kindB = DtRtiMsgKind(201);

inline void teachRawKinds(DtConnectionMgr& mgr) {
  mgr.msgFactory()->addCreators(kindA, makeRaw, makeEmptyRaw);
  mgr.msgFactory()->addCreators(kindB, makeAllowed, makeEmptyRaw);
}

// A message of the kind whose body starts with a number.
inline RawMsg numbered(DtRtiMsgKind kind, std::uint32_t number, int size = 16) {
  RawMsg msg(size, kind);
  DtPutBigEndian(number, msg.data() + 8);
  return msg;
}
inline std::uint32_t numberOf(const DtRtiMsg& msg) { return DtGetBigEndian<std::uint32_t>(msg.data() + 8); }

// Notes every call of the callbacks registered through it, in order.
class CallRecorder {
public:
  struct Entry {
    CallRecorder* recorder;
    std::string name;
  };

  void registerOn(DtConnectionMgr& mgr, DtRtiMsgKind kind, const std::string& name, char mom = 0) {
    entries_.push_back(std::make_unique<Entry>(Entry{this, name}));
    mgr.addMsgCallback(kind, &CallRecorder::note, entries_.back().get(), mom);
  }
  static void note(const DtRtiMsg& msg, void* data) {
    auto* entry = static_cast<Entry*>(data);
    entry->recorder->calls.push_back(entry->name + ":" + std::to_string(numberOf(msg)));
  }

  std::vector<std::string> calls;

private:
  std::vector<std::unique_ptr<Entry>> entries_;
};

// Ticks the manager, waiting a little for input after a tick that found
// none, until done() holds; false after `seconds`.
template <class Done>
bool tickUntil(DtConnectionMgr& mgr, Done&& done, double seconds = 2.0) {
  return waitUntil(
      done,
      [&] {
        if (!mgr.tick()) mgr.wait(0.05);
      },
      seconds);
}

}  // namespace nettest
