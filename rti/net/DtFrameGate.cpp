#include "net/DtFrameGate.h"

#include <algorithm>
#include <cstring>

#include "msg/DtNetMsgHeader.h"
#include "msg/DtRtiMsgKind.h"

bool DtFrameGate::isFederateTraffic(int kind) {
  switch (kind) {
    case DtInteractionRoMsgKind:
    case DtUpdateRoMsgKind:
    case DtDeleteRoMsgKind:
    case DtDdmInteractionRoMsgKind:
    case DtDdmUpdateRoMsgKind:
    case DtInteractionTsoMsgKind:
    case DtUpdateTsoMsgKind:
    case DtDeleteTsoMsgKind:
    case DtDdmInteractionTsoMsgKind:
    case DtDdmUpdateTsoMsgKind: return true;
    default: return false;
  }
}

bool DtFrameGate::isRequestToTheRtiexec(int kind) {
  // A federate's synchronization point messages register and achieve
  // points; its time management messages ask for regulation, constraint
  // and advances, and answer the constrained sync.
  switch (kind) {
    case DtCreateMsgKind:
    case DtJoinMsgKind:
    case DtDestroyMsgKind:
    case DtJoinConfirmMsgKind:
    case DtAliveMsgKind:
    case DtSyncPointMsgKind:
    case DtEnableRegulationMsgKind:
    case DtEnableConstrainedMsgKind:
    case DtTimeAdvanceRequestMsgKind:
    case DtNextEventRequestMsgKind:
    case DtDisableMsgKind:
    case DtConstrainedSyncMsgKind: return true;
    default: return false;
  }
}

bool DtFrameGate::isMadeByTheRtiexecOnly(int kind) {
  switch (kind) {
    case DtCreateResponseMsgKind:
    case DtJoinResponseMsgKind:
    case DtDestroyResponseMsgKind:
    case DtResignResponseMsgKind:
    case DtSaveInitiateMsgKind:
    case DtSaveFinishedMsgKind:
    case DtRestoreReplyMsgKind:
    case DtRestoreMsgKind:
    case DtRestoreEndMsgKind:
    case DtRegulationEnabledMsgKind:
    case DtConstrainedEnabledMsgKind:
    case DtLbtsMsgKind:
    case DtNerLbtsMsgKind:
    case DtSyncConstrainedMsgKind:
    case DtResumeConstrainedMsgKind:
    case DtSaveTimeMsgKind:
    case DtSaveResponseMsgKind:
    case DtRestoreInitiateMsgKind:
    case DtDesignatedFederateMsgKind:
    case DtConnectMsgKind:
    case DtDisconnectMsgKind: return true;
    default: return false;
  }
}

bool DtFrameGate::isAskedBeforeJoining(int kind) {
  return kind == DtCreateMsgKind || kind == DtJoinMsgKind || kind == DtDestroyMsgKind;
}

bool DtFrameGate::namesExecution(const DtNetMsgHeader& header, const DtLinkBinding& binding) {
  if (header.hasNameForm()) {
    const char* name = header.bytes() + DtNetMsgHeader::execOffset;
    return std::strncmp(name, binding.execName, sizeof binding.execName) == 0;
  }
  return header.fedExHandle() != 0 && header.fedExHandle() == binding.execHandle;
}

const char* DtFrameGate::refusal(const DtNetMsgHeader& header, std::span<const DtLinkBinding> bindings) {
  const int kind = header.kind();
  if (isMadeByTheRtiexecOnly(kind)) return "a message that only the rtiexec makes";
  if (isAskedBeforeJoining(kind)) return nullptr;
  if (bindings.empty()) return "a message before joining an execution";
  const std::uint16_t federate = header.federate();
  const bool own = std::any_of(bindings.begin(), bindings.end(), [&](const DtLinkBinding& binding) {
    return (federate == 0 || binding.federate == federate) && namesExecution(header, binding);
  });
  if (own) return nullptr;
  return federate == 0 ? "a message for an execution it has not joined" : "a message in another federate's name";
}

bool DtFrameGate::hears(const DtNetMsgHeader& header, std::span<const DtLinkBinding> bindings) {
  if (bindings.empty()) return false;
  if (!header.hasNameForm() && header.fedExHandle() == 0) return true;
  return std::any_of(bindings.begin(), bindings.end(),
                     [&](const DtLinkBinding& binding) { return namesExecution(header, binding); });
}
