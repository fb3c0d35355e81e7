#include "mom/DtMomServiceReportSender.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <iterator>

#include "api/DtParamValueSet.h"
#include "mom/DtMomInteraction.h"
#include "mom/DtMomReports.h"
#include "mom/DtMomWords.h"
#include "msg/DtUpdateMsgs.h"
#include "net/DtConnectionMgr.h"
#include "util/DtString.h"

namespace {

using ReportClass = DtReportServiceInvocationInteraction;

struct Named {
  const char* name;
  std::uint8_t field;
  std::uint8_t argument;
};

// A text and its NUL.
DtNetValue textValue(std::uint32_t handle, const char* text, std::size_t length) {
  return DtNetValue{handle, text, static_cast<std::uint32_t>(length + 1)};
}
DtNetValue textValue(std::uint32_t handle, const char* text) { return textValue(handle, text, std::strlen(text)); }

}  // namespace

std::unique_ptr<DtMomServiceReportSender> DtMomServiceReportSender::make(const DtMomHandleCache::Entry* entry) {
  if (!entry) return nullptr;
  constexpr auto field = [](Field f) { return static_cast<std::uint8_t>(f); };
  static constexpr Named known[] = {
      {DtMomInteraction::FEDERATE_PARAMETER_NAME, field(Field::federate), 0},
      {ReportClass::SERVICE_PARAMETER_NAME, field(Field::service), 0},
      {ReportClass::INITIATOR_PARAMETER_NAME, field(Field::initiator), 0},
      {ReportClass::SUCCESS_INDICATOR_PARAMETER_NAME, field(Field::success), 0},
      {ReportClass::SUPPLIED_ARGUMENT1_PARAMETER_NAME, field(Field::argument), 0},
      {ReportClass::SUPPLIED_ARGUMENT2_PARAMETER_NAME, field(Field::argument), 1},
      {ReportClass::SUPPLIED_ARGUMENT3_PARAMETER_NAME, field(Field::argument), 2},
      {ReportClass::SUPPLIED_ARGUMENT4_PARAMETER_NAME, field(Field::argument), 3},
      {ReportClass::SUPPLIED_ARGUMENT5_PARAMETER_NAME, field(Field::argument), 4},
      {ReportClass::RETURNED_ARGUMENT_PARAMETER_NAME, field(Field::argument), 5},
      {ReportClass::EXCEPTION_DESCRIPTION_PARAMETER_NAME, field(Field::exceptionDescription), 0},
      {ReportClass::EXCEPTION_ID_PARAMETER_NAME, field(Field::exceptionId), 0}};
  std::vector<Row> rows;
  std::vector<DtNetValue> values;
  rows.reserve(entry->parameters.size());
  values.reserve(entry->parameters.size());
  for (std::size_t i = 0; i < entry->parameters.size(); ++i) {
    const char* name = entry->table[i].name;
    const Named* match = std::find_if(std::begin(known), std::end(known),
                                      [name](const Named& k) { return std::strcmp(k.name, name) == 0; });
    if (match == std::end(known)) return nullptr;
    rows.push_back(Row{static_cast<Field>(match->field), match->argument});
    values.push_back(DtNetValue{static_cast<std::uint32_t>(entry->parameters[i]), "", 1});
  }
  return std::unique_ptr<DtMomServiceReportSender>(
      new DtMomServiceReportSender(entry->classHandle, std::move(rows), std::move(values)));
}

DtMomServiceReportSender::DtMomServiceReportSender(std::uint32_t classHandle, std::vector<Row> rows,
                                                   std::vector<DtNetValue> values)
    : classHandle_(classHandle), rows_(std::move(rows)), values_(std::move(values)) {}

DtMomServiceReportSender::~DtMomServiceReportSender() = default;

DtNetValue DtMomServiceReportSender::valueOf(const Row& row, const Report& report, std::uint32_t handle) {
  switch (row.field) {
    case Field::federate: {
      char* end = std::to_chars(federate_, federate_ + sizeof federate_ - 1, report.federate).ptr;
      *end = '\0';
      return textValue(handle, federate_, static_cast<std::size_t>(end - federate_));
    }
    case Field::service: return textValue(handle, report.service ? report.service : "");
    case Field::initiator: return textValue(handle, DtMomInitiatorWords.text(report.initiator));
    case Field::success:
      return textValue(handle, DtMomBooleanWords.text(report.exception ? RTI::RTI_FALSE : RTI::RTI_TRUE));
    case Field::argument: {
      const DtString& argument = *report.arguments[row.argument];
      return textValue(handle, argument.string(), static_cast<std::size_t>(argument.length()));
    }
    case Field::exceptionDescription: return textValue(handle, report.exception ? report.exception : "");
    case Field::exceptionId:
      // Never set in a report of this federate's.
      return textValue(handle, "0", 1);
  }
  return textValue(handle, "", 0);
}

DtNetValueView DtMomServiceReportSender::values(const Report& report) {
  for (std::size_t i = 0; i < rows_.size(); ++i) values_[i] = valueOf(rows_[i], report, values_[i].handle);
  return DtNetValueView(values_);
}

bool DtMomServiceReportSender::send(DtConnectionMgr& connectMgr, const Report& report) {
  if (busy_.exchange(true, std::memory_order_acquire)) return false;
  struct Free {
    std::atomic<bool>& busy;
    ~Free() { busy.store(false, std::memory_order_release); }
  } free{busy_};
  const DtNetValueView pairs = values(report);
  // The kind follows the data-distribution switch: a message of the other
  // kind is made anew.
  if (!msg_ || msg_->msgKind() != DtInteractionRoMsg::currentKind()) {
    const DtParamValueSet none(0);
    msg_ = std::make_unique<DtInteractionRoMsg>(classHandle_, none, "", 0, nullptr);
  }
  msg_->set(classHandle_, pairs, "", 0);
  connectMgr.sendStampedAnonymous(*msg_, connectMgr.internalTransportType(), 0);
  return true;
}
