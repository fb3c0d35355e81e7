// The sorter splits an update's pairs into one value set per transport,
// order and region set, in the order the sets were first needed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FomTestSupport.h"
#include "objects/DtAttrSetSorter.h"

namespace {

struct Pair {
  RTI::Handle handle;
  DtTransportType transport;
  DtOrderType order;
  std::uint32_t regionSet;
};

// A set as "transport/order/region set:handles", e.g. "1/0/7:3,4".
std::string describe(const DtAttrValueSet& set) {
  std::string text = std::to_string(set.transportType()) + "/" + std::to_string(set.orderType()) + "/" +
                     std::to_string(set.regionSet()) + ":";
  for (RTI::ULong i = 0; i < set.size(); ++i) text += (i ? "," : "") + std::to_string(set.getHandle(i));
  return text;
}

std::vector<std::string> sorted(const std::vector<Pair>& pairs) {
  DtAttrSetSorter sorter(8);
  for (const Pair& p : pairs) sorter.add(p.handle, "v", 1, p.transport, p.order, p.regionSet);
  std::vector<std::string> sets;
  for (const auto& set : sorter.sets()) {
    EXPECT_EQ(sorter.find(static_cast<DtTransportType>(set->transportType()),
                          static_cast<DtOrderType>(set->orderType()), set->regionSet()),
              set.get());
    sets.push_back(describe(*set));
  }
  return sets;
}

constexpr DtTransportType BE = DtBestEffort;
constexpr DtTransportType REL = DtReliable;
constexpr DtOrderType RO = DtReceiveOrder;
constexpr DtOrderType TSO = DtTimestampOrder;

TEST(DtAttrSetSorter, GroupsByTransportOrderAndRegionSet) {
  const struct {
    const char* what;
    std::vector<Pair> pairs;
    std::vector<std::string> sets;
  } cases[] = {
      {"one combination shares its set", {{1, BE, RO, 0}, {2, BE, RO, 0}}, {"0/0/0:1,2"}},
      {"every transport and order has its own",
       {{1, BE, RO, 0}, {2, REL, RO, 0}, {3, BE, TSO, 0}, {4, REL, TSO, 0}, {5, REL, RO, 0}},
       {"0/0/0:1", "1/0/0:2,5", "0/1/0:3", "1/1/0:4"}},
      {"region sets split a combination",
       {{1, BE, RO, 7}, {2, BE, RO, 8}, {3, BE, RO, 7}, {4, BE, RO, 0}, {5, BE, RO, 8}},
       {"0/0/7:1,3", "0/0/8:2,5", "0/0/0:4"}},
      {"the last set serves only its own combination",
       {{1, BE, RO, 7}, {2, REL, RO, 7}, {3, BE, TSO, 7}, {4, BE, RO, 7}, {5, BE, RO, 0}, {6, BE, RO, 7}},
       {"0/0/7:1,4,6", "1/0/7:2", "0/1/7:3", "0/0/0:5"}},
      {"a repeated handle is a further pair", {{3, REL, TSO, 2}, {3, REL, TSO, 2}}, {"1/1/2:3,3"}},
  };
  for (const auto& c : cases) EXPECT_EQ(sorted(c.pairs), c.sets) << c.what;
}

TEST(DtAttrSetSorter, SetsWithoutRegionSetIgnoreTheProcessWideDefault) {
  DtAttrValueSet::setDefaultRegion(9);
  EXPECT_EQ(sorted({{1, BE, RO, 0}, {2, BE, RO, 5}}), (std::vector<std::string>{"0/0/0:1", "0/0/5:2"}));
  DtAttrValueSet::setDefaultRegion(0);
}

TEST(DtAttrSetSorter, RemovesFromExistingSetsOnlyAndRefusesWhatCannotBeSorted) {
  DtAttrSetSorter sorter(2);
  sorter.add(1, "a", 1, REL, RO, 0);
  sorter.add(2, "b", 1, REL, RO, 0);
  sorter.add(4, "d", 1, REL, RO, 6);
  EXPECT_EQ(outcome([&] {
              sorter.add(3, "c", 1, REL, RO, 0);
              return "added";
            }),
            "throws ValueCountExceeded");
  EXPECT_EQ(outcome([&] {
              sorter.add(3, "c", 1, static_cast<DtTransportType>(2), RO, 0);
              return "added";
            }),
            "throws InvalidTransportationHandle");
  EXPECT_EQ(outcome([&] {
              sorter.add(3, "c", 1, BE, static_cast<DtOrderType>(2), 0);
              return "added";
            }),
            "throws InvalidOrderingHandle");

  sorter.remove(1, REL, RO, 0);
  sorter.remove(4, REL, RO, 5);  // no such set: nothing happens
  sorter.remove(4, BE, RO, 6);
  sorter.remove(4, REL, static_cast<DtOrderType>(2), 6);
  ASSERT_EQ(sorter.sets().size(), 2u);
  EXPECT_EQ(describe(*sorter.sets()[0]), "1/0/0:2");
  EXPECT_EQ(describe(*sorter.sets()[1]), "1/0/6:4");
  sorter.remove(4, REL, RO, 6);
  EXPECT_EQ(describe(*sorter.sets()[1]), "1/0/6:");
  EXPECT_EQ(sorter.find(BE, RO, 0), nullptr);
  EXPECT_EQ(sorter.find(REL, RO, 5), nullptr);
  EXPECT_EQ(sorter.find(static_cast<DtTransportType>(0), static_cast<DtOrderType>(2), 0), nullptr);
  EXPECT_EQ(sorter.comboIndex(REL, TSO), 3u);
}

}  // namespace
