// The texts the transmitter tree shows: a radio's "site/application/entity/
// radio" text, its frequency, and the ten quick-view lines below it.
#pragma once

#include "QuickViewFlags.h"

#include <QString>

#include <array>
#include <cstdint>

class CRadioReceive;
struct DisRadioId;
struct TransmitterPdu;

namespace QuickViewLines {

// One quick-view line. A radio's line is recognised by the first
// `prefixLength` characters of its text, which no other line shares.
struct Line {
    bool QuickViewFlags::*flag;
    int prefixLength;
    const char* key;   // the prefix, the line's name
    bool forHla;       // HLA radios count no Transmitter PDUs: no "xmits" line
};

inline constexpr int kCount = 10;

// In the order the lines stand below a radio.
extern const std::array<Line, kCount> kLines;

// The text of line `index` (0 to kCount - 1) for a radio.
QString Text(int index, const CRadioReceive& radio);

// "freq: ..." in GHz, MHz or KHz with three decimals above 999000000,
// 999000 and 999 Hz (strictly above), else in whole Hz.
QString FrequencyText(std::uint64_t hertz);

// The 64-bit frequency kept as two 32-bit halves, high half first.
std::uint64_t Frequency(const TransmitterPdu& pdu);

// The radio's key text (DisRadioId::KeyText): "site/application/entity/radio".
QString RadioText(const DisRadioId& id);

}   // namespace QuickViewLines
