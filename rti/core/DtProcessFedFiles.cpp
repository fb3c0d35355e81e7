#include "core/DtProcessFedFiles.h"

#include <map>
#include <mutex>
#include <string>

namespace {

struct Files {
  std::mutex lock;
  std::map<std::string, std::string> byExecution;
};

Files& files() {
  static Files* const state = new Files;  // outlives every ambassador at exit
  return *state;
}

}  // namespace

void DtProcessFedFiles::remember(const DtString& executionName, const DtString& fedFile) {
  Files& all = files();
  const std::lock_guard<std::mutex> guard(all.lock);
  all.byExecution[executionName.string()] = fedFile.string();
}

std::optional<DtString> DtProcessFedFiles::find(const DtString& executionName) {
  Files& all = files();
  const std::lock_guard<std::mutex> guard(all.lock);
  const auto found = all.byExecution.find(executionName.string());
  if (found == all.byExecution.end()) return std::nullopt;
  return DtString(found->second.c_str());
}

void DtProcessFedFiles::clear() {
  Files& all = files();
  const std::lock_guard<std::mutex> guard(all.lock);
  all.byExecution.clear();
}
