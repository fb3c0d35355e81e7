#include "core/DtTsoEventFedAmb.h"

#include "core/DtTimeMgr.h"
#include "util/DtNotify.h"

DtTsoEventFedAmb::DtTsoEventFedAmb(DtTimeMgr* timeMgr) : timeMgr_(timeMgr) {
  if (!timeMgr_) DtNotifyFatal("Instantiated DtTsoEventFedAmb with null time manager!");
}

void DtTsoEventFedAmb::reflectAttributeValues(RTI::ObjectHandle theObject,
                                              const RTI::AttributeHandleValuePairSet& theAttributes,
                                              const RTI::FedTime& theTime, const char* theTag,
                                              RTI::EventRetractionHandle theHandle) {
  timeMgr_->setTsoEventDelivered();
  DtFedAmbWrapper::reflectAttributeValues(theObject, theAttributes, theTime, theTag, theHandle);
}

void DtTsoEventFedAmb::receiveInteraction(RTI::InteractionClassHandle theInteraction,
                                          const RTI::ParameterHandleValuePairSet& theParameters,
                                          const RTI::FedTime& theTime, const char* theTag,
                                          RTI::EventRetractionHandle theHandle) {
  timeMgr_->setTsoEventDelivered();
  DtFedAmbWrapper::receiveInteraction(theInteraction, theParameters, theTime, theTag, theHandle);
}

void DtTsoEventFedAmb::removeObjectInstance(RTI::ObjectHandle theObject, const RTI::FedTime& theTime,
                                            const char* theTag, RTI::EventRetractionHandle theHandle) {
  timeMgr_->setTsoEventDelivered();
  DtFedAmbWrapper::removeObjectInstance(theObject, theTime, theTag, theHandle);
}
