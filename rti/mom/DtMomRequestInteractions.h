#pragma once
// The Manager.Federate.Request interactions, by which a federate asks the MOM
// of a joined federate (the "Federate" parameter; 0 for every one) to send
// one of its reports at once. Each class's name repeats "Request" in its last
// component, as the FOM has it.

#include "mom/DtMomClassName.h"
#include "mom/DtMomInteraction.h"

using DtRequestObjectsOwnedInteraction = DtMomFederateOnlyInteraction<"Manager.Federate.Request.RequestObjectsOwned">;
using DtRequestUpdatesSentInteraction = DtMomFederateOnlyInteraction<"Manager.Federate.Request.RequestUpdatesSent">;
using DtRequestPublicationsInteraction = DtMomFederateOnlyInteraction<"Manager.Federate.Request.RequestPublications">;
using DtRequestReflectionsReceivedInteraction =
    DtMomFederateOnlyInteraction<"Manager.Federate.Request.RequestReflectionsReceived">;
using DtRequestInteractionsSentInteraction =
    DtMomFederateOnlyInteraction<"Manager.Federate.Request.RequestInteractionsSent">;
using DtRequestObjectsUpdatedInteraction =
    DtMomFederateOnlyInteraction<"Manager.Federate.Request.RequestObjectsUpdated">;
using DtRequestSubscriptionsInteraction = DtMomFederateOnlyInteraction<"Manager.Federate.Request.RequestSubscriptions">;
using DtRequestInteractionsReceivedInteraction =
    DtMomFederateOnlyInteraction<"Manager.Federate.Request.RequestInteractionsReceived">;
using DtRequestObjectsReflectedInteraction =
    DtMomFederateOnlyInteraction<"Manager.Federate.Request.RequestObjectsReflected">;

// What the federate knows of the object instance of that name.
class DtRequestObjectInformationInteraction : public DtMomInteraction {
public:
  static constexpr const char* OBJECT_INSTANCE_PARAMETER_NAME = "ObjectInstance";

  DtRequestObjectInformationInteraction() : DtMomInteraction("Manager.Federate.Request.RequestObjectInformation", 2) {}
  static DtMomInteraction* create() { return make<DtRequestObjectInformationInteraction>(); }

  virtual DtString objectInstance() const { return objectInstance_; }
  virtual void setObjectInstance(const DtString& instance) { objectInstance_ = instance; }

protected:
  std::span<const DtMomParameter> parameters() const override;

private:
  DtString objectInstance_{"0"};
};
