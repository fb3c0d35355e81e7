// The synchronous connection manager: its connections from the RID
// parameters, sending (and refusing what cannot travel), the receive checks
// and their reports, dispatch order, the save hold-back, the time queue and
// the stamped sends; within a federate's tick, reliable input is read as far
// as the tick's look found it.

#include "net/DtConnectionMgr.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ConnTestSupport.h"
#include "TcpTestSupport.h"
#include "api/DtAttrValueSet.h"
#include "api/DtParamValueSet.h"
#include "fedtime.hh"
#include "msg/DtDeclarationMsgs.h"
#include "msg/DtFederationMsgs.h"
#include "msg/DtOwnershipMsg.h"
#include "msg/DtRegionMsgs.h"
#include "msg/DtRegionSetMsgs.h"
#include "msg/DtSyncPointMsg.h"
#include "msg/DtTimeMsgs.h"
#include "msg/DtUpdateMsgs.h"
#include "net/DtGroupSocket.h"
#include "net/DtGsRtiConnection.h"
#include "net/DtListenSocket.h"
#include "net/DtRetractInfoList.h"
#include "net/DtRtiConnection.h"
#include "net/DtRtiMsgQueue.h"
#include "net/DtTcpSocket.h"
#include "port/DtPortSocket.h"
#include "rti/util/FakeNoticeClock.h"
#include "rti/util/NotifyCapture.h"

using namespace nettest;

namespace {

// A message that travels in time-stamp order, or not.
class FlaggedMsg : public RawMsg {
public:
  FlaggedMsg(DtRtiMsgKind kind, std::uint32_t number, bool timeStamped) : RawMsg(16, kind), timeStamped_(timeStamped) {
    DtPutBigEndian(number, data() + 8);
  }
  unsigned long orderType() const override { return timeStamped_ ? DtTimestampOrder : DtReceiveOrder; }

private:
  bool timeStamped_;
};

class DtConnectionMgrTest : public testing::Test {
protected:
  void SetUp() override {
    mgr = DtConnectionMgr::create(rid.get());
    teachRawKinds(*mgr);
    peer->setUnbundling(false);
  }

  // Sends raw bytes to the manager's group, as another federate would.
  void sendBytes(const std::string& bytes) {
    ASSERT_EQ(peer->sendTo(bytes.data(), static_cast<int>(bytes.size()), 0), static_cast<int>(bytes.size()));
  }
  void sendMsg(const DtRtiMsg& msg) { sendBytes(std::string(msg.data(), static_cast<std::size_t>(msg.size()))); }
  // netRead on the UDP connection once something arrived; the status.
  int readStatus() {
    mgr->wait(2.0);
    int status = -1;
    std::unique_ptr<DtRtiMsg> msg(mgr->udpConn()->netRead(&status));
    return status;
  }

  NotifyCapture capture;
  FederationPort federation;
  std::unique_ptr<DtRIDParameters> rid = ridFor(federation);
  std::unique_ptr<DtConnectionMgr> mgr;
  std::unique_ptr<DtNetSocket> peer{udpSocket(federation.group(), federation.port())};
  CallRecorder recorder;
};

TEST_F(DtConnectionMgrTest, TheUdpSocketAsksForAFourMegabyteReceiveBufferByDefault) {
  int granted = 0;
  ASSERT_EQ(DtPortGetOption(mgr->udpConn()->socket()->readDescriptor(), DtSockOption::ReceiveBuffer, &granted), 0);
  const long limit = DtPortReceiveBufferLimit();
  ASSERT_GT(limit, 0);
  EXPECT_EQ(granted / 2, std::min<long>(4 * 1024 * 1024, limit)) << "the system keeps the asked size, up to its limit";
}

TEST_F(DtConnectionMgrTest, WithoutDestinationAddressesTheUdpSocketIsAPlainOne) {
  ASSERT_NE(mgr->udpConn(), nullptr);
  EXPECT_EQ(dynamic_cast<DtGroupSocket*>(mgr->udpConn()->socket()), nullptr);
  EXPECT_EQ(dynamic_cast<DtNetSocket*>(mgr->udpConn()->socket())->destAddr(), federation.group());
  EXPECT_EQ(mgr->internalConn(), mgr->udpConn());
  EXPECT_TRUE(mgr->hasTransport(DtBestEffort));
  EXPECT_FALSE(mgr->hasTransport(DtReliable));
  EXPECT_FALSE(mgr->hasTransport(DtTransportType(7)));
  EXPECT_EQ(mgr->udpConn()->rtiMsgFactory(), mgr->msgFactory());
  EXPECT_EQ(mgr->readFileDescriptor(0), mgr->udpConn()->socket()->readDescriptor());
  EXPECT_EQ(mgr->readFileEvent(0), mgr->readFileDescriptor(0));
  EXPECT_EQ(mgr->readFileDescriptor(1), -1);
}

TEST(DtConnectionMgrInit, DestinationAddressesMakeAGroupSocketWithTheRemoteSitesInOrder) {
  NotifyCapture capture;
  FederationPort federation;
  auto rid = ridFor(federation, "(RTI-addDestAddrString \"127.0.0.2\")\n(RTI-addDestAddrString \"127.0.0.3\")\n");
  auto mgr = DtConnectionMgr::create(rid.get());
  auto* group = dynamic_cast<DtGroupSocket*>(mgr->udpConn()->socket());
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->remoteSites(), (std::vector<std::uint32_t>{federation.group(), 0x7F000002u, 0x7F000003u}));
  EXPECT_EQ(dynamic_cast<DtGsRtiConnection*>(mgr->udpConn()), nullptr);

