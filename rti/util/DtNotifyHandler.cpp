#include "util/DtNotifyHandler.h"

#include "util/DtNotify.h"

DtNotifyHandler::~DtNotifyHandler() = default;

void DtNotifyHandler::print(std::FILE* stream, const char* text, int flag) {
  DtPrintOutput(stream, text);
  notify(text, flag);
}

void DtNotifyHandler::notify(const char*, int) {}
