// What the ambassador adds to a service call: getObjectClassHandle, which
// the FOM class manager answers, called a million times through
// RTI::RTIambassador with no observer and with one, against the class
// manager's own look-up of the same name (the baseline). Below notify level
// 3, so nothing is traced. The federate is "joined" by a stand-in federate
// manager that holds the FOM read from the sample FED file.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "RTI.hh"
#include "api/DtRtiAmbassadorObserver.h"
#include "config/DtFedReader.h"
#include "config/DtRIDParameters.h"
#include "core/DtFederateMgr.h"
#include "core/DtRtiAmbassadorImplementor.h"
#include "objects/DtFomClassMgr.h"
#include "util/DtNotify.h"

namespace {

const std::filesystem::path sourceRoot = std::filesystem::path(__FILE__).parent_path().parent_path();
const char* const className = "ObjectRoot.Sample.Moving";
constexpr int calls = 1000000;

// A federate manager that is joined from the start, with its FOM.
class JoinedFederateMgr : public DtFederateMgr {
public:
  // No connection manager: the calls measured never reach the network.
  explicit JoinedFederateMgr(DtRIDParameters* params) : DtFederateMgr(params, nullptr) {
    setJoinedNames("bench", "Bench");
    DtFedReader reader;
    fom_ = DtFomClassMgr::loadFed(reader, (sourceRoot / "rti/config/sample.fed").c_str(), params);
  }
  void createFederationExecution(const char*, const char*) override {}
  void destroyFederationExecution(const char*) override {}
  RTI::FederateHandle joinFederationExecution(const char*, const char*, RTI::FederateAmbassador*) override { return 1; }
  void registerFederationSynchronizationPoint(const char*, const char*, const RTI::FederateHandleSet&) override {}
  void registerFederationSynchronizationPoint(const char*, const char*) override {}
  void synchronizationPointAchieved(const char*) override {}
  void requestFederationSave(const char*, const RTI::FedTime*) override {}
  void federateSaveBegun() override {}
  void federateSaveComplete() override {}
  void federateSaveNotComplete() override {}
  void requestFederationRestore(const char*) override {}
  void federateRestoreComplete() override {}
  void federateRestoreNotComplete() override {}
  void testSaveProgress() override {}

  static DtFederateMgr* make(DtRIDParameters* params) { return new JoinedFederateMgr(params); }
};

// Keeps the result where the compiler must assume it is read.
class SinkObserver : public DtRtiAmbassadorObserver {
public:
  void getObjectClassHandle(const char*, RTI::ObjectClassHandle& result, RTI::Exception*) override {
    benchmark::DoNotOptimize(result);
  }
};

DtRtiAmbassadorImplementor* lastImplementor = nullptr;

class RememberedImplementor : public DtRtiAmbassadorImplementor {
public:
  explicit RememberedImplementor(DtRIDParameters* params) : DtRtiAmbassadorImplementor(params, nullptr) {
    lastImplementor = this;
  }
  static DtRtiAmbassadorImplementor* make(DtRIDParameters* params) { return new RememberedImplementor(params); }
};

// One ambassador for the run, made in a scratch directory (its log file
// goes there) with the default RID parameters.
struct Federate {
  Federate() {
    directory = std::filesystem::temp_directory_path() / ("qlx-bench-service-" + std::to_string(getpid()));
    std::filesystem::create_directories(directory);
    std::filesystem::current_path(directory);
    unsetenv("RTI_RID_FILE");
    unsetenv("RTI_CONFIG");
    DtFederateMgr::setCreatorFunction(&JoinedFederateMgr::make);
    DtRtiAmbassadorImplementor::setCreatorFunction(&RememberedImplementor::make);
    DtSetNotifyLevel(1);
    ambassador = std::make_unique<RTI::RTIambassador>();
    DtSetNotifyLevel(1);
    implementor = lastImplementor;
  }
  ~Federate() {
    ambassador.reset();
    std::filesystem::current_path(directory.parent_path());
    std::filesystem::remove_all(directory);
  }
  std::filesystem::path directory;
  std::unique_ptr<RTI::RTIambassador> ambassador;
  DtRtiAmbassadorImplementor* implementor = nullptr;
};

Federate& federate() {
  static Federate instance;
  return instance;
}

void FomLookUpBaseline(benchmark::State& state) {
  DtFomClassMgr& fom = *federate().implementor->fomMgr();
  for (auto _ : state) benchmark::DoNotOptimize(fom.classHandle(className));
}
BENCHMARK(FomLookUpBaseline)->Iterations(calls);

void AmbassadorNoObserver(benchmark::State& state) {
  RTI::RTIambassador& ambassador = *federate().ambassador;
  for (auto _ : state) benchmark::DoNotOptimize(ambassador.getObjectClassHandle(className));
}
BENCHMARK(AmbassadorNoObserver)->Iterations(calls);

void AmbassadorOneObserver(benchmark::State& state) {
  Federate& f = federate();
  f.implementor->addObserver("sink", new SinkObserver);
  for (auto _ : state) benchmark::DoNotOptimize(f.ambassador->getObjectClassHandle(className));
  delete f.implementor->removeObserver("sink");
}
BENCHMARK(AmbassadorOneObserver)->Iterations(calls);

}  // namespace

BENCHMARK_MAIN();
