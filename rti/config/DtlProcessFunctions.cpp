// Built-ins that reach the process: its environment, commands, its end.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <string>

#include "config/DtlArgs.h"
#include "config/DtlBuiltins.h"

DtlObjPtr DtlExit(const DtlObjPtr& args, const DtlObjPtr&) {
  if (DtcCheckArgs(args, 0, 1, "Wrong number of args to exit") == 0) std::exit(0);
  const DtlObjPtr& status = car(args);
  if (DtcIs(status, DtlIntegerTag)) std::exit(status->intValue());
  if (!DtcIs(status, DtlFloatTag)) DtlError("Non-number to exit");
  // Toward zero; beyond the range of an int the status saturates.
  const double truncated = std::trunc(status->floatValue());
  if (std::isnan(truncated)) std::exit(0);
  if (truncated <= std::numeric_limits<int>::min()) std::exit(std::numeric_limits<int>::min());
  if (truncated >= std::numeric_limits<int>::max()) std::exit(std::numeric_limits<int>::max());
  std::exit(static_cast<int>(truncated));
}

DtlObjPtr DtlAbort(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 0, 0, "Wrong number of args to abort");
  std::abort();
}

DtlObjPtr DtlGetenv(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 1, 1, "Wrong number of args to getenv");
  const char* value = std::getenv(DtcExpectString(car(args), "Non-string argument to getenv"));
  return value ? DtcMakeString(value) : DtlNil();
}

DtlObjPtr DtlPutenv(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 2, 2, "Wrong number of args to putenv");
  const char* name = DtcExpectString(car(args), "variable name must be string");
  const DtlObjPtr& value = DtcNth(args, 2);
  // setenv keeps its own copy: nothing to leak, nothing to keep alive.
  if (setenv(name, DtcExpectString(value, "variable value must be string"), 1) != 0) return DtlNil();
  return value;
}

DtlObjPtr DtlSystem(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 1, 1, "Wrong number of args to system");
  const int status = std::system(DtcExpectString(car(args), "Non-string argument to system"));
  return DtcMakeInteger(status >> 8);
}

DtlObjPtr DtlPopen(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 1, 1, "Wrong number of args to popen");
  const char* command = DtcExpectString(car(args), "Non-string argument to popen");
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> pipe(popen(command, "r"), pclose);
  if (!pipe) DtlError("Lisp Error: Popen failed");
  // One string per line of the output, without its newline and cut to
  // its first 199 characters.
  constexpr std::size_t MaxLine = 199;
  DtlObjPtr lines = DtlNil();
  DtlObj* tail = nullptr;
  std::string line;
  bool pending = false;
  const auto endLine = [&] {
    DtlObjPtr cell = cons(DtcMakeString(line.c_str()), DtlNil());
    if (tail)
      tail->setSecond(cell);
    else
      lines = cell;
    tail = cell.get();
    line.clear();
    pending = false;
  };
  for (int ch = std::fgetc(pipe.get()); ch != EOF; ch = std::fgetc(pipe.get())) {
    if (ch == '\n') {
      endLine();
      continue;
    }
    pending = true;
    if (line.size() < MaxLine) line.push_back(static_cast<char>(ch));
  }
  if (pending) endLine();
  return lines;
}
