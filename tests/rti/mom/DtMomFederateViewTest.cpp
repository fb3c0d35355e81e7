// The MOM inspector over a federate, object manager and FOM that the test
// sets: every getter with and without a time manager and a queue, the save
// and restore states, the publication and subscription lists (passive
// subscriptions included), object information and the tallies.
#include <gtest/gtest.h>

#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "MomObjectsTestSupport.h"
#include "RTI.hh"
#include "fedtime.hh"
#include "mom/DtMomClassLists.h"
#include "mom/DtMomFederateView.h"
#include "mom/DtMomHandleList.h"
#include "mom/DtMomMgr.h"
#include "mom/DtMomObjectInfo.h"
#include "mom/DtMomSR.h"
#include "mom/DtMomTallyList.h"
#include "objects/DtAttrInfo.h"
#include "objects/DtInteractionClassInfo.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtObjectMgr.h"
#include "objects/DtRtiObject.h"

namespace {

using momtest::FakeFederate;

// Counts objects per class as the test says, one set per class as the
// object manager hands them over.
class CountingObjectMgr : public DtObjectMgr {
public:
  explicit CountingObjectMgr(DtFomClassMgr* fom) : DtObjectMgr(nullptr, fom, nullptr) {}
  void getObjectsOwned(DtTallySink& sink) const override { hand(sink, {{2, 1}, {5, 2}}); }
  void getObjectsUpdated(DtTallySink& sink) const override { hand(sink, {{2, 3}, {5, 4}}); }
  void getObjectsReflected(DtTallySink& sink) const override { hand(sink, {{2, 6}}); }

private:
  static void hand(DtTallySink& sink, const std::vector<std::pair<std::uint32_t, long>>& counts) {
    for (const auto& [cls, count] : counts) {
      auto tallies = std::make_unique<DtMtallySet>();
      tallies->setHandle(cls);
      tallies->setTally(count, RTI::RTI_FALSE, DtBestEffort);
      sink.adopt(std::move(tallies));
    }
  }
};

class DtMomInspectorTest : public ::testing::Test {
protected:
  DtMomInspectorTest() : fom(loadFom(momTestFed)), objects(fom.get()), mom(nullptr) {
    inspector = std::make_unique<DtMomInspector>(fom.get(), &federate, &objects, nullptr, &mom);
  }

  // The getter's value as the MOM sends it.
  std::string text(const std::function<void(DtString&)>& get) const {
    DtString out;
    get(out);
    return out.string();
  }
  std::string timeText(RTI::FedTime* (DtMomInspector::*get)(RTI::FedTime*) const) const {
    // A time the inspector cannot read keeps what it held.
    RTIfedTime time(42);
    return text([&](DtString& out) { DtMomSR::encode((inspector.get()->*get)(&time), out); });
  }

