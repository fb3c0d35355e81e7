// The federate manager without the rtiexec, in one process over a recording
// connection manager: names and files, the join's wiring and the
// resignation's teardown in their order, the resign checks, received resign
// messages, resigning inside callbacks, heartbeats, and the services that
// need the rtiexec.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <set>

#include "CoreTestSupport.h"
#include "FederateMgrTestSupport.h"
#include "core/DtLocalNumberSource.h"
#include "core/DtRtiExecFederateMgr.h"
#include "core/DtTimeMgr.h"
#include "core/DtTsoMsgQueue.h"
#include "ddm/DtDataDistMgr.h"
#include "ddm/DtInterDataDistMgr.h"
#include "ddm/DtObjectDataDistMgr.h"
#include "ddm/DtRegion.h"
#include "msg/DtObjectMsgs.h"
#include "msg/DtUpdateMsgs.h"
#include "rti/util/NotifyCapture.h"
#include "util/DtClock.h"
#include "util/DtNotify.h"
#include "util/DtSelect.h"

namespace {

const std::string sampleFed = readWholeFile(QLX_SOURCE_ROOT "/rti/config/sample.fed");

// The federate manager's own rule for resign messages that name the
// federate, which the federate manager with the rtiexec keeps (the one
// without it ignores them).
class BaseResignFederateMgr : public TestFederateMgr {
public:
  using TestFederateMgr::TestFederateMgr;
  void processResign(const DtResignMsg& msg) override { DtFederateMgr::processResign(msg); }
};

// A RID file of the test's own in a scratch working directory that holds
// X.fed, the recording managers, and a federate manager over them.
class FedMgrTest : public ::testing::Test {
protected:
  void make(const std::string& forms = "", bool baseResign = false) {
    fedMgr.reset();
    params.reset();
    rid.reset();
    rid = std::make_unique<RidScope>(forms);
    rid->directory().write("X.fed", sampleFed);
    params = std::make_unique<DtRIDParameters>();
    fedMgr = baseResign ? std::make_unique<BaseResignFederateMgr>(params.get(), log)
                        : std::make_unique<TestFederateMgr>(params.get(), log);
    fedMgr->init(&mom);
  }
  void SetUp() override { make(); }
  void TearDown() override {
    fedMgr.reset();
    params.reset();
    rid.reset();
  }
  RTI::FederateHandle join(const char* execution = "X") {
    return fedMgr->joinFederationExecution("F1", execution, &fedAmb);
  }
  // The log from the entry on.
  ManagerLog since(std::size_t from) const { return ManagerLog(log.begin() + static_cast<long>(from), log.end()); }

