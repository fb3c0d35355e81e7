#pragma once
// DtObjectAttrTable: per attribute of one object instance, how its updates
// travel (transport and order, which start as the class's and can be set
// apart), the publication region set it is associated with, and who
// subscribes to it here: remote federates and remote subscription region
// sets. An attribute handle is an index below count().
//
// The table is kept by set rather than by attribute (two bitmaps, and one
// attribute set per subscribing federate or region set), so that an object
// of many attributes costs a few hundred bytes however many attributes its
// class has, and nothing more until someone subscribes.
//
// Used on the federate's thread only.

#include <cstdint>
#include <utility>
#include <vector>

#include "RTI.hh"
#include "api/DtAttributeHandleSet.h"
#include "objects/DtAttrSetTable.h"
#include "util/DtFomTypes.h"

class DtObjectClassInfo;
class DtPubRegionSetView;

class DtObjectAttrTable {
public:
  // No attributes.
  DtObjectAttrTable() = default;
  // One entry per attribute of the class, with its transport and order.
  explicit DtObjectAttrTable(const DtObjectClassInfo& cls);
  // The class's attributes sent reliably and in time-stamp order as given
  // (a saved object's), those the class lacks left out.
  DtObjectAttrTable(const DtObjectClassInfo& cls, const DtAttributeHandleSet& reliable,
                    const DtAttributeHandleSet& timestamp);
  // Transport, order and region set of every entry; nobody subscribes.
  DtObjectAttrTable withoutSubscribers() const;

  std::uint32_t count() const { return count_; }
  bool contains(RTI::AttributeHandle attribute) const { return attribute < count_; }

  // Entries within the table only (the caller checks).
  DtTransportType transport(RTI::AttributeHandle attribute) const;
  void setTransport(RTI::AttributeHandle attribute, DtTransportType transport);
  DtOrderType order(RTI::AttributeHandle attribute) const;
  void setOrder(RTI::AttributeHandle attribute, DtOrderType order);
  // The attributes whose updates travel reliably, and in time-stamp order.
  const DtAttributeHandleSet& reliableAttrs() const { return reliable_; }
  const DtAttributeHandleSet& timestampAttrs() const { return timestamp_; }

  // Null when none (and beyond the table); null ends the association.
  DtPubRegionSetView* regionSet(RTI::AttributeHandle attribute) const;
  void setRegionSet(RTI::AttributeHandle attribute, DtPubRegionSetView* set);

  // Each says whether it changed anything.
  bool addSubscriber(std::uint32_t federate, RTI::AttributeHandle attribute);
  bool removeSubscriber(std::uint32_t federate, RTI::AttributeHandle attribute);
  bool addRegionSubscription(std::uint32_t regionSet, RTI::AttributeHandle attribute);
  bool removeRegionSubscription(std::uint32_t regionSet, RTI::AttributeHandle attribute);
  // Some federate or region set subscribes the attribute.
  bool subscribed(RTI::AttributeHandle attribute) const;
  // Nobody subscribes the attribute any more.
  void dropSubscriptions(RTI::AttributeHandle attribute);
  // Federate -> attributes, and region set -> attributes, in filing order.
  const DtAttrSetTable& subscribers() const { return subscribers_; }
  const DtAttrSetTable& regionSubscriptions() const { return regionSubscriptions_; }

private:
  static bool addTo(DtAttrSetTable& table, std::uint32_t key, RTI::AttributeHandle attribute);
  static bool removeFrom(DtAttrSetTable& table, std::uint32_t key, RTI::AttributeHandle attribute);
  static bool anyHolds(const DtAttrSetTable& table, RTI::AttributeHandle attribute);

  std::uint32_t count_ = 0;
  DtAttributeHandleSet reliable_;
  DtAttributeHandleSet timestamp_;
  std::vector<std::pair<std::uint32_t, DtPubRegionSetView*>> regionSets_;  // attribute -> set, only where set
  DtAttrSetTable subscribers_;
  DtAttrSetTable regionSubscriptions_;
};
