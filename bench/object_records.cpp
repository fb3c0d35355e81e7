// What an object record costs on the heap, per object, for the radio case
// (a class of 21 attributes): as a federate that discovered it keeps it, as
// the owner keeps it with one and with three remote subscribers, and beside
// it two baselines measured in the same run: the object's name alone in a
// standard string (the floor any record pays), and one 119-bucket toolkit
// hash table per object (what a per-object table of the default size would
// add by itself). Goal: an object of 21 attributes well under 2 KiB.
//
// Heap use is glibc's count of bytes in use (mallinfo2) before and after
// making 10,000 of a kind, divided by the count; the container of pointers
// is reserved beforehand and not counted.
#include <malloc.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "api/DtAttributeHandleSet.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtRtiObject.h"
#include "util/DtHashlist.h"

namespace {

constexpr std::size_t count = 10000;

std::size_t heapInUse() { return mallinfo2().uordblks; }

template <class T, class Make>
double bytesPerObject(Make make) {
  std::vector<std::unique_ptr<T>> kept;
  kept.reserve(count);
  const std::size_t before = heapInUse();
  for (std::size_t i = 0; i < count; ++i) kept.push_back(make(i));
  const std::size_t after = heapInUse();
  return static_cast<double>(after - before) / count;
}

std::string nameOf(std::size_t i) { return "qlxMon.host" + std::to_string(100000 + i); }

}  // namespace

int main() {
  DtObjectClassInfo root("ObjectRoot", nullptr, 0);
  root.addAttr("privilegeToDelete", DtReliable, DtTimestampOrder);
  DtObjectClassInfo radio("ObjectRoot.EmbeddedSystem.RadioTransmitter", &root, 3);
  for (int i = 1; i <= 20; ++i) radio.addAttr(("attribute" + std::to_string(i)).c_str(), DtBestEffort, DtReceiveOrder);
  DtAttributeHandleSet all = radio.allAttrs();
  std::printf("object records of a class of %u attributes, %zu objects of each kind\n", radio.numAttributes(), count);
  std::printf("  sizeof(DtRtiObject)                          %6zu bytes\n", sizeof(DtRtiObject));

  const double name =
      bytesPerObject<std::string>([](std::size_t i) { return std::make_unique<std::string>(nameOf(i)); });
  const double table = bytesPerObject<DtHashlist>([](std::size_t) { return std::make_unique<DtHashlist>(119); });
  const double discovered = bytesPerObject<DtRtiObject>([&](std::size_t i) {
    return std::make_unique<DtRtiObject>(static_cast<std::uint32_t>(500001 + i), nameOf(i).c_str(), &radio, &radio);
  });
  radio.publish(all, nullptr);
  auto owned = [&](int subscribers) {
    return bytesPerObject<DtRtiObject>([&](std::size_t i) {
      auto o = std::make_unique<DtRtiObject>(static_cast<std::uint32_t>(300001 + i), nameOf(i).c_str(), &radio);
      for (int f = 1; f <= subscribers; ++f) o->remoteSubscribe(static_cast<std::uint32_t>(f), all);
      return o;
    });
  };
  const double ownedOne = owned(1);
  const double ownedThree = owned(3);

  std::printf("  baseline: the name alone (std::string)       %6.0f bytes per object\n", name);
  std::printf("  baseline: one 119-bucket DtHashlist          %6.0f bytes per object\n", table);
  std::printf("  discovered (reflecting federate)             %6.0f bytes per object\n", discovered);
  std::printf("  registered, 1 remote subscriber on all 21    %6.0f bytes per object\n", ownedOne);
  std::printf("  registered, 3 remote subscribers on all 21   %6.0f bytes per object\n", ownedThree);
  const double worst = std::max(discovered, std::max(ownedOne, ownedThree));
  std::printf("goal: well under 2048 bytes per object: %s (largest %.0f, %.2f of 2 KiB)\n",
              worst < 1536 ? "met" : "NOT met", worst, worst / 2048.0);
  return 0;
}
