// PDUs per second routed by the application core's DIS handlers with 10,
// 1,000 and 10,000 known radios. Each radio sends a Transmitter PDU and a
// Signal PDU in turn, round robin over all radios; one radio's detail window
// is open. The cost per PDU should not grow with the number of radios.
//
// As in the intake, every PDU arrives in one reused receive buffer: it is
// written there in network order (standing in for the socket's read of a
// datagram that just came), converted in place and handed to the handler.
// The baseline is the same loop without the handler: what receiving and
// converting cost by themselves.
#include "engine/CQuorlexAppCore.h"
#include "engine/IPduHandler.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

class NullFrame : public IMainFrame {
public:
    void PostReceiverUpdate(const RadioRef&) override { updates.fetch_add(1, std::memory_order_relaxed); }
    void SweepTree() override {}
    void RemoveHlaRadio(const CRadioReceive&) override {}
    void OpenDocumentWindow(const std::shared_ptr<CDetailDoc>&) override {}
    void ActivateDocumentWindow(const std::shared_ptr<CDetailDoc>&) override {}
    void CloseDocumentWindow(const std::shared_ptr<CDetailDoc>&) override {}
    std::atomic<std::uint64_t> updates{0};
};

DisRadioId Radio(std::uint32_t i)
{
    return {static_cast<std::uint16_t>(1 + i / 4000), static_cast<std::uint16_t>(3001 + i % 40),
            static_cast<std::uint16_t>(i % 4000 / 40), static_cast<std::uint16_t>(1 + i % 3)};
}

constexpr std::size_t kParameters = 4;
constexpr std::size_t kSignalData = 480;

// Writes radio `i`'s PDUs into the receive buffer as they come off the wire.
class Wire {
public:
    Wire()
    {
        m_transmitter.header = {6, 1, DisPduType::Transmitter, 4, 0, kTransmitterPduSize + kParameters, 0};
        m_transmitter.transmitState = TransmitStateOnAndTransmitting;
        m_transmitter.frequencyLow = 251000000;
        m_transmitter.modulationParameterLength = kParameters;
        m_signal.header = {6, 1, DisPduType::Signal, 4, 0, kSignalPduSize + kSignalData, 0};
        m_signal.encodingScheme = 4;
        m_signal.sampleRate = 8000;
        m_signal.samples = 480;
        m_signal.dataLength = kSignalData * 8;
        std::fill(m_buffer.begin(), m_buffer.end(), 0x55);
    }

    std::size_t Transmitter(std::uint32_t i) { return Put(m_transmitter, i, HostToNetTransmitterPdu); }
    std::size_t Signal(std::uint32_t i) { return Put(m_signal, i, HostToNetSignalPdu); }
    std::uint8_t* Buffer() { return m_buffer.data(); }

private:
    // The record of radio `i` in network order at the buffer's start; the
    // bytes behind it stay. Gives the datagram's length.
    template <typename Record>
    std::size_t Put(Record& record, std::uint32_t i, void (*encode)(const Record&, std::uint8_t*))
    {
        const DisRadioId id = Radio(i);
        record.entityId = {id.site, id.application, id.entity};
        record.radioId = id.radio;
        encode(record, m_buffer.data());
        return record.header.length;
    }

    TransmitterPdu m_transmitter{};
    SignalPdu m_signal{};
    std::vector<std::uint8_t> m_buffer = std::vector<std::uint8_t>(8192);
};

// What a worker does with the buffer before the handler: the host-order record over the network one.
void ConvertTransmitter(std::uint8_t* pdu, std::size_t length)
{
    TransmitterPdu record;
    if (NetToHostTransmitterPdu(pdu, length, record) == PduConversion::Ok)
        StoreRecord(record, pdu);
}

void ConvertSignal(std::uint8_t* pdu, std::size_t length)
{
    SignalPdu record;
    if (NetToHostSignalPdu(pdu, length, record) == PduConversion::Ok)
        StoreRecord(record, pdu);
}

struct Cost {
    double routed;     // ns per PDU: receive, convert, route
    double baseline;   // ns per PDU: receive and convert only
};

// Nanoseconds per PDU, the best of several runs of at least 400 ms each.
template <typename Route>
double Measure(std::uint32_t radios, Wire& wire, Route route)
{
    using Clock = std::chrono::steady_clock;
    constexpr auto minimum = std::chrono::milliseconds(400);
    const SenderAddress sender(0x0A000005u);
    double best = 1e300;
    for (int run = 0; run < 5; ++run) {
        std::uint64_t pdus = 0;
        const auto start = Clock::now();
        Clock::duration elapsed{};
        do {
            for (std::uint32_t i = 0; i < radios; ++i) {
                std::size_t length = wire.Transmitter(i);
                ConvertTransmitter(wire.Buffer(), length);
                route(true, wire.Buffer(), length, sender);
                length = wire.Signal(i);
                ConvertSignal(wire.Buffer(), length);
                route(false, wire.Buffer(), length, sender);
            }
            pdus += 2 * radios;
            elapsed = Clock::now() - start;
        } while (elapsed < minimum);
        best = std::min(best, std::chrono::duration<double, std::nano>(elapsed).count() / static_cast<double>(pdus));
    }
    return best;
}

Cost MeasureRadios(std::uint32_t radios)
{
    CQuorlexAppCore app;
    app.AttachMainFrame(std::make_shared<NullFrame>());
    Wire wire;
    const SenderAddress sender(0x0A000005u);
    for (std::uint32_t i = 0; i < radios; ++i) {
        const std::size_t length = wire.Transmitter(i);
        ConvertTransmitter(wire.Buffer(), length);
        app.OnTransmitterPdu(wire.Buffer(), length, sender);
    }
    app.OpenDisDetail(Radio(0).KeyText());

    Cost cost{};
    cost.routed =
        Measure(radios, wire, [&](bool transmitter, std::uint8_t* pdu, std::size_t length, const SenderAddress& from) {
            if (transmitter)
                app.OnTransmitterPdu(pdu, length, from);
            else
                app.OnSignalPdu(pdu, length, from);
        });
    std::uint64_t kept = 0;   // keeps the baseline's work from being optimised away
    cost.baseline =
        Measure(radios, wire, [&](bool, std::uint8_t* pdu, std::size_t, const SenderAddress&) { kept += pdu[8]; });
    if (app.GetRadioCount() != radios || kept == 1)
        std::fprintf(stderr, "unexpected radio count %zu\n", app.GetRadioCount());
    return cost;
}

}   // namespace

int main()
{
    std::printf("%-10s %14s %12s %22s\n", "radios", "PDUs/s", "ns/PDU", "receive+convert ns/PDU");
    double first = 0, last = 0;
    for (std::uint32_t radios : {10u, 1000u, 10000u}) {
        const Cost cost = MeasureRadios(radios);
        std::printf("%-10u %14.0f %12.1f %22.1f\n", radios, 1e9 / cost.routed, cost.routed, cost.baseline);
        if (radios == 10)
            first = cost.routed;
        last = cost.routed;
    }
    const double ratio = last / first;
    std::printf("cost per PDU, 10,000 radios / 10 radios: %.2f (goal <= 2): %s\n", ratio,
                ratio <= 2.0 ? "met" : "NOT MET");
    return 0;
}
