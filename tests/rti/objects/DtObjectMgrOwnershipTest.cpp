// Attribute ownership in one federate's object manager: the order in which
// each service checks its arguments (nothing changes on a refusal), what
// each ownership message kind does at its receiver, and the faults of the
// request bookkeeping; then federates on one bus racing for one attribute
// under many orders of delivery.
#include <deque>
#include <map>
#include <random>

#include "ObjectMgrTestSupport.h"
#include "rti/util/NotifyCapture.h"

using namespace objtest;

namespace {

constexpr std::uint32_t self = 3, other = 21, third = 22;
constexpr RTI::ObjectHandle theirs = 2100001, theirJet = 2100002, unknown = 999;

using Lines = std::vector<std::string>;

// Every ownership set and request of a record, in one line.
std::string state(const DtRtiObject& o) {
  return "owned " + text(o.ownedAttrs()) + " lrc " + text(o.lrcManagedAttrs()) + " rti " + text(o.rtiOwnedAttrs()) +
         " uncond " + text(o.uncondRequestedAttrs()) + " ifavail " + text(o.ifAvailRequestedAttrs()) + " divesting " +
         text(o.divestingAttrs()) + " asked " + text(o.requests().requestedAttrs()) + " cancelled " +
         text(o.requests().canceledRequestSet()) + " owner " + std::to_string(o.ownerHandle());
}

// Federate 3 publishes Platform {1} and subscribes Platform {1, 2} and
// Aircraft {3}. It registered "mine" (owns 0 and 1, holds 2); federate 21
// registered "theirs" (a Platform) and "jet" (an Aircraft, a class this
// federate does not publish).
struct World {
  World() {
    mgr().publish(platform, attrs({1}));
    mgr().subscribe(platform, attrs({1, 2}), RTI::RTI_TRUE);
    mgr().subscribe(aircraft, attrs({3}), RTI::RTI_TRUE);
    mine = mgr().registerObj(platform, "mine");
    registeredElsewhere(theirs, "theirs", platform);
    registeredElsewhere(theirJet, "jet", aircraft);
    happened();
  }
  DtObjectMgr& mgr() { return *fed.mgr; }
  void registeredElsewhere(RTI::ObjectHandle o, const char* name, RTI::ObjectClassHandle c) {
    DtRegObjMsg msg(o, name, c, attrs({0, 1, 2, 3}), nullptr);
    receiveFrom(*fed.conn, msg, other);
  }
  void receive(int kind, RTI::ObjectHandle o, const DtAttributeHandleSet& a, std::uint32_t from = other,
               std::uint32_t to = 0, const char* tag = nullptr) {
    DtOwnershipMsg msg(static_cast<DtOwnerMsgKind>(kind), o, a, to, tag);
    receiveFrom(*fed.conn, msg, from);
  }
  std::string stateOf(RTI::ObjectHandle o) { return state(*mgr().allObj(o)); }
  Lines states() { return {stateOf(mine), stateOf(theirs), stateOf(theirJet)}; }
  // What happened since the last look: messages sent, then callbacks.
  Lines happened() {
    Lines all = fed.conn->takeSent();
    for (const std::string& call : fed.amb.take()) all.push_back(call);
    return all;
  }

  ObjectMgrDefaultsGuard defaults;
  Federate fed{self, ""};
  RTI::ObjectHandle mine = 0;
};

}  // namespace

// ---- the services' checks

