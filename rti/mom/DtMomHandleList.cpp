#include "mom/DtMomHandleList.h"

#include <cstdint>
#include <string>

#include "mom/DtMomInteraction.h"
#include "mom/DtMomValueText.h"

namespace {

// The list keeps each handle in its item's pointer.
void* asData(std::uint32_t handle) {
  return reinterpret_cast<void*>(static_cast<std::uintptr_t>(handle));  // NOLINT(performance-no-int-to-ptr)
}

}  // namespace

DtMomHandleList::DtMomHandleList(const RTI::AttributeHandleSet& set) { setAttributes(set); }

DtMomHandleList::DtMomHandleList(const DtMomHandleList& other)
    : DtList(other), classHandle_(other.classHandle_), active_(other.active_) {}

DtMomHandleList& DtMomHandleList::operator=(const DtMomHandleList& other) {
  if (this == &other) return *this;
  DtList::operator=(other);
  classHandle_ = other.classHandle_;
  active_ = other.active_;
  return *this;
}

void DtMomHandleList::encodeVerbose(RTI::ParameterHandleValuePairSet* set, RTI::ParameterHandle parameter) const {
  DtString text;
  encode(text);
  DtMomInteraction::genericEncodeString(text, set, parameter);
}

void DtMomHandleList::append(std::uint32_t handle) { DtList::append(asData(handle)); }

void DtMomHandleList::encode(DtString& out) const {
  std::string text;
  for (const DtListItem* item = head(); item; item = item->next()) {
    if (!text.empty()) text += ',';
    text += std::to_string(data(item));
  }
  out = text.c_str();
}

std::uint32_t DtMomHandleList::data(const DtListItem* item) const {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(item->data()));
}

bool DtMomHandleList::decodeVerbose(const DtString& text) {
  std::vector<std::uint32_t> read;
  for (const std::string& piece : DtMomValueText::tokens(text.string(), " ,")) {
    const auto handle = DtMomValueText::handle(piece);
    if (!handle) return false;
    read.push_back(*handle);
  }
  clear();
  for (std::uint32_t handle : read) append(handle);
  return true;
}

void DtMomHandleList::getAttributes(RTI::AttributeHandleSet* set) const {
  for (const DtListItem* item = head(); item; item = item->next()) {
    try {
      set->add(data(item));
    } catch (const RTI::Exception&) {
      // The set cannot hold this one; the others still go in.
    }
  }
}

void DtMomHandleList::setAttributes(const RTI::AttributeHandleSet& set) {
  for (RTI::ULong i = 0; i < set.size(); ++i) {
    const RTI::AttributeHandle handle = set.getHandle(i);
    if (handle <= UINT32_MAX) append(static_cast<std::uint32_t>(handle));  // a wider one names no attribute
  }
}

std::vector<std::uint32_t> DtMomHandleList::handles() const {
  std::vector<std::uint32_t> all;
  for (const DtListItem* item = head(); item; item = item->next()) all.push_back(data(item));
  return all;
}