  ManagerLog log;
  RecordingScope recording{log};
  RecordingMomMgr mom{log};
  NullFederateAmbassador fedAmb;
  std::unique_ptr<RidScope> rid;
  std::unique_ptr<DtRIDParameters> params;
  std::unique_ptr<TestFederateMgr> fedMgr;
};

TEST_F(FedMgrTest, EitherIntervalAtZeroSwitchesHeartbeatAndTimeoutOff) {
  struct Case {
    const char* forms;
    float heartbeat, timeout;
  } cases[] = {
      {"(setq RTI_federateHeartbeatInterval 5.0)", 0, 0},
      {"(setq RTI_federateTimeoutInterval 5.0)", 0, 0},
      {"(setq RTI_federateHeartbeatInterval 5.0)(setq RTI_federateTimeoutInterval 12.0)", 5, 12},
  };
  for (const Case& c : cases) {
    make(c.forms);
    EXPECT_EQ(params->federateHeartbeatInterval(), c.heartbeat) << c.forms;
    EXPECT_EQ(params->federateTimeoutInterval(), c.timeout) << c.forms;
  }
}

TEST_F(FedMgrTest, TheOldestMappingNamesTheFedFileElseTheExecutionName) {
  EXPECT_STREQ(fedMgr->fedFileName("Fx").string(), "Fx.fed");
  fedMgr->addFedFileNameMapping("Fx", "a.fed");
  fedMgr->addFedFileNameMapping("Fx", "b.fed");
  EXPECT_STREQ(fedMgr->fedFileName("Fx").string(), "a.fed");
  const std::string longName(300, 'n');
  EXPECT_EQ(fedMgr->fedFileName(longName.c_str()).string(), longName + ".fed");
}

TEST_F(FedMgrTest, TransportAndOrderNamesAndHandles) {
  auto name = [](char* text) {
    std::string copy(text);
    delete[] text;
    return copy;
  };
  EXPECT_EQ(name(fedMgr->getTransportationName(DtBestEffort)), "best_effort");
  EXPECT_EQ(name(fedMgr->getTransportationName(DtReliable)), "reliable");
  EXPECT_EQ(name(fedMgr->getOrderName(DtReceiveOrder)), "receive");
  EXPECT_EQ(name(fedMgr->getOrderName(DtTimestampOrder)), "timestamp");
  EXPECT_THROW(fedMgr->getTransportationName(static_cast<DtTransportType>(2)), RTI::InvalidTransportationHandle);
  EXPECT_THROW(fedMgr->getOrderName(static_cast<DtOrderType>(2)), RTI::InvalidOrderingHandle);

  EXPECT_EQ(fedMgr->getOrderHandle("TimeStamp"), DtTimestampOrder);
  EXPECT_EQ(fedMgr->getOrderHandle("receive"), DtReceiveOrder);
  EXPECT_EQ(fedMgr->getTransportationHandle("BEST_EFFORT"), DtBestEffort);
  EXPECT_EQ(fedMgr->getTransportationHandle("Reliable"), DtReliable);
  try {
    fedMgr->getTransportationHandle("udp");
    FAIL() << "udp is no transport";
  } catch (const RTI::NameNotFound& e) {
    EXPECT_STREQ(e._reason, "udp");
  }
  EXPECT_THROW(fedMgr->getOrderHandle("fifo"), RTI::NameNotFound);
}

TEST_F(FedMgrTest, SaveFileNamesJoinDirectoryLabelExecutionFederateAndHandle) {
  make("(setq RTI_saveRestoreDirectory \"saves/here\")");
  fedMgr->joinFederationExecution("F1", "X", &fedAmb);
  DtString result;
  EXPECT_STREQ(fedMgr->getSaveFileName("L1", 7, result, 0).string(), "saves/here/L1-X-F1-7.sav");
  EXPECT_STREQ(fedMgr->getRestoreFileName("L2", 12, result).string(), "saves/here/L2-X-F1-12.sav");
  // A label from another program never leads out of the folder.
  EXPECT_STREQ(fedMgr->getSaveFileName("../../etc/x", 7, result, 0).string(),
               "saves/here/..%2F..%2Fetc%2Fx-X-F1-7.sav");
}

// The label comes from whichever federate asked for the save: no label,
// however it is made, names a file outside the save folder.
TEST_F(FedMgrTest, TheSaveFileStaysInTheSaveFolderWhateverTheLabel) {
  make("(setq RTI_saveRestoreDirectory \"saves/here\")");
  fedMgr->joinFederationExecution("a/../F1", "X", &fedAmb);
  const struct {
    const char* label;
    const char* name;
  } cases[] = {
      {"../../etc/passwd", "..%2F..%2Fetc%2Fpasswd-X-a%2F..%2FF1-7.sav"},
      {"..", "..-X-a%2F..%2FF1-7.sav"},
      {"../", "..%2F-X-a%2F..%2FF1-7.sav"},
      {"/etc/passwd", "%2Fetc%2Fpasswd-X-a%2F..%2FF1-7.sav"},
      {"a/../../b", "a%2F..%2F..%2Fb-X-a%2F..%2FF1-7.sav"},
      {"..\\..\\x", "..%5C..%5Cx-X-a%2F..%2FF1-7.sav"},
      {"%2F..", "%252F..-X-a%2F..%2FF1-7.sav"},  // an escape in the label stays apart from a real "/"
      {"line\nfeed", "line%0Afeed-X-a%2F..%2FF1-7.sav"},
      {nullptr, "-X-a%2F..%2FF1-7.sav"},
  };
  const std::string folder = "saves/here/";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label ? c.label : "no label");
    DtString saved;
    DtString restored;
    const std::string name = fedMgr->getSaveFileName(c.label, 7, saved, 0).string();
    EXPECT_EQ(name, folder + c.name);
    EXPECT_EQ(std::string(fedMgr->getRestoreFileName(c.label, 7, restored).string()), name);
    ASSERT_EQ(name.rfind(folder, 0), 0u);
    EXPECT_EQ(name.find('/', folder.size()), std::string::npos) << "a file of the folder itself";
  }
}

