#pragma once
// The scripted federate's commands: a verb, its usage, and what it does.
// Each family of services registers its commands in a file of its own
// (federation management here; declarations, objects and interactions join
// the table the same way), so adding a family touches no other command.

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

class ScriptSession;

// The words of one command after its verb; a word in double quotes may hold
// blanks and ';'.
class ScriptArgs {
public:
  explicit ScriptArgs(std::vector<std::string> words) : words_(std::move(words)) {}

  std::size_t size() const { return words_.size(); }
  const std::string& text(std::size_t i) const;
  std::string textOr(std::size_t i, const std::string& fallback) const;
  unsigned long number(std::size_t i) const;
  double seconds(std::size_t i) const;
  double secondsOr(std::size_t i, double fallback) const;
  // The words from i on, joined by blanks.
  std::string rest(std::size_t i) const;

private:
  std::vector<std::string> words_;
};

// A command whose arguments do not fit its usage.
class UsageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// One attribute or parameter of a command: "<name>=<value>", the value being
// the text after '=', or "<name>#<count>", a value of that many 'v' bytes
// (one too long to write out). UsageError for a word of neither form.
struct ValueWord {
  std::string name;
  std::string value;
};
ValueWord ParseValueWord(const std::string& word);

// What a command does; its result (may be empty) follows "ok <verb>".
using ScriptCommand = std::function<std::string(ScriptSession&, const ScriptArgs&)>;

class CommandTable {
public:
  struct Entry {
    std::string usage;  // the arguments, as --help shows them
    std::string what;   // one line
    ScriptCommand run;
  };

  void add(const std::string& verb, const std::string& usage, const std::string& what, ScriptCommand run);
  const Entry* find(const std::string& verb) const;
  // One line per command, in verb order.
  std::string help() const;

private:
  std::map<std::string, Entry> entries_;
};

// Splits a script into commands (at ';' and line ends outside quotes), each
// into its words.
std::vector<std::vector<std::string>> SplitScript(const std::string& script);

// The families of commands.
void AddFederationCommands(CommandTable& table);
// Object class declarations and objects.
void AddObjectCommands(CommandTable& table);
// Interaction class declarations and interactions.
void AddInteractionCommands(CommandTable& table);
// Attribute ownership management.
void AddOwnershipCommands(CommandTable& table);
// Time management.
void AddTimeCommands(CommandTable& table);
// Federation save and restore.
void AddSaveRestoreCommands(CommandTable& table);
// Regions: made, bounded, announced and deleted.
void AddRegionCommands(CommandTable& table);