  auto withChannels = ridFor(federation,
                             "(RTI-addDestAddrString \"127.0.0.2\")\n"
                             "(RTI-addDMObjectMulticastAddr \"ObjectRoot.A\" \"239.78.1.1\" \"inclusive\")\n");
  auto channelled = DtConnectionMgr::create(withChannels.get());
  auto* gs = dynamic_cast<DtGsRtiConnection*>(channelled->udpConn());
  ASSERT_NE(gs, nullptr);
  EXPECT_EQ(gs->defaultAddr(), federation.group());
}

TEST(DtConnectionMgrInit, ReliableTransportWithoutRtiexecFallsBackToBestEffort) {
  NotifyCapture capture;
  FederationPort federation;
  auto rid = ridFor(federation, "(setq RTI_useRtiExec 0)\n(setq RTI_internalMsgReliable 1)\n");
  auto mgr = DtConnectionMgr::create(rid.get());
  EXPECT_NE(capture.text().find("Can't send reliable messages without rtiexec.\nUsing Best Effort.\n"),
            std::string::npos);
  EXPECT_EQ(rid->internalMsgReliable(), 0);
  EXPECT_EQ(rid->fomDataReliable(), 0);
  EXPECT_FALSE(mgr->hasTransport(DtReliable));
  EXPECT_EQ(mgr->reliableConn(), nullptr);
  EXPECT_EQ(mgr->internalConn(), mgr->udpConn());
  EXPECT_EQ(mgr->internalTransportType(), DtBestEffort);

  // With rtiexec asked for but no forwarder listening.
  capture.clear();
  auto unreachable = ridFor(federation, "(setq RTI_useRtiExec 1)\n(setq RTI_internalMsgReliable 1)\n");
  auto alone = DtConnectionMgr::create(unreachable.get());
  EXPECT_NE(capture.text().find("Could not create reliable connection\n"), std::string::npos);
  EXPECT_EQ(unreachable->useRtiExec(), 0);
  EXPECT_FALSE(alone->hasTransport(DtReliable));
}

TEST(DtConnectionMgrInit, PortThatCannotBeBoundIsAnInternalErrorNamingThePort) {
  NotifyCapture capture;
  const int taken = DtPortUdpSocket();
  DtSockAddr local{0, 0};
  ASSERT_EQ(DtPortBind(taken, local), 0);
  ASSERT_EQ(DtPortLocalAddress(taken, &local), 0);
  ScratchDirectory directory;
  const std::string file = directory.write("rid.mtl", "(setq RTI_udpPort " + std::to_string(local.port) +
                                                          ")\n(setq RTI_mcastDevAddrString \"127.0.0.1\")\n"
                                                          "(setq RTI_destAddrString \"127.0.0.1\")\n");
  const ScopedEnv env("RTI_RID_FILE", file.c_str());
  DtRIDParameters rid;
  try {
    DtConnectionMgr::create(&rid);
    ADD_FAILURE() << "a manager on a taken port";
  } catch (const RTI::RTIinternalError& error) {
    EXPECT_NE(std::string(error._reason).find("port " + std::to_string(local.port) + ": cannot bind UDP port"),
              std::string::npos)
        << error._reason;
  }
  DtPortCloseSocket(taken);
}

