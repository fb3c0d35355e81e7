#include "objects/DtRequestDatabase.h"

#include <algorithm>

std::size_t DtRequestDatabase::place(RTI::AttributeHandle attribute) const {
  const auto at = std::lower_bound(requesters_.begin(), requesters_.end(), attribute,
                                   [](const Request& r, RTI::AttributeHandle a) { return r.first < a; });
  return static_cast<std::size_t>(at - requesters_.begin());
}

void DtRequestDatabase::forget(RTI::AttributeHandle attribute) {
  if (!requested_.isMember(attribute)) return;
  requested_.remove(attribute);
  requesters_.erase(requesters_.begin() + static_cast<std::ptrdiff_t>(place(attribute)));
}

void DtRequestDatabase::addRemoteRequest(const RTI::AttributeHandleSet& attributes, std::uint32_t federate) {
  for (RTI::ULong i = 0; i < attributes.size(); ++i) {
    const RTI::AttributeHandle a = attributes.getHandle(i);
    DtAttributeHandleSet::checkHandle(a);
    const std::size_t at = place(a);
    if (requested_.isMember(a)) {
      requesters_[at].second = federate;
    } else {
      requested_.add(a);
      requesters_.insert(requesters_.begin() + static_cast<std::ptrdiff_t>(at),
                         Request(static_cast<std::uint16_t>(a), federate));
    }
    cancelled_.remove(a);
  }
}

void DtRequestDatabase::removeRemoteRequest(const RTI::AttributeHandleSet& attributes) {
  for (RTI::ULong i = 0; i < attributes.size(); ++i) forget(attributes.getHandle(i));
}

void DtRequestDatabase::cancelRemoteRequest(const RTI::AttributeHandleSet& attributes) {
  removeRemoteRequest(attributes);
  cancelled_ = cancelled_.setUnion(attributes);
}

void DtRequestDatabase::removeCanceledRequests(const RTI::AttributeHandleSet& attributes) {
  cancelled_ = cancelled_.removeSetIntersection(attributes);
}

std::uint32_t DtRequestDatabase::releaseRequested(const RTI::AttributeHandleSet& attributes,
                                                  DtAttributeHandleSet* released, DtAttributeHandleSet* rest) {
  DtAttributeHandleSet mine;
  DtAttributeHandleSet& out = released ? *released : mine;
  out.empty();
  removeCanceledRequests(attributes);
  const DtAttributeHandleSet asked = requested_.setIntersection(attributes);
  if (asked.isEmpty()) return 0;
  const std::uint32_t federate = pendingRemoteRequest(asked.getHandle(0));
  for (RTI::ULong i = 0; i < asked.size(); ++i) {
    const RTI::AttributeHandle a = asked.getHandle(i);
    if (pendingRemoteRequest(a) == federate) out.add(a);
  }
  removeRemoteRequest(out);
  if (rest) *rest = DtAttributeHandleSet().setUnion(attributes).removeSetIntersection(out);
  return federate;
}

std::uint32_t DtRequestDatabase::pendingRemoteRequest(RTI::AttributeHandle attribute) const {
  if (!requested_.isMember(attribute)) return 0;
  return requesters_[place(attribute)].second;
}

DtAttributeHandleSet DtRequestDatabase::requestedByFed(std::uint32_t federate) const {
  DtAttributeHandleSet result;
  for (const Request& r : requesters_)
    if (r.second == federate) result.add(r.first);
  return result;
}
