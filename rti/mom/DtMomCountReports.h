#pragma once
// The reports that answer the count requests: per class, how many updates,
// reflections or interactions this federate sent or received, or how many
// objects it owns, updated or reflected. The counts travel as "class/count"
// pairs joined by ",", for the classes whose count is not 0.
//
// The MOM manager lends a report the tally list to send (set before phvps;
// the report neither owns nor frees it, and a copy shares it); without one
// the counts are the empty text. A report read from a received interaction
// owns the list it decoded, each count filed under the report's direction
// and transportation type (the one in the same set), and a copy gets a list
// of its own.

#include <memory>

#include "mom/DtMomClassName.h"
#include "mom/DtMomFields.h"
#include "mom/DtMomInteraction.h"
#include "mom/DtMomReportCounts.h"
#include "mom/DtMomTallyList.h"
#include "mom/DtMomValueText.h"
#include "mom/DtMomWords.h"

// The counts of a report with a transportation type, read from pair
// `index`: each count filed under the report's direction and the
// transportation type that the same set carries (an unknown word, told
// about where that parameter is decoded, counts as best effort), else the
// report's own. Null when refused.
template <class Report>
std::unique_ptr<DtMomTallyList> DtMomDecodeCounts(const Report& report, const RTI::ParameterHandleValuePairSet& set,
                                                  RTI::ULong index, const char* parameter, RTI::Boolean received) {
  DtTransportType transport = report.transportationType();
  if (const auto pair = report.lastPairOf(set, Report::TRANSPORTATION_TYPE_PARAMETER_NAME)) {
    transport = static_cast<DtTransportType>(
        DtMomTransportWords.value(DtMomValueText::text(set, *pair)).value_or(DtBestEffort));
  }
  return DtMomInteraction::genericDecodeTallyList(set, index, parameter, received, transport);
}

// Interactions received (or sent), per class, of the report's
// transportation type.
template <DtMomClassName Name, RTI::Boolean Received>
class DtMomInteractionCountsReport : public DtMomInteraction {
public:
  static constexpr const char* INTERACTION_COUNTS_PARAMETER_NAME = "InteractionCounts";
  static constexpr const char* TRANSPORTATION_TYPE_PARAMETER_NAME = "TransportationType";

  DtMomInteractionCountsReport() : DtMomInteraction(Name.chars, 3) {}
  static DtMomInteraction* create() { return make<DtMomInteractionCountsReport>(); }

  virtual DtMomTallyList* interactionCounts() const { return counts_.get(); }
  virtual void setInteractionCounts(DtMomTallyList* counts) { counts_.lend(counts); }
  virtual DtTransportType transportationType() const { return transport_; }
  virtual void setTransportationType(DtTransportType transport) { transport_ = transport; }

  static void encodeInteractionCounts(const DtMomInteraction& interaction, RTI::ParameterHandleValuePairSet* set,
                                      RTI::ParameterHandle handle) {
    const auto& report = static_cast<const DtMomInteractionCountsReport&>(interaction);
    genericEncodeTallyList(report.interactionCounts(), set, handle, Received, report.transportationType());
  }
  static bool decodeInteractionCounts(DtMomInteraction* interaction, const RTI::ParameterHandleValuePairSet& set,
                                      RTI::ULong index, const char* parameter) {
    auto* report = static_cast<DtMomInteractionCountsReport*>(interaction);
    return report->counts_.adopt(DtMomDecodeCounts(*report, set, index, parameter, Received));
  }

protected:
  std::span<const DtMomParameter> parameters() const override {
    using Self = DtMomInteractionCountsReport;
    static constexpr DtMomParameter rows[] = {
        DtMomFederateParameter,
        {INTERACTION_COUNTS_PARAMETER_NAME, &encodeInteractionCounts, &decodeInteractionCounts},
        DtMomField<&Self::transportationType, &Self::setTransportationType>(TRANSPORTATION_TYPE_PARAMETER_NAME)};
    return rows;
  }

private:
  DtMomReportCounts counts_;
  DtTransportType transport_ = DtBestEffort;
};

using DtReportInteractionsReceivedInteraction =
    DtMomInteractionCountsReport<"Manager.Federate.Report.ReportInteractionsReceived", RTI::RTI_TRUE>;
using DtReportInteractionsSentInteraction =
    DtMomInteractionCountsReport<"Manager.Federate.Report.ReportInteractionsSent", RTI::RTI_FALSE>;

// Reflections received, per object class, of the report's transportation
// type.
class DtReportReflectionsReceivedInteraction : public DtMomInteraction {
public:
  static constexpr const char* REFLECT_COUNTS_PARAMETER_NAME = "ReflectCounts";
  static constexpr const char* TRANSPORTATION_TYPE_PARAMETER_NAME = "TransportationType";

