#pragma once
// The reports that the MOM of a joined federate sends about itself, besides
// the counts and declarations: the Alert of an RTI exception or internal
// error, the report of one service invocation or callback, and the
// information on one object instance. The library only sends them; their
// decoders serve a federate that reads them.

#include <cstdint>

#include "mom/DtMomHandleList.h"
#include "mom/DtMomInteraction.h"

class DtAlertInteraction : public DtMomInteraction {
public:
  static constexpr const char* ALERT_I_D_PARAMETER_NAME = "AlertID";
  static constexpr const char* ALERT_SEVERITY_PARAMETER_NAME = "AlertSeverity";
  static constexpr const char* ALERT_DESCRIPTION_PARAMETER_NAME = "AlertDescription";

  DtAlertInteraction() : DtMomInteraction("Manager.Federate.Report.Alert", 4) {}
  static DtMomInteraction* create() { return make<DtAlertInteraction>(); }

  virtual std::int32_t alertID() const { return alertID_; }
  virtual void setAlertID(std::int32_t id) { alertID_ = id; }
  virtual DtMomAlertTypes alertSeverity() const { return alertSeverity_; }
  virtual void setAlertSeverity(DtMomAlertTypes severity) { alertSeverity_ = severity; }
  virtual DtString alertDescription() const { return alertDescription_; }
  virtual void setAlertDescription(const DtString& description) { alertDescription_ = description; }

protected:
  std::span<const DtMomParameter> parameters() const override;

private:
  std::int32_t alertID_ = 0;
  DtMomAlertTypes alertSeverity_ = DtMomRtiException;
  DtString alertDescription_{"0"};
};

// One RTI service that the federate called (initiator "FED") or one
// callback that the RTI made (initiator "RTI"), with up to five arguments
// and the result as text, and the exception when it failed.
class DtReportServiceInvocationInteraction : public DtMomInteraction {
public:
  static constexpr const char* SERVICE_PARAMETER_NAME = "Service";
  static constexpr const char* INITIATOR_PARAMETER_NAME = "Initiator";
  static constexpr const char* SUCCESS_INDICATOR_PARAMETER_NAME = "SuccessIndicator";
  static constexpr const char* SUPPLIED_ARGUMENT1_PARAMETER_NAME = "SuppliedArgument1";
  static constexpr const char* SUPPLIED_ARGUMENT2_PARAMETER_NAME = "SuppliedArgument2";
  static constexpr const char* SUPPLIED_ARGUMENT3_PARAMETER_NAME = "SuppliedArgument3";
  static constexpr const char* SUPPLIED_ARGUMENT4_PARAMETER_NAME = "SuppliedArgument4";
  static constexpr const char* SUPPLIED_ARGUMENT5_PARAMETER_NAME = "SuppliedArgument5";
  static constexpr const char* RETURNED_ARGUMENT_PARAMETER_NAME = "ReturnedArgument";
  static constexpr const char* EXCEPTION_DESCRIPTION_PARAMETER_NAME = "ExceptionDescription";
  static constexpr const char* EXCEPTION_ID_PARAMETER_NAME = "ExceptionID";

  DtReportServiceInvocationInteraction() : DtMomInteraction("Manager.Federate.Report.ReportServiceInvocation", 12) {}
  static DtMomInteraction* create() { return make<DtReportServiceInvocationInteraction>(); }

  virtual DtString service() const { return service_; }
  virtual void setService(const DtString& service) { service_ = service; }
  virtual DtMomInitiatorOptions initiator() const { return initiator_; }
  virtual void setInitiator(DtMomInitiatorOptions initiator) { initiator_ = initiator; }
  virtual RTI::Boolean successIndicator() const { return successIndicator_; }
  virtual void setSuccessIndicator(RTI::Boolean success) { successIndicator_ = success; }
  virtual DtString suppliedArgument1() const { return supplied_[0]; }
  virtual void setSuppliedArgument1(const DtString& argument) { supplied_[0] = argument; }
  virtual DtString suppliedArgument2() const { return supplied_[1]; }
  virtual void setSuppliedArgument2(const DtString& argument) { supplied_[1] = argument; }
  virtual DtString suppliedArgument3() const { return supplied_[2]; }
  virtual void setSuppliedArgument3(const DtString& argument) { supplied_[2] = argument; }
  virtual DtString suppliedArgument4() const { return supplied_[3]; }
  virtual void setSuppliedArgument4(const DtString& argument) { supplied_[3] = argument; }
  virtual DtString suppliedArgument5() const { return supplied_[4]; }
  virtual void setSuppliedArgument5(const DtString& argument) { supplied_[4] = argument; }
  virtual DtString returnedArgument() const { return returnedArgument_; }
  virtual void setReturnedArgument(const DtString& argument) { returnedArgument_ = argument; }
  virtual DtString exceptionDescription() const { return exceptionDescription_; }
  virtual void setExceptionDescription(const DtString& description) { exceptionDescription_ = description; }
  virtual std::int32_t exceptionID() const { return exceptionID_; }
  virtual void setExceptionID(std::int32_t id) { exceptionID_ = id; }

protected:
  std::span<const DtMomParameter> parameters() const override;

private:
  DtString service_;
  DtMomInitiatorOptions initiator_ = DtMomInitiatorRti;
  RTI::Boolean successIndicator_ = RTI::RTI_TRUE;
  DtString supplied_[5];
  DtString returnedArgument_;
  DtString exceptionDescription_;
  std::int32_t exceptionID_ = 0;
};

// What the federate knows of the object instance of a name. A class handle
// of 0 (an instance the federate does not know) travels as the empty text.
class DtReportObjectInformationInteraction : public DtMomInteraction {
public:
  static constexpr const char* REGISTERED_CLASS_PARAMETER_NAME = "RegisteredClass";
  static constexpr const char* OWNED_ATTRIBUTE_LIST_PARAMETER_NAME = "OwnedAttributeList";
  static constexpr const char* OBJECT_INSTANCE_PARAMETER_NAME = "ObjectInstance";
  static constexpr const char* KNOWN_CLASS_PARAMETER_NAME = "KnownClass";

  DtReportObjectInformationInteraction() : DtMomInteraction("Manager.Federate.Report.ReportObjectInformation", 5) {}
  static DtMomInteraction* create() { return make<DtReportObjectInformationInteraction>(); }

  virtual std::uint32_t registeredClass() const { return registeredClass_; }
  virtual void setRegisteredClass(std::uint32_t handle) { registeredClass_ = handle; }
  virtual const DtMomHandleList& ownedAttributeList() const { return ownedAttributeList_; }
  virtual void setOwnedAttributeList(const DtMomHandleList& list) { ownedAttributeList_ = list; }
  virtual DtString objectInstance() const { return objectInstance_; }
  virtual void setObjectInstance(const DtString& instance) { objectInstance_ = instance; }
  virtual std::uint32_t knownClass() const { return knownClass_; }
  virtual void setKnownClass(std::uint32_t handle) { knownClass_ = handle; }

protected:
  std::span<const DtMomParameter> parameters() const override;

private:
  std::uint32_t registeredClass_ = 0;
  DtMomHandleList ownedAttributeList_;
  DtString objectInstance_{"0"};
  std::uint32_t knownClass_ = 0;
};
