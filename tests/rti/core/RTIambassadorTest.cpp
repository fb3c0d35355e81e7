// The ambassador's one service pattern over every row of the service table,
// the observers' walk, and what two ambassadors in one process share.
#include "RTI.hh"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "CoreTestSupport.h"
#include "api/DtRtiAmbObserverList.h"
#include "core/DtRtiAmbassadorImplementor.h"
#include "objects/DtObjectMgr.h"
#include "util/DtNotify.h"

namespace {

// A number that stands for a service's result, whatever its type.
template <class T>
long long asNumber(const T& value) {
  if constexpr (std::is_pointer_v<T>) {
    return static_cast<long long>(reinterpret_cast<std::uintptr_t>(value));
  } else if constexpr (std::is_same_v<T, RTI::EventRetractionHandle>) {
    return static_cast<long long>(value.theSerialNumber * 1000 + value.sendingFederate);
  } else {
    return static_cast<long long>(value);
  }
}

// The result every scripted service returns: not zero, so that a
// notification of the ambassador's zero result shows.
template <class T>
T cannedResult() {
  if constexpr (std::is_pointer_v<T>) {
    return reinterpret_cast<T>(std::uintptr_t{0x1230});
  } else if constexpr (std::is_same_v<T, RTI::EventRetractionHandle>) {
    return RTI::EventRetractionHandle{11, 7};
  } else {
    return static_cast<T>(1);
  }
}

// An implementor whose every service records its name and returns the canned
// result, or throws what the test asks for.
class ScriptedImplementor : public DtRtiAmbassadorImplementor {
public:
  enum class Mode { Return, ThrowRti, ThrowOther };

  explicit ScriptedImplementor(DtRIDParameters* params) : DtRtiAmbassadorImplementor(params, nullptr) { last = this; }
  ~ScriptedImplementor() override { last = nullptr; }

  static inline ScriptedImplementor* last = nullptr;
  static DtRtiAmbassadorImplementor* make(DtRIDParameters* params) { return new ScriptedImplementor(params); }

