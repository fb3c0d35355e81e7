#include "core/DtFedAmbPrinter.h"

#include <cstdint>

#include "api/DtAttrValueSet.h"
#include "api/DtAttributeHandleSet.h"
#include "api/DtParamValueSet.h"
#include "core/DtFederateMgr.h"
#include "core/DtServiceTrace.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtInteractionClassInfo.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtObjectMgr.h"
#include "objects/DtRtiObject.h"
#include "util/DtNotify.h"

namespace {

const char* const unnamed = "(null)";

// Handles and retraction numbers are 32-bit wherever they travel.
unsigned int u32(RTI::ULong value) { return static_cast<unsigned int>(value); }
int i32(RTI::ULong value) { return static_cast<int>(static_cast<std::uint32_t>(value)); }

const char* text(const char* text) { return DtServiceTrace::text(text); }

// The sets are named from notify level 3 on; the level may have been lowered
// since the printer was filed.
bool setsShown() { return DtGetNotifyLevel() >= 3; }

const char* className(const DtFomClassMgr& fom, RTI::ObjectClassHandle handle) {
  const DtObjectClassInfo* info = fom.classByHandle(handle);
  return info ? info->name() : unnamed;
}

const char* interactionName(const DtFomClassMgr& fom, RTI::InteractionClassHandle handle) {
  const DtInteractionClassInfo* info = fom.interactionByHandle(handle);
  return info ? info->name() : unnamed;
}

// What a line says of an object: its name, and the class (its actual one)
// by which its attributes are named.
struct ObjectView {
  const char* name = unnamed;
  const DtObjectClassInfo* actualClass = nullptr;
};

ObjectView viewOf(const DtObjectMgr& objects, RTI::ObjectHandle object) {
  const DtRtiObject* known = objects.knownObj(object);
  if (!known) return {};
  return {known->objName(), known->actualClass()};
}

}  // namespace

DtFedAmbPrinter::DtFedAmbPrinter(DtFederateMgr* fedMgr) : fedMgr_(fedMgr) {
  if (!fedMgr_) DtNotifyError("FedAmb Printer instantiated with NULL federate manager\n");
}

DtFedAmbPrinter::~DtFedAmbPrinter() = default;

DtFomClassMgr* DtFedAmbPrinter::fom() const { return fedMgr_ ? fedMgr_->fom() : nullptr; }

DtObjectMgr* DtFedAmbPrinter::objMgr() const { return fedMgr_ ? fedMgr_->objMgr() : nullptr; }

void DtFedAmbPrinter::printObject(const char* callback, RTI::ObjectHandle object,
                                  const RTI::AttributeHandleSet& attributes, const char* tag) const {
  const DtObjectMgr* objects = objMgr();
  if (!objects) return;
  const ObjectView view = viewOf(*objects, object);
  if (tag) {
    DtNotifyVerbose("FedAmb=>%s: %s (%u) %s\n", callback, view.name, u32(object), tag);
  } else {
    DtNotifyVerbose("FedAmb=>%s: %s (%u)\n", callback, view.name, u32(object));
  }
  if (setsShown()) DtAttributeHandleSet::printNames(attributes, view.actualClass);
}

void DtFedAmbPrinter::printClass(const char* callback, RTI::ObjectClassHandle theClass) const {
  if (const DtFomClassMgr* classes = fom()) {
    DtNotifyVerbose("FedAmb=>%s: %s (%u)\n", callback, className(*classes, theClass), u32(theClass));
  }
}

void DtFedAmbPrinter::printInteraction(const char* callback, RTI::InteractionClassHandle theClass) const {
  if (const DtFomClassMgr* classes = fom()) {
    DtNotifyVerbose("FedAmb=>%s: %s (%u)\n", callback, interactionName(*classes, theClass), u32(theClass));
  }
}

void DtFedAmbPrinter::printAttribute(const char* callback, RTI::ObjectHandle object,
                                     RTI::AttributeHandle attribute) const {
  const DtObjectMgr* objects = objMgr();
  if (!objects) return;
  const ObjectView view = viewOf(*objects, object);
  DtNotifyVerbose("FedAmb=>%s: %s (%u) %s (%u)\n", callback, view.name, u32(object),
                  DtClassDescription::printableName(view.actualClass, attribute), u32(attribute));
}

// Federation management -------------------------------------------------------

