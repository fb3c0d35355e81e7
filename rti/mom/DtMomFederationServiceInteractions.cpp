#include "mom/DtMomFederationServiceInteractions.h"

#include "mom/DtMomValueText.h"
#include "mom/DtMomWords.h"

namespace {

constexpr DtMomWord resignActionWords[] = {
    {0, "NULL"},
    {RTI::RELEASE_ATTRIBUTES, "release attributes"},
    {RTI::DELETE_OBJECTS, "delete objects"},
    {RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES, "delete objects and release attributes"},
    {RTI::NO_ACTION, "no action"}};
constexpr DtMomWords resignActions(resignActionWords, "");

}  // namespace

void DtResignFederationExecutionInteraction::encodeResignAction(const DtMomInteraction& interaction,
                                                                RTI::ParameterHandleValuePairSet* set,
                                                                RTI::ParameterHandle handle) {
  const auto& resign = static_cast<const DtResignFederationExecutionInteraction&>(interaction);
  genericEncodeString(resignActions.text(static_cast<std::uint32_t>(resign.resignAction())), set, handle);
}

bool DtResignFederationExecutionInteraction::decodeResignAction(DtMomInteraction* interaction,
                                                                const RTI::ParameterHandleValuePairSet& set,
                                                                RTI::ULong index, const char*) {
  const auto action = resignActions.value(DtMomValueText::text(set, index));
  // "NULL" names no action a federate can take.
  if (action && *action != 0) {
    static_cast<DtResignFederationExecutionInteraction*>(interaction)
        ->setResignAction(static_cast<RTI::ResignAction>(*action));
  }
  return true;
}

std::span<const DtMomParameter> DtResignFederationExecutionInteraction::parameters() const {
  static constexpr DtMomParameter rows[] = {DtMomFederateParameter,
                                            {RESIGN_ACTION_PARAMETER_NAME, &encodeResignAction, &decodeResignAction}};
  return rows;
}

std::span<const DtMomParameter> DtSynchronizationPointAchievedInteraction::parameters() const {
  using Self = DtSynchronizationPointAchievedInteraction;
  static constexpr DtMomParameter rows[] = {DtMomFederateParameter,
                                            DtMomField<&Self::label, &Self::setLabel>(LABEL_PARAMETER_NAME)};
  return rows;
}
