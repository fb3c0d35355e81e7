#include "ddm/DtInterDdmRecords.h"

#include <set>
#include <tuple>

#include "objects/DtFomClassMgr.h"
#include "save/DtRtiSaveFile.h"
#include "util/DtNotify.h"

namespace {

constexpr const char* theRefusal = "DDMIntMgr received an incorrect save packet, restore aborted\n";

constexpr std::uint32_t kindAt = 8, setAt = 12, federateAt = 16, classAt = 20, addressAt = 24, countAt = 28;
constexpr std::uint32_t classesAt = 8, pubCounterAt = 12, subCounterAt = 16;
// Not a kind: the key of the local subscription and passive sets' handles.
constexpr std::uint32_t theHandleKey = 100;

}  // namespace

DtSavePacketBuilder DtInterDdmRecords::header(std::uint32_t classes, std::uint32_t pubCounter,
                                              std::uint32_t subCounter) {
  DtSavePacketBuilder record(theHeaderType, theHeaderLength + 8 * classes);
  record.setU32(classesAt, classes);
  record.setU32(pubCounterAt, pubCounter);
  record.setU32(subCounterAt, subCounter);
  return record;
}

std::optional<DtSavePacketBuilder> DtInterDdmRecords::setRecord(const DtInterRegionSetRecord& set) {
  const std::uint64_t length = theSetLength + 4 * std::uint64_t{set.regions.size()};
  if (length > 0x7FFFFFFF) return std::nullopt;
  DtSavePacketBuilder record(theSetType, static_cast<std::uint32_t>(length));
  record.setU32(kindAt, set.kind);
  record.setU32(setAt, set.setHandle);
  record.setU32(federateAt, set.federate);
  record.setU32(classAt, set.classHandle);
  record.setU32(addressAt, set.address);
  record.setU32(countAt, static_cast<std::uint32_t>(set.regions.size()));
  record.setU32s(theSetLength, set.regions);
  return record;
}

bool DtInterDdmRecords::readHeader(const DtSavePacket& record, const DtFomClassMgr& fom, DtInterDdmSaved& saved) {
  if (record.type() != theHeaderType || !record.whole(theHeaderLength)) return false;
  const std::uint32_t classes = record.u32(classesAt);
  if (theHeaderLength + 8 * std::uint64_t{classes} != record.size()) return false;
  if (static_cast<std::int64_t>(classes) != fom.numInteractions()) return false;
  saved.pubCounter = record.u32(pubCounterAt);
  saved.subCounter = record.u32(subCounterAt);
  return true;
}

std::optional<DtInterRegionSetRecord> DtInterDdmRecords::readSet(const DtSavePacket& record, const DtFomClassMgr& fom) {
  if (record.type() != theSetType || !record.whole(theSetLength)) return std::nullopt;
  DtInterRegionSetRecord set;
  set.kind = record.u32(kindAt);
  const std::uint32_t count = record.u32(countAt);
  if (set.kind > DT_REMOTE_SUBSCRIBE || theSetLength + 4 * std::uint64_t{count} != record.size()) {
    return std::nullopt;
  }
  set.setHandle = record.u32(setAt);
  set.federate = record.u32(federateAt);
  set.classHandle = record.u32(classAt);
  set.address = record.u32(addressAt);
  if (set.kind == DT_END_REGION_SETS) return set;
  if (!fom.interactionByHandle(set.classHandle)) return std::nullopt;
  set.regions = record.u32s(theSetLength, count);
  return set;
}

std::optional<DtInterDdmSaved> DtInterDdmRecords::read(DtRtiSaveFile& file, const DtFomClassMgr& fom) {
  const auto refuse = [] {
    DtNotifyError("%s", theRefusal);
    return std::nullopt;
  };
  DtInterDdmSaved saved;
  const DtSavePacket* record = file.readNextPacket();
  if (!record || !readHeader(*record, fom, saved)) return refuse();
  // A set saved twice would be filed twice, and two sets that could pair
  // with one publication set under one handle would leave it a dangling
  // partner: one set of a kind per class (local subscription and passive
  // sets), one handle per local subscription or passive set (the default
  // ones, 0 and 1, their own), per remote publication set and per local
  // publication set of a class, one remote subscription set per federate
  // and class.
  std::set<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>> seen;
  const auto once = [&seen](std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    return seen.insert({a, b, c}).second;
  };
  for (;;) {
    record = file.readNextPacket();
    if (!record) return refuse();
    std::optional<DtInterRegionSetRecord> set = readSet(*record, fom);
    if (!set) return refuse();
    if (set->kind == DT_END_REGION_SETS) return saved;
    bool fresh = true;
    switch (set->kind) {
      case DT_LOCAL_PUBLISH: fresh = once(DT_LOCAL_PUBLISH, set->classHandle, set->setHandle); break;
      case DT_REMOTE_PUBLISH: fresh = once(DT_REMOTE_PUBLISH, 0, set->setHandle); break;
      case DT_REMOTE_SUBSCRIBE: fresh = once(DT_REMOTE_SUBSCRIBE, set->classHandle, set->federate); break;
      default: {
        const std::uint32_t ownDefault = set->kind == DT_LOCAL_SUBSCRIBE ? 0 : 1;
        fresh = (set->setHandle > 1 || set->setHandle == ownDefault) && once(set->kind, set->classHandle, 0) &&
                (set->setHandle <= 1 || once(theHandleKey, 0, set->setHandle));
        break;
      }
    }
    if (!fresh) return refuse();
    saved.sets.push_back(std::move(*set));
  }
}
