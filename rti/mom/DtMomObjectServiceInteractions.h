#pragma once
// The Manager.Federate.Service interactions of object management: a federate
// asks the MOM of a joined federate (the "Federate" parameter; 0 for every
// one) to change how attributes or interactions travel, to delete an object
// instance, or to divest attributes. Object instances are named by their
// names; the MOM manager looks them up.

#include <cstdint>

#include "mom/DtMomHandleList.h"
#include "mom/DtMomInteraction.h"
#include "mom/DtMomOwnedTime.h"

class DtChangeAttributeOrderTypeInteraction : public DtMomInteraction {
public:
  static constexpr const char* OBJECT_INSTANCE_PARAMETER_NAME = "ObjectInstance";
  static constexpr const char* ATTRIBUTE_LIST_PARAMETER_NAME = "AttributeList";
  static constexpr const char* ORDER_TYPE_PARAMETER_NAME = "OrderingType";

  DtChangeAttributeOrderTypeInteraction() : DtMomInteraction("Manager.Federate.Service.ChangeAttributeOrderType", 4) {}
  static DtMomInteraction* create() { return make<DtChangeAttributeOrderTypeInteraction>(); }

  virtual DtString instance() const { return instance_; }
  virtual void setInstance(const DtString& instance) { instance_ = instance; }
  virtual const DtMomHandleList& attributeList() const { return attributeList_; }
  virtual void setAttributeList(const DtMomHandleList& list) { attributeList_ = list; }
  virtual DtOrderType order() const { return order_; }
  virtual void setOrder(DtOrderType order) { order_ = order; }

protected:
  std::span<const DtMomParameter> parameters() const override;

private:
  DtString instance_;
  DtMomHandleList attributeList_;
  DtOrderType order_ = DtReceiveOrder;
};

// Its class and parameter names are kept in members of another style
// (theObjectInstance, ...) than its sister's, with the same texts.
class DtChangeAttributeTransportationTypeInteraction : public DtMomInteraction {
public:
  static constexpr const char* theManagerFederateServiceChangeAttributeTransportationType =
      "Manager.Federate.Service.ChangeAttributeTransportationType";
  static constexpr const char* theObjectInstance = "ObjectInstance";
  static constexpr const char* theAttributeList = "AttributeList";
  static constexpr const char* theTransportType = "TransportationType";

  DtChangeAttributeTransportationTypeInteraction()
      : DtMomInteraction(theManagerFederateServiceChangeAttributeTransportationType, 4) {}
  static DtMomInteraction* create() { return make<DtChangeAttributeTransportationTypeInteraction>(); }

  virtual DtString instance() const { return instance_; }
  virtual void setInstance(const DtString& instance) { instance_ = instance; }
  virtual const DtMomHandleList& attributeList() const { return attributeList_; }
  virtual void setAttributeList(const DtMomHandleList& list) { attributeList_ = list; }
  virtual DtTransportType transport() const { return transport_; }
  virtual void setTransport(DtTransportType transport) { transport_ = transport; }

protected:
  std::span<const DtMomParameter> parameters() const override;

private:
  DtString instance_;
  DtMomHandleList attributeList_;
  DtTransportType transport_ = DtBestEffort;
};

class DtChangeInteractionOrderTypeInteraction : public DtMomInteraction {
public:
  static constexpr const char* INTERACTION_HANDLE_PARAMETER_NAME = "InteractionClass";
  static constexpr const char* ORDER_TYPE_PARAMETER_NAME = "OrderingType";

  DtChangeInteractionOrderTypeInteraction()
      : DtMomInteraction("Manager.Federate.Service.ChangeInteractionOrderType", 3) {}
  static DtMomInteraction* create() { return make<DtChangeInteractionOrderTypeInteraction>(); }

  virtual std::uint32_t interactionHandle() const { return interactionHandle_; }
  virtual void setInteractionHandle(std::uint32_t handle) { interactionHandle_ = handle; }
  virtual DtOrderType order() const { return order_; }
  virtual void setOrder(DtOrderType order) { order_ = order; }

protected:
  std::span<const DtMomParameter> parameters() const override;

private:
  std::uint32_t interactionHandle_ = 0;
  DtOrderType order_ = DtReceiveOrder;
};

class DtChangeInteractionTransportationTypeInteraction : public DtMomInteraction {
public:
  static constexpr const char* INTERACTION_HANDLE_PARAMETER_NAME = "InteractionClass";
  static constexpr const char* TRANSPORT_TYPE_PARAMETER_NAME = "TransportationType";

