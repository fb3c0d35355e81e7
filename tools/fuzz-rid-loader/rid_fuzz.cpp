// libFuzzer target: any bytes as the RID file, loaded the way an ambassador
// loads it (RTI_RID_FILE), then copied, the original deleted, and every value
// and list of the copy (and of a copy of the copy) read. The run script links
// it with --wrap so that every interpreter's built-ins pass through the
// wrapper below, which unbinds those that leave the process (exit, abort,
// system, popen, putenv, load) and refuses to define procedures, so that
// every input ends: without procedures the language has no loop.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "config/DtRIDParameters.h"
#include "config/DtlCons.h"
#include "config/DtlEnv.h"
#include "config/DtlError.h"
#include "config/DtlObj.h"
#include "config/DtlSyntacticForms.h"
#include "util/DtList.h"
#include "util/DtNotify.h"
#include "util/DtString.h"

namespace {

DtlObjPtr defineValue(const DtlObjPtr& args, const DtlObjPtr& frame) {
  if (DtcIs(args, DtlConsTag) && DtcIs(args->first(), DtlConsTag)) DtlError("no procedures here");
  return DtlDefine(args, frame);
}

DtlObjPtr refuse(const DtlObjPtr&, const DtlObjPtr&) { DtlError("not here"); }

void rebind(const char* name, DtlTagType tag, DtlNativeFunction function, const DtlObjPtr& frame) {
  set1env(DtcIntern(name, frame), alloc_compiled_c(tag, name, function), frame);
}

// Reads every text to its end, so that a dangling one shows.
std::size_t readText(const char* text) { return text ? std::strlen(text) : 0; }

std::size_t readAll(const DtRIDParameters& params) {
  std::size_t total = 0;
  for (const char* text :
       {params.destAddrString(), params.mcastDevAddrString(), params.minChannelAddr(), params.maxChannelAddr(),
        params.tcpForwarderAddrString(), params.pluginDir(), params.saveRestoreDirectory(), params.defaultFedFile()})
    total += readText(text);
  total +=
      params.destAddr() + params.mcastDevAddr() + params.minChannel() + params.maxChannel() + params.tcpForwarderAddr();
  int count = 0;
  const DtString* destinations = params.destinationAddrs(&count);
  for (int i = 0; i < count; ++i) total += readText(destinations[i].string());
  total += params.objectMulticastDefinitions().count() + params.interactionMulticastDefinitions().count();
  for (DtListItem* item = params.pluginNames().head(); item; item = item->next())
    total += readText(static_cast<const DtFilename*>(item->data())->string());
  total += readText(params.ridName().string());
  return total;
}

}  // namespace

extern "C" void __real__Z19DtcRegisterBuiltinsRK9DtlObjPtr(const DtlObjPtr& frame);

extern "C" void __wrap__Z19DtcRegisterBuiltinsRK9DtlObjPtr(const DtlObjPtr& frame) {
  __real__Z19DtcRegisterBuiltinsRK9DtlObjPtr(frame);
  for (const char* name : {"lambda", "exit", "abort", "system", "popen", "putenv", "load"})
    rebind(name, DtlCompiledTag, refuse, frame);
  rebind("define", DtlSpecialFormTag, defineValue, frame);
  rebind("setq", DtlSpecialFormTag, defineValue, frame);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string file = [] {
    DtSetNotifyHandler(nullptr);
    DtSetNotifyLevel(-1);  // also silences the texts written straight to stderr
    unsetenv("RTI_CONFIG");
    const std::string path = "/tmp/qlx-rid-fuzz-" + std::to_string(getpid()) + ".mtl";
    setenv("RTI_RID_FILE", path.c_str(), 1);
    return path;
  }();
  if (std::FILE* out = std::fopen(file.c_str(), "wb")) {
    std::fwrite(data, 1, size, out);
    std::fclose(out);
  }

  auto original = std::make_unique<DtRIDParameters>();
  volatile std::size_t sink = readAll(*original);
  // A copy loads the file again on top of the original's values and must
  // own everything it keeps.
  DtRIDParameters copy(*original);
  original.reset();
  sink = sink + readAll(copy);
  DtRIDParameters second(copy);
  sink = sink + readAll(second);
  (void)sink;
  return 0;
}
