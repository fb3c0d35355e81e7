#include "msg/DtObjectMsgs.h"

#include "util/DtNotify.h"

DtRequestMsg::DtRequestMsg(DtRequestType type, unsigned long idOrClass, const RTI::AttributeHandleSet& attrs,
                           unsigned long regionSet, DtBufferPlaceHolder* where)
    : DtRequestMsg(where) {
  set(type, idOrClass, attrs, regionSet);
}

void DtRequestMsg::set(DtRequestType type, unsigned long idOrClass, const RTI::AttributeHandleSet& attrs,
                       unsigned long regionSet) {
  setRequestType(type);
  if (type == DtRequestById) {
    setId(idOrClass);
  } else {
    setObjectClassHandle(idOrClass);
  }
  setRegionSet(regionSet);
  setAttrHandles(attrs);
}

void DtRequestMsg::setObjectClassHandle(unsigned long handle) {
  if (requestType() == DtRequestByClass) putChecked(DtNetRequestMsg::idOrClass, handle, "object class handle");
}

unsigned long DtRequestMsg::objectClassHandle() const {
  return requestType() == DtRequestByClass ? get(DtNetRequestMsg::idOrClass) : 0;
}

void DtRequestMsg::setId(unsigned long id) {
  if (requestType() == DtRequestById) putChecked(DtNetRequestMsg::idOrClass, id, "object handle");
}

unsigned long DtRequestMsg::id() const { return requestType() == DtRequestById ? get(DtNetRequestMsg::idOrClass) : 0; }

void DtRequestMsg::printData() const {
  if (requestType() == DtRequestByClass) {
    DtNotifyInfo("%-20s %s\n", "RequestKind:", "DtRequestByClass");
    DtNotifyInfo("%-20s %ld\n", "Class:", static_cast<long>(objectClassHandle()));
    DtNotifyInfo("%-20s %lu\n", "RegionSet:", regionSet());
  } else {
    DtNotifyInfo("%-20s %s\n", "RequestKind:", "DtRequestById");
    DtNotifyInfo("%-20s %ld\n", "Id:", static_cast<long>(id()));
  }
  printHandles();
}

DtRegObjMsg::DtRegObjMsg(unsigned long objHandle, const char* objName, unsigned long classHandle,
                         const RTI::AttributeHandleSet& attrs, DtBufferPlaceHolder* where)
    : DtRegObjMsg(where) {
  set(objHandle, objName, classHandle, attrs);
}

void DtRegObjMsg::set(unsigned long objHandle, const char* objName, unsigned long classHandle,
                      const RTI::AttributeHandleSet& attrs) {
  setClassHandle(classHandle);
  setObjHandle(objHandle);
  setObjName(objName);
  setAttrHandles(attrs);
}

const char* DtRegObjMsg::objName() const {
  const char* name = textPart(0);
  return name ? name : "";
}

void DtRegObjMsg::printData() const {
  const auto& fields = DtNetRegObjMsg::fields;
  printField(fields[0]);
  printPart(0);
  printField(fields[1]);
  printHandles();
}

void DtDeleteTsoMsg::printData() const {
  printField(DtNetDeleteTsoMsg::fields[0]);
  printPart(1);
  DtNotifyInfo("%-20s %ld\n", "Serial Number:", static_cast<long>(serialNumber()));
  printPart(0);
}
