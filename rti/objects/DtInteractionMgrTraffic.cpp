// The interaction manager's traffic: sending interactions and delivering
// received ones to the federate.
#include <memory>
#include <utility>

#include "config/DtRIDParameters.h"
#include "msg/DtUpdateMsgs.h"
#include "net/DtConnectionMgr.h"
#include "net/DtMakeMsg.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtInteractionClassInfo.h"
#include "objects/DtInteractionMgr.h"
#include "objects/DtReceivedParamSet.h"
#include "objects/DtTimedDelivery.h"

std::uint32_t DtInteractionMgr::send(RTI::InteractionClassHandle theClass,
                                     const RTI::ParameterHandleValuePairSet& parameters, const RTI::FedTime* time,
                                     const char* tag, const RTI::Region&) {
  // Without data distribution every subscriber receives everything: the
  // region routes nothing, and the interaction goes as a plain one.
  return send(theClass, parameters, time, tag, 0UL);
}

std::uint32_t DtInteractionMgr::send(RTI::InteractionClassHandle theClass,
                                     const RTI::ParameterHandleValuePairSet& parameters, const RTI::FedTime* time,
                                     const char* tag, RTI::ULong destination) {
  DtInteractionClassInfo& record = publishedClass(theClass);
  if (!params_ || params_->errorChecking()) {
    for (RTI::ULong i = 0; i < parameters.size(); ++i) {
      if (!record.paramByHandle(parameters.getHandle(i))) throw RTI::InteractionParameterNotDefined("");
    }
  }
  DtOrderType order = DtReceiveOrder;
  std::uint32_t serial = 0;
  if (timeMgr_ && timeMgr_->regulating()) {
    order = record.order();
    if (order == DtTimestampOrder) serial = timeMgr_->takeSerialNumber();
  }
  sendInteractionMsg(theClass, parameters, record.transport(), order, time, tag, serial, destination);
  return serial;
}

void DtInteractionMgr::sendInteractionMsg(RTI::InteractionClassHandle theClass,
                                          const RTI::ParameterHandleValuePairSet& parameters, DtTransportType transport,
                                          DtOrderType order, const RTI::FedTime* time, const char* tag,
                                          std::uint32_t serial, RTI::ULong destination) {
  if (!connectMgr_) return;
  std::unique_ptr<DtRtiMsg> made;
  if (time) {
    auto msg = DtMakeMsg<DtInteractionTsoMsg>(*connectMgr_);
    if (!msg) return;
    msg->set(theClass, parameters, order, *time, tag, serial, destination);
    made = std::move(msg);
  } else {
    auto msg = DtMakeMsg<DtInteractionRoMsg>(*connectMgr_);
    if (!msg) return;
    msg->set(theClass, parameters, tag, destination);
    made = std::move(msg);
  }
  connectMgr_->sendStampedAndDelete(made.release(), transport, localAddrMap(theClass, destination));
  fastIncrementSentTally(theClass, transport);
}

bool DtInteractionMgr::acceptInteraction(const DtInteractionMsg& msg) const {
  return !connectMgr_ || msg.federateHandle() != connectMgr_->fedHandle();
}

void DtInteractionMgr::processInteraction(const DtInteractionMsg& msg) {
  if (!acceptInteraction(msg)) return;
  const auto theClass = static_cast<RTI::InteractionClassHandle>(msg.handle());
  const DtInteractionClassInfo* base = nullptr;
  if (!subscribed(theClass)) {
    base = firstSubscribedClass(fom_ ? fom_->interactionByHandle(theClass) : nullptr);
    if (!base) return;
  }
  // The values stay in the message: the class itself sees every parameter
  // as it came, empty ones too; a base class only its own that have a value.
  // A delivery inside another one's callback gets a set of its own.
  const bool nested = viewInUse_;
  DtReceivedParamSet local;
  DtReceivedParamSet& seen = nested ? local : *view_;
  struct Release {
    DtReceivedParamSet& set;
    bool& inUse;
    bool nested;
    ~Release() {
      set.clear();
      if (!nested) inUse = false;
    }
  } release{seen, viewInUse_, nested};
  viewInUse_ = true;
  if (base) {
    seen.view(msg, [base](std::uint16_t parameter, std::uint16_t length) {
      return length > 0 && base->paramByHandle(parameter);
    });
  } else {
    seen.view(msg, [](std::uint16_t, std::uint16_t) { return true; });
  }
  const RTI::InteractionClassHandle delivered = base ? base->handle() : theClass;
  deliver(delivered, seen, msg);
  fastIncrementReceivedTally(delivered, static_cast<DtTransportType>(msg.transportType()));
}

void DtInteractionMgr::deliver(RTI::InteractionClassHandle theClass, const RTI::ParameterHandleValuePairSet& parameters,
                               const DtInteractionMsg& msg) {
  RTI::FederateAmbassador* fedAmb = connectMgr_ ? connectMgr_->fedAmb() : nullptr;
  if (!fedAmb) return;
  const char* tag = msg.tag();
  if (!tag) tag = "";  // the sender gave none; a federate's callback gets a text
  DtNoteDelivered(msg, timeMgr_);
  if (DtDeliversTimed(msg, timeMgr_)) {
    fedAmb->receiveInteraction(theClass, parameters, msg.time(), tag, DtRetractionHandleOf(msg));
  } else {
    fedAmb->receiveInteraction(theClass, parameters, tag);
  }
}
