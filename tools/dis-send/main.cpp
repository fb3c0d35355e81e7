// dis-send: sends DIS Transmitter and Signal PDUs (and PDUs of other types)
// to a UDP port, as a number of radios would, at a chosen rate.

#include "engine/CUdpSender.h"
#include "engine/DisTraffic.h"

#include <getopt.h>

#include <atomic>
#include <charconv>
#include <chrono>
#include <cinttypes>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <limits>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Options {
    std::string host;
    std::uint16_t port = 3000;
    std::uint32_t radios = 1;
    std::uint32_t radiosPerEntity = 1;
    std::uint32_t signalsPerTransmitter = 16;
    std::uint64_t rounds = 1;   // 0 = until interrupted
    double rate = 0;            // PDUs per second, 0 = as fast as possible
    std::uint16_t samples = 480;
    std::uint16_t dataBytes = 480;
    std::uint8_t modulationParameters = 0;
    std::uint16_t site = 1;
    std::uint16_t application = 1;
    int otherType = -1;
    std::uint32_t otherCount = 1;
    UdpSenderOptions sender;
    bool quiet = false;
};

constexpr const char* kUsage = R"(Usage: dis-send [options] HOST
Sends DIS Transmitter (25) and Signal (26) PDUs over UDP, as a number of radios
would, and on request PDUs of another type (which the monitor drops).

HOST is a host name or address, a broadcast address (127.255.255.255,
255.255.255.255, ...) or a multicast group (224.0.0.0 to 239.255.255.255).

A round sends, for every radio, one Transmitter PDU and then the Signal PDUs
(all radios' Transmitter PDUs first, then their Signal PDUs in turn).

Options:
  -p, --port N              UDP port (default 3000)
  -n, --radios N            number of radios (default 1)
      --radios-per-entity N radios that share an entity (default 1); radio
                            k is entity 1 + k / N, radio 1 + k % N
  -s, --signals N           Signal PDUs per Transmitter PDU (default 16)
  -c, --rounds N            rounds to send (default 1; 0 = until interrupted)
  -r, --rate N              PDUs per second (default 0 = as fast as possible)
      --samples N           samples per Signal PDU (default 480)
      --data-bytes N        signal data bytes per Signal PDU (default 480)
      --mod-params N        modulation-parameter bytes per Transmitter PDU
                            (0 to 255, default 0)
      --site N              site of every radio (default 1)
      --application N       application of every radio (default 1)
      --other TYPE          also send PDUs of this type in each round
                            (e.g. 1 = Entity State)
      --other-count N       how many per round (default 1)
      --interface ADDR      interface address for multicast (IP_MULTICAST_IF)
      --ttl N               multicast time-to-live (default 1)
  -q, --quiet               print no summary
  -h, --help                show this text
)";

std::atomic<bool> g_interrupted{false};

void OnInterrupt(int) { g_interrupted.store(true); }

[[noreturn]] void Fail(const std::string& text)
{
    std::fprintf(stderr, "dis-send: %s\nTry 'dis-send --help'.\n", text.c_str());
    std::exit(2);
}

template <typename Number>
Number Parse(const char* option, const char* text, std::uint64_t max = std::numeric_limits<Number>::max())
{
    std::uint64_t value = 0;
    const char* end = text + std::strlen(text);
    const auto [at, error] = std::from_chars(text, end, value);
    if (error != std::errc() || at != end || value > max)
        Fail(std::string("invalid value for ") + option + ": \"" + text + "\"");
    return static_cast<Number>(value);
}

double ParseRate(const char* text)
{
    char* end = nullptr;
    const double rate = std::strtod(text, &end);
    if (end == text || *end != '\0' || !(rate >= 0))
        Fail(std::string("invalid rate: \"") + text + "\"");
    return rate;
}