void DtFedAmbPrinter::synchronizationPointRegistrationSucceeded(const char* label) {
  if (!fedAmb()) return;
  DtNotifyVerbose("FedAmb=>synchronizationPointRegistrationSucceeded: %s\n", text(label));
  DtFedAmbWrapper::synchronizationPointRegistrationSucceeded(label);
}

void DtFedAmbPrinter::synchronizationPointRegistrationFailed(const char* label) {
  if (!fedAmb()) return;
  DtNotifyVerbose("FedAmb=>synchronizationPointRegistrationFailed: %s\n", text(label));
  DtFedAmbWrapper::synchronizationPointRegistrationFailed(label);
}

void DtFedAmbPrinter::announceSynchronizationPoint(const char* label, const char* tag) {
  if (!fedAmb()) return;
  DtNotifyVerbose("FedAmb=>announceSynchronizationPoint: %s %s\n", text(label), text(tag));
  DtFedAmbWrapper::announceSynchronizationPoint(label, tag);
}

void DtFedAmbPrinter::federationSynchronized(const char* label) {
  if (!fedAmb()) return;
  DtNotifyVerbose("FedAmb=>federationSynchronized: %s\n", text(label));
  DtFedAmbWrapper::federationSynchronized(label);
}

void DtFedAmbPrinter::initiateFederateSave(const char* label) {
  if (!fedAmb()) return;
  DtNotifyVerbose("FedAmb=>initiateFederateSave: %s\n", text(label));
  DtFedAmbWrapper::initiateFederateSave(label);
}

void DtFedAmbPrinter::federationSaved() {
  if (!fedAmb()) return;
  DtNotifyVerbose("FedAmb=>federationSaved\n");
  DtFedAmbWrapper::federationSaved();
}

void DtFedAmbPrinter::federationNotSaved() {
  if (!fedAmb()) return;
  DtNotifyVerbose("FedAmb=>federationNotSaved\n");
  DtFedAmbWrapper::federationNotSaved();
}

void DtFedAmbPrinter::requestFederationRestoreSucceeded(const char* label) {
  if (!fedAmb()) return;
  DtNotifyVerbose("FedAmb=>requestFederationRestoreSucceeded: %s\n", text(label));
  DtFedAmbWrapper::requestFederationRestoreSucceeded(label);
}

void DtFedAmbPrinter::requestFederationRestoreFailed(const char* label, const char* reason) {
  if (!fedAmb()) return;
  DtNotifyVerbose("FedAmb=>requestFederationRestoreFailed: %s %s\n", text(label), text(reason));
  DtFedAmbWrapper::requestFederationRestoreFailed(label, reason);
}

void DtFedAmbPrinter::federationRestoreBegun() {
  if (!fedAmb()) return;
  DtNotifyVerbose("FedAmb=>federationRestoreBegun\n");
  DtFedAmbWrapper::federationRestoreBegun();
}

void DtFedAmbPrinter::initiateFederateRestore(const char* label, RTI::FederateHandle handle) {
  if (!fedAmb()) return;
  DtNotifyVerbose("FedAmb=>initiateFederateRestore: %s %u\n", text(label), u32(handle));
  DtFedAmbWrapper::initiateFederateRestore(label, handle);
}

void DtFedAmbPrinter::federationRestored() {
  if (!fedAmb()) return;
  DtNotifyVerbose("FedAmb=>federationRestored\n");
  DtFedAmbWrapper::federationRestored();
}

void DtFedAmbPrinter::federationNotRestored() {
  if (!fedAmb()) return;
  DtNotifyVerbose("FedAmb=>federationNotRestored\n");
  DtFedAmbWrapper::federationNotRestored();
}

// Declaration management ------------------------------------------------------

void DtFedAmbPrinter::startRegistrationForObjectClass(RTI::ObjectClassHandle theClass) {
  if (!fedAmb()) return;
  printClass("startRegistrationForObjectClass", theClass);
  DtFedAmbWrapper::startRegistrationForObjectClass(theClass);
}

void DtFedAmbPrinter::stopRegistrationForObjectClass(RTI::ObjectClassHandle theClass) {
  if (!fedAmb()) return;
  printClass("stopRegistrationForObjectClass", theClass);
  DtFedAmbWrapper::stopRegistrationForObjectClass(theClass);
}

void DtFedAmbPrinter::turnInteractionsOn(RTI::InteractionClassHandle theHandle) {
  if (!fedAmb()) return;
  printInteraction("turnInteractionsOn", theHandle);
  DtFedAmbWrapper::turnInteractionsOn(theHandle);
}

