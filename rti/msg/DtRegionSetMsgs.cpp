#include "msg/DtRegionSetMsgs.h"

#include "util/DtIpv4Address.h"
#include "util/DtNotify.h"

DtObjRegSetMsg::DtObjRegSetMsg(DtObjRegSetType type, unsigned long setHandle, unsigned long address,
                               std::span<const std::uint32_t> regions, DtBufferPlaceHolder* where)
    : DtObjRegSetMsg(where) {
  set(type, setHandle, address, regions);
}

void DtObjRegSetMsg::set(DtObjRegSetType type, unsigned long setHandle, unsigned long address,
                         std::span<const std::uint32_t> regions) {
  setRegionSetType(type);
  setRegionSetHandle(setHandle);
  setAddress(address);
  appendRegions(regions);
}

void DtObjRegSetMsg::printData() const {
  DtPrintField("RegionSetType:", static_cast<unsigned>(regionSetType()));
  DtPrintField("RegionSetHandle:", static_cast<unsigned>(regionSetHandle()));
  DtPrintField("ChannelAddress:", DottedAddress(static_cast<std::uint32_t>(address())).c_str());
  DtPrintField("regionCount:", static_cast<unsigned>(numberRegions()));
  printRegions("    Region:");
}

DtInterRegSetMsg::DtInterRegSetMsg(DtInterRegSetType type, unsigned long setHandle, unsigned long classHandle,
                                   unsigned long address, std::span<const std::uint32_t> regions,
                                   DtBufferPlaceHolder* where)
    : DtInterRegSetMsg(where) {
  set(type, setHandle, classHandle, address, regions);
}

void DtInterRegSetMsg::set(DtInterRegSetType type, unsigned long setHandle, unsigned long classHandle,
                           unsigned long address, std::span<const std::uint32_t> regions) {
  setRegionSetType(type);
  setClassHandle(classHandle);
  setRegionSetHandle(setHandle);
  setAddress(address);
  appendRegions(regions);
}

void DtInterRegSetMsg::printData() const {
  DtPrintField("RegionSetType:", static_cast<unsigned>(regionSetType()));
  DtPrintField("ClassHandle:", static_cast<unsigned>(classHandle()));
  DtPrintField("RegionSetHandle:", static_cast<unsigned>(regionSetHandle()));
  DtPrintField("ChannelAddress:", DottedAddress(static_cast<std::uint32_t>(address())).c_str());
  DtPrintField("RegionCount:", static_cast<unsigned>(numberRegions()));
  printRegions("    Region:");
}

DtAssocPubRegMsg::DtAssocPubRegMsg(unsigned long setHandle, unsigned long objectHandle, const char* objectName,
                                   unsigned long classHandle, char removeAssociation,
                                   const RTI::AttributeHandleSet& attrs, DtBufferPlaceHolder* where)
    : DtAssocPubRegMsg(where) {
  set(setHandle, objectHandle, objectName, classHandle, removeAssociation, attrs);
}

void DtAssocPubRegMsg::set(unsigned long setHandle, unsigned long objectHandle, const char* objectName,
                           unsigned long classHandle, char removeAssociation, const RTI::AttributeHandleSet& attrs) {
  setRegionSetHandle(setHandle);
  setObjectHandle(objectHandle);
  setObjName(objectName);
  setClassHandle(classHandle);
  setRemoveAssociation(removeAssociation);
  setAttrHandles(attrs);
}

const char* DtAssocPubRegMsg::objName() const {
  const char* name = textPart(0);
  return name ? name : "";
}

void DtAssocPubRegMsg::setRemoveAssociation(char remove) {
  put(DtNetAssocPubRegMsg::removeAssociation,
      static_cast<std::uint16_t>(static_cast<std::int16_t>(static_cast<signed char>(remove))));
}

int DtAssocPubRegMsg::checkBody() const {
  const int length = nameFieldSize();
  return length == 0 || namePtr()[length - 1] == '\0' ? Valid : BadContent;
}

DtAssocSubRegMsg::DtAssocSubRegMsg(unsigned long setHandle, unsigned long classHandle,
                                   const RTI::AttributeHandleSet& attrs, DtBufferPlaceHolder* where)
    : DtAssocSubRegMsg(where) {
  set(setHandle, classHandle, attrs);
}

void DtAssocSubRegMsg::set(unsigned long setHandle, unsigned long classHandle, const RTI::AttributeHandleSet& attrs) {
  setRegionSetHandle(setHandle);
  setClassHandle(classHandle);
  setAttrHandles(attrs);
}
