// Which part of each Signal PDU's data a text log shows. The choice is kept
// as one of the texts the Start Logging dialog lists (kSignalPortionChoices,
// stored in the profile as that text); a text that is none of the choices
// shows the last bytes of the whole data.
#pragma once

#include "engine/ProfileKeys.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

// In the order of kSignalPortionChoices.
enum class SignalPortion {
    First5Percent,
    FirstQuarter,
    FirstHalf,
    LastHalf,
    LastQuarter,
    Last5Percent,
    Entire,
    Other,
};

static_assert(static_cast<std::size_t>(SignalPortion::Other) == kSignalPortionChoices.size());

SignalPortion SignalPortionFromText(std::string_view text);

// Whether the portion is shown from the start of the data (else from its end).
bool IsFirstPart(SignalPortion portion);

// How many data bytes the portion shows for a data length in bits: the
// portion's share, rounded down to whole lines of 16 bytes.
std::size_t SignalPortionBytes(SignalPortion portion, std::uint32_t dataLengthBits);
