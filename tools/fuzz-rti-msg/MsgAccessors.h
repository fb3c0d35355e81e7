#pragma once
// Calls the reading accessors of the message's class that the print form
// does not reach (it reads every field and part through the layout).
#include <algorithm>
#include <cstdint>

#include "msg/DtDeclarationMsgs.h"
#include "msg/DtFederationMsgs.h"
#include "msg/DtObjectMsgs.h"
#include "msg/DtOwnershipMsg.h"
#include "msg/DtRegionMsgs.h"
#include "msg/DtRegionSetMsgs.h"
#include "msg/DtRtiMsg.h"
#include "msg/DtSaveMsgs.h"
#include "msg/DtSyncPointMsg.h"
#include "msg/DtTimeMsgs.h"
#include "msg/DtUpdateMsgs.h"

template <class Msg>
const Msg* as(const DtRtiMsg& msg) {
  return dynamic_cast<const Msg*>(&msg);
}

// The sum of what they read (for the caller to keep, so that no read is
// left out).
inline long readAccessors(const DtRtiMsg& msg) {
  long sink = 0;
  if (auto* m = as<DtPubObjMsg>(msg)) sink += m->attrHandles().size();
  if (auto* m = as<DtSubObjMsg>(msg)) sink += m->attrHandles().size() + m->isPassive();
  if (auto* m = as<DtCreateMsg>(msg)) sink += *m->fedFileName();
  if (auto* m = as<DtJoinResponseMsg>(msg)) sink += *m->fedFileName() + *m->federateName();
  if (auto* m = as<DtJoinMsg>(msg)) sink += *m->federateName();
  if (auto* m = as<DtJoinConfirmMsg>(msg)) sink += *m->federateName();
  if (auto* m = as<DtResignMsg>(msg)) sink += m->resignAction() + static_cast<long>(m->resignActionNumber());
  if (auto* m = as<DtRequestMsg>(msg)) sink += m->attrHandles().size() + m->id() + m->objectClassHandle();
  if (auto* m = as<DtOwnershipMsg>(msg)) {
    sink += m->attrHandles().size() + m->tagFieldSize() + (m->tag() ? *m->tag() : 0);
    if (m->tagFieldSize() > 0) sink += m->tagPtr()[m->tagFieldSize() - 1];
  }
  if (auto* m = as<DtRegObjMsg>(msg)) sink += m->attrHandles().size() + *m->objName();
  if (auto* m = as<DtDeleteMsg>(msg)) sink += m->tag() ? *m->tag() : 0;
  if (auto* m = as<DtUpdateMsg>(msg)) {
    sink += m->attrs().size() + m->numAttrs() + *m->objName() + (m->tag() ? *m->tag() : 0) + m->channel();
    m->forEachValue([&](std::uint16_t h, const char* v, std::uint16_t n) { sink += h + (n ? v[n - 1] : 0); });
  }
  if (auto* m = as<DtInteractionMsg>(msg)) {
    sink += m->params().size() + m->numParams() + (m->tag() ? *m->tag() : 0) + m->channel();
    m->forEachValue([&](std::uint16_t h, const char* v, std::uint16_t n) { sink += h + (n ? v[n - 1] : 0); });
  }
  if (auto* m = as<DtTimeLookaheadMsg>(msg)) sink += m->lookaheadSize() + m->lookahead().encodedLength();
  if (auto* m = as<DtConstrainedEnabledMsg>(msg)) sink += m->lbts().encodedLength();
  if (auto* m = as<DtLbtsMsg>(msg)) sink += m->lagLbts().encodedLength();
  if (auto* m = as<DtResumeConstrainedMsg>(msg)) sink += m->lagLbts().encodedLength();
  if (auto* m = as<DtNerLbtsMsg>(msg)) sink += m->lagLbts().encodedLength();
  if (auto* m = as<DtSyncPointMsg>(msg)) {
    sink += m->federateHandles().size() + m->numFederates() + m->concerns(1) + m->federates()->size();
    sink += (m->tag() ? *m->tag() : 0) + (m->syncPointName() ? *m->syncPointName() : 0) + m->syncMsgKind();
  }
  if (auto* m = as<DtSaveMsg>(msg)) sink += m->label() ? *m->label() : 0;
  if (auto* m = as<DtSaveResponseMsg>(msg)) sink += m->label() ? *m->label() : 0;
  if (auto* m = as<DtRestoreBegunMsg>(msg)) sink += m->label() ? *m->label() : 0;
  if (auto* m = as<DtRestoreReplyMsg>(msg)) sink += m->label() ? *m->label() : 0;
  if (auto* m = as<DtNotifyRegMsg>(msg)) {
    // Every bound the body holds, and one past them.
    const std::uint64_t dims = m->numberDimensions();
    const std::uint64_t held = m->size() > 20 ? (m->size() - 20) / 8 : 0;
    const std::uint64_t reads = dims ? std::min<std::uint64_t>(held + 1, m->numberExtents() * dims) : 0;
    for (std::uint64_t i = 0; i < reads; ++i) {
      const auto e = static_cast<std::uint32_t>(i / dims), d = static_cast<std::uint32_t>(i % dims);
      sink += m->lowerBound(e, d) + m->upperBound(e, d);
    }
    sink += m->holdsBounds() + m->spaceHandle() + m->regionHandle();
  }
  if (auto* m = as<DtDeleteRegMsg>(msg)) sink += m->regionHandle();
  const auto regions = [&](const std::uint32_t* handles, unsigned long count, int fixed) {
    const unsigned long held = msg.size() > fixed ? static_cast<unsigned long>(msg.size() - fixed) / 4 : 0;
    for (unsigned long i = 0; handles && i < std::min(count, held); ++i) sink += handles[i];
  };
  if (auto* m = as<DtObjRegSetMsg>(msg)) regions(m->regions(), m->numberRegions(), 24);
  if (auto* m = as<DtInterRegSetMsg>(msg)) regions(m->regions(), m->numberRegions(), 28);
  if (auto* m = as<DtAssocPubRegMsg>(msg)) {
    sink += m->attrHandles().size() + *m->objName() + m->isRemoveAssociation() + m->nameFieldSize();
  }
  if (auto* m = as<DtAssocSubRegMsg>(msg)) sink += m->attrHandles().size() + m->classHandle();
  return sink;
}