void DtFedAmbPrinter::turnInteractionsOff(RTI::InteractionClassHandle theHandle) {
  if (!fedAmb()) return;
  printInteraction("turnInteractionsOff", theHandle);
  DtFedAmbWrapper::turnInteractionsOff(theHandle);
}

// Object management -----------------------------------------------------------

void DtFedAmbPrinter::discoverObjectInstance(RTI::ObjectHandle theObject, RTI::ObjectClassHandle theObjectClass,
                                             const char* theObjectName) {
  if (!fedAmb()) return;
  if (const DtFomClassMgr* classes = fom()) {
    DtNotifyVerbose("FedAmb=>discoverObjectInstance: %s (%u) of class %s (%u)\n", text(theObjectName), u32(theObject),
                    className(*classes, theObjectClass), u32(theObjectClass));
  }
  DtFedAmbWrapper::discoverObjectInstance(theObject, theObjectClass, theObjectName);
}

void DtFedAmbPrinter::reflectAttributeValues(RTI::ObjectHandle theObject,
                                             const RTI::AttributeHandleValuePairSet& theAttributes,
                                             const char* theTag) {
  if (!fedAmb()) return;
  if (const DtObjectMgr* objects = objMgr()) {
    const ObjectView view = viewOf(*objects, theObject);
    DtNotifyVerbose("FedAmb=>reflectAttributeValues: %s (%u) %s\n", view.name, u32(theObject), text(theTag));
    if (setsShown()) DtAttrValueSet::printNames(theAttributes, view.actualClass);
  }
  DtFedAmbWrapper::reflectAttributeValues(theObject, theAttributes, theTag);
}

void DtFedAmbPrinter::reflectAttributeValues(RTI::ObjectHandle theObject,
                                             const RTI::AttributeHandleValuePairSet& theAttributes,
                                             const RTI::FedTime& theTime, const char* theTag,
                                             RTI::EventRetractionHandle theHandle) {
  if (!fedAmb()) return;
  if (const DtObjectMgr* objects = objMgr()) {
    const ObjectView view = viewOf(*objects, theObject);
    const DtServiceTrace::TimeText time(theTime);
    DtNotifyVerbose("FedAmb=>reflectAttributeValues: %s (%u) %s %s {%d, %d}\n", view.name, u32(theObject), time.text(),
                    text(theTag), i32(theHandle.theSerialNumber), i32(theHandle.sendingFederate));
    if (setsShown()) DtAttrValueSet::printNames(theAttributes, view.actualClass);
  }
  DtFedAmbWrapper::reflectAttributeValues(theObject, theAttributes, theTime, theTag, theHandle);
}

void DtFedAmbPrinter::receiveInteraction(RTI::InteractionClassHandle theInteraction,
                                         const RTI::ParameterHandleValuePairSet& theParameters, const char* theTag) {
  if (!fedAmb()) return;
  if (const DtFomClassMgr* classes = fom()) {
    DtNotifyVerbose("FedAmb=>receiveInteraction: %s (%u) %s\n", interactionName(*classes, theInteraction),
                    u32(theInteraction), text(theTag));
    if (setsShown()) DtParamValueSet::printNames(theParameters, classes->interactionByHandle(theInteraction));
  }
  DtFedAmbWrapper::receiveInteraction(theInteraction, theParameters, theTag);
}

void DtFedAmbPrinter::receiveInteraction(RTI::InteractionClassHandle theInteraction,
                                         const RTI::ParameterHandleValuePairSet& theParameters,
                                         const RTI::FedTime& theTime, const char* theTag,
                                         RTI::EventRetractionHandle theHandle) {
  if (!fedAmb()) return;
  if (const DtFomClassMgr* classes = fom()) {
    const DtServiceTrace::TimeText time(theTime);
    DtNotifyVerbose("FedAmb=>receiveInteraction: %s (%u) %s %s {%u, %u}\n", interactionName(*classes, theInteraction),
                    u32(theInteraction), time.text(), text(theTag), u32(theHandle.theSerialNumber),
                    u32(theHandle.sendingFederate));
    if (setsShown()) DtParamValueSet::printNames(theParameters, classes->interactionByHandle(theInteraction));
  }
  DtFedAmbWrapper::receiveInteraction(theInteraction, theParameters, theTime, theTag, theHandle);
}

