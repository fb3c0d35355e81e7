#include "net/DtDfltMsgFactory.h"

#include "net/DtDeclarationMsgs.h"
#include "net/DtFederationMsgs.h"
#include "net/DtRtiMsg.h"

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

// In increasing kind order.
const Creators theClasses[] = {
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
    entry<DtJoinConfirmMsg>(DtJoinConfirmMsgKind),
    entry<DtAliveMsg>(DtAliveMsgKind),
    entry<DtDesignatedFederateMsg>(DtDesignatedFederateMsgKind),
    entry<DtConnectMsg>(DtConnectMsgKind),
    entry<DtDisconnectMsg>(DtDisconnectMsgKind),
};

}  // namespace

DtDfltMsgFactory::DtDfltMsgFactory() {
  for (const Creators& c : theClasses)
    if (c.recv || c.send) addCreators(c.kind, c.recv, c.send);
}