TEST_F(FedMgrTest, CreateGivesTheManagerWithoutOrWithTheRtiexecOrACreators) {
  DtRIDParameters plain;
  EXPECT_NE(dynamic_cast<DtSimpleFederateMgr*>(DtFederateMgr::create(&plain).get()), nullptr);
  DtRIDParameters withExec;
  withExec.setUseRtiExec(1);
  EXPECT_NE(dynamic_cast<DtRtiExecFederateMgr*>(DtFederateMgr::create(&withExec).get()), nullptr);
  FakeFederateMgr::Install fake;
  EXPECT_NE(dynamic_cast<FakeFederateMgr*>(DtFederateMgr::create(&withExec).get()), nullptr);
}

TEST_F(FedMgrTest, HandlesAreDrawnApartInOneProcessAndKeptAcrossJoins) {
  std::vector<std::unique_ptr<TestFederateMgr>> managers;
  std::set<RTI::FederateHandle> handles;
  for (int i = 0; i < 200; ++i) {
    managers.push_back(std::make_unique<TestFederateMgr>(params.get(), log));
    handles.insert(DtLocalNumberSource::handleOf(managers.back()->localNumber()));
  }
  EXPECT_EQ(handles.size(), 200u);
  EXPECT_GE(*handles.begin(), 1u);
  EXPECT_LE(*handles.rbegin(), 9999u);

  const RTI::FederateHandle first = join();
  EXPECT_EQ(first, DtLocalNumberSource::handleOf(fedMgr->localNumber()));
  fedMgr->resignFederationExecution(RTI::NO_ACTION);
  EXPECT_EQ(join(), first);
}

TEST(DtLocalNumberSourceTest, AForkedProcessDrawsApartFromItsParent) {
  const std::uint32_t before = DtLocalNumberSource::draw();
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  const pid_t child = fork();
  if (child == 0) {
    const std::uint32_t drawn = DtLocalNumberSource::draw();
    _exit(write(fds[1], &drawn, sizeof drawn) == sizeof drawn ? 0 : 1);
  }
  const std::uint32_t parent = DtLocalNumberSource::draw();
  std::uint32_t drawnInChild = 0;
  ASSERT_EQ(read(fds[0], &drawnInChild, sizeof drawnInChild), static_cast<ssize_t>(sizeof drawnInChild));
  waitpid(child, nullptr, 0);
  close(fds[0]);
  close(fds[1]);
  EXPECT_NE(drawnInChild, parent);
  DtLocalNumberSource::release(before);
  DtLocalNumberSource::release(parent);
}

// Two hundred processes of one machine, each with one federate: a random
// draw would give two of them one handle nine times in ten.
TEST(DtLocalNumberSourceTest, ProcessesOfOneMachineTakeDifferentHandles) {
  constexpr int kProcesses = 200;
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  std::set<std::uint32_t> handles;
  for (int i = 0; i < kProcesses; ++i) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      const std::uint32_t handle = DtLocalNumberSource::handleOf(DtLocalNumberSource::draw());
      _exit(write(fds[1], &handle, sizeof handle) == sizeof handle ? 0 : 1);
    }
    std::uint32_t handle = 0;
    ASSERT_EQ(read(fds[0], &handle, sizeof handle), static_cast<ssize_t>(sizeof handle));
    int status = -1;
    waitpid(child, &status, 0);
    ASSERT_EQ(status, 0);
    EXPECT_TRUE(handles.insert(handle).second) << "handle " << handle << " taken twice";
  }
  close(fds[0]);
  close(fds[1]);
  EXPECT_GE(*handles.begin(), 1u);
  EXPECT_LE(*handles.rbegin(), DtLocalNumberSource::handleCount);
}

