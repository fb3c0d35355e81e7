// The other process of the networked tests of the network layer. Each mode
// prints "ready" once it is set up, then what it received, one line each,
// and ends by itself (after its count, or after its time without traffic).
//
//   net_test_peer multicast PORT GROUP COUNT
//       a UDP socket on PORT joined to GROUP (on the loopback), as the
//       federates of one host have; prints each datagram's text.
//   net_test_peer echo RIDFILE COUNT
//       a federate's connection manager made from the RID file, federate
//       handle 2: sends back (stamped) every test message of federate 1;
//       prints "echoed N" at the end.
//   net_test_peer ownership RIDFILE COUNT
//       the same for ownership messages (kind 20) of federate 1: prints each
//       one's fields, then resends a copy addressed to federate 1, as the
//       rtiexec hands a resigning federate's attributes on; prints
//       "resent N" at the end.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "ConnTestSupport.h"
#include "msg/DtOwnershipMsg.h"
#include "net/DtAsyncConnectionMgr.h"
#include "net/DtNetAddress.h"
#include "net/DtNetSocket.h"
#include "port/DtFdSet.h"
#include "port/DtPoll.h"
#include "util/DtClock.h"
#include "util/DtNotify.h"

namespace {

constexpr std::uint32_t loopback = 0x7F000001u;
constexpr double quietSeconds = 5.0;

int multicast(int port, std::uint32_t group, int count) {
  DtNetSocket socket(port, group, DtNetSocket::ReadWrite | DtNetSocket::Quiet, loopback);
  socket.setNonBlocking();
  socket.setUnbundling(false);
  std::printf("ready\n");
  std::fflush(stdout);
  double deadline = DtRealTime() + quietSeconds;
  for (int received = 0; received < count && DtRealTime() < deadline;) {
    char* data = nullptr;
    int status = 0;
    const int length = socket.DtRecv(&data, &status);
    if (status == 1) {
      std::printf("%.*s\n", length, data);
      std::fflush(stdout);
      ++received;
      deadline = DtRealTime() + quietSeconds;
    } else if (status == 0) {
      DtFdSet readable;
      readable.add(socket.readDescriptor());
      DtPollSets(&readable, nullptr, nullptr, deadline - DtRealTime());
    }
  }
  return 0;
}

struct Peer {
  DtConnectionMgr* mgr;
  int answered = 0;

  static void echo(const DtRtiMsg& msg, void* data) {
    auto* self = static_cast<Peer*>(data);
    if (msg.federateHandle() != 1) return;
    RawMsg reply(static_cast<const RawMsg&>(msg));
    self->mgr->sendStamped(reply, DtBestEffort);
    ++self->answered;
  }

  static void resend(const DtOwnershipMsg& msg, void* data) {
    auto* self = static_cast<Peer*>(data);
    if (msg.federateHandle() != 1) return;
    std::string handles;
    for (RTI::ULong i = 0; i < msg.attrHandles().size(); ++i) {
      handles += (i ? "," : "") + std::to_string(msg.attrHandles().getHandle(i));
    }
    const std::string tag = msg.tag() ? "'" + std::string(msg.tag()) + "'" : "none";
    std::printf("%s object %lu class %lu recipient %lu handles %s tag %s\n", DtOwnerMsgKindName(msg.ownerMsgKind()),
                msg.objHandle(), msg.classHandle(), msg.recipientFederate(), handles.c_str(), tag.c_str());
    std::fflush(stdout);
    std::unique_ptr<DtRtiMsg> copy(msg.clone(1));
    static_cast<DtOwnershipMsg&>(*copy).setRecipientFederate(1);
    self->mgr->sendStamped(*copy, DtBestEffort);
    ++self->answered;
  }
};

// Federate 2 answers federate 1's messages until it has answered `count`
// or heard nothing for a while.
int serve(const char* ridFile, int count, bool ownership) {
  setenv("RTI_RID_FILE", ridFile, 1);
  DtRIDParameters rid;
  std::unique_ptr<DtConnectionMgr> mgr = DtAsyncConnectionMgr::create(&rid);
  Peer peer{mgr.get()};
  if (ownership) {
    DtOwnershipMsg::addCallback(mgr.get(), &Peer::resend, &peer);
  } else {
    nettest::teachRawKinds(*mgr);
    mgr->addMsgCallback(nettest::kindA, &Peer::echo, &peer, 0);
  }
  mgr->connectFederation(nullptr, "", 2, 0);
  std::printf("ready\n");
  std::fflush(stdout);
  double deadline = DtRealTime() + quietSeconds;
  while (peer.answered < count && DtRealTime() < deadline) {
    const int before = peer.answered;
    if (!mgr->tick()) mgr->wait(0.05);
    if (peer.answered != before) deadline = DtRealTime() + quietSeconds;
  }
  mgr->disconnectFederation();
  std::printf("%s %d\n", ownership ? "resent" : "echoed", peer.answered);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  DtSetNotifyLevel(1);
  if (argc == 5 && std::strcmp(argv[1], "multicast") == 0)
    return multicast(std::atoi(argv[2]), DtStringToAddr(argv[3]), std::atoi(argv[4]));
  if (argc == 4 && std::strcmp(argv[1], "echo") == 0) return serve(argv[2], std::atoi(argv[3]), false);
  if (argc == 4 && std::strcmp(argv[1], "ownership") == 0) return serve(argv[2], std::atoi(argv[3]), true);
  std::fprintf(stderr, "usage: net_test_peer multicast PORT GROUP COUNT | echo|ownership RIDFILE COUNT\n");
  return 2;
}
