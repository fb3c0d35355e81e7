#include "util/DtNotify.h"

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "port/DtTerminal.h"
#include "util/DtFormattedText.h"
#include "util/DtNotifyHandler.h"
#include "util/DtString.h"

int DtNotifyLevel = 2;

namespace {

// The output state. Created on first use and never destroyed, so that
// reports made while the process exits still find it.
struct Outputs {
  std::recursive_mutex lock;  // recursive: a handler may report from notify()
  std::FILE* logFile = nullptr;
  bool consoleHeld = false;
  bool copyToStream = true;
  DtNotifyHandler* handler = new DtNotifyHandler;
  std::atomic<DtExitFunction> exitFunction{nullptr};
};

Outputs& outputs() {
  static Outputs* const state = new Outputs;
  return *state;
}

bool levelAtLeast(int level) { return DtGetNotifyLevel() >= level; }

void handlerPrint(const char* text, int flag) {
  Outputs& out = outputs();
  std::lock_guard<std::recursive_mutex> guard(out.lock);
  if (out.handler) out.handler->print(stdout, text, flag);
}

void writeWithCrlf(std::FILE* file, const char* text) {
  const char* start = text;
  for (const char* p = text; *p; ++p) {
    if (*p == '\n' && (p == text || p[-1] != '\r')) {
      std::fwrite(start, 1, static_cast<std::size_t>(p - start), file);
      std::fputs("\r\n", file);
      start = p + 1;
    }
  }
  std::fputs(start, file);
}

void levelled(int level, const char* format, va_list args) {
  if (!levelAtLeast(level)) return;
  DtFormattedText text(format, args);
  handlerPrint(text.text(), 1);
}

// The perror shape: message and ":" (and the socket text), through the
// handler; errno's text straight to the outputs; the newline through the
// handler. errno is taken before anything can change it.
void perrorReport(int level, bool fatal, bool socket, const char* format, va_list args) {
  const int err = errno;
  if (levelAtLeast(level)) {
    DtFormattedText text(format, args);
    DtString message(fatal ? "**FATAL ERROR**: " : "");
    message += text.text();
    message += ":";
    if (socket) message += DtSockErrorStringFor(err);
    const int flag = fatal ? 0 : 1;
    Outputs& out = outputs();
    std::lock_guard<std::recursive_mutex> guard(out.lock);
    handlerPrint(message.string(), flag);
    DtPrintOutput(stdout, std::strerror(err));
    handlerPrint("\n", flag);
  }
  if (fatal) DtExit();
}

}  // namespace

int DtGetNotifyLevel() { return std::atomic_ref<int>(DtNotifyLevel).load(std::memory_order_relaxed); }

void DtSetNotifyLevel(int level) { std::atomic_ref<int>(DtNotifyLevel).store(level, std::memory_order_relaxed); }

#define DT_LEVELLED(name, level)       \
  void name(const char* format, ...) { \
    va_list args;                      \
    va_start(args, format);            \
    levelled(level, format, args);     \
    va_end(args);                      \
  }

DT_LEVELLED(DtNotifyError, 1)
DT_LEVELLED(DtNotifyInfo, 2)
DT_LEVELLED(DtNotifyVerbose, 3)
DT_LEVELLED(DtNotifyDebug, 4)
#undef DT_LEVELLED

#define DT_PERROR(name, level, fatal, socket)         \
  void name(const char* format, ...) {                \
    va_list args;                                     \
    va_start(args, format);                           \
    perrorReport(level, fatal, socket, format, args); \
    va_end(args);                                     \
  }

DT_PERROR(DtNotifyPerror, 1, false, false)
DT_PERROR(DtNotifySockPerror, 1, false, true)
DT_PERROR(DtNotifyFatalPerror, 0, true, false)
DT_PERROR(DtNotifyFatalSockPerror, 0, true, true)
#undef DT_PERROR

void DtNotifyFatal(const char* format, ...) {
  if (levelAtLeast(0)) {
    va_list args;
    va_start(args, format);
    DtFormattedText text(format, args);
    va_end(args);
    DtString message("**FATAL ERROR**: ");
    message += text.text();
    message += "\n";
    handlerPrint(message.string(), 0);
  }
  DtExit();
}

void DtPrintOutput(std::FILE* stream, const char* text) {
  if (!text) return;
  Outputs& out = outputs();
  std::lock_guard<std::recursive_mutex> guard(out.lock);
  if (out.logFile) {
    writeWithCrlf(out.logFile, text);
    std::fflush(out.logFile);
  }
  if (out.consoleHeld) {
    std::fputs(text, stderr);
    std::fflush(stderr);
  }
  if (out.copyToStream && stream) {
    std::fputs(text, stream);
    std::fflush(stream);
  }
}

void DtOpenLogOutput(const char* path, int consoleFlag, int copyFlag) {
  Outputs& out = outputs();
  std::lock_guard<std::recursive_mutex> guard(out.lock);
  if (out.logFile) {
    std::fclose(out.logFile);
    out.logFile = nullptr;
  }
  if (path) out.logFile = std::fopen(path, "w");
  if (consoleFlag) out.consoleHeld = true;
  out.copyToStream = copyFlag != 0 && !(out.consoleHeld && DtIsTerminal(stdout));
}

void DtCloseConsole() {
  Outputs& out = outputs();
  std::lock_guard<std::recursive_mutex> guard(out.lock);
  out.consoleHeld = false;
}

void DtSetNotifyHandler(DtNotifyHandler* handler) {
  Outputs& out = outputs();
  std::lock_guard<std::recursive_mutex> guard(out.lock);
  if (handler == out.handler) return;
  delete out.handler;
  out.handler = handler;
}

void DtSetExitFunction(DtExitFunction function) { outputs().exitFunction.store(function); }

DtExitFunction DtGetExitFunction() { return outputs().exitFunction.load(); }

void DtExit() {
  if (DtExitFunction function = DtGetExitFunction()) {
    function();
    return;
  }
  std::exit(-1);
}
