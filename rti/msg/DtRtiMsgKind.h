#pragma once
// The kinds of wire messages: header byte 4. One table, in blocks by service
// area; everything else that is per kind (names, factory entries, callback
// lists) is indexed by these numbers. Kinds 23, 24, 48 and 49 are the update
// and interaction kinds with a data-distribution channel; 42 to 44 have no
// message class; 999 never travels.

// X(number, name without the leading "Dt")
// clang-format off
#define DT_RTI_MSG_KINDS(X)                                                                            \
  /* object and interaction traffic, federate to federates */                                            \
  X(0, InteractionRoMsgKind) X(1, UpdateRoMsgKind) X(2, DeleteRoMsgKind)                                \
  /* federation management, federate <-> rtiexec */                                                      \
  X(3, CreateMsgKind) X(4, CreateResponseMsgKind) X(5, JoinMsgKind) X(6, JoinResponseMsgKind)           \
  X(7, ResignMsgKind) X(8, DestroyMsgKind) X(9, DestroyResponseMsgKind)                                  \
  /* declarations */                                                                                     \
  X(10, PubInterMsgKind) X(11, UnpubInterMsgKind) X(12, SubInterMsgKind) X(13, UnsubInterMsgKind)       \
  X(14, SubObjMsgKind) X(15, UnsubObjMsgKind) X(16, PubObjMsgKind) X(17, UnpubObjMsgKind)               \
  /* objects, synchronization points, ownership */                                                       \
  X(18, RequestMsgKind) X(19, SyncPointMsgKind) X(20, OwnershipMsgKind) X(21, RegObjMsgKind)            \
  X(22, LocDelMsgKind)                                                                                   \
  /* traffic with a data-distribution channel, and regions */                                            \
  X(23, DdmInteractionRoMsgKind) X(24, DdmUpdateRoMsgKind) X(25, NotifyRegMsgKind)                      \
  X(26, DeleteRegMsgKind) X(27, AssocPubRegMsgKind) X(28, AssocSubRegMsgKind) X(29, ObjRegSetMsgKind)   \
  X(30, InterRegSetMsgKind)                                                                              \
  /* liveness */                                                                                         \
  X(31, JoinConfirmMsgKind) X(32, AliveMsgKind)                                                          \
  /* save and restore */                                                                                 \
  X(33, SaveRequestMsgKind) X(34, SaveInitiateMsgKind) X(35, SaveCompleteMsgKind)                       \
  X(36, SaveFinishedMsgKind) X(37, RestoreRequestMsgKind) X(38, RestoreReplyMsgKind)                    \
  X(39, RestoreMsgKind) X(40, RestoreCompleteMsgKind) X(41, RestoreEndMsgKind)                          \
  /* retired: no message class */                                                                        \
  X(42, TimeRegMsgKind) X(43, RegulationRequestMsgKind) X(44, RegulationResponseMsgKind)                \
  /* time-stamp-ordered traffic */                                                                       \
  X(45, InteractionTsoMsgKind) X(46, UpdateTsoMsgKind) X(47, DeleteTsoMsgKind)                          \
  X(48, DdmInteractionTsoMsgKind) X(49, DdmUpdateTsoMsgKind)                                             \
  /* time management */                                                                                  \
  X(50, EnableRegulationMsgKind) X(51, RegulationEnabledMsgKind) X(52, EnableConstrainedMsgKind)        \
  X(53, ConstrainedEnabledMsgKind) X(54, TimeAdvanceRequestMsgKind) X(55, NextEventRequestMsgKind)      \
  X(56, LbtsMsgKind) X(57, NerLbtsMsgKind) X(58, DisableMsgKind) X(59, SyncConstrainedMsgKind)          \
  X(60, ConstrainedSyncMsgKind) X(61, ResumeConstrainedMsgKind) X(62, RetractMsgKind)                   \
  /* save and restore, continued */                                                                      \
  X(63, SaveRequestTsoMsgKind) X(64, SaveTimeMsgKind) X(65, SaveTimeAdvanceMsgKind)                     \
  X(66, SaveResponseMsgKind) X(67, RestoreBegunMsgKind) X(68, RestoreInitiateMsgKind)                   \
  X(69, DesignatedFederateMsgKind) X(70, SaveBegunMsgKind)                                               \
  /* discovery and the rtiexec's connections */                                                          \
  X(71, DiscObjMsgKind) X(72, ReqDiscObjMsgKind) X(73, ConnectMsgKind) X(74, DisconnectMsgKind)         \
  /* the rtiexec's answer to a resignation */                                                            \
  X(75, ResignResponseMsgKind)                                                                           \
  /* never travels: the kind of abstract message classes */                                              \
  X(999, InvalidMsgKind)
// clang-format on

// A plain enumeration with room for any int, so that out-of-range kinds can be
// passed (and refused) where a kind is expected.
enum DtRtiMsgKind : int {
#define DT_KIND_ENUMERATOR(number, name) Dt##name = (number),
  DT_RTI_MSG_KINDS(DT_KIND_ENUMERATOR)
#undef DT_KIND_ENUMERATOR
};

namespace DtRtiMsgKinds {

struct Entry {
  int number;
  const char* name;
};

inline constexpr Entry table[] = {
#define DT_KIND_ENTRY(number, name) {number, #name},
    DT_RTI_MSG_KINDS(DT_KIND_ENTRY)
#undef DT_KIND_ENTRY
};

constexpr bool numbersUnique() {
  for (const Entry& a : table)
    for (const Entry& b : table)
      if (&a != &b && a.number == b.number) return false;
  return true;
}
static_assert(numbersUnique(), "two message kinds share a number");

// Every travelling kind fits header byte 4 and the 255-entry tables.
constexpr bool numbersFit() {
  for (const Entry& e : table)
    if (e.number != DtInvalidMsgKind && (e.number < 0 || e.number >= 255)) return false;
  return true;
}
static_assert(numbersFit(), "a travelling message kind does not fit the tables");

// The enumerator's name without "Dt"; "UnknownMsgKind" for any other number.
const char* name(int kind);

// The kinds that carry a data-distribution channel, and their plain twins.
constexpr bool hasChannel(int kind) {
  return kind == DtDdmInteractionRoMsgKind || kind == DtDdmUpdateRoMsgKind || kind == DtDdmInteractionTsoMsgKind ||
         kind == DtDdmUpdateTsoMsgKind;
}

// The rtiexec's answers that can let a time-constrained federate deliver
// time-stamped events and advance: the datagrams already received are read
// before one of these is acted on, so that a best-effort event sent before
// the request that moved the bound is not left behind it.
constexpr bool followsDatagrams(int kind) {
  return kind == DtRegulationEnabledMsgKind || kind == DtConstrainedEnabledMsgKind || kind == DtLbtsMsgKind ||
         kind == DtNerLbtsMsgKind || kind == DtResumeConstrainedMsgKind;
}

}  // namespace DtRtiMsgKinds
