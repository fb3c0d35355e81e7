#include "objects/DtInteractionClassInfo.h"

#include <cstring>

#include "objects/DtFomLimits.h"
#include "objects/DtInteractionAdvisorySink.h"
#include "save/DtRtiSaveFile.h"
#include "save/DtSavePackets.h"
#include "util/DtNotify.h"

namespace {

constexpr const char rootPrefix[] = "interactionroot";

}  // namespace

DtInteractionClassInfo::DtInteractionClassInfo(const char* name, DtInteractionClassInfo* base, std::uint32_t handle)
    : name_(name), handle_(handle), baseClass_(base), params_(DtFomLimits::maxParameters) {
  tallies_.setHandle(handle);
  if (!base) return;
  // The base's parameters, under its handles; their names are unique there
  // and are looked up there.
  for (std::uint32_t i = 0; i < base->numParameters(); ++i) {
    params_.put(i, std::make_unique<DtParamInfo>(base->paramName(i), i));
  }
  numParams_ = inheritedCount_ = base->numParameters();
  base->addSubclass(this);
}

DtInteractionClassInfo::DtInteractionClassInfo(const DtInteractionClassInfo& other)
    : name_(other.name_),
      handle_(other.handle_),
      spaceHandle_(other.spaceHandle_),
      subscribed_(other.subscribed_),
      published_(other.published_),
      baseClass_(nullptr),
      transport_(other.transport_),
      relevanceOverride_(other.relevanceOverride_),
      order_(other.order_),
      params_(DtFomLimits::maxParameters),
      numParams_(other.numParams_),
      subscribers_(other.subscribers_),
      relevantFlag_(other.relevantFlag_),
      destinationAddress_(other.destinationAddress_),
      regionSubscribers_(other.regionSubscribers_) {
  tallies_.setHandle(handle_);
  // Without a base to ask, the copy looks every parameter up itself.
  for (std::uint32_t i = 0; i < numParams_; ++i) {
    indexParameter(*params_.put(i, std::make_unique<DtParamInfo>(*other.params_.at(i))));
  }
}

DtInteractionClassInfo::~DtInteractionClassInfo() = default;

bool DtInteractionClassInfo::isName(const char* text) const {
  if (!text) return false;
  if (name_.equalNoCase(text)) return true;
  if (std::strncmp(text, rootPrefix, sizeof rootPrefix - 1) == 0) return false;
  return name_.equalNoCase(DtString("interactionroot.") + text);
}

bool DtInteractionClassInfo::isOfClass(std::uint32_t classHandle) const {
  for (const DtInteractionClassInfo* c = this; c; c = c->baseClass_) {
    if (c->handle_ == classHandle) return true;
  }
  return false;
}

// Parameters ------------------------------------------------------------------

void DtInteractionClassInfo::indexParameter(const DtParamInfo& parameter) {
  ownNames_.add(parameter.name(), parameter.handle());
}

DtParamInfo* DtInteractionClassInfo::addParam(const char* name) {
  if (paramByName(name)) throw RTI::RTIinternalError("two parameters with the same name\n");
  DtParamInfo* parameter = params_.put(numParams_, std::make_unique<DtParamInfo>(name, numParams_));
  indexParameter(*parameter);
  ++numParams_;
  return parameter;
}

const DtParamInfo* DtInteractionClassInfo::paramByName(const char* name) const {
  if (const auto own = ownNames_.find(name)) return params_.at(*own);
  if (baseClass_ && inheritedCount_ > 0) {
    const DtParamInfo* inherited = baseClass_->paramByName(name);
    if (inherited && inherited->handle() < inheritedCount_) return params_.at(inherited->handle());
  }
  return nullptr;
}

DtParamInfo* DtInteractionClassInfo::paramByName(const char* name) {
  return const_cast<DtParamInfo*>(static_cast<const DtInteractionClassInfo*>(this)->paramByName(name));
}

const DtParamInfo* DtInteractionClassInfo::paramByHandle(RTI::ParameterHandle parameter) const {
  return parameter < numParams_ ? params_.at(static_cast<std::uint32_t>(parameter)) : nullptr;
}

DtParamInfo* DtInteractionClassInfo::paramByHandle(RTI::ParameterHandle parameter) {
  return const_cast<DtParamInfo*>(static_cast<const DtInteractionClassInfo*>(this)->paramByHandle(parameter));
}

const char* DtInteractionClassInfo::memberName(RTI::ULong parameter) const {
  const DtParamInfo* found = paramByHandle(parameter);
  return found ? found->name() : nullptr;
}

std::uint32_t DtInteractionClassInfo::paramHandle(const char* name) const {
  const DtParamInfo* parameter = paramByName(name);
  if (!parameter) throw RTI::NameNotFound("");
  return parameter->handle();
}

const char* DtInteractionClassInfo::paramName(RTI::ParameterHandle parameter) const {
  const DtParamInfo* found = paramByHandle(parameter);
  if (!found) throw RTI::InteractionParameterNotDefined("");
  return found->name();
}

std::span<const std::unique_ptr<DtParamInfo>> DtInteractionClassInfo::params() const {
  return params_.slots(numParams_);
}

// Declarations and relevance --------------------------------------------------

void DtInteractionClassInfo::publish(DtInteractionAdvisorySink* sink) {
  if (published_) return;
  published_ = true;
  if (relevant() && sink) sink->addPendingStartInters(handle_);
}

