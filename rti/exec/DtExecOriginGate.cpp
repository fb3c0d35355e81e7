#include "exec/DtExecOriginGate.h"

#include <string>

#include "exec/DtFedExec.h"
#include "exec/DtFederate.h"
#include "msg/DtRtiMsg.h"
#include "msg/DtRtiMsgKind.h"
#include "msg/DtSyncPointMsg.h"
#include "net/DtNetAddress.h"
#include "util/DtNoticeLimiter.h"
#include "util/DtNotify.h"

bool DtExecOriginGate::isFederatesOwn(const DtRtiMsg& msg) {
  switch (msg.msgKind()) {
    case DtSyncPointMsgKind: {
      // The rtiexec's own announcements come back in datagrams.
      const int sub = static_cast<const DtSyncPointMsg&>(msg).syncMsgKind();
      return sub == DtRegister || sub == DtAchieved;
    }
    case DtResignMsgKind:
    case DtOwnershipMsgKind:
    case DtJoinConfirmMsgKind:
    case DtAliveMsgKind:
    case DtSaveRequestMsgKind:
    case DtSaveCompleteMsgKind:
    case DtRestoreRequestMsgKind:
    case DtRestoreCompleteMsgKind:
    case DtEnableRegulationMsgKind:
    case DtEnableConstrainedMsgKind:
    case DtTimeAdvanceRequestMsgKind:
    case DtNextEventRequestMsgKind:
    case DtDisableMsgKind:
    case DtConstrainedSyncMsgKind:
    case DtSaveRequestTsoMsgKind:
    case DtSaveTimeAdvanceMsgKind:
    case DtRestoreBegunMsgKind:
    case DtSaveBegunMsgKind: return true;
    default: return false;
  }
}

bool DtExecOriginGate::comesFrom(const DtMsgOrigin& joined, const DtMsgOrigin& origin) {
  if (joined.reliable) return joined.connection == 0 || (origin.reliable && origin.connection == joined.connection);
  if (joined.address == 0 && joined.connection == 0) return true;
  if (origin.reliable) return joined.connection != 0 && origin.connection == joined.connection;
  return origin.address == joined.address;
}

bool DtExecOriginGate::admit(const DtRtiMsg& msg) {
  if (!isFederatesOwn(msg)) return true;
  const unsigned long federate = msg.federateHandle();
  const DtMsgOrigin origin = links_.originOf(msg);
  if (msg.msgKind() == DtSyncPointMsgKind && static_cast<const DtSyncPointMsg&>(msg).federateId() != federate) {
    return refuse(msg, origin, "a synchronization point message naming another federate than its sender");
  }
  if (federate == 0) return true;
  bool known = false;
  for (DtFedExec* execution : executions_()) {
    if (!msg.isForExec(execution->fedExName(), execution->fedExHandle())) continue;
    if (execution->restoreInProgress()) {
      // The federates change their handles: the forwarder's bindings alone
      // say who speaks for which.
      known = true;
      continue;
    }
    const DtFederate* joined = execution->getFederate(federate);
    const DtMsgOrigin* from = joined ? &joined->origin() : execution->pendingJoinOrigin(federate);
    if (!from) continue;
    known = true;
    if (!comesFrom(*from, origin)) return refuse(msg, origin, "a message in a federate's name from elsewhere");
  }
  if (known || origin.reliable) return true;
  ++unknown_;
  DtNotifyVerbose("rtiexec: a datagram of kind %d names federate %lu, which no execution knows: dropped\n",
                  static_cast<int>(msg.msgKind()), federate);
  return false;
}

bool DtExecOriginGate::refuse(const DtRtiMsg& msg, const DtMsgOrigin& origin, const char* why) {
  ++refused_;
  const std::string from = origin.reliable ? "connection " + std::to_string(origin.connection)
                                           : std::string("a datagram from ") + DtAddrToString(origin.address);
  const std::string reason = std::string("refused ") + why + " (kind " + std::to_string(msg.msgKind()) + ", federate " +
                             std::to_string(msg.federateHandle()) + ")";
  // At most once a second for each fault and kind.
  DtNotifyErrorLimited(std::string(why) + std::to_string(msg.msgKind()), "rtiexec: %s: %s; %llu refused so far\n",
                       from.c_str(), reason.c_str(), static_cast<unsigned long long>(refused_));
  if (origin.reliable && origin.connection != 0) links_.close(origin.connection, reason);
  return false;
}