TEST_F(FedMgrTest, AFedFileThatCannotBeReadLeavesNoModelAndNoJoin) {
  rid->directory().write("bad.fed", "(FED (Federation X) (FEDversion v1.3) (spaces) (objects (class Nope))");
  struct Case {
    const char* execution;
    const char* file;
    bool open;
  } cases[] = {{"E1", "missing.fed", false}, {"E2", "bad.fed", true}};
  for (const Case& c : cases) {
    // At create and at join alike, the reason names the file, and for a file
    // that was read, the line and what was expected there.
    for (bool atJoin : {false, true}) {
      try {
        if (atJoin) {
          join(c.execution);
        } else {
          fedMgr->createFederationExecution(c.execution, c.file);
        }
        FAIL() << c.file;
      } catch (const RTI::CouldNotOpenFED& e) {
        EXPECT_FALSE(c.open);
        EXPECT_STREQ(e._reason, c.file);
      } catch (const RTI::ErrorReadingFED& e) {
        EXPECT_TRUE(c.open);
        EXPECT_TRUE(std::string(e._reason).ends_with("bad.fed, line 1: Missing \")\"")) << e._reason;
      }
    }
    EXPECT_FALSE(fedMgr->isJoined());
    EXPECT_EQ(fedMgr->fom(), nullptr);
    EXPECT_EQ(fedMgr->federateHandle(), 0u);
    EXPECT_EQ(fedMgr->connection().callbacks(DtResignMsgKind), 0);
  }
  // The create's mapping stays though the file could not be read.
  EXPECT_STREQ(fedMgr->fedFileName("E2").string(), "bad.fed");
}

TEST_F(FedMgrTest, AFedFileIsFoundByItsBaseNameInTheConfigDirectoryOrAsTheRidNamesIt) {
  ScratchDirectory config;
  config.write("Far.fed", sampleFed);
  const ScopedEnv configEnv("RTI_CONFIG", config.path().c_str());
  fedMgr->createFederationExecution("Far", "C:\\models\\Far.fed");
  join("Far");
  EXPECT_NE(fedMgr->fom(), nullptr);
  EXPECT_STREQ(fedMgr->currentFedFile().string(), "C:\\models\\Far.fed");
  fedMgr->resignFederationExecution(RTI::NO_ACTION);

  // Without a create in this process: the execution's name, or the RID's file.
  EXPECT_THROW(join("Unknown"), RTI::CouldNotOpenFED);
  make("(setq RTI_defaultFedFile \"X.fed\")");
  join("Unknown");
  EXPECT_NE(fedMgr->fom()->classByName("ObjectRoot.Sample"), nullptr);
}

TEST_F(FedMgrTest, DumpFedZeroSilencesTheReadAndTheLevelComesBack) {
  for (int dump : {1, 0}) {
    make("(setq RTI_dumpFed " + std::to_string(dump) + ")");
    NotifyCapture capture(3);
    fedMgr->createFederationExecution("X", "X.fed");
    EXPECT_EQ(capture.text().find("Reading FED file") != std::string::npos, dump == 1) << capture.text();
    capture.clear();
    EXPECT_THROW(fedMgr->createFederationExecution("M", "missing.fed"), RTI::CouldNotOpenFED);
    EXPECT_NE(capture.text().find("No such FED file: missing.fed"), std::string::npos);
    EXPECT_EQ(DtGetNotifyLevel(), 3);
  }
}

