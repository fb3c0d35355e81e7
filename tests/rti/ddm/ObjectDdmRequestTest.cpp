// Class-wide update requests with a region between two federates: the
// refusals in their order, and what the owner is asked to provide when the
// requesting set overlaps its publication set or does not.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ObjectDdmSupport.h"

namespace {

using namespace objddm;
using Lines = std::vector<std::string>;

TEST(ObjectDdmRequest, AClassRequestWithARegionIsRefusedInOrderOrAnsweredForWhatItsSetReaches) {
  // B owns an Aircraft whose Position is associated with RB; its Altitude
  // has no publication set. A asks from regions near RB and far from it.
  DdmPair pair;
  DdmFederate& a = pair.a;
  DdmFederate& b = pair.b;
  DtRegion& rb = b.region({0, 10}, {0, 10});
  DtRtiObject& plane = b.publishedObject(aircraft, attrs({0, position, altitude}));
  b.associate(plane, attrs({position}), rb);
  DtRegion& near = a.region({5, 15}, {5, 15});
  DtRegion& far = a.region({50, 60}, {50, 60});
  DtRegion& radio = *a.ddm->createRegion(2, 1);
  radio.setRangeLowerBound(0, 0, 1);
  radio.setRangeUpperBound(0, 0, 2);
  a.ddm->notifyAboutRegionModification(radio);
  pair.settle();
  b.amb.take();
  const std::string provide = "provide " + std::to_string(plane.objHandle()) + " ";

  struct Case {
    const char* what;
    RTI::ObjectClassHandle theClass;
    DtAttributeHandleSet attributes;
    const RTI::Region* region;
    std::string outcome;
    Lines asked;  // of B
  };
  const Case cases[] = {
      {"an unknown class, before its attributes", 99, attrs({9}), &radio, "throws ObjectClassNotDefined", {}},
      {"an attribute the class lacks, before the region",
       platform,
       attrs({altitude}),
       &radio,
       "throws AttributeNotDefined",
       {}},
      {"an attribute of another routing space", aircraft, attrs({position}), &radio, "throws RegionNotKnown", {}},
      {"a region of another federate", aircraft, attrs({position}), &rb, "throws RegionNotKnown", {}},
      {"a set overlapping the owner's: every attribute",
       aircraft,
       attrs({position, altitude}),
       &near,
       "ok",
       {provide + "1,3"}},
      {"a set missing it: the attribute without a set only",
       aircraft,
       attrs({position, altitude}),
       &far,
       "ok",
       {provide + "3"}},
      {"a set missing it, nothing else asked: the owner is not called", aircraft, attrs({position}), &far, "ok", {}},
      {"a base class asks for its subclass's objects", platform, attrs({position}), &near, "ok", {provide + "1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(
        outcomeOf([&] { a.objects->requestClassAttributeValueUpdateWithRegion(c.theClass, c.attributes, *c.region); }),
        c.outcome);
    pair.settle();
    EXPECT_EQ(b.amb.take(), c.asked);
  }
}

}  // namespace
