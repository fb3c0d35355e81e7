// Sample DIS traffic in network order, for the sender tool, tests and
// benchmarks: what a simulation's radios would put on the wire.
#pragma once

#include "engine/DisPdu.h"
#include "engine/RadioKey.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace DisTraffic {

// A transmitting radio on 30 MHz plus 25 kHz per radio identifier, with
// `modulationParameters` bytes of modulation parameters announced.
TransmitterPdu TransmitterRecord(const DisRadioId& radio, std::uint8_t modulationParameters = 0);
// 8 kHz audio, `samples` samples in `dataBytes` bytes.
SignalPdu SignalRecord(const DisRadioId& radio, std::uint16_t samples = 480, std::uint16_t dataBytes = 480);

// The record in network order followed by `trailing` (modulation parameters,
// signal data; a test may give fewer or more than the record announces).
std::vector<std::uint8_t> Encode(const TransmitterPdu& record, const std::vector<std::uint8_t>& trailing);
std::vector<std::uint8_t> Encode(const SignalPdu& record, const std::vector<std::uint8_t>& trailing);

// The record with the bytes it announces, filled with a counting pattern.
std::vector<std::uint8_t> TransmitterDatagram(const DisRadioId& radio, std::uint8_t modulationParameters = 0);
std::vector<std::uint8_t> SignalDatagram(const DisRadioId& radio, std::uint16_t samples = 480,
                                         std::uint16_t dataBytes = 480);
// A PDU of any other type: a 12-byte header and zeros, `length` bytes in all.
std::vector<std::uint8_t> OtherDatagram(std::uint8_t pduType, std::size_t length = 144);

}   // namespace DisTraffic
