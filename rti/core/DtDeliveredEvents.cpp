#include "core/DtDeliveredEvents.h"

void DtDeliveredEvents::add(std::uint32_t sender, std::uint32_t serialNumber) {
  if (!handles_.insert(key(sender, serialNumber)).second) return;
  order_.push_back(key(sender, serialNumber));
  while (handles_.size() > capacity_ || order_.size() > 2 * capacity_) {
    handles_.erase(order_.front());
    order_.pop_front();
  }
}

bool DtDeliveredEvents::take(std::uint32_t sender, std::uint32_t serialNumber) {
  return handles_.erase(key(sender, serialNumber)) != 0;
}

void DtDeliveredEvents::clear() {
  handles_.clear();
  order_.clear();
}
