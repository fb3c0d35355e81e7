// What a service's trace costs: below notify level 3 it prints nothing,
// looks no name up and, with or without an observer, allocates nothing.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "AllocationCounter.h"
#include "ServiceFamilyFixture.h"
#include "api/DtRtiAmbassadorObserver.h"
#include "config/DtFedReader.h"

namespace {

class ServiceTraceCost : public ServiceFamilyFixture {};

// Counts the class look-ups that traces make.
class CountingFom : public DtFomClassMgr {
public:
  DtObjectClassInfo* classByHandle(RTI::ObjectClassHandle handle) const override {
    ++lookUps;
    return DtFomClassMgr::classByHandle(handle);
  }
  mutable int lookUps = 0;
};

TEST_F(ServiceTraceCost, TracesPrintAndLookNamesUpOnlyAtLevelThree) {
  DtFedReader reader;
  auto counting = std::make_unique<CountingFom>();
  const int read = reader.readFed((std::string(QLX_SOURCE_ROOT) + "/rti/config/sample.fed").c_str(), counting.get());
  ASSERT_TRUE(read != 1 && read != 2);
  const CountingFom& fom = *counting;
  fed->fomSlot() = std::move(counting);
  const ServiceRow publish = callOf("publishObjectClass", QLX_SERVICE(rti.publishObjectClass(3, arg.attributes)));

  EXPECT_EQ(run(publish, 2).printed, "");
  EXPECT_EQ(fom.lookUps, 0);
  EXPECT_EQ(run(publish, 3).printed.find("RTI=>publishObjectClass:\nRTI=>\tObjectRoot.Sample(3)\n"), 0u);
  EXPECT_EQ(fom.lookUps, 1);
}

TEST_F(ServiceTraceCost, AServiceCallAllocatesNothingBelowTraceLevel) {
  NotifyCapture quiet(2);
  ambassador->getObjectClassHandle("Sample");  // anything done once is done

  std::uint64_t before = allocationsOnThisThread();
  for (int i = 0; i < 10; ++i) ambassador->getObjectClassHandle("Sample");
  EXPECT_EQ(allocationsOnThisThread() - before, 0u);

  // Nor with an observer: it is told the result by reference.
  PlainImplementor::last->addObserver("observer", new DtRtiAmbassadorObserver);
  ambassador->getObjectClassHandle("Sample");
  before = allocationsOnThisThread();
  for (int i = 0; i < 10; ++i) ambassador->getObjectClassHandle("Sample");
  EXPECT_EQ(allocationsOnThisThread() - before, 0u);
}

}  // namespace