TEST_F(FedMgrTest, TheMomsViewReadsTheFederateAndItsTimeManager) {
  make("(setq RTI_timeMgmt 1)");
  const DtMomFederate& view = *fedMgr->momView();
  RTIfedTime time(5.0);
  EXPECT_FALSE(view.queryFederateTime(time)) << "no time manager before the join";
  EXPECT_EQ(time.getTime(), 5.0);
  EXPECT_STREQ(view.federationName().string(), "");

  const RTI::FederateHandle handle = join();
  EXPECT_EQ(view.federateHandle(), handle);
  EXPECT_STREQ(view.federationName().string(), "X");
  EXPECT_STREQ(view.federateType().string(), "F1");
  EXPECT_STREQ(view.fedFile().string(), "X.fed");
  EXPECT_FALSE(view.saveInitiated() || view.saveBegun() || view.restoreBegun());
  EXPECT_FALSE(view.timeConstrained() || view.timeRegulating() || view.timeAdvancePending());
  EXPECT_TRUE(view.queryFederateTime(time));
  EXPECT_EQ(time.getTime(), 0.0);
  EXPECT_TRUE(view.queryLookahead(time));
  view.lastSaveTime(time);
  EXPECT_EQ(time.getTime(), 0.0);

  // The time manager's queue: what it holds of each order, and whether it
  // hands receive-order messages over at once.
  DtTsoMsgQueue& queue = *fedMgr->timeMgr()->msgQueue();
  EXPECT_EQ(view.queuedTimestampedCount() + view.queuedReceiveOrderCount(), 0u);
  queue.setConstrained(true);
  queue.setConstrainedSince(RTIfedTime(0.0));
  EXPECT_TRUE(queue.queueIfNeeded(DtDeleteRoMsg(5, "", nullptr)));
  EXPECT_TRUE(queue.queueIfNeeded(DtDeleteTsoMsg(5, DtTimestampOrder, RTIfedTime(3.0), "", 1, nullptr)));
  EXPECT_TRUE(queue.queueIfNeeded(DtDeleteTsoMsg(6, DtTimestampOrder, RTIfedTime(4.0), "", 2, nullptr)));
  EXPECT_EQ(view.queuedTimestampedCount(), 2u);
  EXPECT_EQ(view.queuedReceiveOrderCount(), 1u);
  EXPECT_FALSE(view.asynchronousDelivery());
  queue.setAsyncDelivery(true);
  EXPECT_TRUE(view.asynchronousDelivery());

  fedMgr->resignFederationExecution(RTI::NO_ACTION);
  EXPECT_STREQ(view.federationName().string(), "");
  EXPECT_FALSE(view.queryLBTS(time));
  EXPECT_EQ(view.queuedTimestampedCount() + view.queuedReceiveOrderCount(), 0u);
  EXPECT_FALSE(view.asynchronousDelivery());
}

TEST_F(FedMgrTest, JoinWiresTheManagersInOrderAndResignTearsThemDown) {
  make("(setq RTI_timeMgmt 1)(setq RTI_momServiceAvailable 1)");
  const std::size_t start = log.size();
  const RTI::FederateHandle handle = join();
  EXPECT_EQ(since(start), (ManagerLog{"interMgr", "objMgr", "connect X " + std::to_string(handle), "setMsgQueue",
                                      "timeMgr", "objMgr setTimeMgr", "interMgr setTimeMgr", "mom join"}));
  EXPECT_EQ(fedMgr->interMgr()->momMgr(), &mom);
  EXPECT_TRUE(fedMgr->isJoined());
  EXPECT_STREQ(fedMgr->federateName(), "F1");
  EXPECT_STREQ(fedMgr->currentFedFile().string(), "X.fed");
  EXPECT_EQ(fedMgr->connection().callbacks(DtResignMsgKind), 1);
  EXPECT_EQ(fedMgr->connection().callbacks(DtRestoreEndMsgKind), 1);

  // Every message passes the time manager's queue while it is neither
  // regulating nor constrained.
  EXPECT_NE(fedMgr->connection().msgQueue(), nullptr);
  EXPECT_EQ(fedMgr->connection().msgQueue()->takeMsg(DtAliveMsg()), 0);

  const std::size_t tick = log.size();
  fedMgr->posttick();
  EXPECT_EQ(since(tick), (ManagerLog{"objMgr tick", "interMgr tick", "mom tick", "timeMgr tick"}));

  const std::size_t resign = log.size();
  fedMgr->resignFederationExecution(RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES);
  // The MOM first: its object records are listed by the object manager.
  EXPECT_EQ(since(resign), (ManagerLog{"mom resign", "prepareToResign 3", "~objMgr", "~interMgr", "~timeMgr",
                                       "setMsgQueue null", "send 7 " + std::to_string(handle), "disconnect"}));
  auto* sent = dynamic_cast<DtResignMsg*>(fedMgr->connection().sent.back().get());
  ASSERT_NE(sent, nullptr);
  EXPECT_EQ(sent->resignAction(), RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES);
  EXPECT_TRUE(sent->isForExec("X", 0));
  EXPECT_FALSE(fedMgr->isJoined());
  EXPECT_EQ(fedMgr->federateName(), nullptr);
  EXPECT_EQ(fedMgr->fom(), nullptr);
  EXPECT_EQ(fedMgr->federateHandle(), 0u);
  EXPECT_EQ(fedMgr->connection().callbacks(DtResignMsgKind), 0);
  EXPECT_EQ(fedMgr->connection().callbacks(DtRestoreEndMsgKind), 0);
}

