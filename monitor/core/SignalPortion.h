// Which part of each Signal PDU's data a text log shows. The choice is kept
// as the text the Start Logging dialog lists (it is stored in the profile as
// that text); a text that is none of the choices shows the last bytes of the
// whole data.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

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

// The dialog's choices, in its order.
inline constexpr std::array<std::string_view, 7> kSignalPortionChoices = {
    "first 5% of", "first quarter of", "first half of", "last half of", "last quarter of", "last 5% of", "entire",
};

inline constexpr std::string_view kDefaultSignalPortion = "first 5% of";

SignalPortion SignalPortionFromText(std::string_view text);

// Whether the portion is shown from the start of the data (else from its end).
bool IsFirstPart(SignalPortion portion);

// How many data bytes the portion shows for a data length in bits: the
// portion's share, rounded down to whole lines of 16 bytes.
std::size_t SignalPortionBytes(SignalPortion portion, std::uint32_t dataLengthBits);