bool DtInteractionClassInfo::remoteFederateIsSubscribedWithRegion(std::uint32_t federate, std::uint32_t region) const {
  const std::uint32_t* held = regionSubscribers_.find(federate);
  return (held ? *held : 0) == region;
}

void DtInteractionClassInfo::traceCount() const {
  DtNotifyVerbose("Num federates: %u\n", numRemoteFederatesSubscribed());
}

void DtInteractionClassInfo::remoteSubscribe(std::uint32_t federate, DtInteractionAdvisorySink* sink) {
  if (remoteFederateIsSubscribed(federate)) return;
  addRemoteSubscription(federate);
  DtNotifyVerbose("RemoteSubscribe to %u from: %u\n", handle_, federate);
  traceCount();
  if (numRemoteFederatesSubscribed() == 1) updateRelevance(sink);
}

void DtInteractionClassInfo::remoteUnsubscribe(std::uint32_t federate, DtInteractionAdvisorySink* sink) {
  if (!remoteFederateIsSubscribed(federate)) return;
  deleteRemoteSubscription(federate);
  DtNotifyVerbose("RemoteUnsubscribe to %u from: %u\n", handle_, federate);
  traceCount();
  if (numRemoteFederatesSubscribed() == 0) updateRelevance(sink);
}

void DtInteractionClassInfo::remoteSubscribe(std::uint32_t federate, std::uint32_t region,
                                             DtInteractionAdvisorySink* sink) {
  if (remoteFederateIsSubscribedWithRegion(federate, region)) return;
  const std::uint32_t before = numRemoteFederatesSubscribed();
  addRemoteSubscription(federate, region);
  DtNotifyVerbose("RemoteSubscribeWithRegion to %u from: %u with %u\n", handle_, federate, region);
  traceCount();
  if (before == 0) updateRelevance(sink);
}

void DtInteractionClassInfo::remoteUnsubscribeRegion(std::uint32_t federate, std::uint32_t region,
                                                     DtInteractionAdvisorySink* sink) {
  if (!remoteFederateIsSubscribedWithRegion(federate) || !remoteFederateIsSubscribedWithRegion(federate, region)) {
    return;
  }
  deleteRemoteSubscription(federate, region);
  DtNotifyVerbose("RemoteUnsubscribe to %u from: %u with %u\n", handle_, federate, region);
  traceCount();
  if (numRemoteFederatesSubscribed() == 0) updateRelevance(sink);
}

void DtInteractionClassInfo::updateRelevance(DtInteractionAdvisorySink* sink) {
  const bool now = numRemoteFederatesSubscribed() > 0 || (baseClass_ && baseClass_->relevant());
  if (sink && published_) {
    if (!relevant() && now) sink->addPendingStartInters(handle_);
    if (relevant() && !now) sink->addPendingStopInters(handle_);
  }
  relevantFlag_ = now;
  for (DtInteractionClassInfo* subclass : subclasses_) subclass->updateRelevance(sink);
}

void DtInteractionClassInfo::setDestination(std::uint32_t address, bool inclusive, std::uint32_t previous) {
  if (destinationAddress_ == previous) destinationAddress_ = address;
  if (!inclusive) return;
  for (DtInteractionClassInfo* subclass : subclasses_) subclass->setDestination(address, inclusive, previous);
}

bool DtInteractionClassInfo::save(DtRtiSaveFile& file) const {
  using Record = DtInteractionClassPacket;
  DtSavePacketBuilder record(Record::theType, Record::length(subscribers_.size()));
  record.setU32(Record::classHandleAt, handle_);
  record.setU8(Record::subscribedAt, static_cast<std::uint8_t>(subscribed_));
  record.setU8(Record::publishedAt, published_);
  record.setU8(Record::transportAt, static_cast<std::uint8_t>(transport_));
  record.setU8(Record::orderAt, static_cast<std::uint8_t>(order_));
  record.setU8(Record::relevantAt, relevantFlag_);
  tallies_.saveTo(record, Record::sentBestEffortAt);
  record.setU32(Record::countAt, subscribers_.size());
  record.setU32s(Record::federatesAt, subscribers_);
  return file.writePacket(record);
}

bool DtInteractionClassInfo::restore(const DtSavePacket& record) {
  using Record = DtInteractionClassPacket;
  if (record.u32(Record::classHandleAt) != handle_) DtNotifyError("Error restoring fom class, handle mismatch.\n");
  subscribers_.clear();
  regionSubscribers_.clear();
  const std::uint32_t subscribed = record.u8(Record::subscribedAt);
  subscribed_ = subscribed <= subscribedPassively ? subscribed : notSubscribed;
  published_ = record.u8(Record::publishedAt) != 0;
  relevantFlag_ = record.u8(Record::relevantAt) != 0;
  order_ = static_cast<DtOrderType>(record.u8(Record::orderAt));
  transport_ = static_cast<DtTransportType>(record.u8(Record::transportAt));
  const std::uint32_t count = record.u32(Record::countAt);
  for (std::uint32_t k = 0; k < count; ++k) subscribers_.add(record.u32(Record::federatesAt + 4 * k));
  tallies_.restoreFrom(record, Record::sentBestEffortAt);
  return true;
}
