// The object manager's per-class object counts, the transport and order
// changes of an object's attributes with the updates that follow them, and
// the creation branches.
#include "ObjectMgrTestSupport.h"
#include "objects/DtTallySink.h"

using namespace objtest;

namespace {

// Keeps the sets it is handed and writes them as "class:count".
class TallyLog : public DtTallySink {
public:
  void adopt(std::unique_ptr<DtMtallySet> set) override { sets_.push_back(std::move(set)); }
  std::vector<std::string> take() {
    std::vector<std::string> out;
    for (const auto& set : sets_) {
      out.push_back(std::to_string(set->handle()) + ":" + std::to_string(set->tally(RTI::RTI_FALSE, DtBestEffort)));
      // Nothing but the one counter is set.
      EXPECT_EQ(set->tally(RTI::RTI_TRUE, DtBestEffort) + set->tally(RTI::RTI_TRUE, DtReliable) +
                    set->tally(RTI::RTI_FALSE, DtReliable),
                0);
    }
    sets_.clear();
    return out;
  }

private:
  std::vector<std::unique_ptr<DtMtallySet>> sets_;
};

}  // namespace

// ---- tallies

TEST(ObjectMgrTallies, CountsArePerActualClassAndReportOnlyHandlesThatNameAClass) {
  // The fixture's class handles are 0, 1, 3, 4, 5, 6: handle 2 names no
  // class and is never reported.
  ObjectMgrDefaultsGuard defaults;
  DtObjectMgr::setDefaultAttributeScopeAdvisory(1);  // discovered objects are in scope
  Federation federation;
  Federate& owner = federation.add(3);
  Federate& watcher = federation.add(21);
  owner.mgr->publish(platform, attrs({1, 2}));
  owner.mgr->publish(aircraft, attrs({1, 3}));
  watcher.mgr->subscribe(platform, attrs({1}), RTI::RTI_TRUE);
  federation.settle();
  owner.mgr->registerObj(platform, "p1");
  const RTI::ObjectHandle p2 = owner.mgr->registerObj(platform, "p2");
  owner.mgr->registerObj(aircraft, "jet");
  // p2 without its privilege to delete: still owned and updated.
  owner.mgr->divestOwnership(p2, attrs({0}), false, nullptr);
  federation.settle();

  TallyLog log;
  owner.mgr->getObjectsOwned(log);
  EXPECT_EQ(log.take(), (std::vector<std::string>{"5:1", "6:1"}));
  owner.mgr->getObjectsUpdated(log);
  EXPECT_EQ(log.take(), (std::vector<std::string>{"5:2", "6:1"}));
  EXPECT_EQ(owner.mgr->numObjectsOwned(), 2u);
  // Owned objects are not in scope; every class is reported, zeros too.
  owner.mgr->getObjectsReflected(log);
  EXPECT_EQ(log.take(), (std::vector<std::string>{"0:0", "1:0", "3:0", "4:0", "5:0", "6:0"}));
  // The watcher knows the jet as a platform; it counts under Aircraft.
  watcher.mgr->getObjectsReflected(log);
  EXPECT_EQ(log.take(), (std::vector<std::string>{"0:0", "1:0", "3:0", "4:0", "5:2", "6:1"}));
  watcher.mgr->getObjectsOwned(log);
  watcher.mgr->getObjectsUpdated(log);
  EXPECT_TRUE(log.take().empty());
}

// ---- transport and order of an object's attributes

