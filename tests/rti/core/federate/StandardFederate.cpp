// A federate written as HLA 1.3 federates are written for any RTI: it
// includes only RTI.hh and fedtime.hh and implements every callback of the
// federate ambassador itself. It creates (or finds) the execution, joins,
// publishes and subscribes Vehicle (Position, Name) and the interaction Horn
// (Loudness), registers a vehicle of its own, and updates it and sounds its
// horn until it has reflected three updates of another federate's vehicle
// and received three of its horns; then it deletes its vehicle, resigns and
// destroys the execution (which another federate may still hold).
//
//   standard-federate <execution> <fed file> <federate name> [seconds]
//
// Prints one line per event ("discovered <name>", "reflected <name>
// <position>", "received Horn <loudness>", "removed <name>") and "done" at
// the end; exits 0 when it saw what it waited for, 1 when the time ran out,
// 2 on an RTI exception.
#include <RTI.hh>
#include <fedtime.hh>

#include <cstdlib>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

// Prints "<prefix> <value>" for each value of the handle in the set, read
// as the API hands values over; returns how many.
template <class Set>
int printValues(const Set& set, RTI::Handle handle, const std::string& prefix) {
  int printed = 0;
  for (RTI::ULong i = 0; i < set.size(); ++i) {
    if (set.getHandle(i) != handle) continue;
    RTI::ULong length = set.getValueLength(i);
    char* value = new char[length + 1];
    set.getValue(i, value, length);
    std::cout << prefix << " " << std::string(value, length) << std::endl;
    delete[] value;
    ++printed;
  }
  return printed;
}

class StandardFedAmb : public RTI::FederateAmbassador {
public:
  StandardFedAmb() : reflections(0), interactions(0), position(0), loudness(0) {}

  // Federation management: not used by this federate.
  void synchronizationPointRegistrationSucceeded(const char*) {}
  void synchronizationPointRegistrationFailed(const char*) {}
  void announceSynchronizationPoint(const char*, const char*) {}
  void federationSynchronized(const char*) {}
  void initiateFederateSave(const char*) {}
  void federationSaved() {}
  void federationNotSaved() {}
  void requestFederationRestoreSucceeded(const char*) {}
  void requestFederationRestoreFailed(const char*, const char*) {}
  void federationRestoreBegun() {}
  void initiateFederateRestore(const char*, RTI::FederateHandle) {}
  void federationRestored() {}
  void federationNotRestored() {}

  // Declaration management.
  void startRegistrationForObjectClass(RTI::ObjectClassHandle) {}
  void stopRegistrationForObjectClass(RTI::ObjectClassHandle) {}
  void turnInteractionsOn(RTI::InteractionClassHandle) {}
  void turnInteractionsOff(RTI::InteractionClassHandle) {}

  // Object management.
  void discoverObjectInstance(RTI::ObjectHandle theObject, RTI::ObjectClassHandle, const char* theObjectName) {
    names[theObject] = theObjectName;
    std::cout << "discovered " << theObjectName << std::endl;
  }
  void reflectAttributeValues(RTI::ObjectHandle theObject, const RTI::AttributeHandleValuePairSet& theAttributes,
                              const char*) {
    reflections += printValues(theAttributes, position, "reflected " + names[theObject]);
  }
  void reflectAttributeValues(RTI::ObjectHandle theObject, const RTI::AttributeHandleValuePairSet& theAttributes,
                              const RTI::FedTime&, const char* theTag, RTI::EventRetractionHandle) {
    reflectAttributeValues(theObject, theAttributes, theTag);
  }
  void receiveInteraction(RTI::InteractionClassHandle, const RTI::ParameterHandleValuePairSet& theParameters,
                          const char*) {
    interactions += printValues(theParameters, loudness, "received Horn");
  }
  void receiveInteraction(RTI::InteractionClassHandle theInteraction,
                          const RTI::ParameterHandleValuePairSet& theParameters, const RTI::FedTime&,
                          const char* theTag, RTI::EventRetractionHandle) {
    receiveInteraction(theInteraction, theParameters, theTag);
  }
  void removeObjectInstance(RTI::ObjectHandle theObject, const char*) {
    std::cout << "removed " << names[theObject] << std::endl;
  }
  void removeObjectInstance(RTI::ObjectHandle theObject, const RTI::FedTime&, const char* theTag,
                            RTI::EventRetractionHandle) {
    removeObjectInstance(theObject, theTag);
  }
  void attributesInScope(RTI::ObjectHandle, const RTI::AttributeHandleSet&) {}
  void attributesOutOfScope(RTI::ObjectHandle, const RTI::AttributeHandleSet&) {}
  void provideAttributeValueUpdate(RTI::ObjectHandle, const RTI::AttributeHandleSet&) {}
  void turnUpdatesOnForObjectInstance(RTI::ObjectHandle, const RTI::AttributeHandleSet&) {}
  void turnUpdatesOffForObjectInstance(RTI::ObjectHandle, const RTI::AttributeHandleSet&) {}

