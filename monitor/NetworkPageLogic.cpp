#include "NetworkPageLogic.h"

#include "DecimalText.h"
#include "engine/CProfile.h"

namespace P = Profile::Properties;

NetworkPageControls NetworkPageLogic::Init()
{
    NetworkPageControls controls;
    m_disEnabled = m_profile.Read(P::DISEnabled) != 0;
    controls.disEnabled = m_disEnabled;
    m_port = m_profile.Read(P::NetworkPort);
    controls.portText = QString::number(m_port);
    controls.useMulticast = m_profile.Read(P::UseMulticast) != 0;
    if (controls.useMulticast) {
        m_multicastAddress = m_profile.Read(P::MulticastAdx);
        controls.multicastAddress = m_multicastAddress;
    } else {
        m_multicastAddress = 0;
        // The group the address control suggests while none is in use.
        controls.multicastAddress = P::MulticastAdx.fallback;
    }
    return controls;
}

NetworkPageEnabling NetworkPageLogic::Enabling(const NetworkPageControls& controls)
{
    return {controls.disEnabled, controls.disEnabled, controls.disEnabled && controls.useMulticast};
}

QString NetworkPageLogic::Refusal(const NetworkPageControls& controls)
{
    if (controls.useMulticast && (controls.multicastAddress < kFirstGroup || controls.multicastAddress > kLastGroup))
        return kMulticastRangeMessage;
    // A port the socket cannot use would leave the intake deaf (0 even binds
    // to a port of the system's choosing), and the profile would refuse it
    // at the next start.
    if (controls.disEnabled) {
        const std::int32_t port = ReadDecimal(controls.portText);
        if (port < P::NetworkPort.min || port > P::NetworkPort.max)
            return kPortRangeMessage;
    }
    return {};
}

void NetworkPageLogic::Ok(const NetworkPageControls& controls)
{
    m_disEnabled = controls.disEnabled;
    m_profile.Write(P::DISEnabled, m_disEnabled ? 1 : 0);

    // Switched off, the stored port stays for the day monitoring comes back.
    std::int32_t port = 0;
    if (m_disEnabled) {
        port = ReadDecimal(controls.portText);
        m_profile.Write(P::NetworkPort, port);
    }

    std::uint32_t address = 0;
    if (controls.useMulticast) {
        address = controls.multicastAddress;
        m_profile.Write(P::MulticastAdx, address);
    }
    m_profile.Write(P::UseMulticast, controls.useMulticast ? 1 : 0);

    m_portChanged = port != m_port;
    m_multicastChanged = address != m_multicastAddress;
    m_port = port;
    m_multicastAddress = address;
}