TEST(Ownership, EachServiceChecksInItsOrderAndChangesNothingWhenItRefuses) {
  using Call = std::function<void(World&)>;
  struct Case {
    const char* what;
    Call before;  // may be empty
    Call call;
    std::string outcome;
  };
  const Call none;
  // clang-format off
  const std::vector<Case> cases = {
      {"acquire: object not known", none, [](World& w) { w.mgr().acquireAttrs(unknown, attrs({1}), false, "t"); },
       "throws ObjectNotKnown"},
      {"acquire: owned comes before undefined", none,
       [](World& w) { w.mgr().acquireAttrs(w.mine, attrs({1, 9}), false, "t"); }, "throws FederateOwnsAttributes"},
      {"acquire: not defined", none, [](World& w) { w.mgr().acquireAttrs(theirs, attrs({9}), false, "t"); },
       "throws AttributeNotDefined"},
      {"acquire: class not published", none,
       [](World& w) { w.mgr().acquireAttrs(theirJet, attrs({3}), false, "t"); }, "throws ObjectClassNotPublished"},
      {"acquire: attribute not published, after a good one", none,
       [](World& w) { w.mgr().acquireAttrs(theirs, attrs({1, 2}), false, "t"); }, "throws AttributeNotPublished"},
      {"if available while an unconditional request is pending",
       [](World& w) { w.mgr().acquireAttrs(theirs, attrs({1}), false, "t"); },
       [](World& w) { w.mgr().acquireAttrs(theirs, attrs({1}), true, nullptr); },
       "throws AttributeAlreadyBeingAcquired"},
      {"unconditional while an if-available request is pending: accepted",
       [](World& w) { w.mgr().acquireAttrs(theirs, attrs({1}), true, nullptr); },
       [](World& w) { w.mgr().acquireAttrs(theirs, attrs({1}), false, "t"); }, "ok"},
      {"cancel acquisition: object not known", none, [](World& w) { w.mgr().cancelAcquire(unknown, attrs({1})); },
       "throws ObjectNotKnown"},
      {"cancel acquisition: owned", none, [](World& w) { w.mgr().cancelAcquire(w.mine, attrs({1})); },
       "throws AttributeAlreadyOwned"},
      {"cancel acquisition: not defined", none, [](World& w) { w.mgr().cancelAcquire(theirs, attrs({9})); },
       "throws AttributeNotDefined"},
      {"cancel acquisition: not requested", none, [](World& w) { w.mgr().cancelAcquire(theirs, attrs({1})); },
       "throws AttributeAcquisitionWasNotRequested"},
      {"cancel acquisition: only an if-available request",
       [](World& w) { w.mgr().acquireAttrs(theirs, attrs({1}), true, nullptr); },
       [](World& w) { w.mgr().cancelAcquire(theirs, attrs({1})); }, "throws AttributeAcquisitionWasNotRequested"},
      {"divest: object not known", none, [](World& w) { w.mgr().divestOwnership(unknown, attrs({1}), true, "t"); },
       "throws ObjectNotKnown"},
      {"divest: not owned, after an owned one", none,
       [](World& w) { w.mgr().divestOwnership(w.mine, attrs({1, 2}), false, nullptr); }, "throws AttributeNotOwned"},
      {"divest: offered already", [](World& w) { w.mgr().divestOwnership(w.mine, attrs({1}), true, "t"); },
       [](World& w) { w.mgr().divestOwnership(w.mine, attrs({0, 1}), true, "t"); },
       "throws AttributeAlreadyBeingDivested"},
      {"cancel divestiture: object not known", none, [](World& w) { w.mgr().cancelDivest(unknown, attrs({1})); },
       "throws ObjectNotKnown"},
      {"cancel divestiture: not owned", none, [](World& w) { w.mgr().cancelDivest(w.mine, attrs({2})); },
       "throws AttributeNotOwned"},
      {"cancel divestiture: not offered", none, [](World& w) { w.mgr().cancelDivest(w.mine, attrs({1})); },
       "throws AttributeDivestitureWasNotRequested"},
      {"release: object not known", none, [](World& w) { delete w.mgr().releaseResponse(unknown, attrs({1})); },
       "throws ObjectNotKnown"},
      {"release: not owned", none, [](World& w) { delete w.mgr().releaseResponse(w.mine, attrs({2})); },
       "throws AttributeNotOwned"},
      {"release: nobody asked, after one that was asked for",
       [](World& w) { w.receive(DtAcquire, w.mine, attrs({0}), other, 0, "t"); },
       [](World& w) { delete w.mgr().releaseResponse(w.mine, attrs({0, 1})); },
       "throws FederateWasNotAskedToReleaseAttribute"},
      {"query: object not known", none, [](World& w) { w.mgr().queryOwnership(unknown, 1); },
       "throws ObjectNotKnown"},
      {"query: not defined", none, [](World& w) { w.mgr().queryOwnership(theirs, 9); }, "throws AttributeNotDefined"},
  };
  // clang-format on
  for (const Case& c : cases) {
    World w;
    if (c.before) c.before(w);
    w.happened();
    const Lines before = w.states();
    EXPECT_EQ(outcomeOf([&] { c.call(w); }), c.outcome) << c.what;
    if (c.outcome == "ok") continue;
    EXPECT_EQ(w.states(), before) << c.what;
    EXPECT_EQ(w.happened(), Lines{}) << c.what;
  }
}

// ---- the services' effects in one federate

