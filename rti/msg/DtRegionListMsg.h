#pragma once
// A message whose body ends in a list of region handles: its fixed part
// counts them (Net::regionCount), and its one variable part holds them, a
// u32 each. The sender reserves the slots and adds the handles one by one;
// a received body must be exactly its fixed part and its handles.

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "msg/DtExactBody.h"
#include "msg/DtKept.h"
#include "msg/DtMsgClass.h"
#include "util/DtPrintField.h"

template <class Self, class Net, DtRtiMsgKind Kind>
class DtRegionListMsg : public DtMsgClass<Self, DtExactBody<DtRtiMsg>, Net, Kind> {
  using Pattern = DtMsgClass<Self, DtExactBody<DtRtiMsg>, Net, Kind>;

public:
  using Pattern::Pattern;

  virtual unsigned long numberRegions() const { return this->get(Net::regionCount); }
  // Makes the message long enough for n handles (it never gets shorter);
  // false when it cannot be that long: refused, the message cannot travel.
  virtual bool reserveRegionSlots(unsigned long n) {
    const unsigned long fixed = static_cast<unsigned long>(Net::layout.fixedSize);
    if (n > (static_cast<unsigned long>(DtRtiMsg::theMaxSize) - fixed) / 4) {
      this->refuse("%s: %lu region handles do not fit a message of at most %d bytes; not reserved\n", this->className(),
                   n, DtRtiMsg::theMaxSize);
      return false;
    }
    const int length = static_cast<int>(fixed + 4 * n);
    if (this->size() < length) this->setSize(length);
    return this->size() >= length;
  }
  // Writes the handle after the last one and counts it. Past the reserved
  // slots the message grows by one slot (a message built again from a
  // set); false, nothing changed, when it cannot (a handle past 32 bits is
  // refused).
  virtual bool addRegion(unsigned long handle) {
    const unsigned long n = numberRegions();
    if (this->size() < Net::layout.fixedSize) return false;  // a truncated received body is not written
    if (handle > 0xFFFFFFFFul) {
      this->refuse("%s: region handle %lu does not fit 32 bits; not set\n", this->className(), handle);
      return false;
    }
    if (static_cast<unsigned long>(this->size()) < Net::layout.fixedSize + 4 * (n + 1) && !reserveRegionSlots(n + 1)) {
      return false;
    }
    this->put(DtU32At{static_cast<int>(Net::layout.fixedSize + 4 * n)}, static_cast<std::uint32_t>(handle));
    this->put(Net::regionCount, static_cast<std::uint32_t>(n + 1));
    decoded_.reset();
    return true;
  }
  // Appends the handles in order; false when the message cannot hold them
  // all (then it holds none of them).
  virtual bool appendRegions(std::span<const std::uint32_t> handles) {
    if (!reserveRegionSlots(numberRegions() + handles.size())) return false;
    for (const std::uint32_t handle : handles) addRegion(handle);
    return true;
  }
  // The handles in host order, kept until the next addRegion; null when
  // there are none. Only the handles the body holds are read.
  virtual const std::uint32_t* regions() const {
    if (!decoded_) {
      auto handles = new std::vector<std::uint32_t>(heldRegions());
      for (std::size_t i = 0; i < handles->size(); ++i) (*handles)[i] = regionAt(i);
      decoded_.reset(handles);
    }
    return decoded_.get()->empty() ? nullptr : decoded_.get()->data();
  }

protected:
  // The first region slot.
  virtual char* netRegions() const { return this->data() + Net::layout.fixedSize; }
  // "%-20s %u\n" with the label, a line for each handle.
  void printRegions(const char* label) const {
    const std::size_t held = heldRegions();
    for (std::size_t i = 0; i < held; ++i) DtPrintField(label, static_cast<unsigned>(regionAt(i)));
  }

private:
  // The handles counted that the body holds.
  std::size_t heldRegions() const {
    const long room = (static_cast<long>(this->size()) - Net::layout.fixedSize) / 4;
    return room <= 0 ? 0 : static_cast<std::size_t>(std::min<unsigned long>(numberRegions(), room));
  }
  std::uint32_t regionAt(std::size_t i) const {
    return this->get(DtU32At{static_cast<int>(Net::layout.fixedSize + 4 * i)});
  }

  mutable DtKept<std::vector<std::uint32_t>> decoded_;
};
