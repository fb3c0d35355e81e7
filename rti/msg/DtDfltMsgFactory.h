#pragma once
// DtDfltMsgFactory: the factory with every message class of the library
// registered under its kind (send creator first, then receive creator).
// Kinds 23, 24, 48 and 49 get the classes of 0, 1, 45 and 46; kinds 42 to
// 44 stay empty.

#include "msg/DtRtiMsgFactory.h"

class DtDfltMsgFactory : public DtRtiMsgFactory {
public:
  DtDfltMsgFactory();
};
