// The DIS intake against a bare recvfrom loop, on loopback, side by side.
//
// Open loop: sender threads put radio traffic on the wire at a paced rate
// (50,000 to 200,000 PDUs a second by default) or as fast as they can
// (saturation), whether the receiver keeps up or not, for a fixed time. Each
// rate runs as pairs: the bare loop and the intake one after the other, in
// alternating order, with the same traffic, socket buffer and thread
// priority; a pair's ratio compares runs taken together. Loss is what was
// sent and not taken in, split into the kernel's drops (the socket's buffer
// was full: /proc/net/udp) and the intake's own (a worker's queue was full).
// CPU per PDU is the receiving threads' CPU time over the PDUs taken in.
// Every run ends on time: the wait for stragglers is bounded.
//
// --window N runs closed loop instead: at most N PDUs in flight, as a test of
// the intake's own cost without loss (the sender waits, for a bounded time).

#include "engine/CNetMgr.h"
#include "engine/DisTraffic.h"
#include "engine/IPduHandler.h"
#include "engine/ThreadSetup.h"
#include "engine/UniqueFd.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

struct Settings {
    std::uint32_t radios = 1000;
    std::uint32_t signalsPerTransmitter = 16;
    std::uint16_t dataBytes = 480;                                        // 512-byte Signal PDUs
    std::vector<std::uint64_t> rates{50000, 100000, 150000, 200000, 0};   // 0: saturation
    double seconds = 2.0;
    std::uint32_t pairs = 3;
    std::uint32_t senders = 2;
    std::uint32_t window = 0;   // 0: open loop
    std::int32_t receiveBuffer = NetOptions::kDefaultReceiveBuffer;
    IntakeLimits limits;   // the intake's defaults unless asked otherwise
};

double CpuSeconds(clockid_t clock)
{
    timespec now{};
    ::clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The traffic of the radios, round robin: each radio's Transmitter PDU, then
// its Signal PDUs. Each PDU carries in its timestamp field a number that
// grows per radio and type, so that the receiver can check the order.
class Traffic {
public:
    explicit Traffic(const Settings& settings)
        : m_radios(settings.radios), m_perCycle(1 + settings.signalsPerTransmitter)
    {
        for (std::uint32_t k = 0; k < m_radios; ++k) {
            m_transmitters.push_back(DisTraffic::TransmitterDatagram(Radio(k)));
            m_signals.push_back(DisTraffic::SignalDatagram(Radio(k), settings.dataBytes, settings.dataBytes));
        }
    }

    static DisRadioId Radio(std::uint32_t k)
    {
        return {1, 1, static_cast<std::uint16_t>(1 + k / 4), static_cast<std::uint16_t>(1 + k % 4)};
    }
    static std::uint32_t IndexOf(const std::uint8_t* hostOrderPdu)
    {
        // Both records keep the entity and radio identifiers at the same offsets.
        const SignalPdu pdu = LoadRecord<SignalPdu>(hostOrderPdu);
        return (pdu.entityId.entity - 1u) * 4u + (pdu.radioId - 1u);
    }

    // The datagram at position `n` of sender `sender`'s sequence, with its
    // order number. Each of the `senders` has radios of its own, so that the
    // senders cannot swap two PDUs of a radio on their way.
    const std::vector<std::uint8_t>& At(std::uint64_t n, std::uint32_t sender, std::uint32_t senders,
                                        std::uint32_t& order) const
    {
        const std::uint32_t own = (m_radios - sender + senders - 1) / senders;
        const std::uint32_t radio = static_cast<std::uint32_t>(n % own) * senders + sender;
        const std::uint64_t step = n / own;
        const bool transmitter = step % m_perCycle == 0;
        order = static_cast<std::uint32_t>(transmitter ? step / m_perCycle : step - step / m_perCycle - 1) + 1;
        return transmitter ? m_transmitters[radio] : m_signals[radio];
    }
    std::uint32_t Radios() const { return m_radios; }

private:
    std::uint32_t m_radios;
    std::uint32_t m_perCycle;
    std::vector<std::vector<std::uint8_t>> m_transmitters, m_signals;
};

// Counts what arrives and checks that each radio's PDUs of a type come in
// the order they were sent (PDUs may be missing, never swapped).
class Arrivals {
public:
    explicit Arrivals(std::uint32_t radios)
        : m_last{std::vector<std::uint32_t>(radios), std::vector<std::uint32_t>(radios)}
    {
    }

    void Add() { m_count.fetch_add(1, std::memory_order_relaxed); }
    // Called by one thread per type.
    void AddInOrder(int typeIndex, const std::uint8_t* hostOrderPdu)
    {
        std::uint32_t order = 0;
        std::memcpy(&order, hostOrderPdu + offsetof(PduHeader, timestamp), sizeof order);
        std::uint32_t& last = m_last[typeIndex][Traffic::IndexOf(hostOrderPdu)];
        if (order <= last)
            m_outOfOrder.fetch_add(1, std::memory_order_relaxed);
        last = order;
        Add();
    }
    std::uint64_t Count() const { return m_count.load(std::memory_order_relaxed); }
    std::uint64_t OutOfOrder() const { return m_outOfOrder.load(); }

private:
    std::atomic<std::uint64_t> m_count{0};
    std::atomic<std::uint64_t> m_outOfOrder{0};
    std::vector<std::uint32_t> m_last[2];
};

class CheckingHandler : public IPduHandler {
public:
    explicit CheckingHandler(Arrivals& arrivals) : m_arrivals(arrivals) {}
    void OnTransmitterPdu(const std::uint8_t* pdu, std::size_t, const SenderAddress&) override
    {
        m_arrivals.AddInOrder(0, pdu);
    }
    void OnSignalPdu(const std::uint8_t* pdu, std::size_t, const SenderAddress&) override
    {
        m_arrivals.AddInOrder(1, pdu);
    }

private:
    Arrivals& m_arrivals;
};

// The kernel's count of datagrams dropped on the UDP socket bound to `port`.
std::uint64_t KernelDrops(std::uint16_t port)
{
    std::ifstream table("/proc/net/udp");
    std::string line;
    std::getline(table, line);   // the heading
    char wanted[8];
    std::snprintf(wanted, sizeof wanted, ":%04X", port);
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string slot, local, field;
        fields >> slot >> local;
        if (local.size() < 5 || local.compare(local.size() - 5, 5, wanted) != 0)
            continue;
        for (int i = 0; i < 10; ++i)   // to the last column, "drops"
            fields >> field;
        fields >> field;
        return std::strtoull(field.c_str(), nullptr, 10);
    }
    return 0;
}

