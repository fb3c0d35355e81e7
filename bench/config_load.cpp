// Start-up costs of the RTI's configuration: constructing the RID parameters
// from the documented example rid.mtl (every key set), and reading the large
// FED test model (several hundred classes) into a builder.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "config/DtFedReader.h"
#include "config/DtFomBuilder.h"
#include "config/DtRIDParameters.h"
#include "util/DtNotify.h"

namespace {

const std::filesystem::path sourceRoot = std::filesystem::path(__FILE__).parent_path().parent_path();

// Counts the calls, so the reader does everything a real builder sees.
class CountingBuilder : public DtFomBuilder {
public:
  void addSpace(const char*) override { ++calls; }
  void addDimension(const char*, const char*) override { ++calls; }
  void addInterClass(const char*, const char*, DtTransportType, DtOrderType, const char*) override { ++calls; }
  void addObjClass(const char*, const char*) override { ++calls; }
  void addParameter(const char*, const char*) override { ++calls; }
  void addAttribute(const char*, const char*, DtTransportType, DtOrderType, const char*) override { ++calls; }
  std::uint32_t calls = 0;
};

void RidFileLoad(benchmark::State& state) {
  const std::string example = (sourceRoot / "rti/config/rid.mtl").string();
  setenv("RTI_RID_FILE", example.c_str(), 1);
  DtSetNotifyLevel(0);  // no "Loading Config File" per round
  for (auto _ : state) {
    DtRIDParameters parameters;
    benchmark::DoNotOptimize(parameters.udpPort());
  }
  DtSetNotifyLevel(2);
  unsetenv("RTI_RID_FILE");
}
BENCHMARK(RidFileLoad)->Unit(benchmark::kMicrosecond);

void FedLargeRead(benchmark::State& state) {
  const std::string fed = (sourceRoot / "tests/rti/config/data/large-fom.fed").string();
  DtSetNotifyLevel(1);
  std::uint32_t calls = 0;
  for (auto _ : state) {
    CountingBuilder builder;
    DtFedReader reader;
    if (reader.readFed(fed.c_str(), &builder) != DtFedReader::accepted) state.SkipWithError("FED file not accepted");
    calls = builder.calls;
  }
  DtSetNotifyLevel(2);
  state.counters["builderCalls"] = calls;
}
BENCHMARK(FedLargeRead)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
