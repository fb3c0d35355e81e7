// The toolkit's string and containers against the plain standard container
// doing the same work, in the same run, at 100 to 100,000 entries: appends,
// look-ups by handle and by name, time-ordered inserts and a record that
// advances past all others. What counts is that the toolkit's cost per
// operation stays flat as the count grows (goal: the largest figure within
// 2x of the smallest); the standard container's figures show what the
// machine itself adds at each size (caches).
//
// Each figure is the best of several rounds, both sides measured alike; a
// build case times only the building, not making or freeing the container.
#include <malloc.h>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "util/DtHashlist.h"
#include "util/DtSortedList.h"
#include "util/DtString.h"
#include "util/DtStringKey.h"
#include "util/DtUlongKey.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int rounds = 7;
constexpr std::size_t sizes[] = {100, 1000, 10000, 100000};
// Operations per round, so that small sizes are not lost in clock reads.
constexpr std::size_t opsPerRound = 400000;

// Keeps a result alive so the compiler cannot drop the work.
volatile std::uintptr_t sink;
void keep(const void* p) { sink = sink + reinterpret_cast<std::uintptr_t>(p); }

double nanosecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::nano>(Clock::now() - start).count();
}

// Builds a batch of containers of n entries each round; times the filling.
template <class Make, class Fill>
double buildCost(std::size_t n, Make make, Fill fill) {
  const std::size_t batch = std::max<std::size_t>(1, opsPerRound / n);
  double best = std::numeric_limits<double>::max();
  for (int round = 0; round < rounds; ++round) {
    {
      std::vector<decltype(make())> containers;
      for (std::size_t b = 0; b < batch; ++b) containers.push_back(make());
      const Clock::time_point start = Clock::now();
      for (auto& container : containers) fill(*container, n);
      best = std::min(best, nanosecondsSince(start) / static_cast<double>(batch * n));
    }
    // A large request makes the allocator gather the small blocks the
    // round freed, here rather than inside the next round's timing.
    std::free(std::malloc(1 << 20));
  }
  return best;
}

// Runs opsPerRound operations on a container already holding n entries.
template <class Op>
double steadyCost(Op op) {
  double best = std::numeric_limits<double>::max();
  for (int round = 0; round < rounds; ++round) {
    const Clock::time_point start = Clock::now();
    for (std::size_t i = 0; i < opsPerRound; ++i) op(i);
    best = std::min(best, nanosecondsSince(start) / static_cast<double>(opsPerRound));
  }
  return best;
}

// Look-ups visit the entries in turn with a stride, as a federate's objects
// and handles are met again and again, not at random addresses.
std::vector<std::uint32_t> lookupOrder(std::size_t n) {
  std::vector<std::uint32_t> order(opsPerRound);
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<std::uint32_t>((i * 7) % n);
  return order;
}

// ---- DtString += against std::string += -------------------------------

double appendToolkit(std::size_t n) {
  return buildCost(
      n, [] { return std::make_unique<DtString>(); },
      [](DtString& s, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) s += "ab";
        keep(s.string());
      });
}

double appendStandard(std::size_t n) {
  return buildCost(
      n, [] { return std::make_unique<std::string>(); },
      [](std::string& s, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) s += "ab";
        keep(s.data());
      });
}

// ---- DtHashlist against std::unordered_map -----------------------------

double addByHandleToolkit(std::size_t n) {
  static int datum;
  return buildCost(
      n, [] { return std::make_unique<DtHashlist>(119); },
      [](DtHashlist& table, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) table.add(DtUlongKey(static_cast<std::uint32_t>(i)), &datum);
      });
}

double addByHandleStandard(std::size_t n) {
  static int datum;
  using Map = std::unordered_map<std::uint32_t, void*>;
  return buildCost(
      n, [] { return std::make_unique<Map>(); },
      [](Map& map, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) map[static_cast<std::uint32_t>(i)] = &datum;
      });
}