  DtChangeInteractionTransportationTypeInteraction()
      : DtMomInteraction("Manager.Federate.Service.ChangeInteractionTransportationType", 3) {}
  static DtMomInteraction* create() { return make<DtChangeInteractionTransportationTypeInteraction>(); }

  virtual std::uint32_t interactionHandle() const { return interactionHandle_; }
  virtual void setInteractionHandle(std::uint32_t handle) { interactionHandle_ = handle; }
  virtual DtTransportType transport() const { return transport_; }
  virtual void setTransport(DtTransportType transport) { transport_ = transport; }

protected:
  std::span<const DtMomParameter> parameters() const override;

private:
  std::uint32_t interactionHandle_ = 0;
  DtTransportType transport_ = DtBestEffort;
};

// Deletes an object instance, with a time when one is set: it declares three
// parameters (a set with "Federate", "ObjectInstance" and "Tag" is complete)
// and carries "FederationTime" as a fourth only then.
class DtDeleteObjectInstanceInteraction : public DtMomInteraction {
public:
  static constexpr const char* OBJECT_INSTANCE_PARAMETER_NAME = "ObjectInstance";
  static constexpr const char* TAG_PARAMETER_NAME = "Tag";
  static constexpr const char* FEDTIME_PARAMETER_NAME = "FederationTime";

  DtDeleteObjectInstanceInteraction()
      : DtMomInteraction("Manager.Federate.Service.DeleteObjectInstance", 3, 4), fedtime_(DtMomOwnedTime::none) {}
  static DtMomInteraction* create() { return make<DtDeleteObjectInstanceInteraction>(); }

  virtual DtString instance() const { return instance_; }
  virtual void setInstance(const DtString& instance) { instance_ = instance; }
  virtual DtString tag() const { return tag_; }
  virtual void setTag(const DtString& tag) { tag_ = tag; }
  // Null until a time is set.
  virtual RTI::FedTime* fedtime() const { return fedtime_.get(); }
  // Takes the time over; a time makes the deletion a timed one, null an
  // untimed one again.
  virtual void setFedtime(RTI::FedTime* time) {
    fedtime_.reset(time);
    timeSpecified_ = time != nullptr;
  }
  virtual bool timeSpecified() const { return timeSpecified_; }

protected:
  std::span<const DtMomParameter> parameters() const override;
  bool carries(const DtMomParameter& parameter) const override;

private:
  DtString instance_;
  DtString tag_;
  DtMomOwnedTime fedtime_;
  bool timeSpecified_ = false;
};

class DtLocalDeleteObjectInstanceInteraction : public DtMomInteraction {
public:
  static constexpr const char* OBJECT_INSTANCE_PARAMETER_NAME = "ObjectInstance";

  DtLocalDeleteObjectInstanceInteraction()
      : DtMomInteraction("Manager.Federate.Service.LocalDeleteObjectInstance", 2) {}
  static DtMomInteraction* create() { return make<DtLocalDeleteObjectInstanceInteraction>(); }

  virtual DtString instance() const { return instance_; }
  virtual void setInstance(const DtString& instance) { instance_ = instance; }

protected:
  std::span<const DtMomParameter> parameters() const override;

private:
  DtString instance_;
};

class DtUnconditionalAttributeOwnershipDivestitureInteraction : public DtMomInteraction {
public:
  static constexpr const char* OBJECT_INSTANCE_PARAMETER_NAME = "ObjectInstance";
  static constexpr const char* ATTRIBUTE_LIST_PARAMETER_NAME = "AttributeList";

  DtUnconditionalAttributeOwnershipDivestitureInteraction()
      : DtMomInteraction("Manager.Federate.Service.UnconditionalAttributeOwnershipDivestiture", 3) {}
  static DtMomInteraction* create() { return make<DtUnconditionalAttributeOwnershipDivestitureInteraction>(); }

  virtual DtString instance() const { return instance_; }
  virtual void setInstance(const DtString& instance) { instance_ = instance; }
  virtual const DtMomHandleList& attributeList() const { return attributeList_; }
  virtual void setAttributeList(const DtMomHandleList& list) { attributeList_ = list; }

protected:
  std::span<const DtMomParameter> parameters() const override;

private:
  DtString instance_;
  DtMomHandleList attributeList_;
};
