#include "msg/DtRtiMsgKind.h"

const char* DtRtiMsgKinds::name(int kind) {
  for (const Entry& e : table)
    if (e.number == kind) return e.name;
  return "UnknownMsgKind";
}
