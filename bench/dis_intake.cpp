// Pushes DIS radio traffic through loopback into the monitor's intake and
// compares its rate with a bare recvfrom loop measured in the same run.
//
// Both receivers get the same datagrams from the same sender, which keeps at
// most --window PDUs in flight (sent but not yet taken in), so that neither
// socket's buffer overflows while the receiver keeps up; a receiver that
// drops anything shows it as lost. --window 0 sends without holding back.

#include "core/CNetMgr.h"
#include "core/CUdpSender.h"
#include "core/DisTraffic.h"
#include "core/IPduHandler.h"

#include <netinet/in.h>
#include <sys/socket.h>

#include <atomic>
#include <charconv>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Settings {
    std::uint32_t radios = 1000;
    std::uint32_t signalsPerTransmitter = 16;
    std::uint32_t rounds = 10;
    std::uint32_t window = 64;
    std::uint32_t repeat = 3;
    std::uint16_t dataBytes = 480;
};

// Counts what arrives and notes when the latest PDU did.
class Arrivals {
public:
    void Reset()
    {
        m_count.store(0);
        m_last.store(0);
    }
    void Add()
    {
        m_last.store(Clock::now().time_since_epoch().count(), std::memory_order_relaxed);
        m_count.fetch_add(1, std::memory_order_acq_rel);
    }
    std::uint64_t Count() const { return m_count.load(std::memory_order_acquire); }
    Clock::time_point Last() const { return Clock::time_point(Clock::duration(m_last.load())); }

private:
    std::atomic<std::uint64_t> m_count{0};
    std::atomic<Clock::rep> m_last{0};
};

class CountingHandler : public IPduHandler {
public:
    explicit CountingHandler(Arrivals& arrivals) : m_arrivals(arrivals) {}
    void OnTransmitterPdu(const std::uint8_t*, std::size_t, const SenderAddress&) override { m_arrivals.Add(); }
    void OnSignalPdu(const std::uint8_t*, std::size_t, const SenderAddress&) override { m_arrivals.Add(); }

private:
    Arrivals& m_arrivals;
};

struct Result {
    std::uint64_t received = 0;
    double seconds = 0;
    double Rate() const { return seconds > 0 ? static_cast<double>(received) / seconds : 0; }
};

// Sends everything, holding back while `window` PDUs are in flight, then
// waits until all have arrived or nothing has arrived for a second.
Result Push(const std::vector<std::vector<std::uint8_t>>& traffic, CUdpSender& sender, const Arrivals& arrivals,
            std::uint32_t window)
{
    const auto start = Clock::now();
    std::uint64_t sent = 0;
    for (const auto& datagram : traffic) {
        while (window && sent - arrivals.Count() >= window)
            std::this_thread::yield();
        if (sender.Send(datagram))
            ++sent;
    }
    std::uint64_t seen = arrivals.Count();
    for (auto quietSince = Clock::now(); seen < traffic.size() && Clock::now() - quietSince < std::chrono::seconds(1);) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (arrivals.Count() != seen) {
            seen = arrivals.Count();
            quietSince = Clock::now();
        }
    }
    Result result;
    result.received = arrivals.Count();
    result.seconds = std::chrono::duration<double>(arrivals.Last() - start).count();
    return result;
}

