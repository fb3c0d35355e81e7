#include "config/DtlPrint.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>

#include "config/DtlDepthGuard.h"
#include "config/DtlError.h"
#include "config/DtlObj.h"
#include "util/DtNotify.h"

namespace {

thread_local int printDepth = 0;

void printAtom(const DtlObj& value, std::FILE* stream) {
  const auto address = static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(&value));
  switch (value.tag()) {
    case DtlNilTag: std::fputs("nil", stream); break;
    case DtlSymbolTag:
      if (value.pname())
        std::fprintf(stream, "%s", value.pname());
      else
        std::fputs("(unbound symbol name)", stream);
      break;
    case DtlIntegerTag:
    case DtlLocativeTag: std::fprintf(stream, "%d", value.intValue()); break;
    case DtlFloatTag: std::fputs(DtcFloatText(value.floatValue()).c_str(), stream); break;
    case DtlSpecialFormTag: std::fprintf(stream, "#<special-form %lx>", address); break;
    case DtlCompiledTag:
      std::fprintf(stream, "#<primitive-function %s>", value.fcnPname() ? value.fcnPname() : "");
      break;
    case DtlStringTag:
      if (value.string())
        std::fprintf(stream, "\"%s\"", value.string());
      else
        std::fputs("(unbound string)", stream);
      break;
    case DtlProcedureTag: std::fprintf(stream, "#<procedure %lx>", address); break;
    case DtlFrameTag: std::fprintf(stream, "#<environment-frame %lx>", address); break;
    default: DtlError("unknown tag in DtlObj::DtcObjFprint");
  }
}

void print(const DtlObjPtr& value, std::FILE* stream);

// Walks along the cdrs in a loop; only the cars recurse.
void printList(const DtlObjPtr& list, std::FILE* stream) {
  if (!DtcIs(list, DtlConsTag)) DtlError("Non-cons passed to DtlObj::DtcPrintList");
  const DtlObj* cell = list.get();
  for (;;) {
    if (cell->first())
      print(cell->first(), stream);
    else
      DtNotifyInfo("?");
    const DtlObjPtr& rest = cell->second();
    if (!rest) {
      DtNotifyInfo(" ?");
      return;
    }
    if (rest->tag() == DtlNilTag) return;
    if (rest->tag() != DtlConsTag) {
      std::fputs(" . ", stream);
      print(rest, stream);
      return;
    }
    std::fputc(' ', stream);
    cell = rest.get();
  }
}

void print(const DtlObjPtr& value, std::FILE* stream) {
  DtlDepthGuard guard(printDepth, "Lists nested too deeply to print");
  if (value->deleted()) std::fputs("#deleted# ", stream);
  if (value->tag() == DtlConsTag) {
    std::fputc('(', stream);
    printList(value, stream);
    std::fputc(')', stream);
  } else {
    printAtom(*value, stream);
  }
}

}  // namespace

std::string DtcFloatText(double value) {
  char buffer[400];  // the longest finite double in fixed notation fits
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
  return std::string(buffer, result.ptr);
}

std::string DtcValueText(const DtlObjPtr& value) {
  if (DtcIs(value, DtlIntegerTag)) return std::to_string(value->intValue());
  if (DtcIs(value, DtlFloatTag)) return DtcFloatText(value->floatValue());
  if (DtcIs(value, DtlStringTag)) return std::string("\"") + value->name() + "\"";
  char* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* stream = open_memstream(&buffer, &size);
  if (!stream) return std::string();
  try {
    DtcObjFprint(value, stream);
  } catch (...) {
  }
  std::fclose(stream);
  std::string text(buffer, size);
  std::free(buffer);
  return text;
}

void DtcObjFprint(const DtlObjPtr& value, std::FILE* stream) {
  if (!value) {
    DtNotifyInfo("?");
    return;
  }
  print(value, stream);
  std::fflush(stream);
}

void DtcPrintList(const DtlObjPtr& list, std::FILE* stream) {
  printList(list, stream);
  std::fflush(stream);
}

void DtcPrintLine(const DtlObjPtr& value) {
  DtcObjFprint(value, stdout);
  DtNotifyInfo("\n");
}

void DtcPrintError(const DtlObjPtr& value) { DtcObjFprint(value, stderr); }
