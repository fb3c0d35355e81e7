// Federation save and restore: the requests and the federate's answers. A
// federate that saves or restores for real answers from its callbacks:
//   on initiateFederateSave save-begun; on initiateFederateSave save-complete
//   on initiateFederateRestore restore-complete
#include <string>
#include <utility>

#include <RTI.hh>
#include <fedtime.hh>

#include "CommandTable.h"
#include "ScriptSession.h"

void AddSaveRestoreCommands(CommandTable& table) {
  table.add("save", "<label> [time]", "requestFederationSave", [](ScriptSession& s, const ScriptArgs& a) {
    if (a.size() > 1) {
      s.rti().requestFederationSave(a.text(0).c_str(), RTIfedTime(a.seconds(1)));
    } else {
      s.rti().requestFederationSave(a.text(0).c_str());
    }
    return std::string();
  });
  table.add("restore", "<label>", "requestFederationRestore", [](ScriptSession& s, const ScriptArgs& a) {
    s.rti().requestFederationRestore(a.text(0).c_str());
    return std::string();
  });
  using Answer = void (RTI::RTIambassador::*)();
  const std::pair<const char*, Answer> answers[] = {
      {"save-begun", &RTI::RTIambassador::federateSaveBegun},
      {"save-complete", &RTI::RTIambassador::federateSaveComplete},
      {"save-not-complete", &RTI::RTIambassador::federateSaveNotComplete},
      {"restore-complete", &RTI::RTIambassador::federateRestoreComplete},
      {"restore-not-complete", &RTI::RTIambassador::federateRestoreNotComplete},
  };
  for (const auto& [verb, answer] : answers) {
    table.add(verb, "", "the federate's save or restore answer",
              [answer = answer](ScriptSession& s, const ScriptArgs&) {
                (s.rti().*answer)();
                return std::string();
              });
  }
}
