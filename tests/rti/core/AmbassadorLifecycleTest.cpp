// How an ambassador assembles the federate's RTI component and takes it
// down again, and what two ambassadors in one process share.
#include "RTI.hh"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "CoreTestSupport.h"
#include "api/DtRtiAmbObserverList.h"
#include "core/DtPrivRefs.h"
#include "core/DtRtiAmbassadorAccess.h"
#include "core/DtRtiAmbassadorImplementor.h"
#include "mom/DtMomMgr.h"
#include "objects/DtInteractionMgr.h"
#include "objects/DtObjectMgr.h"
#include "util/DtNotify.h"
#include "util/DtNotifyHandler.h"

namespace {

// Everything that happens, in order: the plug-ins' entries, the parts made
// and deleted, and what is printed.
std::vector<std::string> events;
void* lrcArgument = nullptr;

void event(const std::string& text) { events.push_back(text); }

}  // namespace

// The test plug-ins report their entries here.
extern "C" __attribute__((visibility("default"))) void qlxTestPluginJournal(const char* plugin, const char* entry,
                                                                            void* argument) {
  event(std::string(plugin) + ":" + entry);
  if (std::string(entry) == "InitLRCPlugin") lrcArgument = argument;
}

namespace {

const char* present(const void* pointer) { return pointer ? "present" : "absent"; }

class PrintJournal : public DtNotifyHandler {
public:
  void notify(const char* text, int) override { event(std::string("print:") + text); }
};

class JournalObserver : public DtRtiAmbassadorObserver {
public:
  explicit JournalObserver(std::string name) : name_(std::move(name)) {}
  ~JournalObserver() override { event("observer deleted: " + name_); }

private:
  std::string name_;
};

// A MOM manager that files its observer when it is made and, when it is
// deleted, checks what of the ambassador's record still exists.
class JournalMom : public DtMomMgr {
public:
  explicit JournalMom(DtMomAmbassador* ambassador) : DtMomMgr(ambassador) {
    DtPrivRefs& refs = static_cast<DtAmbassadorMomLink*>(ambassador)->refs();
    event(std::string("mom made: rid ") + present(ambassador->ridParameters()) + ", observers " +
          present(ambassador->observers()) + ", implementor " + present(refs.implementor.get()));
    ambassador->observers()->addObserver("MOMObserver", new JournalObserver("MOMObserver"));
  }
  ~JournalMom() override {
    DtPrivRefs& refs = static_cast<DtAmbassadorMomLink*>(ambassador())->refs();
    event(std::string("mom deleted: observers ") + present(ambassador()->observers()) + ", implementor " +
          present(refs.implementor.get()));
    if (DtRtiAmbObserverList* observers = ambassador()->observers()) delete observers->removeObserver("MOMObserver");
  }
  static DtMomMgr* make(DtMomAmbassador* ambassador) { return new JournalMom(ambassador); }
};

class JournalImplementor : public DtRtiAmbassadorImplementor {
public:
  explicit JournalImplementor(DtRIDParameters* params) : DtRtiAmbassadorImplementor(params, nullptr) {
    made = this;
    event("implementor made");
  }
  ~JournalImplementor() override { event("implementor deleted"); }
  void setObservers(DtRtiAmbObserverList* observers) override {
    event(std::string("setObservers ") + present(observers));
    DtRtiAmbassadorImplementor::setObservers(observers);
  }
  static inline JournalImplementor* made = nullptr;
  static DtRtiAmbassadorImplementor* make(DtRIDParameters* params) { return new JournalImplementor(params); }
};

// Journals what is printed and puts the process-wide state back afterwards.
class LifecycleTest : public testing::Test {
protected:
  LifecycleTest() {
    events.clear();
    lrcArgument = nullptr;
    DtSetNotifyHandler(new PrintJournal);
  }
  ~LifecycleTest() override {
    DtSetNotifyHandler(new DtNotifyHandler);
    DtOpenLogOutput(nullptr, 0, 1);
    DtSetNotifyLevel(2);
    DtMomMgr::setCreatorFunction(nullptr);
    DtRtiAmbassadorImplementor::setCreatorFunction(nullptr);
  }

