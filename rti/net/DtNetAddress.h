#pragma once
// The address functions of the network layer. Addresses are IPv4 addresses
// as 32-bit numbers in host byte order.

#include <cstdint>

#include "port/DtPortSocket.h"

// A socket address of the address and port.
void DtMakeSockAddr(DtSockAddr* sockAddr, std::uint32_t address, int port);
// True when the top byte is 224 to 239.
bool DtIsMulticastAddr(std::uint32_t address);
// Dotted text, in a buffer of the calling thread that the next call on the
// same thread overwrites.
const char* DtAddrToString(std::uint32_t address);
// The address of a dotted text ("a.b.c.d"); all 32 bits set for text that
// is no address (as for 255.255.255.255).
std::uint32_t DtStringToAddr(const char* text);
// This host's address: the first IPv4 address of an interface that is up
// and not the loopback, else 127.0.0.1.
std::uint32_t DtLocalHostAddr();
// The netmask the environment variable DtNetmask gives, dotted or in
// hexadecimal after "0x"; 0 when it is not set (or is no netmask, which is
// reported).
std::uint32_t DtNetmaskFromEnv();
// The netmask of the first interface that can broadcast; 0 when none can.
std::uint32_t DtInterfaceNetmask();
// DtNetmaskFromEnv, else DtInterfaceNetmask, else 255.255.255.0.
std::uint32_t DtLocalNetmask();
// The directed broadcast address of a host's network under a netmask.
std::uint32_t DtDirectedBroadcast(std::uint32_t hostAddress, std::uint32_t netmask);
// The directed broadcast address of this host's network.
std::uint32_t DtBroadcastAddr();
