#include "engine/PduView.h"

#include "engine/IPduHandler.h"

std::optional<TransmitterPduView> ViewTransmitterPdu(const std::uint8_t* pdu, std::size_t length)
{
    if (pdu == nullptr || length < kTransmitterPduSize)
        return std::nullopt;
    auto record = LoadRecord<TransmitterPdu>(pdu);
    std::size_t parameters = record.modulationParameterLength;
    if (length - kTransmitterPduSize < parameters)
        return std::nullopt;
    return TransmitterPduView{record, {pdu + kTransmitterPduSize, parameters}, {pdu, kTransmitterPduSize + parameters}};
}

std::optional<SignalPduView> ViewSignalPdu(const std::uint8_t* pdu, std::size_t length)
{
    if (pdu == nullptr || length < kSignalPduSize)
        return std::nullopt;
    auto record = LoadRecord<SignalPdu>(pdu);
    std::size_t data = SignalDataBytes(record);
    if (length - kSignalPduSize < data)
        return std::nullopt;
    return SignalPduView{record, {pdu + kSignalPduSize, data}, {pdu, kSignalPduSize + data}};
}
