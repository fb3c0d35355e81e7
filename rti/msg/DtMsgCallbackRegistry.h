#pragma once
// DtMsgCallbackRegistry: where the callbacks of a message kind are filed
// (by DtMsgRegistration and the message classes' addCallback and
// removeCallback). The connection manager
// is one: it keeps a normal registry and the management object model's, and
// dispatches each received message to the callbacks of its kind.

#include "msg/DtRtiMsgCallbackInfo.h"
#include "msg/DtRtiMsgKind.h"

class DtMsgCallbackRegistry {
public:
  // Files a copy of the registration under the kind, in the management
  // object model's registry when `mom` is not 0, else in the normal one.
  virtual void addMsgCallback(DtRtiMsgKind kind, const DtRtiMsgCallbackInfo& record, char mom) = 0;
  // Removes every registration of the kind that matches the record.
  virtual void removeMsgCallback(DtRtiMsgKind kind, const DtRtiMsgCallbackInfo& record, char mom) = 0;

protected:
  DtMsgCallbackRegistry() = default;
  DtMsgCallbackRegistry(const DtMsgCallbackRegistry&) = default;
  DtMsgCallbackRegistry& operator=(const DtMsgCallbackRegistry&) = default;
  ~DtMsgCallbackRegistry() = default;
};