TEST_F(DtConnectionMgrTest, ReceiveChecksDropTooShortForeignAndMismatchedPackets) {
  sendBytes("short");
  EXPECT_EQ(readStatus(), DtRtiConnection::TooShort);
  EXPECT_EQ(mgr->udpConn()->tooShortCount(), 1);

  // Before joining, any execution's messages are accepted.
  RawMsg other = numbered(kindA, 1);
  other.setFedEx(DtString("Other"));
  sendMsg(other);
  EXPECT_EQ(readStatus(), DtRtiConnection::Message);

  mgr->connectFederation(nullptr, "MyFederation", 3, 0);
  sendMsg(other);
  EXPECT_EQ(readStatus(), DtRtiConnection::OtherExecution);
  RawMsg mine = numbered(kindA, 2);
  mine.setFedEx(DtString("MyFed"));
  sendMsg(mine);
  EXPECT_EQ(readStatus(), DtRtiConnection::Message);
  sendMsg(numbered(kindA, 3));  // handle 0: any execution
  EXPECT_EQ(readStatus(), DtRtiConnection::Message);

  // A header two bytes longer than the datagram; only the first nine are reported.
  RawMsg longer = numbered(kindA, 4);
  DtPutBigEndian(static_cast<std::uint16_t>(longer.size() + 2), longer.data());
  capture.clear();
  for (int i = 0; i < 12; ++i) {
    sendMsg(longer);
    EXPECT_EQ(readStatus(), DtRtiConnection::SizeMismatch);
  }
  EXPECT_EQ(mgr->udpConn()->sizeMismatchCount(), 12);
  int reports = 0;
  for (std::size_t at = 0;
       (at = capture.text().find("size mismatch:received(16), Header(18)", at)) != std::string::npos; ++at)
    ++reports;
  EXPECT_EQ(reports, 9);

  sendMsg(numbered(DtRtiMsgKind(42), 5));  // a kind without a class
  EXPECT_EQ(readStatus(), DtRtiConnection::BadMessage);
  EXPECT_EQ(mgr->udpConn()->netRead(nullptr), nullptr);  // nothing more
}

// A peer that sends refused messages fast gets one line a second for each
// kind and fault; the next line says how many were held back.
TEST_F(DtConnectionMgrTest, RefusedMessagesAreToldOnceASecondForEachKindAndFault) {
  FakeNoticeClock clock;
  DtResignMsg resign("Fed", 3, RTI::RELEASE_ATTRIBUTES, nullptr);
  DtPutBigEndian(std::uint32_t{9}, resign.data() + 8);  // names no action: one 12-byte datagram
  const std::string resignLine =
      "RTI: dropped a received ResignMsgKind (kind 7, 12 bytes, from federate 3): resign action 9 is none of 1 to 4";
  const auto lines = [&](const std::string& what) {
    int count = 0;
    for (std::size_t at = 0; (at = capture.text().find(what, at)) != std::string::npos; ++at) ++count;
    return count;
  };
  for (int i = 0; i < 5; ++i) {
    sendMsg(resign);
    EXPECT_EQ(readStatus(), DtRtiConnection::BadMessage);
  }
  EXPECT_EQ(lines(resignLine + "\n"), 1);

  sendMsg(numbered(DtRtiMsgKind(42), 5));  // another fault is told at once
  EXPECT_EQ(readStatus(), DtRtiConnection::BadMessage);
  EXPECT_EQ(lines("(kind 42, 16 bytes, from federate 0): no message class has this kind\n"), 1) << capture.text();

  clock.advance(1.0);
  sendMsg(resign);
  EXPECT_EQ(readStatus(), DtRtiConnection::BadMessage);
  EXPECT_EQ(lines(resignLine + " (4 more like it not printed)\n"), 1);
}