  // Ownership management: not used by this federate.
  void requestAttributeOwnershipAssumption(RTI::ObjectHandle, const RTI::AttributeHandleSet&, const char*) {}
  void attributeOwnershipDivestitureNotification(RTI::ObjectHandle, const RTI::AttributeHandleSet&) {}
  void attributeOwnershipAcquisitionNotification(RTI::ObjectHandle, const RTI::AttributeHandleSet&) {}
  void attributeOwnershipUnavailable(RTI::ObjectHandle, const RTI::AttributeHandleSet&) {}
  void requestAttributeOwnershipRelease(RTI::ObjectHandle, const RTI::AttributeHandleSet&, const char*) {}
  void confirmAttributeOwnershipAcquisitionCancellation(RTI::ObjectHandle, const RTI::AttributeHandleSet&) {}
  void informAttributeOwnership(RTI::ObjectHandle, RTI::AttributeHandle, RTI::FederateHandle) {}
  void attributeIsNotOwned(RTI::ObjectHandle, RTI::AttributeHandle) {}
  void attributeOwnedByRTI(RTI::ObjectHandle, RTI::AttributeHandle) {}

  // Time management: not used by this federate.
  void timeRegulationEnabled(const RTI::FedTime&) {}
  void timeConstrainedEnabled(const RTI::FedTime&) {}
  void timeAdvanceGrant(const RTI::FedTime&) {}
  void requestRetraction(RTI::EventRetractionHandle) {}

  std::map<RTI::ObjectHandle, std::string> names;
  int reflections;
  int interactions;
  RTI::AttributeHandle position;
  RTI::ParameterHandle loudness;
};

int main(int argc, char** argv) {
  if (argc < 4) {
    std::cerr << "usage: standard-federate <execution> <fed file> <federate name> [seconds]" << std::endl;
    return 2;
  }
  const char* execution = argv[1];
  const char* fedFile = argv[2];
  const std::string federate = argv[3];
  const double seconds = argc > 4 ? std::atof(argv[4]) : 10.0;

  try {
    RTI::RTIambassador rti;
    StandardFedAmb fedAmb;
    try {
      rti.createFederationExecution(execution, fedFile);
    } catch (RTI::FederationExecutionAlreadyExists&) {
    }
    rti.joinFederationExecution(federate.c_str(), execution, &fedAmb);

    const RTI::ObjectClassHandle vehicle = rti.getObjectClassHandle("Vehicle");
    fedAmb.position = rti.getAttributeHandle("Position", vehicle);
    const RTI::AttributeHandle name = rti.getAttributeHandle("Name", vehicle);
    RTI::AttributeHandleSet* attributes = RTI::AttributeHandleSetFactory::create(2);
    attributes->add(fedAmb.position);
    attributes->add(name);
    rti.publishObjectClass(vehicle, *attributes);
    rti.subscribeObjectClassAttributes(vehicle, *attributes, RTI::RTI_TRUE);
    attributes->empty();
    delete attributes;

    const RTI::InteractionClassHandle horn = rti.getInteractionClassHandle("Horn");
    fedAmb.loudness = rti.getParameterHandle("Loudness", horn);
    rti.publishInteractionClass(horn);
    rti.subscribeInteractionClass(horn, RTI::RTI_TRUE);

    const std::string carName = federate + "-car";
    const RTI::ObjectHandle car = rti.registerObjectInstance(vehicle, carName.c_str());
    RTI::AttributeHandleValuePairSet* values = RTI::AttributeSetFactory::create(2);
    RTI::ParameterHandleValuePairSet* parameters = RTI::ParameterSetFactory::create(1);

    int updates = 0;
    for (double waited = 0; waited < seconds && (fedAmb.reflections < 3 || fedAmb.interactions < 3); waited += 0.05) {
      std::ostringstream where;
      where << "at-" << ++updates;
      const std::string position = where.str();
      values->empty();
      values->add(fedAmb.position, position.c_str(), static_cast<RTI::ULong>(position.size()));
      values->add(name, federate.c_str(), static_cast<RTI::ULong>(federate.size()));
      rti.updateAttributeValues(car, *values, "standard");
      parameters->empty();
      parameters->add(fedAmb.loudness, position.c_str(), static_cast<RTI::ULong>(position.size()));
      rti.sendInteraction(horn, *parameters, "standard");
      rti.tick(0.05, 0.1);
    }
    delete values;
    delete parameters;
    const bool sawEnough = fedAmb.reflections >= 3 && fedAmb.interactions >= 3;

    rti.deleteObjectInstance(car, "leaving");
    rti.resignFederationExecution(RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES);
    try {
      rti.destroyFederationExecution(execution);
    } catch (RTI::FederatesCurrentlyJoined&) {
    }
    std::cout << "done" << std::endl;
    return sawEnough ? 0 : 1;
  } catch (RTI::Exception& e) {
    std::cout << "exception " << (e._name ? e._name : "RTI::Exception") << " " << (e._reason ? e._reason : "")
              << std::endl;
    return 2;
  }
}
