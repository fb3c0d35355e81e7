#include "objects/DtRequestDatabase.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "HandleSets.h"

namespace {

struct Request {
  std::uint32_t federate;
  DtAttributeHandleSet attributes;
  bool cancel = false;  // cancel these attributes after the requests
};

struct ReleaseCase {
  const char* what;
  std::vector<Request> requests;
  DtAttributeHandleSet release;
  std::uint32_t receiver;
  Handles released;
  std::optional<Handles> rest;  // none: left as it was
};

class ReleaseRequested : public ::testing::TestWithParam<ReleaseCase> {};

TEST_P(ReleaseRequested, GivesTheRequesterOfTheLowestRequestedAttributeWhatItAskedFor) {
  const ReleaseCase& c = GetParam();
  DtRequestDatabase db;
  for (const Request& r : c.requests) {
    if (r.cancel) {
      db.cancelRemoteRequest(r.attributes);
    } else {
      db.addRemoteRequest(r.attributes, r.federate);
    }
  }
  DtAttributeHandleSet released = attrs({300});  // emptied first
  DtAttributeHandleSet rest = attrs({39});

  EXPECT_EQ(db.releaseRequested(c.release, &released, &rest), c.receiver) << c.what;
  EXPECT_EQ(members(released), c.released) << c.what;
  EXPECT_EQ(members(rest), c.rest.value_or(Handles{39})) << c.what;
  for (std::uint32_t a : c.released) EXPECT_EQ(db.pendingRemoteRequest(a), 0u) << c.what;
  EXPECT_TRUE(db.canceledRequestSet().setIntersection(c.release).isEmpty()) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReleaseRequested,
    ::testing::Values(
        ReleaseCase{"NobodyAsked", {}, attrs({1, 2}), 0, {}, std::nullopt},
        ReleaseCase{"AskedForOthers", {{7, attrs({5})}}, attrs({1}), 0, {}, std::nullopt},
        ReleaseCase{"OneRequesterOfAll", {{7, attrs({1, 2})}}, attrs({1, 2}), 7, {1, 2}, Handles{}},
        // 3 was asked for by 7, then by 9, which now holds the request.
        ReleaseCase{"TwoOverlappingRequesters",
                    {{7, attrs({2, 3})}, {9, attrs({1, 3})}},
                    attrs({1, 2, 3, 4}),
                    9,
                    {1, 3},
                    Handles{2, 4}},
        ReleaseCase{
            "TheLowestDecides", {{7, attrs({2, 33})}, {9, attrs({40})}}, attrs({2, 33, 40}), 7, {2, 33}, Handles{40}},
        ReleaseCase{"ACancelledRequestIsNotReleased",
                    {{7, attrs({1})}, {0, attrs({1}), true}},
                    attrs({1}),
                    0,
                    {},
                    std::nullopt}),
    [](const ::testing::TestParamInfo<ReleaseCase>& info) { return std::string(info.param.what); });

TEST(DtRequestDatabase, WhatOneReleaseLeavesALaterReleaseGivesToItsRequester) {
  DtRequestDatabase db;
  db.addRemoteRequest(attrs({2, 3}), 7);
  db.addRemoteRequest(attrs({1, 3}), 9);
  DtAttributeHandleSet released, rest;
  ASSERT_EQ(db.releaseRequested(attrs({1, 2, 3, 4}), &released, &rest), 9u);
  EXPECT_EQ(db.releaseRequested(rest, &released, &rest), 7u);
  EXPECT_EQ(members(released), (Handles{2}));
  EXPECT_EQ(members(rest), (Handles{4}));
  EXPECT_EQ(db.requestCount(), 0);
}

TEST(DtRequestDatabase, ARequestAfterACancellationIsNoLongerCancelled) {
  DtRequestDatabase db;
  db.addRemoteRequest(attrs({1, 2}), 7);
  db.cancelRemoteRequest(attrs({1}));
  EXPECT_TRUE(db.isRequestCanceled(1));
  EXPECT_EQ(db.pendingRemoteRequest(1), 0u);
  EXPECT_EQ(db.pendingRemoteRequest(2), 7u);
  EXPECT_EQ(db.requestCount(), 1);
  EXPECT_EQ(members(db.canceledRequestSet()), (Handles{1}));

  db.addRemoteRequest(attrs({1}), 8);
  EXPECT_FALSE(db.isRequestCanceled(1));
  EXPECT_EQ(db.pendingRemoteRequest(1), 8u);
  EXPECT_EQ(members(db.requestedByFed(8)), (Handles{1}));
  EXPECT_EQ(members(db.requestedByFed(7)), (Handles{2}));
  EXPECT_EQ(db.requestCount(), 2);

  db.cancelRemoteRequest(attrs({2}));
  db.removeCanceledRequests(attrs({2}));
  EXPECT_TRUE(db.canceledRequestSet().isEmpty());
}

TEST(DtRequestDatabase, ACopyIsIndependent) {
  DtRequestDatabase db;
  db.addRemoteRequest(attrs({4, 319}), 3);
  DtRequestDatabase copy(db);
  db.removeRemoteRequest(attrs({4, 319}));
  EXPECT_EQ(copy.pendingRemoteRequest(319), 3u);
  EXPECT_EQ(copy.requestCount(), 2);
  EXPECT_EQ(db.requestCount(), 0);
}

}  // namespace