// A time message whose sizes disagree with its bytes, or whose time does not
// decode, never reaches a callback: the time manager or the rtiexec would
// act on a time that is not there. Each is told in one error line; the
// sound message of the same kind after it is delivered.
TEST_F(DtConnectionMgrTest, EveryMalformedTimeMessageIsDroppedWithAnErrorLine) {
  FakeNoticeClock clock;
  DtSetNotifyLevel(1);  // errors only: the line must still come
  const RTIfedTime time(5), lookahead(1);
  struct Kind {
    const char* name;
    std::shared_ptr<DtRtiMsg> sound;
  };
  const Kind kinds[] = {
      {"EnableRegulationMsgKind", std::make_shared<DtEnableRegulationMsg>(time, lookahead, nullptr)},
      {"RegulationEnabledMsgKind", std::make_shared<DtRegulationEnabledMsg>(3, time, nullptr)},
      {"EnableConstrainedMsgKind", std::make_shared<DtEnableConstrainedMsg>(time, lookahead, nullptr)},
      {"ConstrainedEnabledMsgKind", std::make_shared<DtConstrainedEnabledMsg>(3, time, time, nullptr)},
      {"TimeAdvanceRequestMsgKind", std::make_shared<DtTimeAdvanceRequestMsg>(time, lookahead, nullptr)},
      {"NextEventRequestMsgKind", std::make_shared<DtNextEventRequestMsg>(time, lookahead, 1, 4, nullptr)},
      {"LbtsMsgKind", std::make_shared<DtLbtsMsg>(3, time, time, nullptr)},
      {"NerLbtsMsgKind", std::make_shared<DtNerLbtsMsg>(4, 3, 1, 0, time, time, nullptr)},
      {"DisableMsgKind", std::make_shared<DtDisableMsg>(1, nullptr)},
      {"ConstrainedSyncMsgKind", std::make_shared<DtConstrainedSyncMsg>(time, lookahead, nullptr)},
      {"ResumeConstrainedMsgKind", std::make_shared<DtResumeConstrainedMsg>(3, time, time, nullptr)},
  };
  const auto bytesOf = [](const DtRtiMsg& msg) {
    return std::string(msg.data(), static_cast<std::size_t>(msg.size()));
  };
  // The first bytes, the header's length set to their number.
  const auto cut = [](std::string bytes, std::size_t size) {
    bytes.resize(size);
    DtPutBigEndian(static_cast<std::uint16_t>(size), bytes.data());
    return bytes;
  };
  struct Fault {
    const char* reason;
    std::function<std::string(const DtRtiMsg&)> damage;  // "" for a kind without a time to damage
  };
  const Fault faults[] = {
      {"its length disagrees with its header or is too short for its fixed fields",
       [&](const DtRtiMsg& msg) { return cut(bytesOf(msg), 10); }},
      {"a part runs past the end of the message",
       [&](const DtRtiMsg& msg) {
         return msg.layout()->parts.empty() ? "" : cut(bytesOf(msg), static_cast<std::size_t>(msg.size() - 2));
       }},
      {"its time cannot be read",  // all ones: not a number
       [&](const DtRtiMsg& msg) {
         if (msg.layout()->parts.empty()) return std::string();
         std::string bytes = bytesOf(msg);
         std::fill_n(bytes.begin() + msg.layout()->fixedSize, 8, '\xff');
         return bytes;
       }},
  };
  for (const Kind& kind : kinds) {
    DtRtiMsg& sound = *kind.sound;
    ASSERT_EQ(sound.status(), DtRtiMsg::Valid) << kind.name;
    sound.setFederateHandle(3);
    const int number = sound.msgKind();
    recorder.registerOn(*mgr, sound.msgKind(), std::to_string(number));
    for (const Fault& fault : faults) {
      const std::string bytes = fault.damage(sound);
      if (bytes.empty()) continue;
      SCOPED_TRACE(std::string(kind.name) + ": " + fault.reason);
      capture.clear();
      recorder.calls.clear();
      sendBytes(bytes);
      sendMsg(sound);
      tickUntil(*mgr, [&] { return recorder.calls.size() >= 1u; });
      for (int i = 0; i < 4; ++i) mgr->tick();  // anything more would show now
      const std::string delivered = std::to_string(number) + ":" + std::to_string(numberOf(sound));
      EXPECT_EQ(recorder.calls, std::vector<std::string>{delivered}) << "the damaged one dropped, the sound one not";
      EXPECT_EQ(capture.text(), "RTI: dropped a received " + std::string(kind.name) + " (kind " +
                                    std::to_string(number) + ", " + std::to_string(bytes.size()) +
                                    " bytes, from federate 3): " + fault.reason + "\n");
    }
  }
}

