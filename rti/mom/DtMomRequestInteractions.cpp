#include "mom/DtMomRequestInteractions.h"

#include "mom/DtMomFields.h"

std::span<const DtMomParameter> DtRequestObjectInformationInteraction::parameters() const {
  using Self = DtRequestObjectInformationInteraction;
  static constexpr DtMomParameter rows[] = {
      DtMomFederateParameter,
      DtMomField<&Self::objectInstance, &Self::setObjectInstance>(OBJECT_INSTANCE_PARAMETER_NAME)};
  return rows;
}
