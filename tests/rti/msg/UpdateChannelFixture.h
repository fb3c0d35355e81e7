#pragma once
// The fixture of the update and interaction messages' tests: each runs with
// the data-distribution channel switch on and off.

#include <gtest/gtest.h>

#include "msg/DtUpdateMsgs.h"

// Runs with the data-distribution switches as given, and puts them back.
class DtUpdateMsgsTest : public ::testing::TestWithParam<bool> {
protected:
  void SetUp() override { setChannels(GetParam()); }
  void TearDown() override { setChannels(false); }
  static void setChannels(bool on) {
    DtUpdateMsg::setChannelIncluded(on);
    DtInteractionMsg::setChannelIncluded(on);
  }
};
