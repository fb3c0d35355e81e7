#include "mom/DtMomTimeServiceInteractions.h"

std::span<const DtMomParameter> DtEnableTimeRegulationInteraction::parameters() const {
  using Self = DtEnableTimeRegulationInteraction;
  static constexpr DtMomParameter rows[] = {
      DtMomFederateParameter, DtMomField<&Self::fedtime, &Self::setFedtime>(FEDTIME_PARAMETER_NAME),
      DtMomField<&Self::lookahead, &Self::setLookahead>(LOOKAHEAD_PARAMETER_NAME)};
  return rows;
}