TEST(ObjectMgrTransportChanges, ChangesAreCheckedFirstAndARefusedOneChangesNothing) {
  struct Case {
    const char* what;
    const char* rid;
    bool transport;  // else the order
    std::vector<RTI::AttributeHandle> attributes;
    std::uint32_t value;
    bool knownObject;
    std::string outcome;
    DtTransportType position;  // attribute 1 afterwards (transport, or order as a number)
    std::uint32_t start = 0;   // attribute 1 beforehand, set through the same service
    std::string update{};      // what an update of attribute 1 then sends; "" not tried
  };
  // The owner publishes Platform {1}: it owns 0 and 1, not 2. Attribute 1
  // starts best effort, receive order, unless the row sets it first;
  // attribute 9 is not defined. Checks off, a value other than the two is
  // not refused: the attribute takes the default of best effort or receive
  // order, so no update ever carries a third value.
  const std::vector<Case> cases = {
      {"empty set: nothing is checked, not even the value", "", true, {}, 7, true, "ok", DtBestEffort},
      {"object not known", "", true, {1}, 1, false, "throws ObjectNotKnown", DtBestEffort},
      {"invalid transport", "", true, {1}, 2, true, "throws InvalidTransportationHandle", DtBestEffort},
      {"invalid order", "", false, {1}, 2, true, "throws InvalidOrderingHandle", DtBestEffort},
      {"not owned, after an owned one", "", true, {1, 2}, 1, true, "throws AttributeNotOwned", DtBestEffort},
      {"not owned, order", "", false, {2, 1}, 1, true, "throws AttributeNotOwned", DtBestEffort},
      {"not defined", "", true, {1, 9}, 1, true, "throws AttributeNotDefined", DtBestEffort},
      {"owned: changed", "", true, {0, 1}, 1, true, "ok", DtReliable},
      {"owned order: changed", "", false, {1}, 1, true, "ok", DtReliable},
      {"checks off: not owned is changed", "(setq RTI_checkFlag 0)", true, {1, 2}, 1, true, "ok", DtReliable},
      {"checks off: an undefined attribute is still refused",
       "(setq RTI_checkFlag 0)",
       true,
       {1, 9},
       1,
       true,
       "throws AttributeNotDefined",
       DtBestEffort},
      {"checks off: the value is not checked", "(setq RTI_checkFlag 0)", false, {1}, 1, true, "ok", DtReliable},
      {"checks off: an invalid transport makes a reliable attribute best effort",
       "(setq RTI_checkFlag 0)(setq RTI_fomDataReliable 1)",
       true,
       {1},
       2,
       true,
       "ok",
       DtBestEffort,
       1,
       "update 300001 {1=p}"},
      {"checks off: an invalid order makes a time-stamped attribute receive ordered",
       "(setq RTI_checkFlag 0)",
       false,
       {1},
       2,
       true,
       "ok",
       DtBestEffort,
       1},
  };
  for (const Case& c : cases) {
    ObjectMgrDefaultsGuard defaults;
    Federate fed(3, c.rid);
    fed.mgr->publish(platform, attrs({1}));
    const RTI::ObjectHandle o = fed.mgr->registerObj(platform);
    const RTI::ObjectHandle target = c.knownObject ? o : o + 50;
    const auto change = [&](RTI::ObjectHandle object, const RTI::AttributeHandleSet& which, std::uint32_t value) {
      if (c.transport) {
        fed.mgr->setAttributeTransportType(object, which, static_cast<DtTransportType>(value));
      } else {
        fed.mgr->setAttributeOrderType(object, which, static_cast<DtOrderType>(value));
      }
    };
    if (c.start != 0) change(o, attrs({1}), c.start);
    DtAttributeHandleSet set;
    for (RTI::AttributeHandle h : c.attributes) set.add(h);
    fed.conn->takeSent();
    EXPECT_EQ(outcomeOf([&] { change(target, set, c.value); }), c.outcome) << c.what;
    const DtRtiObject& record = *fed.mgr->knownObj(o);
    const auto now = c.transport ? static_cast<std::uint32_t>(record.attrTransport(1))
                                 : static_cast<std::uint32_t>(record.attrOrder(1));
    EXPECT_EQ(now, static_cast<std::uint32_t>(c.position)) << c.what;
    // Attribute 2 is untouched unless the change went through with it.
    const bool twoChanged = c.outcome == "ok" && set.isMember(2);
    EXPECT_EQ(record.attrTransport(2), twoChanged ? DtReliable : DtBestEffort) << c.what;
    EXPECT_TRUE(fed.conn->takeSent().empty()) << c.what << ": a change sends nothing";
    if (!c.update.empty()) {
      fed.mgr->sendUpdate(o, *values({{1, "p"}}), nullptr, nullptr);
      EXPECT_EQ(fed.conn->takeSent(), std::vector<std::string>{c.update}) << c.what;
    }
  }
}

