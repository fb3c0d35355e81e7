// What a DIS detail window shows: the latest Transmitter PDU of the radio and,
// once one was shown, its latest Signal PDU, as a labelled grid or as a hex
// dump of the stored host-order records.
#pragma once

#include "DetailPage.h"
#include "engine/CQuorlexDoc.h"

#include <cstdint>
#include <span>
#include <vector>

enum class DisDisplay {
    Raw = 1,    // hex dump of the stored bytes
    Grid = 2,   // labelled fields
};

namespace DisDetailText {

// The 21 lines of the transmitter grid. The modulation parameters shown are
// as many as the record's length byte says, but never more than `parameters`
// holds.
std::vector<PageLine> TransmitterGrid(const TransmitterPdu& record, std::span<const std::uint8_t> parameters);
// The signal grid: 8 lines of header fields and the data lines (at most 32
// data bytes, never more than the data length announces or `data` holds).
std::vector<PageLine> SignalGrid(const SignalPdu& header, std::span<const std::uint8_t> data);

// The bytes the dumps cover: the record followed by its modulation
// parameters or its data, bounded like the grids.
std::vector<std::uint8_t> TransmitterBytes(const TransmitterPdu& record, std::span<const std::uint8_t> parameters);
std::vector<std::uint8_t> SignalBytes(const SignalPdu& header, std::span<const std::uint8_t> data);

// The window's page: the transmitter part, then the signal part when the
// signal shown last has data.
DetailPage Page(const CQuorlexDoc::Snapshot& snapshot, DisDisplay display);
// The page with room for a signal part whether a signal came or not: the
// size a new window opens at.
DetailPage WholePage(CQuorlexDoc::Snapshot snapshot, DisDisplay display);

}   // namespace DisDetailText
