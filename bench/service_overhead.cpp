// What the ambassador adds to a service call: getObjectClassHandle, which
// the FOM class manager answers, called a million times through
// RTI::RTIambassador with no observer and with one, against the class
// manager's own look-up of the same name (the baseline). Below notify level
// 3, so nothing is traced. The federate is "joined" by a stand-in federate
// manager that holds the FOM read from the sample FED file.
//
// Then what the management object model adds: the same call in a federate
// really joined (serverless, on the loopback, the MOM test model) with the
// MOM off, with the MOM joined and service reporting off, and with
// reporting on (one ReportServiceInvocation sent per call), in that order,
// beside the call followed by one interaction of the report's class and
// size sent by the federate without the MOM.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "BenchFederation.h"
#include "BenchFreePort.h"
#include "BenchMomReporting.h"
#include "NullFederateAmbassador.hh"
#include "RTI.hh"
#include "api/DtRtiAmbassadorObserver.h"
#include "config/DtFedReader.h"
#include "config/DtRIDParameters.h"
#include "core/DtFederateMgr.h"
#include "core/DtRtiAmbassadorImplementor.h"
#include "objects/DtFomClassMgr.h"
#include "util/DtNotify.h"

namespace {

const std::filesystem::path sourceRoot = QLX_SOURCE_ROOT;
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

// ---- the management object model's share

// A federate joined to a federation of its own (its own port and group),
// with RTI_momServiceAvailable as asked and, when asked, service reporting
// turned on as a federate turns it on: a SetServiceReporting to every
// federate, which its own MOM takes in.
struct MomFederate {
  MomFederate(bool mom, bool reporting) {
    const int port = BenchFreeUdpPort();
    const std::uint32_t group = (239u << 24) | (81u << 16) | static_cast<std::uint32_t>(port & 0xFFFF);
    std::ifstream in(sourceRoot / "tests/rti/mom/data/mom.fed");
    BenchFederation::Options options{"service_overhead",
                                     "MomBench",
                                     std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()),
                                     0,
                                     std::string("(setq RTI_momServiceAvailable ") + (mom ? "1" : "0") + ")\n",
                                     false};
    files = std::make_unique<BenchFederation>(port, group, options);
    DtFederateMgr::setCreatorFunction(nullptr);
    DtRtiAmbassadorImplementor::setCreatorFunction(nullptr);
    ambassador = std::make_unique<RTI::RTIambassador>();
    ambassador->createFederationExecution("MomBench", files->fedFile().c_str());
    ambassador->joinFederationExecution("bench", "MomBench", &federateAmbassador);
    if (reporting && !BenchTurnMomReportingOn(
                         *ambassador, [this] { ambassador->tick(0.01, 0.01); }, 300)) {
      std::fprintf(stderr, "service_overhead: service reporting did not come on\n");
      std::exit(1);
    }
  }
  ~MomFederate() {
    try {
      ambassador->resignFederationExecution(RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES);
      ambassador->destroyFederationExecution("MomBench");
    } catch (const RTI::Exception&) {
    }
  }
  std::unique_ptr<BenchFederation> files;
  NullFederateAmbassador federateAmbassador;
  std::unique_ptr<RTI::RTIambassador> ambassador;
};

void callThrough(benchmark::State& state, bool mom, bool reporting) {
  // The stand-in federate of the first benchmarks is done with.
  static_cast<void>(federate());
  MomFederate f(mom, reporting);
  for (auto _ : state) benchmark::DoNotOptimize(f.ambassador->getObjectClassHandle("Vehicle"));
}

// What one report costs at most: the call, then one interaction of the
// report's class and size sent through the public interface by a federate
// without the MOM that subscribes the class itself.
void JoinedNoMomCallAndSend(benchmark::State& state) {
  static_cast<void>(federate());
  MomFederate f(false, false);
  RTI::RTIambassador& rti = *f.ambassador;
  const RTI::InteractionClassHandle report =
      rti.getInteractionClassHandle("Manager.Federate.Report.ReportServiceInvocation");
  rti.publishInteractionClass(report);
  rti.subscribeInteractionClass(report, RTI::RTI_TRUE);
  const std::unique_ptr<RTI::ParameterHandleValuePairSet> values(RTI::ParameterSetFactory::create(11));
  const std::pair<const char*, const char*> texts[] = {{"Federate", "1"},
                                                       {"Service", "getObjectClassHandle"},
                                                       {"Initiator", "FED"},
                                                       {"SuccessIndicator", "True"},
                                                       {"SuppliedArgument1", "Vehicle"},
                                                       {"SuppliedArgument2", "4"},
                                                       {"SuppliedArgument3", ""},
                                                       {"SuppliedArgument4", ""},
                                                       {"SuppliedArgument5", ""},
                                                       {"ReturnedArgument", ""},
                                                       {"ExceptionDescription", ""}};
  for (const auto& [name, text] : texts) {
    values->add(rti.getParameterHandle(name, report), text, static_cast<RTI::ULong>(std::strlen(text) + 1));
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(rti.getObjectClassHandle("Vehicle"));
    rti.sendInteraction(report, *values, "");
  }
}
BENCHMARK(JoinedNoMomCallAndSend)->Iterations(calls / 5);

void JoinedNoMom(benchmark::State& state) { callThrough(state, false, false); }
BENCHMARK(JoinedNoMom)->Iterations(calls);

void JoinedMomReportingOff(benchmark::State& state) { callThrough(state, true, false); }
BENCHMARK(JoinedMomReportingOff)->Iterations(calls);

void JoinedMomReportingOn(benchmark::State& state) { callThrough(state, true, true); }
BENCHMARK(JoinedMomReportingOn)->Iterations(calls / 5);

}  // namespace

BENCHMARK_MAIN();
