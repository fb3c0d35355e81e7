#pragma once
// The Manager.Federate.Service interactions of federation management: a
// federate asks the MOM of a joined federate (the "Federate" parameter; 0 for
// every one) to report the outcome of a save or restore, to achieve a
// synchronization point, or to resign.

#include "mom/DtMomClassName.h"
#include "mom/DtMomFields.h"
#include "mom/DtMomInteraction.h"

using DtFederateSaveBegunInteraction = DtMomFederateOnlyInteraction<"Manager.Federate.Service.FederateSaveBegun">;

// The end of a save or restore, successful until said otherwise.
template <DtMomClassName Name>
class DtMomOutcomeServiceInteraction : public DtMomInteraction {
public:
  static constexpr const char* SUCCESS_INDICATOR_PARAMETER_NAME = "SuccessIndicator";

  DtMomOutcomeServiceInteraction() : DtMomInteraction(Name.chars, 2) {}
  static DtMomInteraction* create() { return make<DtMomOutcomeServiceInteraction>(); }

  virtual RTI::Boolean successIndicator() const { return successIndicator_; }
  virtual void setSuccessIndicator(RTI::Boolean success) { successIndicator_ = success; }

protected:
  std::span<const DtMomParameter> parameters() const override {
    using Self = DtMomOutcomeServiceInteraction;
    static constexpr DtMomParameter rows[] = {
        DtMomFederateParameter,
        DtMomField<&Self::successIndicator, &Self::setSuccessIndicator>(SUCCESS_INDICATOR_PARAMETER_NAME)};
    return rows;
  }

private:
  RTI::Boolean successIndicator_ = RTI::RTI_TRUE;
};

using DtFederateRestoreCompleteInteraction =
    DtMomOutcomeServiceInteraction<"Manager.Federate.Service.FederateRestoreComplete">;
using DtFederateSaveCompleteInteraction =
    DtMomOutcomeServiceInteraction<"Manager.Federate.Service.FederateSaveComplete">;

// The resign action travels as its text: "release attributes", "delete
// objects", "delete objects and release attributes" or "no action" (the
// default), read back ignoring case. A text that names none of the four
// leaves the action as it was.
class DtResignFederationExecutionInteraction : public DtMomInteraction {
public:
  static constexpr const char* RESIGN_ACTION_PARAMETER_NAME = "ResignAction";

  DtResignFederationExecutionInteraction()
      : DtMomInteraction("Manager.Federate.Service.ResignFederationExecution", 2) {}
  static DtMomInteraction* create() { return make<DtResignFederationExecutionInteraction>(); }

  virtual RTI::ResignAction resignAction() const { return resignAction_; }
  virtual void setResignAction(RTI::ResignAction action) { resignAction_ = action; }

  // A value outside 0 to 4 is written as the empty text, 0 as "NULL".
  static void encodeResignAction(const DtMomInteraction& interaction, RTI::ParameterHandleValuePairSet* set,
                                 RTI::ParameterHandle handle);
  static bool decodeResignAction(DtMomInteraction* interaction, const RTI::ParameterHandleValuePairSet& set,
                                 RTI::ULong index, const char* parameter);

protected:
  std::span<const DtMomParameter> parameters() const override;

private:
  RTI::ResignAction resignAction_ = RTI::NO_ACTION;
};

class DtSynchronizationPointAchievedInteraction : public DtMomInteraction {
public:
  static constexpr const char* LABEL_PARAMETER_NAME = "Label";

  DtSynchronizationPointAchievedInteraction()
      : DtMomInteraction("Manager.Federate.Service.SynchronizationPointAchieved", 2) {}
  static DtMomInteraction* create() { return make<DtSynchronizationPointAchievedInteraction>(); }

  virtual DtString label() const { return label_; }
  virtual void setLabel(const DtString& label) { label_ = label; }

protected:
  std::span<const DtMomParameter> parameters() const override;

private:
  DtString label_;
};
