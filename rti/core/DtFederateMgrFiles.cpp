// The federate manager's files and names: FED file mappings and reading,
// save-file names, transport and order names.
#include <cstring>
#include <optional>
#include <string>

#include "config/DtConfigDirectory.h"
#include "config/DtRIDParameters.h"
#include "core/DtFedFileMapping.h"
#include "core/DtFederateMgr.h"
#include "core/DtProcessFedFiles.h"
#include "objects/DtFomClassMgr.h"
#include "save/DtSaveFileName.h"
#include "util/DtFilename.h"
#include "util/DtNotify.h"

namespace {

// With RTI_dumpFed 0 the reader's echo of the file is silenced: the notify
// level stays at 1 (errors only) while the object lives.
class QuietRead {
public:
  explicit QuietRead(int dumpFed) : level_(DtGetNotifyLevel()) {
    if (dumpFed == 0 && level_ > 1) DtSetNotifyLevel(1);
  }
  ~QuietRead() { DtSetNotifyLevel(level_); }
  QuietRead(const QuietRead&) = delete;
  QuietRead& operator=(const QuietRead&) = delete;

private:
  int level_;
};

char* copyOf(const char* text) {
  char* copy = new char[std::strlen(text) + 1];
  std::strcpy(copy, text);
  return copy;
}

// The name of value 0 or 1; `Invalid` for any other value.
template <class Invalid>
char* nameOf(std::uint32_t value, const char* zero, const char* one) {
  if (value == 0) return copyOf(zero);
  if (value == 1) return copyOf(one);
  throw Invalid("");
}

// 0 or 1 for the two names, compared ignoring case; NameNotFound else.
std::uint32_t valueOf(const DtString& name, const char* zero, const char* one) {
  if (name.equalNoCase(zero)) return 0;
  if (name.equalNoCase(one)) return 1;
  throw RTI::NameNotFound(name.string());
}

}  // namespace

// FED files -------------------------------------------------------------------

void DtFederateMgr::addFedFileNameMapping(const DtString& executionName, const DtString& fedFile) {
  fedFileMappings_.push_back(std::make_unique<DtFedFileMapping>(executionName, fedFile));
  DtProcessFedFiles::remember(executionName, fedFile);
}

DtString DtFederateMgr::fedFileName(const DtString& executionName) {
  for (const std::unique_ptr<DtFedFileMapping>& mapping : fedFileMappings_) {
    if (mapping->execName() == executionName.string()) return mapping->fedFileName();
  }
  // A create by another ambassador of this process.
  if (const std::optional<DtString> file = DtProcessFedFiles::find(executionName)) return *file;
  return executionName + ".fed";
}

std::unique_ptr<DtFomClassMgr> DtFederateMgr::readModel(const DtString& fedFile, const DtString& executionName) {
  DtFilename name(fedFile);
  int result = DtFedReader::accepted;
  std::unique_ptr<DtFomClassMgr> model;
  {
    const QuietRead quiet(params_->dumpFed());
    if (name == "") name = fedFileName(executionName);
    model = DtFomClassMgr::loadFed(fedReader_, name.string(), params_, &result);
    if (result == DtFedReader::noFile) {
      // A file named with a path that this machine does not have is looked
      // for by its own name in the configuration directory.
      const std::string directory = DtConfigDirectory();
      if (!directory.empty()) {
        const DtFilename inConfig = DtFilename(directory.c_str()) + name.baseName();
        model = DtFomClassMgr::loadFed(fedReader_, inConfig.string(), params_, &result);
      }
    }
  }
  // The reasons say which file, and for one that was read, where it went
  // wrong and what was expected there.
  if (result == DtFedReader::noFile) throw RTI::CouldNotOpenFED(name.string());
  if (result != DtFedReader::accepted || !model) {
    throw RTI::ErrorReadingFED(fedReader_.refusal().empty() ? name.string() : fedReader_.refusal().c_str());
  }
  return model;
}

void DtFederateMgr::readFedFile(const DtString& fedFile, const DtString& executionName) {
  fom_.reset();
  fom_ = readModel(fedFile, executionName);
}

void DtFederateMgr::testReadFedFile(const DtString& fedFile, const DtString& executionName) {
  readModel(fedFile, executionName);
}

// Save files ------------------------------------------------------------------

DtString& DtFederateMgr::getSaveFileName(const char* label, unsigned long federateHandle, DtString& result, char) {
  // The label and the names come from other programs: escaped, none of
  // them can lead out of the folder.
  result = params_->saveRestoreDirectoryPath();
  result += DtSaveFileNamePart(label).c_str();
  result += "-";
  result += DtSaveFileNamePart(executionName_.get()).c_str();
  result += "-";
  result += DtSaveFileNamePart(federateName_.get()).c_str();
  result += "-";
  result += DtString(federateHandle);
  result += ".sav";
  return result;
}

DtString& DtFederateMgr::getRestoreFileName(const char* label, unsigned long federateHandle, DtString& result) {
  return getSaveFileName(label, federateHandle, result, 0);
}

// Transport and order ---------------------------------------------------------

char* DtFederateMgr::getTransportationName(DtTransportType type) {
  return nameOf<RTI::InvalidTransportationHandle>(type, "best_effort", "reliable");
}

char* DtFederateMgr::getOrderName(DtOrderType type) {
  return nameOf<RTI::InvalidOrderingHandle>(type, "receive", "timestamp");
}

DtTransportType DtFederateMgr::getTransportationHandle(const DtString& name) {
  return static_cast<DtTransportType>(valueOf(name, "best_effort", "reliable"));
}

DtOrderType DtFederateMgr::getOrderHandle(const DtString& name) {
  return static_cast<DtOrderType>(valueOf(name, "receive", "timestamp"));
}
