// A federate written the way HLA 1.3 federates are written, against the
// standard headers only. The test build compiles it as C++11 (with the
// exception specifications of older federates), C++14, C++17 and C++20 and
// runs it; run with "--join" it also joins a federation.
#include <NullFederateAmbassador.hh>
#include <RTI.hh>
#include <fedtime.hh>

#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <type_traits>

// Federates written for older compilers carry exception specifications on
// their callbacks and on their ambassador's destructor.
#if __cplusplus < 201703L
#define SAMPLE_THROWS(...) throw(__VA_ARGS__)
#else
#define SAMPLE_THROWS(...)
#endif

class SampleFedAmb : public NullFederateAmbassador {
public:
  SampleFedAmb() : discovered(0), granted(RTI::RTI_FALSE) {}
  virtual ~SampleFedAmb() SAMPLE_THROWS(RTI::FederateInternalError) {}

  virtual void discoverObjectInstance(RTI::ObjectHandle, RTI::ObjectClassHandle, const char*)
      SAMPLE_THROWS(RTI::CouldNotDiscover, RTI::ObjectClassNotKnown, RTI::FederateInternalError) {
    ++discovered;
  }

  virtual void reflectAttributeValues(RTI::ObjectHandle, const RTI::AttributeHandleValuePairSet& theAttributes,
                                      const char*)
      SAMPLE_THROWS(RTI::ObjectNotKnown, RTI::AttributeNotKnown, RTI::FederateOwnsAttributes,
                    RTI::FederateInternalError) {
    for (RTI::ULong i = 0; i < theAttributes.size(); ++i) {
      RTI::ULong length = theAttributes.getValueLength(i);
      char buffer[256];
      if (length <= sizeof buffer) theAttributes.getValue(i, buffer, length);
    }
  }

  virtual void timeAdvanceGrant(const RTI::FedTime& theTime)
      SAMPLE_THROWS(RTI::InvalidFederationTime, RTI::TimeAdvanceWasNotInProgress, RTI::FederationTimeAlreadyPassed,
                    RTI::FederateInternalError) {
    now = theTime;
    granted = RTI::RTI_TRUE;
  }

  int discovered;
  RTI::Boolean granted;
  RTIfedTime now;
};

// An application's own namespace that declares operators of its own, which
// hide the global ones: the API's operators must still be found for times.
namespace sample {

struct Label {
  const char* text;
};
std::ostream& operator<<(std::ostream& stream, const Label& label) { return stream << label.text; }
Label operator+(const Label& label, int) { return label; }

std::string describe(const RTI::FedTime& theTime) {
  std::ostringstream out;
  out << Label{"time "} << theTime << " next " << (1.0 + theTime);
  return out.str();
}

// A federate keeps its ambassadors as members of an object of its own, often
// one that implements an interface whose destructor does not throw.
class Runner {
public:
  virtual ~Runner() {}
  virtual bool run() = 0;
};

class Federate : public Runner {
public:
#if __cplusplus < 201703L
  // An ambassador's destructor may throw before C++17 (see its throw list),
  // so this class says that its own does not, as its base's does not.
  ~Federate() noexcept {}
#endif
  bool run() override { return rtiAmb.tick() == RTI::RTI_TRUE && fedAmb.discovered > 0; }

private:
  RTI::RTIambassador rtiAmb;
  SampleFedAmb fedAmb;
};
static_assert(std::is_nothrow_destructible<Federate>::value,
              "a class holding the ambassadors destroys them without throwing");
#if __cplusplus >= 201703L
static_assert(std::is_nothrow_destructible<SampleFedAmb>::value, "an ambassador's destructor does not throw");
#endif

}  // namespace sample

