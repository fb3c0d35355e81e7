#pragma once
// Calls every reading accessor of the message's class (the print form
// already reads every field and part through the layout).
#include "net/DtDeclarationMsgs.h"
#include "net/DtFederationMsgs.h"
#include "net/DtRtiMsg.h"

inline void readAccessors(const DtRtiMsg& msg) {
  if (auto* m = dynamic_cast<const DtPubObjMsg*>(&msg)) (void)m->attrHandles().size();
  if (auto* m = dynamic_cast<const DtSubObjMsg*>(&msg)) (void)m->attrHandles().size();
  if (auto* m = dynamic_cast<const DtCreateMsg*>(&msg)) (void)m->fedFileName();
  if (auto* m = dynamic_cast<const DtJoinResponseMsg*>(&msg)) (void)m->fedFileName();
  if (auto* m = dynamic_cast<const DtJoinMsg*>(&msg)) (void)m->federateName();
  if (auto* m = dynamic_cast<const DtJoinConfirmMsg*>(&msg)) (void)m->federateName();
}
