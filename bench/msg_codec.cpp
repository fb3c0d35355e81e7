// Building and reading the hot-path messages: attribute updates and
// interactions in receive order, with 1 to 100 values of 8 to 256 bytes.
//
//   build          the value constructor from a set, in an own buffer
//   build-in-place  the same, in caller memory (a placeholder)
//   read-in-place   a received datagram adopted without a copy, checked
//                (status) and walked value by value (forEachValue)
//   read-to-set  the same, then the decoded set the API hands on (attrs())
// Baselines, measured alike in the same run: memcpy of the message's bytes
// (what any encoder must at least do) and a bare walk of the same bytes with
// no checks. Allocations are counted per message: the in-place read must
// make none.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "api/DtAttrValueSet.h"
#include "api/DtParamValueSet.h"
#include "msg/DtNetNumber.h"
#include "msg/DtUpdateMsgs.h"

namespace {
std::atomic<long> theAllocations{0};
}  // namespace

// Every allocation goes through malloc (operator new and the message
// buffers alike): count them here, except under a sanitizer, which owns
// malloc (the counts then read -1).
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool theCounting = false;
#else
constexpr bool theCounting = true;
extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* malloc(std::size_t n) {
  theAllocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_malloc(n);
}
void* calloc(std::size_t n, std::size_t size) {
  theAllocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_calloc(n, size);
}
void* realloc(void* p, std::size_t n) {
  theAllocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_realloc(p, n);
}
}
#endif

namespace {

using Clock = std::chrono::steady_clock;
volatile long theSink = 0;

struct Result {
  double msgsPerSecond;
  double allocsPerMsg;
};

template <class F>
Result measure(long iterations, F&& f) {
  for (long i = 0; i < iterations / 10; ++i) f();  // warm-up
  const long allocsBefore = theAllocations.load();
  const auto start = Clock::now();
  for (long i = 0; i < iterations; ++i) f();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  const double allocs = theCounting ? static_cast<double>(theAllocations.load() - allocsBefore) / iterations : -1;
  return {iterations / seconds, allocs};
}

// The walk any reader of the list must do, without a single check.
long bareWalk(const char* list) {
  const int n = DtNetU16::read(list);
  long sum = 0;
  const char* entry = list + 2;
  for (int i = 0; i < n; ++i) {
    const int length = DtNetU16::read(entry + 2);
    sum += length + static_cast<unsigned char>(entry[4]);
    entry += 4 + 2 * ((length + 1) / 2);
  }
  return sum;
}

void row(const char* what, int values, int valueBytes, int msgBytes, const Result& r) {
  std::printf("%-16s %4d x %-8s %7d B  %12.0f msg/s  %9.1f MB/s  %5.2f allocs/msg\n", what, values,
              valueBytes ? std::to_string(valueBytes).c_str() : "8..256", msgBytes, r.msgsPerSecond,
              r.msgsPerSecond * msgBytes / 1e6, r.allocsPerMsg);
}

int valueLength(int sizeClass, int i) { return sizeClass ? sizeClass : 8 + (i * 37) % 249; }

template <class Msg, class Set>
void runCase(const char* family, int values, int sizeClass) {
  Set set(static_cast<RTI::ULong>(values));
  std::string bytes(256, 'v');
  for (int i = 0; i < values; ++i) set.add(static_cast<RTI::Handle>(i + 1), bytes.data(), valueLength(sizeClass, i));

  auto make = [&](DtBufferPlaceHolder* where) -> Msg* {
    if constexpr (std::is_same_v<Msg, DtUpdateRoMsg>) {
      return new Msg(5, "radio", 3, set, "tag", where);
    } else {
      return new Msg(3, set, "tag", 0, where);
    }
  };
  Msg* proto = make(nullptr);
  const int size = proto->size();
  std::vector<char> received(proto->data(), proto->data() + size);
  std::vector<char> target(static_cast<std::size_t>(size));
  delete proto;
  const long iterations = std::max(2000L, 40000000L / (size + 200));

  std::printf("-- %s\n", family);
  row("memcpy-baseline", values, sizeClass, size, measure(iterations, [&] {
        std::memcpy(target.data(), received.data(), received.size());
        theSink = theSink + target[static_cast<std::size_t>(size) - 1];
      }));
  row("build", values, sizeClass, size, measure(iterations, [&] {
        if constexpr (std::is_same_v<Msg, DtUpdateRoMsg>) {
          Msg msg(5, "radio", 3, set, "tag", nullptr);
          theSink = theSink + msg.size();
        } else {
          Msg msg(3, set, "tag", 0, nullptr);
          theSink = theSink + msg.size();
        }
      }));
  row("build-in-place", values, sizeClass, size, measure(iterations, [&] {
        if constexpr (std::is_same_v<Msg, DtUpdateRoMsg>) {
          Msg msg(5, "radio", 3, set, "tag", DtPlaceHolderAt(target.data()));
          theSink = theSink + msg.size();
        } else {
          Msg msg(3, set, "tag", 0, DtPlaceHolderAt(target.data()));
          theSink = theSink + msg.size();
        }
      }));
  const int listOffset = size - static_cast<int>(Msg::sizeNeededForNetRep(set));
  row("bare-walk", values, sizeClass, size,
      measure(iterations, [&] { theSink = theSink + bareWalk(received.data() + listOffset); }));
  row("read-in-place", values, sizeClass, size, measure(iterations, [&] {
        Msg msg(reinterpret_cast<const typename Msg::NetBody*>(received.data()), DtPlaceHolderAt(received.data()));
        long sum = msg.status();
        msg.forEachValue(
            [&](std::uint16_t, const char* v, std::uint16_t n) { sum += n + static_cast<unsigned char>(v[0]); });
        theSink = theSink + sum;
      }));
  row("read-to-set", values, sizeClass, size, measure(iterations / 4, [&] {
        Msg msg(reinterpret_cast<const typename Msg::NetBody*>(received.data()), DtPlaceHolderAt(received.data()));
        if constexpr (std::is_same_v<Msg, DtUpdateRoMsg>) {
          theSink = theSink + static_cast<long>(msg.attrs().size());
        } else {
          theSink = theSink + static_cast<long>(msg.params().size());
        }
      }));
}

}  // namespace

int main() {
  std::printf("Message codec: rates per message on one core (Release build to measure)\n");
  for (int values : {1, 10, 21, 100})
    for (int sizeClass : {8, 256, 0}) runCase<DtUpdateRoMsg, DtAttrValueSet>("DtUpdateRoMsg", values, sizeClass);
  for (int values : {1, 10, 21})
    for (int sizeClass : {8, 256})
      runCase<DtInteractionRoMsg, DtParamValueSet>("DtInteractionRoMsg", values, sizeClass);
  return 0;
}
