// A subscription registers its handler for as long as it lives, under the
// kind its message class had when it was made, and removes exactly that.
#include "msg/DtMsgSubscription.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "TestMsgs.h"
#include "msg/DtMsgSubscriptions.h"
#include "msg/DtRtiMsgCbMgr.h"

namespace {

// A registry with a normal and a second table, as the connection manager
// keeps them.
class TwoTables : public DtMsgCallbackRegistry {
public:
  void addMsgCallback(DtRtiMsgKind kind, const DtRtiMsgCallbackInfo& record, char mom) override {
    table(mom).addMsgCallback(kind, new DtRtiMsgCallbackInfo(record));
  }
  void removeMsgCallback(DtRtiMsgKind kind, const DtRtiMsgCallbackInfo& record, char mom) override {
    table(mom).removeMsgCallback(kind, record);
  }
  DtRtiMsgCbMgr& table(char mom) { return mom ? second : normal; }
  // Every registration of both tables.
  int count() const {
    int n = 0;
    for (int kind = 0; kind < 255; ++kind) {
      n += normal.numCallbacks(static_cast<DtRtiMsgKind>(kind)) + second.numCallbacks(static_cast<DtRtiMsgKind>(kind));
    }
    return n;
  }
  DtRtiMsgCbMgr normal;
  DtRtiMsgCbMgr second;
};

// Writes down every message it is given, with its own name.
class Listener {
public:
  explicit Listener(std::string name) : name_(std::move(name)) {}
  void onTest(const TestMsg& msg) { heard.push_back(name_ + " " + std::to_string(msg.number())); }
  void onAny(const DtRtiMsg& msg) { heard.push_back(name_ + " any " + std::to_string(msg.msgKind())); }
  static void onTestWith(const TestMsg& msg, void* self) { static_cast<Listener*>(self)->onTest(msg); }

  std::vector<std::string> heard;

private:
  std::string name_;
};

TestMsg numbered(std::uint32_t number) {
  TestMsg msg;
  msg.setNumber(number);
  return msg;
}

class DtMsgSubscriptionTest : public ::testing::Test {
protected:
  void TearDown() override { TestMsg::withChannel = false; }
  TwoTables registry;
  Listener listener{"L"};
};

TEST_F(DtMsgSubscriptionTest, AHandlerIsCalledWhileItsSubscriptionLivesAndNotAfter) {
  {
    DtMsgSubscription<TestMsg> byFunction(&registry, &Listener::onTestWith, &listener);
    DtMsgSubscription<TestMsg> byMember(&registry, DtMsgMemberHandler<&Listener::onTest>{}, &listener);
    DtMsgSubscription<TestMsg> byBase(&registry, DtMsgMemberHandler<&Listener::onAny>{}, &listener);
    EXPECT_TRUE(byFunction.active());
    EXPECT_EQ(byFunction.kind(), DtUpdateRoMsgKind);
    registry.normal.processMsg(numbered(1));
    EXPECT_EQ(listener.heard, (std::vector<std::string>{"L any 1", "L 1", "L 1"}));  // the newest first
  }
  EXPECT_EQ(registry.count(), 0);
  registry.normal.processMsg(numbered(2));
  EXPECT_EQ(listener.heard.size(), 3u);
}

TEST_F(DtMsgSubscriptionTest, TheSecondTableIsChosenAndLeftAsTheNormalOne) {
  DtMsgSubscription<TestMsg> second(&registry, &Listener::onTestWith, &listener, 1);
  registry.normal.processMsg(numbered(1));
  EXPECT_TRUE(listener.heard.empty());
  registry.second.processMsg(numbered(2));
  EXPECT_EQ(listener.heard, (std::vector<std::string>{"L 2"}));
  second.reset();
  EXPECT_FALSE(second.active());
  EXPECT_EQ(registry.count(), 0);
}

TEST_F(DtMsgSubscriptionTest, TheKindRemovedIsTheOneRegisteredThoughTheClassHasChangedItSince) {
  {
    DtMsgSubscription<TestMsg> plain(&registry, &Listener::onTestWith, &listener);
    TestMsg::withChannel = true;
    DtMsgSubscription<TestMsg> withChannel(&registry, &Listener::onTestWith, &listener);
    EXPECT_EQ(plain.kind(), DtUpdateRoMsgKind);
    EXPECT_EQ(withChannel.kind(), DtDdmUpdateRoMsgKind);
    TestMsg::withChannel = false;
    EXPECT_EQ(registry.normal.numCallbacks(DtUpdateRoMsgKind), 1);
    EXPECT_EQ(registry.normal.numCallbacks(DtDdmUpdateRoMsgKind), 1);
  }
  EXPECT_EQ(registry.count(), 0);
}

TEST_F(DtMsgSubscriptionTest, AMovedSubscriptionIsRemovedOnceByItsLastHolder) {
  DtMsgSubscription<TestMsg> first(&registry, &Listener::onTestWith, &listener);
  DtMsgSubscription<TestMsg> taken(std::move(first));
  EXPECT_FALSE(first.active());  // NOLINT(bugprone-use-after-move): a moved-from one holds nothing
  first.reset();
  EXPECT_EQ(registry.count(), 1);

  Listener other("M");
  DtMsgSubscription<TestMsg> replaced(&registry, &Listener::onTestWith, &other);
  replaced = std::move(taken);  // the handler it held goes, the one it takes stays
  registry.normal.processMsg(numbered(3));
  EXPECT_EQ(listener.heard, (std::vector<std::string>{"L 3"}));
  EXPECT_TRUE(other.heard.empty());
  replaced.reset();
  EXPECT_EQ(registry.count(), 0);
}

TEST_F(DtMsgSubscriptionTest, WithoutARegistryNothingIsRegistered) {
  DtMsgSubscription<TestMsg> none(nullptr, &Listener::onTestWith, &listener);
  EXPECT_FALSE(none.active());
  DtMsgSubscriptions list;
  list.add<TestMsg, &Listener::onTest>(nullptr, &listener);
  EXPECT_EQ(registry.count(), 0);
}

TEST_F(DtMsgSubscriptionTest, AListRemovesEveryHandlerWhenClearedOrDestroyed) {
  Listener other("M");
  {
    DtMsgSubscriptions list;
    list.add<TestMsg, &Listener::onTest>(&registry, &listener);
    list.add<TestMsg>(&registry, &Listener::onTestWith, &other, 1);
    EXPECT_EQ(list.size(), 2u);
    EXPECT_EQ(registry.count(), 2);
    list.clear();
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(registry.count(), 0);

    list.add<TestMsg, &Listener::onTest>(&registry, &listener);
    DtMsgSubscriptions moved(std::move(list));
    EXPECT_EQ(registry.count(), 1);
    registry.normal.processMsg(numbered(4));
  }
  EXPECT_EQ(registry.count(), 0);
  EXPECT_EQ(listener.heard, (std::vector<std::string>{"L 4"}));
}

}  // namespace
