// The detail document of one DIS radio: the latest Transmitter PDU of the
// radio and its latest shown Signal PDU. Filled on the DIS worker threads,
// read by the views through snapshots (see CDetailDoc).
#pragma once

#include "engine/CDetailDoc.h"

class CQuorlexDoc final : public CDetailDoc {
public:
    struct Snapshot : DetailDocData {
        std::string key;
        TransmitterPdu transmitter{};
    };

    explicit CQuorlexDoc(const DisRadioId& radio);

    RadioKind GetKind() const override { return RadioKind::Dis; }
    const DisRadioId& GetRadioId() const { return m_radio; }
    const std::string& GetKey() const { return m_key; }

    // The transmitter record and its modulation parameters, stored together.
    void SetTransmitter(const TransmitterPdu& record, std::span<const std::uint8_t> modulationParameters);

    Snapshot TakeSnapshot() const;

private:
    const DisRadioId m_radio;
    const std::string m_key;
    TransmitterPdu m_transmitter{};
};