  DtReportReflectionsReceivedInteraction() : DtMomInteraction("Manager.Federate.Report.ReportReflectionsReceived", 3) {}
  static DtMomInteraction* create() { return make<DtReportReflectionsReceivedInteraction>(); }

  virtual DtMomTallyList* reflectCounts() const { return counts_.get(); }
  virtual void setReflectCounts(DtMomTallyList* counts) { counts_.lend(counts); }
  virtual DtTransportType transportationType() const { return transport_; }
  virtual void setTransportationType(DtTransportType transport) { transport_ = transport; }

  static void encodeReflectCounts(const DtMomInteraction& interaction, RTI::ParameterHandleValuePairSet* set,
                                  RTI::ParameterHandle handle);
  static bool decodeReflectCounts(DtMomInteraction* interaction, const RTI::ParameterHandleValuePairSet& set,
                                  RTI::ULong index, const char* parameter);

protected:
  std::span<const DtMomParameter> parameters() const override;

private:
  DtMomReportCounts counts_;
  DtTransportType transport_ = DtBestEffort;
};

// Updates sent, per object class, of the report's transportation type.
class DtReportUpdatesSentInteraction : public DtMomInteraction {
public:
  static constexpr const char* UPDATE_COUNTS_PARAMETER_NAME = "UpdateCounts";
  static constexpr const char* TRANSPORTATION_TYPE_PARAMETER_NAME = "TransportationType";

  DtReportUpdatesSentInteraction() : DtMomInteraction("Manager.Federate.Report.ReportUpdatesSent", 3) {}
  static DtMomInteraction* create() { return make<DtReportUpdatesSentInteraction>(); }

  virtual DtMomTallyList* updateCounts() const { return counts_.get(); }
  virtual void setUpdateCounts(DtMomTallyList* counts) { counts_.lend(counts); }
  virtual DtTransportType transportationType() const { return transport_; }
  virtual void setTransportationType(DtTransportType transport) { transport_ = transport; }

  static void encodeUpdateCounts(const DtMomInteraction& interaction, RTI::ParameterHandleValuePairSet* set,
                                 RTI::ParameterHandle handle);
  static bool decodeUpdateCounts(DtMomInteraction* interaction, const RTI::ParameterHandleValuePairSet& set,
                                 RTI::ULong index, const char* parameter);

protected:
  std::span<const DtMomParameter> parameters() const override;

private:
  DtMomReportCounts counts_;
  DtTransportType transport_ = DtBestEffort;
};

// Objects per class; the object manager files each count as sent best
// effort, and that is the counter written.
template <DtMomClassName Name>
class DtMomObjectCountsReport : public DtMomInteraction {
public:
  static constexpr const char* OBJECT_COUNTS_PARAMETER_NAME = "ObjectCounts";

  DtMomObjectCountsReport() : DtMomInteraction(Name.chars, 2) {}
  static DtMomInteraction* create() { return make<DtMomObjectCountsReport>(); }

  virtual DtMomTallyList* objectCounts() const { return counts_.get(); }
  virtual void setObjectCounts(DtMomTallyList* counts) { counts_.lend(counts); }

  static void encodeObjectCounts(const DtMomInteraction& interaction, RTI::ParameterHandleValuePairSet* set,
                                 RTI::ParameterHandle handle) {
    genericEncodeTallyList(static_cast<const DtMomObjectCountsReport&>(interaction).objectCounts(), set, handle,
                           RTI::RTI_FALSE, DtBestEffort);
  }
  static bool decodeObjectCounts(DtMomInteraction* interaction, const RTI::ParameterHandleValuePairSet& set,
                                 RTI::ULong index, const char* parameter) {
    return static_cast<DtMomObjectCountsReport*>(interaction)
        ->counts_.adopt(genericDecodeTallyList(set, index, parameter, RTI::RTI_FALSE, DtBestEffort));
  }

protected:
  std::span<const DtMomParameter> parameters() const override {
    static constexpr DtMomParameter rows[] = {DtMomFederateParameter,
                                              {OBJECT_COUNTS_PARAMETER_NAME, &encodeObjectCounts, &decodeObjectCounts}};
    return rows;
  }

private:
  DtMomReportCounts counts_;
};

using DtReportObjectsOwnedInteraction = DtMomObjectCountsReport<"Manager.Federate.Report.ReportObjectsOwned">;
using DtReportObjectsReflectedInteraction = DtMomObjectCountsReport<"Manager.Federate.Report.ReportObjectsReflected">;
using DtReportObjectsUpdatedInteraction = DtMomObjectCountsReport<"Manager.Federate.Report.ReportObjectsUpdated">;