struct Run {
    std::uint64_t sent = 0;
    std::uint64_t received = 0;
    std::uint64_t kernelDrops = 0;
    std::uint64_t intakeDrops = 0;
    std::uint64_t outOfOrder = 0;
    double seconds = 0;
    double cpuSeconds = 0;   // of the receiving threads

    double Rate() const { return seconds > 0 ? static_cast<double>(received) / seconds : 0; }
    double CpuMicrosPerPdu() const { return received ? cpuSeconds * 1e6 / static_cast<double>(received) : 0; }
    std::uint64_t Lost() const { return sent > received ? sent - received : 0; }
};

// Puts the traffic on the wire to 127.0.0.1:`port` from `settings.senders`
// threads for the run's time, paced at `rate` PDUs a second together (0: as
// fast as they can), or closed loop behind `arrivals`. Returns what was sent
// and the senders' CPU time (which is not the receiver's).
struct Sent {
    std::uint64_t count = 0;
    double cpuSeconds = 0;
    Clock::duration duration{};
};

Sent SendTraffic(const Traffic& traffic, const Settings& settings, std::uint64_t rate, std::uint16_t port,
                 const Arrivals& arrivals)
{
    constexpr unsigned kBatch = 32;
    std::atomic<std::uint64_t> sent{0};
    std::vector<double> cpu(settings.senders);
    const auto start = Clock::now();
    const auto end =
        start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(settings.seconds));
    const double perSender = rate ? static_cast<double>(rate) / settings.senders : 0;

    auto send = [&](std::uint32_t index) {
        UniqueFd fd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        to.sin_port = htons(port);
        std::vector<std::vector<std::uint8_t>> buffers(kBatch);
        mmsghdr messages[kBatch]{};
        iovec vectors[kBatch]{};
        std::uint64_t mine = 0;
        const double cpuStart = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
        for (auto now = Clock::now(); now < end; now = Clock::now()) {
            unsigned count = kBatch;
            if (settings.window) {
                const std::uint64_t inFlight = sent.load() - std::min(sent.load(), arrivals.Count());
                if (inFlight >= settings.window) {
                    std::this_thread::yield();
                    continue;
                }
                count = static_cast<unsigned>(std::min<std::uint64_t>(kBatch, settings.window - inFlight));
            } else if (rate) {
                const double due = perSender * std::chrono::duration<double>(now - start).count();
                if (static_cast<double>(mine) >= due) {
                    std::this_thread::sleep_for(50us);
                    continue;
                }
                count = static_cast<unsigned>(std::min<double>(kBatch, due - static_cast<double>(mine) + 1));
            }
            for (unsigned i = 0; i < count; ++i) {
                std::uint32_t order = 0;
                buffers[i] = traffic.At(mine + i, index, settings.senders, order);
                const std::uint32_t wire = htonl(order);
                std::memcpy(buffers[i].data() + offsetof(PduHeader, timestamp), &wire, sizeof wire);
                vectors[i] = {buffers[i].data(), buffers[i].size()};
                messages[i].msg_hdr = {};
                messages[i].msg_hdr.msg_name = &to;
                messages[i].msg_hdr.msg_namelen = sizeof to;
                messages[i].msg_hdr.msg_iov = &vectors[i];
                messages[i].msg_hdr.msg_iovlen = 1;
            }
            const int done = ::sendmmsg(fd.Get(), messages, count, 0);
            // What the system refused is sent again with the next batch.
            if (done > 0) {
                mine += static_cast<std::uint64_t>(done);
                sent.fetch_add(static_cast<std::uint64_t>(done));
            }
        }
        cpu[index] = CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - cpuStart;
    };
    std::vector<std::thread> threads;
    for (std::uint32_t i = 0; i < settings.senders; ++i)
        threads.emplace_back(send, i);
    for (auto& thread : threads)
        thread.join();
    Sent result;
    result.count = sent.load();
    result.duration = Clock::now() - start;
    for (double seconds : cpu)
        result.cpuSeconds += seconds;
    return result;
}

