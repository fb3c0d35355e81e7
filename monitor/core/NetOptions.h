// What the DIS intake listens on and how its socket is set up.
#pragma once

#include <cstdint>
#include <string>

class CProfile;

struct NetOptions {
    // UDP port; 0 lets the system pick a free one (see CNetMgr::BoundPort).
    std::uint16_t port = 3000;
    // Group to join (high byte = first octet), 0 for none. A 127.x.x.x value
    // binds the socket to that loopback address instead.
    std::uint32_t multicastAddress = 0;
    // Local address to bind to; empty = every address.
    std::string bindAddress;
    std::int32_t receiveBufferSize = 65536;   // SO_RCVBUF
    std::int32_t queueFlush = 1;              // kept with the socket, no effect
    // Interface (its address) to join the group on; 0 lets the routing table
    // choose. Not in the profile: for hosts whose default route is elsewhere.
    std::uint32_t multicastInterface = 0;

    // The settings the application starts the intake with: the port and
    // group of the Properties section, the socket values of Network.
    static NetOptions FromProfile(const CProfile& profile);
};
