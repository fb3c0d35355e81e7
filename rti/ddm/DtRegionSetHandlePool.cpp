#include "ddm/DtRegionSetHandlePool.h"

#include "RTI.hh"
#include "objects/DtFederateHandleRange.h"

std::uint32_t DtRegionSetHandlePool::take(std::uint32_t federate) {
  constexpr std::uint32_t serials = theLastSerial - theFirstSerial + 1;
  std::uint32_t serial = counter_ >= theFirstSerial && counter_ <= theLastSerial ? counter_ : theFirstSerial;
  for (std::uint32_t tried = 0; tried < serials; ++tried) {
    const std::uint32_t handle = DtFederateHandleRange::handle(federate, serial, "interaction region set");
    if (!inUse(handle)) {
      used_.insert(handle);
      counter_ = serial + 1;
      return handle;
    }
    serial = serial == theLastSerial ? theFirstSerial : serial + 1;
  }
  throw RTI::RTIinternalError("Interaction region set handle pool exhausted");
}
