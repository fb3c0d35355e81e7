#pragma once
// What the FOM tests share: a small FED model with a little of everything,
// managers read from FED text, advisory sinks that write down what they are
// told, and a way to state an outcome that may be an RTI exception.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "RTI.hh"
#include "config/DtFedReader.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtFomLimits.h"
#include "objects/DtInteractionAdvisorySink.h"
#include "objects/DtObjectAdvisorySink.h"
#include "rti/config/ConfigTestFiles.h"

// Object classes: ObjectRoot 0, RTIprivate 1, Manager 3, Manager.Federate 4,
// Platform 5, Platform.Aircraft 6. Interaction classes: InteractionRoot 0,
// RTIprivate 1, Manager 4, Manager.Federate 5, Radio 6, Radio.Encoded 7.
// Spaces: HlaDefaultSpace 0, Geo 1 (X, Y), Radio 2 (Freq).
inline const std::string fixtureFed = R"((FED (Federation Fixture) (FEDversion v1.3)
  (spaces (space Geo (dimension X) (dimension Y))
          (space Radio (dimension Freq)))
  (objects
    (class ObjectRoot
      (attribute privilegeToDelete reliable timestamp)
      (class RTIprivate)
      (class Manager
        (class Federate (attribute FederateHandle reliable receive)
                        (attribute FederateHost reliable receive)))
      (class Platform (attribute Position best_effort receive Geo)
                      (attribute Speed best_effort timestamp)
        (class Aircraft (attribute Altitude best_effort receive Geo)))))
  (interactions
    (class InteractionRoot best_effort receive
      (class RTIprivate best_effort receive)
      (class Manager reliable receive (parameter Federate)
        (class Federate reliable receive (parameter Handle)))
      (class Radio best_effort timestamp Radio (parameter Frequency) (parameter Power)
        (class Encoded best_effort receive (parameter Data))))))
)";

// A manager read from FED text; null when the reader does not accept it
// (its result in `result`).
inline std::unique_ptr<DtFomClassMgr> fomFromText(const std::string& fed, const DtRIDParameters* rid = nullptr,
                                                  int* result = nullptr) {
  ScratchDirectory dir;
  const std::string file = dir.write("model.fed", fed);
  DtFedReader reader;
  return DtFomClassMgr::loadFed(reader, file.c_str(), rid, result);
}

// The outcome of a call as text: its value, or "throws " and the
// exception's class name.
inline std::string outcome(const std::function<std::string()>& call) {
  try {
    return call();
  } catch (const RTI::Exception& e) {
    return std::string("throws ") + e._name;
  }
}

// The same for a call without a value: "ok" when it returns.
inline std::string outcomeOf(const std::function<void()>& call) {
  return outcome([&] {
    call();
    return std::string("ok");
  });
}

// Puts the tables' starting sizes back when a test changed them.
class FomLimitsGuard {
public:
  FomLimitsGuard() { reset(); }
  ~FomLimitsGuard() { reset(); }
  FomLimitsGuard(const FomLimitsGuard&) = delete;
  FomLimitsGuard& operator=(const FomLimitsGuard&) = delete;

private:
  static void reset() {
    DtFomClassMgr::setMaxClasses(200);
    DtFomClassMgr::setMaxAttributes(300);
    DtFomClassMgr::setMaxInteractions(200);
    DtFomClassMgr::setMaxParameters(300);
    DtFomClassMgr::setMaxSpaces(20);
  }
};

// Writes down every advisory as "<kind> <class handle>".
class RecordingObjectSink : public DtObjectAdvisorySink {
public:
  void addPendingStartReg(std::uint32_t h) override { calls.push_back("start " + std::to_string(h)); }
  void addPendingStopReg(std::uint32_t h) override { calls.push_back("stop " + std::to_string(h)); }
  void addPendingRegister(std::uint32_t h) override { calls.push_back("register " + std::to_string(h)); }
  // What was told since the last take.
  std::vector<std::string> take() { return std::exchange(calls, {}); }
  std::vector<std::string> calls;
};

class RecordingInteractionSink : public DtInteractionAdvisorySink {
public:
  void addPendingStartInters(std::uint32_t h) override { calls.push_back("on " + std::to_string(h)); }
  void addPendingStopInters(std::uint32_t h) override { calls.push_back("off " + std::to_string(h)); }
  std::vector<std::string> take() { return std::exchange(calls, {}); }
  std::vector<std::string> calls;
};

// One step of an advisory story: what is done to a class tree, and the
// advisories its sink must have been given by it.
template <class Tree>
struct AdvisoryStep {
  const char* what;
  std::function<void(Tree&)> act;
  std::vector<std::string> advisories;
};

template <class Tree>
void runSteps(Tree& tree, const std::vector<AdvisoryStep<Tree>>& steps) {
  for (const AdvisoryStep<Tree>& step : steps) {
    step.act(tree);
    EXPECT_EQ(tree.sink.take(), step.advisories) << step.what;
  }
}