TEST_F(FedMgrTest, WithDataDistributionTheJoinMakesItsFormsAndBindsThemToTheDataDistributionManager) {
  // The managers as the library makes them, not the recording ones.
  DtObjectMgr::setCreatorFunction(nullptr);
  DtInteractionMgr::setCreatorFunction(nullptr);
  make("(setq RTI_dataDistMgmt 1)");
  join();
  DtDataDistMgr* ddm = fedMgr->ddmMgr();
  ASSERT_NE(ddm, nullptr);
  auto* objects = dynamic_cast<DtObjectDataDistMgr*>(fedMgr->objMgr());
  auto* interactions = dynamic_cast<DtInterDataDistMgr*>(fedMgr->interMgr());
  ASSERT_NE(objects, nullptr);
  ASSERT_NE(interactions, nullptr);
  EXPECT_EQ(objects->ddmMgr(), ddm);
  EXPECT_EQ(interactions->ddmMgr(), ddm);
  EXPECT_EQ(ddm->objDdmMgr(), objects);
  EXPECT_EQ(ddm->interDdmMgr(), interactions);
  EXPECT_EQ(ddm->connectMgr(), &fedMgr->connection());
  EXPECT_EQ(ddm->fom(), fedMgr->fom());
  EXPECT_EQ(ddm->defaultRegion().getSpaceHandle(), 0);
  EXPECT_EQ(fedMgr->connection().callbacks(DtNotifyRegMsgKind), 1);
  EXPECT_EQ(fedMgr->connection().callbacks(DtDeleteRegMsgKind), 1);
  fedMgr->resignFederationExecution(RTI::NO_ACTION);
  EXPECT_EQ(fedMgr->ddmMgr(), nullptr);
  EXPECT_EQ(fedMgr->connection().callbacks(DtNotifyRegMsgKind), 0);

  // Off, the plain managers and none.
  make("");
  join();
  EXPECT_EQ(fedMgr->ddmMgr(), nullptr);
  EXPECT_EQ(typeid(*fedMgr->objMgr()), typeid(DtObjectMgr));
  EXPECT_EQ(typeid(*fedMgr->interMgr()), typeid(DtInteractionMgr));
  fedMgr->resignFederationExecution(RTI::NO_ACTION);
  DtInteractionMsg::setChannelIncluded(0);
  DtUpdateMsg::setChannelIncluded(0);
}

TEST_F(FedMgrTest, AJoinedManagerTearsDownInReverseBeforeItsConnectionManager) {
  make("(setq RTI_timeMgmt 1)");
  join();
  const std::size_t start = log.size();
  fedMgr.reset();
  EXPECT_EQ(since(start),
            (ManagerLog{"~timeMgr", "setMsgQueue null", "disconnect", "~objMgr", "~interMgr", "~connection"}));
}

