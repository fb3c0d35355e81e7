#pragma once
// DtMomObserver: the MOM manager's service observer, filed as "MOMObserver"
// in the ambassador's observer list while the MOM is joined. Every service
// call of the federate (and of the MOM's own Service handlers, which call
// the ambassador as the federate would) that fails reaches it after the
// call, and while reporting is on every call that succeeds too. While
// service reporting is on it sends the call as a ReportServiceInvocation
// (initiator FED) with the arguments that the call's row of
// DtMomServiceReports names; nothing is rendered while it is off. Then a
// call that threw an RTI::Exception is handed to the manager's
// processException, which turns it into an Alert or a log line as the
// switches say. The two tick forms are never reported.
//
// Made and deleted by the MOM manager; used on the thread that calls the
// service.

#include <cstddef>
#include <tuple>

#include "api/DtRtiAmbassadorObserver.h"
#include "mom/DtMomArgument.h"
#include "mom/DtMomServiceReports.h"

class DtMomMgr;

class DtMomObserver : public DtRtiAmbassadorObserver {
public:
  // Told of failed calls only, until the manager turns reporting on.
  explicit DtMomObserver(DtMomMgr& mgr) : mgr_(mgr) { setWantsSuccessfulCalls(false); }

#define DT_MOM_RESULT_PARAM_NONE(type)
#define DT_MOM_RESULT_PARAM_REF(type) type &result,
#define DT_MOM_RESULT_PARAM_VAL(type) type result,
#define DT_MOM_RESULT_ARG_NONE
#define DT_MOM_RESULT_ARG_REF , result
#define DT_MOM_RESULT_ARG_VAL , result
#define DT_MOM_OBSERVER_NOTIFICATION(type, kind, name, ...)                                              \
  void name(DT_RTI_PARAMS(__VA_ARGS__) DT_RTI_COMMA_IF(__VA_ARGS__) DT_MOM_RESULT_PARAM_##kind(type)     \
                RTI::Exception* exception) override {                                                    \
    notify<DtMomServiceReports::rowOf(#name, std::tuple_size_v<std::tuple<DT_RTI_TYPES(__VA_ARGS__)>>)>( \
        exception DT_RTI_COMMA_IF(__VA_ARGS__) DT_RTI_ARGS(__VA_ARGS__) DT_MOM_RESULT_ARG_##kind);       \
  }
  DT_RTI_SERVICES(DT_MOM_OBSERVER_NOTIFICATION)
#undef DT_MOM_OBSERVER_NOTIFICATION
#undef DT_MOM_RESULT_PARAM_NONE
#undef DT_MOM_RESULT_PARAM_REF
#undef DT_MOM_RESULT_PARAM_VAL
#undef DT_MOM_RESULT_ARG_NONE
#undef DT_MOM_RESULT_ARG_REF
#undef DT_MOM_RESULT_ARG_VAL

protected:
  // Whether calls are reported now.
  bool reporting() const;
  // Hands one report to the manager with initiator FED.
  virtual void report(const char* service, const RTI::Exception* exception, const DtMomArgument& supplied1,
                      const DtMomArgument& supplied2, const DtMomArgument& supplied3, const DtMomArgument& supplied4,
                      const DtMomArgument& supplied5, const DtMomArgument& returned);
  // What a notification of a failed call ends with: the exception to the
  // manager.
  virtual void failed(const RTI::Exception& exception);
  DtMomMgr& mgr() const { return mgr_; }

private:
  // The call's values are its parameters, then its result where it has one.
  template <std::size_t Row, class... Values>
  void notify(RTI::Exception* exception, const Values&... values);
  template <DtMomServiceReports::Slot S, std::size_t Parameters, class Tuple>
  static DtMomArgument argument(const Tuple& values, bool withResult);

  DtMomMgr& mgr_;
};

template <std::size_t Row, class... Values>
void DtMomObserver::notify(RTI::Exception* exception, const Values&... values) {
  using namespace DtMomServiceReports;
  constexpr const auto& row = theRows[Row];
  static_assert(sizeof...(Values) == row.parameters || sizeof...(Values) == row.parameters + 1);
  if constexpr (row.when != When::never) {
    if (reporting()) {
      const bool withResult = exception == nullptr || row.when != When::resultIfSucceeded;
      const auto all = std::forward_as_tuple(values...);
      constexpr std::size_t n = row.parameters;
      report(row.service.data(), exception, argument<row.slots[0], n>(all, withResult),
             argument<row.slots[1], n>(all, withResult), argument<row.slots[2], n>(all, withResult),
             argument<row.slots[3], n>(all, withResult), argument<row.slots[4], n>(all, withResult),
             argument<row.slots[5], n>(all, withResult));
    }
  }
  if (exception) failed(*exception);
}

template <DtMomServiceReports::Slot S, std::size_t Parameters, class Tuple>
DtMomArgument DtMomObserver::argument(const Tuple& values, bool withResult) {
  using namespace DtMomServiceReports;
  if constexpr (S.source == none) {
    return {};
  } else if constexpr (S.source == result) {
    static_assert(std::tuple_size_v<Tuple> == Parameters + 1, "a row shows a result the service has not");
    return withResult ? DtMomArgument(std::get<Parameters>(values)) : DtMomArgument();
  } else if constexpr (S.count != none) {
    static_assert(S.source < Parameters && S.count < Parameters);
    return DtMomArgument(std::get<S.source>(values), std::get<S.count>(values));
  } else {
    static_assert(S.source < Parameters);
    return DtMomArgument(std::get<S.source>(values));
  }
}
