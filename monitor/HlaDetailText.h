// What an HLA detail window shows: the radio's current values and, once a
// RadioSignal interaction was shown, the signal's header values and its
// first data bytes. HLA windows have no dump.
#pragma once

#include "DetailPage.h"
#include "engine/CQuorlexHlaDoc.h"

#include <cstdint>
#include <span>
#include <vector>

namespace HlaDetailText {

// The 18 lines of the transmitter grid. The modulation parameters are the
// document's copy: an RPR value may be longer than the record's length byte
// can say.
std::vector<PageLine> TransmitterGrid(const CRadioReceive& radio, std::span<const std::uint8_t> parameters);
// The signal grid: 2 lines of header values and the data lines (at most 32
// data bytes, never more than the data length announces or `data` holds).
std::vector<PageLine> SignalGrid(const SignalPdu& header, std::span<const std::uint8_t> data);

// The window's page: the transmitter part while the document has a radio,
// then the signal part when the signal shown last has data.
DetailPage Page(const CQuorlexHlaDoc::Snapshot& snapshot);
// The page with room for a signal part whether a signal came or not: the
// size a new window opens at.
DetailPage WholePage(CQuorlexHlaDoc::Snapshot snapshot);

}   // namespace HlaDetailText