TEST(Ownership, ServicesAnswerLocallyWhatTheyCanAndAskTheFederationTheRest) {
  World w;
  const std::string m = std::to_string(w.mine), t = std::to_string(theirs);
  // The query of an owned, a held and someone else's attribute.
  w.mgr().queryOwnership(w.mine, 1);
  w.mgr().queryOwnership(w.mine, 2);
  w.mgr().queryOwnership(theirs, 2);
  EXPECT_EQ(w.happened(), (Lines{"ownership 5 " + t + " {2} to 0", "owner " + m + " 1 3", "not owned " + m + " 2"}));
  // Acquiring a held attribute completes during the call, with no
  // ownership message.
  w.mgr().publish(platform, attrs({1, 2}));
  w.happened();
  w.mgr().acquireAttrs(w.mine, attrs({2}), false, "t");
  EXPECT_EQ(w.happened(), (Lines{"acquired " + m + " 2"}));
  EXPECT_EQ(w.stateOf(w.mine), "owned 0,1,2 lrc - rti - uncond - ifavail - divesting - asked - cancelled - owner 3");
  EXPECT_EQ(w.mgr().lrcManagedObj(w.mine), nullptr);
  // Someone else's goes to the federation, with the tag.
  w.mgr().acquireAttrs(theirs, attrs({1, 2}), false, "please");
  EXPECT_EQ(w.happened(), Lines{"ownership 0 " + t + " {1,2} to 0"});
  EXPECT_EQ(w.stateOf(theirs), "owned - lrc - rti - uncond 1,2 ifavail - divesting - asked - cancelled - owner 21");
  w.mgr().cancelAcquire(theirs, attrs({2}));
  EXPECT_EQ(w.happened(), Lines{"ownership 2 " + t + " {2} to 0"});
  // The request stays until the owner confirms.
  EXPECT_EQ(w.stateOf(theirs), "owned - lrc - rti - uncond 1,2 ifavail - divesting - asked - cancelled - owner 21");
}

TEST(Ownership, UnconditionalDivestitureLeavesTheObjectOnTheLrcListSoALocalDeletionKeepsIt) {
  World w;
  const std::string m = std::to_string(w.mine);
  w.mgr().divestOwnership(w.mine, attrs({0, 1}), false, nullptr);
  EXPECT_EQ(w.happened(), Lines{"ownership 6 " + m + " {0,1} to 0"});
  EXPECT_EQ(w.mgr().ownedObj(w.mine), nullptr);
  EXPECT_NE(w.mgr().lrcManagedObj(w.mine), nullptr);
  w.mgr().localDeleteObj(w.mine);
  w.happened();
  ASSERT_NE(w.mgr().allObj(w.mine), nullptr) << "the held attributes stay in the federation";
  // Another federate's acquisition is still answered from them.
  w.receive(DtAcquire, w.mine, attrs({1}), other, 0, "t");
  EXPECT_EQ(w.happened(), Lines{"ownership 9 " + m + " {1} to 21"});
  EXPECT_EQ(w.stateOf(w.mine), "owned - lrc 0,2 rti - uncond - ifavail - divesting - asked - cancelled - owner 3");
}

TEST(Ownership, TheOwnerRecordsARequestForWhatItKeepsOnlySoALaterDivestitureGivesNothingElse) {
  World w;
  const std::string m = std::to_string(w.mine);
  // 21 asks for {1, 2}: 2 is held here and goes at once, 1 is owned.
  w.receive(DtAcquire, w.mine, attrs({1, 2}), other, 0, "mine?");
  EXPECT_EQ(w.happened(), (Lines{"ownership 9 " + m + " {2} to 21", "release? " + m + " 1 mine?"}));
  EXPECT_EQ(w.stateOf(w.mine), "owned 0,1 lrc - rti - uncond - ifavail - divesting - asked 1 cancelled - owner 3");
  // Taken back later and divested: 21 is not offered 2 a second time.
  w.mgr().divestOwnership(w.mine, attrs({1}), true, "t");
  EXPECT_EQ(w.happened(), (Lines{"ownership 9 " + m + " {1} to 21", "divested " + m + " 1"}));
  // A cancelled request lets the owner answer without an error, and gives
  // nothing.
  w.receive(DtAcquire, w.mine, attrs({0}), third, 0, "t");
  w.receive(DtCancelAcquire, w.mine, attrs({0}), third);
  w.happened();
  std::unique_ptr<RTI::AttributeHandleSet> released(w.mgr().releaseResponse(w.mine, attrs({0})));
  EXPECT_EQ(text(*released), "-");
  EXPECT_EQ(w.happened(), Lines{});
}

// ---- receiving each kind

