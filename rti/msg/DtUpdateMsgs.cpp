#include "msg/DtUpdateMsgs.h"

#include "api/DtAttrValueSet.h"
#include "api/DtParamValueSet.h"

char DtUpdateMsg::theChannelIncluded = 0;
char DtInteractionMsg::theChannelIncluded = 0;

namespace {

template <class Msg>
int fixedPart() {
  return Msg::NetBody::layout.fixedSize + (Msg::channelIncluded() ? 4 : 0);
}

template <class Msg, class Set>
int fixedWithList(const Set* set) {
  return Msg::builtSize(fixedPart<Msg>(), nullptr, nullptr, nullptr, set);
}

}  // namespace

// ---- updates

void DtUpdateMsg::setObjName(const char* name) { setTextPart(roles().name, name, "object name"); }

const char* DtUpdateMsg::objName() const {
  const char* name = textPart(roles().name);
  return name ? name : "";
}

unsigned long DtUpdateMsg::channelOf(const RTI::AttributeHandleValuePairSet& attrs) {
  const auto* own = dynamic_cast<const DtAttrValueSet*>(&attrs);
  return own ? own->regionSet() : 0;
}

RTI::AttributeHandleValuePairSet* DtUpdateMsg::makeSet(RTI::ULong n) const { return new DtAttrValueSet(n); }

DtUpdateRoMsg::DtUpdateRoMsg(unsigned long objHandle, const char* objName, unsigned long classHandle,
                             const RTI::AttributeHandleValuePairSet& attrs, const char* tag, DtBufferPlaceHolder* where)
    : DtMsgClass(builtSize(fixedPart<DtUpdateRoMsg>(), nullptr, tag, objName, &attrs), currentKind(), where) {
  setObjHandle(objHandle);
  setClassHandle(classHandle);
  setChannel(channelOf(attrs));
  fill(nullptr, tag, objName, &attrs);
}

void DtUpdateRoMsg::set(unsigned long objHandle, const char* objName, unsigned long classHandle,
                        const RTI::AttributeHandleValuePairSet& attrs, const char* tag) {
  clearParts();
  setObjHandle(objHandle);
  setClassHandle(classHandle);
  setChannel(channelOf(attrs));
  fill(nullptr, tag, objName, &attrs);
}

int DtUpdateRoMsg::minSize(const RTI::AttributeHandleValuePairSet* attrs, const char*, const char*) {
  return fixedWithList<DtUpdateRoMsg>(attrs);
}

void DtUpdateRoMsg::setClassHandle(unsigned long handle) {
  putChecked(DtNetUpdateMsg::classHandle, handle, "object class handle");
}

void DtUpdateRoMsg::setObjHandle(unsigned long handle) {
  putChecked(DtNetUpdateMsg::objHandle, handle, "object handle");
}

void DtUpdateRoMsg::printData() const {
  printTraffic("ObjectHandle:", static_cast<long>(objHandle()), objName(), "Class:", static_cast<long>(classHandle()));
}

DtUpdateTsoMsg::DtUpdateTsoMsg(unsigned long objHandle, const char* objName, unsigned long classHandle,
                               const RTI::AttributeHandleValuePairSet& attrs, unsigned long orderType,
                               const RTI::FedTime& time, const char* tag, unsigned long serialNumber,
                               DtBufferPlaceHolder* where)
    : DtMsgClass(builtSize(fixedPart<DtUpdateTsoMsg>(), &time, tag, objName, &attrs), currentKind(), where) {
  set(objHandle, objName, classHandle, attrs, orderType, time, tag, serialNumber);
}

void DtUpdateTsoMsg::set(unsigned long objHandle, const char* objName, unsigned long classHandle,
                         const RTI::AttributeHandleValuePairSet& attrs, unsigned long orderType,
                         const RTI::FedTime& time, const char* tag, unsigned long serialNumber) {
  clearParts();
  setObjHandle(objHandle);
  setClassHandle(classHandle);
  setOrderType(orderType);
  setChannel(channelOf(attrs));
  setSerialNumber(serialNumber);
  fill(&time, tag, objName, &attrs);
}