double findByHandleToolkit(std::size_t n) {
  std::vector<int> data(n);
  DtHashlist table(119);
  for (std::size_t i = 0; i < n; ++i) table.add(DtUlongKey(static_cast<std::uint32_t>(i)), &data[i]);
  const std::vector<std::uint32_t> order = lookupOrder(n);
  return steadyCost([&](std::size_t i) { keep(table.find(DtUlongKey(order[i]))); });
}

double findByHandleStandard(std::size_t n) {
  std::vector<int> data(n);
  std::unordered_map<std::uint32_t, void*> map;
  for (std::size_t i = 0; i < n; ++i) map[static_cast<std::uint32_t>(i)] = &data[i];
  const std::vector<std::uint32_t> order = lookupOrder(n);
  return steadyCost([&](std::size_t i) { keep(map.find(order[i])->second); });
}

// A name arrives as text (from a federate's call or a message), and the
// look-up is made with it: both sides read the same names.
std::vector<std::string> radioNames(std::size_t n) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < n; ++i) names.push_back("Radio" + std::to_string(i));
  return names;
}

double findByNameToolkit(std::size_t n) {
  const std::vector<std::string> names = radioNames(n);
  std::vector<int> data(n);
  DtHashlist table(119);
  for (std::size_t i = 0; i < n; ++i) table.add(DtStringKey(names[i].c_str()), &data[i]);
  const std::vector<std::uint32_t> order = lookupOrder(n);
  return steadyCost([&](std::size_t i) { keep(table.find(DtStringKey(names[order[i]].c_str()))); });
}

double findByNameStandard(std::size_t n) {
  const std::vector<std::string> names = radioNames(n);
  std::vector<int> data(n);
  std::unordered_map<std::string, void*> map;
  for (std::size_t i = 0; i < n; ++i) map[names[i]] = &data[i];
  const std::vector<std::uint32_t> order = lookupOrder(n);
  return steadyCost([&](std::size_t i) { keep(map.find(names[order[i]])->second); });
}

// ---- DtSortedList against std::multiset (which also files equal keys
// after the ones present) -------------------------------------------------

// Time stamps as they arrive: two messages per time, or a little out of
// order (up to 16 steps late).
std::uint32_t inOrderKey(std::size_t i) { return static_cast<std::uint32_t>(i / 2); }
std::uint32_t jitteredKey(std::size_t i) { return static_cast<std::uint32_t>(i + (i * 2654435761u >> 7) % 16); }

template <std::uint32_t (*Key)(std::size_t)>
double insertToolkit(std::size_t n) {
  return buildCost(
      n, [] { return std::make_unique<DtSortedList>(); },
      [](DtSortedList& list, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) list.insert(Key(i));
      });
}

template <std::uint32_t (*Key)(std::size_t)>
double insertStandard(std::size_t n) {
  using Set = std::multiset<std::uint32_t>;
  return buildCost(
      n, [] { return std::make_unique<Set>(); },
      [](Set& set, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) set.insert(Key(i));
      });
}

// The least record's time moves past every other one (a federate that
// advances), so it goes from the head to the tail.
double advanceToolkit(std::size_t n) {
  DtSortedList list;
  for (std::size_t i = 0; i < n; ++i) list.insert(static_cast<std::uint32_t>(i));
  std::uint32_t next = static_cast<std::uint32_t>(n);
  return steadyCost([&](std::size_t) {
    DtSortedListItem* least = list.head();
    least->setKey(next++);
    list.reposition(least);
  });
}

double advanceStandard(std::size_t n) {
  std::multiset<std::uint32_t> set;
  for (std::size_t i = 0; i < n; ++i) set.insert(static_cast<std::uint32_t>(i));
  std::uint32_t next = static_cast<std::uint32_t>(n);
  return steadyCost([&](std::size_t) {
    auto node = set.extract(set.begin());
    node.value() = next++;
    set.insert(std::move(node));
  });
}

