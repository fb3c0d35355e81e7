// What the DIS intake hands a converted PDU to (the application's handlers).
#pragma once

#include "engine/DisPdu.h"
#include "engine/SenderAddress.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

// Both calls come from the intake's worker threads: OnTransmitterPdu from the
// transmitter worker, OnSignalPdu from the signal worker.
//
// `pdu` holds `length` bytes: the record's fixed part in host order (the
// image of a TransmitterPdu or SignalPdu, see LoadRecord) followed by the
// datagram's remaining bytes, unchanged. The intake only calls with buffers
// that hold the whole fixed part and every byte its lengths announce.
// `sender` is the datagram's source address. The buffer and the sender
// belong to the caller and are valid for the duration of the call only.
class IPduHandler {
public:
    virtual ~IPduHandler() = default;
    virtual void OnTransmitterPdu(const std::uint8_t* pdu, std::size_t length, const SenderAddress& sender) = 0;
    virtual void OnSignalPdu(const std::uint8_t* pdu, std::size_t length, const SenderAddress& sender) = 0;
};

// The fixed part of a host-order buffer as a record (and back): a byte copy,
// since a buffer is not guaranteed to be aligned for the record.
template <typename Record>
Record LoadRecord(const std::uint8_t* bytes)
{
    Record record;
    std::memcpy(&record, bytes, sizeof record);
    return record;
}

template <typename Record>
void StoreRecord(const Record& record, std::uint8_t* bytes)
{
    std::memcpy(bytes, &record, sizeof record);
}
