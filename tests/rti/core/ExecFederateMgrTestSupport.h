#pragma once
// For the tests of the federate manager with the rtiexec: a connection
// manager whose received messages the test queues, the federate manager
// over it, the rtiexec's answers, and a fixture with a federate manager made
// and initialised under the recording managers.

#include <gtest/gtest.h>

#include <deque>
#include <memory>

#include "CoreTestSupport.h"
#include "FederateMgrTestSupport.h"
#include "core/DtRtiExecFederateMgr.h"
#include "rti/util/NotifyCapture.h"

inline const std::string sampleFed = readWholeFile(QLX_SOURCE_ROOT "/rti/config/sample.fed");

// What is received comes from a queue, one at each look; the answers the
// test queued arrive once the next request went out. Waiting takes no time.
class AnsweringConnectionMgr : public RecordingConnectionMgr {
public:
  using RecordingConnectionMgr::RecordingConnectionMgr;
  int send(const DtRtiMsg& msg, DtTransportType transport, unsigned long address) override {
    while (!answers.empty()) {
      received.push_back(std::move(answers.front()));
      answers.pop_front();
    }
    return RecordingConnectionMgr::send(msg, transport, address);
  }
  DtRtiMsg* getMessage() override {
    if (received.empty()) return nullptr;
    DtRtiMsg* msg = received.front().release();
    received.pop_front();
    return msg;
  }
  char wait(double) override { return 0; }
  // The messages kept for the tick first, as the connection manager's tick.
  RTI::Boolean tick() override { return processPendingMsg() ? RTI::RTI_TRUE : RecordingConnectionMgr::tick(); }
  std::deque<std::unique_ptr<DtRtiMsg>> answers;
  std::deque<std::unique_ptr<DtRtiMsg>> received;
};

class TestExecFederateMgr : public FederateMgrOver<DtRtiExecFederateMgr, AnsweringConnectionMgr> {
public:
  using FederateMgrOver::FederateMgrOver;
  std::uint16_t ticket() const { return static_cast<std::uint16_t>(localNumber() % 0xFFFFu + 1); }
};

inline std::unique_ptr<DtRtiMsg> joinAnswer(unsigned long to, const char* federate, unsigned long handle, int error = 0,
                                            const char* execution = "X") {
  auto msg = std::make_unique<DtJoinResponseMsg>(to, federate, 3, execution, DtString("X.fed"), handle, error, nullptr);
  return msg;
}

template <class Response>
inline std::unique_ptr<DtRtiMsg> answer(const char* execution, int flag, unsigned long ticket) {
  auto msg = std::make_unique<Response>(execution, flag, nullptr);
  msg->setFederateHandle(ticket);
  return msg;
}

class RtiExecFedMgrTest : public ::testing::Test {
protected:
  void SetUp() override {
    rid.directory().write("X.fed", sampleFed);
    params = std::make_unique<DtRIDParameters>();
    fedMgr = std::make_unique<TestExecFederateMgr>(params.get(), log);
    fedMgr->init(nullptr);
  }
  void TearDown() override { fedMgr.reset(); }
  AnsweringConnectionMgr& connection() { return fedMgr->connection(); }
  std::deque<std::unique_ptr<DtRtiMsg>>& answers() { return connection().answers; }
  unsigned long local() const { return fedMgr->localNumber(); }
  RTI::FederateHandle join(const char* federate = "F1") {
    return fedMgr->joinFederationExecution(federate, "X", &fedAmb);
  }
  std::vector<int> sentKinds() const {
    std::vector<int> kinds;
    for (const auto& msg : fedMgr->connection().sent) kinds.push_back(msg->msgKind());
    return kinds;
  }

  NotifyCapture capture{3};
  ManagerLog log;
  RecordingScope recording{log};
  NullFederateAmbassador fedAmb;
  RidScope rid{"(setq RTI_useRtiExec 1)\n(setq RTI_responseInterval 0.05)\n(setq RTI_dumpFed 0)\n"};
  std::unique_ptr<DtRIDParameters> params;
  std::unique_ptr<TestExecFederateMgr> fedMgr;
};