TEST(Ownership, EachMessageKindDoesWhatItSaysAtItsReceiver) {
  struct Case {
    const char* what;
    std::function<void(World&)> before;
    int kind;
    bool toMine;  // else about theirs
    std::vector<RTI::AttributeHandle> attributes;
    std::uint32_t to;
    Lines happened;  // {m} and {t} stand for the objects
    std::string error;
  };
  const auto none = [](World&) {};
  const auto askTheirs = [](World& w) { w.mgr().acquireAttrs(theirs, attrs({1}), false, "t"); };
  const auto askIfAvail = [](World& w) { w.mgr().acquireAttrs(theirs, attrs({1}), true, nullptr); };
  const auto offer = [](World& w) { w.mgr().divestOwnership(w.mine, attrs({1}), true, "t"); };
  // clang-format off
  const std::vector<Case> cases = {
      {"acquire of an owned attribute: release asked", none, DtAcquire, true, {1}, 0, {"release? {m} 1 tag"}, ""},
      {"acquire if available of an owned one: unavailable answered", none, DtAcquireIfAvail, true, {1}, 0,
       {"ownership 10 {m} {1} to 21"}, ""},
      {"acquire of an offered one: given", offer, DtAcquire, true, {1}, 0,
       {"ownership 9 {m} {1} to 21", "divested {m} 1"}, ""},
      {"acquire of a held one: given", none, DtAcquireIfAvail, true, {2}, 0, {"ownership 9 {m} {2} to 21"}, ""},
      {"acquire of an object not known: nothing", none, DtAcquire, false, {1}, 0, {}, ""},
      {"cancel of a recorded request: confirmed",
       [](World& w) { w.receive(DtAcquire, w.mine, attrs({1}), other, 0, "t"); }, DtCancelAcquire, true, {1, 2}, 0,
       {"ownership 11 {m} {1} to 21"}, ""},
      {"cancel of nothing recorded: nothing", none, DtCancelAcquire, true, {1}, 0, {}, ""},
      {"cancel negotiated divestiture: ignored", none, DtCancelNegotiatedDivest, true, {1}, 0, {}, ""},
      {"offer of published attributes: assumption asked", none, DtNegotiatedDivest, false, {1, 2}, 0,
       {"assume {t} 1 tag"}, ""},
      {"unconditional divestiture: assumption asked without a tag", none, DtUncondDivest, false, {1}, 0,
       {"assume {t} 1 "}, ""},
      {"query of an owned attribute: answered", none, DtQueryOwner, true, {1}, 0, {"ownership 12 {m} {1} to 21"},
       ""},
      {"query of a held attribute: not owned", none, DtQueryOwner, true, {2}, 0, {"ownership 7 {m} {2} to 21"}, ""},
      {"query of someone else's: no answer", none, DtQueryOwner, false, {1}, 0, {}, ""},
      {"not owned, to me", none, DtNotOwned, false, {2}, self, {"not owned {t} 2"}, ""},
      {"not owned, to another", none, DtNotOwned, false, {2}, third, {}, ""},
      {"owned by the RTI, to me", none, DtOwnedByRti, false, {2}, self, {"rti owned {t} 2"}, ""},
      {"inform owner, to me", none, DtInformOwner, false, {2}, self, {"owner {t} 2 21"}, ""},
      {"unavailable, to me: the if-available request ends", askIfAvail, DtOwnershipUnavail, false, {1}, self,
       {"unavailable {t} 1"}, ""},
      {"notify acquire of what was asked", askTheirs, DtNotifyAcquire, false, {1}, self, {"acquired {t} 1"}, ""},
      {"notify acquire of the privilege: every federate records the owner",
       [](World& w) {
         w.mgr().publish(platform, attrs({0, 1}));
         w.mgr().acquireAttrs(theirs, attrs({0}), false, "t");
       },
       DtNotifyAcquire, false, {0}, self, {"ownership 14 {t} {0} to 3", "acquired {t} 0"}, ""},
      {"notify acquire of something unrequested: held and offered, the rest taken", askTheirs, DtNotifyAcquire, false,
       {1, 2}, self, {"ownership 6 {t} {2} to 0", "acquired {t} 1"},
       "Orvek RTI: Received notifyAcquire with unrequested attrs.\n"},
      {"notify acquire, to another", askTheirs, DtNotifyAcquire, false, {1}, third, {}, ""},
      {"confirm cancel, to me", askTheirs, DtConfirmCancelAcquire, false, {1}, self, {"cancelled {t} 1"}, ""},
      {"reset owner", none, DtResetOwner, false, {0}, third, {}, ""},
      {"an unknown kind", none, 16, true, {1}, self, {}, "Received DtOwnershipMsg of unknown kind: 16\n"},
  };
  // clang-format on
  for (const Case& c : cases) {
    World w;
    c.before(w);
    w.happened();
    const NotifyCapture notices(1);
    const RTI::ObjectHandle about = c.toMine ? w.mine : theirs;
    DtAttributeHandleSet set;
    for (RTI::AttributeHandle h : c.attributes) set.add(h);
    w.receive(c.kind, about, set, other, c.to, "tag");
    Lines expected;
    for (std::string line : c.happened) {
      for (const auto& [name, handle] : {std::pair{"{m}", w.mine}, std::pair{"{t}", theirs}}) {
        for (std::size_t at; (at = line.find(name)) != std::string::npos;) line.replace(at, 3, std::to_string(handle));
      }
      expected.push_back(line);
    }
    EXPECT_EQ(w.happened(), expected) << c.what;
    EXPECT_EQ(notices.text(), c.error) << c.what;
    const DtRtiObject& record = *w.mgr().allObj(theirs);
    if (c.kind == DtResetOwner) {
      EXPECT_EQ(record.ownerHandle(), third);
    }
    if (c.kind == DtOwnershipUnavail) {
      EXPECT_TRUE(record.ifAvailRequestedAttrs().isEmpty());
    }
    if (!c.error.empty() && c.kind == DtNotifyAcquire) {
      EXPECT_TRUE(record.owned(1));
      EXPECT_TRUE(record.lrcManaged(2)) << "nobody else has it: not thrown away";
    }
  }
}