Options ParseOptions(int argc, char** argv)
{
    enum {
        kRadiosPerEntity = 256,
        kSamples,
        kDataBytes,
        kModParams,
        kSite,
        kApplication,
        kOther,
        kOtherCount,
        kInterface,
        kTtl
    };
    const option longOptions[] = {
        {"port", required_argument, nullptr, 'p'},
        {"radios", required_argument, nullptr, 'n'},
        {"radios-per-entity", required_argument, nullptr, kRadiosPerEntity},
        {"signals", required_argument, nullptr, 's'},
        {"rounds", required_argument, nullptr, 'c'},
        {"rate", required_argument, nullptr, 'r'},
        {"samples", required_argument, nullptr, kSamples},
        {"data-bytes", required_argument, nullptr, kDataBytes},
        {"mod-params", required_argument, nullptr, kModParams},
        {"site", required_argument, nullptr, kSite},
        {"application", required_argument, nullptr, kApplication},
        {"other", required_argument, nullptr, kOther},
        {"other-count", required_argument, nullptr, kOtherCount},
        {"interface", required_argument, nullptr, kInterface},
        {"ttl", required_argument, nullptr, kTtl},
        {"quiet", no_argument, nullptr, 'q'},
        {"help", no_argument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    Options options;
    int choice = 0;
    while ((choice = getopt_long(argc, argv, "p:n:s:c:r:qh", longOptions, nullptr)) != -1) {
        switch (choice) {
        case 'p':
            options.port = Parse<std::uint16_t>("--port", optarg);
            break;
        case 'n':
            options.radios = Parse<std::uint32_t>("--radios", optarg);
            break;
        case kRadiosPerEntity:
            options.radiosPerEntity = Parse<std::uint32_t>("--radios-per-entity", optarg);
            break;
        case 's':
            options.signalsPerTransmitter = Parse<std::uint32_t>("--signals", optarg);
            break;
        case 'c':
            options.rounds = Parse<std::uint64_t>("--rounds", optarg);
            break;
        case 'r':
            options.rate = ParseRate(optarg);
            break;
        case kSamples:
            options.samples = Parse<std::uint16_t>("--samples", optarg);
            break;
        // The data length travels in bits in a 16-bit field.
        case kDataBytes:
            options.dataBytes = Parse<std::uint16_t>("--data-bytes", optarg, 8191);
            break;
        case kModParams:
            options.modulationParameters = Parse<std::uint8_t>("--mod-params", optarg);
            break;
        case kSite:
            options.site = Parse<std::uint16_t>("--site", optarg);
            break;
        case kApplication:
            options.application = Parse<std::uint16_t>("--application", optarg);
            break;
        case kOther:
            options.otherType = Parse<std::uint8_t>("--other", optarg);
            break;
        case kOtherCount:
            options.otherCount = Parse<std::uint32_t>("--other-count", optarg);
            break;
        case kInterface:
            options.sender.multicastInterface = optarg;
            break;
        case kTtl:
            options.sender.multicastTtl = Parse<std::uint8_t>("--ttl", optarg);
            break;
        case 'q':
            options.quiet = true;
            break;
        case 'h':
            std::fputs(kUsage, stdout);
            std::exit(0);
        default:
            Fail("unknown option");
        }
    }
    if (optind != argc - 1)
        Fail(optind >= argc ? "no destination HOST given" : "more than one destination given");
    options.host = argv[optind];
    if (options.radiosPerEntity == 0)
        Fail("--radios-per-entity must be at least 1");
    if (options.radios / options.radiosPerEntity >= 65535 || options.radiosPerEntity > 65535)
        Fail("too many radios for 16-bit entity and radio identifiers");
    return options;
}

struct Round {
    std::vector<std::vector<std::uint8_t>> transmitters, signals, others;
};

Round BuildRound(const Options& options)
{
    Round round;
    for (std::uint32_t k = 0; k < options.radios; ++k) {
        const DisRadioId radio{options.site, options.application,
                               static_cast<std::uint16_t>(1 + k / options.radiosPerEntity),
                               static_cast<std::uint16_t>(1 + k % options.radiosPerEntity)};
        round.transmitters.push_back(DisTraffic::TransmitterDatagram(radio, options.modulationParameters));
        round.signals.push_back(DisTraffic::SignalDatagram(radio, options.samples, options.dataBytes));
    }
    if (options.otherType >= 0)
        round.others.assign(options.otherCount,
                            DisTraffic::OtherDatagram(static_cast<std::uint8_t>(options.otherType)));
    return round;
}

struct Totals {
    std::uint64_t transmitters = 0, signals = 0, others = 0, failed = 0;
    std::uint64_t All() const { return transmitters + signals + others + failed; }
};

class PacedSender {
public:
    PacedSender(CUdpSender& sender, double rate) : m_sender(sender), m_rate(rate) {}

    // False once interrupted.
    bool Send(const std::vector<std::uint8_t>& datagram, std::uint64_t& sentCounter, Totals& totals)
    {
        if (g_interrupted.load())
            return false;
        if (m_rate > 0) {
            const auto due = m_start + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                           std::chrono::duration<double>(static_cast<double>(totals.All()) / m_rate));
            std::this_thread::sleep_until(due);
        }
        if (m_sender.Send(datagram))
            ++sentCounter;
        else
            ++totals.failed;
        return true;
    }

private:
    CUdpSender& m_sender;
    double m_rate;
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

}   // namespace

int main(int argc, char** argv)
{
    const Options options = ParseOptions(argc, argv);
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
    try {
        CUdpSender sender(options.host, options.port, options.sender);
        const Round round = BuildRound(options);
        Totals totals;
        const auto start = std::chrono::steady_clock::now();
        PacedSender paced(sender, options.rate);
        bool going = true;
        for (std::uint64_t r = 0; going && (options.rounds == 0 || r < options.rounds); ++r) {
            for (const auto& datagram : round.transmitters)
                going = going && paced.Send(datagram, totals.transmitters, totals);
            for (std::uint32_t s = 0; s < options.signalsPerTransmitter; ++s)
                for (const auto& datagram : round.signals)
                    going = going && paced.Send(datagram, totals.signals, totals);
            for (const auto& datagram : round.others)
                going = going && paced.Send(datagram, totals.others, totals);
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!options.quiet)
            std::printf("sent %" PRIu64 " Transmitter, %" PRIu64 " Signal and %" PRIu64
                        " other PDUs to %s port %u in %.3f s (%.0f PDUs/s); %" PRIu64 " refused by the system\n",
                        totals.transmitters, totals.signals, totals.others, options.host.c_str(),
                        static_cast<unsigned>(options.port), seconds,
                        seconds > 0 ? static_cast<double>(totals.All()) / seconds : 0.0, totals.failed);
        return totals.failed ? 1 : 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "dis-send: %s\n", e.what());
        return 1;
    }
}