// A message that cannot travel is refused at the sender: nothing goes out.
TEST_F(DtConnectionMgrTest, AMessageThatCannotTravelIsRefusedAndNothingIsSent) {
  peer->setNonBlocking();
  const auto nextAtPeer = [&] {
    char* data = nullptr;
    int status = 0;
    return text(data, receiveWithin(*peer, &data, &status));
  };
  RawMsg largest(DtSocket::theLargestDatagram, kindA);
  EXPECT_EQ(mgr->send(largest, DtBestEffort), DtSocket::theLargestDatagram);
  EXPECT_EQ(nextAtPeer().size(), static_cast<std::size_t>(DtSocket::theLargestDatagram));

  capture.clear();
  RawMsg longer(DtSocket::theLargestDatagram + 1, kindA);
  EXPECT_THROW(mgr->send(longer, DtBestEffort), RTI::RTIinternalError);
  EXPECT_THROW(mgr->sendStampedAndDelete(new RawMsg(DtSocket::theLargestDatagram + 1, kindA), DtBestEffort),
               RTI::RTIinternalError);
  EXPECT_NE(capture.text().find("is longer than the 65507 bytes its connection carries (not sent)\n"),
            std::string::npos)
      << capture.text();

  // A value that does not fit its field was refused when the message was
  // built, in every family (synchronization points and regions too); the
  // message keeps the reason, and the send gives it.
  DtParamValueSet values(1);
  values.add(1, "v", 1);
  DtAttrValueSet attributes(1);
  attributes.add(1, "v", 1);
  const std::string longTag(300, 't');
  std::unique_ptr<RTI::FederateHandleSet> farFederate(RTI::FederateHandleSetFactory::create(1));
  farFederate->add(0x100000000UL);
  auto manyExtents = std::make_shared<DtNotifyRegMsg>(4, 1);
  manyExtents->setExtents(0x10000, 1, {});
  const std::vector<std::pair<std::shared_ptr<DtRtiMsg>, std::string>> refused = {
      {std::make_shared<DtInteractionRoMsg>(70000, values, nullptr, 0, nullptr),
       "DtNetInteractionMsg: interaction class handle 70000 does not fit its 16-bit field; not set"},
      {std::make_shared<DtUpdateRoMsg>(5, nullptr, 3, attributes, longTag.c_str(), nullptr),
       "DtNetUpdateMsg: a tag of 300 characters does not fit its size field (at most 254); not set"},
      {std::make_shared<DtOwnershipMsg>(DtUncondDivest, 5, RTI::AttributeHandle{400}, 0, nullptr),
       "DtNetOwnershipMsg: attribute handle 400 cannot travel (at most 319); no attribute set"},
      {std::make_shared<DtPubInterMsg>(0x100000000UL, nullptr),
       "DtNetPubInterMsg: class handle 4294967296 does not fit its 32-bit field; not set"},
      {std::make_shared<DtSyncPointMsg>(DtRegister, 3, "ready", nullptr, farFederate.get()),
       "DtNetSyncMsg: federate handle 4294967296 does not fit 32 bits; not set"},
      {std::make_shared<DtNotifyRegMsg>(4, RTI::SpaceHandle{-0x80000001L}),
       "DtNetNotifyRegMsg: space handle -2147483649 does not fit its 32-bit field; not set"},
      {manyExtents,
       "DtNetNotifyRegMsg: 65536 extents of 1 dimensions do not fit a message of at most 65535 bytes; not set"},
      {std::make_shared<DtObjRegSetMsg>(DtObjSubRegionSet, 2, 0, std::vector<std::uint32_t>(16378, 7)),
       "DtNetObjRegSetMsg: 16378 region handles do not fit a message of at most 65535 bytes; not reserved"},
  };
  for (const auto& [msg, reason] : refused) {
    ASSERT_NE(msg->refusal(), nullptr) << reason;
    try {
      mgr->sendStamped(*msg, DtBestEffort);
      ADD_FAILURE() << "sent: " << reason;
    } catch (const RTI::RTIinternalError& e) {
      EXPECT_EQ(std::string(e._reason), reason + " (not sent)");
    }
  }
  sendMsg(numbered(kindA, 9));
  EXPECT_EQ(nextAtPeer(), numbered(kindA, 9).bytes()) << "nothing came before it";
}

