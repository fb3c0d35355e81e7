#pragma once
// A service table's test: a joined federate of the sample FOM whose managers
// record what the implementor hands them, and a runner that walks the table.
//
// A family lists the checks its services can run, in the order they run
// (joined, save or restore, time stamp, switches, guards). Each check can be
// put in a service's way. For every row the runner puts them all in the
// way, then takes them away one by one in the family's order: each call is
// refused by the first of the row's checks still in the way, with its
// exception and reason, having handed over only what comes before that
// check. The checks a row does not run stay in the way throughout, so the
// call that finally goes through shows that the row ignores them; it is made
// at notify level 3 and shows the trace, what was handed over with which
// arguments, and the result.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "CoreTestSupport.h"
#include "LoggingManagers.h"
#include "rti/util/NotifyCapture.h"

class ServiceFamilyFixture;

// What a call did.
struct ServiceOutcome {
  std::string thrown;  // "<exception>: <reason>", empty when nothing was thrown
  std::string result;  // the result as text (see resultText)
  std::vector<std::string> handedOver;
  std::string printed;
};

// One service of a family's table.
struct ServiceRow {
  const char* service;
  // Calls the service through the fixture's ambassador with its arguments;
  // gives the result as text.
  std::function<std::string(ServiceFamilyFixture&)> call;
  unsigned checks;    // the family's checks this service runs (bit i: check i)
  std::string trace;  // at notify level 3
  std::vector<std::string> handedOver;
  std::string result;
  // The name as the service's refusals write it, when they cut it short.
  const char* reasonName = nullptr;

  std::string nameInReasons() const { return reasonName ? reasonName : service; }
};

// A row that is only a call, for a check outside the tables.
inline ServiceRow callOf(const char* service, std::function<std::string(ServiceFamilyFixture&)> call) {
  return {service, std::move(call), 0, "", {}, "", nullptr};
}

// A check that can stand in a service's way, and how it refuses the service.
struct ServiceCheck {
  const char* name;
  std::function<void(ServiceFamilyFixture&)> put, lift;
  std::function<ServiceOutcome(const ServiceRow&)> refusal;
};

// The arguments the tables call services with.
struct ServiceTableArgs {
  ServiceTableArgs();

  DtAttributeHandleSet attributes;      // {1}
  DtAttributeHandleSet noAttributes;    // {}
  DtAttrValueSet values{4};             // {1: "v"}
  DtParamValueSet parameters{4};        // {0: "p"}
  DtConcreteFedHandleSet federates{4};  // {3}
  RTIfedTime time{1.5};
  RTIfedTime outTime{-1.0};  // what the queries fill
  TestRegion region{42};
  RTI::Region* regions[1] = {&region};
  RTI::AttributeHandle handles[1] = {1};
  NullFederateAmbassador federateAmbassador;
};

// A result as text: nothing for void, numbers in decimal, names as they
// are (freed with delete[], as a federate frees them), sets by their
// handles (then deleted), regions by their token, retraction handles as
// "serial/federate", booleans as "true" or "false".
std::string describeResult(char* name);
std::string describeResult(RTI::AttributeHandleSet* set);
std::string describeResult(RTI::Region* region);
std::string describeResult(const RTI::EventRetractionHandle& handle);
std::string describeResult(RTI::Boolean flag);
template <std::integral Number>
std::string describeResult(Number number) {
  return std::to_string(number);
}

template <class Call>
std::string resultText(Call call) {
  if constexpr (std::is_void_v<decltype(call())>) {
    call();
    return "";
  } else {
    return describeResult(call());
  }
}

// A table row's call: `rti` is the ambassador, `arg` the arguments.
#define QLX_SERVICE(expr)                                           \
  [](ServiceFamilyFixture& fixture) {                               \
    [[maybe_unused]] RTI::RTIambassador& rti = *fixture.ambassador; \
    [[maybe_unused]] ServiceTableArgs& arg = fixture.args;          \
    return resultText([&] { return expr; });                        \
  }

class ServiceFamilyFixture : public testing::Test {
public:
  ServiceFamilyFixture();
  ~ServiceFamilyFixture() override;

  // Calls the row's service with its output printed from the notify level
  // on.
  ServiceOutcome run(const ServiceRow& row, int level);
  // Walks the table as the header says.
  void checkRows(const std::vector<ServiceRow>& rows, const std::vector<ServiceCheck>& checks);

  // The checks most families share. The joined check refuses with
  // "Unable to process <name>." and hands nothing over.
  ServiceCheck joined() const;
  // The save and restore test refuses with the federate manager's
  // SaveInProgress after asking it.
  ServiceCheck save() const;
  // With time management on, a time stamp the time manager refuses:
  // InvalidFederationTime (for the save request FederationTimeAlreadyPassed)
  // with "Unable to process <name>.". Time management stays on once lifted.
  ServiceCheck timeStamp() const;
  // The data distribution switch: the data distribution manager's answer,
  // or the RID key RTI_dataDistMgmt (both on once lifted). Off, the service
  // prints "RTI DDM services turned off: unable to process <service>" and
  // throws it (with the name as the refusals write it), after handing over
  // `before`.
  ServiceCheck ddmByManager(std::vector<std::string> before) const;
  ServiceCheck ddmByRid(std::vector<std::string> before) const;

  RidScope ridScope;
  FakeFederateMgr::Install install;
  PlainImplementor::Install plain;
  std::unique_ptr<RTI::RTIambassador> ambassador;
  FakeFederateMgr* fed = nullptr;
  DtRIDParameters* rid = nullptr;
  LoggingObjectMgr* objects = nullptr;
  LoggingInteractionMgr* interactions = nullptr;
  LoggingTimeMgr* time = nullptr;
  LoggingDdmMgr* ddm = nullptr;
  ServiceTableArgs args;
};
