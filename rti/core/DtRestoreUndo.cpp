#include "core/DtRestoreUndo.h"

#include <atomic>
#include <filesystem>
#include <system_error>

#include "core/DtFederateSaveStages.h"
#include "port/DtProcess.h"
#include "save/DtRtiSaveFile.h"
#include "util/DtNotify.h"

namespace {

// A name no other federate of this host uses: the process and a count.
std::string privatePath() {
  static std::atomic<unsigned> taken{0};
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
  const std::string name = "hlacore-before-restore-" + std::to_string(DtProcessId()) + "-" + std::to_string(++taken);
  return ((error ? std::filesystem::path("/tmp") : folder) / name).string();
}

}  // namespace

DtRestoreUndo::~DtRestoreUndo() { forget(); }

bool DtRestoreUndo::take(DtFederateMgr& mgr) {
  forget();
  const std::string path = privatePath();
  DtRtiSaveFile file(path.c_str(), false);
  const bool written = file.isOk() && DtFederateSaveStages(mgr).save(file) && file.close();
  if (!written) {
    DtNotifyError("The state before the restore cannot be kept in %s\n", path.c_str());
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    return false;
  }
  path_ = path;
  return true;
}

bool DtRestoreUndo::rollBack(DtFederateMgr& mgr) {
  if (!holds()) return false;
  bool restored = false;
  {
    DtRtiSaveFile file(path_.c_str(), true);
    restored = file.isOk() && DtFederateSaveStages(mgr).restore(file);
  }
  if (!restored) DtNotifyError("The state before the restore was not read back whole from %s\n", path_.c_str());
  forget();
  return restored;
}

void DtRestoreUndo::forget() {
  if (!holds()) return;
  std::error_code ignored;
  std::filesystem::remove(path_, ignored);
  path_.clear();
}
