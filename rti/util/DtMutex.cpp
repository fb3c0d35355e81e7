#include "util/DtMutex.h"

DtMutex::~DtMutex() = default;

void DtMutex::lock() { mutex_.lock(); }

void DtMutex::unlock() { mutex_.unlock(); }