// Joins a federation, publishes and subscribes, advances time once, resigns.
static int joinAndLeave(const char* fedFile) {
  RTI::RTIambassador rtiAmb;
  SampleFedAmb fedAmb;
  try {
    rtiAmb.createFederationExecution("SampleFed", fedFile);
  } catch (RTI::FederationExecutionAlreadyExists&) {
  }
  try {
    RTI::RTIambassador::FederateAmbassadorPtr callbacks = &fedAmb;
    RTI::FederateHandle me = rtiAmb.joinFederationExecution("sample", "SampleFed", callbacks);
    RTI::ObjectClassHandle cls = rtiAmb.getObjectClassHandle("ObjectRoot.Sample");
    RTI::AttributeHandle attr = rtiAmb.getAttributeHandle("Value", cls);
    RTI::AttributeHandleSet* attrs = RTI::AttributeHandleSetFactory::create(1);
    attrs->add(attr);
    rtiAmb.publishObjectClass(cls, *attrs);
    rtiAmb.subscribeObjectClassAttributes(cls, *attrs, RTI::RTI_TRUE);
    RTI::ObjectHandle obj = rtiAmb.registerObjectInstance(cls, "sample-object");
    RTI::AttributeHandleValuePairSet* values = RTI::AttributeSetFactory::create(1);
    values->add(attr, "abc", 3);
    rtiAmb.updateAttributeValues(obj, *values, "tag");
    RTIfedTime lookahead(1.0);
    rtiAmb.enableTimeRegulation(RTIfedTime(0.0), lookahead);
    RTI::EventRetractionHandle sent = rtiAmb.updateAttributeValues(obj, *values, RTIfedTime(2.0), "t");
    rtiAmb.timeAdvanceRequest(RTIfedTime(1.0));
    while (!fedAmb.granted) rtiAmb.tick(0.1, 1.0);
    char* name = rtiAmb.getObjectInstanceName(obj);
    std::cout << "federate " << me << " object " << name << " serial " << sent.theSerialNumber << " at " << fedAmb.now
              << std::endl;
    delete[] name;
    delete values;
    delete attrs;
    rtiAmb.resignFederationExecution(RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES);
    rtiAmb.destroyFederationExecution("SampleFed");
  } catch (RTI::Exception& e) {
    std::cerr << &e << ": " << (e._reason ? e._reason : "") << std::endl;
    return 1;
  }
  return 0;
}

// What a federate does with the API's values before it ever joins.
static int checkValues() {
  RTIfedTime start;
  RTI::FedTime* zero = RTI::FedTimeFactory::makeZero();
  RTIfedTime next = start + 1.5;
  bool ok = zero->isZero() == RTI::RTI_TRUE && next > start && next.getTime() == 1.5;
  // Times compare in every mix of the abstract and the concrete class.
  const RTI::FedTime& abstract = start;
  ok = ok && abstract == *zero && start == *zero && *zero == start && start == RTIfedTime(0.0) && !(next == abstract) &&
       next != start && abstract != next && next != abstract && next >= 1.0;
  delete zero;

  RTI::AttributeHandleSet* attrs = RTI::AttributeHandleSetFactory::create(3);
  attrs->add(1);
  attrs->add(2);
  ok = ok && attrs->size() == 2 && attrs->isMember(2);
  delete attrs;

  RTI::ParameterHandleValuePairSet* params = RTI::ParameterSetFactory::create(1);
  params->add(4, "xy", 2);
  RTI::ULong length = 0;
  ok = ok && std::memcmp(params->getValuePointer(0, length), "xy", 2) == 0 && length == 2;
  delete params;

  try {
    RTI::FederateHandleSet* federates = RTI::FederateHandleSetFactory::create(0);
    RTI::FederateHandleSet* owned = federates;
    try {
      owned->add(7);
      ok = false;
    } catch (RTI::ValueCountExceeded& e) {
      std::cout << e << std::endl;
    }
    delete owned;
  } catch (RTI::Exception&) {
    ok = false;
  }

  // Argument-dependent lookup finds the time operators from any namespace.
  ok = ok && sample::describe(RTIfedTime(2.5)) == "time 2.5 next 3.5";
  SampleFedAmb fedAmb;
  RTI::RTIambassador::FederateAmbassadorPtr callbacks = &fedAmb;
  callbacks->discoverObjectInstance(1, 2, "object");
  ok = ok && fedAmb.discovered == 1;

  // The standard's figures, sized and printed as federates use them.
  char name[MAX_NAME_LENGTH];
  std::strncpy(name, DEFAULT_SPACE_DIMENSION_NAME, sizeof name - 1);
  name[sizeof name - 1] = '\0';
  std::cout << "RTI " << RTI_VERSION << ", space " << DEFAULT_SPACE_NAME << " dimension " << name << std::endl;
  ok = ok && MAX_ATTRIBUTES_PER_CLASS == 320 && MAX_PARAMETERS_PER_CLASS == 65536 && MAX_OBJECT_CLASSES > 0 &&
       MAX_INTERACTION_CLASSES > 0 && MAX_SPACES > 0 && MAX_DIMENSIONS_PER_SPACE > 0 && MAX_FEDERATION > 0 &&
       MAX_FEDERATE > 0 && MIN_EXTENT < MAX_EXTENT;

  RTI::ResignAction action = RTI::NO_ACTION;
  RTI::UShort u = 1;
  RTI::Short s = -1;
  RTI::Long l = -2;
  RTI::Float f = 0.5f;
  RTI::SpaceHandle space = -1;
  RTI::TickTime tick = 0.25;
  ok = ok && action == 4 && u + s == 0 && l < 0 && f < 1 && space < 0 && tick < 1;
  return ok ? 0 : 1;
}

int main(int argc, char** argv) {
  if (argc > 2 && std::strcmp(argv[1], "--join") == 0) return joinAndLeave(argv[2]);
  return checkValues();
}
