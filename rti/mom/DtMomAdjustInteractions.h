#pragma once
// The Manager.Federate.Adjust interactions, by which a federate changes the
// MOM settings of a joined federate (the "Federate" parameter; 0 for every
// one).

#include <cstdint>

#include "mom/DtMomInteraction.h"

// Asks the federate to take or give up an attribute of an object instance.
class DtModifyAttributeStateInteraction : public DtMomInteraction {
public:
  static constexpr const char* ATTRIBUTE_PARAMETER_NAME = "Attribute";
  static constexpr const char* ATTRIBUTE_STATE_PARAMETER_NAME = "AttributeState";
  static constexpr const char* OBJECT_INSTANCE_PARAMETER_NAME = "ObjectInstance";

  DtModifyAttributeStateInteraction() : DtMomInteraction("Manager.Federate.Adjust.ModifyAttributeState", 4) {}
  static DtMomInteraction* create() { return make<DtModifyAttributeStateInteraction>(); }

  virtual std::uint32_t attribute() const { return attribute_; }
  virtual void setAttribute(std::uint32_t attribute) { attribute_ = attribute; }
  virtual DtMomAttributeStateOptions attributeState() const { return attributeState_; }
  virtual void setAttributeState(DtMomAttributeStateOptions state) { attributeState_ = state; }
  virtual DtString objectInstance() const { return objectInstance_; }
  virtual void setObjectInstance(const DtString& instance) { objectInstance_ = instance; }

protected:
  std::span<const DtMomParameter> parameters() const override;

private:
  std::uint32_t attribute_ = 0;
  DtMomAttributeStateOptions attributeState_ = DtMomOwned;
  DtString objectInstance_{"0"};
};

// Switches the logging of RTI exceptions.
class DtSetExceptionLoggingInteraction : public DtMomInteraction {
public:
  static constexpr const char* LOGGING_STATE_PARAMETER_NAME = "LoggingState";

  DtSetExceptionLoggingInteraction() : DtMomInteraction("Manager.Federate.Adjust.SetExceptionLogging", 2) {}
  static DtMomInteraction* create() { return make<DtSetExceptionLoggingInteraction>(); }

  virtual RTI::Boolean loggingState() const { return loggingState_; }
  virtual void setLoggingState(RTI::Boolean state) { loggingState_ = state; }

protected:
  std::span<const DtMomParameter> parameters() const override;

private:
  RTI::Boolean loggingState_ = RTI::RTI_FALSE;
};

// Sets the seconds between two updates of the Manager.Federate object (0: no
// periodic updates).
class DtSetTimingInteraction : public DtMomInteraction {
public:
  static constexpr const char* REPORT_PERIOD_PARAMETER_NAME = "ReportPeriod";

  DtSetTimingInteraction() : DtMomInteraction("Manager.Federate.Adjust.SetTiming", 2) {}
  static DtMomInteraction* create() { return make<DtSetTimingInteraction>(); }

  virtual std::int32_t reportPeriod() const { return reportPeriod_; }
  virtual void setReportPeriod(std::int32_t period) { reportPeriod_ = period; }

protected:
  std::span<const DtMomParameter> parameters() const override;

private:
  std::int32_t reportPeriod_ = 0;
};

// Switches the reporting of service invocations.
class DtSetServiceReportingInteraction : public DtMomInteraction {
public:
  static constexpr const char* REPORTING_STATE_PARAMETER_NAME = "ReportingState";

  DtSetServiceReportingInteraction() : DtMomInteraction("Manager.Federate.Adjust.SetServiceReporting", 2) {}
  static DtMomInteraction* create() { return make<DtSetServiceReportingInteraction>(); }

  virtual RTI::Boolean reportingState() const { return reportingState_; }
  virtual void setReportingState(RTI::Boolean state) { reportingState_ = state; }

protected:
  std::span<const DtMomParameter> parameters() const override;

private:
  RTI::Boolean reportingState_ = RTI::RTI_FALSE;
};
