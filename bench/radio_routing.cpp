// PDUs per second routed by the application core's DIS handlers with 10,
// 1,000 and 10,000 known radios. Each radio sends a Transmitter PDU and a
// Signal PDU in turn, round robin over all radios; one radio's detail window
// is open. The cost per PDU should not grow with the number of radios.
#include "core/CQuorlexAppCore.h"
#include "core/IPduHandler.h"

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

std::vector<std::uint8_t> TransmitterBytes(const DisRadioId& id)
{
    TransmitterPdu t{};
    t.header = {6, 1, DisPduType::Transmitter, 4, 0, 108, 0};
    t.entityId = {id.site, id.application, id.entity};
    t.radioId = id.radio;
    t.transmitState = TransmitStateOnAndTransmitting;
    t.frequencyLow = 251000000;
    t.modulationParameterLength = 4;
    std::vector<std::uint8_t> bytes(kTransmitterPduSize + 4, 7);
    StoreRecord(t, bytes.data());
    return bytes;
}

std::vector<std::uint8_t> SignalBytes(const DisRadioId& id)
{
    SignalPdu s{};
    s.header = {6, 1, DisPduType::Signal, 4, 0, 32 + 480, 0};
    s.entityId = {id.site, id.application, id.entity};
    s.radioId = id.radio;
    s.encodingScheme = 4;
    s.sampleRate = 8000;
    s.samples = 480;
    s.dataLength = 480 * 8;
    std::vector<std::uint8_t> bytes(kSignalPduSize + 480, 0x55);
    StoreRecord(s, bytes.data());
    return bytes;
}

// Nanoseconds per PDU, the best of several runs of at least `minimum` each.
double MeasureNsPerPdu(std::uint32_t radios)
{
    CQuorlexAppCore app;
    auto frame = std::make_shared<NullFrame>();
    app.AttachMainFrame(frame);
    std::vector<std::vector<std::uint8_t>> transmitters, signals;
    for (std::uint32_t i = 0; i < radios; ++i) {
        transmitters.push_back(TransmitterBytes(Radio(i)));
        signals.push_back(SignalBytes(Radio(i)));
        app.OnTransmitterPdu(transmitters.back().data(), transmitters.back().size(), "10.0.0.5");
    }
    app.OpenDisDetail(Radio(0).KeyText());

    using Clock = std::chrono::steady_clock;
    constexpr auto minimum = std::chrono::milliseconds(400);
    double best = 1e300;
    for (int run = 0; run < 5; ++run) {
        std::uint64_t pdus = 0;
        auto start = Clock::now();
        Clock::duration elapsed{};
        do {
            for (std::uint32_t i = 0; i < radios; ++i) {
                app.OnTransmitterPdu(transmitters[i].data(), transmitters[i].size(), "10.0.0.5");
                app.OnSignalPdu(signals[i].data(), signals[i].size(), "10.0.0.5");
            }
            pdus += 2 * radios;
            elapsed = Clock::now() - start;
        } while (elapsed < minimum);
        best = std::min(best, std::chrono::duration<double, std::nano>(elapsed).count() / static_cast<double>(pdus));
    }
    if (app.GetRadioCount() != radios)
        std::fprintf(stderr, "unexpected radio count %zu\n", app.GetRadioCount());
    return best;
}

} // namespace

int main()
{
    std::printf("%-10s %14s %12s\n", "radios", "PDUs/s", "ns/PDU");
    double first = 0, last = 0;
    for (std::uint32_t radios : {10u, 1000u, 10000u}) {
        double ns = MeasureNsPerPdu(radios);
        std::printf("%-10u %14.0f %12.1f\n", radios, 1e9 / ns, ns);
        if (radios == 10) first = ns;
        last = ns;
    }
    double ratio = last / first;
    std::printf("cost per PDU, 10,000 radios / 10 radios: %.2f (goal <= 2): %s\n", ratio, ratio <= 2.0 ? "met" : "NOT MET");
    return 0;
}
