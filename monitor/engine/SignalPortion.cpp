#include "engine/SignalPortion.h"

SignalPortion SignalPortionFromText(std::string_view text)
{
    for (std::size_t i = 0; i < kSignalPortionChoices.size(); ++i)
        if (kSignalPortionChoices[i] == text)
            return static_cast<SignalPortion>(i);
    return SignalPortion::Other;
}

bool IsFirstPart(SignalPortion portion)
{
    switch (portion) {
    case SignalPortion::First5Percent:
    case SignalPortion::FirstQuarter:
    case SignalPortion::FirstHalf:
    case SignalPortion::Entire:
        return true;
    default:
        return false;
    }
}

std::size_t SignalPortionBytes(SignalPortion portion, std::uint32_t dataLengthBits)
{
    std::uint32_t bitsPerShownByte = 8;   // the entire data
    switch (portion) {
    case SignalPortion::First5Percent:
    case SignalPortion::Last5Percent:
        bitsPerShownByte = 160;   // a twentieth of the bytes
        break;
    case SignalPortion::FirstQuarter:
    case SignalPortion::LastQuarter:
        bitsPerShownByte = 32;
        break;
    case SignalPortion::FirstHalf:
    case SignalPortion::LastHalf:
        bitsPerShownByte = 16;
        break;
    default:
        break;
    }
    std::size_t bytes = dataLengthBits / bitsPerShownByte;
    return bytes - bytes % 16;
}