// Waits, a bounded time, for what is still on its way.
void AwaitStragglers(const Arrivals& arrivals, std::uint64_t sent, const std::function<std::uint64_t()>& dropped)
{
    std::uint64_t seen = arrivals.Count();
    for (auto quietSince = Clock::now(); seen + dropped() < sent && Clock::now() - quietSince < 200ms;) {
        std::this_thread::sleep_for(1ms);
        if (arrivals.Count() != seen) {
            seen = arrivals.Count();
            quietSince = Clock::now();
        }
    }
}

// One run of a receiver: `open` starts it and gives its port, `dropped` its
// own drops so far, `close` stops it. The receiver's CPU time is the
// process's less the senders' and this thread's.
Run Measure(const Traffic& traffic, const Settings& settings, std::uint64_t rate, Arrivals& arrivals,
            const std::function<std::uint16_t()>& open, const std::function<std::uint64_t()>& dropped,
            const std::function<void()>& close)
{
    const std::uint16_t port = open();
    const std::uint64_t kernelBefore = KernelDrops(port);
    const double processBefore = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    const double mainBefore = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    const Sent sent = SendTraffic(traffic, settings, rate, port, arrivals);
    const std::uint64_t kernelDrops = KernelDrops(port) - kernelBefore;
    AwaitStragglers(arrivals, sent.count, [&] { return dropped() + KernelDrops(port) - kernelBefore; });
    Run run;
    run.sent = sent.count;
    run.received = arrivals.Count();
    run.kernelDrops = std::max(kernelDrops, KernelDrops(port) - kernelBefore);
    run.outOfOrder = arrivals.OutOfOrder();
    run.seconds = std::chrono::duration<double>(sent.duration).count();
    run.cpuSeconds = (CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - processBefore) - sent.cpuSeconds -
                     (CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - mainBefore);
    close();
    run.intakeDrops = dropped();
    return run;
}

