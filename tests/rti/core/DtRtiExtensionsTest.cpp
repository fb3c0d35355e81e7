// The functions libhlacore exports beside the HLA 1.3 API.
#include "DtRtiExtensions.hh"

#include <gtest/gtest.h>

#include "CoreTestSupport.h"
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

}  // namespace
