#pragma once
// DtMomObserver: the MOM manager's service observer, filed as "MOMObserver"
// in the ambassador's observer list while the MOM is joined. Every service
// call of the federate (and of the MOM's own Service handlers, which call
// the ambassador as the federate would) reaches it after the call; one that
// threw an RTI::Exception is handed to the manager's processException,
// which turns it into an Alert or a log line as the switches say.
//
// Made and deleted by the MOM manager; used on the thread that calls the
// service.

#include "api/DtRtiAmbassadorObserver.h"

class DtMomMgr;

class DtMomObserver : public DtRtiAmbassadorObserver {
public:
  explicit DtMomObserver(DtMomMgr& mgr) : mgr_(mgr) {}

#define DT_MOM_OBSERVER_NOTIFICATION(type, kind, name, ...)                                       \
  void name(DT_RTI_TYPES(__VA_ARGS__) DT_RTI_COMMA_IF(__VA_ARGS__) DT_RTI_RESULT_TYPE(kind, type) \
                RTI::Exception* exception) override {                                             \
    notified(#name, exception);                                                                   \
  }
  DT_RTI_SERVICES(DT_MOM_OBSERVER_NOTIFICATION)
#undef DT_MOM_OBSERVER_NOTIFICATION

protected:
  // Every notification ends here with its service's name.
  virtual void notified(const char* service, const RTI::Exception* exception);
  DtMomMgr& mgr() const { return mgr_; }

private:
  DtMomMgr& mgr_;
};
