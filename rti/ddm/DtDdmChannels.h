#pragma once
// DtDdmChannels: the multicast channels of data distribution. It hands out
// channels, multicast group addresses between RTI_minChannelAddr and
// RTI_maxChannelAddr, one for each new publication region set, round robin
// and never given back; and it keeps which object and interaction region
// sets use which channel, so that the federate belongs to a channel's group
// exactly while some region set, object or interaction (of any class), is
// filed under it. Channel 0 is filed like any other but never joined.
//
// Region sets are filed under the channel in the object table, and under
// the channel and their interaction class in the interaction table; each
// table and list keeps the order things were filed in, which the save
// records follow.
//
// Used on the federate's thread only.

#include <cstdint>
#include <vector>

#include "ddm/DtHandleIndex.h"

class DtConnectionMgr;

class DtDdmChannels {
public:
  // The region sets filed under one channel (and one interaction class).
  struct Filed {
    std::uint32_t interactionClass;  // 0 in the object table
    std::uint32_t channel;
    std::vector<std::uint32_t> sets;
  };

  // Channels from min to max (host order); the connection manager joins and
  // leaves the groups (none: nothing is joined).
  DtDdmChannels(DtConnectionMgr* connectMgr, std::uint32_t minChannel, std::uint32_t maxChannel);
  DtDdmChannels(const DtDdmChannels&) = delete;
  DtDdmChannels& operator=(const DtDdmChannels&) = delete;

  // The next channel, which then advances (past the last, to the first). 0
  // once the next channel is 0: no channels are handed out then.
  std::uint32_t freeChannel();
  std::uint32_t nextChannel() const { return next_; }
  void setNextChannel(std::uint32_t channel) { next_ = channel; }

  // File or take out a region set; the group is joined as the channel's
  // first set comes into either table and left as its last one goes.
  void joinObjectRegionSet(std::uint32_t channel, std::uint32_t regionSet);
  void dropObjectRegionSet(std::uint32_t channel, std::uint32_t regionSet);
  void joinInteractionRegionSet(std::uint32_t channel, std::uint32_t interactionClass, std::uint32_t regionSet);
  void dropInteractionRegionSet(std::uint32_t channel, std::uint32_t interactionClass, std::uint32_t regionSet);

  // Whether some region set is filed under the channel, so that its group
  // is joined (channel 0: never joined).
  bool inUse(std::uint32_t channel) const;
  // Empties both tables; with leave, the groups joined are left first.
  void clear(bool leave);

  // What is filed, in filing order: per channel and interaction class, and
  // per channel.
  std::vector<Filed> interactionChannels() const;
  std::vector<Filed> objectChannels() const;

private:
  struct ObjectChannel {
    std::uint32_t handle;  // the channel
    std::vector<std::uint32_t> sets;
  };
  struct ClassSets {
    std::uint32_t handle;  // the interaction class
    std::vector<std::uint32_t> sets;
  };
  struct InteractionChannel {
    std::uint32_t handle;  // the channel
    DtHandleIndex<ClassSets> classes;
  };

  // The group of a channel that came into, or left, one table.
  void arrived(std::uint32_t channel, bool inOtherTable);
  void left(std::uint32_t channel, bool inOtherTable);

  DtConnectionMgr* connectMgr_;
  std::uint32_t min_;
  std::uint32_t max_;
  std::uint32_t next_;
  DtHandleIndex<ObjectChannel> objects_;
  DtHandleIndex<InteractionChannel> interactions_;
};
