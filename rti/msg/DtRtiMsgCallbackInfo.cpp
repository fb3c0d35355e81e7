#include "msg/DtRtiMsgCallbackInfo.h"

#include "msg/DtRtiMsg.h"

void DtRtiMsgCallbackInfo::call(const DtRtiMsg& msg) const {
  if (!func_) return;
  if (invoke_) {
    invoke_(func_, msg, usr_);
  } else {
    func_(msg, usr_);
  }
}

void DtRtiMsgCallbackInfo::reportWrongClass(const DtRtiMsg& msg) {
  DtNotifyError("Callback for another message class given a message of kind %d; not called\n",
                static_cast<int>(msg.msgKind()));
}
