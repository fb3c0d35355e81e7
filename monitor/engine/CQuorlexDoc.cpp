#include "engine/CQuorlexDoc.h"

CQuorlexDoc::CQuorlexDoc(const DisRadioId& radio) : m_radio(radio), m_key(radio.KeyText()) {}

void CQuorlexDoc::SetTransmitter(const TransmitterPdu& record, std::span<const std::uint8_t> modulationParameters)
{
    std::lock_guard lock(m_lock);
    m_transmitter = record;
    StoreModParams(modulationParameters);
}

CQuorlexDoc::Snapshot CQuorlexDoc::TakeSnapshot() const
{
    Snapshot snapshot;
    snapshot.key = m_key;
    std::lock_guard lock(m_lock);
    CopyCommon(snapshot);
    snapshot.transmitter = m_transmitter;
    return snapshot;
}
