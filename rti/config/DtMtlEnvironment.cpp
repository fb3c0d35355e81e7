#include "config/DtMtlEnvironment.h"

#include <cstring>
#include <exception>
#include <string>

#include "config/DtlBuiltins.h"
#include "config/DtlEnv.h"
#include "config/DtlError.h"
#include "config/DtlHashTable.h"
#include "config/DtlIntegerParam.h"
#include "config/DtlLoader.h"
#include "config/DtlNotifyLevelParam.h"
#include "config/DtlRealParam.h"
#include "config/DtlStringParam.h"
#include "util/DtList.h"
#include "util/DtNotify.h"
#include "util/DtString.h"

namespace {

// What the exception in flight is, in words.
std::string describeCurrentException() {
  try {
    throw;
  } catch (const DtlObjPtr&) {
    const std::string message = DtlLastErrorMessage();
    return message.empty() ? "a configuration language error" : "a configuration language error: " + message;
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "an exception of an unknown type";
  }
}

// Says which step of which load failed, and why, as an error (shown at the
// default notify level); the caller goes on.
void reportFailure(const char* step, const char* load, const char* subject) {
  DtNotifyError("Configuration: %s%s %s failed: %s\n", step, load, subject ? subject : "(null)",
                describeCurrentException().c_str());
}

// Runs a load between the export and the import of the frame's host
// variables. Nothing escapes: a host calling the loader must never see an
// exception from its configuration. A step that throws is reported and the
// next one runs all the same.
template <typename Load>
DtlObjPtr exportLoadImport(const DtlObjPtr& frame, const char* name, Load load) {
  DtlObjPtr result;
  try {
    DtcExportParams(frame);
  } catch (...) {
    reportFailure("handing the host variables over before ", "loading", name);
  }
  try {
    result = load();
  } catch (...) {
    reportFailure("", "loading", name);
    result = DtlObjPtr();
  }
  try {
    DtcImportParams(frame);
  } catch (...) {
    reportFailure("taking the host variables back after ", "loading", name);
  }
  return result;
}

}  // namespace

DtMtlEnvironment::DtMtlEnvironment() : frame_(DtcMakeFrame(DtlObjPtr())) {
  DtcRegisterBuiltins(frame_);
  params_ = new DtList;
  frame_->setParams(params_);
  DtcRegister(new DtlNotifyLevelParam, frame_);
}

DtMtlEnvironment::~DtMtlEnvironment() {
  // Destroy the frame's contents even if something still holds the frame:
  // cycles through it (a global procedure holding a closure over a frame
  // that holds the global one, ...) must not outlive the interpreter.
  DtlObj::destroyNow(frame_.get());
  frame_ = DtlObjPtr();
}

DtlObjPtr DtMtlEnvironment::value(const DtString& name) { return frame_->table()->value(name.string()); }

int DtMtlEnvironment::registerVariable(const char* name, std::uint16_t* address) {
  return DtcRegister(new DtlUShortParam(name, address), frame_);
}

int DtMtlEnvironment::registerVariable(const char* name, std::int16_t* address) {
  return DtcRegister(new DtlShortParam(name, address), frame_);
}

int DtMtlEnvironment::registerVariable(const char* name, std::uint32_t* address) {
  return DtcRegister(new DtlUInt32Param(name, address), frame_);
}

int DtMtlEnvironment::registerVariable(const char* name, const char** address) {
  return DtcRegister(new DtlStringParam(name, address), frame_);
}

int DtMtlEnvironment::registerVariable(const char* name, int* address) {
  return DtcRegister(new DtlIntParam(name, address), frame_);
}

int DtMtlEnvironment::registerVariable(const char* name, double* address) {
  return DtcRegister(new DtlDoubleParam(name, address), frame_);
}

int DtMtlEnvironment::registerVariable(const char* name, float* address) {
  return DtcRegister(new DtlFloatParam(name, address), frame_);
}

DtlObjPtr DtMtlEnvironment::loadFileFromPath(const DtlObjPtr& directories, const char* name, int report) {
  DtlObjPtr result = exportLoadImport(frame_, name, [&] { return DtcLoadFromPath(directories, name, frame_, report); });
  return result ? result : DtlNil();
}

DtlObjPtr DtMtlEnvironment::loadFile(const char* name, int report) {
  return exportLoadImport(frame_, name, [&] { return DtcLoadLispFile(name, frame_, report); });
}

DtlObjPtr DtMtlEnvironment::evalString(const char* text, int report) {
  if (!text) return DtlObjPtr();
  if (text[0] == '(') return loadExpr(text);
  if (const char* equals = std::strchr(text, '=')) {
    // name=value becomes (set! name value), on a copy of the text.
    std::string assignment = "(set! ";
    assignment.append(text, equals);
    assignment += ' ';
    assignment += equals + 1;
    assignment += ")\n";
    return loadExpr(assignment.c_str());
  }
  return loadFile(text, report);
}

DtlObjPtr DtMtlEnvironment::loadExpr(const char* text) {
  // DtcLoadLispExpr exports and imports itself.
  try {
    return DtcLoadLispExpr(text ? text : "", frame_);
  } catch (...) {
    reportFailure("", "evaluating", text);
    return DtlObjPtr();
  }
}

DtlObjPtr DtMtlEnvironment::registerValue(const DtString& name, const DtlObjPtr& value) {
  return set1env(DtcIntern(name.string(), frame_), value, frame_);
}

DtlObjPtr DtMtlEnvironment::registerFunction(const DtString& name, DtlNativeFunction function) {
  return registerValue(name, alloc_compiled_c(DtlCompiledTag, name.string(), function));
}

DtlObjPtr& DtMtlEnvironment::environment() { return frame_; }

DtlObjPtr DtMtlEnvironment::registerSpecialForm(const DtString& name, DtlNativeFunction function) {
  return registerValue(name, alloc_compiled_c(DtlSpecialFormTag, name.string(), function));
}
