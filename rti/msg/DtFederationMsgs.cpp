#include "msg/DtFederationMsgs.h"

#include <string>

#include "util/DtNotify.h"

DtCreateMsg::DtCreateMsg(const char* fullFedExName, const DtString& fedFileName, DtBufferPlaceHolder* where)
    : DtCreateMsg(where) {
  set(fullFedExName, fedFileName);
}

void DtCreateMsg::set(const char* fullFedExName, const DtString& fedFileName) {
  setFullFedExName(fullFedExName);
  setFedFileName(fedFileName);
}

const char* DtCreateMsg::fedFileName() const {
  const char* name = textPart(0);
  return name ? name : "";
}

DtJoinResponseMsg::DtJoinResponseMsg(unsigned long destinationID, const char* federateName,
                                     unsigned short fedexHandleToUse, const char* fullFedExName,
                                     const DtString& fedFileName, unsigned long federateHandleToUse, int errorValue,
                                     DtBufferPlaceHolder* where)
    : DtJoinResponseMsg(where) {
  set(destinationID, federateName, fedexHandleToUse, fullFedExName, fedFileName, federateHandleToUse);
  setErrorValue(errorValue);
}

void DtJoinResponseMsg::set(unsigned long destinationID, const char* federateName, unsigned short fedexHandleToUse,
                            const char* fullFedExName, const DtString& fedFileName, unsigned long federateHandleToUse) {
  setDestinationID(destinationID);
  setFederateName(federateName);
  setFedexHandleToUse(fedexHandleToUse);
  setFullFedExName(fullFedExName);
  setFedFileName(fedFileName);
  setFederateHandleToUse(federateHandleToUse);
}

const char* DtJoinResponseMsg::fedFileName() const {
  const char* name = textPart(0);
  return name ? name : "";
}

void DtJoinResponseMsg::printData() const {
  const auto& fields = DtNetJoinResponseMsg::fields;
  for (int i = 0; i < 4; ++i) printField(fields[i]);
  printPart(0);
  printField(fields[4]);
}

namespace {

bool isResignAction(std::uint32_t number) { return number >= 1 && number <= 4; }

}  // namespace

RTI::ResignAction DtResignMsg::resignAction() const {
  const std::uint32_t number = resignActionNumber();
  return isResignAction(number) ? static_cast<RTI::ResignAction>(number) : RTI::NO_ACTION;
}

int DtResignMsg::checkBody() const { return isResignAction(resignActionNumber()) ? Valid : BadContent; }

std::string DtResignMsg::statusText(int status) const {
  if (status != BadContent) return DtRtiMsg::statusText(status);
  return "resign action " + std::to_string(resignActionNumber()) + " is none of 1 to 4";
}

void DtResignMsg::printData() const {
  static const char* const names[] = {"", "RELEASE_ATTRIBUTES", "DELETE_OBJECTS",
                                      "DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES", "NO_ACTION"};
  const std::uint32_t action = resignActionNumber();
  DtNotifyInfo("%-20s %s   (%d)\n", "ResignAction:", isResignAction(action) ? names[action] : "",
               static_cast<int>(action));
}