int DtUpdateTsoMsg::minSize(const RTI::FedTime*, const RTI::AttributeHandleValuePairSet* attrs, const char*,
                            const char*) {
  return fixedWithList<DtUpdateTsoMsg>(attrs);
}

void DtUpdateTsoMsg::setClassHandle(unsigned long handle) {
  putChecked(DtNetUpdateTsoMsg::classHandle, handle, "object class handle");
}

void DtUpdateTsoMsg::setObjHandle(unsigned long handle) {
  putChecked(DtNetUpdateTsoMsg::objHandle, handle, "object handle");
}

void DtUpdateTsoMsg::printData() const {
  printTraffic("ObjectHandle:", static_cast<long>(objHandle()), objName(), "Class:", static_cast<long>(classHandle()));
}

// ---- interactions

RTI::ParameterHandleValuePairSet* DtInteractionMsg::makeSet(RTI::ULong n) const { return new DtParamValueSet(n); }

DtInteractionRoMsg::DtInteractionRoMsg(unsigned long classHandle, const RTI::ParameterHandleValuePairSet& params,
                                       const char* tag, unsigned long channel, DtBufferPlaceHolder* where)
    : DtMsgClass(builtSize(fixedPart<DtInteractionRoMsg>(), nullptr, tag, nullptr, &params), currentKind(), where) {
  setHandle(classHandle);
  setChannel(channel);
  fill(nullptr, tag, nullptr, &params);
}

void DtInteractionRoMsg::set(unsigned long classHandle, const RTI::ParameterHandleValuePairSet& params, const char* tag,
                             unsigned long channel) {
  clearParts();
  setHandle(classHandle);
  setChannel(channel);
  fill(nullptr, tag, nullptr, &params);
}

void DtInteractionRoMsg::set(unsigned long classHandle, const DtNetValueView& params, const char* tag,
                             unsigned long channel) {
  clearParts();
  setHandle(classHandle);
  setChannel(channel);
  fill(nullptr, tag, nullptr, params);
}

int DtInteractionRoMsg::minSize(const RTI::ParameterHandleValuePairSet* params, const char*) {
  return fixedWithList<DtInteractionRoMsg>(params);
}

void DtInteractionRoMsg::setHandle(unsigned long classHandle) {
  putChecked(DtNetInteractionMsg::classHandle, classHandle, "interaction class handle");
}

void DtInteractionRoMsg::printData() const { printTraffic(nullptr, 0, nullptr, "Class:", static_cast<long>(handle())); }

DtInteractionTsoMsg::DtInteractionTsoMsg(unsigned long classHandle, const RTI::ParameterHandleValuePairSet& params,
                                         unsigned long orderType, const RTI::FedTime& time, const char* tag,
                                         unsigned long serialNumber, unsigned long channel, DtBufferPlaceHolder* where)
    : DtMsgClass(builtSize(fixedPart<DtInteractionTsoMsg>(), &time, tag, nullptr, &params), currentKind(), where) {
  set(classHandle, params, orderType, time, tag, serialNumber, channel);
}

void DtInteractionTsoMsg::set(unsigned long classHandle, const RTI::ParameterHandleValuePairSet& params,
                              unsigned long orderType, const RTI::FedTime& time, const char* tag,
                              unsigned long serialNumber, unsigned long channel) {
  clearParts();
  setHandle(classHandle);
  setOrderType(orderType);
  setSerialNumber(serialNumber);
  setChannel(channel);
  fill(&time, tag, nullptr, &params);
}

int DtInteractionTsoMsg::minSize(const RTI::ParameterHandleValuePairSet* params, const RTI::FedTime*, const char*) {
  return fixedWithList<DtInteractionTsoMsg>(params);
}

void DtInteractionTsoMsg::setHandle(unsigned long classHandle) {
  if (classHandle > 0xFFFF) {
    reportTooLarge("interaction class handle", classHandle, 16);
    return;
  }
  put(DtNetInteractionTsoMsg::classHandle, static_cast<std::uint32_t>(classHandle));
}

void DtInteractionTsoMsg::printData() const {
  printTraffic(nullptr, 0, nullptr, "Class:", static_cast<long>(handle()));
}
