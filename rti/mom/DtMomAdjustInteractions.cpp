#include "mom/DtMomAdjustInteractions.h"

#include "mom/DtMomFields.h"

std::span<const DtMomParameter> DtModifyAttributeStateInteraction::parameters() const {
  using Self = DtModifyAttributeStateInteraction;
  static constexpr DtMomParameter rows[] = {
      DtMomFederateParameter, DtMomField<&Self::attribute, &Self::setAttribute>(ATTRIBUTE_PARAMETER_NAME),
      DtMomField<&Self::attributeState, &Self::setAttributeState>(ATTRIBUTE_STATE_PARAMETER_NAME),
      DtMomField<&Self::objectInstance, &Self::setObjectInstance>(OBJECT_INSTANCE_PARAMETER_NAME)};
  return rows;
}

std::span<const DtMomParameter> DtSetExceptionLoggingInteraction::parameters() const {
  using Self = DtSetExceptionLoggingInteraction;
  static constexpr DtMomParameter rows[] = {
      DtMomFederateParameter, DtMomField<&Self::loggingState, &Self::setLoggingState>(LOGGING_STATE_PARAMETER_NAME)};
  return rows;
}

std::span<const DtMomParameter> DtSetTimingInteraction::parameters() const {
  using Self = DtSetTimingInteraction;
  static constexpr DtMomParameter rows[] = {
      DtMomFederateParameter, DtMomField<&Self::reportPeriod, &Self::setReportPeriod>(REPORT_PERIOD_PARAMETER_NAME)};
  return rows;
}

std::span<const DtMomParameter> DtSetServiceReportingInteraction::parameters() const {
  using Self = DtSetServiceReportingInteraction;
  static constexpr DtMomParameter rows[] = {
      DtMomFederateParameter,
      DtMomField<&Self::reportingState, &Self::setReportingState>(REPORTING_STATE_PARAMETER_NAME)};
  return rows;
}
