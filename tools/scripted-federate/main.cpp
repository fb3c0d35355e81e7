// scripted-federate: a federate that runs a list of commands and prints each
// callback on a line. The multi-process tests and benchmarks of the RTI start
// it as the other federate(s) of a federation.
//
//   scripted-federate "create X x.fed; join X F1; tick 2; resign delete-and-release; destroy X"
//   scripted-federate -          (commands from standard input, a line at a time)
//   scripted-federate --help     (the commands)
//
// Standard output carries only its own lines, flushed as they are written:
//   callback <name> <arguments...>   each callback of the RTI
//   ok <command> [result]            a command that succeeded
//   error <command> <exception> "<reason>"   one that threw (or "usage", "failure")
//   done                             the end of the script
// The RTI's own diagnostics go to standard error. The RTI is configured as
// for any federate (RTI_RID_FILE, RTI_CONFIG). The exit status is 0 when every
// command succeeded, 1 when one failed, 2 when the ambassador cannot be made.
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

#include <RTI.hh>

#include "CommandInput.h"
#include "CommandTable.h"
#include "ScriptSession.h"

namespace {

void runScript(ScriptSession& session, const std::string& script) {
  for (const std::vector<std::string>& command : SplitScript(script)) session.run(command);
}

}  // namespace

int main(int argc, char** argv) {
  CommandTable table;
  AddFederationCommands(table);
  AddObjectCommands(table);
  AddInteractionCommands(table);
  AddOwnershipCommands(table);
  AddTimeCommands(table);
  AddSaveRestoreCommands(table);
  AddRegionCommands(table);

  std::string script;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) script += ' ';
    script += argv[i];
  }
  if (script == "--help" || script == "-h") {
    std::cout << "usage: scripted-federate \"<command>; <command>; ...\" | -\ncommands:\n" << table.help();
    return 0;
  }

  // Our lines on a copy of standard output; the library's output on stderr.
  std::FILE* out = fdopen(dup(STDOUT_FILENO), "w");
  if (!out || dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
    std::perror("scripted-federate: standard output");
    return 2;
  }
  std::unique_ptr<ScriptSession> session;
  try {
    session = std::make_unique<ScriptSession>(table, out);
  } catch (const RTI::Exception& e) {
    std::fprintf(out, "error ambassador %s \"%s\"\n", e._name ? e._name : "RTI::Exception", e._reason ? e._reason : "");
    std::fclose(out);
    return 2;
  }

  if (script.empty() || script == "-") {
    // Between commands it ticks only when a command asked it to.
    CommandInput input(STDIN_FILENO);
    std::string line;
    for (;;) {
      const CommandInput::Next next = input.next(line, session->backgroundTick() ? 0 : -1);
      if (next == CommandInput::Next::End) break;
      if (next == CommandInput::Next::Line) {
        runScript(*session, line);
      } else {
        session->tickBriefly();
      }
    }
  } else {
    runScript(*session, script);
  }
  session->emit(OutputLine("done", ""));
  const bool failed = session->anyError();
  session.reset();
  std::fclose(out);
  return failed ? 1 : 0;
}
