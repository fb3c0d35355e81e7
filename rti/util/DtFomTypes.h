#pragma once
// How an attribute or interaction class travels, as the FED file chooses it.
// Both values are kept with every message; the order type also travels in
// the bodies of the time-stamp-ordered messages, so the numbers are fixed.
// They sit in the toolkit because both the configuration (the FED reader)
// and the messages use them.

#include <cstdint>

enum DtTransportType : std::uint32_t {
  DtBestEffort = 0,  // "best_effort" in a FED file
  DtReliable = 1     // "reliable"
};

enum DtOrderType : std::uint32_t {
  DtReceiveOrder = 0,   // "receive"
  DtTimestampOrder = 1  // "timestamp"
};
