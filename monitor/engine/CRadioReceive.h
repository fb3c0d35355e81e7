// One radio the monitor has seen, over DIS or over HLA. A plain value: the
// application core keeps the records under its lock and hands out copies.
#pragma once

#include "engine/DisPdu.h"
#include "engine/PduView.h"
#include "engine/RadioKey.h"
#include "engine/SenderAddress.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CRadioReceive {
public:
    static constexpr const char* kInvalidName = "***invalid***";
    static constexpr const char* kDefaultFederateHost = "RadioTransmitter";

    // Stores a Transmitter PDU: its fixed part, its modulation parameters and
    // its sender; counts it.
    void UpdateFromTransmitter(const TransmitterPduView& pdu, const SenderAddress& sender);

    // Decodes one big-endian RPR attribute value, named by its mask bit
    // (AttributeBit). A value of the wrong length, or an unknown bit, leaves
    // the record unchanged and gives false.
    bool DecodeHlaAttribute(std::uint32_t bitValue, const std::uint8_t* value, std::size_t length);

    bool IsSameRadio(const TransmitterPdu& pdu) const;
    bool IsSameRadio(const SignalPdu& pdu) const;
    bool IsActive() const { return m_transmitter.transmitState == TransmitStateOnAndTransmitting; }
    bool IsHla() const { return m_objectHandle != kNoObjectHandle; }

    DisRadioId GetDisId() const { return DisRadioId::Of(m_transmitter); }
    std::string GetKeyText() const { return GetDisId().KeyText(); }
    RadioRef GetRef() const { return IsHla() ? RadioRef::Hla(m_objectHandle) : RadioRef::Dis(GetDisId()); }

    std::uint32_t GetTransmitCount() const { return m_transmitCount; }
    std::uint32_t GetSignalCount() const { return m_signalCount; }
    void CountSignal() { ++m_signalCount; }

    bool GetAntennaLocation(double& x, double& y, double& z) const;

    const std::string& GetSenderAddress() const { return m_senderAddress; }
    const TransmitterPdu& GetTransmitter() const { return m_transmitter; }
    const std::vector<std::uint8_t>& GetModulationParameters() const { return m_modulationParameters; }

    std::uint32_t GetObjectHandle() const { return m_objectHandle; }
    void SetObjectHandle(std::uint32_t handle) { m_objectHandle = handle; }
    const std::string& GetObjectName() const { return m_objectName; }
    void SetObjectName(std::string name) { m_objectName = std::move(name); }
    const std::string& GetFederateHost() const { return m_federateHost; }
    const std::string& GetHostObjectId() const { return m_hostObjectId; }
    std::uint32_t GetCryptoMode() const { return m_cryptoMode; }

private:
    void SetModulationParameters(const std::uint8_t* bytes, std::size_t length);

    std::string m_senderAddress;    // last DIS sender, dotted text; empty for HLA radios
    std::uint32_t m_senderIp = 0;   // the same as a number
    TransmitterPdu m_transmitter{};
    std::vector<std::uint8_t> m_modulationParameters;
    std::uint32_t m_objectHandle = kNoObjectHandle;
    std::string m_objectName = kInvalidName;
    std::string m_federateHost = kDefaultFederateHost;
    std::string m_hostObjectId = kInvalidName;
    std::uint32_t m_cryptoMode = 0;
    std::uint32_t m_transmitCount = 0;   // DIS radios only
    std::uint32_t m_signalCount = 0;
};
