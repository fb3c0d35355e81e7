#pragma once
// The round trip every message class must survive: built from values, its
// bytes read back through the default factory (from a heap copy of exactly
// their size) give a sound message of the same kind and class whose bytes,
// printed form and clones equal the original's.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "net/DtDfltMsgFactory.h"
#include "net/DtRtiMsg.h"
#include "rti/util/NotifyCapture.h"

struct RoundTrip {
  const char* name;
  std::function<DtRtiMsg*()> build;
  DtRtiMsgKind kind;
  std::string golden;  // the expected bytes, where a case fixes them
};

inline std::string bytesOf(const DtRtiMsg& msg) { return std::string(msg.data(), static_cast<std::size_t>(msg.size())); }

inline std::string printed(const DtRtiMsg& msg, NotifyCapture& capture) {
  capture.clear();
  msg.print();
  return capture.text();
}

inline void checkRoundTrip(const RoundTrip& c) {
  SCOPED_TRACE(c.name);
  NotifyCapture capture(2);
  std::unique_ptr<DtRtiMsg> built(c.build());
  ASSERT_NE(built, nullptr);
  EXPECT_EQ(built->msgKind(), c.kind);
  EXPECT_EQ(built->internalDtRtiMsgKind(), c.kind);
  EXPECT_EQ(built->status(), DtRtiMsg::Valid);
  EXPECT_EQ(built->netHeader()->length(), built->size());
  if (!c.golden.empty()) {
    EXPECT_EQ(bytesOf(*built), c.golden);
  }

  DtDfltMsgFactory factory;
  std::vector<char> exact(built->data(), built->data() + built->size());
  int status = -1;
  std::unique_ptr<DtRtiMsg> received(
      factory.createReceived(exact.data(), static_cast<int>(exact.size()), DtPlaceHolderAt(exact.data()), &status));
  ASSERT_NE(received, nullptr);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(typeid(*received), typeid(*built));
  EXPECT_EQ(received->data(), exact.data());
  EXPECT_EQ(printed(*received, capture), printed(*built, capture));

  std::unique_ptr<DtRtiMsg> copy(received->clone(1));
  EXPECT_EQ(bytesOf(*copy), bytesOf(*built));
  EXPECT_EQ(printed(*copy, capture), printed(*built, capture));
  std::unique_ptr<DtRtiMsg> empty(received->clone(0));
  std::unique_ptr<DtRtiMsg> made(factory.create(c.kind, nullptr));
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(typeid(*empty), typeid(*built));
  EXPECT_EQ(bytesOf(*empty), bytesOf(*made));
  EXPECT_EQ(made->status(), DtRtiMsg::Valid);
}
