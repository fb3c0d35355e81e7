#pragma once
// DtMomServiceReportSender: the short way to send the ReportServiceInvocation
// that goes out at every service call and callback while calls are
// reported. It points the message's value list straight at the report's
// texts (the service name, the arguments' own strings, the words) and
// writes them into one message kept from one report to the next, instead of
// filling an interaction object, a set of pairs and a new message each
// time. The values are those that DtReportServiceInvocationInteraction
// encodes (text and one NUL each, numbers in decimal, the words of the
// initiator and the success indicator), in the order of the class's
// parameter list, under the handles the MOM looked up at join.
//
// One report at a time: a report asked for while another is being sent (a
// second thread) is refused, and its caller sends it the long way.

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "RTI.hh"
#include "mom/DtMomHandleCache.h"
#include "mom/DtMomTypes.h"
#include "msg/DtNetValueList.h"

class DtConnectionMgr;
class DtInteractionRoMsg;
class DtString;

class DtMomServiceReportSender {
public:
  // What one report says; the texts are read during the call only.
  struct Report {
    std::uint32_t federate;
    const char* service;
    DtMomInitiatorOptions initiator;
    // "<name>: <reason>" of the exception a failed call threw; null when it
    // succeeded.
    const char* exception;
    const DtString* arguments[6];  // supplied 1 to 5, then returned
  };

  // A sender for the report class's entry in the MOM's handle cache; null
  // without one, or when the class lists a parameter this sender does not
  // fill (the reports then take the long way).
  static std::unique_ptr<DtMomServiceReportSender> make(const DtMomHandleCache::Entry* entry);
  ~DtMomServiceReportSender();
  DtMomServiceReportSender(const DtMomServiceReportSender&) = delete;
  DtMomServiceReportSender& operator=(const DtMomServiceReportSender&) = delete;

  // The report's values, pointing into the report's texts and this
  // sender; valid while both stay as they are.
  DtNetValueView values(const Report& report);
  // Sends the report as the MOM sends its interactions: receive order,
  // federate 0, the connection manager's internal transport. False, having
  // sent nothing, while another report is being sent.
  bool send(DtConnectionMgr& connectMgr, const Report& report);

private:
  enum class Field : std::uint8_t {
    federate,
    service,
    initiator,
    success,
    argument,  // `argument` tells which
    exceptionDescription,
    exceptionId
  };
  struct Row {
    Field field;
    std::uint8_t argument;
  };

  DtMomServiceReportSender(std::uint32_t classHandle, std::vector<Row> rows, std::vector<DtNetValue> values);
  // The row's text and its NUL.
  DtNetValue valueOf(const Row& row, const Report& report, std::uint32_t handle);

  std::uint32_t classHandle_;
  std::vector<Row> rows_;
  std::vector<DtNetValue> values_;  // one per row, its handle set at join
  char federate_[16] = {};          // the federate handle's decimal text
  std::unique_ptr<DtInteractionRoMsg> msg_;
  std::atomic<bool> busy_{false};
};
