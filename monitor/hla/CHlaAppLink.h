// The HLA federate's way into the monitor's application core: the core's HLA
// handlers, a queued call for the attribute update requests (carried out on
// the UI thread's next turn of its event loop, after the RTI's tick has
// returned), and a function that shows messages to the user.
//
// Made and used on the UI thread. Requests still queued when the link goes
// are dropped.
#pragma once

#include "hla/IHlaApplication.h"

#include <QObject>

#include <functional>
#include <string>

class CQuorlexAppCore;

class CHlaAppLink final : public IHlaApplication {
public:
    using MessageSink = std::function<void(const std::string&)>;

    // `app` must outlive the link.
    CHlaAppLink(CQuorlexAppCore& app, MessageSink showMessage);

    void OnHlaTransmitterAttribute(std::uint32_t object, std::uint32_t bitValue, const std::uint8_t* value,
                                   std::size_t length) override;
    void OnHlaObjectReflected(std::uint32_t object) override;
    void OnHlaSignal(const SignalPdu& header, std::span<const std::uint8_t> data,
                     const std::string& hostRadioIndex) override;
    bool RemoveHlaObject(std::uint32_t object) override;
    void PostRequestAttributeUpdate(std::uint32_t object, std::uint32_t mask) override;
    void ShowHlaMessage(const std::string& text) override;

private:
    CQuorlexAppCore& m_app;
    MessageSink m_showMessage;
    QObject m_queue;   // the queued requests are its events
};