  Mode mode = Mode::Return;
  std::string called;

#define QLX_SCRIPTED_SERVICE(type, kind, name, ...) \
  type name(DT_RTI_TYPES(__VA_ARGS__)) override { return answer<type>(#name); }
  DT_RTI_SERVICES(QLX_SCRIPTED_SERVICE)
#undef QLX_SCRIPTED_SERVICE

private:
  template <class T>
  T answer(const char* name) {
    called = name;
    if (mode == Mode::ThrowRti) throw RTI::ObjectNotKnown("scripted");
    if (mode == Mode::ThrowOther) throw std::runtime_error("scripted");
    if constexpr (!std::is_void_v<T>) return cannedResult<T>();
  }
};

// What an observer was told of one call.
struct Told {
  std::string observer;
  std::string service;
  bool hasResult = false;
  long long result = 0;
  const void* resultAddress = nullptr;  // set when the result came by reference
  RTI::Exception* exception = nullptr;
};

// Records every notification; the overrides come from the service table, so
// a notification whose signature the table did not give fails to compile.
class RecordingObserver : public DtRtiAmbassadorObserver {
public:
  RecordingObserver(std::string name, std::vector<Told>* journal) : name_(std::move(name)), journal_(journal) {}

  std::function<void(const Told&)> onTold;

// clang-format off
#define QLX_RESULT_PARAM_NONE(type)
#define QLX_RESULT_PARAM_REF(type) type& result,
#define QLX_RESULT_PARAM_VAL(type) type result,
#define QLX_TOLD_NONE Told{name_, service, false, 0, nullptr, exception}
#define QLX_TOLD_REF Told{name_, service, true, asNumber(result), &result, exception}
#define QLX_TOLD_VAL Told{name_, service, true, asNumber(result), nullptr, exception}
// clang-format on
#define QLX_RECORDING_NOTIFICATION(type, kind, name, ...)                                        \
  void name(DT_RTI_TYPES(__VA_ARGS__) DT_RTI_COMMA_IF(__VA_ARGS__) QLX_RESULT_PARAM_##kind(type) \
                RTI::Exception* exception) override {                                            \
    const char* service = #name;                                                                 \
    tell(QLX_TOLD_##kind);                                                                       \
  }
  DT_RTI_SERVICES(QLX_RECORDING_NOTIFICATION)
#undef QLX_RECORDING_NOTIFICATION

private:
  void tell(const Told& told) {
    journal_->push_back(told);
    if (onTold) onTold(told);
  }

  std::string name_;
  std::vector<Told>* journal_;
};

const std::vector<ServiceCall> allServices = {DT_RTI_SERVICES(QLX_SERVICE_CALL)};

// The results as the ambassador's result table gives them: these by
// reference to its result variable, these by value; all others have none.
const std::map<std::string, std::string> resultPassing = {
    {"joinFederationExecution", "REF"},
    {"registerObjectInstance", "REF"},
    {"registerObjectInstanceWithRegion", "REF"},
    {"getObjectClassHandle", "REF"},
    {"getAttributeHandle", "REF"},
    {"getInteractionClassHandle", "REF"},
    {"getParameterHandle", "REF"},
    {"getObjectInstanceHandle", "REF"},
    {"getDimensionHandle", "REF"},
    {"getObjectClass", "REF"},
    {"getTransportationHandle", "REF"},
    {"getOrderingHandle", "REF"},
    {"getRegionToken", "REF"},
    {"getRoutingSpaceHandle", "REF"},
    {"getAttributeRoutingSpaceHandle", "REF"},
    {"getInteractionRoutingSpaceHandle", "REF"},
    {"getObjectClassName", "VAL"},
    {"getAttributeName", "VAL"},
    {"getInteractionClassName", "VAL"},
    {"getParameterName", "VAL"},
    {"getObjectInstanceName", "VAL"},
    {"getRoutingSpaceName", "VAL"},
    {"getDimensionName", "VAL"},
    {"getTransportationName", "VAL"},
    {"getOrderingName", "VAL"},
    {"isAttributeOwnedByFederate", "VAL"},
    {"tick", "VAL"},
    {"createRegion", "VAL"},
    {"getRegion", "VAL"},
    {"attributeOwnershipReleaseResponse", "VAL"},
};

const std::vector<std::string> rowKinds = {
#define QLX_ROW_KIND(type, kind, name, ...) #kind,
    DT_RTI_SERVICES(QLX_ROW_KIND)
#undef QLX_ROW_KIND
};

// The timed forms' retraction handles go by reference too.
const std::vector<bool> rowReturnsRetraction = {
#define QLX_ROW_RETRACTION(type, kind, name, ...) std::is_same_v<type, RTI::EventRetractionHandle>,
    DT_RTI_SERVICES(QLX_ROW_RETRACTION)
#undef QLX_ROW_RETRACTION
};

std::string expectedPassing(std::size_t row) {
  if (rowReturnsRetraction[row]) return "REF";
  const auto found = resultPassing.find(allServices[row].name);
  return found == resultPassing.end() ? "NONE" : found->second;
}

// An ambassador made with the scripted implementor and two observers, A
// then B, filed through the implementor.
class ServicePatternTest : public testing::Test {
protected:
  ServicePatternTest() {
    DtRtiAmbassadorImplementor::setCreatorFunction(&ScriptedImplementor::make);
    ambassador = std::make_unique<RTI::RTIambassador>();
    implementor = ScriptedImplementor::last;
    a = new RecordingObserver("A", &journal);
    b = new RecordingObserver("B", &journal);
    implementor->addObserver("a", a);
    implementor->addObserver("b", b);
  }
  ~ServicePatternTest() override {
    ambassador.reset();
    DtRtiAmbassadorImplementor::setCreatorFunction(nullptr);
  }

  RidScope rid;
  std::unique_ptr<RTI::RTIambassador> ambassador;
  ScriptedImplementor* implementor = nullptr;
  std::vector<Told> journal;
  RecordingObserver* a = nullptr;  // filed under "a", then "b"
  RecordingObserver* b = nullptr;
  ServiceArgs args;
};

TEST_F(ServicePatternTest, TheTableHasEveryServiceWithTheResultPassingOfTheResultTable) {
  ASSERT_EQ(allServices.size(), 111u);
  for (std::size_t row = 0; row < allServices.size(); ++row) {
    EXPECT_EQ(rowKinds[row], expectedPassing(row)) << allServices[row].name;
  }
}

TEST_F(ServicePatternTest, EveryServiceHandsOverThenTellsEachObserverTheResult) {
  for (std::size_t row = 0; row < allServices.size(); ++row) {
    const ServiceCall& service = allServices[row];
    SCOPED_TRACE(service.name);
    journal.clear();
    service.call(*ambassador, args);
    EXPECT_EQ(implementor->called, service.name);
    ASSERT_EQ(journal.size(), 2u);
    EXPECT_EQ(journal[0].observer, "A");
    EXPECT_EQ(journal[1].observer, "B");
    for (const Told& told : journal) {
      EXPECT_EQ(told.service, service.name);
      EXPECT_EQ(told.exception, nullptr);
      EXPECT_EQ(told.hasResult, rowKinds[row] != "NONE");
      if (told.hasResult) {
        EXPECT_NE(told.result, 0);
      }
    }
    // By reference: both observers see the one result variable.
    if (rowKinds[row] == "REF") {
      EXPECT_NE(journal[0].resultAddress, nullptr);
      EXPECT_EQ(journal[0].resultAddress, journal[1].resultAddress);
    } else {
      EXPECT_EQ(journal[0].resultAddress, nullptr);
    }
  }
}

TEST_F(ServicePatternTest, AnRtiExceptionReachesEveryObserverAndIsRethrownAsTheSameObject) {
  implementor->mode = ScriptedImplementor::Mode::ThrowRti;
  for (const ServiceCall& service : allServices) {
    SCOPED_TRACE(service.name);
    journal.clear();
    const RTI::Exception* caught = nullptr;
    try {
      service.call(*ambassador, args);
    } catch (RTI::ObjectNotKnown& exception) {
      caught = &exception;
      ASSERT_EQ(journal.size(), 2u);
      for (const Told& told : journal) {
        EXPECT_EQ(told.exception, caught);
        EXPECT_EQ(told.result, 0);  // the result variable as it was
      }
    }
    EXPECT_NE(caught, nullptr);
  }
}

// An observer that wants failures only is told of every failed call and of
// no successful one, beside one that wants both; with no observer wanting
// successes, a successful call tells nobody, and the wish may change while
// the observer is filed.
TEST_F(ServicePatternTest, AnObserverOfFailuresOnlyIsToldOfFailuresOnly) {
  a->setWantsSuccessfulCalls(false);
  for (const ScriptedImplementor::Mode mode :
       {ScriptedImplementor::Mode::Return, ScriptedImplementor::Mode::ThrowRti}) {
    implementor->mode = mode;
    const bool fails = mode == ScriptedImplementor::Mode::ThrowRti;
    for (const ServiceCall& service : allServices) {
      SCOPED_TRACE(std::string(service.name) + (fails ? " failing" : " succeeding"));
      journal.clear();
      try {
        service.call(*ambassador, args);
      } catch (const RTI::ObjectNotKnown&) {
      }
      std::vector<std::string> told;
      for (const Told& t : journal) told.push_back(t.observer);
      EXPECT_EQ(told, fails ? (std::vector<std::string>{"A", "B"}) : (std::vector<std::string>{"B"}));
    }
  }
  implementor->mode = ScriptedImplementor::Mode::Return;
  b->setWantsSuccessfulCalls(false);
  journal.clear();
  ambassador->enableTimeConstrained();
  EXPECT_TRUE(journal.empty());
  a->setWantsSuccessfulCalls(true);  // while filed
  ambassador->enableTimeConstrained();
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_EQ(journal[0].observer, "A");
}

TEST_F(ServicePatternTest, AnotherExceptionPassesWithNoObserverTold) {
  implementor->mode = ScriptedImplementor::Mode::ThrowOther;
  EXPECT_THROW(ambassador->tick(), std::runtime_error);
  EXPECT_TRUE(journal.empty());
}

TEST_F(ServicePatternTest, AnObserverThatThrowsEndsTheCallWithItsException) {
  auto* thrower = new RecordingObserver("T", &journal);
  thrower->onTold = [](const Told&) { throw RTI::FederateInternalError("observer"); };
  implementor->addObserver("a", thrower);  // replaces A; now B, T
  std::unique_ptr<RecordingObserver> replaced(a);
  implementor->addObserver("c", new RecordingObserver("C", &journal));

  EXPECT_THROW(ambassador->createFederationExecution("Fx", "fx.fed"), RTI::FederateInternalError);
  EXPECT_EQ(implementor->called, "createFederationExecution");  // the work was done
  ASSERT_EQ(journal.size(), 2u);                                // B, then T; C is not told
  EXPECT_EQ(journal[1].observer, "T");

  // While the observers are told of the implementor's exception too.
  implementor->mode = ScriptedImplementor::Mode::ThrowRti;
  EXPECT_THROW(ambassador->resignFederationExecution(RTI::NO_ACTION), RTI::FederateInternalError);
}

TEST_F(ServicePatternTest, ReplacingAnObserverMovesItsNameToTheEndAndUntellsTheOldOne) {
  implementor->addObserver("a", new RecordingObserver("C", &journal));
  std::unique_ptr<RecordingObserver> replaced(a);  // no longer the list's
  EXPECT_EQ(implementor->removeObserver("x"), nullptr);

  ambassador->enableTimeConstrained();
  ASSERT_EQ(journal.size(), 2u);
  EXPECT_EQ(journal[0].observer, "B");
  EXPECT_EQ(journal[1].observer, "C");
  EXPECT_EQ(replaced->list(), nullptr);
}

TEST_F(ServicePatternTest, AnObserverThatTakesItselfOutEndsThatWalk) {
  auto* leaver = new RecordingObserver("L", &journal);
  std::unique_ptr<DtRtiAmbassadorObserver> taken;
  leaver->onTold = [&](const Told&) { taken.reset(implementor->removeObserver("leaver")); };
  implementor->addObserver("leaver", leaver);
  implementor->addObserver("b", b);  // A, L, B

  ambassador->tick();
  EXPECT_EQ(journal.size(), 2u);  // A, then L; B is not told of this call
  journal.clear();
  ambassador->tick();
  ASSERT_EQ(journal.size(), 2u);
  EXPECT_EQ(journal[1].observer, "B");
}

TEST_F(ServicePatternTest, BoundedTickTellsTheBoundsAndTheResult) {
  struct BoundsObserver : DtRtiAmbassadorObserver {
    double minimum = 0, maximum = 0;
    RTI::Boolean result = RTI::RTI_FALSE;
    void tick(double min, double max, RTI::Boolean r, RTI::Exception*) override {
      minimum = min;
      maximum = max;
      result = r;
    }
  };
  auto* bounds = new BoundsObserver;
  implementor->addObserver("bounds", bounds);
  EXPECT_EQ(ambassador->tick(0.5, 2.0), RTI::RTI_TRUE);
  EXPECT_EQ(bounds->minimum, 0.5);
  EXPECT_EQ(bounds->maximum, 2.0);
  EXPECT_EQ(bounds->result, RTI::RTI_TRUE);
}

}  // namespace
