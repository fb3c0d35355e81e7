#pragma once
// The scripted federate's state: its ambassadors, where its lines go, the
// callbacks seen so far, the reactions to callbacks, and names the script
// gave to handles. Commands reach the RTI through it; everything runs on the
// one thread of the program.

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <RTI.hh>

#include "CommandTable.h"
#include "OutputLine.h"

class PrintingFedAmb;

class ScriptSession {
public:
  // Makes the RTI ambassador (an RTI exception escapes).
  ScriptSession(const CommandTable& table, std::FILE* out);
  ~ScriptSession();
  ScriptSession(const ScriptSession&) = delete;
  ScriptSession& operator=(const ScriptSession&) = delete;

  RTI::RTIambassador& rti() { return *rti_; }
  RTI::FederateAmbassador& fedAmb();

  // Runs one command (verb and words) and prints "ok <verb>[ <result>]" or
  // "error <verb> <exception or usage> <reason>".
  void run(const std::vector<std::string>& command);
  void emit(const OutputLine& line);
  bool anyError() const { return errors_ > 0; }

  // From the federate ambassador, after it printed the callback's line: the
  // count for wait, then the reaction filed for the callback, if any.
  void callbackSeen(const std::string& name);
  // Ticks until a callback of the name comes that no earlier wait took;
  // false after `seconds`.
  bool waitFor(const std::string& name, double seconds);
  // Ticks for that long (at least one tick).
  void tickFor(double seconds);
  // A command to run inside every later callback of the name; an empty one
  // removes it.
  void react(const std::string& callback, std::vector<std::string> command);

  // Names the script gives to handles (objects, classes, ...): a word that
  // is a remembered name gives its handle, a number gives itself.
  void remember(const std::string& name, unsigned long handle);
  unsigned long handle(const std::string& nameOrNumber) const;

private:
  const CommandTable& table_;
  std::FILE* out_;
  std::unique_ptr<RTI::RTIambassador> rti_;
  std::unique_ptr<PrintingFedAmb> fedAmb_;
  std::map<std::string, unsigned long> seen_;    // callbacks by name
  std::map<std::string, unsigned long> waited_;  // of those, taken by waits
  std::map<std::string, std::vector<std::string>> reactions_;
  std::map<std::string, unsigned long> names_;
  int errors_ = 0;
};
