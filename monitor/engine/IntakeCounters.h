// What the DIS intake has seen since its net manager was made.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

// A consistent-enough copy for display and tests (each number is read on its
// own; they may be a datagram apart while traffic flows).
struct IntakeCounts {
    std::uint64_t received = 0;                       // datagrams read, of every kind and size
    std::uint64_t kernelDropped = 0;                  // datagrams the kernel dropped: the socket's buffer was full
    std::uint64_t transmitterPdus = 0;                // Transmitter PDUs handed to the handler
    std::uint64_t signalPdus = 0;                     // Signal PDUs handed to the handler
    std::uint64_t droppedOtherType = 0;               // datagrams of any other PDU type
    std::array<std::uint64_t, 256> droppedByType{};   // the same, by PDU type (byte 2)
    std::uint64_t tooShort = 0;                       // too short for their PDU or for a PDU type
    std::uint64_t truncated = 0;                      // larger than the receive buffer
    std::uint64_t empty = 0;                          // zero-length datagrams
    std::uint64_t queueFull = 0;                      // dropped because a worker was too far behind
    std::uint64_t readErrors = 0;                     // failed reads the intake went on after
    std::uint64_t socketOpenings = 0;                 // successful socket openings
};

// The live counters, added to by the intake's threads and read by any.
class IntakeCounters {
public:
    static void Add(std::atomic<std::uint64_t>& counter, std::uint64_t count = 1)
    {
        counter.fetch_add(count, std::memory_order_relaxed);
    }

    IntakeCounts Snapshot() const
    {
        IntakeCounts counts;
        counts.received = Load(received);
        counts.kernelDropped = Load(kernelDropped);
        counts.transmitterPdus = Load(transmitterPdus);
        counts.signalPdus = Load(signalPdus);
        counts.droppedOtherType = Load(droppedOtherType);
        for (std::size_t type = 0; type < droppedByType.size(); ++type)
            counts.droppedByType[type] = Load(droppedByType[type]);
        counts.tooShort = Load(tooShort);
        counts.truncated = Load(truncated);
        counts.empty = Load(empty);
        counts.queueFull = Load(queueFull);
        counts.readErrors = Load(readErrors);
        counts.socketOpenings = Load(socketOpenings);
        return counts;
    }

    std::atomic<std::uint64_t> received{0};
    std::atomic<std::uint64_t> kernelDropped{0};
    std::atomic<std::uint64_t> transmitterPdus{0};
    std::atomic<std::uint64_t> signalPdus{0};
    std::atomic<std::uint64_t> droppedOtherType{0};
    std::array<std::atomic<std::uint64_t>, 256> droppedByType{};
    std::atomic<std::uint64_t> tooShort{0};
    std::atomic<std::uint64_t> truncated{0};
    std::atomic<std::uint64_t> empty{0};
    std::atomic<std::uint64_t> queueFull{0};
    std::atomic<std::uint64_t> readErrors{0};
    std::atomic<std::uint64_t> socketOpenings{0};

private:
    static std::uint64_t Load(const std::atomic<std::uint64_t>& counter)
    {
        return counter.load(std::memory_order_relaxed);
    }
};
