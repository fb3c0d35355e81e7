#include "mom/DtMomObjectServiceInteractions.h"

#include <cstring>

#include "mom/DtMomFields.h"

std::span<const DtMomParameter> DtChangeAttributeOrderTypeInteraction::parameters() const {
  using Self = DtChangeAttributeOrderTypeInteraction;
  static constexpr DtMomParameter rows[] = {
      DtMomFederateParameter, DtMomField<&Self::instance, &Self::setInstance>(OBJECT_INSTANCE_PARAMETER_NAME),
      DtMomField<&Self::attributeList, &Self::setAttributeList>(ATTRIBUTE_LIST_PARAMETER_NAME),
      DtMomField<&Self::order, &Self::setOrder>(ORDER_TYPE_PARAMETER_NAME)};
  return rows;
}

std::span<const DtMomParameter> DtChangeAttributeTransportationTypeInteraction::parameters() const {
  using Self = DtChangeAttributeTransportationTypeInteraction;
  static constexpr DtMomParameter rows[] = {DtMomFederateParameter,
                                            DtMomField<&Self::instance, &Self::setInstance>(theObjectInstance),
                                            DtMomField<&Self::attributeList, &Self::setAttributeList>(theAttributeList),
                                            DtMomField<&Self::transport, &Self::setTransport>(theTransportType)};
  return rows;
}

std::span<const DtMomParameter> DtChangeInteractionOrderTypeInteraction::parameters() const {
  using Self = DtChangeInteractionOrderTypeInteraction;
  static constexpr DtMomParameter rows[] = {
      DtMomFederateParameter,
      DtMomField<&Self::interactionHandle, &Self::setInteractionHandle>(INTERACTION_HANDLE_PARAMETER_NAME),
      DtMomField<&Self::order, &Self::setOrder>(ORDER_TYPE_PARAMETER_NAME)};
  return rows;
}

std::span<const DtMomParameter> DtChangeInteractionTransportationTypeInteraction::parameters() const {
  using Self = DtChangeInteractionTransportationTypeInteraction;
  static constexpr DtMomParameter rows[] = {
      DtMomFederateParameter,
      DtMomField<&Self::interactionHandle, &Self::setInteractionHandle>(INTERACTION_HANDLE_PARAMETER_NAME),
      DtMomField<&Self::transport, &Self::setTransport>(TRANSPORT_TYPE_PARAMETER_NAME)};
  return rows;
}

std::span<const DtMomParameter> DtDeleteObjectInstanceInteraction::parameters() const {
  using Self = DtDeleteObjectInstanceInteraction;
  static constexpr DtMomParameter rows[] = {
      DtMomFederateParameter, DtMomField<&Self::instance, &Self::setInstance>(OBJECT_INSTANCE_PARAMETER_NAME),
      DtMomField<&Self::tag, &Self::setTag>(TAG_PARAMETER_NAME),
      DtMomField<&Self::fedtime, &Self::setFedtime>(FEDTIME_PARAMETER_NAME)};
  return rows;
}

bool DtDeleteObjectInstanceInteraction::carries(const DtMomParameter& parameter) const {
  return timeSpecified_ || std::strcmp(parameter.name, FEDTIME_PARAMETER_NAME) != 0;
}

std::span<const DtMomParameter> DtLocalDeleteObjectInstanceInteraction::parameters() const {
  using Self = DtLocalDeleteObjectInstanceInteraction;
  static constexpr DtMomParameter rows[] = {
      DtMomFederateParameter, DtMomField<&Self::instance, &Self::setInstance>(OBJECT_INSTANCE_PARAMETER_NAME)};
  return rows;
}

std::span<const DtMomParameter> DtUnconditionalAttributeOwnershipDivestitureInteraction::parameters() const {
  using Self = DtUnconditionalAttributeOwnershipDivestitureInteraction;
  static constexpr DtMomParameter rows[] = {
      DtMomFederateParameter, DtMomField<&Self::instance, &Self::setInstance>(OBJECT_INSTANCE_PARAMETER_NAME),
      DtMomField<&Self::attributeList, &Self::setAttributeList>(ATTRIBUTE_LIST_PARAMETER_NAME)};
  return rows;
}