TEST_F(DtConnectionMgrTest, TickCountsABadPacketAsActivityAndNothingAsNone) {
  EXPECT_FALSE(mgr->tick());
  sendBytes("bad");
  mgr->wait(2.0);
  EXPECT_TRUE(mgr->tick());
  EXPECT_FALSE(mgr->tick());
  EXPECT_FALSE(mgr->wait(0.05));
}

// A manager whose reliable connection is a TCP client of the test's listener.
class ReliableMgr : public DtConnectionMgr {
public:
  using DtConnectionMgr::DtConnectionMgr;
  void connect(int port) {
    adoptReliableSocket(std::make_unique<DtTcpSocket>(loopback, port, false));
    setMsgFactory(msgFactory());
  }
};

TEST(DtConnectionMgrTick, WithinATickReliableInputIsReadAsFarAsItsLookFoundItAndAClosedConnectionIsReportedInIt) {
  NotifyCapture capture;
  FederationPort federation;
  const std::unique_ptr<DtRIDParameters> rid = ridFor(federation);
  ReliableMgr mgr(rid.get());
  mgr.init(rid.get());
  teachRawKinds(mgr);
  CallRecorder recorder;
  recorder.registerOn(mgr, kindA, "a");
  const DtListenResult listening = DtListenSocket(0, "test:");
  ASSERT_GE(listening.fd, 0);
  mgr.connect(listening.port);
  waitReadable(listening.fd);
  DtSockAddr peer;
  const int server = DtPortAccept(listening.fd, &peer);
  ASSERT_GE(server, 0);
  const auto send = [&](std::initializer_list<std::uint32_t> numbers) {
    std::vector<char> bytes;
    for (const std::uint32_t n : numbers) {
      const RawMsg msg = numbered(kindA, n);
      bytes.insert(bytes.end(), msg.data(), msg.data() + msg.size());
    }
    sendRaw(server, bytes);
  };

  send({1, 2});
  ASSERT_TRUE(mgr.wait(2.0));
  mgr.beginTick();
  EXPECT_TRUE(mgr.tick());
  EXPECT_TRUE(mgr.tick());
  send({3});  // in the socket now, after the look
  EXPECT_FALSE(mgr.tick()) << "the look found 1 and 2 alone: 3 waits for the next tick";
  mgr.endTick();
  mgr.beginTick();
  EXPECT_TRUE(mgr.tick());
  EXPECT_FALSE(mgr.tick());
  mgr.endTick();
  // Outside a federate's tick every tick looks.
  send({4});
  EXPECT_TRUE(mgr.tick());
  send({5});
  EXPECT_TRUE(mgr.tick());
  EXPECT_EQ(recorder.calls, (std::vector<std::string>{"a:1", "a:2", "a:3", "a:4", "a:5"}));

  // The last packets of a closed connection and its end go up in one tick.
  send({6});
  DtPortCloseSocket(server);
  ASSERT_TRUE(mgr.wait(2.0));
  mgr.beginTick();
  EXPECT_TRUE(mgr.tick());
  EXPECT_THROW(mgr.tick(), RTI::RTIinternalError);
  mgr.endTick();
  EXPECT_EQ(recorder.calls.back(), "a:6");
  DtPortCloseSocket(listening.fd);
}

TEST_F(DtConnectionMgrTest, DispatchRunsTheMomRegistryFirstThenTheNewestCallbackFirst) {
  recorder.registerOn(*mgr, kindA, "first");
  recorder.registerOn(*mgr, kindA, "second");
  recorder.registerOn(*mgr, kindA, "mom", 1);
  recorder.registerOn(*mgr, kindB, "other");
  sendMsg(numbered(kindA, 7));
  tickUntil(*mgr, [&] { return recorder.calls.size() >= 3u; });
  EXPECT_EQ(recorder.calls, (std::vector<std::string>{"mom:7", "second:7", "first:7"}));
}

