// What the DIS page of the Preferences sheet does, without its widgets: fill
// the controls from the profile, decide which controls are enabled, refuse
// values that cannot be used, and on OK write the profile and keep what
// changed for the application (CQuorlexApp::OnEditPreferences).
#pragma once

#include <QString>

#include <cstdint>

class CProfile;

// The page's controls as the user sees them.
struct NetworkPageControls {
    bool disEnabled = true;               // "Enable DIS Monitoring"
    QString portText;                     // "Network Port:"
    bool useMulticast = false;            // "Listen on Multicast Address:"
    std::uint32_t multicastAddress = 0;   // the address control (high byte = first octet)
};

struct NetworkPageEnabling {
    bool port = false;
    bool multicastBox = false;
    bool address = false;
};

class NetworkPageLogic {
public:
    // The message keeps the program's own wording, typing slip included.
    static constexpr const char* kMulticastRangeMessage =
        "Mutlicast address must be between 224.0.0.1 and 239.255.255.255";
    static constexpr const char* kPortRangeMessage = "Network port must be between 1 and 65535";
    static constexpr std::uint32_t kFirstGroup = 0xE0000001u;   // 224.0.0.1
    static constexpr std::uint32_t kLastGroup = 0xEFFFFFFFu;    // 239.255.255.255

    explicit NetworkPageLogic(CProfile& profile) : m_profile(profile) {}

    // The controls as the page first shows them; the members take the
    // profile's values.
    NetworkPageControls Init();

    // With monitoring off nothing else can be changed; the address only
    // while the multicast box is checked.
    static NetworkPageEnabling Enabling(const NetworkPageControls& controls);

    // Why the values cannot be taken (the sheet shows it and stays open), or
    // an empty text.
    static QString Refusal(const NetworkPageControls& controls);

    // Writes the profile and updates the members and changed flags; call
    // only when Refusal has nothing to say.
    void Ok(const NetworkPageControls& controls);

    bool disEnabled() const { return m_disEnabled; }
    // The port (0 while monitoring is switched off) and whether OK changed it.
    std::int32_t port() const { return m_port; }
    bool portChanged() const { return m_portChanged; }
    // The group (0 for none) and whether OK changed it.
    std::uint32_t multicastAddress() const { return m_multicastAddress; }
    bool multicastChanged() const { return m_multicastChanged; }

private:
    CProfile& m_profile;
    bool m_disEnabled = true;
    std::int32_t m_port = 0;
    bool m_portChanged = false;
    std::uint32_t m_multicastAddress = 0;
    bool m_multicastChanged = false;
};
