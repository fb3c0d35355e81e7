#pragma once
// DtNotifyHandler receives every message that the report functions print.
// The default one writes it to the outputs (DtPrintOutput); a derived handler
// overrides notify() to see each message as well, for example to show it in
// a window. Install one with DtSetNotifyHandler.

#include <cstdio>

class DtNotifyHandler {
public:
  DtNotifyHandler() = default;
  DtNotifyHandler(const DtNotifyHandler&) = delete;
  DtNotifyHandler& operator=(const DtNotifyHandler&) = delete;
  virtual ~DtNotifyHandler();

  // Writes the text through DtPrintOutput to the stream, then calls notify.
  virtual void print(std::FILE* stream, const char* text, int flag);
  // flag is 1 for levelled messages and 0 for the pieces of a fatal report.
  virtual void notify(const char* text, int flag);
};
