#include "objects/DtMtallySet.h"

#include "save/DtSavePackets.h"

namespace {

// The order of the counts in a save record.
struct SavedCount {
  RTI::Boolean received;
  DtTransportType transport;
};
constexpr SavedCount savedCounts[] = {{RTI::RTI_FALSE, DtBestEffort},
                                      {RTI::RTI_FALSE, DtReliable},
                                      {RTI::RTI_TRUE, DtBestEffort},
                                      {RTI::RTI_TRUE, DtReliable}};

}  // namespace

void DtMtallySet::saveTo(DtSavePacketBuilder& record, std::uint32_t at) const {
  for (const SavedCount& count : savedCounts) {
    record.setU32(at, static_cast<std::uint32_t>(counts_[index(count.received, count.transport)]));
    at += 4;
  }
}

void DtMtallySet::restoreFrom(const DtSavePacket& record, std::uint32_t at) {
  for (const SavedCount& count : savedCounts) {
    counts_[index(count.received, count.transport)] = static_cast<std::int32_t>(record.u32(at));
    at += 4;
  }
}
