#pragma once
// The Manager.Federate.Service interactions of time management: a federate
// asks the MOM of a joined federate (the "Federate" parameter; 0 for every
// one) to call one of these services of its own RTI ambassador. The times
// are owned by the interaction: a setter takes the given time over, and a
// copy holds times of its own with the same values.

#include "mom/DtMomClassName.h"
#include "mom/DtMomFields.h"
#include "mom/DtMomInteraction.h"
#include "mom/DtMomOwnedTime.h"

using DtDisableAsynchronousDeliveryInteraction =
    DtMomFederateOnlyInteraction<"Manager.Federate.Service.DisableAsynchronousDelivery">;
using DtDisableTimeConstrainedInteraction =
    DtMomFederateOnlyInteraction<"Manager.Federate.Service.DisableTimeConstrained">;
using DtDisableTimeRegulationInteraction =
    DtMomFederateOnlyInteraction<"Manager.Federate.Service.DisableTimeRegulation">;
using DtEnableAsynchronousDeliveryInteraction =
    DtMomFederateOnlyInteraction<"Manager.Federate.Service.EnableAsynchronousDelivery">;
using DtEnableTimeConstrainedInteraction =
    DtMomFederateOnlyInteraction<"Manager.Federate.Service.EnableTimeConstrained">;

// A service with one time argument (zero until set).
template <DtMomClassName Name, DtMomClassName Parameter = "FederationTime">
class DtMomTimeServiceInteraction : public DtMomInteraction {
public:
  static constexpr const char* FEDTIME_PARAMETER_NAME = Parameter.chars;

  DtMomTimeServiceInteraction() : DtMomInteraction(Name.chars, 2) {}
  static DtMomInteraction* create() { return make<DtMomTimeServiceInteraction>(); }

  virtual RTI::FedTime* fedtime() const { return fedtime_.get(); }
  virtual void setFedtime(RTI::FedTime* time) { fedtime_.reset(time); }

protected:
  std::span<const DtMomParameter> parameters() const override {
    using Self = DtMomTimeServiceInteraction;
    static constexpr DtMomParameter rows[] = {DtMomFederateParameter,
                                              DtMomField<&Self::fedtime, &Self::setFedtime>(FEDTIME_PARAMETER_NAME)};
    return rows;
  }

private:
  DtMomOwnedTime fedtime_;
};

using DtFlushQueueRequestInteraction = DtMomTimeServiceInteraction<"Manager.Federate.Service.FlushQueueRequest">;
// Its one parameter is "lookahead", with a small l.
using DtModifyLookaheadInteraction =
    DtMomTimeServiceInteraction<"Manager.Federate.Service.ModifyLookahead", "lookahead">;
using DtNextEventRequestInteraction = DtMomTimeServiceInteraction<"Manager.Federate.Service.NextEventRequest">;
using DtNextEventRequestAvailableInteraction =
    DtMomTimeServiceInteraction<"Manager.Federate.Service.NextEventRequestAvailable">;
using DtTimeAdvanceRequestInteraction = DtMomTimeServiceInteraction<"Manager.Federate.Service.TimeAdvanceRequest">;
using DtTimeAdvanceRequestAvailableInteraction =
    DtMomTimeServiceInteraction<"Manager.Federate.Service.TimeAdvanceRequestAvailable">;

class DtEnableTimeRegulationInteraction : public DtMomInteraction {
public:
  static constexpr const char* FEDTIME_PARAMETER_NAME = "FederationTime";
  static constexpr const char* LOOKAHEAD_PARAMETER_NAME = "Lookahead";

  DtEnableTimeRegulationInteraction() : DtMomInteraction("Manager.Federate.Service.EnableTimeRegulation", 3) {}
  static DtMomInteraction* create() { return make<DtEnableTimeRegulationInteraction>(); }

  virtual RTI::FedTime* fedtime() const { return fedtime_.get(); }
  virtual void setFedtime(RTI::FedTime* time) { fedtime_.reset(time); }
  virtual RTI::FedTime* lookahead() const { return lookahead_.get(); }
  virtual void setLookahead(RTI::FedTime* time) { lookahead_.reset(time); }

protected:
  std::span<const DtMomParameter> parameters() const override;

private:
  DtMomOwnedTime fedtime_;
  DtMomOwnedTime lookahead_;
};