// What a look-up walks, whatever the caches do: the mean length of the
// buckets that hold the keys.
template <class Key>
double meanBucketLength(std::size_t n) {
  std::vector<Key> keys;
  for (std::size_t i = 0; i < n; ++i) {
    if constexpr (std::is_same_v<Key, DtUlongKey>) {
      keys.emplace_back(static_cast<std::uint32_t>(i));
    } else {
      keys.emplace_back(("Radio" + std::to_string(i)).c_str());
    }
  }
  DtHashlist table(119);
  for (Key& key : keys) table.add(key, &key);
  double total = 0;
  for (const Key& key : keys) total += table.bucket(key)->count();
  return total / static_cast<double>(n);
}

struct Case {
  const char* toolkit;
  const char* standard;
  double (*toolkitCost)(std::size_t);
  double (*standardCost)(std::size_t);
};

const Case cases[] = {
    {"DtString += \"ab\"", "std::string +=", appendToolkit, appendStandard},
    {"DtHashlist add, handle", "unordered_map insert", addByHandleToolkit, addByHandleStandard},
    {"DtHashlist find, handle", "unordered_map find", findByHandleToolkit, findByHandleStandard},
    {"DtHashlist find, name", "unordered_map<string> find", findByNameToolkit, findByNameStandard},
    {"DtSortedList insert, in order", "multiset insert", insertToolkit<inOrderKey>, insertStandard<inOrderKey>},
    {"DtSortedList insert, <=16 late", "multiset insert", insertToolkit<jitteredKey>, insertStandard<jitteredKey>},
    {"DtSortedList head to tail", "multiset extract+insert", advanceToolkit, advanceStandard},
};

}  // namespace

int main() {
  // Freed memory stays in the process, as in a program that runs on: no
  // round pays for pages that an earlier one gave back.
  mallopt(M_MMAP_THRESHOLD, 256 << 20);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  std::printf("Cost per operation in ns (best of %d rounds); toolkit / standard container, same run\n\n", rounds);
  std::printf("%-32s %-28s", "toolkit", "standard");
  for (std::size_t n : sizes) std::printf(" %17zu", n);
  std::printf("  %-14s %s\n", "toolkit flat", "standard flat");
  bool allFlat = true;
  for (const Case& c : cases) {
    double toolkit[std::size(sizes)];
    double standard[std::size(sizes)];
    for (std::size_t s = 0; s < std::size(sizes); ++s) {
      // The baseline first, then the toolkit, at each size.
      standard[s] = c.standardCost(sizes[s]);
      toolkit[s] = c.toolkitCost(sizes[s]);
    }
    std::printf("%-32s %-28s", c.toolkit, c.standard);
    for (std::size_t s = 0; s < std::size(sizes); ++s) std::printf(" %7.1f / %7.1f", toolkit[s], standard[s]);
    const auto [tMin, tMax] = std::minmax_element(std::begin(toolkit), std::end(toolkit));
    const auto [sMin, sMax] = std::minmax_element(std::begin(standard), std::end(standard));
    const double flat = *tMax / *tMin;
    allFlat = allFlat && flat <= 2.0;
    std::printf("  %5.2fx %-7s %5.2fx\n", flat, flat <= 2.0 ? "" : "(>2)", *sMax / *sMin);
  }
  std::printf("\nMean length of the bucket a look-up walks:");
  for (std::size_t n : sizes)
    std::printf("  %zu: handle %.2f, name %.2f;", n, meanBucketLength<DtUlongKey>(n), meanBucketLength<DtStringKey>(n));
  std::printf("\n\"flat\" is the largest figure over the smallest across the sizes (goal for the toolkit: <= 2).\n");
  std::printf("%s\n", allFlat ? "Every toolkit case is flat within 2x." : "Some toolkit case is not flat within 2x.");
  return 0;
}