TEST(Ownership, FreeAttributesHandedToThisComponentAreHeldAndOfferedToEveryPublisher) {
  World w;
  const NotifyCapture notices(3);
  const auto handOver = [&](RTI::ObjectHandle o, const DtAttributeHandleSet& a, const char* name,
                            RTI::ObjectClassHandle c, std::uint32_t to = self) {
    DtOwnershipMsg msg(DtGiveToLRC, o, a, to, name);
    msg.setClassHandle(c);
    receiveFrom(*w.fed.conn, msg, other);
  };
  handOver(2200001, attrs({0, 1}), "nameless", 2);
  EXPECT_EQ(w.happened(), Lines{}) << "a hand-over naming no class is dropped";
  EXPECT_EQ(w.mgr().allObj(2200001), nullptr);
  handOver(2200001, attrs({0, 1}), "elsewhere", platform, third);
  EXPECT_EQ(w.happened(), Lines{}) << "addressed to another federate";

  // An object this federate never heard of is held, not known.
  handOver(2200001, attrs({0, 1}), "gone", platform);
  EXPECT_NE(notices.text().find("Giving attrs of gone to local lrc\n"), std::string::npos);
  const DtRtiObject* created = w.mgr().allObj(2200001);
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(w.mgr().knownObj(2200001), nullptr);
  EXPECT_STREQ(created->objName(), "gone");
  EXPECT_EQ(text(created->lrcManagedAttrs()), "0,1");
  EXPECT_NE(w.mgr().lrcManagedObj(2200001), nullptr);
  // With the privilege, this federate is the object's owner for everyone.
  EXPECT_EQ(w.happened(), (Lines{"ownership 14 2200001 {0} to 3", "ownership 6 2200001 {0,1} to 0"}));
  // Deleted by whoever takes the privilege, it goes here too, unseen.
  DtDeleteRoMsg deletion(2200001, "gone", nullptr);
  receiveFrom(*w.fed.conn, deletion, other);
  EXPECT_EQ(w.mgr().allObj(2200001), nullptr);
  EXPECT_EQ(w.mgr().lrcManagedObj(2200001), nullptr);
  EXPECT_EQ(w.happened(), Lines{});

  // A known one keeps its record.
  handOver(theirs, attrs({1, 2}), "theirs", platform);
  EXPECT_EQ(w.happened(), Lines{"ownership 6 " + std::to_string(theirs) + " {1,2} to 0"});
  EXPECT_EQ(text(w.mgr().allObj(theirs)->lrcManagedAttrs()), "1,2");
  // The offer goes out without a sender, so this federate, which
  // publishes attribute 1, is asked to assume it too.
  w.receive(DtUncondDivest, theirs, attrs({1, 2}), 0);
  EXPECT_EQ(w.happened(), Lines{"assume " + std::to_string(theirs) + " 1 "});

  // What this federate owns stays owned; an attribute handed over while
  // asked for, and then given, is owned and no longer held.
  handOver(w.mine, attrs({1, 2}), "mine", platform);
  EXPECT_EQ(w.stateOf(w.mine), "owned 0,1 lrc 2 rti - uncond - ifavail - divesting - asked - cancelled - owner 3");
  w.mgr().publish(aircraft, attrs({3}));
  w.mgr().acquireAttrs(theirJet, attrs({3}), false, "t");
  handOver(theirJet, attrs({3}), "jet", aircraft);
  w.receive(DtNotifyAcquire, theirJet, attrs({3}), other, self);
  EXPECT_EQ(w.stateOf(theirJet), "owned 3 lrc - rti - uncond - ifavail - divesting - asked - cancelled - owner 21");
  EXPECT_EQ(w.mgr().lrcManagedObj(theirJet), nullptr);
  EXPECT_NE(w.mgr().ownedObj(theirJet), nullptr);
}

