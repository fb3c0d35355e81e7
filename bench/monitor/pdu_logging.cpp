// PDU logging, text and binary, by the logging engine alone and through the
// application's DIS handlers, over runs long enough to fill the log writer's
// backlog several times over (four times its limit in bytes): a disk that
// cannot keep up makes the writer give up within the run, one that can keeps
// it going, and the rate it sustains is what the run shows. The baseline is
// the handlers while not logging. Each radio sends a Transmitter PDU with four
// modulation-parameter bytes and a Signal PDU of 480 samples in turn.
#include "engine/CPduLogger.h"
#include "engine/CQuorlexAppCore.h"
#include "engine/IPduHandler.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::uint32_t kRadios = 100;
constexpr int kBacklogsPerRun = 4;

class NullFrame : public IMainFrame {
public:
    void PostReceiverUpdate(const RadioRef&) override {}
    void SweepTree() override {}
    void RemoveHlaRadio(const CRadioReceive&) override {}
    void OpenDocumentWindow(const std::shared_ptr<CDetailDoc>&) override {}
    void ActivateDocumentWindow(const std::shared_ptr<CDetailDoc>&) override {}
    void CloseDocumentWindow(const std::shared_ptr<CDetailDoc>&) override {}
};

struct Traffic {
    std::vector<std::vector<std::uint8_t>> transmitters, signals;

    Traffic()
    {
        for (std::uint32_t i = 0; i < kRadios; ++i) {
            TransmitterPdu t{};
            t.header = {6, 1, DisPduType::Transmitter, 4, i, 108, 0};
            t.entityId = {1, 3001, static_cast<std::uint16_t>(i)};
            t.radioId = 1;
            t.antennaLocation[0] = 1234567.891;
            t.frequencyLow = 251000000;
            t.transmitFrequencyBandwidth = 25000.0f;
            t.power = 40.5f;
            t.modulationParameterLength = 4;
            auto& tx = transmitters.emplace_back(kTransmitterPduSize + 4, 7);
            StoreRecord(t, tx.data());

            SignalPdu s{};
            s.header = {6, 1, DisPduType::Signal, 4, i, 32 + 480, 0};
            s.entityId = t.entityId;
            s.radioId = 1;
            s.sampleRate = 8000;
            s.samples = 480;
            s.dataLength = 480 * 8;
            auto& sig = signals.emplace_back(kSignalPduSize + 480, 0x5A);
            StoreRecord(s, sig.data());
        }
    }
};

// Hands the PDUs of radio `i` (a Transmitter and a Signal PDU) to the logger.
using Feed = std::function<void(std::uint32_t i)>;

struct Result {
    std::uint64_t pdus = 0;
    double workerSeconds = 0;   // time spent in the calls: what the DIS workers pay
    double totalSeconds = 0;    // until the file was closed, everything written
    std::uintmax_t fileBytes = 0;
    bool gaveUp = false;      // the writer gave up: the disk fell behind
    double gaveUpAfter = 0;   // seconds into the run

    double WorkerRate() const { return static_cast<double>(pdus) / workerSeconds; }
    double SustainedRate() const { return static_cast<double>(pdus) / totalSeconds; }
};

// Feeds `pairs` rounds (fewer when the writer gives up first).
Result Run(CPduLogger* logger, const PduLogSettings* settings, std::uint64_t pairs, const Feed& feed)
{
    std::string error;
    if (logger && !logger->Start(*settings, error)) {
        std::fprintf(stderr, "pdu_logging: %s\n", error.c_str());
        std::exit(1);
    }
    Result result;
    const auto start = Clock::now();
    std::uint64_t fed = 0;
    for (; fed < pairs; ++fed) {
        feed(static_cast<std::uint32_t>(fed % kRadios));
        // Looked at now and then: IsLogging is cheap, but not free.
        if (logger && fed % 1024 == 0 && !logger->IsLogging()) {
            result.gaveUp = true;
            result.gaveUpAfter = std::chrono::duration<double>(Clock::now() - start).count();
            break;
        }
    }
    const auto fedAll = Clock::now();
    if (logger)
        logger->Stop();
    const auto end = Clock::now();
    result.pdus = 2 * fed;
    result.workerSeconds = std::chrono::duration<double>(fedAll - start).count();
    result.totalSeconds = std::chrono::duration<double>(end - start).count();
    if (settings)
        result.fileBytes = std::filesystem::file_size(settings->fileName);
    return result;
}

// The run whose workers' rate is the median.
const Result& Median(std::vector<Result>& runs)
{
    std::sort(runs.begin(), runs.end(),
              [](const Result& a, const Result& b) { return a.WorkerRate() < b.WorkerRate(); });
    return runs[runs.size() / 2];
}

