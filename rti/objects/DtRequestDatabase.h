#pragma once
// DtRequestDatabase: for one object instance, which remote federates asked
// this federate to release which attributes (negotiated ownership transfer),
// and which of those requests were cancelled. Every object record embeds
// one, so it stays small while nobody asks: two attribute sets and an empty
// list.
//
// Invariant: an attribute is requested exactly when it has a requester.
// No lock: it lives on the federate's thread.

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "RTI.hh"
#include "api/DtAttributeHandleSet.h"

class DtRequestDatabase {
public:
  DtRequestDatabase() = default;
  DtRequestDatabase(const DtRequestDatabase&) = default;
  DtRequestDatabase& operator=(const DtRequestDatabase&) = default;
  virtual ~DtRequestDatabase() = default;

  // Each attribute becomes requested by `federate` (replacing an earlier
  // requester) and is no longer cancelled.
  virtual void addRemoteRequest(const RTI::AttributeHandleSet& attributes, std::uint32_t federate);
  // The attributes are no longer requested.
  virtual void removeRemoteRequest(const RTI::AttributeHandleSet& attributes);
  // No longer requested, and recorded as cancelled.
  virtual void cancelRemoteRequest(const RTI::AttributeHandleSet& attributes);
  virtual void removeCanceledRequests(const RTI::AttributeHandleSet& attributes);
  virtual bool isRequestCanceled(RTI::AttributeHandle attribute) const { return cancelled_.isMember(attribute); }
  virtual const DtAttributeHandleSet& canceledRequestSet() const { return cancelled_; }

  // The federate agrees to release `attributes`. Cancelled requests among
  // them are forgotten; then the requester of the lowest requested one gets
  // every attribute of the set that it asked for: they go into `released`
  // (emptied first) and are no longer requested, `rest` (when given) gets
  // the set without them, and that requester is returned. With nothing of
  // the set requested, 0 is returned and `rest` is left as it was.
  virtual std::uint32_t releaseRequested(const RTI::AttributeHandleSet& attributes, DtAttributeHandleSet* released,
                                         DtAttributeHandleSet* rest);
  // The requesting federate, 0 when none.
  virtual std::uint32_t pendingRemoteRequest(RTI::AttributeHandle attribute) const;
  virtual DtAttributeHandleSet requestedByFed(std::uint32_t federate) const;
  virtual const DtAttributeHandleSet& requestedAttrs() const { return requested_; }
  virtual int requestCount() const { return static_cast<int>(requested_.size()); }

private:
  using Request = std::pair<std::uint16_t, std::uint32_t>;  // attribute, requesting federate; by attribute
  // Where the attribute's entry is, or would go.
  std::size_t place(RTI::AttributeHandle attribute) const;
  void forget(RTI::AttributeHandle attribute);

  DtAttributeHandleSet requested_;
  DtAttributeHandleSet cancelled_;
  std::vector<Request> requesters_;
};
