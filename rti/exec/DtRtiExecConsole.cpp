// The rtiexec's console: quit (confirmed while executions exist), list and
// delete. A command is known by the start of its line, so any line that
// begins with its letter is taken as the one-letter form ("lamp" lists).
// The delete command's arguments follow its first word, whether that is
// "delete" or "d": a federate handle and an optional execution name.
#include <cctype>
#include <cstring>
#include <string>

#include "exec/DtFedExec.h"
#include "exec/DtRtiExec.h"
#include "net/DtRtiExecNetThread.h"
#include "util/DtConsole.h"
#include "util/DtNotify.h"

namespace {

bool startsWith(const char* line, const char* word) { return std::strncmp(line, word, std::strlen(word)) == 0; }

bool isBlank(char c) { return c == ' ' || c == '\t'; }

const char* skipBlanks(const char* p) {
  while (isBlank(*p)) ++p;
  return p;
}

struct DeleteArguments {
  unsigned long handle = 0;
  std::string name;  // empty: every execution
};

DeleteArguments parseDelete(const char* line) {
  DeleteArguments args;
  const char* p = line;
  while (*p && !isBlank(*p) && *p != '\r' && *p != '\n') ++p;  // the command word
  p = skipBlanks(p);
  while (std::isdigit(static_cast<unsigned char>(*p))) {
    // A handle too large for any federate stays too large, without wrapping.
    if (args.handle < 0xFFFFFFFFul) args.handle = args.handle * 10 + static_cast<unsigned long>(*p - '0');
    if (args.handle > 0xFFFFFFFFul) args.handle = 0xFFFFFFFFul;
    ++p;
  }
  p = skipBlanks(p);
  const char* end = p;
  while (*end && *end != '\r' && *end != '\n') ++end;
  while (end > p && isBlank(end[-1])) --end;
  args.name.assign(p, end);
  return args;
}

const char* const optionsText =
    "\nListing options:\n  quit(q) = quit\n  list(l) = list all federates\n"
    "  delete(d) <handle> <name> = delete federate by handle\n\n";

}  // namespace

int DtRtiExec::keybrdTick() {
  const char* line = DtGetInputLine();
  if (!line) return 0;
  const int result = processCommand(line);
  if (netThread_) netThread_->flush();
  return result;
}

int DtRtiExec::processCommand(const char* line) {
  if (!line) return 0;
  if (quitPending_) {
    if (startsWith(line, "y")) return -1;  // "yes" or "y"
    if (startsWith(line, "n")) {           // "no" or "n"
      quitPending_ = false;
      DtNotifyInfo("\nQuit canceled!\n");
      return 0;
    }
    DtNotifyInfo("Quit must be confirmed:\n  yes(y) = confirm\n  no(n) = cancel\n");
    return 0;
  }
  if (startsWith(line, "q")) return processQuit();
  if (startsWith(line, "l")) {
    listExecutions();
    return 0;
  }
  if (startsWith(line, "d")) {
    deleteCommand(line);
    return 0;
  }
  DtNotifyInfo("\nUnrecognized command: %s\n", line);
  DtNotifyInfo("%s", optionsText);
  return 0;
}

int DtRtiExec::processQuit() {
  quitPending_ = true;
  DtNotifyInfo("\nAttempting to quit. Checking for active federations.\n\n");
  if (executions_.empty()) return -1;
  bool federatesJoined = false;
  for (const auto& execution : executions_) {
    DtNotifyInfo("Federation %s is still active.\n", execution->fedExName().string());
    if (execution->numFederates() > 0) {
      federatesJoined = true;
      execution->printFederates();
    }
  }
  if (federatesJoined) {
    DtNotifyInfo("\nQuiting RTI Executive while federates are still joined\n is known to cause abnormal behavior!\n");
  }
  DtNotifyInfo("Proceed with quit anyway?\n  yes(y) = continue with quit\n  no(n) = cancel quit\n");
  return 1;
}

void DtRtiExec::listExecutions() const {
  DtNotifyInfo("\n");
  if (executions_.empty()) {
    DtNotifyInfo("No federation execution exists!\n");
    return;
  }
  for (const auto& execution : executions_) {
    if (execution->numFederates() == 0) {
      DtNotifyInfo("No federates are currently joined to %s\n", execution->fedExName().string());
    } else {
      DtNotifyInfo("Federates for %s:\n", execution->fedExName().string());
      execution->printFederates();
    }
  }
}

void DtRtiExec::deleteCommand(const char* line) {
  const DeleteArguments args = parseDelete(line);
  DtNotifyInfo("\n");
  if (executions_.empty()) {
    DtNotifyInfo("No federation execution exists!\n");
    return;
  }
  if (args.handle == 0) {
    DtNotifyInfo("No handle given\n");
    return;
  }
  const DtString name(args.name.c_str());
  if (!args.name.empty() && !exists(name)) {
    DtNotifyInfo("Federation execution %s does not exist!\n", args.name.c_str());
    return;
  }
  bool found = false;
  for (DtFedExec* execution : executionList()) {
    if (!args.name.empty() && !(execution->fedExName() == name)) continue;
    if (execution->getFederate(args.handle)) {
      found = true;
      execution->resignFederate(args.handle, RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES,
                                "the rtiexec's operator resigned this federate (delete command)",
                                DtRtiExec::deleteGraceSeconds);
    }
  }
  if (!found) DtNotifyInfo("No federate has handle %lu\n", args.handle);
}