TEST(Ownership, ACancellationsConfirmationEndsOnlyTheRequestsItWithdrew) {
  World w;
  const std::string t = std::to_string(theirs);
  const auto confirm = [&](std::initializer_list<RTI::AttributeHandle> a, const char* tag) {
    w.receive(DtConfirmCancelAcquire, theirs, attrs(a), other, self, tag);
  };
  // Asked for, withdrawn, asked for again before the owner confirmed.
  w.mgr().acquireAttrs(theirs, attrs({1}), false, "t");
  w.mgr().cancelAcquire(theirs, attrs({1}));
  w.mgr().acquireAttrs(theirs, attrs({1}), false, "again");
  w.happened();
  confirm({1}, "1");
  EXPECT_EQ(w.happened(), Lines{}) << "the request asked for again stays";
  EXPECT_TRUE(w.mgr().allObj(theirs)->pendingUncondRequest(1));
  // So the owner's release is taken.
  w.receive(DtNotifyAcquire, theirs, attrs({1}), other, self);
  EXPECT_EQ(w.happened(), Lines{"acquired " + t + " 1"});

  // Withdrawn twice, asked for in between: the second confirmation ends it.
  w.mgr().publish(platform, attrs({1, 2}));
  w.mgr().acquireAttrs(theirs, attrs({2}), false, "t");  // serial 3
  w.mgr().cancelAcquire(theirs, attrs({2}));
  w.mgr().acquireAttrs(theirs, attrs({2}), false, "t");  // serial 4
  w.mgr().cancelAcquire(theirs, attrs({2}));
  w.happened();
  confirm({2}, "3");
  EXPECT_EQ(w.happened(), Lines{});
  confirm({2}, "4");
  EXPECT_EQ(w.happened(), Lines{"cancelled " + t + " 2"});
  EXPECT_FALSE(w.mgr().allObj(theirs)->pendingUncondRequest(2));
  // A confirmation that names no request (a peer that names none) ends
  // them all, as it always did.
  w.mgr().acquireAttrs(theirs, attrs({2}), false, "t");
  w.happened();
  confirm({2}, nullptr);
  EXPECT_EQ(w.happened(), Lines{"cancelled " + t + " 2"});
}

TEST(Ownership, TheOwnerConfirmsACancellationWithTheRequestItNames) {
  World w;
  w.receive(DtAcquire, w.mine, attrs({1}), other, 0, "t");
  w.happened();
  DtOwnershipMsg cancel(DtCancelAcquire, w.mine, attrs({1}), 0, "17");
  receiveFrom(*w.fed.conn, cancel, other);
  ASSERT_EQ(w.fed.conn->sent.size(), 1u);
  EXPECT_EQ(w.fed.conn->sent[0], "ownership 11 " + std::to_string(w.mine) + " {1} to 21");
  EXPECT_EQ(w.fed.conn->lastTag, "17");
}

TEST(Ownership, WithTheRtiexecAFederateSaysItTookOverWhatItWasGivenAndGivesWithTheObjectsClassAndName) {
  ObjectMgrDefaultsGuard defaults;
  Federate fed(self, "(setq RTI_useRtiExec 1)");
  fed.mgr->publish(platform, attrs({1, 2}));
  fed.mgr->subscribe(platform, attrs({1, 2}), RTI::RTI_TRUE);
  DtRegObjMsg reg(theirs, "theirs", platform, attrs({0, 1, 2}), nullptr);
  receiveFrom(*fed.conn, reg, other);
  fed.mgr->acquireAttrs(theirs, attrs({1}), false, "t");
  fed.conn->takeSent();
  DtOwnershipMsg given(DtNotifyAcquire, theirs, attrs({1}), self, nullptr);
  receiveFrom(*fed.conn, given, other);
  DtOwnershipMsg handed(DtGiveToLRC, theirs, attrs({2}), self, "theirs");
  handed.setClassHandle(platform);
  receiveFrom(*fed.conn, handed, other);
  DtOwnershipMsg notMine(DtNotifyAcquire, theirs, attrs({2}), third, nullptr);
  receiveFrom(*fed.conn, notMine, other);
  const std::string t = std::to_string(theirs);
  EXPECT_EQ(fed.conn->takeSent(), (Lines{"ownership 15 " + t + " {1} to 0", "ownership 15 " + t + " {2} to 0",
                                         "ownership 6 " + t + " {2} to 0"}));
  // What it gives carries the object's class and name.
  DtOwnershipMsg asked(DtAcquire, theirs, attrs({1}), 0, "t");
  receiveFrom(*fed.conn, asked, third);
  delete fed.mgr->releaseResponse(theirs, attrs({1}));
  EXPECT_EQ(fed.conn->takeSent(), Lines{"ownership 9 " + t + " {1} to 22"});
  EXPECT_EQ(fed.conn->lastTag, "theirs");
  EXPECT_EQ(fed.conn->lastClass, platform);
}

