#pragma once
// What the time management tests of the federate and of the rtiexec share:
// times written and read as text ("inf" for infinity), a message read back
// through the message factory as its receivers read it, and scenarios of
// script lines, each followed by the lines ("> ...") it must log, exactly
// and in order.

#include <gtest/gtest.h>

#include <charconv>
#include <memory>
#include <string>
#include <vector>

#include "fedtime.hh"
#include "msg/DtDfltMsgFactory.h"
#include "msg/DtRtiMsg.h"

namespace timescript {

inline std::string text(const RTI::FedTime& time) {
  const double value = dynamic_cast<const RTIfedTime&>(time).getTime();
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, end.ptr);
}

inline RTIfedTime timeOf(const std::string& word) {
  RTIfedTime t(0.0);
  if (word == "inf") {
    t.setPositiveInfinity();
  } else {
    t = RTIfedTime(std::stod(word));
  }
  return t;
}

// The message as a receiver reads it: its bytes through the factory (null
// when they are refused).
inline std::unique_ptr<DtRtiMsg> reread(const DtRtiMsg& msg) {
  static DtDfltMsgFactory factory;
  std::vector<char> bytes(msg.data(), msg.data() + msg.size());
  int status = -1;
  return std::unique_ptr<DtRtiMsg>(
      factory.createReceived(bytes.data(), static_cast<int>(bytes.size()), nullptr, &status));
}

struct Scenario {
  const char* name;
  std::vector<std::string> lines;
};

// Runs each line with run(line), which returns what it logged.
template <class Run>
void play(const Scenario& scenario, Run&& run) {
  const auto& lines = scenario.lines;
  for (std::size_t i = 0; i < lines.size();) {
    const std::string command = lines[i++];
    std::vector<std::string> expected;
    while (i < lines.size() && lines[i].rfind("> ", 0) == 0) expected.push_back(lines[i++].substr(2));
    EXPECT_EQ(run(command), expected) << scenario.name << ": after \"" << command << "\"";
  }
}

}  // namespace timescript