  std::unique_ptr<DtFomClassMgr> fom;
  FakeFederate federate;
  CountingObjectMgr objects;
  DtMomMgr mom;
  std::unique_ptr<DtMomInspector> inspector;
};

TEST_F(DtMomInspectorTest, EveryAttributeWithAndWithoutATimeManagerAndAQueue) {
  const DtObjectClassInfo& vehicle = *fom->classByName("Vehicle");
  const_cast<DtObjectClassInfo&>(vehicle).tallySet().setTally(3, RTI::RTI_TRUE, DtReliable);
  fom->classByName("Manager.Federate")->tallySet().setTally(1, RTI::RTI_TRUE, DtBestEffort);
  fom->classByName("Manager.Federate")->tallySet().setTally(8, RTI::RTI_FALSE, DtReliable);
  fom->interactionByName("Horn")->tallySet().setTally(9, RTI::RTI_TRUE, DtBestEffort);
  fom->interactionByName("Horn")->tallySet().setTally(2, RTI::RTI_FALSE, DtBestEffort);
  fom->interactionByName("Manager.Federate.Report.Alert")->tallySet().setTally(5, RTI::RTI_FALSE, DtReliable);
  mom.federateList()->append(3);
  mom.federateList()->append(7);

  const DtMomInspector& at = *inspector;
  auto number = [&](std::int32_t (DtMomInspector::*get)() const) {
    return text([&](DtString& out) { DtMomSR::encode((at.*get)(), out); });
  };
  auto truth = [&](RTI::Boolean (DtMomInspector::*get)() const) {
    return text([&](DtString& out) { DtMomSR::encode((at.*get)(), out); });
  };
  auto name = [&](DtString (DtMomInspector::*get)() const) { return std::string((at.*get)().string()); };
  const struct {
    const char* attribute;
    std::function<std::string()> value;
    const char* withTimeMgrAndQueue;
    const char* without;
  } cases[] = {
      {"FEDid", [&] { return name(&DtMomInspector::getFEDid); }, "mom.fed", "mom.fed"},
      {"FederateType", [&] { return name(&DtMomInspector::getFederateType); }, "Watcher", "Watcher"},
      {"Lookahead", [&] { return timeText(&DtMomInspector::getLookahead); }, "2.5", "42"},
      {"TimeConstrained", [&] { return truth(&DtMomInspector::getTimeConstrained); }, "True", "False"},
      {"ObjectsUpdated", [&] { return number(&DtMomInspector::getObjectsUpdated); }, "7", "7"},
      {"ReflectionsReceived", [&] { return number(&DtMomInspector::getReflectionsReceived); }, "4", "4"},
      {"UpdatesSent", [&] { return number(&DtMomInspector::getUpdatesSent); }, "8", "8"},
      {"FederateTime", [&] { return timeText(&DtMomInspector::getFederateTime); }, "10", "42"},
      {"TSOlength", [&] { return number(&DtMomInspector::getTSOlength); }, "4", "0"},
      {"ROlength", [&] { return number(&DtMomInspector::getROlength); }, "2", "0"},
      {"InteractionsReceived", [&] { return number(&DtMomInspector::getInteractionsReceived); }, "9", "9"},
      {"InteractionsSent", [&] { return number(&DtMomInspector::getInteractionsSent); }, "7", "7"},
      {"TimeManagerState", [&] { return text([&](DtString& out) { DtMomSR::encode(at.getTimeManagerState(), out); }); },
       "Advance pending", "Idle"},
      {"MinNextEventTime", [&] { return timeText(&DtMomInspector::getMinNextEventTime); }, "11", "42"},
      {"TimeRegulating", [&] { return truth(&DtMomInspector::getTimeRegulating); }, "True", "False"},
      {"RTIversion", [&] { return name(&DtMomInspector::getRTIversion); }, "Orvek RTI 2.0.1", "Orvek RTI 2.0.1"},
      {"ObjectsReflected", [&] { return number(&DtMomInspector::getObjectsReflected); }, "6", "6"},
      {"ObjectsOwned", [&] { return number(&DtMomInspector::getObjectsOwned); }, "3", "3"},
      {"AsynchronousDelivery", [&] { return truth(&DtMomInspector::getAsynchronousDelivery); }, "True", "False"},
      {"LBTS", [&] { return timeText(&DtMomInspector::getLBTS); }, "12", "42"},
      {"FederateHandle", [&] { return text([&](DtString& out) { DtMomSR::encode(at.getFederateHandle(), out); }); },
       "7", "7"},
      {"FederationName", [&] { return name(&DtMomInspector::getFederationName); }, "Fleet", "Fleet"},
      {"NextSaveTime", [&] { return timeText(&DtMomInspector::getNextSaveTime); }, "20", "20"},
      {"NextSaveName", [&] { return name(&DtMomInspector::getNextSaveName); }, "noon", "noon"},
      {"FederatesInFederation",
       [&] { return text([&](DtString& out) { DtMomSR::encode(at.getFederatesInFederation(), out); }); }, "3,7", "3,7"},
      {"LastSaveTime", [&] { return timeText(&DtMomInspector::getLastSaveTime); }, "5", "5"},
      {"LastSaveName", [&] { return name(&DtMomInspector::getLastSaveName); }, "dawn", "dawn"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.value(), c.withTimeMgrAndQueue) << c.attribute;
  federate.hasTimeMgr = false;
  federate.hasQueue = false;
  for (const auto& c : cases) EXPECT_EQ(c.value(), c.without) << c.attribute << " without";
}

TEST_F(DtMomInspectorTest, BeforeJoiningAndWithoutAMomManagerTheFederationIsEmpty) {
  federate.federation = "";
  inspector->setMomMgr(nullptr);
  EXPECT_STREQ(inspector->getFederationName().string(), "");
  EXPECT_EQ(inspector->getFederatesInFederation(), nullptr);
  DtString out("old");
  DtMomSR::encode(inspector->getFederatesInFederation(), out);
  EXPECT_STREQ(out.string(), "");
}

TEST_F(DtMomInspectorTest, TheFederateStateFollowsTheSaveAndRestoreFlagsInThatOrder) {
  const struct {
    bool saveInitiated, saveBegun, restoreBegun;
    const char* state;
  } cases[] = {
      {false, false, false, "Running"},  {true, false, false, "Save pending"}, {false, true, false, "Saving"},
      {false, false, true, "Restoring"}, {true, true, true, "Save pending"},   {false, true, true, "Saving"},
  };
  for (const auto& c : cases) {
    federate.saveIsInitiated = c.saveInitiated;
    federate.saveIsBegun = c.saveBegun;
    federate.restoreIsBegun = c.restoreBegun;
    DtString out;
    DtMomSR::encode(inspector->getFederateState(), out);
    EXPECT_STREQ(out.string(), c.state) << c.saveInitiated << c.saveBegun << c.restoreBegun;
  }
  // A restore that was asked for but has not begun reads as running; the
  // inspector never says "Restore pending" itself.
  DtString out;
  DtMomSR::encode(DtMomRestorePending, out);
  EXPECT_STREQ(out.string(), "Restore pending");
  DtMomSR::encode(static_cast<DtMomFederateStates>(9), out);
  EXPECT_STREQ(out.string(), "Unknown");
  DtMomSR::encode(static_cast<DtMomTimeManagerStates>(2), out);
  EXPECT_STREQ(out.string(), "Unknown");
}

// "class:handles" per entry, with "+" for an active entry and "-" for a
// passive one.
std::string entries(const DtList& list) {
  std::string out;
  for (const DtListItem* item = list.head(); item; item = item->next()) {
    const auto* entry = static_cast<const DtMomHandleList*>(item->data());
    DtString handles;
    entry->encode(handles);
    out += (out.empty() ? "" : " ") + std::to_string(entry->classHandle()) + (entry->active() ? "+" : "-") + ":" +
           handles.string();
  }
  return out;
}

template <class List>
void deleteEntries(List& list) {
  while (list.head()) delete static_cast<DtMomHandleList*>(list.remove(list.head()));
}

TEST_F(DtMomInspectorTest, PublicationsAndSubscriptionsActiveAndPassive) {
  // Only its presence counts: the inspector never looks into a region set.
  int regionSet = 0;
  auto* someRegionSet = reinterpret_cast<DtSubRegionSet*>(&regionSet);
  auto* someInteractionRegionSet = reinterpret_cast<DtInteractionRegionSet*>(&regionSet);

  DtObjectClassInfo& vehicle = *fom->classByName("Vehicle");
  DtObjectClassInfo& federateClass = *fom->classByName("Manager.Federate");
  DtObjectClassInfo& federationClass = *fom->classByName("Manager.Federation");
  DtAttributeHandleSet both;
  both.add(0);
  both.add(1);
  vehicle.publish(both, nullptr);
  vehicle.subscribe(both, false);
  vehicle.attrByHandle(1)->setPasRegionSet(someRegionSet);        // Position, through a passive region set
  federateClass.subscribe(both, true);                            // passively, without a region
  federateClass.attrByHandle(0)->setSubRegionSet(someRegionSet);  // and actively with one
  DtAttributeHandleSet none;
  federationClass.subscribe(none, false);

  DtMomPublicationList publications;
  inspector->getObjectPublication(publications);
  const std::string vehicleHandle = std::to_string(vehicle.handle());
  EXPECT_EQ(entries(publications), vehicleHandle + "-:0,1");
  DtMomSubscriptionList subscriptions;
  inspector->getObjectSubscription(subscriptions);
  const std::string federateHandle = std::to_string(federateClass.handle());
  EXPECT_EQ(entries(subscriptions),
            vehicleHandle + "+:0 " + vehicleHandle + "-:1 " + federateHandle + "+:0 " + federateHandle + "-:1");
  // Appended, never cleared.
  inspector->getObjectPublication(publications);
  EXPECT_EQ(publications.count(), 2u);
  deleteEntries(publications);
  deleteEntries(subscriptions);

  DtInteractionClassInfo& horn = *fom->interactionByName("Horn");
  DtInteractionClassInfo& alert = *fom->interactionByName("Manager.Federate.Report.Alert");
  DtInteractionClassInfo& timing = *fom->interactionByName("Manager.Federate.Adjust.SetTiming");
  DtInteractionClassInfo& hurried = *fom->interactionByName("Manager.Federate.Adjust.SetTiming.Hurried");
  horn.publish(nullptr);
  alert.publish(nullptr);
  horn.subscribe(true);
  timing.subscribe(false);
  alert.setPasRegionSet(someInteractionRegionSet);
  hurried.setSubRegionSet(someInteractionRegionSet);
  auto handles = [&](const std::function<void(DtMomHandleList*)>& fill) {
    DtMomHandleList list;
    fill(&list);
    DtString out;
    list.encode(out);
    return std::string(out.string());
  };
  auto ordered = [](std::vector<std::uint32_t> h) {
    std::sort(h.begin(), h.end());
    std::string out;
    for (std::uint32_t v : h) out += (out.empty() ? "" : ",") + std::to_string(v);
    return out;
  };
  EXPECT_EQ(handles([&](DtMomHandleList* l) { inspector->getInteractionPublication(l); }),
            ordered({horn.handle(), alert.handle()}));
  EXPECT_EQ(handles([&](DtMomHandleList* l) { inspector->getInteractionSubscription(l, RTI::RTI_TRUE); }),
            ordered({horn.handle(), hurried.handle()}));
  EXPECT_EQ(handles([&](DtMomHandleList* l) { inspector->getInteractionSubscription(l, RTI::RTI_FALSE); }),
            ordered({timing.handle(), alert.handle()}));
}

TEST_F(DtMomInspectorTest, ObjectInformationOfAKnownNameAndNoneOfAnUnknownOne) {
  DtObjectClassInfo& vehicle = *fom->classByName("Vehicle");
  DtObjectClassInfo& root = *fom->classByName("ObjectRoot");
  auto* object = new DtRtiObject(1001, "jeep", &vehicle, &root);
  DtAttributeHandleSet owned;
  owned.add(1);
  object->takeAttrs(owned);
  objects.addAllObj(object);
  objects.addKnownObj(object);

  DtMomObjectInfo info;
  inspector->getObjectInformation(info, "jeep");
  EXPECT_EQ(info.actualClass(), vehicle.handle());
  EXPECT_EQ(info.knownClass(), root.handle());
  EXPECT_EQ(info.owned().handles(), (std::vector<std::uint32_t>{1}));

  DtMomObjectInfo untouched;
  untouched.setActualClass(77);
  untouched.setKnownClass(78);
  for (const char* name : {"truck", "", static_cast<const char*>(nullptr)}) {
    inspector->getObjectInformation(untouched, name);
    EXPECT_EQ(untouched.actualClass(), 77u);
    EXPECT_EQ(untouched.knownClass(), 78u);
    EXPECT_EQ(untouched.owned().count(), 0u);
  }
}

TEST_F(DtMomInspectorTest, DetailedTalliesAreTheClassesOwnInHandleOrder) {
  // The handles that stand for no class (the model leaves gaps) are passed
  // over.
  std::vector<const DtMtallySet*> classSets, interactionSets;
  for (int h = 0; h < fom->numClasses(); ++h) {
    if (const DtObjectClassInfo* cls = fom->classByHandle(static_cast<RTI::ObjectClassHandle>(h))) {
      classSets.push_back(&cls->tallySet());
    }
  }
  for (int h = 0; h < fom->numInteractions(); ++h) {
    if (const DtInteractionClassInfo* cls = fom->interactionByHandle(static_cast<RTI::InteractionClassHandle>(h))) {
      interactionSets.push_back(&cls->tallySet());
    }
  }
  ASSERT_LT(classSets.size(), static_cast<std::size_t>(fom->numClasses())) << "the model has a gap";
  auto listed = [](const DtMomTallyList& list) {
    std::vector<const DtMtallySet*> sets;
    for (const DtListItem* item = list.head(); item; item = item->next()) sets.push_back(list.tallies(item));
    return sets;
  };
  DtMomTallyList updates;
  inspector->getDetailedUpdatesTally(updates);
  EXPECT_EQ(listed(updates), classSets);
  DtMomTallyList interactions;
  inspector->getDetailedInteractionsTally(interactions);
  EXPECT_EQ(listed(interactions), interactionSets);
}

// A host name as long as the system allows (64 characters), set in a UTS
// namespace of a child process: read whole, with its terminator.
TEST_F(DtMomInspectorTest, AHostNameOfTheLongestLengthIsReadWhole) {
  const std::string longName(64, 'h');
  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    if (unshare(CLONE_NEWUTS) != 0) _exit(errno == EPERM ? 77 : 2);
    if (sethostname(longName.c_str(), longName.size()) != 0) _exit(3);
    _exit(inspector->getFederateHost() == longName.c_str() ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no permission to make a UTS namespace";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the host name was not read whole";
}

}  // namespace
