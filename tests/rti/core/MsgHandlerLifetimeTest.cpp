// Every manager that takes received messages leaves no handler in its
// connection manager once it is gone (a handler left behind would be called
// with a manager that no longer exists), even when the channel switch has
// changed the kinds of the update and interaction classes in its lifetime.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "CoreTestSupport.h"
#include "config/DtRIDParameters.h"
#include "core/DtTimeMgr.h"
#include "exec/DtFedExec.h"
#include "msg/DtUpdateMsgs.h"
#include "objects/DtInteractionMgr.h"
#include "objects/DtObjectMgr.h"

namespace {

class CountingConnectionMgr : public DtConnectionMgr {
public:
  // The registrations of both tables, over every kind.
  int handlers() const {
    int n = 0;
    for (int kind = 0; kind < 255; ++kind) {
      const auto k = static_cast<DtRtiMsgKind>(kind);
      n += callbacks_.numCallbacks(k) + momCallbacks_.numCallbacks(k);
    }
    return n;
  }
};

struct Manager {
  const char* name;
  int handlers;  // what it registers
  std::function<std::shared_ptr<void>(DtConnectionMgr*, DtRIDParameters*)> make;
};

const Manager managers[] = {
    {"ObjectMgr", 14,
     [](DtConnectionMgr* mgr, DtRIDParameters*) -> std::shared_ptr<void> {
       return std::make_shared<DtObjectMgr>(mgr, nullptr, nullptr);
     }},
    {"InteractionMgr", 6,
     [](DtConnectionMgr* mgr, DtRIDParameters*) -> std::shared_ptr<void> {
       return std::make_shared<DtInteractionMgr>(mgr, nullptr, nullptr);
     }},
    {"TimeMgr", 8,
     [](DtConnectionMgr* mgr, DtRIDParameters*) -> std::shared_ptr<void> {
       return std::make_shared<DtTimeMgr>(mgr, nullptr, nullptr);
     }},
    // With its time and save-restore managers.
    {"FedExec", 6 + 6 + 8,
     [](DtConnectionMgr* mgr, DtRIDParameters* rid) -> std::shared_ptr<void> {
       return std::make_shared<DtFedExec>(mgr, DtString("X"), DtString("X.fed"), 1, rid);
     }},
};

class MsgHandlerLifetimeTest : public ::testing::TestWithParam<bool> {
protected:
  void TearDown() override { setChannels(false); }
  static void setChannels(bool on) {
    DtUpdateMsg::setChannelIncluded(on);
    DtInteractionMsg::setChannelIncluded(on);
  }
  RidScope ridScope;
  DtRIDParameters rid;
};

TEST_P(MsgHandlerLifetimeTest, AManagerGoneLeavesNoHandlerBehind) {
  const bool switchInBetween = GetParam();
  for (const Manager& manager : managers) {
    SCOPED_TRACE(manager.name);
    setChannels(false);
    CountingConnectionMgr connections;
    std::shared_ptr<void> made = manager.make(&connections, &rid);
    EXPECT_EQ(connections.handlers(), manager.handlers);
    if (switchInBetween) setChannels(true);
    made.reset();
    EXPECT_EQ(connections.handlers(), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(ChannelSwitch, MsgHandlerLifetimeTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "ChangedInBetween" : "Unchanged"; });

}  // namespace
