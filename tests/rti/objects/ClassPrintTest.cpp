// Handle and value sets print their members by the names that their class
// gives them.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "FomTestSupport.h"
#include "api/DtAttrValueSet.h"
#include "api/DtAttributeHandleSet.h"
#include "api/DtParamValueSet.h"
#include "objects/DtInteractionClassInfo.h"
#include "objects/DtObjectClassInfo.h"
#include "rti/util/NotifyCapture.h"

namespace {

class ClassPrint : public testing::Test {
protected:
  // What the call prints at the notify level.
  template <class Call>
  std::string printed(int level, Call call) {
    NotifyCapture capture(level);
    call();
    return capture.text();
  }

  std::unique_ptr<DtFomClassMgr> fom = fomFromText(fixtureFed);
  const DtObjectClassInfo* aircraft = fom->classByHandle(6);
  const DtInteractionClassInfo* encoded = fom->interactionByHandle(7);
};

TEST_F(ClassPrint, AHandleSetNamesEachMemberInOrder) {
  DtAttributeHandleSet set;
  for (RTI::AttributeHandle h : {3u, 0u, 7u, 1u}) set.add(h);
  // Handle 7 is no attribute of the class.
  const std::string expected =
      "NumHandles:          4\n"
      "\t0: privilegeToDelete (0)\n\t1: Position (1)\n\t2: Altitude (3)\n\t3: (null) (7)\n";
  EXPECT_EQ(printed(2, [&] { set.print(aircraft); }), expected);
  EXPECT_EQ(printed(2, [&] { DtAttributeHandleSet().print(aircraft); }), "NumHandles:          0\n");
  EXPECT_EQ(printed(1, [&] { set.print(aircraft); }), "");
}

TEST_F(ClassPrint, ValueSetsNameEachPairByIndexAtVerboseLevel) {
  DtAttrValueSet attributes(4);
  attributes.add(3, "a", 1);
  attributes.add(2, "b", 1);
  attributes.add(3, "c", 1);
  DtParamValueSet parameters(4);
  parameters.add(2, "d", 1);
  parameters.add(0, "e", 1);
  parameters.add(9, "f", 1);

  EXPECT_EQ(printed(3, [&] { attributes.print(aircraft); }), "\t0: Altitude (3)\n\t1: Speed (2)\n\t2: Altitude (3)\n");
  EXPECT_EQ(printed(3, [&] { parameters.print(encoded); }), "\t0: Data (2)\n\t1: Frequency (0)\n\t2: (null) (9)\n");
  EXPECT_EQ(printed(3, [&] { parameters.print(nullptr); }), "\t0: (null) (2)\n\t1: (null) (0)\n\t2: (null) (9)\n");
  EXPECT_EQ(printed(2, [&] { attributes.print(aircraft); }), "");
}

}  // namespace
