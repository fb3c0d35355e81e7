#pragma once
// The scripted federate's state: its ambassadors, where its lines go, the
// callbacks seen so far, the reactions to callbacks, and names the script
// gave to handles. Commands reach the RTI through it; everything runs on the
// one thread of the program.

#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <set>
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
  // One short tick, as the background tick takes it between commands.
  void tickBriefly();

  // Whether it ticks while it waits for its next command on its input.
  bool backgroundTick() const { return backgroundTick_; }
  void setBackgroundTick(bool on) { backgroundTick_ = on; }

  // The interaction class of the sentinels: interactions that a test sends
  // after what it waits for, on the same path, to know that all of that has
  // come. At every later join the federate publishes and subscribes it; its
  // receptions and advisories print nothing, take no reaction and count for
  // no wait; their tags are kept for waitForSentinel.
  void setSentinelClass(const std::string& name) { sentinelClassName_ = name; }
  // After a join: the sentinel class, if any, published and subscribed.
  void joined();
  bool isSentinel(RTI::InteractionClassHandle theClass) const { return sentinelClass_ && *sentinelClass_ == theClass; }
  void sentinelSeen(const char* tag) { sentinels_.insert(tag ? tag : ""); }
  // Ticks until a sentinel of the tag has come; false after `seconds`.
  bool waitForSentinel(const std::string& tag, double seconds);
  // A command to run inside every later callback of the name; an empty one
  // removes it.
  void react(const std::string& callback, std::vector<std::string> command);

  // Names the script gives to handles (objects, classes, ...): a word that
  // is a remembered name gives its handle, a number gives itself.
  void remember(const std::string& name, unsigned long handle);
  unsigned long handle(const std::string& nameOrNumber) const;

private:
  // Ticks until done() holds; false after `seconds`.
  template <class Done>
  bool tickUntil(Done&& done, double seconds);

  const CommandTable& table_;
  std::FILE* out_;
  std::unique_ptr<RTI::RTIambassador> rti_;
  std::unique_ptr<PrintingFedAmb> fedAmb_;
  std::map<std::string, unsigned long> seen_;    // callbacks by name
  std::map<std::string, unsigned long> waited_;  // of those, taken by waits
  std::map<std::string, std::vector<std::string>> reactions_;
  std::map<std::string, unsigned long> names_;
  std::string sentinelClassName_;
  std::optional<RTI::InteractionClassHandle> sentinelClass_;
  std::set<std::string> sentinels_;  // the tags of the sentinels received
  bool backgroundTick_ = false;
  int errors_ = 0;
};
