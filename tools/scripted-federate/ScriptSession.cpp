#include "ScriptSession.h"

#include <chrono>
#include <cstdlib>
#include <exception>
#include <thread>

#include "PrintingFedAmb.h"

namespace {

double now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

}  // namespace

ScriptSession::ScriptSession(const CommandTable& table, std::FILE* out)
    : table_(table), out_(out), rti_(new RTI::RTIambassador), fedAmb_(new PrintingFedAmb(*this)) {}

ScriptSession::~ScriptSession() = default;

RTI::FederateAmbassador& ScriptSession::fedAmb() { return *fedAmb_; }

void ScriptSession::emit(const OutputLine& line) {
  std::fputs(line.str().c_str(), out_);
  std::fputc('\n', out_);
  std::fflush(out_);
}

void ScriptSession::run(const std::vector<std::string>& command) {
  if (command.empty()) return;
  const std::string& verb = command.front();
  const CommandTable::Entry* entry = table_.find(verb);
  try {
    if (!entry) throw UsageError("unknown command (try --help)");
    const std::string result = entry->run(*this, ScriptArgs({command.begin() + 1, command.end()}));
    OutputLine ok("ok", verb);
    if (!result.empty()) ok.word(result);
    emit(ok);
    return;
  } catch (const RTI::Exception& e) {
    ++errors_;
    emit(OutputLine("error", verb).word(e._name ? e._name : "RTI::Exception").text(e._reason ? e._reason : ""));
  } catch (const UsageError& e) {
    ++errors_;
    const std::string usage = entry ? verb + " " + entry->usage : verb;
    emit(OutputLine("error", verb).word("usage").text((std::string(e.what()) + "; usage: " + usage).c_str()));
  } catch (const std::exception& e) {
    ++errors_;
    emit(OutputLine("error", verb).word("failure").text(e.what()));
  }
}

void ScriptSession::callbackSeen(const std::string& name) {
  ++seen_[name];
  const auto reaction = reactions_.find(name);
  if (reaction != reactions_.end()) {
    const std::vector<std::string> command = reaction->second;  // the reaction may replace itself
    run(command);
  }
}

bool ScriptSession::waitFor(const std::string& name, double seconds) {
  return tickUntil(
      [&] {
        if (seen_[name] <= waited_[name]) return false;
        ++waited_[name];
        return true;
      },
      seconds);
}

bool ScriptSession::waitForSentinel(const std::string& tag, double seconds) {
  return tickUntil([&] { return sentinels_.count(tag) > 0; }, seconds);
}

template <class Done>
bool ScriptSession::tickUntil(Done&& done, double seconds) {
  const double deadline = now() + seconds;
  for (;;) {
    if (done()) return true;
    if (now() >= deadline) return false;
    tickBriefly();
  }
}

void ScriptSession::tickFor(double seconds) {
  const double deadline = now() + seconds;
  do {
    tickBriefly();
  } while (now() < deadline);
}

void ScriptSession::tickBriefly() { rti_->tick(0.001, 0.01); }

void ScriptSession::joined() {
  sentinelClass_.reset();
  if (sentinelClassName_.empty()) return;
  const RTI::InteractionClassHandle sentinel = rti_->getInteractionClassHandle(sentinelClassName_.c_str());
  rti_->publishInteractionClass(sentinel);
  rti_->subscribeInteractionClass(sentinel);
  sentinelClass_ = sentinel;
}

void ScriptSession::react(const std::string& callback, std::vector<std::string> command) {
  if (command.empty()) {
    reactions_.erase(callback);
  } else {
    reactions_[callback] = std::move(command);
  }
}

void ScriptSession::remember(const std::string& name, unsigned long handle) { names_[name] = handle; }

unsigned long ScriptSession::handle(const std::string& nameOrNumber) const {
  const auto found = names_.find(nameOrNumber);
  if (found != names_.end()) return found->second;
  char* end = nullptr;
  const unsigned long value = std::strtoul(nameOrNumber.c_str(), &end, 10);
  if (nameOrNumber.empty() || *end != '\0') throw UsageError("no handle named " + nameOrNumber);
  return value;
}