TEST_F(DtConnectionMgrTest, SaveHoldsMessagesBackAndReleasesThemOldestFirst) {
  for (DtRtiMsgKind kind : {kindA, kindB}) {
    recorder.registerOn(*mgr, kind, "normal");
    recorder.registerOn(*mgr, kind, "mom", 1);
  }
  mgr->setSaveInProgress(1);
  sendMsg(numbered(kindA, 1));
  sendMsg(numbered(kindA, 2));
  sendMsg(numbered(kindB, 3));  // allowed during a save
  tickUntil(*mgr, [&] { return recorder.calls.size() >= 4u; });
  EXPECT_EQ(recorder.calls, (std::vector<std::string>{"mom:1", "mom:2", "mom:3", "normal:3"}));
  EXPECT_EQ(mgr->pendingMsgCount(), 2);
  EXPECT_FALSE(mgr->processPendingMsg());  // still saving

  mgr->setSaveInProgress(0);
  recorder.calls.clear();
  EXPECT_TRUE(mgr->tick());
  EXPECT_TRUE(mgr->tick());
  EXPECT_FALSE(mgr->tick());
  EXPECT_EQ(recorder.calls, (std::vector<std::string>{"normal:1", "normal:2"}));
}

TEST_F(DtConnectionMgrTest, TimeQueueThatTakesAMessageKeepsItFromTheCallbacks) {
  struct TakeEven : DtRtiMsgQueue {
    char takeMsg(const DtRtiMsg& msg) override { return numberOf(msg) % 2 == 0; }
  } queue;
  recorder.registerOn(*mgr, kindA, "normal");
  mgr->setMsgQueue(&queue);
  for (std::uint32_t n = 1; n <= 4; ++n) sendMsg(numbered(kindA, n));
  tickUntil(*mgr, [&] { return recorder.calls.size() >= 2u; });
  for (int i = 0; i < 4; ++i) mgr->tick();
  EXPECT_EQ(recorder.calls, (std::vector<std::string>{"normal:1", "normal:3"}));
}

TEST_F(DtConnectionMgrTest, StampedSendsCarryTheFederateAndKeepTheMessagesExecutionId) {
  struct Retractions : DtRetractInfoList {
    void addMsg(const DtRtiMsg& msg) override { numbers.push_back(numberOf(msg)); }
    std::vector<std::uint32_t> numbers;
  } retractions;
  mgr->connectFederation(nullptr, "Exec", 9, 4);
  mgr->setRetractList(&retractions);
  FlaggedMsg receiveOrder(kindA, 1, false), stamped(kindA, 2, true);
  receiveOrder.setFedEx(DtString("Mine"));
  EXPECT_EQ(mgr->sendStamped(receiveOrder, DtBestEffort), receiveOrder.size());
  EXPECT_EQ(receiveOrder.federateHandle(), 9u);
  EXPECT_EQ(receiveOrder.fedExName(), DtString("Min"));
  mgr->sendStamped(stamped, DtBestEffort);
  mgr->sendStampedAnonymous(stamped, DtBestEffort);
  EXPECT_EQ(stamped.federateHandle(), 0u);
  EXPECT_EQ(stamped.fedExHandle(), 0);
  EXPECT_EQ(retractions.numbers, std::vector<std::uint32_t>{2});

  // What went out: the manager's execution handle and federate handle.
  peer->setNonBlocking();
  std::vector<std::pair<int, unsigned>> seen;
  char* data = nullptr;
  int status = 0;
  for (int length; (length = receiveWithin(*peer, &data, &status, 1.0)) > 0;) {
    const DtNetMsgHeader* header = DtNetMsgHeader::at(data);
    seen.emplace_back(header->fedExHandle(), header->federate());
  }
  EXPECT_EQ(seen, (std::vector<std::pair<int, unsigned>>{{4, 9}, {4, 9}, {4, 0}}));

  EXPECT_EQ(mgr->sendStampedAndDelete(new FlaggedMsg(kindA, 3, true), DtBestEffort), 16);
  EXPECT_EQ(retractions.numbers, (std::vector<std::uint32_t>{2, 3}));
  EXPECT_EQ(mgr->send(receiveOrder, DtTransportType(5)), receiveOrder.size());
  EXPECT_NE(capture.text().find("unexpected transport type in connectionMgr::send"), std::string::npos);

  mgr->disconnectFederation();
  EXPECT_EQ(mgr->fedHandle(), 0u);
  EXPECT_EQ(mgr->retractList(), nullptr);
}

