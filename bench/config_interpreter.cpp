// The configuration interpreter on the work the RTI gives it: making an
// interpreter, loading a RID-sized script of assignments to host variables,
// reading a FOM-sized FED expression, and running a loop in the language.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "config/DtMtlEnvironment.h"
#include "config/DtlObj.h"
#include "config/DtlReader.h"
#include "config/DtlStringStream.h"
#include "util/DtNotify.h"

namespace {

// Fifty assignments, as a RID file makes them: ints, floats and strings.
std::string ridScript() {
  std::string script;
  for (int i = 0; i < 40; ++i) script += "(setq RTI_int" + std::to_string(i) + " " + std::to_string(1000 + i) + ")\n";
  for (int i = 0; i < 5; ++i) script += "(setq RTI_float" + std::to_string(i) + " 2.5)\n";
  for (int i = 0; i < 5; ++i)
    script += "(setq RTI_string" + std::to_string(i) + " \"229.7.7." + std::to_string(i) + "\")\n";
  return script;
}

// A FED expression of `classes` object classes with five attributes each.
std::string fedText(int classes) {
  std::string text = "(FED (Federation f) (FEDversion v1.3) (spaces) (objects (class ObjectRoot\n";
  for (int c = 0; c < classes; ++c) {
    text += "  (class Class" + std::to_string(c);
    for (int a = 0; a < 5; ++a) text += " (attribute attr" + std::to_string(a) + " reliable timestamp)";
    text += ")\n";
  }
  text += ")) (interactions (class InteractionRoot reliable receive)))";
  return text;
}

struct Quiet {
  Quiet() { DtSetNotifyLevel(1); }
  ~Quiet() { DtSetNotifyLevel(2); }
};

}  // namespace

static void InterpreterCreate(benchmark::State& state) {
  for (auto _ : state) {
    DtMtlEnvironment env;
    benchmark::DoNotOptimize(env.environment().get());
  }
}
BENCHMARK(InterpreterCreate);

static void LoadRidScript(benchmark::State& state) {
  const Quiet quiet;
  DtMtlEnvironment env;
  std::vector<int> ints(40);
  std::vector<float> floats(5);
  std::vector<const char*> strings(5, "");
  for (int i = 0; i < 40; ++i) env.registerVariable(("RTI_int" + std::to_string(i)).c_str(), &ints[i]);
  for (int i = 0; i < 5; ++i) env.registerVariable(("RTI_float" + std::to_string(i)).c_str(), &floats[i]);
  for (int i = 0; i < 5; ++i) env.registerVariable(("RTI_string" + std::to_string(i)).c_str(), &strings[i]);
  const std::string script = ridScript();
  for (auto _ : state) benchmark::DoNotOptimize(env.loadExpr(script.c_str()).get());
}
BENCHMARK(LoadRidScript);

static void ReadFedExpression(benchmark::State& state) {
  DtMtlEnvironment env;
  const std::string text = fedText(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    DtlStringStream stream(text.c_str());
    benchmark::DoNotOptimize(lread(&stream, env.environment()).get());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(ReadFedExpression)->Arg(100)->Arg(1000);

static void TailLoop(benchmark::State& state) {
  DtMtlEnvironment env;
  env.loadExpr("(define (loop n) (if (= n 0) 'done (loop (- n 1))))");
  const std::string call = "(loop " + std::to_string(state.range(0)) + ")";
  for (auto _ : state) benchmark::DoNotOptimize(env.loadExpr(call.c_str()).get());
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(TailLoop)->Arg(10000);

BENCHMARK_MAIN();
