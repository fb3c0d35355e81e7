#pragma once
// DtMomFedAmbWrapper: the MOM manager's link in the chain of federate-
// ambassador wrappers, filed as "MOM Wrapper" at the head of the chain while
// the MOM is joined, so that every callback to the federate passes through
// the MOM on its way. It forwards each callback unchanged and, once the
// federate has handled it, reports it while service reporting is on: a
// ReportServiceInvocation with initiator RTI, the callback's arguments in
// order as supplied 1 to 5 (DtMomArgument's text forms) and an empty
// returned argument. Services that the federate calls inside the callback
// are therefore reported before it. A callback that throws an
// RTI::Exception is reported with it, the exception goes to the manager's
// processException, and the same exception is rethrown; other exceptions
// pass untouched.
//
// Made and deleted by the MOM manager (the wrapper chain holds it while it
// is filed); used on the thread that ticks.

#include "api/DtFedAmbWrapper.h"
#include "mom/DtMomArgument.h"

class DtMomMgr;

class DtMomFedAmbWrapper : public DtFedAmbWrapper {
public:
  explicit DtMomFedAmbWrapper(DtMomMgr& mgr) : mgr_(mgr) {}

  DtMomMgr& mgr() const { return mgr_; }

#define DT_MOM_WRAPPER_CALLBACK(name, ...)                                                              \
  void name(DT_RTI_PARAMS(__VA_ARGS__)) override {                                                      \
    try {                                                                                               \
      DtFedAmbWrapper::name(DT_RTI_ARGS(__VA_ARGS__));                                                  \
    } catch (const RTI::Exception& failure) {                                                           \
      if (reporting()) reported(#name, &failure DT_RTI_COMMA_IF(__VA_ARGS__) DT_RTI_ARGS(__VA_ARGS__)); \
      failed(failure);                                                                                  \
      throw;                                                                                            \
    }                                                                                                   \
    if (reporting()) reported(#name, nullptr DT_RTI_COMMA_IF(__VA_ARGS__) DT_RTI_ARGS(__VA_ARGS__));    \
  }
  DT_FED_AMB_CALLBACKS(DT_MOM_WRAPPER_CALLBACK)
#undef DT_MOM_WRAPPER_CALLBACK

protected:
  // Whether callbacks are reported now.
  bool reporting() const;
  // Hands one report to the manager with initiator RTI.
  virtual void reportCallback(const char* service, const RTI::Exception* exception, const DtMomArgument& supplied1,
                              const DtMomArgument& supplied2, const DtMomArgument& supplied3,
                              const DtMomArgument& supplied4, const DtMomArgument& supplied5,
                              const DtMomArgument& returned);
  // The federate's callback threw: the exception to the manager.
  void failed(const RTI::Exception& failure);

private:
  // A callback's arguments fill the supplied positions in order.
  template <class... Values>
  void reported(const char* service, const RTI::Exception* exception, const Values&... values) {
    static_assert(sizeof...(Values) <= 5);
    const DtMomArgument supplied[5] = {DtMomArgument(values)...};
    reportCallback(service, exception, supplied[0], supplied[1], supplied[2], supplied[3], supplied[4],
                   DtMomArgument());
  }

  DtMomMgr& mgr_;
};
