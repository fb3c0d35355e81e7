#pragma once
// The reports that answer RequestPublications and RequestSubscriptions: the
// interaction classes that this federate publishes, and those it subscribes
// actively and passively; and, one report per object class, the attributes
// it publishes or subscribes.

#include <cstdint>

#include "mom/DtMomHandleList.h"
#include "mom/DtMomInteraction.h"

class DtReportInteractionPublicationInteraction : public DtMomInteraction {
public:
  static constexpr const char* INTERACTION_CLASS_LIST_PARAMETER_NAME = "InteractionClassList";

  DtReportInteractionPublicationInteraction()
      : DtMomInteraction("Manager.Federate.Report.ReportInteractionPublication", 2) {}
  static DtMomInteraction* create() { return make<DtReportInteractionPublicationInteraction>(); }

  virtual const DtMomHandleList& interactionClassList() const { return interactionClassList_; }
  virtual void setInteractionClassList(const DtMomHandleList& list) { interactionClassList_ = list; }

protected:
  std::span<const DtMomParameter> parameters() const override;

private:
  DtMomHandleList interactionClassList_;
};

// Both lists travel in one parameter: every class handle followed by
// "/active" or "/passive", the active ones first, joined by ","
// ("3/active,5/active,9/passive").
class DtReportInteractionSubscriptionInteraction : public DtMomInteraction {
public:
  static constexpr const char* INTERACTION_CLASS_LIST_PARAMETER_NAME = "InteractionClassList";

  DtReportInteractionSubscriptionInteraction()
      : DtMomInteraction("Manager.Federate.Report.ReportInteractionSubscription", 2) {}
  static DtMomInteraction* create() { return make<DtReportInteractionSubscriptionInteraction>(); }

  virtual const DtMomHandleList& activeList() const { return activeList_; }
  virtual void setActiveList(const DtMomHandleList& list) { activeList_ = list; }
  virtual const DtMomHandleList& passiveList() const { return passiveList_; }
  virtual void setPassiveList(const DtMomHandleList& list) { passiveList_ = list; }

  static void encodeInteractionClassList(const DtMomInteraction& interaction, RTI::ParameterHandleValuePairSet* set,
                                         RTI::ParameterHandle handle);
  // Entries are separated by "," (blanks around them and around the "/" do
  // not count, "active" and "passive" are read ignoring case). An entry
  // without its "/active" or "/passive", or whose class is no 32-bit handle,
  // refuses the whole text, and both lists stay as they were.
  static bool decodeInteractionClassList(DtMomInteraction* interaction, const RTI::ParameterHandleValuePairSet& set,
                                         RTI::ULong index, const char* parameter);

protected:
  std::span<const DtMomParameter> parameters() const override;

private:
  DtMomHandleList activeList_;
  DtMomHandleList passiveList_;
};

// The published attributes of one object class. With no attributes, both
// the list and the class travel as the empty text.
class DtReportObjectPublicationInteraction : public DtMomInteraction {
public:
  static constexpr const char* NUMBER_OF_CLASSES_PARAMETER_NAME = "NumberOfClasses";
  static constexpr const char* ATTRIBUTE_LIST_PARAMETER_NAME = "AttributeList";
  static constexpr const char* OBJECT_CLASS_PARAMETER_NAME = "ObjectClass";

  DtReportObjectPublicationInteraction() : DtMomInteraction("Manager.Federate.Report.ReportObjectPublication", 4) {}
  static DtMomInteraction* create() { return make<DtReportObjectPublicationInteraction>(); }

  virtual std::int32_t numberOfClasses() const { return numberOfClasses_; }
  virtual void setNumberOfClasses(std::int32_t count) { numberOfClasses_ = count; }
  virtual const DtMomHandleList& attributeList() const { return attributeList_; }
  virtual void setAttributeList(const DtMomHandleList& list) { attributeList_ = list; }
  virtual std::uint32_t objectClass() const { return objectClass_; }
  virtual void setObjectClass(std::uint32_t handle) { objectClass_ = handle; }

  static void encodeObjectClass(const DtMomInteraction& interaction, RTI::ParameterHandleValuePairSet* set,
                                RTI::ParameterHandle handle);

protected:
  std::span<const DtMomParameter> parameters() const override;

private:
  std::int32_t numberOfClasses_ = 0;
  DtMomHandleList attributeList_;
  std::uint32_t objectClass_ = 0;
};

// The subscribed attributes of one object class, actively or passively. With
// no attributes, both the list and the class travel as the empty text.
class DtReportObjectSubscriptionInteraction : public DtMomInteraction {
public:
  static constexpr const char* NUMBER_OF_CLASSES_PARAMETER_NAME = "NumberOfClasses";
  static constexpr const char* ATTRIBUTE_LIST_PARAMETER_NAME = "AttributeList";
  static constexpr const char* ACTIVE_PARAMETER_NAME = "Active";
  static constexpr const char* OBJECT_CLASS_PARAMETER_NAME = "ObjectClass";

  DtReportObjectSubscriptionInteraction() : DtMomInteraction("Manager.Federate.Report.ReportObjectSubscription", 5) {}
  static DtMomInteraction* create() { return make<DtReportObjectSubscriptionInteraction>(); }

  virtual std::int32_t numberOfClasses() const { return numberOfClasses_; }
  virtual void setNumberOfClasses(std::int32_t count) { numberOfClasses_ = count; }
  virtual const DtMomHandleList& attributeList() const { return attributeList_; }
  virtual void setAttributeList(const DtMomHandleList& list) { attributeList_ = list; }
  virtual RTI::Boolean active() const { return active_; }
  virtual void setActive(RTI::Boolean active) { active_ = active; }
  virtual std::uint32_t objectClass() const { return objectClass_; }
  virtual void setObjectClass(std::uint32_t handle) { objectClass_ = handle; }

  static void encodeObjectClass(const DtMomInteraction& interaction, RTI::ParameterHandleValuePairSet* set,
                                RTI::ParameterHandle handle);

protected:
  std::span<const DtMomParameter> parameters() const override;

private:
  std::int32_t numberOfClasses_ = 0;
  DtMomHandleList attributeList_;
  RTI::Boolean active_ = RTI::RTI_TRUE;
  std::uint32_t objectClass_ = 0;
};
