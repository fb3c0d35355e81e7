#pragma once
// DtTsoEventFedAmb: the link of the callback chain that tells the time
// manager whenever a time-stamped event (a reflection, an interaction or a
// removal with its time) passes on its way to the federate, so that a
// next-event step knows it has delivered one. Every other callback passes
// unchanged.
//
// Used on the thread that ticks.

#include "api/DtFedAmbWrapper.h"

class DtTimeMgr;

class DtTsoEventFedAmb : public DtFedAmbWrapper {
public:
  // A null time manager is a fatal error.
  explicit DtTsoEventFedAmb(DtTimeMgr* timeMgr);

  void reflectAttributeValues(RTI::ObjectHandle theObject, const RTI::AttributeHandleValuePairSet& theAttributes,
                              const RTI::FedTime& theTime, const char* theTag,
                              RTI::EventRetractionHandle theHandle) override;
  void receiveInteraction(RTI::InteractionClassHandle theInteraction,
                          const RTI::ParameterHandleValuePairSet& theParameters, const RTI::FedTime& theTime,
                          const char* theTag, RTI::EventRetractionHandle theHandle) override;
  void removeObjectInstance(RTI::ObjectHandle theObject, const RTI::FedTime& theTime, const char* theTag,
                            RTI::EventRetractionHandle theHandle) override;
  using DtFedAmbWrapper::receiveInteraction;
  using DtFedAmbWrapper::reflectAttributeValues;
  using DtFedAmbWrapper::removeObjectInstance;

private:
  DtTimeMgr* timeMgr_;
};
