// Ownership messages between two processes' connection managers on the
// loopback: federate 1 sends one message of every sub-kind, the other
// process prints what it read and resends each to federate 1, as the
// rtiexec resends a resigning federate's hand-over; every field comes back.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ConnTestSupport.h"
#include "PeerProcess.h"
#include "msg/DtOwnershipMsg.h"
#include "net/DtAsyncConnectionMgr.h"
#include "rti/util/NotifyCapture.h"

using namespace nettest;

namespace {

// What a message carries, as the peer prints it.
std::string fields(const DtOwnershipMsg& msg, unsigned long recipient) {
  std::string handles;
  for (RTI::ULong i = 0; i < msg.attrHandles().size(); ++i) {
    handles += (i ? "," : "") + std::to_string(msg.attrHandles().getHandle(i));
  }
  const std::string tag = msg.tag() ? "'" + std::string(msg.tag()) + "'" : "none";
  return std::string(DtOwnerMsgKindName(msg.ownerMsgKind())) + " object " + std::to_string(msg.objHandle()) +
         " class " + std::to_string(msg.classHandle()) + " recipient " + std::to_string(recipient) + " handles " +
         handles + " tag " + tag;
}

struct Resent {
  std::vector<std::string> lines;
  static void onMessage(const DtOwnershipMsg& msg, void* data) {
    if (msg.federateHandle() == 2) static_cast<Resent*>(data)->lines.push_back(fields(msg, msg.recipientFederate()));
  }
};

TEST(DtOwnershipExchange, EverySubKindGoesToAnotherProcessAndComesBackWhole) {
  NotifyCapture capture;
  FederationPort federation;
  ScratchDirectory directory;
  const std::string ridFile = directory.write("rid.mtl", ridText(federation));
  auto rid = ridFor(federation);
  std::unique_ptr<DtConnectionMgr> mgr = DtAsyncConnectionMgr::create(rid.get());
  Resent resent;
  DtOwnershipMsg::addCallback(mgr.get(), &Resent::onMessage, &resent);
  mgr->connectFederation(nullptr, "", 1, 0);

  // One of every sub-kind, with tags of no, empty, short and the longest
  // size, single handles and sets across the words of the map.
  std::vector<std::unique_ptr<DtOwnershipMsg>> sent;
  const char* tags[] = {nullptr, "", "Radio.7", nullptr};
  const std::string longest(DtOwnershipMsg::theMaxTagLength, 'L');
  for (int kind = DtAcquire; kind <= DtTakenOver; ++kind) {
    DtAttributeHandleSet set;
    for (RTI::AttributeHandle h :
         {RTI::AttributeHandle{0}, RTI::AttributeHandle{33}, RTI::AttributeHandle(kind), RTI::AttributeHandle{319}}) {
      set.add(h);
    }
    const char* tag = kind == DtGiveToLRC ? longest.c_str() : tags[kind % 4];
    auto msg = kind % 2
                   ? std::make_unique<DtOwnershipMsg>(static_cast<DtOwnerMsgKind>(kind), 300000 + kind, set, 0, tag)
                   : std::make_unique<DtOwnershipMsg>(static_cast<DtOwnerMsgKind>(kind), 300000 + kind,
                                                      RTI::AttributeHandle(kind * 20), 2, tag);
    if (kind == DtGiveToLRC) msg->setClassHandle(3);
    sent.push_back(std::move(msg));
  }

  PeerProcess peer({"ownership", ridFile, std::to_string(sent.size())});
  ASSERT_TRUE(peer.started());
  ASSERT_EQ(peer.readLine(), "ready");
  std::size_t next = 0;
  const double deadline = DtRealTime() + 10.0;
  while (resent.lines.size() < sent.size() && DtRealTime() < deadline) {
    // A few in flight at a time, so that no socket buffer overflows.
    while (next < sent.size() && next < resent.lines.size() + 4) mgr->sendStamped(*sent[next++], DtBestEffort);
    if (!mgr->tick()) mgr->wait(0.05);
  }
  mgr->disconnectFederation();
  ASSERT_EQ(resent.lines.size(), sent.size());
  for (std::size_t i = 0; i < sent.size(); ++i) {
    EXPECT_EQ(peer.readLine(), fields(*sent[i], sent[i]->recipientFederate())) << i;  // as the peer read it
    EXPECT_EQ(resent.lines[i], fields(*sent[i], 1)) << i;                             // and as it came back
  }
  EXPECT_EQ(peer.readLine(), "resent " + std::to_string(sent.size()));
}

}  // namespace
