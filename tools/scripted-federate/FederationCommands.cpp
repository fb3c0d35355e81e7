// Federation management, synchronization points and the script's own control
// commands.
#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>

#include <RTI.hh>
#include <fedtime.hh>

#include "CommandTable.h"
#include "ScriptSession.h"

namespace {

RTI::ResignAction resignAction(const std::string& word) {
  if (word == "release") return RTI::RELEASE_ATTRIBUTES;
  if (word == "delete") return RTI::DELETE_OBJECTS;
  if (word == "delete-and-release") return RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES;
  if (word == "none") return RTI::NO_ACTION;
  // Any other number goes to the RTI as it is, so that refusals can be seen.
  return static_cast<RTI::ResignAction>(ScriptArgs({word}).number(0));
}

void addControl(CommandTable& table) {
  table.add("tick", "[seconds]", "one tick(), or ticks for that long", [](ScriptSession& s, const ScriptArgs& a) {
    if (a.size() == 0) {
      s.rti().tick();
    } else {
      s.tickFor(a.seconds(0));
    }
    return std::string();
  });
  table.add("wait", "<callback> [seconds]",
            "ticks until a callback of that name comes that no earlier wait took (default 5 s)",
            [](ScriptSession& s, const ScriptArgs& a) {
              const double seconds = a.secondsOr(1, 5.0);
              if (!s.waitFor(a.text(0), seconds)) {
                throw std::runtime_error("no " + a.text(0) + " within " + a.textOr(1, "5") + " s");
              }
              return a.text(0);
            });
  table.add("wait-sentinel", "<tag> [seconds]",
            "ticks until a sentinel interaction of that tag comes (default 5 s); see sentinel-class",
            [](ScriptSession& s, const ScriptArgs& a) {
              if (!s.waitForSentinel(a.text(0), a.secondsOr(1, 5.0))) {
                throw std::runtime_error("no sentinel " + a.text(0) + " within " + a.textOr(1, "5") + " s");
              }
              return a.text(0);
            });
  table.add("background-tick", "<on|off>", "whether it ticks while it waits for its next command on its input",
            [](ScriptSession& s, const ScriptArgs& a) {
              const std::string& how = a.text(0);
              if (how != "on" && how != "off") throw UsageError("neither on nor off: " + how);
              s.setBackgroundTick(how == "on");
              return how;
            });
  table.add("sleep", "<seconds>", "waits without ticking", [](ScriptSession&, const ScriptArgs& a) {
    std::this_thread::sleep_for(std::chrono::duration<double>(a.seconds(0)));
    return std::string();
  });
  table.add("echo", "[words...]", "prints the words (a marker for the reader)",
            [](ScriptSession&, const ScriptArgs& a) { return a.rest(0); });
  table.add("on", "<callback> <command...>", "runs the command inside every later such callback",
            [](ScriptSession& s, const ScriptArgs& a) {
              std::vector<std::string> command;
              for (std::size_t i = 1; i < a.size(); ++i) command.push_back(a.text(i));
              if (command.empty()) throw UsageError("missing command");
              s.react(a.text(0), std::move(command));
              return a.text(0);
            });
  table.add("off", "<callback>", "stops the reaction to that callback", [](ScriptSession& s, const ScriptArgs& a) {
    s.react(a.text(0), {});
    return a.text(0);
  });
}

void addFederation(CommandTable& table) {
  table.add("create", "<execution> <fed-file>", "createFederationExecution", [](ScriptSession& s, const ScriptArgs& a) {
    s.rti().createFederationExecution(a.text(0).c_str(), a.text(1).c_str());
    return std::string();
  });
  table.add("destroy", "<execution>", "destroyFederationExecution", [](ScriptSession& s, const ScriptArgs& a) {
    s.rti().destroyFederationExecution(a.text(0).c_str());
    return std::string();
  });
  table.add("join", "<execution> <federate>", "joinFederationExecution; prints the handle",
            [](ScriptSession& s, const ScriptArgs& a) {
              const RTI::FederateHandle handle =
                  s.rti().joinFederationExecution(a.text(1).c_str(), a.text(0).c_str(), &s.fedAmb());
              s.remember("self", handle);
              s.joined();
              return std::to_string(handle);
            });
  table.add("resign", "<release|delete|delete-and-release|none|number>", "resignFederationExecution",
            [](ScriptSession& s, const ScriptArgs& a) {
              s.rti().resignFederationExecution(resignAction(a.text(0)));
              return std::string();
            });
}

void addSync(CommandTable& table) {
  table.add("register-sync", "<label> [tag [federate...]]",
            "registerFederationSynchronizationPoint (with federate handles: for those federates alone)",
            [](ScriptSession& s, const ScriptArgs& a) {
              if (a.size() <= 2) {
                s.rti().registerFederationSynchronizationPoint(a.text(0).c_str(), a.textOr(1, "").c_str());
                return std::string();
              }
              std::unique_ptr<RTI::FederateHandleSet> federates(
                  RTI::FederateHandleSetFactory::create(static_cast<RTI::ULong>(a.size() - 2)));
              for (std::size_t i = 2; i < a.size(); ++i) federates->add(a.number(i));
              s.rti().registerFederationSynchronizationPoint(a.text(0).c_str(), a.text(1).c_str(), *federates);
              return std::string();
            });
  table.add("achieve-sync", "<label>", "synchronizationPointAchieved", [](ScriptSession& s, const ScriptArgs& a) {
    s.rti().synchronizationPointAchieved(a.text(0).c_str());
    return std::string();
  });
}

}  // namespace

void AddFederationCommands(CommandTable& table) {
  addControl(table);
  addFederation(table);
  addSync(table);
}