// ---- racing federates

namespace {

// Federates whose messages reach every member, the sender too, in an order
// drawn at random: each member gets each sender's messages in the order
// sent, as from one socket, but the senders' streams interleave
// differently at every member.
class ShuffledBus {
public:
  explicit ShuffledBus(unsigned seed) : random_(seed) {}

  class Member : public mgrtest::RecordingConnectionMgr {
  public:
    Member(std::uint32_t handle, ShuffledBus& bus) : RecordingConnectionMgr(handle), bus_(bus) {}

  protected:
    std::string line(const DtRtiMsg& msg, DtTransportType, unsigned long) const override { return describe(msg); }
    void posted(const DtRtiMsg& msg) override { bus_.post(msg); }

  private:
    ShuffledBus& bus_;
  };

  struct Fed {
    Fed(std::uint32_t handle, ShuffledBus& bus)
        : fom(fomFromText(fixtureFed)), conn(std::make_unique<Member>(handle, bus)) {
      conn->ambassador = &amb;
      mgr = DtObjectMgr::create(conn.get(), fom.get(), nullptr);
    }
    ~Fed() { mgr.reset(); }
    std::unique_ptr<DtFomClassMgr> fom;
    std::unique_ptr<Member> conn;
    RecordingFedAmb amb;
    std::unique_ptr<DtObjectMgr> mgr;
  };

  Fed& add(std::uint32_t handle) {
    feds_.push_back(std::make_unique<Fed>(handle, *this));
    inboxes_.emplace_back();
    return *feds_.back();
  }
  // Delivers, one message at a time in a drawn order, until nothing is
  // left, ticking the receiver after each.
  void settle() {
    for (int step = 0; step < 10000; ++step) {
      std::vector<std::pair<std::size_t, std::uint32_t>> ready;
      for (std::size_t m = 0; m < inboxes_.size(); ++m) {
        for (auto& [sender, queue] : inboxes_[m]) {
          if (!queue.empty()) ready.emplace_back(m, sender);
        }
      }
      if (ready.empty()) return;
      const auto [member, sender] = ready[std::uniform_int_distribution<std::size_t>(0, ready.size() - 1)(random_)];
      std::deque<std::unique_ptr<DtRtiMsg>>& queue = inboxes_[member][sender];
      const std::unique_ptr<DtRtiMsg> msg = std::move(queue.front());
      queue.pop_front();
      feds_[member]->conn->processMsg(*msg);
      feds_[member]->mgr->tick();
    }
    ADD_FAILURE() << "the federation did not settle";
  }

private:
  void post(const DtRtiMsg& msg) {
    for (auto& inbox : inboxes_) inbox[msg.federateHandle()].emplace_back(msg.clone(1));
  }

  std::mt19937 random_;
  std::vector<std::unique_ptr<Fed>> feds_;
  std::vector<std::map<std::uint32_t, std::deque<std::unique_ptr<DtRtiMsg>>>> inboxes_;
};

}  // namespace

