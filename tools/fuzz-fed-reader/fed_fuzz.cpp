// libFuzzer target: any bytes as a FED file, read into a builder that checks
// what the reader promises its builders: names are never null, a class arrives
// after its base and before its attributes, parameters and subclasses, a
// dimension after its space, and transport and order are the known values;
// a refused file has a reason that names the file and the line. A broken
// promise traps.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "config/DtFedReader.h"
#include "config/DtFomBuilder.h"
#include "util/DtNotify.h"

namespace {

void require(bool condition) {
  if (!condition) __builtin_trap();
}

class CheckingBuilder : public DtFomBuilder {
public:
  void addSpace(const char* space) override {
    require(space != nullptr);
    spaces_.insert(space);
  }
  void addDimension(const char* space, const char* dimension) override {
    require(space != nullptr && dimension != nullptr && spaces_.count(space) == 1);
  }
  void addObjClass(const char* className, const char* baseName) override {
    addClass(objectClasses_, className, baseName);
  }
  void addAttribute(const char* className, const char* attribute, DtTransportType transport, DtOrderType order,
                    const char* space) override {
    require(className != nullptr && attribute != nullptr && objectClasses_.count(className) == 1);
    requireKinds(transport, order, space);
  }
  void addInterClass(const char* className, const char* baseName, DtTransportType transport, DtOrderType order,
                     const char* space) override {
    addClass(interactionClasses_, className, baseName);
    requireKinds(transport, order, space);
  }
  void addParameter(const char* className, const char* parameter) override {
    require(className != nullptr && parameter != nullptr && interactionClasses_.count(className) == 1);
  }

private:
  static void addClass(std::set<std::string>& classes, const char* className, const char* baseName) {
    require(className != nullptr);
    if (baseName != nullptr) {
      require(classes.count(baseName) == 1);
      // The full name is the base's, a dot, then the class's own.
      const std::string full(className), base(baseName);
      require(full.size() > base.size() + 1 && full.compare(0, base.size(), base) == 0 && full[base.size()] == '.');
    }
    classes.insert(className);
  }
  static void requireKinds(DtTransportType transport, DtOrderType order, const char* space) {
    require(transport == DtReliable || transport == DtBestEffort);
    require(order == DtTimestampOrder || order == DtReceiveOrder);
    (void)(space ? std::string(space).size() : 0);
  }

  std::set<std::string> spaces_, objectClasses_, interactionClasses_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string file = [] {
    DtSetNotifyHandler(nullptr);
    DtSetNotifyLevel(-1);
    unsetenv("RTI_CONFIG");
    return "/tmp/qlx-fed-fuzz-" + std::to_string(getpid()) + ".fed";
  }();
  if (std::FILE* out = std::fopen(file.c_str(), "wb")) {
    std::fwrite(data, 1, size, out);
    std::fclose(out);
  }
  DtFedReader reader;
  CheckingBuilder builder;
  const int result = reader.readFed(file.c_str(), &builder);
  require(result == DtFedReader::accepted || result == DtFedReader::badFile);
  // A refused file is refused with a reason that names the file and a line
  // of it; an accepted one has none.
  const std::string refusal = reader.refusal();
  require((result == DtFedReader::badFile) == !refusal.empty());
  if (!refusal.empty()) require(refusal.rfind(file + ", line ", 0) == 0 && refusal.size() > file.size() + 9);
  require(reader.readFed(file.c_str(), nullptr) == result);
  require(reader.refusal() == refusal);
  return 0;
}
