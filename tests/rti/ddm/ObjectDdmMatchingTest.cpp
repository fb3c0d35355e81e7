// The object data distribution manager's matching between two federates on
// one bus: a subscription pair carries data (the publisher's channel
// joined) exactly while it both overlaps and matches, the classes fit in
// the direction of the data, and every match, overlap and class table entry
// an addition made goes with its removal.
#include <gtest/gtest.h>

#include "ObjectDdmSupport.h"

namespace {

using namespace objddm;

constexpr std::uint32_t a = 3, b = 21;

class ObjectDdmMatching : public ::testing::Test {
protected:
  void TearDown() override {
    subscriber.reset();
    publisher.reset();
  }
  void settle() { deliverAll(bus); }
  Bus bus;
  std::unique_ptr<DdmFederate> publisher = std::make_unique<DdmFederate>(a, &bus);
  std::unique_ptr<DdmFederate> subscriber = std::make_unique<DdmFederate>(b, &bus);
};

// Which entries each side holds for the pair, as text.
std::string publisherSide(DdmFederate& f, DtPubRegionSet& set, DtObjectClassInfo& cls, std::uint32_t remote) {
  return "set " + std::to_string(set.matchCount()) + "/" + std::to_string(set.overlapCount()) + "/" +
         std::to_string(set.matchOverlapCount()) + " lists " + std::to_string(f.objects->pubMatches().count()) + "/" +
         std::to_string(f.objects->pubOverlaps().count()) + "/" +
         std::to_string(f.objects->pubMatchOverlaps().count()) + " class " + subTables(cls, remote);
}
std::string subscriberSide(DdmFederate& f, DtSubRegionSet& set, DtObjectClassInfo& cls, std::uint32_t remote) {
  return "set " + std::to_string(set.matchCount()) + "/" + std::to_string(set.overlapCount()) + "/" +
         std::to_string(set.matchOverlapCount()) + " lists " + std::to_string(f.objects->subMatches().count()) + "/" +
         std::to_string(f.objects->subOverlaps().count()) + "/" +
         std::to_string(f.objects->subMatchOverlaps().count()) + " class " + pubTables(cls, remote) +
         (f.objects->acceptObjectChannel(remote) ? " accepted" : "");
}

TEST(ObjectDdmClasses, AClassHierarchyMatchesInTheDirectionOfTheDataAndLeavesNoEntryBehind) {
  struct Case {
    const char* name;
    RTI::ObjectClassHandle published;
    RTI::ObjectClassHandle subscribed;
    bool matches;
    bool subscribeFirst;    // else the publication comes first
    bool subscriberLeaves;  // else the publisher unassociates
  };
  const Case cases[] = {
      {"same class, publisher leaves", platform, platform, true, true, false},
      {"same class, subscriber leaves", platform, platform, true, false, true},
      {"subclass published, publisher leaves", aircraft, platform, true, true, false},
      {"subclass published, subscriber leaves", aircraft, platform, true, false, true},
      {"subclass published after, subscriber leaves", aircraft, platform, true, true, true},
      {"base class published, publisher leaves", platform, aircraft, false, true, false},
      {"base class published first, subscriber leaves", platform, aircraft, false, false, true},
      // A subscription made after an unrelated publication is tested against
      // that publication's class, not against itself.
      {"unrelated class published first", managerFederate, platform, false, false, true},
      {"unrelated class published after", managerFederate, platform, false, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bus bus;
    const auto publisher = std::make_unique<DdmFederate>(a, &bus);
    const auto subscriber = std::make_unique<DdmFederate>(b, &bus);
    const auto settle = [&] { deliverAll(bus); };
    DtObjectClassInfo& pubClass = publisher->cls(c.published);
    DtObjectClassInfo& subClass = subscriber->cls(c.subscribed);

    DtSubRegionSet* sub = nullptr;
    DtPubRegionSet* pub = nullptr;
    DtRtiObject& object = publisher->publishedObject(c.published, attrs({0, position, speed}));
    const auto subscribe = [&] {
      sub = &subscriber->subscribe(c.subscribed, attrs({position}), subscriber->region({0, 10}, {0, 10}));
      settle();
    };
    const auto publish = [&] {
      pub = &publisher->associate(object, attrs({position}), publisher->region({5, 15}, {5, 15}));
      settle();
    };
    if (c.subscribeFirst) {
      subscribe();
      subscriber->conn->takeGroups();
      publish();
    } else {
      publish();
      subscriber->conn->takeGroups();
      subscribe();
    }
    const std::uint32_t subHandle = sub->regionSetHandle(), pubHandle = pub->regionSetHandle();

    const std::string matched = "set 1/1/1 lists 1/1/1 class matching - overlap 1";
    const std::string apart = "set 0/1/0 lists 0/1/0 class matching - overlap -";
    EXPECT_EQ(publisherSide(*publisher, *pub, pubClass, subHandle), c.matches ? matched : apart);
    EXPECT_EQ(subscriberSide(*subscriber, *sub, subClass, pubHandle), c.matches ? matched + " accepted" : apart);
    EXPECT_EQ(subscriber->conn->takeGroups(),
              c.matches ? std::vector<std::string>{"join 224.0.0.1"} : std::vector<std::string>{});

    if (c.subscriberLeaves) {
      subscriber->unsubscribe(*sub, c.subscribed, attrs({position}));
    } else {
      publisher->unassociate(object, attrs({position}), *pub);
    }
    settle();
    EXPECT_EQ(publisherSide(*publisher, *pub, pubClass, subHandle), apart);
    EXPECT_EQ(subscriberSide(*subscriber, *sub, subClass, pubHandle), apart);
    EXPECT_EQ(subscriber->conn->takeGroups(),
              c.matches ? std::vector<std::string>{"leave 224.0.0.1"} : std::vector<std::string>{});
  }
}

TEST_F(ObjectDdmMatching, AChannelIsJoinedOnceWhenAPairBothOverlapsAndMatchesAndDroppedWhenTheOverlapGoes) {
  DtRegion& mine = subscriber->region({0, 10}, {0, 10});
  DtSubRegionSet& sub = subscriber->subscribe(platform, attrs({position}), mine);
  settle();
  DtRtiObject& object = publisher->publishedObject(platform, attrs({0, position, speed}));
  DtRtiObject& far = publisher->publishedObject(platform, attrs({0, position, speed}));
  subscriber->conn->takeGroups();

  // Overlap only: the set carries an attribute nobody here subscribes.
  DtPubRegionSet& near = publisher->associate(object, attrs({speed}), publisher->region({5, 15}, {5, 15}));
  settle();
  EXPECT_TRUE(sub.isOverlap(near.regionSetHandle()));
  EXPECT_FALSE(sub.isMatch(near.regionSetHandle()));
  // Match only: the subscribed attribute, regions apart.
  DtPubRegionSet& away = publisher->associate(far, attrs({position}), publisher->region({50, 60}, {50, 60}));
  settle();
  EXPECT_TRUE(sub.isMatch(away.regionSetHandle()));
  EXPECT_FALSE(sub.isOverlap(away.regionSetHandle()));
  EXPECT_EQ(subscriber->conn->takeGroups(), std::vector<std::string>{}) << "neither carries data";

  // Both: the near set now carries the subscribed attribute.
  publisher->associate(object, attrs({position}), *near.region(near.regionList().begin()->handle));
  settle();
  EXPECT_TRUE(sub.isMatchOverlap(near.regionSetHandle()));
  EXPECT_EQ(subscriber->conn->takeGroups(), std::vector<std::string>{"join " + DottedAddress(near.address())});
  EXPECT_EQ(subscriber->amb.take(), (std::vector<std::string>{"discover 300001 5 300001"}));

  // The subscriber's region moves away: the overlap, and the channel, go.
  subscriber->move(mine, {100, 110}, {100, 110});
  subscriber->objects->subRegionChanged(mine);
  EXPECT_FALSE(sub.isOverlap(near.regionSetHandle()));
  EXPECT_TRUE(sub.isMatch(near.regionSetHandle())) << "it still matches";
  EXPECT_FALSE(subscriber->objects->acceptObjectChannel(near.regionSetHandle()));
  EXPECT_EQ(subscriber->conn->takeGroups(), std::vector<std::string>{"leave " + DottedAddress(near.address())});
  EXPECT_EQ(pubTables(subscriber->cls(platform), near.regionSetHandle()), "matching 1 overlap -");
  // And back: joined again.
  subscriber->move(mine, {0, 10}, {0, 10});
  subscriber->objects->subRegionChanged(mine);
  EXPECT_EQ(subscriber->conn->takeGroups(), std::vector<std::string>{"join " + DottedAddress(near.address())});
  EXPECT_EQ(pubTables(subscriber->cls(platform), near.regionSetHandle()), "matching - overlap 1");
}

TEST_F(ObjectDdmMatching, AChannelStaysWhileAnotherSubscriptionSetOfTheFederateStillCarriesIt) {
  DtRegion& first = subscriber->region({0, 10}, {0, 10});
  DtRegion& second = subscriber->region({0, 10}, {0, 10});
  subscriber->subscribe(platform, attrs({position}), first);
  subscriber->subscribe(aircraft, attrs({position}), second);
  settle();
  DtRtiObject& object = publisher->publishedObject(aircraft, attrs({0, position}));
  const DtPubRegionSet& pub = publisher->associate(object, attrs({position}), publisher->region({5, 15}, {5, 15}));
  settle();
  EXPECT_EQ(subscriber->conn->takeGroups(), std::vector<std::string>{"join " + DottedAddress(pub.address())});

  subscriber->move(first, {100, 110}, {100, 110});
  subscriber->objects->subRegionChanged(first);
  EXPECT_TRUE(subscriber->objects->acceptObjectChannel(pub.regionSetHandle()));
  EXPECT_EQ(subscriber->conn->takeGroups(), std::vector<std::string>{}) << "the second set still carries it";
  subscriber->move(second, {100, 110}, {100, 110});
  subscriber->objects->subRegionChanged(second);
  EXPECT_EQ(subscriber->conn->takeGroups(), std::vector<std::string>{"leave " + DottedAddress(pub.address())});
}

}  // namespace
