// What the DIS intake listens on and how its socket is set up.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

class CProfile;

// How much the intake takes on at once and holds at most. Not in the
// profile: tests and benchmarks change them.
struct IntakeLimits {
    // Datagrams read with one call (each read takes room for this many
    // datagrams of the largest size: 2 MiB).
    std::size_t readBatch = 256;
    // PDUs a worker is handed at once; fewer when the socket stays dry.
    std::size_t handOffCount = 256;
    // How long PDUs may wait for more to come before a worker is handed
    // fewer: at a moderate rate a worker then wakes once for many PDUs, not
    // once for each. It bounds how long a PDU is held up on its way, as the
    // socket's read timeout, which the kernel rounds up to its clock tick (a
    // few milliseconds). 0 hands every read over at once.
    std::chrono::microseconds handOffDelay{1000};
    // How much a worker that falls behind may hold (see CPduWorker).
    std::size_t workerQueueBytes = std::size_t{16} << 20;
    // A read error that keeps coming back is retried at a slowing pace, at
    // least this often.
    std::chrono::milliseconds maxReadBackoff{100};
};

struct NetOptions {
    static constexpr std::int32_t kDefaultReceiveBuffer = 4 * 1024 * 1024;

    // UDP port; 0 lets the system pick a free one (see CNetMgr::BoundPort).
    std::uint16_t port = 3000;
    // Group to join (high byte = first octet), 0 for none. A 127.x.x.x value
    // binds the socket to that loopback address instead.
    std::uint32_t multicastAddress = 0;
    // Local address to bind to; empty = every address.
    std::string bindAddress;
    // SO_RCVBUF: room for a burst of datagrams while a worker catches up.
    std::int32_t receiveBufferSize = kDefaultReceiveBuffer;
    std::int32_t queueFlush = 1;   // kept with the socket, no effect
    // Interface (its address) to join the group on; 0 lets the routing table
    // choose. Not in the profile: for hosts whose default route is elsewhere.
    std::uint32_t multicastInterface = 0;
    IntakeLimits limits;

    // The settings the application starts the intake with: the port and
    // group of the Properties section, the socket values of Network.
    static NetOptions FromProfile(const CProfile& profile);
};
