// Start-up costs of the RTI's configuration: constructing the RID parameters
// from the documented example rid.mtl (every key set), reading the large FED
// test model (several hundred classes) into a builder that only counts (the
// baseline), and into the FOM class manager, which builds the class tree.
// Reading FED files of 20,000 and 80,000 classes (the time per class stays
// flat as the language's symbol table grows), beside a plain scan of the
// same bytes. Then the FOM's name look-ups in models of 16 to 4096 classes,
// beside a scan of the classes in handle order (what a look-up costs
// without the index).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "config/DtFedReader.h"
#include "config/DtFomBuilder.h"
#include "config/DtRIDParameters.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtObjectClassInfo.h"
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

void FomLargeBuild(benchmark::State& state) {
  const std::string fed = (sourceRoot / "tests/rti/config/data/large-fom.fed").string();
  DtSetNotifyLevel(1);
  int classes = 0;
  for (auto _ : state) {
    DtFedReader reader;
    const auto fom = DtFomClassMgr::loadFed(reader, fed.c_str(), nullptr);
    if (!fom) state.SkipWithError("FED file not accepted");
    classes = fom ? fom->numClasses() + fom->numInteractions() : 0;
  }
  DtSetNotifyLevel(2);
  state.counters["classes"] = classes;
}
BENCHMARK(FomLargeBuild)->Unit(benchmark::kMillisecond);

// A FED file of `count` object classes under the root, an attribute each,
// written once per size into the temporary folder.
std::string syntheticFedFile(int count) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("bench-config-load-" + std::to_string(count) + ".fed");
  if (!std::filesystem::exists(path)) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    std::fputs(
        "(FED (Federation Synthetic) (FEDversion v1.3) (spaces)\n"
        " (objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp)\n",
        file);
    for (int i = 0; i < count; ++i) {
      std::fprintf(file, "  (class Platform%d (attribute Position best_effort receive))\n", i);
    }
    std::fputs(" ))\n (interactions (class InteractionRoot best_effort receive)))\n", file);
    std::fclose(file);
  }
  return path.string();
}

// Reading a FED file of many classes: its time per class should not grow
// with the number of classes.
void FedSyntheticRead(benchmark::State& state) {
  const std::string fed = syntheticFedFile(static_cast<int>(state.range(0)));
  DtSetNotifyLevel(1);
  for (auto _ : state) {
    CountingBuilder builder;
    DtFedReader reader;
    if (reader.readFed(fed.c_str(), &builder) != DtFedReader::accepted) state.SkipWithError("FED file not accepted");
  }
  DtSetNotifyLevel(2);
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(FedSyntheticRead)->Arg(20000)->Arg(80000)->Unit(benchmark::kMillisecond);

// Baseline: the same file's bytes read and its lists counted, with no
// language behind it.
void FedSyntheticScan(benchmark::State& state) {
  const std::string fed = syntheticFedFile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::FILE* file = std::fopen(fed.c_str(), "r");
    std::uint32_t lists = 0;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) lists += c == '(';
    std::fclose(file);
    benchmark::DoNotOptimize(lists);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(FedSyntheticScan)->Arg(20000)->Arg(80000)->Unit(benchmark::kMillisecond);

// A model of `count` object classes under the root, three attributes each.
std::unique_ptr<DtFomClassMgr> syntheticFom(int count, std::vector<std::string>& names) {
  auto fom = std::make_unique<DtFomClassMgr>();
  fom->addObjClass("ObjectRoot", nullptr);
  fom->addAttribute("ObjectRoot", "privilegeToDelete", DtReliable, DtTimestampOrder, nullptr);
  names.clear();
  for (int i = 0; i < count; ++i) {
    const std::string name = "ObjectRoot.Platform" + std::to_string(i);
    fom->addObjClass(name.c_str(), "ObjectRoot");
    for (const char* attribute : {"Position", "Velocity", "Orientation"}) {
      fom->addAttribute(name.c_str(), attribute, DtBestEffort, DtReceiveOrder, nullptr);
    }
    names.push_back("Platform" + std::to_string(i));  // without the root, as federates often write it
  }
  return fom;
}

// The look-ups the support services use: a class by name, then one of its
// attributes.
void FomClassLookUp(benchmark::State& state) {
  std::vector<std::string> names;
  const auto fom = syntheticFom(static_cast<int>(state.range(0)), names);
  std::size_t i = 0;
  for (auto _ : state) {
    const unsigned long handle = fom->classHandle(names[i].c_str());
    benchmark::DoNotOptimize(fom->attrHandle("Orientation", handle));
    i = (i * 7 + 1) % names.size();
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(FomClassLookUp)->RangeMultiplier(16)->Range(16, 4096);

// Baseline: the classes scanned in handle order with their own name test.
void FomClassScan(benchmark::State& state) {
  std::vector<std::string> names;
  const auto fom = syntheticFom(static_cast<int>(state.range(0)), names);
  std::size_t i = 0;
  for (auto _ : state) {
    unsigned long found = 0;
    for (int h = 0; h < fom->numClasses(); ++h) {
      const DtObjectClassInfo* c = fom->classByHandle(static_cast<unsigned long>(h));
      if (c && c->isName(names[i].c_str())) {
        found = c->handle();
        break;
      }
    }
    benchmark::DoNotOptimize(fom->attrHandle("Orientation", found));
    i = (i * 7 + 1) % names.size();
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(FomClassScan)->RangeMultiplier(16)->Range(16, 4096);

}  // namespace

BENCHMARK_MAIN();
