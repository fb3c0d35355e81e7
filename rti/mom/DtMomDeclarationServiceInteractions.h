#pragma once
// The Manager.Federate.Service interactions of declaration management: a
// federate asks the MOM of a joined federate (the "Federate" parameter; 0 for
// every one) to publish, subscribe, unpublish or unsubscribe a class for it.
// The fields that hold class handles travel as "InteractionClass" and
// "ObjectClass".

#include <cstdint>

#include "mom/DtMomClassName.h"
#include "mom/DtMomFields.h"
#include "mom/DtMomHandleList.h"
#include "mom/DtMomInteraction.h"

// A service on one interaction class.
template <DtMomClassName Name>
class DtMomInteractionClassServiceInteraction : public DtMomInteraction {
public:
  static constexpr const char* INTERACTION_HANDLE_PARAMETER_NAME = "InteractionClass";

  DtMomInteractionClassServiceInteraction() : DtMomInteraction(Name.chars, 2) {}
  static DtMomInteraction* create() { return make<DtMomInteractionClassServiceInteraction>(); }

  virtual std::uint32_t interactionHandle() const { return interactionHandle_; }
  virtual void setInteractionHandle(std::uint32_t handle) { interactionHandle_ = handle; }

protected:
  std::span<const DtMomParameter> parameters() const override {
    using Self = DtMomInteractionClassServiceInteraction;
    static constexpr DtMomParameter rows[] = {
        DtMomFederateParameter,
        DtMomField<&Self::interactionHandle, &Self::setInteractionHandle>(INTERACTION_HANDLE_PARAMETER_NAME)};
    return rows;
  }

private:
  std::uint32_t interactionHandle_ = 0;
};

// A service on one object class.
template <DtMomClassName Name>
class DtMomObjectClassServiceInteraction : public DtMomInteraction {
public:
  static constexpr const char* OBJECT_HANDLE_PARAMETER_NAME = "ObjectClass";

  DtMomObjectClassServiceInteraction() : DtMomInteraction(Name.chars, 2) {}
  static DtMomInteraction* create() { return make<DtMomObjectClassServiceInteraction>(); }

  virtual std::uint32_t objectHandle() const { return objectHandle_; }
  virtual void setObjectHandle(std::uint32_t handle) { objectHandle_ = handle; }

protected:
  std::span<const DtMomParameter> parameters() const override {
    using Self = DtMomObjectClassServiceInteraction;
    static constexpr DtMomParameter rows[] = {
        DtMomFederateParameter, DtMomField<&Self::objectHandle, &Self::setObjectHandle>(OBJECT_HANDLE_PARAMETER_NAME)};
    return rows;
  }

private:
  std::uint32_t objectHandle_ = 0;
};

using DtPublishInteractionClassInteraction =
    DtMomInteractionClassServiceInteraction<"Manager.Federate.Service.PublishInteractionClass">;
using DtUnpublishInteractionClassInteraction =
    DtMomInteractionClassServiceInteraction<"Manager.Federate.Service.UnpublishInteractionClass">;
using DtUnsubscribeInteractionClassInteraction =
    DtMomInteractionClassServiceInteraction<"Manager.Federate.Service.UnsubscribeInteractionClass">;
using DtUnpublishObjectClassInteraction =
    DtMomObjectClassServiceInteraction<"Manager.Federate.Service.UnpublishObjectClass">;
using DtUnsubscribeObjectClassInteraction =
    DtMomObjectClassServiceInteraction<"Manager.Federate.Service.UnsubscribeObjectClass">;

class DtPublishObjectClassInteraction : public DtMomInteraction {
public:
  static constexpr const char* OBJECT_HANDLE_PARAMETER_NAME = "ObjectClass";
  static constexpr const char* ATTRIBUTE_LIST_PARAMETER_NAME = "AttributeList";

  DtPublishObjectClassInteraction() : DtMomInteraction("Manager.Federate.Service.PublishObjectClass", 3) {}
  static DtMomInteraction* create() { return make<DtPublishObjectClassInteraction>(); }

  virtual std::uint32_t objectHandle() const { return objectHandle_; }
  virtual void setObjectHandle(std::uint32_t handle) { objectHandle_ = handle; }
  virtual const DtMomHandleList& attributeList() const { return attributeList_; }
  virtual void setAttributeList(const DtMomHandleList& list) { attributeList_ = list; }

protected:
  std::span<const DtMomParameter> parameters() const override;

private:
  std::uint32_t objectHandle_ = 0;
  DtMomHandleList attributeList_;
};

class DtSubscribeInteractionClassInteraction : public DtMomInteraction {
public:
  static constexpr const char* INTERACTION_HANDLE_PARAMETER_NAME = "InteractionClass";
  static constexpr const char* ACTIVE_PARAMETER_NAME = "Active";

  DtSubscribeInteractionClassInteraction()
      : DtMomInteraction("Manager.Federate.Service.SubscribeInteractionClass", 3) {}
  static DtMomInteraction* create() { return make<DtSubscribeInteractionClassInteraction>(); }

  virtual std::uint32_t interactionHandle() const { return interactionHandle_; }
  virtual void setInteractionHandle(std::uint32_t handle) { interactionHandle_ = handle; }
  virtual RTI::Boolean active() const { return active_; }
  virtual void setActive(RTI::Boolean active) { active_ = active; }

protected:
  std::span<const DtMomParameter> parameters() const override;

private:
  std::uint32_t interactionHandle_ = 0;
  RTI::Boolean active_ = RTI::RTI_TRUE;
};

class DtSubscribeObjectClassAttributesInteraction : public DtMomInteraction {
public:
  static constexpr const char* OBJECT_HANDLE_PARAMETER_NAME = "ObjectClass";
  static constexpr const char* ATTRIBUTE_LIST_PARAMETER_NAME = "AttributeList";
  static constexpr const char* ACTIVE_PARAMETER_NAME = "Active";

  DtSubscribeObjectClassAttributesInteraction()
      : DtMomInteraction("Manager.Federate.Service.SubscribeObjectClassAttributes", 4) {}
  static DtMomInteraction* create() { return make<DtSubscribeObjectClassAttributesInteraction>(); }

  virtual std::uint32_t objectHandle() const { return objectHandle_; }
  virtual void setObjectHandle(std::uint32_t handle) { objectHandle_ = handle; }
  virtual const DtMomHandleList& attributeList() const { return attributeList_; }
  virtual void setAttributeList(const DtMomHandleList& list) { attributeList_ = list; }
  virtual RTI::Boolean active() const { return active_; }
  virtual void setActive(RTI::Boolean active) { active_ = active; }

protected:
  std::span<const DtMomParameter> parameters() const override;

private:
  std::uint32_t objectHandle_ = 0;
  DtMomHandleList attributeList_;
  RTI::Boolean active_ = RTI::RTI_TRUE;
};