void DtFedAmbPrinter::removeObjectInstance(RTI::ObjectHandle theObject, const char* theTag) {
  if (!fedAmb()) return;
  if (const DtObjectMgr* objects = objMgr()) {
    DtNotifyVerbose("FedAmb=>removeObjectInstance: %s (%u) %s\n", viewOf(*objects, theObject).name, u32(theObject),
                    text(theTag));
  }
  DtFedAmbWrapper::removeObjectInstance(theObject, theTag);
}

void DtFedAmbPrinter::removeObjectInstance(RTI::ObjectHandle theObject, const RTI::FedTime& theTime, const char* theTag,
                                           RTI::EventRetractionHandle theHandle) {
  if (!fedAmb()) return;
  if (const DtObjectMgr* objects = objMgr()) {
    const DtServiceTrace::TimeText time(theTime);
    DtNotifyVerbose("FedAmb=>removeObjectInstance: %s (%u) %s %s {%u, %u}\n", viewOf(*objects, theObject).name,
                    u32(theObject), time.text(), text(theTag), u32(theHandle.theSerialNumber),
                    u32(theHandle.sendingFederate));
  }
  DtFedAmbWrapper::removeObjectInstance(theObject, theTime, theTag, theHandle);
}

void DtFedAmbPrinter::attributesInScope(RTI::ObjectHandle theObject, const RTI::AttributeHandleSet& theAttributes) {
  if (!fedAmb()) return;
  printObject("attributesInScope", theObject, theAttributes);
  DtFedAmbWrapper::attributesInScope(theObject, theAttributes);
}

void DtFedAmbPrinter::attributesOutOfScope(RTI::ObjectHandle theObject, const RTI::AttributeHandleSet& theAttributes) {
  if (!fedAmb()) return;
  printObject("attributesOutOfScope", theObject, theAttributes);
  DtFedAmbWrapper::attributesOutOfScope(theObject, theAttributes);
}

void DtFedAmbPrinter::provideAttributeValueUpdate(RTI::ObjectHandle theObject,
                                                  const RTI::AttributeHandleSet& theAttributes) {
  if (!fedAmb()) return;
  printObject("provideAttributeValueUpdate", theObject, theAttributes);
  DtFedAmbWrapper::provideAttributeValueUpdate(theObject, theAttributes);
}

void DtFedAmbPrinter::turnUpdatesOnForObjectInstance(RTI::ObjectHandle theObject,
                                                     const RTI::AttributeHandleSet& theAttributes) {
  if (!fedAmb()) return;
  printObject("turnUpdatesOnForObjectInstance", theObject, theAttributes);
  DtFedAmbWrapper::turnUpdatesOnForObjectInstance(theObject, theAttributes);
}

void DtFedAmbPrinter::turnUpdatesOffForObjectInstance(RTI::ObjectHandle theObject,
                                                      const RTI::AttributeHandleSet& theAttributes) {
  if (!fedAmb()) return;
  printObject("turnUpdatesOffForObjectInstance", theObject, theAttributes);
  DtFedAmbWrapper::turnUpdatesOffForObjectInstance(theObject, theAttributes);
}

// Ownership management --------------------------------------------------------

void DtFedAmbPrinter::requestAttributeOwnershipAssumption(RTI::ObjectHandle theObject,
                                                          const RTI::AttributeHandleSet& offeredAttributes,
                                                          const char* theTag) {
  if (!fedAmb()) return;
  printObject("requestAttributeOwnershipAssumption", theObject, offeredAttributes, text(theTag));
  DtFedAmbWrapper::requestAttributeOwnershipAssumption(theObject, offeredAttributes, theTag);
}

void DtFedAmbPrinter::attributeOwnershipDivestitureNotification(RTI::ObjectHandle theObject,
                                                                const RTI::AttributeHandleSet& releasedAttributes) {
  if (!fedAmb()) return;
  printObject("attributeOwnershipDivestitureNotification", theObject, releasedAttributes);
  DtFedAmbWrapper::attributeOwnershipDivestitureNotification(theObject, releasedAttributes);
}

void DtFedAmbPrinter::attributeOwnershipAcquisitionNotification(RTI::ObjectHandle theObject,
                                                                const RTI::AttributeHandleSet& securedAttributes) {
  if (!fedAmb()) return;
  printObject("attributeOwnershipAcquisitionNotification", theObject, securedAttributes);
  DtFedAmbWrapper::attributeOwnershipAcquisitionNotification(theObject, securedAttributes);
}

