// Two federates' connection managers in two processes on the loopback: one
// sends numbered messages, the other sends each back, in the synchronous
// and in the asynchronous mode.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ConnTestSupport.h"
#include "PeerProcess.h"
#include "net/DtAsyncConnectionMgr.h"
#include "rti/util/NotifyCapture.h"

using namespace nettest;

namespace {

struct Echoes {
  std::vector<std::uint32_t> numbers;
  static void onMessage(const DtRtiMsg& msg, void* data) {
    if (msg.federateHandle() == 2) static_cast<Echoes*>(data)->numbers.push_back(numberOf(msg));
  }
};

class DtConnectionExchange : public testing::TestWithParam<bool> {};

TEST_P(DtConnectionExchange, TwoProcessesExchangeMessages) {
  NotifyCapture capture;
  FederationPort federation;
  const std::string lines = std::string("(setq RTI_asynchronousIO ") + (GetParam() ? "1" : "0") + ")\n";
  ScratchDirectory directory;
  const std::string ridFile = directory.write("rid.mtl", ridText(federation, lines));
  auto rid = ridFor(federation, lines);
  std::unique_ptr<DtConnectionMgr> mgr = DtAsyncConnectionMgr::create(rid.get());
  teachRawKinds(*mgr);
  Echoes echoes;
  mgr->addMsgCallback(kindA, &Echoes::onMessage, &echoes, 0);
  mgr->connectFederation(nullptr, "", 1, 0);

  const std::uint32_t count = 200, window = 20;
  PeerProcess peer({"echo", ridFile, std::to_string(count)});
  ASSERT_TRUE(peer.started());
  ASSERT_EQ(peer.readLine(), "ready");
  std::uint32_t sent = 0;
  const double deadline = DtRealTime() + 10.0;
  while (echoes.numbers.size() < count && DtRealTime() < deadline) {
    // At most `window` messages in flight, so that no socket buffer overflows.
    while (sent < count && sent < echoes.numbers.size() + window) {
      RawMsg msg = numbered(kindA, sent++);
      mgr->sendStamped(msg, DtBestEffort);
    }
    if (!mgr->tick()) mgr->wait(0.05);
  }
  mgr->disconnectFederation();
  ASSERT_EQ(echoes.numbers.size(), count);
  for (std::uint32_t n = 0; n < count; ++n) EXPECT_EQ(echoes.numbers[n], n);
  EXPECT_EQ(peer.readLine(), "echoed " + std::to_string(count));
}

INSTANTIATE_TEST_SUITE_P(Modes, DtConnectionExchange, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "Asynchronous" : "Synchronous";
                         });

}  // namespace
