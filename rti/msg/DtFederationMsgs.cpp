#include "msg/DtFederationMsgs.h"

#include <algorithm>
#include <cstring>

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

std::vector<char> DtDisconnectMsg::farewell(unsigned long connectionHandle, const std::string& reason) {
  DtDisconnectMsg msg;
  msg.setFederateHandle(0);
  msg.setFedEx(0);
  msg.setConnectionHandle(connectionHandle);
  std::vector<char> bytes(msg.data(), msg.data() + msg.size());
  // The whole frame, with its zero, fits the header's 16-bit length.
  const std::size_t room = 0xFFFFu - bytes.size() - 1;
  bytes.insert(bytes.end(), reason.begin(),
               reason.begin() + static_cast<std::ptrdiff_t>(std::min(room, reason.size())));
  bytes.push_back('\0');
  DtNetMsgHeader::at(bytes.data())->setLength(static_cast<std::uint16_t>(bytes.size()));
  return bytes;
}

std::string DtDisconnectMsg::reason() const {
  constexpr int fixed = DtNetConnectMsg::layout.fixedSize;
  if (size() <= fixed) return {};
  const char* text = data() + fixed;
  return std::string(text, strnlen(text, static_cast<std::size_t>(size() - fixed)));
}
