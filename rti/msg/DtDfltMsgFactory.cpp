#include "msg/DtDfltMsgFactory.h"

#include <iterator>

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

namespace {

struct Creators {
  DtRtiMsgKind kind;
  DtRtiMsgRecvCreator recv;
  DtRtiMsgSendCreator send;
};

template <class Msg>
constexpr Creators entry(DtRtiMsgKind kind) {
  return {kind, static_cast<DtRtiMsgRecvCreator>(&Msg::create), static_cast<DtRtiMsgSendCreator>(&Msg::create)};
}

// In increasing kind order; every kind with a class appears once, checked below.
constexpr Creators theClasses[] = {
    entry<DtInteractionRoMsg>(DtInteractionRoMsgKind),
    entry<DtUpdateRoMsg>(DtUpdateRoMsgKind),
    entry<DtDeleteRoMsg>(DtDeleteRoMsgKind),
    entry<DtCreateMsg>(DtCreateMsgKind),
    entry<DtCreateResponseMsg>(DtCreateResponseMsgKind),
    entry<DtJoinMsg>(DtJoinMsgKind),
    entry<DtJoinResponseMsg>(DtJoinResponseMsgKind),
    entry<DtResignMsg>(DtResignMsgKind),
    entry<DtDestroyMsg>(DtDestroyMsgKind),
    entry<DtDestroyResponseMsg>(DtDestroyResponseMsgKind),
    entry<DtPubInterMsg>(DtPubInterMsgKind),
    entry<DtUnpubInterMsg>(DtUnpubInterMsgKind),
    entry<DtSubInterMsg>(DtSubInterMsgKind),
    entry<DtUnsubInterMsg>(DtUnsubInterMsgKind),
    entry<DtSubObjMsg>(DtSubObjMsgKind),
    entry<DtUnsubObjMsg>(DtUnsubObjMsgKind),
    entry<DtPubObjMsg>(DtPubObjMsgKind),
    entry<DtUnpubObjMsg>(DtUnpubObjMsgKind),
    entry<DtRequestMsg>(DtRequestMsgKind),
    entry<DtSyncPointMsg>(DtSyncPointMsgKind),
    entry<DtOwnershipMsg>(DtOwnershipMsgKind),
    entry<DtRegObjMsg>(DtRegObjMsgKind),
    entry<DtLocDelMsg>(DtLocDelMsgKind),
    entry<DtInteractionRoMsg>(DtDdmInteractionRoMsgKind),
    entry<DtUpdateRoMsg>(DtDdmUpdateRoMsgKind),
    entry<DtNotifyRegMsg>(DtNotifyRegMsgKind),
    entry<DtDeleteRegMsg>(DtDeleteRegMsgKind),
    entry<DtAssocPubRegMsg>(DtAssocPubRegMsgKind),
    entry<DtAssocSubRegMsg>(DtAssocSubRegMsgKind),
    entry<DtObjRegSetMsg>(DtObjRegSetMsgKind),
    entry<DtInterRegSetMsg>(DtInterRegSetMsgKind),
    entry<DtJoinConfirmMsg>(DtJoinConfirmMsgKind),
    entry<DtAliveMsg>(DtAliveMsgKind),
    entry<DtSaveRequestMsg>(DtSaveRequestMsgKind),
    entry<DtSaveInitiateMsg>(DtSaveInitiateMsgKind),
    entry<DtSaveCompleteMsg>(DtSaveCompleteMsgKind),
    entry<DtSaveFinishedMsg>(DtSaveFinishedMsgKind),
    entry<DtRestoreRequestMsg>(DtRestoreRequestMsgKind),
    entry<DtRestoreReplyMsg>(DtRestoreReplyMsgKind),
    entry<DtRestoreMsg>(DtRestoreMsgKind),
    entry<DtRestoreCompleteMsg>(DtRestoreCompleteMsgKind),
    entry<DtRestoreEndMsg>(DtRestoreEndMsgKind),
    // 42 to 44 are retired.
    entry<DtInteractionTsoMsg>(DtInteractionTsoMsgKind),
    entry<DtUpdateTsoMsg>(DtUpdateTsoMsgKind),
    entry<DtDeleteTsoMsg>(DtDeleteTsoMsgKind),
    entry<DtInteractionTsoMsg>(DtDdmInteractionTsoMsgKind),
    entry<DtUpdateTsoMsg>(DtDdmUpdateTsoMsgKind),
    entry<DtEnableRegulationMsg>(DtEnableRegulationMsgKind),
    entry<DtRegulationEnabledMsg>(DtRegulationEnabledMsgKind),
    entry<DtEnableConstrainedMsg>(DtEnableConstrainedMsgKind),
    entry<DtConstrainedEnabledMsg>(DtConstrainedEnabledMsgKind),
    entry<DtTimeAdvanceRequestMsg>(DtTimeAdvanceRequestMsgKind),
    entry<DtNextEventRequestMsg>(DtNextEventRequestMsgKind),
    entry<DtLbtsMsg>(DtLbtsMsgKind),
    entry<DtNerLbtsMsg>(DtNerLbtsMsgKind),
    entry<DtDisableMsg>(DtDisableMsgKind),
    entry<DtSyncConstrainedMsg>(DtSyncConstrainedMsgKind),
    entry<DtConstrainedSyncMsg>(DtConstrainedSyncMsgKind),
    entry<DtResumeConstrainedMsg>(DtResumeConstrainedMsgKind),
    entry<DtRetractMsg>(DtRetractMsgKind),
    entry<DtSaveRequestTsoMsg>(DtSaveRequestTsoMsgKind),
    entry<DtSaveTimeMsg>(DtSaveTimeMsgKind),
    entry<DtSaveTimeAdvanceMsg>(DtSaveTimeAdvanceMsgKind),
    entry<DtSaveResponseMsg>(DtSaveResponseMsgKind),
    entry<DtRestoreBegunMsg>(DtRestoreBegunMsgKind),
    entry<DtRestoreInitiateMsg>(DtRestoreInitiateMsgKind),
    entry<DtDesignatedFederateMsg>(DtDesignatedFederateMsgKind),
    entry<DtSaveBegunMsg>(DtSaveBegunMsgKind),
    entry<DtDiscObjMsg>(DtDiscObjMsgKind),
    entry<DtReqDiscObjMsg>(DtReqDiscObjMsgKind),
    entry<DtConnectMsg>(DtConnectMsgKind),
    entry<DtDisconnectMsg>(DtDisconnectMsgKind),
    entry<DtResignResponseMsg>(DtResignResponseMsgKind),
};

constexpr bool strictlyIncreasing() {
  for (std::size_t i = 1; i < std::size(theClasses); ++i)
    if (theClasses[i].kind <= theClasses[i - 1].kind) return false;
  return true;
}
static_assert(strictlyIncreasing(), "a kind is registered twice or out of order");

}  // namespace

DtDfltMsgFactory::DtDfltMsgFactory() {
  for (const Creators& c : theClasses)
    if (c.recv || c.send) addCreators(c.kind, c.recv, c.send);
}