void DtFedAmbPrinter::attributeOwnershipUnavailable(RTI::ObjectHandle theObject,
                                                    const RTI::AttributeHandleSet& theAttributes) {
  if (!fedAmb()) return;
  printObject("attributeOwnershipUnavailable", theObject, theAttributes);
  DtFedAmbWrapper::attributeOwnershipUnavailable(theObject, theAttributes);
}

void DtFedAmbPrinter::requestAttributeOwnershipRelease(RTI::ObjectHandle theObject,
                                                       const RTI::AttributeHandleSet& candidateAttributes,
                                                       const char* theTag) {
  if (!fedAmb()) return;
  printObject("requestAttributeOwnershipRelease", theObject, candidateAttributes, text(theTag));
  DtFedAmbWrapper::requestAttributeOwnershipRelease(theObject, candidateAttributes, theTag);
}

void DtFedAmbPrinter::confirmAttributeOwnershipAcquisitionCancellation(RTI::ObjectHandle theObject,
                                                                       const RTI::AttributeHandleSet& theAttributes) {
  if (!fedAmb()) return;
  printObject("confirmAttributeOwnershipAcquisitionCancellation", theObject, theAttributes);
  DtFedAmbWrapper::confirmAttributeOwnershipAcquisitionCancellation(theObject, theAttributes);
}

void DtFedAmbPrinter::informAttributeOwnership(RTI::ObjectHandle theObject, RTI::AttributeHandle theAttribute,
                                               RTI::FederateHandle theOwner) {
  if (!fedAmb()) return;
  if (const DtObjectMgr* objects = objMgr()) {
    const ObjectView view = viewOf(*objects, theObject);
    DtNotifyVerbose("FedAmb=>informAttributeOwnership: %s (%u) %s (%u) %u\n", view.name, u32(theObject),
                    DtClassDescription::printableName(view.actualClass, theAttribute), u32(theAttribute),
                    u32(theOwner));
  }
  DtFedAmbWrapper::informAttributeOwnership(theObject, theAttribute, theOwner);
}

void DtFedAmbPrinter::attributeIsNotOwned(RTI::ObjectHandle theObject, RTI::AttributeHandle theAttribute) {
  if (!fedAmb()) return;
  printAttribute("attributeIsNotOwned", theObject, theAttribute);
  DtFedAmbWrapper::attributeIsNotOwned(theObject, theAttribute);
}

void DtFedAmbPrinter::attributeOwnedByRTI(RTI::ObjectHandle theObject, RTI::AttributeHandle theAttribute) {
  if (!fedAmb()) return;
  printAttribute("attributeOwnedByRTI", theObject, theAttribute);
  DtFedAmbWrapper::attributeOwnedByRTI(theObject, theAttribute);
}

// Time management -------------------------------------------------------------

void DtFedAmbPrinter::timeRegulationEnabled(const RTI::FedTime& theFederateTime) {
  if (!fedAmb()) return;
  DtNotifyVerbose("FedAmb=>timeRegulationEnabled: %s\n", DtServiceTrace::TimeText(theFederateTime).text());
  DtFedAmbWrapper::timeRegulationEnabled(theFederateTime);
}

void DtFedAmbPrinter::timeConstrainedEnabled(const RTI::FedTime& theFederateTime) {
  if (!fedAmb()) return;
  DtNotifyVerbose("FedAmb=>timeConstrainedEnabled: %s\n", DtServiceTrace::TimeText(theFederateTime).text());
  DtFedAmbWrapper::timeConstrainedEnabled(theFederateTime);
}

void DtFedAmbPrinter::timeAdvanceGrant(const RTI::FedTime& theTime) {
  if (!fedAmb()) return;
  DtNotifyVerbose("FedAmb=>timeAdvanceGrant: %s\n", DtServiceTrace::TimeText(theTime).text());
  DtFedAmbWrapper::timeAdvanceGrant(theTime);
}

void DtFedAmbPrinter::requestRetraction(RTI::EventRetractionHandle theHandle) {
  if (!fedAmb()) return;
  DtNotifyVerbose("FedAmb=>requestRetraction: %u\n", u32(theHandle.theSerialNumber));
  DtFedAmbWrapper::requestRetraction(theHandle);
}
