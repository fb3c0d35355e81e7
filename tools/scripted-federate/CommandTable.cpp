#include "CommandTable.h"

#include <cstdlib>

const std::string& ScriptArgs::text(std::size_t i) const {
  if (i >= words_.size()) throw UsageError("missing argument " + std::to_string(i + 1));
  return words_[i];
}

std::string ScriptArgs::textOr(std::size_t i, const std::string& fallback) const {
  return i < words_.size() ? words_[i] : fallback;
}

unsigned long ScriptArgs::number(std::size_t i) const {
  const std::string& word = text(i);
  char* end = nullptr;
  const unsigned long value = std::strtoul(word.c_str(), &end, 10);
  if (word.empty() || *end != '\0') throw UsageError("not a number: " + word);
  return value;
}

double ScriptArgs::seconds(std::size_t i) const {
  const std::string& word = text(i);
  char* end = nullptr;
  const double value = std::strtod(word.c_str(), &end);
  if (word.empty() || *end != '\0' || value < 0) throw UsageError("not a time in seconds: " + word);
  return value;
}

double ScriptArgs::secondsOr(std::size_t i, double fallback) const { return i < words_.size() ? seconds(i) : fallback; }

std::string ScriptArgs::rest(std::size_t i) const {
  std::string joined;
  for (; i < words_.size(); ++i) {
    if (!joined.empty()) joined += ' ';
    joined += words_[i];
  }
  return joined;
}

void CommandTable::add(const std::string& verb, const std::string& usage, const std::string& what, ScriptCommand run) {
  entries_[verb] = Entry{usage, what, std::move(run)};
}

const CommandTable::Entry* CommandTable::find(const std::string& verb) const {
  const auto found = entries_.find(verb);
  return found == entries_.end() ? nullptr : &found->second;
}

std::string CommandTable::help() const {
  std::string text;
  for (const auto& [verb, entry] : entries_) {
    std::string head = verb + (entry.usage.empty() ? "" : " " + entry.usage);
    if (head.size() < 40) head.resize(40, ' ');
    text += "  " + head + " " + entry.what + "\n";
  }
  return text;
}

std::vector<std::vector<std::string>> SplitScript(const std::string& script) {
  std::vector<std::vector<std::string>> commands(1);
  std::string word;
  bool inWord = false;
  bool quoted = false;
  auto endWord = [&] {
    if (inWord) commands.back().push_back(word);
    word.clear();
    inWord = false;
  };
  for (std::size_t i = 0; i < script.size(); ++i) {
    const char c = script[i];
    if (quoted) {
      if (c == '\\' && i + 1 < script.size()) {
        word += script[++i];
      } else if (c == '"') {
        quoted = false;
      } else {
        word += c;
      }
    } else if (c == '"') {
      quoted = true;
      inWord = true;
    } else if (c == ';' || c == '\n') {
      endWord();
      commands.emplace_back();
    } else if (c == ' ' || c == '\t' || c == '\r') {
      endWord();
    } else {
      word += c;
      inWord = true;
    }
  }
  endWord();
  std::vector<std::vector<std::string>> nonEmpty;
  for (auto& command : commands) {
    if (!command.empty()) nonEmpty.push_back(std::move(command));
  }
  return nonEmpty;
}

ValueWord ParseValueWord(const std::string& word) {
  const std::size_t equals = word.find('=');
  if (equals != std::string::npos) return {word.substr(0, equals), word.substr(equals + 1)};
  const std::size_t hash = word.find('#');
  if (hash != std::string::npos) {
    const std::string count = word.substr(hash + 1);
    if (!count.empty() && count.size() < 9 && count.find_first_not_of("0123456789") == std::string::npos) {
      return {word.substr(0, hash), std::string(std::stoul(count), 'v')};
    }
  }
  throw UsageError("neither <name>=<value> nor <name>#<count>: " + word);
}
