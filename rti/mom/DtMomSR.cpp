#include "mom/DtMomSR.h"

#include <algorithm>
#include <string>
#include <vector>

#include "mom/DtMomHandleList.h"
#include "mom/DtMomObjectClasses.h"
#include "mom/DtMomWords.h"
#include "objects/DtFomClassMgr.h"

namespace {

constexpr DtMomWord federateStateWords[] = {{DtMomRunning, "Running"},
                                            {DtMomSavePending, "Save pending"},
                                            {DtMomSaving, "Saving"},
                                            {DtMomRestorePending, "Restore pending"},
                                            {DtMomRestoring, "Restoring"}};
constexpr DtMomWord timeManagerStateWords[] = {{DtMomIdle, "Idle"}, {DtMomAdvancePending, "Advance pending"}};
constinit const DtMomWords federateStates(federateStateWords, "Unknown");
constinit const DtMomWords timeManagerStates(timeManagerStateWords, "Unknown");

}  // namespace

DtMomSR::DtMomSR(DtFomClassMgr* fom, DtMomInspector* inspector, std::uint32_t classHandle)
    : fom_(fom), inspector_(inspector), classHandle_(classHandle) {}

void DtMomSR::populate(const DtMomObjectClass& momClass) {
  for (const DtMomAttribute& attribute : momClass.attributes) {
    if (attribute.element != DtMomNoElement) putElement(attribute.name, attribute.element);
  }
}

void DtMomSR::putElement(const char* attributeName, DtMomElement element) {
  elements_[static_cast<std::uint32_t>(fom_->attrHandle(attributeName, classHandle_))] = element;
}

DtMomElement DtMomSR::element(std::uint32_t handle) const {
  const auto found = elements_.find(handle);
  return found == elements_.end() ? DtMomNoElement : found->second;
}

std::unique_ptr<RTI::AttributeHandleValuePairSet> DtMomSR::forceUpdate(const RTI::AttributeHandleSet* requested) {
  const RTI::ULong count = requested ? requested->size() : 0;
  std::unique_ptr<RTI::AttributeHandleValuePairSet> pairs(RTI::AttributeSetFactory::create(count));
  DtString text;
  for (RTI::ULong i = count; i-- > 0;) {
    const RTI::AttributeHandle handle = requested->getHandle(i);
    if (handle == theSkippedHandle) continue;
    encodeAttribute(static_cast<std::uint32_t>(handle), text);
    pairs->add(handle, text.string(), static_cast<RTI::ULong>(text.length()) + 1);
  }
  return pairs;
}

void DtMomSR::encode(RTI::FedTime* time, DtString& out) {
  if (!time) {
    out = "";
    return;
  }
  // Room for the text and its NUL, whether the time counts the NUL in its
  // printable length or not.
  std::vector<char> text(static_cast<std::size_t>(std::max(time->getPrintableLength(), 0)) + 1, '\0');
  time->getPrintableString(text.data());
  text.back() = '\0';
  out = text.data();
}

void DtMomSR::encode(const DtMomHandleList* list, DtString& out) {
  if (list) {
    list->encode(out);
  } else {
    out = "";
  }
}

void DtMomSR::encode(DtMomTimeManagerStates state, DtString& out) { out = timeManagerStates.text(state); }

void DtMomSR::encode(std::int32_t number, DtString& out) { out = std::to_string(number).c_str(); }

void DtMomSR::encode(std::uint32_t number, DtString& out) { out = std::to_string(number).c_str(); }

void DtMomSR::encode(DtMomFederateStates state, DtString& out) { out = federateStates.text(state); }

void DtMomSR::encode(RTI::Boolean value, DtString& out) { out = value != RTI::RTI_FALSE ? "True" : "False"; }
