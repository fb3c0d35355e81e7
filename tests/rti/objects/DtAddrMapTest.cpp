#include "objects/DtAddrMap.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

constexpr float theLongDelay = 3600.0f;  // never runs out during a test
constexpr float theShortDelay = 0.01f;

// Waits until a short delay has surely run out.
void outwaitShortDelay() { std::this_thread::sleep_for(std::chrono::milliseconds(30)); }

TEST(DtAddrMap, ALocalAddressIsHeldBackUntilItsDelayRunsOutThenAnsweredForGood) {
  DtAddrMap map(0, theShortDelay);
  map.setDelay(theLongDelay);
  map.addLocalAddrMap(7, 0xE0000001);
  EXPECT_EQ(map.localAddrMap(7), 0u);
  EXPECT_FALSE(map.addrMapDelayExpired(7));

  map.setDelay(theShortDelay);
  outwaitShortDelay();
  EXPECT_EQ(map.localAddrMap(7), 0xE0000001u);
  // The delay ended with that answer: a longer delay set now does not hide it.
  map.setDelay(theLongDelay);
  EXPECT_EQ(map.localAddrMap(7), 0xE0000001u);
  EXPECT_TRUE(map.addrMapDelayExpired(7));
}

TEST(DtAddrMap, ReMappingAHandleRestartsItsDelay) {
  DtAddrMap map(0, theShortDelay);
  map.addLocalAddrMap(7, 0xE0000001);
  outwaitShortDelay();
  ASSERT_EQ(map.localAddrMap(7), 0xE0000001u);

  map.setDelay(theLongDelay);
  map.addLocalAddrMap(7, 0xE0000002);
  EXPECT_EQ(map.localAddrMap(7), 0u);
  map.addLocalAddrMap(7, 0xE0000003);  // again while its delay runs
  map.setDelay(theShortDelay);
  outwaitShortDelay();
  EXPECT_EQ(map.localAddrMap(7), 0xE0000003u);
}

TEST(DtAddrMap, TheOwnHandleMapsToNoAddressWhateverTheDelay) {
  for (float delay : {0.0f, theShortDelay, theLongDelay}) {
    DtAddrMap map(0, delay);
    EXPECT_EQ(map.ownHandle(), 0u);
    EXPECT_EQ(map.localAddrMap(0), 0u) << delay;
    outwaitShortDelay();
    EXPECT_EQ(map.localAddrMap(0), 0u) << delay;
    EXPECT_EQ(map.remoteAddrMap(0), 0u) << delay;
  }
}

TEST(DtAddrMap, RemoteAddressesAreAnsweredAtOnceAndApartFromLocalOnes) {
  DtAddrMap map(0, theLongDelay);
  map.addRemoteAddrMap(300002, 0xE0000009);
  map.addLocalAddrMap(100002, 0xE0000005);
  EXPECT_EQ(map.remoteAddrMap(300002), 0xE0000009u);
  EXPECT_EQ(map.remoteAddrMap(100002), 0u);
  EXPECT_EQ(map.localAddrMap(300002), 0u);
  EXPECT_TRUE(map.addrMapDelayExpired(300002));  // remote handles have no delay

  map.removeRemoteAddrMap(300002);
  EXPECT_EQ(map.remoteAddrMap(300002), 0u);
  map.addRemoteAddrMap(300003, 0xE000000A);
  map.empty();
  EXPECT_EQ(map.remoteAddrMap(300003), 0u);
  EXPECT_TRUE(map.addrMapDelayExpired(100002));
  EXPECT_EQ(map.localAddrMap(100002), 0u);
}

TEST(DtAddrMap, RemovingALocalHandleForgetsItsAddressAndItsDelay) {
  DtAddrMap map(0, theLongDelay);
  map.addLocalAddrMap(5, 0xE0000001);
  map.removeLocalAddrMap(5);
  EXPECT_TRUE(map.addrMapDelayExpired(5));
  EXPECT_EQ(map.localAddrMap(5), 0u);
}

TEST(DtAddrMap, ACopyHoldsBackWhatTheOriginalHoldsBack) {
  DtAddrMap map(4, theLongDelay);
  map.addLocalAddrMap(5, 0xE0000001);
  map.addRemoteAddrMap(6, 0xE0000002);
  DtAddrMap copy(map);
  EXPECT_EQ(copy.ownHandle(), 4u);
  EXPECT_EQ(copy.delay(), theLongDelay);
  EXPECT_EQ(copy.localAddrMap(5), 0u);
  EXPECT_EQ(copy.remoteAddrMap(6), 0xE0000002u);
  copy.setDelay(0.0f);
  EXPECT_EQ(copy.localAddrMap(5), 0xE0000001u);
  EXPECT_EQ(map.localAddrMap(5), 0u);  // the original keeps its own delays
}

}  // namespace