TEST_F(FedMgrTest, ResignChecksItsActionAgainstWhatIsOwned) {
  struct Case {
    int action;
    std::uint32_t owned, deletable;
    const char* refusal;  // null: resigns
  } cases[] = {
      {1, 2, 0, nullptr},
      {3, 2, 0, nullptr},
      {2, 2, 2, nullptr},
      {2, 2, 1, "FederateOwnsAttributes"},
      {4, 0, 0, nullptr},
      {4, 1, 1, "FederateOwnsAttributes"},
      {0, 0, 0, "InvalidResignAction"},
      {5, 0, 0, "InvalidResignAction"},
  };
  for (const Case& c : cases) {
    RecordingScope::ownedObjects = c.owned;
    RecordingScope::deletableObjects = c.deletable;
    join();
    const std::size_t start = log.size();
    std::string refused;
    try {
      fedMgr->resignFederationExecution(static_cast<RTI::ResignAction>(c.action));
    } catch (const RTI::Exception& e) {
      refused = e._name;
      EXPECT_STREQ(e._reason, "");
    }
    EXPECT_EQ(refused, c.refusal ? c.refusal : "") << c.action;
    EXPECT_EQ(fedMgr->isJoined(), c.refusal != nullptr) << c.action;
    if (c.refusal) {
      EXPECT_TRUE(since(start).empty()) << "nothing torn down";
      fedMgr->resignFederationExecution(RTI::RELEASE_ATTRIBUTES);
    }
  }
  EXPECT_THROW(fedMgr->resignFederationExecution(RTI::RELEASE_ATTRIBUTES), RTI::FederateNotExecutionMember);
}

// A resign message as another federate's connection would deliver it.
std::unique_ptr<DtRtiMsg> resignFrom(RTI::FederateHandle handle, RTI::ResignAction action) {
  return std::make_unique<DtResignMsg>("X", handle, action, nullptr);
}

TEST_F(FedMgrTest, AnotherFederatesResignGoesToTheManagersOnesOwnIsNotFollowed) {
  const RTI::FederateHandle self = join();
  const RTI::FederateHandle other = self % 9999 + 1;
  fedMgr->connection().incoming.push_back(resignFrom(other, RTI::RELEASE_ATTRIBUTES));
  std::size_t start = log.size();
  EXPECT_TRUE(fedMgr->tick());
  EXPECT_EQ(since(start), (ManagerLog{"objMgr processResign " + std::to_string(other),
                                      "interMgr processResign " + std::to_string(other)}));

  // Its own message back, say from before it joined again.
  fedMgr->connection().incoming.push_back(resignFrom(self, RTI::DELETE_OBJECTS));
  start = log.size();
  EXPECT_TRUE(fedMgr->tick());
  EXPECT_TRUE(fedMgr->isJoined());
  EXPECT_TRUE(since(start).empty());
}

TEST_F(FedMgrTest, WithTheBaseRuleAResignMessageOfThisFederateResignsItInsideTheTick) {
  make("", true);
  const RTI::FederateHandle self = join();
  fedMgr->connection().incoming.push_back(resignFrom(self, RTI::DELETE_OBJECTS));
  const std::size_t start = log.size();
  EXPECT_TRUE(fedMgr->tick());
  EXPECT_FALSE(fedMgr->isJoined());
  EXPECT_EQ(since(start).front(), "prepareToResign 2");
  EXPECT_EQ(fedMgr->connection().callbacks(DtResignMsgKind), 0);

  // One that cannot be carried out is reported, not thrown into the tick.
  RecordingScope::ownedObjects = 1;
  join();
  NotifyCapture capture(1);
  fedMgr->connection().incoming.push_back(resignFrom(self, RTI::NO_ACTION));
  EXPECT_NO_THROW(fedMgr->tick());
  EXPECT_TRUE(fedMgr->isJoined());
  EXPECT_NE(capture.text().find("cannot resign with action 4: FederateOwnsAttributes"), std::string::npos);
}

