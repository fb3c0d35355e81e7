#include "mom/DtMomCountReports.h"

#include "mom/DtMomFields.h"

namespace {

// The row of a report's transportation type.
template <class Report>
constexpr DtMomParameter transportRow() {
  return DtMomField<&Report::transportationType, &Report::setTransportationType>(
      Report::TRANSPORTATION_TYPE_PARAMETER_NAME);
}

}  // namespace

void DtReportReflectionsReceivedInteraction::encodeReflectCounts(const DtMomInteraction& interaction,
                                                                 RTI::ParameterHandleValuePairSet* set,
                                                                 RTI::ParameterHandle handle) {
  const auto& report = static_cast<const DtReportReflectionsReceivedInteraction&>(interaction);
  genericEncodeTallyList(report.reflectCounts(), set, handle, RTI::RTI_TRUE, report.transportationType());
}

bool DtReportReflectionsReceivedInteraction::decodeReflectCounts(DtMomInteraction* interaction,
                                                                 const RTI::ParameterHandleValuePairSet& set,
                                                                 RTI::ULong index, const char* parameter) {
  auto* report = static_cast<DtReportReflectionsReceivedInteraction*>(interaction);
  return report->counts_.adopt(DtMomDecodeCounts(*report, set, index, parameter, RTI::RTI_TRUE));
}

std::span<const DtMomParameter> DtReportReflectionsReceivedInteraction::parameters() const {
  static constexpr DtMomParameter rows[] = {DtMomFederateParameter,
                                            {REFLECT_COUNTS_PARAMETER_NAME, &encodeReflectCounts, &decodeReflectCounts},
                                            transportRow<DtReportReflectionsReceivedInteraction>()};
  return rows;
}

void DtReportUpdatesSentInteraction::encodeUpdateCounts(const DtMomInteraction& interaction,
                                                        RTI::ParameterHandleValuePairSet* set,
                                                        RTI::ParameterHandle handle) {
  const auto& report = static_cast<const DtReportUpdatesSentInteraction&>(interaction);
  genericEncodeTallyList(report.updateCounts(), set, handle, RTI::RTI_FALSE, report.transportationType());
}

bool DtReportUpdatesSentInteraction::decodeUpdateCounts(DtMomInteraction* interaction,
                                                        const RTI::ParameterHandleValuePairSet& set, RTI::ULong index,
                                                        const char* parameter) {
  auto* report = static_cast<DtReportUpdatesSentInteraction*>(interaction);
  return report->counts_.adopt(DtMomDecodeCounts(*report, set, index, parameter, RTI::RTI_FALSE));
}

std::span<const DtMomParameter> DtReportUpdatesSentInteraction::parameters() const {
  static constexpr DtMomParameter rows[] = {DtMomFederateParameter,
                                            {UPDATE_COUNTS_PARAMETER_NAME, &encodeUpdateCounts, &decodeUpdateCounts},
                                            transportRow<DtReportUpdatesSentInteraction>()};
  return rows;
}
