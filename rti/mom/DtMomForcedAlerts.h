#pragma once
// DtMomForcedAlerts: while it lives, the MOM's exception-reports switch is 1,
// so that an RTI exception raised while a MOM interaction is handled (or
// while the resignation it asked for runs) is always sent as an Alert. At
// its end the switch is put back as it was, unless a handler set it
// meanwhile (SetExceptionLogging): then the handler's setting stands.

#include <cstdint>

class DtMomForcedAlerts {
public:
  // `settings` counts the handlers' settings of the switch.
  DtMomForcedAlerts(int& exceptionReports, const std::uint32_t& settings)
      : switch_(exceptionReports), saved_(exceptionReports), settings_(settings), settingsBefore_(settings) {
    switch_ = 1;
  }
  DtMomForcedAlerts(const DtMomForcedAlerts&) = delete;
  DtMomForcedAlerts& operator=(const DtMomForcedAlerts&) = delete;
  ~DtMomForcedAlerts() {
    if (settings_ == settingsBefore_) switch_ = saved_;
  }

private:
  int& switch_;
  int saved_;
  const std::uint32_t& settings_;
  std::uint32_t settingsBefore_;
};
