// libFuzzer target: the configuration language's reader and printer on any
// bytes, over both kinds of stream. Nothing is evaluated.
#include <cstdint>
#include <cstdio>
#include <string>

#include "config/DtlCons.h"
#include "config/DtlEnv.h"
#include "config/DtlFileStream.h"
#include "config/DtlObj.h"
#include "config/DtlPrint.h"
#include "config/DtlReader.h"
#include "config/DtlStringStream.h"
#include "util/DtNotify.h"

namespace {

std::FILE* sink() {
  static std::FILE* devNull = std::fopen("/dev/null", "w");
  return devNull;
}

// Reads every datum until the end or the first error, printing and
// comparing each one.
void readAll(DtlStream* stream, const DtlObjPtr& frame) {
  const DtlObjPtr eof = DtcIntern("eof", frame);
  try {
    for (int count = 0; count < 10000; ++count) {
      const DtlObjPtr datum = lread(stream, frame);
      if (datum == eof) return;
      DtcObjFprint(datum, sink());
      if (!DtcEqual(datum, datum)) __builtin_trap();
      (void)DtcValueText(datum);
    }
  } catch (const DtlObjPtr&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool quiet = [] {
    DtSetNotifyHandler(nullptr);
    return true;
  }();
  (void)quiet;
  const DtlObjPtr frame = DtcMakeFrame(DtlObjPtr());

  const std::string text(reinterpret_cast<const char*>(data), size);
  DtlStringStream strings(text.c_str());
  readAll(&strings, frame);

  if (std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "r")) {
    DtlFileStream bytes(file);
    readAll(&bytes, frame);
  }
  return 0;
}
