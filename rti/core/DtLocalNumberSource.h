#pragma once
// DtLocalNumberSource: where a federate manager draws its local number, from
// which a federation without the rtiexec makes the federate handle
// ((number modulo 9999) + 1). Peers know a federate only by that handle, so
// two federates that drew the same one would take each other's messages
// (a resign message of one resigns the other).
//
// One generator per process, seeded from the clock and the process ID (again
// in a process forked after a draw). A process's first federate takes the
// handle its process ID gives on its machine, so that the processes of one
// machine (one process-ID namespace) take different handles unless their IDs
// lie a multiple of 9999 apart; within the process a number whose handle a
// living manager holds is not given again. Handles of federates of other
// machines or containers, and of a process's later federates, can still meet,
// with a chance of 1 in 9999 for a pair. Thread safe.

#include <cstdint>

class DtLocalNumberSource {
public:
  // The number of handles a number can give.
  static constexpr std::uint32_t handleCount = 9999;

  static std::uint32_t handleOf(std::uint32_t number) { return number % handleCount + 1; }
  // A number whose handle no living manager of this process holds (when
  // all of them are held, any number).
  static std::uint32_t draw();
  // The manager that drew the number is gone.
  static void release(std::uint32_t number);
};
