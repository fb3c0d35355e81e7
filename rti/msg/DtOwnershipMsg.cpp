#include "msg/DtOwnershipMsg.h"

#include "util/DtNotify.h"
#include "util/DtPrintField.h"

namespace {

constexpr const char* theKindNames[] = {
    "DtAcquire",          "DtAcquireIfAvail", "DtCancelAcquire",    "DtCancelNegotiatedDivest",
    "DtNegotiatedDivest", "DtQueryOwner",     "DtUncondDivest",     "DtNotOwned",
    "DtOwnedByRti",       "DtNotifyAcquire",  "DtOwnershipUnavail", "DtConfirmCancelAcquire",
    "DtInformOwner",      "DtGiveToLRC",      "DtResetOwner",       "DtTakenOver"};

}  // namespace

const char* DtOwnerMsgKindName(int kind) {
  constexpr int count = static_cast<int>(sizeof theKindNames / sizeof theKindNames[0]);
  return kind >= 0 && kind < count ? theKindNames[kind] : "";
}

DtOwnershipMsg::DtOwnershipMsg(DtOwnerMsgKind kind, unsigned long objHandle, const RTI::AttributeHandleSet& attrs,
                               unsigned long recipient, const char* tag, DtBufferPlaceHolder* where)
    : DtOwnershipMsg(where) {
  set(kind, objHandle, attrs, recipient, tag);
}

DtOwnershipMsg::DtOwnershipMsg(DtOwnerMsgKind kind, unsigned long objHandle, RTI::AttributeHandle attr,
                               unsigned long recipient, const char* tag, DtBufferPlaceHolder* where)
    : DtOwnershipMsg(where) {
  set(kind, objHandle, attr, recipient, tag);
}

void DtOwnershipMsg::set(DtOwnerMsgKind kind, unsigned long objHandle, RTI::AttributeHandle attr,
                         unsigned long recipient, const char* tag) {
  DtAttributeHandleSet one;
  if (attr < DtAttributeHandleSet::handleLimit) one.add(attr);
  set(kind, objHandle, one, recipient, tag);
  if (attr >= DtAttributeHandleSet::handleLimit) {
    refuse("%s: attribute handle %lu cannot travel (at most %u); no attribute set\n", className(),
           static_cast<unsigned long>(attr), DtAttributeHandleSet::handleLimit - 1);
  }
}

void DtOwnershipMsg::set(DtOwnerMsgKind kind, unsigned long objHandle, const RTI::AttributeHandleSet& attrs,
                         unsigned long recipient, const char* tag) {
  clearRefusal();
  setOwnerMsgKind(kind);
  setObjHandle(objHandle);
  setRecipientFederate(recipient);
  setAttrHandles(attrs);
  setTag(tag);
}

void DtOwnershipMsg::setTag(const char* tag) { setTextPart(0, tag, "tag"); }

void DtOwnershipMsg::printData() const {
  const int kind = ownerMsgKind();
  DtPrintField("OwnershipMsgKind:", DtOwnerMsgKindName(kind), kind);
  DtPrintField("ObjectHandle:", static_cast<long>(objHandle()));
  DtPrintField("ClassHandle:", static_cast<long>(classHandle()));
  DtPrintField("RecipientFed:", static_cast<long>(recipientFederate()));
  const char* text = tag();
  DtPrintField("Tag:", text ? text : "");
  printHandles();
}

int DtOwnershipMsg::checkBody() const { return size() == minSize() + tagFieldSize() ? Valid : BadContent; }
