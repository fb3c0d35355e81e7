// A checked look at a host-order PDU buffer as the intake hands it over: the
// record's fixed part followed by the datagram's remaining bytes. Everything
// that reads the bytes behind the fixed part (radio records, documents, the
// log) goes through these views, so a length field never drives a read past
// the bytes actually held.
#pragma once

#include "engine/DisPdu.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

struct TransmitterPduView {
    TransmitterPdu record;
    std::span<const std::uint8_t> modulationParameters;   // modulationParameterLength bytes
    std::span<const std::uint8_t> recordBytes;            // fixed part and modulation parameters
};

struct SignalPduView {
    SignalPdu record;
    std::span<const std::uint8_t> data;          // dataLength / 8 bytes
    std::span<const std::uint8_t> recordBytes;   // fixed part and data
};

// Nothing when the buffer cannot hold the fixed part and the bytes its
// lengths announce. Bytes beyond those (antenna patterns, padding) are
// left out of the view.
std::optional<TransmitterPduView> ViewTransmitterPdu(const std::uint8_t* pdu, std::size_t length);
std::optional<SignalPduView> ViewSignalPdu(const std::uint8_t* pdu, std::size_t length);