  // The index of the first event that starts with the text; -1 if none.
  static int find(const std::string& start) {
    for (std::size_t i = 0; i < events.size(); ++i) {
      if (events[i].rfind(start, 0) == 0) return static_cast<int>(i);
    }
    return -1;
  }

  static std::string pluginForms() {
    return std::string("(setq RTI_pluginDirectory \"") + QLX_PLUGIN_DIR +
           "\")\n(RTI-addPluginName \"qlxTestPluginA.so\")\n(RTI-addPluginName \"qlxTestPluginB.so\")";
  }
};

TEST_F(LifecycleTest, ConstructionMakesThePartsInOrderThenPrintsTheBanner) {
  RidScope rid("(setq RTI_notifyLevel 3)\n(setq RTI_momServiceAvailable 1)\n" + pluginForms());
  DtMomMgr::setCreatorFunction(&JournalMom::make);
  DtRtiAmbassadorImplementor::setCreatorFunction(&JournalImplementor::make);
  {
    RTI::RTIambassador ambassador;
    EXPECT_EQ(DtGetNotifyLevel(), 3);
    const std::vector<std::string> steps = {"print:Searching for RTI plugins",
                                            "A:SetPluginCreators",
                                            "B:SetPluginCreators",
                                            "mom made: rid present, observers present, implementor absent",
                                            "implementor made",
                                            "setObservers present",
                                            "A:InitLRCPlugin",
                                            "B:InitLRCPlugin",
                                            "print:\nRTI Ambassador Instantiation Complete\n\n",
                                            "print:Using Orvek Technologies' RTI version 2.0.1\n"};
    int previous = -1;
    for (const std::string& step : steps) {
      const int at = find(step);
      EXPECT_GT(at, previous) << step;
      previous = at;
    }
    EXPECT_EQ(previous, static_cast<int>(events.size()) - 1);  // the banner comes last
    EXPECT_EQ(lrcArgument, JournalImplementor::made);

    // The log file was opened before the plug-ins loaded.
    const std::string log = readWholeFile("orvekRti.log");
    EXPECT_NE(log.find("Attempting to load qlxTestPluginA.so\r\n"), std::string::npos);
    EXPECT_NE(log.find("Using Orvek Technologies' RTI version 2.0.1\r\n"), std::string::npos);
  }
}

TEST_F(LifecycleTest, PluginsThatGoWrongAreReportedByFileAndTheFederateGoesOnWithoutThem) {
  const std::string dir = std::string(QLX_PLUGIN_DIR) + "/";
  RidScope rid(std::string("(setq RTI_notifyLevel 1)\n(setq RTI_pluginDirectory \"") + QLX_PLUGIN_DIR +
               "\")\n(RTI-addPluginName \"qlxTestPluginMissing.so\")\n"
               "(RTI-addPluginName \"qlxTestPluginNoEntry.so\")\n"
               "(RTI-addPluginName \"qlxTestPluginThrowsRti.so\")\n(RTI-addPluginName \"qlxTestPluginA.so\")");
  rid.directory().write("X.fed", readWholeFile(QLX_SOURCE_ROOT "/rti/config/sample.fed"));
  RTI::RTIambassador ambassador;
  // From the plug-ins on (the RID file is read, and says so, before the
  // notify level is set).
  const int searching = find("print:Searching");
  ASSERT_GE(searching, 0);
  events.erase(events.begin(), events.begin() + searching);
  EXPECT_EQ(events, (std::vector<std::string>{
                        "print:Searching for RTI plugins in directory " + dir + "\n",
                        "print:Unable to load plugin at: " + dir + "qlxTestPluginMissing.so\n",
                        "print:Plugin " + dir +
                            "qlxTestPluginNoEntry.so exports none of SetPluginCreators, InitLRCPlugin and "
                            "InitRtiexecPlugin: not used\n",
                        "ThrowsRti:SetPluginCreators", "A:SetPluginCreators", "ThrowsRti:InitLRCPlugin",
                        "print:Plugin " + dir +
                            "qlxTestPluginThrowsRti.so failed in InitLRCPlugin (RTI::RTIinternalError "
                            "\"refused by the plug-in\"): not used further\n",
                        "A:InitLRCPlugin"}));
  // The federate goes on as if the failing plug-ins had not been named.
  NullFederateAmbassador federate;
  ambassador.createFederationExecution("X", "X.fed");
  EXPECT_NE(ambassador.joinFederationExecution("F", "X", &federate), 0u);
  ambassador.resignFederationExecution(RTI::NO_ACTION);
  ambassador.destroyFederationExecution("X");
}

TEST_F(LifecycleTest, DestructionDeletesTheMomManagerWhileTheObserversAndImplementorExist) {
  RidScope rid("(setq RTI_momServiceAvailable 1)");
  DtMomMgr::setCreatorFunction(&JournalMom::make);
  DtRtiAmbassadorImplementor::setCreatorFunction(&JournalImplementor::make);
  auto ambassador = std::make_unique<RTI::RTIambassador>();
  JournalImplementor::made->addObserver("plug-in", new JournalObserver("plug-in"));
  events.clear();
  ambassador.reset();
  EXPECT_EQ(events, (std::vector<std::string>{"mom deleted: observers present, implementor present",
                                              "observer deleted: MOMObserver", "observer deleted: plug-in",
                                              "implementor deleted"}));
}

// A MOM manager that keeps its link to the ambassador for the test.
class LinkedMom : public DtMomMgr {
public:
  using DtMomMgr::DtMomMgr;
  static DtMomMgr* make(DtMomAmbassador* ambassador) {
    link = ambassador;
    return new LinkedMom(ambassador);
  }
  static inline DtMomAmbassador* link = nullptr;
};

// Journals the resignations that the ambassador's services report.
class ResignObserver : public DtRtiAmbassadorObserver {
public:
  void resignFederationExecution(RTI::ResignAction action, RTI::Exception* e) override {
    event("observed resign " + std::to_string(action) + (e ? std::string(" ") + e->_name : ""));
  }
};

TEST_F(LifecycleTest, TheMomsLinkGivesTheAmbassadorsRecordAndCallsItsPublicServices) {
  RidScope rid("(setq RTI_momServiceAvailable 1)");
  DtMomMgr::setCreatorFunction(&LinkedMom::make);
  LinkedMom::link = nullptr;
  RTI::RTIambassador ambassador;
  DtPrivRefs& refs = DtRtiAmbassadorAccess::refs(ambassador);
  ASSERT_NE(LinkedMom::link, nullptr);
  EXPECT_EQ(LinkedMom::link, refs.momLink.get());
  EXPECT_EQ(LinkedMom::link->ridParameters(), refs.ridParameters.get());
  EXPECT_EQ(LinkedMom::link->observers(), refs.observers.get());

  // A service called through the link is the ambassador's own: its
  // observers see it, with the exception it threw.
  refs.observers->addObserver("resigns", new ResignObserver);
  events.clear();
  EXPECT_THROW(LinkedMom::link->resignFederationExecution(RTI::NO_ACTION), RTI::FederateNotExecutionMember);
  EXPECT_EQ(events, (std::vector<std::string>{"observed resign 4 FederateNotExecutionMember"}));
}

TEST_F(LifecycleTest, TheMomManagerIsMadeOnlyWhenTheRidFileAsksForIt) {
  FakeFederateMgr::Install fake;
  struct Case {
    const char* forms;
    bool momExpected;
  };
  for (const Case& c : {Case{"", false}, Case{"(setq RTI_momServiceAvailable 1)", true}}) {
    SCOPED_TRACE(c.forms);
    RidScope rid(c.forms);
    RTI::RTIambassador ambassador;
    ASSERT_NE(FakeFederateMgr::last, nullptr);
    EXPECT_TRUE(FakeFederateMgr::last->initCalled);
    EXPECT_EQ(FakeFederateMgr::last->initMom != nullptr, c.momExpected);
  }
}

TEST_F(LifecycleTest, TheNotifyLevelDecidesWhichBannerLinesPrint) {
  struct Case {
    int level;
    bool complete, version;
  };
  for (const Case& c : {Case{1, false, false}, Case{2, false, true}, Case{3, true, true}}) {
    SCOPED_TRACE(c.level);
    RidScope rid("(setq RTI_notifyLevel " + std::to_string(c.level) + ")");
    events.clear();
    RTI::RTIambassador ambassador;
    EXPECT_EQ(find("print:\nRTI Ambassador Instantiation Complete") >= 0, c.complete);
    EXPECT_EQ(find("print:Using Orvek Technologies' RTI version") >= 0, c.version);
  }
}

TEST_F(LifecycleTest, TheLogFileIsEmptiedOrNamedByTheTime) {
  RidScope rid;
  rid.directory().write("orvekRti.log", "an earlier run\n");
  { RTI::RTIambassador ambassador; }
  EXPECT_EQ(readWholeFile("orvekRti.log").find("an earlier run"), std::string::npos);

  RidScope timed("(setq RTI_reuseLogFile 0)");
  const long before = static_cast<long>(std::time(nullptr));
  { RTI::RTIambassador ambassador; }
  const long after = static_cast<long>(std::time(nullptr));
  int found = 0;
  for (long second = before; second <= after; ++second) {
    if (std::filesystem::exists("orvekRti" + std::to_string(second) + ".log")) ++found;
  }
  EXPECT_EQ(found, 1);
  EXPECT_FALSE(std::filesystem::exists("orvekRti.log"));
}

TEST_F(LifecycleTest, ACreatorFunctionIsGivenOnlyTheRidParameters) {
  RidScope rid;
  DtRIDParameters params;
  DtMomMgr mom(nullptr);
  DtRtiAmbassadorImplementor::setCreatorFunction(&JournalImplementor::make);
  std::unique_ptr<DtRtiAmbassadorImplementor> made = DtRtiAmbassadorImplementor::create(&params, &mom);
  EXPECT_EQ(made.get(), JournalImplementor::made);
  EXPECT_EQ(made->momMgr(), nullptr);
  EXPECT_EQ(made->params(), &params);

  DtRtiAmbassadorImplementor::setCreatorFunction(nullptr);
  made = DtRtiAmbassadorImplementor::create(&params, &mom);
  EXPECT_EQ(made->momMgr(), &mom);
}

// The notify level, the log file and the managers' class-wide defaults are
// the process's: the ambassador made last sets them. Everything else is each
// ambassador's own.
TEST_F(LifecycleTest, TwoAmbassadorsShareOnlyTheProcessWideSettings) {
  FakeFederateMgr::Install fake;
  RidScope firstRid(
      "(setq RTI_notifyLevel 1)\n(setq RTI_enableClassAdvisory 0)\n"
      "(setq RTI_enableInteractionAdvisory 0)\n(setq RTI_enableHlaObjectNamePrefix 1)");
  auto first = std::make_unique<RTI::RTIambassador>();
  FakeFederateMgr* firstFed = FakeFederateMgr::last;
  EXPECT_EQ(DtGetNotifyLevel(), 1);
  EXPECT_EQ(DtObjectMgr::theDefaultClassAdvisorySwitch, 0);
  EXPECT_EQ(DtInteractionMgr::theDefaultInteractionAdvisorySwitch, 0);
  EXPECT_STREQ(DtObjectMgr::theHlaNamePrefix, "HLA_");

  RidScope secondRid;
  auto second = std::make_unique<RTI::RTIambassador>();
  FakeFederateMgr* secondFed = FakeFederateMgr::last;
  EXPECT_NE(firstFed, secondFed);
  EXPECT_EQ(DtGetNotifyLevel(), 2);
  EXPECT_EQ(DtObjectMgr::theDefaultClassAdvisorySwitch, 1);
  EXPECT_EQ(DtInteractionMgr::theDefaultInteractionAdvisorySwitch, 1);
  EXPECT_STREQ(DtObjectMgr::theHlaNamePrefix, "");

  first->tick();
  EXPECT_EQ(firstFed->count("tick"), 1);
  EXPECT_EQ(secondFed->count("tick"), 0);

  // The first one's parts go with it; the second works on.
  first.reset();
  second->tick();
  EXPECT_EQ(secondFed->count("tick"), 1);
}

}  // namespace
