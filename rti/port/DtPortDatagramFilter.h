#pragma once
// A filter that the system runs on every datagram a UDP socket receives,
// before it is queued: datagrams the filter refuses never reach the socket,
// and cost the reader nothing.

#include <cstddef>
#include <cstdint>

// Refuses the datagrams whose big-endian 16-bit number at `senderAt` equals
// `sender` and whose byte at `kindAt` is one of `kinds` (at most 32);
// everything else, datagrams too short to hold both fields included, passes.
// Replaces a filter set before. 0 on success, else -1 with errno.
int DtPortDropDatagramsFrom(int fd, std::size_t senderAt, std::uint16_t sender, std::size_t kindAt,
                            const std::uint8_t* kinds, std::size_t kindCount);
// Lets every datagram through again; 0 on success (also when none was set).
int DtPortClearDatagramFilter(int fd);