TEST_F(FedMgrTest, AResignInsideAManagersCallbackDeletesItOnlyAfterTheTickStep) {
  make("(setq RTI_timeMgmt 1)");
  join();
  RecordingScope::onAlive = [this] {
    fedMgr->resignFederationExecution(RTI::RELEASE_ATTRIBUTES);
    // Joining again inside the same callback gets managers of its own.
    join();
  };
  fedMgr->connection().incoming.push_back(std::make_unique<DtAliveMsg>());
  const std::size_t start = log.size();
  EXPECT_TRUE(fedMgr->tick());
  const ManagerLog seen = since(start);
  const auto at = [&](const std::string& entry) { return std::find(seen.begin(), seen.end(), entry) - seen.begin(); };
  // Torn down (callbacks, connection, queue) at once, deleted once the
  // manager's own callback has returned; the new time manager's queue stays.
  EXPECT_LT(at("disconnect"), at("objMgr alive handled"));
  EXPECT_LT(at("objMgr alive handled"), at("~objMgr"));
  EXPECT_LT(at("~interMgr"), at("~timeMgr"));
  EXPECT_EQ(std::count(seen.begin(), seen.end(), "setMsgQueue null"), 0);
  EXPECT_TRUE(fedMgr->isJoined());
  EXPECT_NE(fedMgr->connection().msgQueue(), nullptr);
  EXPECT_EQ(fedMgr->connection().callbacks(DtResignMsgKind), 1);
  EXPECT_EQ(fedMgr->connection().callbacks(DtAliveMsgKind), 1);
}

TEST_F(FedMgrTest, HeartbeatsGoOutAtTheirIntervalOnlyWhileJoined) {
  make("(setq RTI_federateHeartbeatInterval 0.2)(setq RTI_federateTimeoutInterval 1.0)");
  double now = 100.0;
  fedMgr->setClock([&now] { return now; });
  auto alives = [this] {
    int count = 0;
    for (const auto& msg : fedMgr->connection().sent) count += msg->msgKind() == DtAliveMsgKind;
    return count;
  };
  fedMgr->tick();
  EXPECT_EQ(alives(), 0);
  const RTI::FederateHandle handle = join();
  fedMgr->tick();
  fedMgr->tick();
  EXPECT_EQ(alives(), 1);
  EXPECT_EQ(fedMgr->connection().sent.back()->federateHandle(), handle);
  now += 0.15;
  fedMgr->tick();
  EXPECT_EQ(alives(), 1) << "a heartbeat before its interval";
  now += 0.1;
  fedMgr->tick();
  EXPECT_EQ(alives(), 2);
  fedMgr->resignFederationExecution(RTI::NO_ACTION);
  const int afterResign = alives();
  now += 1.0;
  fedMgr->tick();
  EXPECT_EQ(alives(), afterResign);
}

TEST_F(FedMgrTest, SynchronizationSaveAndRestoreNeedTheRtiexec) {
  join();
  DtConcreteFedHandleSet federates(1);
  RTIfedTime time(1.0);
  const std::pair<const char*, std::function<void()>> services[] = {
      {"registerFederationSynchronizationPoint",
       [&] { fedMgr->registerFederationSynchronizationPoint("a", "t", federates); }},
      {"registerFederationSynchronizationPoint", [&] { fedMgr->registerFederationSynchronizationPoint("a", "t"); }},
      {"synchronizationPointAcheived", [&] { fedMgr->synchronizationPointAchieved("a"); }},
      {"requestFederationSave", [&] { fedMgr->requestFederationSave("s", nullptr); }},
      {"requestFederationSave", [&] { fedMgr->requestFederationSave("s", &time); }},
      {"federateSaveBegun", [&] { fedMgr->federateSaveBegun(); }},
      {"federateSaveComplete", [&] { fedMgr->federateSaveComplete(); }},
      {"federateSaveNotComplete", [&] { fedMgr->federateSaveNotComplete(); }},
      {"requestFederationRestore", [&] { fedMgr->requestFederationRestore("r"); }},
      {"federateRestoreComplete", [&] { fedMgr->federateRestoreComplete(); }},
      {"federateRestoreNotComplete", [&] { fedMgr->federateRestoreNotComplete(); }},
  };
  for (const auto& [name, call] : services) {
    NotifyCapture capture(1);
    try {
      call();
      ADD_FAILURE() << name;
    } catch (const RTI::RTIinternalError& e) {
      EXPECT_STREQ(e._reason, "");
    }
    EXPECT_EQ(capture.text(), std::string("Orvek RTI: ") + name + " can only be called  when using the rtiexec.\n");
  }
  EXPECT_NO_THROW(fedMgr->testSaveProgress());
  EXPECT_NO_THROW(fedMgr->destroyFederationExecution("never-created"));
}

}  // namespace