// The yardstick: one thread that reads datagrams into an 8192-byte buffer and
// counts them, on a socket with the intake's receive buffer, at the priority
// of the intake's receive thread.
Run RunBareLoop(const Traffic& traffic, const Settings& settings, std::uint64_t rate)
{
    Arrivals arrivals(traffic.Radios());
    UniqueFd fd;
    std::atomic<bool> done{false};
    std::thread reader;
    auto open = [&]() -> std::uint16_t {
        fd = UniqueFd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
        ::setsockopt(fd.Get(), SOL_SOCKET, SO_RCVBUF, &settings.receiveBuffer, sizeof settings.receiveBuffer);
        const timeval pollEvery{0, 50000};   // lets the reader see the end flag
        ::setsockopt(fd.Get(), SOL_SOCKET, SO_RCVTIMEO, &pollEvery, sizeof pollEvery);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof local;
        if (::bind(fd.Get(), reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
            ::getsockname(fd.Get(), reinterpret_cast<sockaddr*>(&local), &size) != 0) {
            std::perror("dis_intake: bare loop socket");
            std::exit(1);
        }
        reader = std::thread([&] {
            SetCurrentThreadPriority(ThreadPriority::Highest);
            std::vector<std::uint8_t> buffer(8192);
            while (!done.load(std::memory_order_relaxed)) {
                sockaddr_in from{};
                socklen_t fromSize = sizeof from;
                if (::recvfrom(fd.Get(), buffer.data(), buffer.size(), MSG_TRUNC, reinterpret_cast<sockaddr*>(&from),
                               &fromSize) >= 0)
                    arrivals.Add();
            }
        });
        return ntohs(local.sin_port);
    };
    auto close = [&] {
        done = true;
        reader.join();
    };
    return Measure(
        traffic, settings, rate, arrivals, open, [] { return std::uint64_t{0}; }, close);
}

Run RunIntake(const Traffic& traffic, const Settings& settings, std::uint64_t rate, std::string& notice)
{
    Arrivals arrivals(traffic.Radios());
    CheckingHandler handler(arrivals);
    CNetMgr intake(handler);
    auto open = [&]() -> std::uint16_t {
        NetOptions options;
        options.port = 0;
        options.multicastAddress = 0x7F000001u;   // bound to loopback
        options.receiveBufferSize = settings.receiveBuffer;
        options.limits = settings.limits;
        if (!intake.Start(options)) {
            std::fprintf(stderr, "dis_intake: %s\n", intake.ErrorText().c_str());
            std::exit(1);
        }
        if (std::string said = intake.TakeNotice(); !said.empty())
            notice = said;
        return intake.BoundPort();
    };
    auto dropped = [&] {
        const IntakeCounts counts = intake.Counters();
        return counts.queueFull + counts.tooShort + counts.truncated;
    };
    return Measure(traffic, settings, rate, arrivals, open, dropped, [&] { intake.Stop(); });
}

std::uint64_t ParseNumber(const char* option, const std::string& text)
{
    std::uint64_t value = 0;
    const auto [at, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || at != text.data() + text.size()) {
        std::fprintf(stderr, "dis_intake: invalid value for %s: \"%s\"\n", option, text.c_str());
        std::exit(2);
    }
    return value;
}

Settings ParseSettings(int argc, char** argv)
{
    Settings settings;
    bool handOffGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            std::puts("Usage: bench_dis_intake [--rates R,R,...] [--seconds S] [--pairs N] [--senders N] [--radios N]\n"
                      "                        [--signals N] [--data-bytes N] [--receive-buffer BYTES] [--window N]\n"
                      "                        [--read-batch N] [--hand-off N] [--hand-off-us N]\n"
                      "Defaults: rates 50000,100000,150000,200000,0 PDUs/s (0 = saturation), 2 s a run, 3 pairs of\n"
                      "runs a rate, 2 sender threads, 1000 radios x (1 Transmitter + 16 Signal PDUs of 480 data\n"
                      "bytes), a receive buffer of 4 MiB; open loop. --window N: closed loop, N PDUs in flight.\n"
                      "The intake's own limits (datagrams read at once, PDUs handed over at once, the longest\n"
                      "a PDU is held for more) are its defaults unless given; closed loop holds nothing.");
            std::exit(0);
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "dis_intake: %s needs a value\n", option.c_str());
            std::exit(2);
        }
        const std::string value = argv[++i];
        if (option == "--rates") {
            settings.rates.clear();
            for (std::size_t at = 0; at <= value.size();) {
                const std::size_t comma = std::min(value.find(',', at), value.size());
                settings.rates.push_back(ParseNumber("--rates", value.substr(at, comma - at)));
                at = comma + 1;
            }
        } else if (option == "--seconds") {
            settings.seconds = std::max(0.1, std::strtod(value.c_str(), nullptr));
        } else {
            const std::uint64_t number = ParseNumber(option.c_str(), value);
            if (option == "--pairs")
                settings.pairs = static_cast<std::uint32_t>(std::max<std::uint64_t>(number, 1));
            else if (option == "--senders")
                settings.senders = static_cast<std::uint32_t>(std::max<std::uint64_t>(number, 1));
            else if (option == "--radios")
                settings.radios = static_cast<std::uint32_t>(std::clamp<std::uint64_t>(number, 1, 65535 * 4));
            else if (option == "--signals")
                settings.signalsPerTransmitter = static_cast<std::uint32_t>(number);
            else if (option == "--data-bytes")
                settings.dataBytes = static_cast<std::uint16_t>(std::min<std::uint64_t>(number, 65000));
            else if (option == "--receive-buffer")
                settings.receiveBuffer = static_cast<std::int32_t>(std::min<std::uint64_t>(number, 1u << 30));
            else if (option == "--window")
                settings.window = static_cast<std::uint32_t>(number);
            else if (option == "--read-batch")
                settings.limits.readBatch = std::max<std::uint64_t>(number, 1);
            else if (option == "--hand-off")
                settings.limits.handOffCount = std::max<std::uint64_t>(number, 1);
            else if (option == "--hand-off-us") {
                settings.limits.handOffDelay = std::chrono::microseconds(number);
                handOffGiven = true;
            } else {
                std::fprintf(stderr, "dis_intake: unknown option %s\n", option.c_str());
                std::exit(2);
            }
        }
    }
    settings.senders = std::min(settings.senders, settings.radios);   // each sender has radios of its own
    // Closed loop, the sender waits for what it sent: PDUs held for more
    // would only measure the hold.
    if (settings.window && !handOffGiven)
        settings.limits.handOffDelay = std::chrono::microseconds(0);
    return settings;
}