TEST(OwnershipRace, TwoFederatesAskingForOneAttributeEndWithExactlyOneOwnerWhateverTheOrder) {
  // How the attribute stands when both ask: given up (held by the owner's
  // component), offered, kept (the owner releases it when asked), or given
  // up with the former owner asking for it back itself.
  enum Start { Held, Offered, Kept, HeldAndReclaimed };
  for (unsigned seed = 0; seed < 100; ++seed) {
    const auto start = static_cast<Start>(seed % 4);
    ObjectMgrDefaultsGuard defaults;
    ShuffledBus bus(seed);
    ShuffledBus::Fed& owner = bus.add(3);
    ShuffledBus::Fed& first = bus.add(21);
    ShuffledBus::Fed& second = bus.add(22);
    for (ShuffledBus::Fed* fed : {&owner, &first, &second}) {
      fed->mgr->publish(platform, attrs({1}));
      fed->mgr->subscribe(platform, attrs({1}), RTI::RTI_TRUE);
    }
    bus.settle();
    const RTI::ObjectHandle o = owner.mgr->registerObj(platform, "contested");
    bus.settle();
    ASSERT_NE(first.mgr->knownObj(o), nullptr);
    ASSERT_NE(second.mgr->knownObj(o), nullptr);
    if (start == Held || start == HeldAndReclaimed) owner.mgr->divestOwnership(o, attrs({1}), false, nullptr);
    if (start == Offered) owner.mgr->divestOwnership(o, attrs({1}), true, "take it");
    first.mgr->acquireAttrs(o, attrs({1}), false, "mine");
    if (start == HeldAndReclaimed) {
      owner.mgr->acquireAttrs(o, attrs({1}), false, "back");
    } else {
      second.mgr->acquireAttrs(o, attrs({1}), false, "no, mine");
    }
    bus.settle();
    if (start == Kept) {
      // The owner agrees, to whoever asked last.
      delete owner.mgr->releaseResponse(o, attrs({1}));
      bus.settle();
    }
    int owners = 0;
    int holders = 0;
    for (ShuffledBus::Fed* fed : {&owner, &first, &second}) {
      const DtRtiObject* record = fed->mgr->allObj(o);
      owners += record && record->owned(1) ? 1 : 0;
      holders += record && record->lrcManaged(1) ? 1 : 0;
    }
    EXPECT_EQ(owners, 1) << "seed " << seed;
    EXPECT_EQ(holders, 0) << "seed " << seed;
  }
}

TEST(OwnershipRace, AnAcquisitionAskedForAgainBeforeItsCancellationIsConfirmedIsCompletedWhateverTheOrder) {
  for (unsigned seed = 0; seed < 20; ++seed) {
    ObjectMgrDefaultsGuard defaults;
    ShuffledBus bus(seed);
    ShuffledBus::Fed& owner = bus.add(3);
    ShuffledBus::Fed& buyer = bus.add(21);
    for (ShuffledBus::Fed* fed : {&owner, &buyer}) {
      fed->mgr->publish(platform, attrs({1}));
      fed->mgr->subscribe(platform, attrs({1}), RTI::RTI_TRUE);
    }
    bus.settle();
    const RTI::ObjectHandle o = owner.mgr->registerObj(platform, "contested");
    bus.settle();
    buyer.mgr->acquireAttrs(o, attrs({1}), false, "mine");
    buyer.mgr->cancelAcquire(o, attrs({1}));
    buyer.mgr->acquireAttrs(o, attrs({1}), false, "mine after all");
    bus.settle();
    // The owner has the request asked for again on record, and agrees.
    delete owner.mgr->releaseResponse(o, attrs({1}));
    bus.settle();
    EXPECT_TRUE(buyer.mgr->allObj(o)->owned(1)) << "seed " << seed;
    EXPECT_FALSE(owner.mgr->allObj(o)->owned(1) || owner.mgr->allObj(o)->lrcManaged(1)) << "seed " << seed;
    EXPECT_FALSE(buyer.mgr->allObj(o)->pendingUncondRequest(1)) << "seed " << seed;
  }
}

TEST(Ownership, AnAcquirerWithTheAttributeSwitchOnIsToldToUpdateWhatOthersSubscribeRightAfterItsNotification) {
  ObjectMgrDefaultsGuard defaults;
  Federation federation;
  Federate& seller = federation.add(3);
  Federate& buyer = federation.add(21);
  Federate& watcher = federation.add(22);
  seller.mgr->publish(platform, attrs({1, 2}));
  buyer.mgr->publish(platform, attrs({1, 2}));
  buyer.mgr->subscribe(platform, attrs({2}), RTI::RTI_TRUE);
  watcher.mgr->subscribe(platform, attrs({1}), RTI::RTI_TRUE);
  buyer.mgr->enableAttributeRelevanceSwitch();
  federation.settle();
  const RTI::ObjectHandle o = seller.mgr->registerObj(platform, "boat");
  federation.settle();
  seller.mgr->divestOwnership(o, attrs({1, 2}), true, "yours");
  federation.settle();
  buyer.amb.take();
  seller.amb.take();
  buyer.mgr->acquireAttrs(o, attrs({1, 2}), false, "mine");
  federation.settle();
  const std::string h = std::to_string(o);
  // Updates on for what the watcher subscribes; the buyer's own
  // subscription turns nothing on.
  EXPECT_EQ(buyer.amb.take(), (Lines{"acquired " + h + " 1,2", "on " + h + " 1"}));
  EXPECT_EQ(seller.amb.take(), (Lines{"divested " + h + " 1,2"}));
  EXPECT_EQ(seller.mgr->ownedObj(o)->ownerHandle(), 3u);
  EXPECT_EQ(watcher.mgr->knownObj(o)->ownerHandle(), 3u) << "the privilege stayed with the seller";
}
