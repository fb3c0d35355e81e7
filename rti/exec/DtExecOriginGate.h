#pragma once
// DtExecOriginGate: the rtiexec's look at every received message before it
// is handled: a message that a federate sends in its own name (its
// resignation, join confirmation, heartbeat, synchronization point,
// ownership, save, restore and time messages) is taken only from where
// that federate's join came from: from its connection when it joined on
// one (a datagram naming it is refused, whatever its sender), else from a
// datagram of the address it joined from. A synchronization point message
// must name in its body the federate its header names. A refused message
// is counted and reported at most once a second, and the connection that
// sent it (if any) is closed.
//
// A datagram naming a federate that no execution knows is dropped quietly
// (a federate's late heartbeat after its resignation, the rtiexec's own
// resign message coming back), except while a restore gives the federates
// new handles. What names no federate, and the federates' traffic, go on:
// the datagrams of a federation are trusted as before.
//
// Used on the rtiexec's thread, inside the connection manager's tick.

#include <cstdint>
#include <functional>
#include <vector>

#include "exec/DtExecLinks.h"

class DtFedExec;
class DtRtiMsg;

class DtExecOriginGate {
public:
  using Executions = std::function<std::vector<DtFedExec*>()>;

  DtExecOriginGate(DtExecLinks& links, Executions executions) : links_(links), executions_(std::move(executions)) {}

  // Whether the message may be handled.
  bool admit(const DtRtiMsg& msg);
  std::uint64_t refusedCount() const { return refused_; }
  std::uint64_t unknownCount() const { return unknown_; }

  // The kinds a federate sends to the rtiexec in its own name.
  static bool isFederatesOwn(const DtRtiMsg& msg);
  // Whether a message from `origin` may speak for a federate that joined
  // from `joined` (an origin of nothing known is not checked).
  static bool comesFrom(const DtMsgOrigin& joined, const DtMsgOrigin& origin);

private:
  bool refuse(const DtRtiMsg& msg, const DtMsgOrigin& origin, const char* why);

  DtExecLinks& links_;
  Executions executions_;
  std::uint64_t refused_ = 0;
  std::uint64_t unknown_ = 0;
};