TEST_F(DtConnectionMgrTest, CallbackThatLeavesTheFederationEndsTheWalkSafely) {
  // The newest callback resigns: it removes an older registration, frees
  // that one's user data and disconnects, which deletes the pending messages.
  struct Leaver {
    DtConnectionMgr* mgr;
    std::unique_ptr<int> olderCalls = std::make_unique<int>(0);
    int leaves = 0;
    static void older(const DtRtiMsg&, void* data) { ++*static_cast<int*>(data); }
    static void leave(const DtRtiMsg&, void* data) {
      auto* self = static_cast<Leaver*>(data);
      ++self->leaves;
      self->mgr->removeMsgCallback(kindA, &Leaver::older, self->olderCalls.get(), 0);
      self->olderCalls.reset();
      self->mgr->disconnectFederation();
    }
  } leaver{mgr.get()};
  mgr->addMsgCallback(kindA, &Leaver::older, leaver.olderCalls.get(), 0);
  mgr->addMsgCallback(kindA, &Leaver::leave, &leaver, 0);
  mgr->connectFederation(nullptr, "", 1, 0);
  mgr->setSaveInProgress(1);
  sendMsg(numbered(kindA, 1));
  sendMsg(numbered(kindA, 2));
  for (int i = 0; i < 100 && mgr->pendingMsgCount() < 2; ++i) {
    if (!mgr->tick()) mgr->wait(0.02);
  }
  ASSERT_EQ(mgr->pendingMsgCount(), 2);
  mgr->setSaveInProgress(0);
  EXPECT_TRUE(mgr->tick());
  EXPECT_EQ(leaver.leaves, 1);
  EXPECT_EQ(leaver.olderCalls, nullptr);
  EXPECT_EQ(mgr->pendingMsgCount(), 0);
}

TEST_F(DtConnectionMgrTest, CallbackThatTicksAgainKeepsItsOwnMessageIntact) {
  struct Nested {
    DtConnectionMgr* mgr;
    std::vector<std::uint32_t> seen;
    static void onMessage(const DtRtiMsg& msg, void* data) {
      auto* self = static_cast<Nested*>(data);
      const std::uint32_t before = numberOf(msg);
      if (before == 1) {
        self->mgr->wait(2.0);
        self->mgr->tick();  // reads message 2 on the same socket
      }
      self->seen.push_back(numberOf(msg));
      EXPECT_EQ(numberOf(msg), before);
    }
  } nested{mgr.get(), {}};
  mgr->addMsgCallback(kindA, &Nested::onMessage, &nested, 0);
  sendMsg(numbered(kindA, 1));
  sendMsg(numbered(kindA, 2));
  mgr->wait(2.0);
  mgr->tick();
  EXPECT_EQ(nested.seen, (std::vector<std::uint32_t>{2, 1}));
}

TEST_F(DtConnectionMgrTest, GetMessageReadsWithoutDispatching) {
  recorder.registerOn(*mgr, kindA, "normal");
  sendMsg(numbered(kindA, 8));
  mgr->wait(2.0);
  std::unique_ptr<DtRtiMsg> msg(mgr->getMessage());
  ASSERT_NE(msg, nullptr);
  EXPECT_EQ(numberOf(*msg), 8u);
  EXPECT_FALSE(msg->inCallerMemory());
  EXPECT_TRUE(recorder.calls.empty());
  EXPECT_EQ(mgr->getMessage(), nullptr);
}

TEST_F(DtConnectionMgrTest, FederationConnectsTheWrapperChainAndTheFilters) {
  RTI::FederateAmbassador* ambassador = reinterpret_cast<RTI::FederateAmbassador*>(this);
  EXPECT_EQ(mgr->fedAmb(), nullptr);
  mgr->connectFederation(ambassador, "Fed", 5, 2);
  EXPECT_EQ(mgr->fedAmb(), ambassador);
  EXPECT_EQ(mgr->udpConn()->fedExHandle(), 2);
  EXPECT_EQ(mgr->udpConn()->federateHandle(), 5u);
  mgr->setFederateHandle(6);
  EXPECT_EQ(mgr->udpConn()->federateHandle(), 6u);
  mgr->disconnectFederation();
  EXPECT_EQ(mgr->fedAmb(), nullptr);
  EXPECT_EQ(mgr->udpConn()->fedExName(), DtString(""));
  EXPECT_EQ(mgr->fedExName(), DtString(""));
}

}  // namespace
