// A federate of this process that loops on tick() with RTI_tickIdleWait
// set, in a federation with a scripted federate that rings it: while
// nothing comes it sleeps in the kernel (its voluntary context switches
// rise, its processor time stays far below the time it waited), and an
// interaction that comes while a tick waits ends the wait and is delivered
// by that tick.
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <future>
#include <string>
#include <thread>
#include <utility>

#include "CoreTestSupport.h"
#include "config/DtRIDParameters.h"
#include "core/DtRtiAmbassadorAccess.h"
#include "support/DeployedFederation.h"
#include "support/ScriptedFederateProcess.h"
#include "support/WaitUntil.h"

namespace {

const char* const bellFed = R"((FED (Federation Bell) (FEDversion v1.3) (spaces)
  (objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp) (class RTIprivate)))
  (interactions (class InteractionRoot reliable receive (class RTIprivate reliable receive)
    (class Ring reliable receive (parameter Word)))))
)";

// Counts the rings that carry its tag: a federation of a test running
// beside this one may share the port (the ports are held with
// SO_REUSEADDR), and its rings are not this test's.
class RingCounter : public NullFederateAmbassador {
public:
  explicit RingCounter(std::string tag) : tag_(std::move(tag)) {}
  void receiveInteraction(RTI::InteractionClassHandle, const RTI::ParameterHandleValuePairSet&,
                          const char* tag) override {
    if (tag && tag == tag_) ++rings;
  }
  int rings = 0;

private:
  std::string tag_;
};

struct ThreadUsage {
  long voluntarySwitches;
  double cpuSeconds;
};

ThreadUsage usageOfThisThread() {
  rusage usage{};
  getrusage(RUSAGE_THREAD, &usage);
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  return {usage.ru_nvcsw, seconds(usage.ru_utime) + seconds(usage.ru_stime)};
}

// Whether the thread of this process is asleep, waiting in the kernel.
bool asleep(pid_t thread) {
  std::ifstream stat("/proc/self/task/" + std::to_string(thread) + "/stat");
  std::string line;
  std::getline(stat, line);
  const std::size_t end = line.rfind(')');
  return end != std::string::npos && end + 2 < line.size() && line[end + 2] == 'S';
}

class IdleTickFederation : public testing::TestWithParam<Deployment> {};

TEST_P(IdleTickFederation, ALoopOnTickSleepsWhileNothingComesAndDeliversWhatComesAtOnce) {
  DeployedFederation federation(GetParam());
  ASSERT_TRUE(federation.started());
  federation.dir().write("Bell.fed", bellFed);
  ScriptedFederateProcess ringer;
  ASSERT_TRUE(ringer.started());
  ASSERT_EQ(ringer.command("create Bell Bell.fed"), "ok create");
  ASSERT_TRUE(ringer.command("join Bell Ringer").starts_with("ok join"));
  ASSERT_TRUE(succeeds(ringer, "publish-interaction Ring"));

  const std::string tag = "ring" + std::to_string(getpid());
  RingCounter counter(tag);
  RTI::RTIambassador rti;
  rti.joinFederationExecution("Listener", "Bell", &counter);
  rti.subscribeInteractionClass(rti.getInteractionClassHandle("Ring"));
  auto heard = std::async(std::launch::async, [&] { return ringer.command("wait turnInteractionsOn"); });
  ASSERT_TRUE(waitUntil([&] { return heard.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
                        [&] { rti.tick(0.001, 0.01); }));
  ASSERT_TRUE(heard.get().starts_with("ok wait"));

  // Nothing comes: each tick sleeps out its bound. Spinning through that
  // time would cost as much processor time.
  DtRIDParameters& rid = *DtRtiAmbassadorAccess::implementor(rti).params();
  constexpr int idleTicks = 20;
  constexpr float idleWait = 0.02f;
  rid.setTickIdleWait(idleWait);
  const ThreadUsage before = usageOfThisThread();
  for (int i = 0; i < idleTicks; ++i) rti.tick();
  const ThreadUsage after = usageOfThisThread();
  // (A tick may find a late message of the join waiting: not every one sleeps.)
  EXPECT_GE(after.voluntarySwitches - before.voluntarySwitches, idleTicks / 2);
  EXPECT_LT(after.cpuSeconds - before.cpuSeconds, idleTicks * idleWait / 4);
  EXPECT_EQ(counter.rings, 0);

  // The ring is sent once this thread sleeps in its tick, which may wait
  // 10 s: that tick returns with it, long before its bound (a wait that
  // did not end on input would last the whole bound).
  constexpr float longWait = 10.0f;
  rid.setTickIdleWait(longWait);
  const pid_t self = gettid();
  std::atomic<bool> ticking{false};
  std::string sent;
  std::thread ring([&] {
    if (pollUntil([&] { return ticking.load() && asleep(self); }))
      sent = ringer.command("send-interaction Ring " + tag);
  });
  ticking = true;
  const auto begun = std::chrono::steady_clock::now();
  rti.tick();
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - begun;
  ring.join();
  EXPECT_TRUE(sent.starts_with("ok send-interaction")) << sent;
  EXPECT_EQ(counter.rings, 1);
  EXPECT_LT(took.count(), longWait);

  rid.setTickIdleWait(0);
  rti.resignFederationExecution(RTI::NO_ACTION);
  EXPECT_TRUE(succeeds(ringer, "resign none"));
}

INSTANTIATE_TEST_SUITE_P(Deployments, IdleTickFederation, testing::Values(everyDeployment[0], everyDeployment[4]),
                         deploymentName);

}  // namespace
