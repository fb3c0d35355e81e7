#include "msg/DtNetNumber.h"

std::atomic<int> DtNetOrder::theByteOrder{1};

void DtSetNetByteOrder(int order) { DtNetOrder::theByteOrder.store(order, std::memory_order_relaxed); }
