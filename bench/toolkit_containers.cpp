// The toolkit's strings and containers on the paths the RTI uses most:
// names copied around, look-ups by handle and by name, time-ordered inserts.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "util/DtHashlist.h"
#include "util/DtSortedList.h"
#include "util/DtString.h"
#include "util/DtStringKey.h"
#include "util/DtUlongKey.h"

static void StringCopyShort(benchmark::State& state) {
  const DtString name("HLAobjectRoot.BaseEntity.PhysicalEntity");
  for (auto _ : state) {
    DtString copy(name);
    benchmark::DoNotOptimize(copy.string());
  }
}
BENCHMARK(StringCopyShort);

// Appending grows to the exact size each time, so building a long text one
// piece at a time reallocates on every append once past the inline buffer.
static void StringAppendPieces(benchmark::State& state) {
  for (auto _ : state) {
    DtString text;
    for (int i = 0; i < state.range(0); ++i) text += "piece ";
    benchmark::DoNotOptimize(text.string());
  }
}
BENCHMARK(StringAppendPieces)->Arg(10)->Arg(100)->Arg(1000);

static void HashlistFindByHandle(benchmark::State& state) {
  const auto n = static_cast<std::uint32_t>(state.range(0));
  DtHashlist table(119);
  std::vector<int> data(n);
  for (std::uint32_t i = 0; i < n; ++i) table.add(DtUlongKey(i), &data[i]);
  std::uint32_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(table.find(DtUlongKey(next)));
    next = (next + 7) % n;
  }
}
BENCHMARK(HashlistFindByHandle)->Arg(100)->Arg(1000)->Arg(10000);

static void HashlistFindByName(benchmark::State& state) {
  const auto n = static_cast<std::uint32_t>(state.range(0));
  DtHashlist table(119);
  std::vector<DtStringKey> keys;
  for (std::uint32_t i = 0; i < n; ++i) keys.emplace_back(("Federate" + std::to_string(i)).c_str());
  for (std::uint32_t i = 0; i < n; ++i) table.add(keys[i], &keys[i]);
  std::uint32_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(table.find(keys[next]));
    next = (next + 7) % n;
  }
}
BENCHMARK(HashlistFindByName)->Arg(100)->Arg(1000);

static void HashlistAddRemove(benchmark::State& state) {
  DtHashlist table(119);
  int data = 0;
  std::uint32_t key = 0;
  for (auto _ : state) {
    table.add(DtUlongKey(key), &data);
    table.remove(DtUlongKey(key));
    ++key;
  }
}
BENCHMARK(HashlistAddRemove);

// Time-stamped messages mostly arrive in order: the insert walks the list.
static void SortedListInsertInOrder(benchmark::State& state) {
  for (auto _ : state) {
    DtSortedList list;
    for (std::uint32_t k = 0; k < static_cast<std::uint32_t>(state.range(0)); ++k) list.insert(k);
    benchmark::DoNotOptimize(list.count());
  }
}
BENCHMARK(SortedListInsertInOrder)->Arg(100)->Arg(1000);

BENCHMARK_MAIN();
