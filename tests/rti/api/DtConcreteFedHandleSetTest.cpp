#include "api/DtConcreteFedHandleSet.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

std::vector<RTI::FederateHandle> members(const RTI::FederateHandleSet& set) {
  std::vector<RTI::FederateHandle> handles;
  for (RTI::ULong i = 0; i < set.size(); ++i) handles.push_back(set.getHandle(i));
  return handles;
}

TEST(DtConcreteFedHandleSetTest, ZeroCapacityTakesNothing) {
  std::unique_ptr<RTI::FederateHandleSet> set(RTI::FederateHandleSetFactory::create(0));
  EXPECT_THROW(set->add(1), RTI::ValueCountExceeded);
  EXPECT_EQ(set->isMember(0), RTI::RTI_FALSE);
  EXPECT_EQ(set->size(), 0u);
}

TEST(DtConcreteFedHandleSetTest, RemovalMovesTheLastHandleIntoTheGap) {
  DtConcreteFedHandleSet set(4);
  for (RTI::FederateHandle h : {1, 2, 3, 2}) set.add(h);
  EXPECT_THROW(set.add(5), RTI::ValueCountExceeded);
  set.remove(1);
  EXPECT_EQ(members(set), (std::vector<RTI::FederateHandle>{2, 2, 3}));
  set.remove(2);  // the first of the two
  EXPECT_EQ(members(set), (std::vector<RTI::FederateHandle>{3, 2}));
  set.remove(9);
  EXPECT_EQ(members(set), (std::vector<RTI::FederateHandle>{3, 2}));
  EXPECT_EQ(set.isMember(2), RTI::RTI_TRUE);
  EXPECT_THROW(set.getHandle(2), RTI::ArrayIndexOutOfBounds);
  set.empty();
  EXPECT_EQ(set.size(), 0u);
  set.add(7);  // the capacity is kept
  EXPECT_EQ(members(set), (std::vector<RTI::FederateHandle>{7}));
}

TEST(DtConcreteFedHandleSetTest, ACopyHasItsOwnHandles) {
  DtConcreteFedHandleSet set(2);
  set.add(1);
  DtConcreteFedHandleSet copy(set);
  copy.add(2);
  set.remove(1);
  EXPECT_EQ(members(copy), (std::vector<RTI::FederateHandle>{1, 2}));
  EXPECT_EQ(set.size(), 0u);
}

}  // namespace