// The yardstick: one thread that reads datagrams into an 8192-byte buffer
// and counts them, on a socket set up like the intake's.
Result RunBareLoop(const std::vector<std::vector<std::uint8_t>>& traffic, std::uint32_t window)
{
    UniqueFd fd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    const int receiveBuffer = NetOptions{}.receiveBufferSize;
    ::setsockopt(fd.Get(), SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    const timeval pollEvery{0, 100000};   // lets the reader see the end flag
    ::setsockopt(fd.Get(), SOL_SOCKET, SO_RCVTIMEO, &pollEvery, sizeof pollEvery);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof local;
    if (::bind(fd.Get(), reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        ::getsockname(fd.Get(), reinterpret_cast<sockaddr*>(&local), &size) != 0) {
        std::perror("bare loop socket");
        std::exit(1);
    }
    Arrivals arrivals;
    arrivals.Reset();
    std::atomic<bool> done{false};
    std::thread reader([&] {
        std::vector<std::uint8_t> buffer(8192);
        while (!done.load(std::memory_order_relaxed)) {
            sockaddr_in from{};
            socklen_t fromSize = sizeof from;
            if (::recvfrom(fd.Get(), buffer.data(), buffer.size(), MSG_TRUNC, reinterpret_cast<sockaddr*>(&from),
                           &fromSize) >= 0)
                arrivals.Add();
        }
    });
    CUdpSender sender("127.0.0.1", ntohs(local.sin_port));
    const Result result = Push(traffic, sender, arrivals, window);
    done.store(true);
    reader.join();
    return result;
}

Result RunIntake(const std::vector<std::vector<std::uint8_t>>& traffic, std::uint32_t window, IntakeCounts& counts)
{
    Arrivals arrivals;
    arrivals.Reset();
    CountingHandler handler(arrivals);
    CNetMgr intake(handler);
    NetOptions options;
    options.port = 0;
    if (!intake.Start(options)) {
        std::fprintf(stderr, "dis_intake: %s\n", intake.ErrorText().c_str());
        std::exit(1);
    }
    CUdpSender sender("127.0.0.1", intake.BoundPort());
    const Result result = Push(traffic, sender, arrivals, window);
    intake.Stop();
    counts = intake.Counters();
    return result;
}

std::vector<std::vector<std::uint8_t>> BuildTraffic(const Settings& settings)
{
    std::vector<std::vector<std::uint8_t>> transmitters, signals, traffic;
    for (std::uint32_t k = 0; k < settings.radios; ++k) {
        const DisRadioId radio{1, 1, static_cast<std::uint16_t>(1 + k / 4), static_cast<std::uint16_t>(1 + k % 4)};
        transmitters.push_back(DisTraffic::TransmitterDatagram(radio));
        signals.push_back(DisTraffic::SignalDatagram(radio, settings.dataBytes, settings.dataBytes));
    }
    for (std::uint32_t round = 0; round < settings.rounds; ++round) {
        traffic.insert(traffic.end(), transmitters.begin(), transmitters.end());
        for (std::uint32_t s = 0; s < settings.signalsPerTransmitter; ++s)
            traffic.insert(traffic.end(), signals.begin(), signals.end());
    }
    return traffic;
}

std::uint32_t ParseNumber(const char* option, const char* text)
{
    std::uint32_t value = 0;
    const char* end = text + std::strlen(text);
    const auto [at, error] = std::from_chars(text, end, value);
    if (error != std::errc() || at != end) {
        std::fprintf(stderr, "dis_intake: invalid value for %s: \"%s\"\n", option, text);
        std::exit(2);
    }
    return value;
}

Settings ParseSettings(int argc, char** argv)
{
    Settings settings;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            std::puts("Usage: bench_dis_intake [--radios N] [--signals N] [--rounds N] [--window N] [--repeat N]\n"
                      "                        [--data-bytes N]\n"
                      "Defaults: 1000 radios, 16 Signal PDUs per Transmitter PDU, 10 rounds, a window of 64\n"
                      "PDUs in flight (0 = none), best of 3 runs, 480 signal data bytes.");
            std::exit(0);
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "dis_intake: %s needs a value\n", option.c_str());
            std::exit(2);
        }
        const std::uint32_t value = ParseNumber(argv[i], argv[i + 1]);
        ++i;
        if (option == "--radios") settings.radios = value;
        else if (option == "--signals") settings.signalsPerTransmitter = value;
        else if (option == "--rounds") settings.rounds = value;
        else if (option == "--window") settings.window = value;
        else if (option == "--repeat") settings.repeat = value ? value : 1;
        else if (option == "--data-bytes") settings.dataBytes = static_cast<std::uint16_t>(value > 8191 ? 8191 : value);
        else {
            std::fprintf(stderr, "dis_intake: unknown option %s\n", option.c_str());
            std::exit(2);
        }
    }
    return settings;
}

void Print(const char* name, const Result& result, std::uint64_t expected)
{
    std::printf("%-18s %" PRIu64 " of %" PRIu64 " PDUs in %.3f s = %.0f PDUs/s, lost %" PRIu64 "\n", name,
                result.received, expected, result.seconds, result.Rate(), expected - result.received);
}

} // namespace

int main(int argc, char** argv)
{
    const Settings settings = ParseSettings(argc, argv);
    const auto traffic = BuildTraffic(settings);
    const std::uint64_t expected = traffic.size();
    std::printf("dis_intake: %u radios x (1 Transmitter + %u Signal PDUs of %u data bytes) x %u rounds = %" PRIu64
                " PDUs, window %u, best of %u\n",
                settings.radios, settings.signalsPerTransmitter, static_cast<unsigned>(settings.dataBytes),
                settings.rounds, expected, settings.window, settings.repeat);

    // Alternate the two so that both see the same load from the rest of the machine.
    Result bestBare, bestIntake;
    std::uint64_t lostBare = 0, lostIntake = 0;
    IntakeCounts counts;
    for (std::uint32_t run = 0; run < settings.repeat; ++run) {
        const Result bare = RunBareLoop(traffic, settings.window);
        IntakeCounts runCounts;
        const Result intake = RunIntake(traffic, settings.window, runCounts);
        lostBare += expected - bare.received;
        lostIntake += expected - intake.received;
        if (bare.Rate() > bestBare.Rate()) bestBare = bare;
        if (intake.Rate() > bestIntake.Rate()) {
            bestIntake = intake;
            counts = runCounts;
        }
    }
    Print("bare recvfrom loop", bestBare, expected);
    Print("intake", bestIntake, expected);
    std::printf("intake counters: received %" PRIu64 ", Transmitter %" PRIu64 ", Signal %" PRIu64 ", too short %" PRIu64
                ", truncated %" PRIu64 ", queue full %" PRIu64 "\n",
                counts.received, counts.transmitterPdus, counts.signalPdus, counts.tooShort, counts.truncated,
                counts.queueFull);
    std::printf("lost over all %u runs: bare %" PRIu64 ", intake %" PRIu64 "\n", settings.repeat, lostBare, lostIntake);
    const double ratio = bestBare.Rate() > 0 ? bestIntake.Rate() / bestBare.Rate() : 0;
    std::printf("ratio intake / bare: %.2f (goal: at least 0.50 with no PDU lost)\n", ratio);
    return 0;
}