TEST(ObjectMgrTransportChanges, UpdatesAfterAChangeLeaveOnTheTransportAndInTheOrderItNames) {
  const RTIfedTime at(4.0);
  ObjectMgrDefaultsGuard defaults;
  Federate fed(3, "(setq RTI_fomDataReliable 1)(setq RTI_timeMgmt 1)");
  FakeTimeStamping time;
  time.isRegulating = true;
  fed.mgr->setTimeMgr(&time);
  fed.mgr->publish(platform, attrs({1, 2}));
  const RTI::ObjectHandle o = fed.mgr->registerObj(platform);
  fed.conn->takeSent();
  const auto update = [&](const RTI::FedTime* when) {
    fed.mgr->sendUpdate(o, *values({{1, "p"}, {2, "s"}}), when, nullptr);
    return fed.conn->takeSent();
  };
  // As the FED file says: both best effort; Speed time-stamp ordered.
  EXPECT_EQ(update(nullptr), std::vector<std::string>{"update 300001 {1=p,2=s}"});
  fed.mgr->setAttributeTransportType(o, attrs({1}), DtReliable);
  EXPECT_EQ(update(nullptr), (std::vector<std::string>{"update 300001 {1=p} t1", "update 300001 {2=s}"}));
  fed.mgr->setAttributeTransportType(o, attrs({1}), DtBestEffort);
  fed.mgr->setAttributeTransportType(o, attrs({2}), DtReliable);
  EXPECT_EQ(update(nullptr), (std::vector<std::string>{"update 300001 {1=p}", "update 300001 {2=s} t1"}));
  // The order steers a regulating federate's time-stamped updates.
  EXPECT_EQ(update(&at), (std::vector<std::string>{"update-tso 300001 order 0 serial 1 {1=p}",
                                                   "update-tso 300001 order 1 serial 1 {2=s} t1"}));
  fed.mgr->setAttributeOrderType(o, attrs({2}), DtReceiveOrder);
  fed.mgr->setAttributeOrderType(o, attrs({1}), DtTimestampOrder);
  EXPECT_EQ(update(&at), (std::vector<std::string>{"update-tso 300001 order 1 serial 2 {1=p}",
                                                   "update-tso 300001 order 0 serial 2 {2=s} t1"}));
  // Without FOM data reliable, a reliable attribute still leaves best effort.
  Federate plain(4, "(setq RTI_timeMgmt 1)");
  plain.mgr->publish(platform, attrs({1}));
  const RTI::ObjectHandle q = plain.mgr->registerObj(platform);
  plain.mgr->setAttributeTransportType(q, attrs({1}), DtReliable);
  plain.conn->takeSent();
  plain.mgr->sendUpdate(q, *values({{1, "p"}}), nullptr, nullptr);
  EXPECT_EQ(plain.conn->takeSent(), std::vector<std::string>{"update 400001 {1=p}"});
}

// ---- creation

TEST(ObjectMgrCreation, ACreatorWinsThenTheDataDistributionFormWhenItIsOnThenThePlainManager) {
  struct Installed : DtObjectMgr {
    using DtObjectMgr::DtObjectMgr;
  };
  struct DataDist : DtObjectMgr {
    using DtObjectMgr::DtObjectMgr;
  };
  const DtObjectMgr::Creator installed = [](DtConnectionMgr* c, DtFomClassMgr* f, DtRIDParameters* p) -> DtObjectMgr* {
    return new Installed(c, f, p);
  };
  const DtObjectMgr::Creator dataDist = [](DtConnectionMgr* c, DtFomClassMgr* f, DtRIDParameters* p) -> DtObjectMgr* {
    return new DataDist(c, f, p);
  };
  struct Case {
    const char* rid;
    bool withCreator;
    bool withDataDist;
    const std::type_info& made;
  };
  const std::vector<Case> cases = {
      {"", false, false, typeid(DtObjectMgr)},
      {"", false, true, typeid(DtObjectMgr)},
      {"(setq RTI_dataDistMgmt 1)", false, true, typeid(DataDist)},
      {"(setq RTI_dataDistMgmt 1)", false, false, typeid(DtObjectMgr)},
      {"(setq RTI_dataDistMgmt 1)", true, true, typeid(Installed)},
      {"", true, false, typeid(Installed)},
  };
  for (const Case& c : cases) {
    ObjectMgrDefaultsGuard defaults;
    const auto rid = ridWith(c.rid);
    DtObjectMgr::setCreatorFunction(c.withCreator ? installed : nullptr);
    DtObjectMgr::setDataDistCreator(c.withDataDist ? dataDist : nullptr);
    const auto made = DtObjectMgr::create(nullptr, nullptr, rid.get());
    DtObjectMgr::setCreatorFunction(nullptr);
    DtObjectMgr::setDataDistCreator(nullptr);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(typeid(*made), c.made) << c.rid << " creator " << c.withCreator << " data dist " << c.withDataDist;
  }
}
