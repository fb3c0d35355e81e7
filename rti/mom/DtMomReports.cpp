#include "mom/DtMomReports.h"

#include "mom/DtMomFields.h"

namespace {

// A class handle, or the empty text for none (0); the empty text reads back
// as 0.
struct ClassOrNoneCodec : DtMomCodec<std::uint32_t> {
  static void encode(std::uint32_t value, RTI::ParameterHandleValuePairSet* set, RTI::ParameterHandle handle) {
    if (value == 0) {
      DtMomInteraction::genericEncodeString("", set, handle);
    } else {
      DtMomInteraction::genericEncodeHandle(value, set, handle);
    }
  }
};

}  // namespace

std::span<const DtMomParameter> DtAlertInteraction::parameters() const {
  using Self = DtAlertInteraction;
  static constexpr DtMomParameter rows[] = {
      DtMomFederateParameter, DtMomField<&Self::alertID, &Self::setAlertID>(ALERT_I_D_PARAMETER_NAME),
      DtMomField<&Self::alertSeverity, &Self::setAlertSeverity>(ALERT_SEVERITY_PARAMETER_NAME),
      DtMomField<&Self::alertDescription, &Self::setAlertDescription>(ALERT_DESCRIPTION_PARAMETER_NAME)};
  return rows;
}

std::span<const DtMomParameter> DtReportServiceInvocationInteraction::parameters() const {
  using Self = DtReportServiceInvocationInteraction;
  static constexpr DtMomParameter rows[] = {
      DtMomFederateParameter,
      DtMomField<&Self::service, &Self::setService>(SERVICE_PARAMETER_NAME),
      DtMomField<&Self::initiator, &Self::setInitiator>(INITIATOR_PARAMETER_NAME),
      DtMomField<&Self::successIndicator, &Self::setSuccessIndicator>(SUCCESS_INDICATOR_PARAMETER_NAME),
      DtMomField<&Self::suppliedArgument1, &Self::setSuppliedArgument1>(SUPPLIED_ARGUMENT1_PARAMETER_NAME),
      DtMomField<&Self::suppliedArgument2, &Self::setSuppliedArgument2>(SUPPLIED_ARGUMENT2_PARAMETER_NAME),
      DtMomField<&Self::suppliedArgument3, &Self::setSuppliedArgument3>(SUPPLIED_ARGUMENT3_PARAMETER_NAME),
      DtMomField<&Self::suppliedArgument4, &Self::setSuppliedArgument4>(SUPPLIED_ARGUMENT4_PARAMETER_NAME),
      DtMomField<&Self::suppliedArgument5, &Self::setSuppliedArgument5>(SUPPLIED_ARGUMENT5_PARAMETER_NAME),
      DtMomField<&Self::returnedArgument, &Self::setReturnedArgument>(RETURNED_ARGUMENT_PARAMETER_NAME),
      DtMomField<&Self::exceptionDescription, &Self::setExceptionDescription>(EXCEPTION_DESCRIPTION_PARAMETER_NAME),
      DtMomField<&Self::exceptionID, &Self::setExceptionID>(EXCEPTION_ID_PARAMETER_NAME)};
  return rows;
}

std::span<const DtMomParameter> DtReportObjectInformationInteraction::parameters() const {
  using Self = DtReportObjectInformationInteraction;
  static constexpr DtMomParameter rows[] = {
      DtMomFederateParameter,
      DtMomField<&Self::registeredClass, &Self::setRegisteredClass, ClassOrNoneCodec>(REGISTERED_CLASS_PARAMETER_NAME),
      DtMomField<&Self::ownedAttributeList, &Self::setOwnedAttributeList>(OWNED_ATTRIBUTE_LIST_PARAMETER_NAME),
      DtMomField<&Self::objectInstance, &Self::setObjectInstance>(OBJECT_INSTANCE_PARAMETER_NAME),
      DtMomField<&Self::knownClass, &Self::setKnownClass, ClassOrNoneCodec>(KNOWN_CLASS_PARAMETER_NAME)};
  return rows;
}
