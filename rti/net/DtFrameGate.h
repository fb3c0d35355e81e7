#pragma once
// DtFrameGate: what the rtiexec's forwarder lets a federate's connection
// send, and which connections hear a frame, from the header alone.
//
// A connection speaks for the federates the rtiexec bound to it (a join
// it accepted on that connection binds the handle it gave, in that
// execution; the resignation unbinds it). Before it is bound, a connection
// may only ask to create, join or destroy an execution (the federate
// field of those carries the asker's ticket, not a federate). Once bound,
// a frame that names a federate must name one of its own, in that
// federate's execution; a frame that names none (an anonymous update or
// ownership message) must name one of its executions. The kinds that only
// the rtiexec makes (its answers, the time bounds, the save and restore
// orders, the connection numbers, ...) are never taken from a federate.
//
// A connection hears the frames of the executions it is bound to (and
// those addressed to any execution); one that is bound to none hears
// nothing but what the rtiexec sends to it alone.

#include <cstdint>
#include <span>

class DtNetMsgHeader;

// One federate a connection speaks for: its execution (the handle and the
// first three characters of the name, as headers carry either) and handle.
struct DtLinkBinding {
  std::uint16_t execHandle = 0;
  char execName[3] = {};
  std::uint16_t federate = 0;
};

class DtFrameGate {
public:
  // Why a federate's connection with these bindings may not send the frame
  // (whose header must be whole); null when it may.
  static const char* refusal(const DtNetMsgHeader& header, std::span<const DtLinkBinding> bindings);
  // Whether a connection with these bindings hears the frame.
  static bool hears(const DtNetMsgHeader& header, std::span<const DtLinkBinding> bindings);
  // Whether the header names the binding's execution (by name or handle;
  // handle 0, "any execution", names none in particular and does not).
  static bool namesExecution(const DtNetMsgHeader& header, const DtLinkBinding& binding);

  // The federates' object and interaction traffic.
  static bool isFederateTraffic(int kind);
  // A federate's requests to the rtiexec, which no other federate reads.
  static bool isRequestToTheRtiexec(int kind);
  // Kinds only the rtiexec (or its forwarder) makes.
  static bool isMadeByTheRtiexecOnly(int kind);
  // Kinds a connection may send before it is bound: create, join, destroy.
  static bool isAskedBeforeJoining(int kind);
};
