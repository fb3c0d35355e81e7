#include "hla/CHlaAppLink.h"

#include "engine/CQuorlexAppCore.h"

#include <QMetaObject>

CHlaAppLink::CHlaAppLink(CQuorlexAppCore& app, MessageSink showMessage)
    : m_app(app), m_showMessage(std::move(showMessage))
{
}

void CHlaAppLink::OnHlaTransmitterAttribute(std::uint32_t object, std::uint32_t bitValue, const std::uint8_t* value,
                                            std::size_t length)
{
    m_app.OnHlaTransmitterAttribute(object, bitValue, value, length);
}

void CHlaAppLink::OnHlaObjectReflected(std::uint32_t object) { m_app.OnHlaObjectReflected(object); }

void CHlaAppLink::OnHlaSignal(const SignalPdu& header, std::span<const std::uint8_t> data,
                              const std::string& hostRadioIndex)
{
    m_app.OnHlaSignal(header, data, hostRadioIndex);
}

bool CHlaAppLink::RemoveHlaObject(std::uint32_t object) { return m_app.RemoveHlaObject(object); }

void CHlaAppLink::PostRequestAttributeUpdate(std::uint32_t object, std::uint32_t mask)
{
    QMetaObject::invokeMethod(
        &m_queue, [&app = m_app, object, mask] { app.OnRequestAttributeUpdate(object, mask); }, Qt::QueuedConnection);
}

void CHlaAppLink::ShowHlaMessage(const std::string& text)
{
    if (m_showMessage)
        m_showMessage(text);
}