void Print(const char* what, const Result& r)
{
    std::printf("%-28s %9" PRIu64 " %12.0f %12.0f %9.1f  %s\n", what, r.pdus, r.WorkerRate(), r.SustainedRate(),
                static_cast<double>(r.fileBytes) / r.totalSeconds / 1e6,
                r.gaveUp ? ("gave up after " + std::to_string(r.gaveUpAfter).substr(0, 4) + " s").c_str() : "kept up");
}

}   // namespace

int main()
{
    const Traffic traffic;
    std::string dir = (std::filesystem::temp_directory_path() / "qlx-bench-XXXXXX").string();
    if (!::mkdtemp(dir.data()))
        return 1;
    PduLogSettings text;
    text.fileName = dir + "/bench.log";
    PduLogSettings binary = text;
    binary.binary = true;

    auto engineFeed = [&](CPduLogger& logger) {
        return [&traffic, &logger](std::uint32_t i) {
            const auto& tx = traffic.transmitters[i];
            const auto& sig = traffic.signals[i];
            const SenderAddress sender(0x0A000005u);
            logger.LogTransmitterPdu(*ViewTransmitterPdu(tx.data(), tx.size()), sender);
            logger.LogSignalPdu(*ViewSignalPdu(sig.data(), sig.size()), sender);
        };
    };
    auto handlerFeed = [&](CQuorlexAppCore& app) {
        return [&traffic, &app](std::uint32_t i) {
            const auto& tx = traffic.transmitters[i];
            const auto& sig = traffic.signals[i];
            const SenderAddress sender(0x0A000005u);
            app.OnTransmitterPdu(tx.data(), tx.size(), sender);
            app.OnSignalPdu(sig.data(), sig.size(), sender);
        };
    };

    // Long enough to fill the backlog several times: as many rounds as make
    // kBacklogsPerRun times its limit in the file, from the size of one round.
    const std::size_t backlog = LogWriterLimits{}.backlogLimit;
    auto roundsFor = [&](const PduLogSettings& settings) {
        CPduLogger logger;
        const Result one = Run(&logger, &settings, kRadios, engineFeed(logger));
        return kBacklogsPerRun * backlog / std::max<std::uintmax_t>(one.fileBytes / kRadios, 1);
    };

    std::printf("pdu_logging: %d times the writer's backlog limit of %zu MiB a run\n", kBacklogsPerRun, backlog >> 20);
    std::printf("%-28s %9s %12s %12s %9s\n", "", "PDUs", "PDUs/s", "sustained", "MB/s");
    for (const PduLogSettings* settings : {&text, &binary}) {
        const char* mode = settings->binary ? "binary" : "text";
        const std::uint64_t rounds = roundsFor(*settings);
        // Taken in turns, so that each meets the disk in every state; the
        // median of three of each is shown.
        std::vector<Result> engine, handlers, none;
        for (int repeat = 0; repeat < 3; ++repeat) {
            CPduLogger logger;
            engine.push_back(Run(&logger, settings, rounds, engineFeed(logger)));
            CQuorlexAppCore app;
            app.AttachMainFrame(std::make_shared<NullFrame>());
            handlers.push_back(Run(&app.GetLogger(), settings, rounds, handlerFeed(app)));
            CQuorlexAppCore quiet;
            quiet.AttachMainFrame(std::make_shared<NullFrame>());
            none.push_back(Run(nullptr, nullptr, rounds, handlerFeed(quiet)));
        }
        const Result& engineMedian = Median(engine);
        const Result& handlersMedian = Median(handlers);
        const Result& noneMedian = Median(none);
        Print((std::string("logging engine, ") + mode).c_str(), engineMedian);
        Print((std::string("handlers, ") + mode + " log").c_str(), handlersMedian);
        Print("handlers, not logging", noneMedian);
        const auto perPdu = [](const Result& r) { return r.workerSeconds / static_cast<double>(r.pdus) * 1e9; };
        std::printf(
            "  %s: logging adds %.0f ns per PDU to the handlers (%.0f ns alone); the engine alone takes %.0f ns;"
            " the writer gave up in %d of 6 logging runs\n",
            mode, perPdu(handlersMedian) - perPdu(noneMedian), perPdu(noneMedian), perPdu(engineMedian),
            static_cast<int>(
                std::count_if(engine.begin(), engine.end(), [](const Result& r) { return r.gaveUp; }) +
                std::count_if(handlers.begin(), handlers.end(), [](const Result& r) { return r.gaveUp; })));
    }
    std::filesystem::remove_all(dir);
    return 0;
}
