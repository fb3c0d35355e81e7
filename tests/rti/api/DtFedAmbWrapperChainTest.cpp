#include "api/DtFedAmbWrapperChain.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "NullFederateAmbassador.hh"

namespace {

using Log = std::vector<std::string>;

class RecordingFederate : public NullFederateAmbassador {
public:
  explicit RecordingFederate(Log* log) : log_(log) {}
  void federationSaved() override { log_->push_back("F"); }

private:
  Log* log_;
};

class RecordingWrapper : public DtFedAmbWrapper {
public:
  RecordingWrapper(std::string name, Log* log) : name_(std::move(name)), log_(log) {}
  void federationSaved() override {
    log_->push_back(name_);
    DtFedAmbWrapper::federationSaved();
  }
  const std::string& name() const { return name_; }

private:
  std::string name_;
  Log* log_;
};

// One operation on the chain, then the path a callback takes through it.
struct Step {
  const char* operation;   // "add", "remove", "init" or "reset"
  const char* name;        // the name filed under; "A2" files a new wrapper under "A"
  const char* path;        // the wrappers passed, then F; "-" when nothing is linked
  const char* handedBack;  // for add and remove: the wrapper returned, "" for none
};

struct Scenario {
  const char* title;
  std::vector<Step> steps;
};

class DtFedAmbWrapperChainTest : public testing::TestWithParam<Scenario> {
protected:
  std::string path() {
    log_.clear();
    if (chain_.first() == nullptr) return "-";
    chain_.first()->federationSaved();
    std::string joined;
    for (const std::string& name : log_) joined += (joined.empty() ? "" : " ") + name;
    return joined;
  }

  void apply(const Step& step) {
    std::string name = step.name;
    std::string filedUnder = name.substr(0, 1);
    std::unique_ptr<DtFedAmbWrapper> back;
    if (std::string(step.operation) == "add") {
      back = chain_.addWrapper(filedUnder.c_str(), std::make_unique<RecordingWrapper>(name, &log_));
    } else if (std::string(step.operation) == "remove") {
      back = chain_.removeWrapper(filedUnder.c_str());
    } else if (std::string(step.operation) == "init") {
      chain_.init(&federate_);
    } else {
      chain_.reset();
    }
    auto* recording = dynamic_cast<RecordingWrapper*>(back.get());
    EXPECT_EQ(recording ? recording->name() : std::string(), step.handedBack);
  }

  Log log_;
  RecordingFederate federate_{&log_};
  DtFedAmbWrapperChain chain_;
};

TEST_P(DtFedAmbWrapperChainTest, CallbacksFollowTheOrderOfTheChain) {
  for (const Step& step : GetParam().steps) {
    apply(step);
    EXPECT_EQ(path(), step.path) << step.operation << " " << step.name;
  }
}

const Scenario kScenarios[] = {
    {"NoWrapper", {{"init", "", "F", ""}}},
    {"FiledBeforeInitInRegistrationOrder", {{"add", "A", "-", ""}, {"add", "B", "-", ""}, {"init", "", "A B F", ""}}},
    {"AddedWhileLinkedGoesInFront",
     {{"add", "A", "-", ""},
      {"add", "B", "-", ""},
      {"init", "", "A B F", ""},
      {"add", "C", "C A B F", ""},
      {"add", "D", "D C A B F", ""},
      {"remove", "A", "B C D F", "A"}}},
    {"RemovingAnUnknownNameRelinks",
     {{"add", "A", "-", ""}, {"init", "", "A F", ""}, {"add", "C", "C A F", ""}, {"remove", "X", "A C F", ""}}},
    {"ResetUnlinksAndKeepsTheWrappers",
     {{"add", "A", "-", ""},
      {"init", "", "A F", ""},
      {"reset", "", "-", ""},
      {"add", "B", "-", ""},
      {"remove", "A", "-", "A"},
      {"init", "", "B F", ""}}},
    {"RefilingANameHandsTheEarlierWrapperBack",
     {{"add", "A", "-", ""},
      {"add", "B", "-", ""},
      {"init", "", "A B F", ""},
      {"add", "A2", "A2 B F", "A"},
      {"remove", "B", "A2 F", "B"}}},
};

INSTANTIATE_TEST_SUITE_P(Orders, DtFedAmbWrapperChainTest, testing::ValuesIn(kScenarios),
                         [](const testing::TestParamInfo<Scenario>& info) { return std::string(info.param.title); });

}  // namespace
