#pragma once
// DtInteractionMomHook: what the interaction manager tells the management
// object model: a subscription to an interaction class is about to be made,
// so that the model can get the class ready (its own Manager classes) first.
// The MOM manager implements it; the federate manager hands it to the
// interaction manager after a join, when the management object model runs.
//
// Called on the federate's thread, inside the subscription service.

class DtInteractionClassInfo;

class DtInteractionMomHook {
public:
  virtual ~DtInteractionMomHook() = default;

  virtual void prepareForSubscribe(DtInteractionClassInfo& interactionClass) = 0;
};
