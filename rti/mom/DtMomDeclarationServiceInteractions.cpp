#include "mom/DtMomDeclarationServiceInteractions.h"

std::span<const DtMomParameter> DtPublishObjectClassInteraction::parameters() const {
  using Self = DtPublishObjectClassInteraction;
  static constexpr DtMomParameter rows[] = {
      DtMomFederateParameter, DtMomField<&Self::objectHandle, &Self::setObjectHandle>(OBJECT_HANDLE_PARAMETER_NAME),
      DtMomField<&Self::attributeList, &Self::setAttributeList>(ATTRIBUTE_LIST_PARAMETER_NAME)};
  return rows;
}

std::span<const DtMomParameter> DtSubscribeInteractionClassInteraction::parameters() const {
  using Self = DtSubscribeInteractionClassInteraction;
  static constexpr DtMomParameter rows[] = {
      DtMomFederateParameter,
      DtMomField<&Self::interactionHandle, &Self::setInteractionHandle>(INTERACTION_HANDLE_PARAMETER_NAME),
      DtMomField<&Self::active, &Self::setActive>(ACTIVE_PARAMETER_NAME)};
  return rows;
}

std::span<const DtMomParameter> DtSubscribeObjectClassAttributesInteraction::parameters() const {
  using Self = DtSubscribeObjectClassAttributesInteraction;
  static constexpr DtMomParameter rows[] = {
      DtMomFederateParameter, DtMomField<&Self::objectHandle, &Self::setObjectHandle>(OBJECT_HANDLE_PARAMETER_NAME),
      DtMomField<&Self::attributeList, &Self::setAttributeList>(ATTRIBUTE_LIST_PARAMETER_NAME),
      DtMomField<&Self::active, &Self::setActive>(ACTIVE_PARAMETER_NAME)};
  return rows;
}