std::string RateName(std::uint64_t rate) { return rate ? std::to_string(rate) + "/s" : std::string("saturation"); }

void PrintRun(const std::string& rate, const char* receiver, const Run& run)
{
    std::printf("%-12s %-7s %9" PRIu64 " %9" PRIu64 " %8" PRIu64 " %8" PRIu64 " %8" PRIu64 " %10.0f %8.2f %6" PRIu64
                "\n",
                rate.c_str(), receiver, run.sent, run.received, run.Lost(), run.kernelDrops, run.intakeDrops,
                run.Rate(), run.CpuMicrosPerPdu(), run.outOfOrder);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}   // namespace

int main(int argc, char** argv)
{
    const Settings settings = ParseSettings(argc, argv);
    const Traffic traffic(settings);
    std::printf("dis_intake: %s, %u radios x (1 Transmitter + %u Signal PDUs of %u bytes), %.1f s a run, %u pairs a "
                "rate, %u senders, receive buffer %d bytes asked\n",
                settings.window ? ("closed loop, window " + std::to_string(settings.window)).c_str() : "open loop",
                settings.radios, settings.signalsPerTransmitter, 32u + settings.dataBytes, settings.seconds,
                settings.pairs, settings.senders, settings.receiveBuffer);
    std::printf("%-12s %-7s %9s %9s %8s %8s %8s %10s %8s %6s\n", "rate", "side", "sent", "taken", "lost", "kernel",
                "intake", "PDUs/s", "us CPU", "order");

    std::string notice;
    struct Summary {
        std::uint64_t rate;
        double rateRatio, cpuRatio;
        std::uint64_t bareLost, intakeLost, outOfOrder;
    };
    std::vector<Summary> summaries;
    for (std::uint64_t rate : settings.rates) {
        std::vector<double> rateRatios, cpuRatios;
        Summary summary{rate, 0, 0, 0, 0, 0};
        for (std::uint32_t pair = 0; pair < settings.pairs; ++pair) {
            // Alternate which side goes first, so that neither always meets the same moment.
            Run bare, intake;
            if (pair % 2 == 0) {
                bare = RunBareLoop(traffic, settings, rate);
                intake = RunIntake(traffic, settings, rate, notice);
            } else {
                intake = RunIntake(traffic, settings, rate, notice);
                bare = RunBareLoop(traffic, settings, rate);
            }
            PrintRun(RateName(rate), "bare", bare);
            PrintRun(RateName(rate), "intake", intake);
            rateRatios.push_back(bare.Rate() > 0 ? intake.Rate() / bare.Rate() : 0);
            cpuRatios.push_back(bare.CpuMicrosPerPdu() > 0 ? intake.CpuMicrosPerPdu() / bare.CpuMicrosPerPdu() : 0);
            summary.bareLost += bare.Lost();
            summary.intakeLost += intake.Lost();
            summary.outOfOrder += intake.outOfOrder;
        }
        summary.rateRatio = Median(rateRatios);
        summary.cpuRatio = Median(cpuRatios);
        summaries.push_back(summary);
    }
    if (!notice.empty())
        std::printf("intake: %s\n", notice.c_str());

    std::printf("\nmedian of the pairs (intake / bare), loss over all pairs, PDUs out of order in the intake:\n");
    for (const Summary& s : summaries)
        std::printf("  %-12s rate %.2f   CPU per PDU %.2f   lost: bare %" PRIu64 ", intake %" PRIu64
                    "   order: %" PRIu64 "\n",
                    RateName(s.rate).c_str(), s.rateRatio, s.cpuRatio, s.bareLost, s.intakeLost, s.outOfOrder);
    std::printf("goals: at saturation rate >= 0.60; nothing lost at 150000/s; CPU per PDU <= 1.5; order kept\n");
    return 0;
}
