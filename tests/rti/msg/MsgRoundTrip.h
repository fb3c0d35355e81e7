#pragma once
// The round trip every message class must survive: built from values, its
// bytes read back through the default factory (from a heap copy of exactly
// their size) give a sound message of the same kind and class whose bytes,
// printed form and clones equal the original's. The cases of a family of
// messages are a RoundTripTable, which registers their kinds, so that a walk
// of the kind table finds every kind that travels among them.

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <typeinfo>
#include <vector>

#include "msg/DtDfltMsgFactory.h"
#include "msg/DtRtiMsg.h"
#include "rti/util/NotifyCapture.h"

struct RoundTrip {
  const char* name;
  std::function<DtRtiMsg*()> build;
  DtRtiMsgKind kind;
  std::string golden;  // the expected bytes, where a case fixes them
};

// The kinds of the round-trip cases of the program's tables.
inline std::set<int>& kindsWithARoundTrip() {
  static std::set<int> kinds;
  return kinds;
}

// The round-trip cases of a family of messages, at namespace scope: made
// when the program starts, the table enters its cases' kinds in
// kindsWithARoundTrip(), and its test runs its cases.
class RoundTripTable {
public:
  RoundTripTable(std::initializer_list<RoundTrip> cases) : cases_(cases) {
    for (const RoundTrip& c : cases_) kindsWithARoundTrip().insert(c.kind);
  }
  std::vector<RoundTrip>::const_iterator begin() const { return cases_.begin(); }
  std::vector<RoundTrip>::const_iterator end() const { return cases_.end(); }

private:
  std::vector<RoundTrip> cases_;
};

inline std::string bytesOf(const DtRtiMsg& msg) {
  return std::string(msg.data(), static_cast<std::size_t>(msg.size()));
}

inline std::string printed(const DtRtiMsg& msg, NotifyCapture& capture) {
  capture.clear();
  msg.print();
  return capture.text();
}

// A received body, read from a heap copy of exactly its bytes (so that a
// read past its end is caught), with its header's length made to agree;
// null when it is not sound, and then what the receiving connection would
// report in `refused`.
inline std::unique_ptr<DtRtiMsg> receiveExact(std::string bytes, std::string* refused = nullptr) {
  bytes[0] = static_cast<char>(bytes.size() >> 8);
  bytes[1] = static_cast<char>(bytes.size());
  std::vector<char> exact(bytes.begin(), bytes.end());
  DtDfltMsgFactory factory;
  std::unique_ptr<DtRtiMsg> msg(factory.create(DtNetMsgHeader::at(exact.data()), nullptr));
  const int status = msg ? msg->status() : DtRtiMsg::TooShort;
  if (status == DtRtiMsg::Valid) return msg;
  if (refused && msg) *refused = msg->statusText(status);
  return nullptr;
}

// The bytes with the big-endian field of `width` bytes at `at` set to `value`.
inline std::string withField(std::string bytes, int at, std::uint32_t value, int width = 4) {
  for (int i = 0; i < width; ++i) bytes[at + i] = static_cast<char>(value >> (8 * (width - 1 - i)));
  return bytes;
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
