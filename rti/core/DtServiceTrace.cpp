#include "core/DtServiceTrace.h"

#include "api/DtAttrValueSet.h"
#include "api/DtAttributeHandleSet.h"
#include "api/DtParamValueSet.h"
#include "ddm/DtRegion.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtInteractionClassInfo.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtObjectMgr.h"
#include "objects/DtSpaceInfo.h"
#include "util/DtNotify.h"

bool DtServiceTrace::on() { return DtGetNotifyLevel() >= 3; }

const char* DtServiceTrace::text(const char* text) { return text ? text : "(null)"; }

const char* DtServiceTrace::className(const DtFomClassMgr* fom, RTI::ObjectClassHandle handle) {
  const DtObjectClassInfo* info = fom ? fom->classByHandle(handle) : nullptr;
  return info ? info->name() : "ObjectClassNotDefined";
}

const char* DtServiceTrace::interactionName(const DtFomClassMgr* fom, RTI::InteractionClassHandle handle) {
  const DtInteractionClassInfo* info = fom ? fom->interactionByHandle(handle) : nullptr;
  return info ? info->name() : "InteractionClassNotDefined";
}

const char* DtServiceTrace::spaceName(const DtFomClassMgr* fom, RTI::SpaceHandle handle) {
  const DtSpaceInfo* info = fom ? fom->spaceByHandle(handle) : nullptr;
  return info ? info->name() : "SpaceNotDefined";
}

const char* DtServiceTrace::attributeName(const DtFomClassMgr* fom, DtObjectMgr* objMgr, RTI::ObjectHandle object,
                                          RTI::AttributeHandle attribute) {
  if (!fom || !objMgr) return "AttributeNotDefined";
  try {
    const DtObjectClassInfo* info = fom->classByHandle(objMgr->objectClass(object));
    const DtAttrInfo* attr = info ? info->attrByHandle(attribute) : nullptr;
    if (attr) return attr->name();
  } catch (RTI::Exception&) {
    // An unknown object: the service itself will say so.
  }
  return "AttributeNotDefined";
}

RTI::ULong DtServiceTrace::regionHandle(const RTI::Region& region) {
  const auto* ours = dynamic_cast<const DtRegion*>(&region);
  return ours ? ours->handle() : 0;
}

void DtServiceTrace::print(const RTI::AttributeHandleSet& set) {
  if (const auto* ours = dynamic_cast<const DtAttributeHandleSet*>(&set)) {
    ours->print();
    return;
  }
  // A federate's own set class: printed through a copy in the library's.
  DtAttributeHandleSet copy;
  try {
    for (RTI::ULong i = 0; i < set.size(); ++i) copy.add(set.getHandle(i));
  } catch (RTI::Exception&) {
    // A handle the library's set refuses is left out of the trace.
  }
  copy.print();
}

void DtServiceTrace::print(const RTI::AttributeHandleValuePairSet& set) {
  if (const auto* ours = dynamic_cast<const DtAttrValueSet*>(&set)) {
    ours->print();
  } else {
    DtNotifyInfo("NumValues: %lu\n", set.size());
  }
}

void DtServiceTrace::print(const RTI::ParameterHandleValuePairSet& set) {
  if (const auto* ours = dynamic_cast<const DtParamValueSet*>(&set)) {
    ours->print();
  } else {
    DtNotifyInfo("NumValues: %lu\n", set.size());
  }
}

DtServiceTrace::TimeText::TimeText(const RTI::FedTime& time) {
  const int length = time.getPrintableLength();
  if (length < 0) return;
  text_.reset(new char[static_cast<std::size_t>(length) + 1]());
  // Printing does not change the time; the API's operation is not const.
  const_cast<RTI::FedTime&>(time).getPrintableString(text_.get());
  text_[static_cast<std::size_t>(length)] = '\0';
}

void DtServiceTrace::append(std::string& line, const char* text) { line += DtServiceTrace::text(text); }

void DtServiceTrace::appendNumber(std::string& line, unsigned long number) { line += std::to_string(number); }

void DtServiceTrace::printLine(const std::string& line) { DtNotifyVerbose("%s\n", line.c_str()); }
