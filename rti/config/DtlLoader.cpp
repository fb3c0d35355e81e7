#include "config/DtlLoader.h"

#include <cstdio>
#include <memory>
#include <new>
#include <string>

#include "config/DtlArgs.h"
#include "config/DtlBuiltins.h"
#include "config/DtlEnv.h"
#include "config/DtlEval.h"
#include "config/DtlFileStream.h"
#include "config/DtlParam.h"
#include "config/DtlPrint.h"
#include "config/DtlReader.h"
#include "config/DtlStringStream.h"
#include "util/DtList.h"
#include "util/DtNotify.h"

namespace {

// Reads and evaluates forms until the end of the input or a reading error.
// Any exception of a form's evaluation skips that form: the language error
// has already printed its message, and one bad line of a configuration file
// must not cost the others.
DtlObjPtr readEvalLoop(DtlStream& stream, const DtlObjPtr& frame) {
  const DtlObjPtr eof = DtcIntern("eof", frame);
  DtlObjPtr last;
  for (;;) {
    DtlObjPtr form;
    try {
      form = lread(&stream, frame);
    } catch (...) {
      break;
    }
    if (form == eof) break;
    try {
      last = DtcEval(form, frame);
    } catch (...) {
    }
  }
  return last;
}

template <typename Visit>
void forEachParam(const DtlObjPtr& frame, Visit visit) {
  if (!DtcIs(frame, DtlFrameTag) || !frame->params()) return;
  for (DtListItem* item = frame->params()->head(); item; item = item->next())
    visit(*static_cast<DtlParam*>(item->data()));
}

}  // namespace

DtlObjPtr DtcLoadLispFile(const char* name, const DtlObjPtr& frame, int report) {
  std::FILE* file = std::fopen(name, "r");
  if (!file) {
    if (report) DtNotifyError("Couldn't open %s\n", name);
    return DtlObjPtr();
  }
  std::unique_ptr<DtlFileStream> stream(new (std::nothrow) DtlFileStream(file));
  if (!stream) {
    std::fclose(file);
    DtlError("out of memory in DtcLoadLispFile");
  }
  DtNotifyInfo("Loading Config File: %s\n", name);
  DtlObjPtr last = readEvalLoop(*stream, frame);
  stream->close();
  return last;
}

DtlObjPtr DtcLoadLispExpr(const char* text, const DtlObjPtr& frame) {
  DtcExportParams(frame);
  DtlStringStream stream(text);
  DtlObjPtr last = readEvalLoop(stream, frame);
  DtcImportParams(frame);
  return last;
}

DtlObjPtr DtcLoadFromPath(const DtlObjPtr& directories, const char* name, const DtlObjPtr& frame, int report) {
  for (const DtlObjPtr* cell = &directories; DtcIs(*cell, DtlConsTag); cell = &(*cell)->second()) {
    std::string path = DtcExpectString((*cell)->first(), "Non-string in directory list");
    if (!path.empty() && path.back() != '/') path += '/';
    path += name;
    DtlObjPtr result = DtcLoadLispFile(path.c_str(), frame, 0);
    if (result) return result;
  }
  if (report) DtNotifyError("Couldn't find %s\n", name);
  return DtlNil();
}

int DtcRegister(DtlParam* parameter, const DtlObjPtr& frame) {
  std::unique_ptr<DtlParam> owned(parameter);
  if (!DtcIs(frame, DtlFrameTag) || !frame->table()) {
    DtNotifyError("Can't register a parameter with a non-frame DtlObj.\n");
    return 0;
  }
  const DtlObjPtr symbol = DtcIntern(owned->name(), frame);
  if (boundp(symbol, frame)) {
    DtNotifyError("DtcRegister: %s is already bound\n", owned->name());
    return 0;
  }
  owned->attach(symbol, frame.get());
  owned->push();
  if (!frame->params()) frame->setParams(new DtList);
  frame->params()->append(owned.release());
  return 1;
}

void DtcExportParams(const DtlObjPtr& frame) {
  forEachParam(frame, [](DtlParam& param) { param.push(); });
}

void DtcImportParams(const DtlObjPtr& frame) {
  forEachParam(frame, [](DtlParam& param) { param.pull(); });
}

DtlObjPtr DtlLoad(const DtlObjPtr& args, const DtlObjPtr& frame) {
  const std::int32_t count = DtcCheckArgs(args, 1, 2, "Wrong number of args to load");
  const DtlObjPtr& first = car(args);
  DtlObjPtr result;
  if (DtcIs(first, DtlStringTag)) {
    result = DtcLoadLispFile(first->name(), frame, 1);
  } else if (count == 2 && (DtcIs(first, DtlConsTag) || DtcIsNil(first)) && DtcIs(DtcNth(args, 2), DtlStringTag)) {
    result = DtcLoadFromPath(first, DtcNth(args, 2)->name(), frame, 1);
  } else {
    if (DtGetNotifyLevel() >= 0) {
      std::fprintf(stderr, "Lisp Error: %s", "Wrong type arg to DtlLoad ");
      DtcPrintError(first);
    }
    return DtlNil();
  }
  return result ? result : DtlNil();
}
