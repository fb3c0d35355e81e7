#include "msg/DtSaveMsgs.h"

#include "util/DtNotify.h"

void DtSaveCompleteMsg::printData() const {
  printPart(0);
  DtNotifyInfo("%-20s %s\n", "Success flag:", successIndicator() ? "Success" : "Fail");
}

void DtRestoreReplyMsg::printData() const {
  static const char* const texts[] = {" Restore Ok", " No Label", " Wrong Configuration", " Restore in Progress"};
  printPart(0);
  const unsigned code = get(DtNetRestoreReplyMsg::reply);
  DtNotifyInfo("%-20s %s\n", "reply:", code < 4 ? texts[code] : " UNKNOWN");
}
