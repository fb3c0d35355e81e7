// The functions libhlacore exports beside the HLA 1.3 API.
#include "DtRtiExtensions.hh"

#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "rti/net/ConnTestSupport.h"
#include "rti/util/NotifyCapture.h"

namespace {

TEST(DtRtiExtensionsTest, TheNotifyLevelIsSetForTheWholeProcess) {
  RidScope rid;
  RTI::RTIambassador ambassador;
  NotifyCapture notify(2);
  setRtiNotifyLevel(&ambassador, 0);
  DtNotifyError("error\n");
  DtNotifyDebug("debug\n");
  EXPECT_EQ(notify.text(), "");
  setRtiNotifyLevel(nullptr, 3);
  DtNotifyVerbose("verbose\n");
  DtNotifyDebug("debug\n");
  EXPECT_EQ(notify.text(), "verbose\n");
}

TEST(DtRtiExtensionsTest, WithoutAConnectionManagerThereIsNothingToWaitOn) {
  FakeFederateMgr::Install withoutConnections;
  RidScope rid;
  RTI::RTIambassador ambassador;
  EXPECT_EQ(DtReadFileDescriptor(&ambassador), -1);
  EXPECT_EQ(DtReadFileEvent(&ambassador, 0), -1);
}

// An ambassador whose federate manager has a connection manager made from
// the RID file, on a port and group of the test's own.
struct ConnectedFederate {
  explicit ConnectedFederate(const std::string& forms) : rid(nettest::ridText(port, forms)) {
    ambassador = std::make_unique<RTI::RTIambassador>();
    FakeFederateMgr::last->connect();
  }
  nettest::FederationPort port;
  FakeFederateMgr::Install install;
  RidScope rid;
  std::unique_ptr<RTI::RTIambassador> ambassador;
};

TEST(DtRtiExtensionsTest, SynchronousIoGivesTheSocketsOfTheConnections) {
  ConnectedFederate federate("");
  RTI::RTIambassador* ambassador = federate.ambassador.get();
  const int udp = DtReadFileDescriptor(ambassador);
  EXPECT_GE(udp, 0);
  EXPECT_EQ(DtReadFileDescriptor(ambassador, 0), udp);
  EXPECT_EQ(RtReadFileDescriptor(ambassador), udp);
  EXPECT_EQ(DtReadFileDescriptor(ambassador, 1), -1);  // no reliable connection
  EXPECT_EQ(DtReadFileEvent(ambassador, 0), udp);
  EXPECT_EQ(DtReadFileEvent(ambassador, 1), -1);
}

TEST(DtRtiExtensionsTest, AsynchronousIoGivesOneEventAndNoSocket) {
  ConnectedFederate federate("(setq RTI_asynchronousIO 1)");
  RTI::RTIambassador* ambassador = federate.ambassador.get();
  EXPECT_EQ(DtReadFileDescriptor(ambassador, 0), -1);
  EXPECT_EQ(DtReadFileDescriptor(ambassador, 1), -1);
  const int event = DtReadFileEvent(ambassador, 0);
  EXPECT_GE(event, 0);
  EXPECT_EQ(DtReadFileEvent(ambassador, 1), event);
}

}  // namespace
