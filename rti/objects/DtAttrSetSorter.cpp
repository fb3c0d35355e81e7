#include "objects/DtAttrSetSorter.h"

namespace {

// Only the two transports and the two orders have an index of their own:
// another value would share a combination's set, or fall outside the arrays.
bool isCombination(DtTransportType transport, DtOrderType order) {
  return (transport == DtBestEffort || transport == DtReliable) &&
         (order == DtReceiveOrder || order == DtTimestampOrder);
}

}  // namespace

DtAttrSetSorter::DtAttrSetSorter(RTI::ULong capacity) : capacity_(capacity) {}

DtAttrSetSorter::~DtAttrSetSorter() = default;

std::uint32_t DtAttrSetSorter::comboIndex(DtTransportType transport, DtOrderType order) const {
  return static_cast<std::uint32_t>(transport) * 2 + static_cast<std::uint32_t>(order);
}

void DtAttrSetSorter::add(RTI::Handle handle, const char* value, RTI::ULong length, DtTransportType transport,
                          DtOrderType order, std::uint32_t regionSet) {
  if (transport != DtBestEffort && transport != DtReliable) throw RTI::InvalidTransportationHandle("");
  if (order != DtReceiveOrder && order != DtTimestampOrder) throw RTI::InvalidOrderingHandle("");
  pick(transport, order, regionSet, true)->add(handle, value, length);
}

void DtAttrSetSorter::remove(RTI::Handle handle, DtTransportType transport, DtOrderType order,
                             std::uint32_t regionSet) {
  if (DtAttrValueSet* set = pick(transport, order, regionSet, false)) set->remove(handle);
}

DtAttrValueSet* DtAttrSetSorter::find(DtTransportType transport, DtOrderType order, std::uint32_t regionSet) const {
  if (!isCombination(transport, order)) return nullptr;
  const std::uint32_t index = comboIndex(transport, order);
  if (regionSet == 0) return withoutRegionSet_[index];
  const RegionSetTable* table = byRegionSet_[index].get();
  DtAttrValueSet* const* found = table ? table->find(regionSet) : nullptr;
  return found ? *found : nullptr;
}

DtAttrValueSet* DtAttrSetSorter::pick(DtTransportType transport, DtOrderType order, std::uint32_t regionSet,
                                      bool make) {
  if (!isCombination(transport, order)) return nullptr;
  const std::uint32_t index = comboIndex(transport, order);
  DtAttrValueSet* set = nullptr;
  if (regionSet == 0) {
    DtAttrValueSet*& slot = withoutRegionSet_[index];
    if (!slot && make) slot = makeSet(transport, order, 0);
    set = slot;
  } else if (last_ && last_->transportType() == transport && last_->orderType() == order &&
             last_->regionSet() == regionSet) {
    set = last_;
  } else {
    std::unique_ptr<RegionSetTable>& table = byRegionSet_[index];
    if (!table && make) table = std::make_unique<RegionSetTable>();
    if (table) {
      if (DtAttrValueSet** found = table->find(regionSet)) {
        set = *found;
      } else if (make) {
        set = table->put(regionSet, makeSet(transport, order, regionSet));
      }
    }
  }
  if (set) last_ = set;
  return set;
}

DtAttrValueSet* DtAttrSetSorter::makeSet(DtTransportType transport, DtOrderType order, std::uint32_t regionSet) {
  // Made as the API's factory makes one (with the process-wide default
  // region set), then given the combination.
  auto set = std::make_unique<DtAttrValueSet>(capacity_);
  set->setTransportType(transport);
  set->setOrderType(order);
  set->setRegionSet(regionSet);
  sets_.push_back(std::move(set));
  return sets_.back().get();
}
