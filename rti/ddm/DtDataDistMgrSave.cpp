// The data distribution manager's share of a federation save: its record,
// the channel records and the regions, written and read back.
#include <optional>
#include <unordered_set>

#include "ddm/DtDataDistMgr.h"
#include "ddm/DtDataDistMgrPacket.h"
#include "ddm/DtInterDataDistMgr.h"
#include "ddm/DtObjectDataDistMgr.h"
#include "ddm/DtRegion.h"
#include "objects/DtFomClassMgr.h"
#include "save/DtRtiSaveFile.h"
#include "util/DtNotify.h"

namespace {

constexpr const char* theRefusal = "DataDistMgr received an incorrect save packet, restore aborted\n";

bool writeChannels(DtRtiSaveFile& file, const std::vector<DtDdmChannels::Filed>& channels) {
  for (const DtDdmChannels::Filed& filed : channels) {
    const std::optional<DtSavePacketBuilder> record =
        DtRegionChannelPacket::build(filed.interactionClass, filed.channel, filed.sets);
    if (!record || !file.writePacket(*record)) return false;
  }
  return true;
}

}  // namespace

// What a save file holds for the manager, read whole before any of it is
// taken.
struct DtDataDistMgr::Restored {
  std::uint32_t nextChannel = 0;
  std::uint32_t regionCounter = 0;
  std::vector<DtDdmChannels::Filed> interactionChannels;
  std::vector<DtDdmChannels::Filed> objectChannels;
  std::vector<std::unique_ptr<DtRegion>> local;
  std::vector<std::pair<std::uint32_t, std::unique_ptr<DtRegion>>> remote;  // by federate
};

bool DtDataDistMgr::save(DtRtiSaveFile& file) const {
  using Record = DtDataDistMgrPacket;
  const std::vector<DtDdmChannels::Filed> interactions = channels_.interactionChannels();
  const std::vector<DtDdmChannels::Filed> objects = channels_.objectChannels();
  DtSavePacketBuilder record(Record::theType, Record::theLength);
  record.setU32(Record::nextChannelAt, channels_.nextChannel());
  record.setU32(Record::regionCounterAt, regionCounter_);
  record.setU32(Record::localRegionsAt, local_.size());
  record.setU32(Record::remoteRegionsAt, remote_.size());
  record.setU32(Record::interactionChannelsAt, static_cast<std::uint32_t>(interactions.size()));
  record.setU32(Record::objectChannelsAt, static_cast<std::uint32_t>(objects.size()));
  if (!file.writePacket(record) || !writeChannels(file, interactions) || !writeChannels(file, objects)) return false;
  for (const LocalRegion& entry : local_) {
    if (!entry.region->save(file, 0)) return false;
  }
  for (const FederateRegions& federate : byFederate_) {
    for (const std::uint32_t handle : federate.regions) {
      if (!remoteRegion(handle)->save(file, federate.handle)) return false;
    }
  }
  return true;
}

bool DtDataDistMgr::readSaved(DtRtiSaveFile& file, Restored& restored) const {
  using Record = DtDataDistMgrPacket;
  const auto refuse = [] {
    DtNotifyError("%s", theRefusal);
    return false;
  };
  const DtSavePacket* record = file.readNextPacket();
  if (!record || !Record::complete(*record)) return refuse();
  restored.nextChannel = record->u32(Record::nextChannelAt);
  restored.regionCounter = record->u32(Record::regionCounterAt);
  const std::uint32_t localCount = record->u32(Record::localRegionsAt);
  const std::uint32_t remoteCount = record->u32(Record::remoteRegionsAt);
  const std::uint32_t interactionCount = record->u32(Record::interactionChannelsAt);
  const std::uint32_t objectCount = record->u32(Record::objectChannelsAt);

  // The counts are believed only as far as the file holds the records.
  const auto readChannels = [&](std::uint32_t count, bool interaction, std::vector<DtDdmChannels::Filed>& into) {
    for (std::uint32_t i = 0; i < count; ++i) {
      const DtSavePacket* channel = file.readNextPacket();
      if (!channel || !DtRegionChannelPacket::complete(*channel)) return false;
      const std::uint32_t classHandle = channel->u32(DtRegionChannelPacket::classAt);
      if (interaction && fom_ && !fom_->interactionByHandle(classHandle)) return false;
      into.push_back({interaction ? classHandle : 0, channel->u32(DtRegionChannelPacket::channelAt),
                      DtRegionChannelPacket::sets(*channel)});
    }
    return true;
  };
  if (!readChannels(interactionCount, true, restored.interactionChannels) ||
      !readChannels(objectCount, false, restored.objectChannels)) {
    return refuse();
  }

  // A region restored prints the refusal itself when it cannot be.
  if ((localCount > 0 || remoteCount > 0) && !fom_) return refuse();
  std::unordered_set<std::uint32_t> localHandles;
  std::unordered_set<std::uint32_t> remoteHandles;
  const auto readRegion = [&](std::unordered_set<std::uint32_t>& seen, std::uint32_t& tag) {
    auto region = std::make_unique<DtRegion>();
    if (!region->restore(file, tag, *fom_)) return std::unique_ptr<DtRegion>();
    // Handle 0 is the default region, which is never saved.
    if (region->handle() == 0 || !seen.insert(region->handle()).second) {
      refuse();
      return std::unique_ptr<DtRegion>();
    }
    return region;
  };
  for (std::uint32_t i = 0; i < localCount; ++i) {
    std::uint32_t tag = 0;
    std::unique_ptr<DtRegion> region = readRegion(localHandles, tag);
    if (!region) return false;
    if (tag != 0) return refuse();
    restored.local.push_back(std::move(region));
  }
  for (std::uint32_t i = 0; i < remoteCount; ++i) {
    std::uint32_t federate = 0;
    std::unique_ptr<DtRegion> region = readRegion(remoteHandles, federate);
    if (!region) return false;
    restored.remote.emplace_back(federate, std::move(region));
  }
  return true;
}

bool DtDataDistMgr::restore(DtRtiSaveFile& file) {
  Restored restored;
  if (!readSaved(file, restored)) return false;
  takeRestored(restored);
  return true;
}

void DtDataDistMgr::takeRestored(Restored& restored) {
  // The halves' region sets point at the regions about to go: they go
  // first. The groups of the channels in use are left, and those the save
  // had in use are joined again as their sets are filed.
  if (interMgr_) interMgr_->destroyRegionLists();
  if (objMgr_) objMgr_->destroyRegionLists();
  channels_.clear(true);
  destroyLists();
  channels_.setNextChannel(restored.nextChannel);
  regionCounter_ = restored.regionCounter;
  for (const DtDdmChannels::Filed& filed : restored.interactionChannels) {
    for (const std::uint32_t set : filed.sets) joinInteractionRegionSet(filed.channel, filed.interactionClass, set);
  }
  for (const DtDdmChannels::Filed& filed : restored.objectChannels) {
    for (const std::uint32_t set : filed.sets) joinObjectRegionSet(filed.channel, set);
  }
  for (std::unique_ptr<DtRegion>& region : restored.local) addLocalRegion(std::move(region));
  for (auto& [federate, region] : restored.remote) addRemoteRegion(std::move(region), federate);
  // The object half's default sets, over the default region, are there
  // whenever the federate is joined.
  if (objMgr_) objMgr_->setDdmMgr(this);
}
