// libFuzzer target: any bytes as the save record of a MOM object, read back
// by the Manager.Federation and the Manager.Federate publishers of a
// federate, or as the MOM manager's own record (type 9): the first byte
// picks which. A manager's record that is taken writes out as the same
// bytes, its unread byte 11 as 0, and reads back the same. A record that a publisher takes is
// filed with the object manager under its handle and writes out as a record
// that a fresh publisher takes again and writes out unchanged; a record that
// it refuses changes nothing: the same object, the same record.
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "config/DtFedReader.h"
#include "mom/DtMomFederatePublisher.h"
#include "mom/DtMomFederationPublisher.h"
#include "mom/DtMomMgrRecord.h"
#include "net/DtConnectionMgr.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtObjectMgr.h"
#include "objects/DtRtiObject.h"
#include "save/DtSavePackets.h"
#include "util/DtNotify.h"
#include "util/DtNotifyHandler.h"

namespace {

void require(bool condition) {
  if (!condition) __builtin_trap();
}

class Quiet : public DtNotifyHandler {
public:
  void notify(const char*, int) override {}
};

const DtFomClassMgr& model() {
  static const std::unique_ptr<DtFomClassMgr> fom = [] {
    DtSetNotifyHandler(new Quiet);
    DtFedReader reader;
    auto loaded = DtFomClassMgr::loadFed(reader, QLX_SOURCE_ROOT "/rti/config/sample.fed", nullptr);
    require(loaded != nullptr);
    return loaded;
  }();
  return *fom;
}

std::string recordOf(const DtMomPublisher& publisher) {
  std::string bytes(publisher.encodedLength(), '\0');
  publisher.encode(bytes.data());
  return bytes;
}

// One federate's MOM objects. The state records never read a value here:
// no inspector.
struct Federate {
  Federate() : fom(model()), objects(&conn, &fom, nullptr) {
    federation = std::make_unique<DtMomFederationPublisher>(&conn, &fom, &objects, nullptr);
    federate = std::make_unique<DtMomFederatePublisher>(&conn, &fom, &objects, nullptr, 3, 0);
  }
  DtMomPublisher& pick(bool ofFederate) const {
    return ofFederate ? static_cast<DtMomPublisher&>(*federate) : *federation;
  }

  DtConnectionMgr conn;
  DtFomClassMgr fom;
  DtObjectMgr objects;
  std::unique_ptr<DtMomFederationPublisher> federation;
  std::unique_ptr<DtMomFederatePublisher> federate;
};

void checkManagerRecord(std::span<const char> record) {
  const std::optional<DtMomMgrRecord> taken = DtMomMgrRecord::decode(DtSavePacket(record));
  if (!taken) return;
  const DtSavePacketBuilder written = taken->encode();
  std::string expected(record.data(), record.size());
  require(expected.size() == DtMomMgrRecord::Layout::theLength);
  expected[11] = '\0';
  require(std::string(written.bytes().data(), written.bytes().size()) == expected);
  const std::optional<DtMomMgrRecord> again = DtMomMgrRecord::decode(written.packet());
  require(again && again->serviceReporting == taken->serviceReporting &&
          again->exceptionLogging == taken->exceptionLogging && again->exceptionReports == taken->exceptionReports &&
          again->nextAlertId == taken->nextAlertId);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool ofFederate = (data[0] & 1) != 0;
  const std::span<const char> record(reinterpret_cast<const char*>(data) + 1, size - 1);
  if ((data[0] & 2) != 0) {
    checkManagerRecord(record);
    return 0;
  }

  Federate first;
  DtMomPublisher& publisher = first.pick(ofFederate);
  const DtRtiObject* before = publisher.object();
  const std::string saved = recordOf(publisher);
  if (!publisher.decode(DtSavePacket(record))) {
    require(publisher.object() == before);
    require(recordOf(publisher) == saved);
    return 0;
  }
  const DtRtiObject* restored = publisher.object();
  require(restored != nullptr);
  require(first.objects.allObj(restored->objHandle()) == restored);
  const std::string written = recordOf(publisher);

  Federate second;
  DtMomPublisher& again = second.pick(ofFederate);
  require(again.decode(DtSavePacket(std::span<const char>(written.data(), written.size()))));
  require(recordOf(again) == written);
  return 0;
}

// Seeds: both objects' records as a federate writes them.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  Federate seed;
  for (const bool ofFederate : {false, true}) {
    const std::string bytes = std::string(1, ofFederate ? '\1' : '\0') + recordOf(seed.pick(ofFederate));
    const std::string name = std::string("corpus/seed-") + (ofFederate ? "federate" : "federation");
    if (std::FILE* out = std::fopen(name.c_str(), "wb")) {
      std::fwrite(bytes.data(), 1, bytes.size(), out);
      std::fclose(out);
    }
  }
  DtMomMgrRecord manager;
  manager.exceptionReports = 1;
  manager.nextAlertId = 4;
  const DtSavePacketBuilder record = manager.encode();
  if (std::FILE* out = std::fopen("corpus/seed-manager", "wb")) {
    std::fputc('\2', out);
    std::fwrite(record.bytes().data(), 1, record.bytes().size(), out);
    std::fclose(out);
  }
  return 0;
}
