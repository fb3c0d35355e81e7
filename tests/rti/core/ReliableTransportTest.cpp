// Reliable means reliable: two federates of this process, in a federation
// run by the rtiexec program, while 5 % of the sender's datagrams are lost
// (the connection layer's loss hook: this machine's kernel has no netem).
// Every reliable update and interaction arrives, in order; of the
// best-effort updates about 5 % are lost.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "CoreTestSupport.h"
#include "support/RtiExecProcess.h"
#include "support/WaitUntil.h"
#include "util/DtClock.h"

namespace {

const char* const fed = R"((FED (Federation Lossy) (FEDversion v1.3) (spaces)
  (objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp) (class RTIprivate)
    (class Vehicle (attribute Position best_effort receive) (attribute Name reliable receive))))
  (interactions (class InteractionRoot best_effort receive (class RTIprivate best_effort receive)
    (class Horn reliable receive (parameter Loudness)))))
)";

const char* const forms =
    "(setq RTI_useRtiExec 1)\n(setq RTI_internalMsgReliable 1)\n(setq RTI_fomDataReliable 1)\n(setq RTI_dumpFed 0)\n"
    "(setq RTI_socketReceiveBufferSize 4000000)\n";

std::uint32_t numberIn(const char* value, RTI::ULong length) {
  return static_cast<std::uint32_t>(std::stoul(std::string(value, length)));
}

// Records the numbers each attribute and the horn carried, in arrival order.
class Receiver : public NullFederateAmbassador {
public:
  void discoverObjectInstance(RTI::ObjectHandle, RTI::ObjectClassHandle, const char*) override { ++discovered; }
  void reflectAttributeValues(RTI::ObjectHandle, const RTI::AttributeHandleValuePairSet& values, const char*) override {
    for (RTI::ULong i = 0; i < values.size(); ++i) {
      RTI::ULong length = 0;
      const char* value = values.getValuePointer(i, length);
      byAttribute[values.getHandle(i)].push_back(numberIn(value, length));
    }
  }
  void receiveInteraction(RTI::InteractionClassHandle, const RTI::ParameterHandleValuePairSet& parameters,
                          const char*) override {
    RTI::ULong length = 0;
    const char* value = parameters.getValuePointer(0, length);
    horns.push_back(numberIn(value, length));
  }
  int discovered = 0;
  std::map<RTI::AttributeHandle, std::vector<std::uint32_t>> byAttribute;
  std::vector<std::uint32_t> horns;
};

TEST(ReliableTransport, EveryReliableMessageArrivesInOrderWhileDatagramsAreLost) {
  std::unique_ptr<RidScope> rid;
  std::unique_ptr<RtiExecProcess> exec;
  for (int attempt = 0; attempt < 10 && !exec; ++attempt) {
    rid.reset();
    rid = std::make_unique<RidScope>(forms);
    exec = std::make_unique<RtiExecProcess>();
    if (!exec->waitReady()) exec.reset();  // its port is taken for TCP: another
  }
  ASSERT_TRUE(exec);
  rid->directory().write("Lossy.fed", fed);

  Receiver atB;
  RTI::RTIambassador b;
  b.createFederationExecution("Lossy", "Lossy.fed");
  b.joinFederationExecution("B", "Lossy", &atB);
  const RTI::ObjectClassHandle vehicle = b.getObjectClassHandle("Vehicle");
  const RTI::AttributeHandle position = b.getAttributeHandle("Position", vehicle);
  const RTI::AttributeHandle name = b.getAttributeHandle("Name", vehicle);
  const RTI::InteractionClassHandle horn = b.getInteractionClassHandle("Horn");
  const RTI::ParameterHandle loudness = b.getParameterHandle("Loudness", horn);
  std::unique_ptr<RTI::AttributeHandleSet> both(RTI::AttributeHandleSetFactory::create(2));
  both->add(position);
  both->add(name);
  b.subscribeObjectClassAttributes(vehicle, *both, RTI::RTI_TRUE);
  b.subscribeInteractionClass(horn, RTI::RTI_TRUE);

  // Only the sender's datagrams are lost.
  std::unique_ptr<RTI::RTIambassador> a;
  {
    const ScopedEnv loss("RTI_TEST_UDP_LOSS_PERCENT", "5");
    a = std::make_unique<RTI::RTIambassador>();
  }
  NullFederateAmbassador atA;
  a->joinFederationExecution("A", "Lossy", &atA);
  a->publishObjectClass(vehicle, *both);
  a->publishInteractionClass(horn);
  const RTI::ObjectHandle car = a->registerObjectInstance(vehicle, "car");
  const double deadline = DtRealTime() + 10;
  while (atB.discovered == 0 && DtRealTime() < deadline) {
    a->tick();
    b.tick(0.001, 0.01);
  }
  ASSERT_EQ(atB.discovered, 1);

  const std::uint32_t count = 2000;
  for (std::uint32_t n = 0; n < count; ++n) {
    const std::string text = std::to_string(n);
    std::unique_ptr<RTI::AttributeHandleValuePairSet> values(RTI::AttributeSetFactory::create(2));
    values->add(position, text.c_str(), text.size());
    values->add(name, text.c_str(), text.size());
    a->updateAttributeValues(car, *values, "");
    std::unique_ptr<RTI::ParameterHandleValuePairSet> parameters(RTI::ParameterSetFactory::create(1));
    parameters->add(loudness, text.c_str(), text.size());
    a->sendInteraction(horn, *parameters, "");
    a->tick();
    while (b.tick()) {
    }
  }
  const double drained = DtRealTime() + 10;
  while ((atB.byAttribute[name].size() < count || atB.horns.size() < count) && DtRealTime() < drained) {
    a->tick();
    b.tick(0.001, 0.01);
  }
  // The last best-effort ones: a marker update sent after them comes after
  // them (sent again until one comes, as any of A's datagrams may be lost).
  const auto markerCame = [&] {
    const std::vector<std::uint32_t>& positions = atB.byAttribute[position];
    return !positions.empty() && positions.back() == count;
  };
  EXPECT_TRUE(waitUntil(
      markerCame,
      [&] {
        const std::string marker = std::to_string(count);
        std::unique_ptr<RTI::AttributeHandleValuePairSet> values(RTI::AttributeSetFactory::create(1));
        values->add(position, marker.c_str(), marker.size());
        a->updateAttributeValues(car, *values, "");
        a->tick();
        for (int i = 0; i < 10 && !markerCame(); ++i) b.tick(0.001, 0.01);
      },
      10));
  std::erase(atB.byAttribute[position], count);

  std::vector<std::uint32_t> all(count);
  for (std::uint32_t n = 0; n < count; ++n) all[n] = n;
  EXPECT_EQ(atB.byAttribute[name], all) << "every reliable update, in order";
  EXPECT_EQ(atB.horns, all) << "every reliable interaction, in order";
  const double lost = 1.0 - static_cast<double>(atB.byAttribute[position].size()) / count;
  RecordProperty("bestEffortLost", std::to_string(lost));
  EXPECT_GT(lost, 0.02) << "best-effort updates lost";
  EXPECT_LT(lost, 0.09) << "best-effort updates lost";

  a->resignFederationExecution(RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES);
  b.resignFederationExecution(RTI::NO_ACTION);
  b.destroyFederationExecution("Lossy");
}

}  // namespace
