// The transmitter tree under load, in two parts.
//
// Updates: the GUI thread's busy share while 1,000 DIS radios send 10,000
// Transmitter PDUs per second (every one of them a receiver update). The PDUs
// go through the application core on a feeder thread, as the intake's
// transmitter worker hands them over, and reach the transmitter bar of a
// shown main window the way the program's own do (main frame link, main
// frame, bar); the tree is expanded and drawn offscreen. Goal: below 50 % of
// one core. The bar refreshes at most every 100 ms; for comparison the same
// load is run with a refresh at every event-loop pass that brings updates.
//
// Sweep: 1,000 to 80,000 radios of four senders fall silent and the tick's
// sweep drops them from a tree that the operator has expanded whole ("*"),
// or drops every other one of them (the rest keep sending). A 1 ms timer on
// the GUI thread measures how long the thread does not answer from the
// sweep until its last item is deleted and the tree is drawn again.
// Baseline: the same sweep of the tree collapsed. Goals: the longest stall
// below 100 ms at every size, and the GUI thread's time for a sweep linear
// in the radios (about the same per radio at every size). "stall" is the
// longest time between two firings of the probe, which a loaded machine
// lengthens by what it gives other programs; "busy" the longest CPU time the
// GUI thread spent between two firings, the sweep's own share. "slices" are
// the sweep's and the deletion's.
//
// Options: --part 0 both parts (default), 1 updates only, 2 sweep only;
// --largest N: the sweep's largest size (default 80000).
#include "BenchOptions.h"
#include "CMainFrame.h"
#include "CMainFrameLink.h"
#include "CTransmitterBar.h"
#include "CTransmitterTree.h"
#include "engine/CProfile.h"
#include "engine/CQuorlexAppCore.h"
#include "engine/DisPdu.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr std::uint32_t kRadios = 1000;
constexpr std::uint32_t kSenders = 10;
constexpr std::uint32_t kPdusPerSecond = 10000;
constexpr auto kWarmUp = std::chrono::seconds(2);
constexpr auto kMeasured = std::chrono::seconds(5);

double ThreadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Radio k: sender k % 10, site 1 + k / 500, application 1 + k / 100 % 5,
// entity 1 + k / 4 % 25, radio 1 + k % 4.
std::vector<std::uint8_t> TransmitterBytes(std::uint32_t k, std::uint32_t round)
{
    TransmitterPdu t{};
    t.header = {6, 1, DisPduType::Transmitter, 4, round, static_cast<std::uint16_t>(kTransmitterPduSize), 0};
    t.entityId = {static_cast<std::uint16_t>(1 + k / 500), static_cast<std::uint16_t>(1 + k / 100 % 5),
                  static_cast<std::uint16_t>(1 + k / 4 % 25)};
    t.radioId = static_cast<std::uint16_t>(1 + k % 4);
    // A radio keys up and down every few PDUs: pictures change up the tree.
    t.transmitState = (round / 3 + k) % 2 ? TransmitStateOnAndTransmitting : 1;
    t.frequencyLow = 30000000u + 25000u * k;
    t.power = 40.0f;
    std::vector<std::uint8_t> bytes(kTransmitterPduSize);
    StoreRecord(t, bytes.data());
    return bytes;
}

struct Result {
    double busyShare = 0;
    double pdusPerSecond = 0;
    double refreshesPerSecond = 0;
};

Result Run(std::int32_t treeType, int refreshIntervalMs)
{
    QTemporaryDir dir;
    CProfile profile(dir.filePath("profile.ini"));
    CQuorlexAppCore core;
    CMainFrame frame(profile);
    frame.resize(1280, 800);
    auto* bar = qobject_cast<CTransmitterBar*>(frame.transmitterDock());
    bar->SetRefreshInterval(refreshIntervalMs);
    TransmitterTreeHost host;
    host.getRadio = [&core](const RadioRef& radio) { return core.GetRadio(radio); };
    host.monitoring = [] { return MonitoringState{true, 3000, false, {}}; };
    host.quickView = [] { return QuickViewFlags{}; };
    host.treeType = [treeType] { return treeType; };
    bar->Attach(host);
    frame.show();
    auto link = std::make_shared<CMainFrameLink>(frame);
    core.AttachMainFrame(link);

    std::vector<std::string> senders;
    for (std::uint32_t s = 0; s < kSenders; ++s)
        senders.push_back("198.51.100." + std::to_string(s + 1));

    std::atomic<bool> stop{false};
    std::atomic<std::uint64_t> sent{0};
    std::thread feeder([&] {
        using Clock = std::chrono::steady_clock;
        constexpr std::uint32_t kBatch = 10;   // PDUs per millisecond
        auto next = Clock::now();
        std::uint32_t k = 0, round = 0;
        while (!stop.load()) {
            for (std::uint32_t i = 0; i < kBatch; ++i) {
                const auto bytes = TransmitterBytes(k, round);
                core.OnTransmitterPdu(bytes.data(), bytes.size(), senders[k % kSenders].c_str());
                if (++k == kRadios) {
                    k = 0;
                    ++round;
                }
            }
            sent.fetch_add(kBatch);
            next += std::chrono::microseconds(1000000 * kBatch / kPdusPerSecond);
            std::this_thread::sleep_until(next);
        }
    });

    Result result;
    double cpuStart = 0;
    std::uint64_t sentStart = 0, refreshStart = 0;
    std::chrono::steady_clock::time_point wallStart;
    QTimer::singleShot(kWarmUp, [&] {
        bar->tree()->expandAll();
        cpuStart = ThreadCpuSeconds();
        sentStart = sent.load();
        refreshStart = bar->refreshCount();
        wallStart = std::chrono::steady_clock::now();
    });
    QTimer::singleShot(kWarmUp + kMeasured, [&] {
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        result.busyShare = (ThreadCpuSeconds() - cpuStart) / wall;
        result.pdusPerSecond = static_cast<double>(sent.load() - sentStart) / wall;
        result.refreshesPerSecond = static_cast<double>(bar->refreshCount() - refreshStart) / wall;
        QApplication::quit();
    });
    QApplication::exec();
    stop.store(true);
    feeder.join();
    core.DetachMainFrame();
    link->Disconnect();
    if (core.GetRadioCount() != kRadios)
        std::fprintf(stderr, "unexpected radio count %zu\n", core.GetRadioCount());
    return result;
}

// --- Sweep ----------------------------------------------------------------------------------------------------

constexpr std::uint32_t kSweepSenders = 4;

// Radio k of the sweep: sender k % 4, site 1 + k / 20000, application
// 1 + k / 500 % 40, entity 1 + k / 4 % 125, radio 1 + k % 4.
std::vector<std::uint8_t> SweepRadioBytes(std::uint32_t k)
{
    TransmitterPdu t{};
    t.header = {6, 1, DisPduType::Transmitter, 4, 0, static_cast<std::uint16_t>(kTransmitterPduSize), 0};
    t.entityId = {static_cast<std::uint16_t>(1 + k / 20000), static_cast<std::uint16_t>(1 + k / 500 % 40),
                  static_cast<std::uint16_t>(1 + k / 4 % 125)};
    t.radioId = static_cast<std::uint16_t>(1 + k % 4);
    t.transmitState = k % 3 == 0 ? TransmitStateOnAndTransmitting : 1;
    t.frequencyLow = 30000000u + 25u * k;
    t.power = 40.0f;
    std::vector<std::uint8_t> bytes(kTransmitterPduSize);
    StoreRecord(t, bytes.data());
    return bytes;
}

enum class SweepShape { Collapsed, Expanded };

struct SweepResult {
    double longestStallMs = 0;
    double longestBusyMs = 0;   // the GUI thread's CPU time between two probe firings
    double cpuMs = 0;           // the GUI thread's, from the sweep to the tree drawn again
    double wallMs = 0;
    std::uint64_t sweepSlices = 0;
    std::uint64_t deleteSlices = 0;
    std::size_t radiosLeft = 0;
    bool finished = false;
};

SweepResult RunSweep(std::int32_t treeType, std::uint32_t radios, SweepShape shape, bool halfStays)
{
    using Clock = std::chrono::steady_clock;
    QTemporaryDir dir;
    CProfile profile(dir.filePath("profile.ini"));
    CQuorlexAppCore core;
    core.SetTimeout(1);   // a sweep every fourth tick
    CMainFrame frame(profile);
    frame.resize(1280, 800);
    auto* bar = qobject_cast<CTransmitterBar*>(frame.transmitterDock());
    TransmitterTreeHost host;
    host.getRadio = [&core](const RadioRef& radio) { return core.GetRadio(radio); };
    host.monitoring = [] { return MonitoringState{true, 3000, false, {}}; };
    host.quickView = [] { return QuickViewFlags{}; };   // frequency and transmit count
    host.treeType = [treeType] { return treeType; };
    host.radioSwept = [&core](const std::string& key) { core.OnDisRadioSwept(key); };
    host.itemsReleased = [&core](std::uint64_t items) { core.OnTreeItemsReleased(items); };
    bar->Attach(host);
    frame.show();
    auto link = std::make_shared<CMainFrameLink>(frame);
    core.AttachMainFrame(link);

    std::vector<std::string> senders;
    for (std::uint32_t s = 0; s < kSweepSenders; ++s)
        senders.push_back("198.51.100." + std::to_string(s + 1));
    auto hear = [&](std::uint32_t step) {
        for (std::uint32_t k = 0; k < radios; k += step) {
            const auto bytes = SweepRadioBytes(k);
            core.OnTransmitterPdu(bytes.data(), bytes.size(), senders[k % kSweepSenders].c_str());
        }
        QApplication::processEvents();   // the link's delivery
        bar->FlushUpdates();
    };
    auto settle = [] {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    };

    hear(1);
    CTransmitterTree* tree = bar->tree();
    if (shape == SweepShape::Expanded)
        tree->expandAll();
    auto treeIdle = [tree] { return !tree->IsSweeping() && tree->disposal().isIdle(); };
    auto settleUntilIdle = [&] {
        settle();
        while (!treeIdle())
            QApplication::processEvents();
    };
    settle();
    // The first sweep finds every radio heard.
    for (int tick = 0; tick < 4; ++tick)
        core.OnTimerTick();
    settleUntilIdle();
    if (halfStays)
        hear(2);
    settle();
    for (int tick = 0; tick < 3; ++tick)
        core.OnTimerTick();

    // The probe: as often as the thread lets it.
    std::vector<Clock::time_point> probes;
    std::vector<double> probeCpu;   // the thread's CPU seconds at each probe
    probes.reserve(100000);
    probeCpu.reserve(100000);
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(1);
    Clock::time_point sweepStart;
    double cpuStart = 0;
    int probesAfterIdle = -1;
    SweepResult result;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        probes.push_back(Clock::now());
        probeCpu.push_back(ThreadCpuSeconds());
        if (probesAfterIdle < 0 && sweepStart != Clock::time_point{} && treeIdle())
            probesAfterIdle = 0;
        // A few more after the last slice: the tree is drawn again meanwhile.
        if (probesAfterIdle >= 0 && ++probesAfterIdle > 20) {
            result.finished = true;
            QApplication::quit();
        }
    });
    const std::uint64_t sweepSlicesBefore = tree->sweep().sliceCount();
    const std::uint64_t deleteSlicesBefore = tree->disposal().sliceCount();
    probe.start();
    QTimer::singleShot(20, [&] {
        sweepStart = Clock::now();
        cpuStart = ThreadCpuSeconds();
        core.OnTimerTick();   // the sweep
    });
    QTimer::singleShot(std::chrono::minutes(10), [] { QApplication::quit(); });   // never hangs
    QApplication::exec();
    probe.stop();
    const Clock::time_point end = Clock::now();
    result.cpuMs = (ThreadCpuSeconds() - cpuStart) * 1000;
    result.wallMs = std::chrono::duration<double, std::milli>(end - sweepStart).count();
    Clock::time_point last = sweepStart;
    double lastCpu = cpuStart;
    for (std::size_t i = 0; i < probes.size(); ++i) {
        if (probes[i] < sweepStart)
            continue;
        result.longestStallMs =
            std::max(result.longestStallMs, std::chrono::duration<double, std::milli>(probes[i] - last).count());
        result.longestBusyMs = std::max(result.longestBusyMs, 1000 * (probeCpu[i] - lastCpu));
        last = probes[i];
        lastCpu = probeCpu[i];
    }
    result.sweepSlices = tree->sweep().sliceCount() - sweepSlicesBefore;
    result.deleteSlices = tree->disposal().sliceCount() - deleteSlicesBefore;
    result.radiosLeft = core.GetRadioCount();
    core.DetachMainFrame();
    link->Disconnect();
    return result;
}

void RunSweeps(std::uint32_t largest)
{
    std::printf("Sweep of radios of %u senders that fell silent, offscreen; frequency and transmit count shown\n",
                kSweepSenders);
    std::printf("%-10s %-9s %-10s %8s %9s %8s %9s %9s %9s %7s\n", "tree", "drops", "shape", "radios", "stall ms",
                "busy ms", "GUI ms", "us/radio", "wall ms", "slices");
    bool stallsMet = true;
    bool busyMet = true;
    bool allFinished = true;
    for (std::int32_t type : {0, 1}) {
        for (bool halfStays : {false, true}) {
            double leastPerRadio = 0, mostPerRadio = 0;
            for (std::uint32_t radios : {1000u, 2000u, 5000u, 10000u, 20000u, 40000u, 80000u}) {
                if (radios > largest)
                    break;
                for (SweepShape shape : {SweepShape::Collapsed, SweepShape::Expanded}) {
                    const SweepResult r = RunSweep(type, radios, shape, halfStays);
                    const std::uint32_t dropped = halfStays ? radios / 2 : radios;
                    const double perRadio = 1000 * r.cpuMs / dropped;
                    std::printf(
                        "%-10s %-9s %-10s %8u %9.1f %8.1f %9.1f %9.2f %9.1f %3llu+%-3llu%s\n",
                        type == 1 ? "by entity" : "by sender", halfStays ? "half" : "all",
                        shape == SweepShape::Expanded ? "expanded" : "collapsed", radios, r.longestStallMs,
                        r.longestBusyMs, r.cpuMs, perRadio, r.wallMs, static_cast<unsigned long long>(r.sweepSlices),
                        static_cast<unsigned long long>(r.deleteSlices), r.finished ? "" : "  (did not finish)");
                    std::fflush(stdout);
                    allFinished = allFinished && r.finished && r.radiosLeft == radios - dropped;
                    if (shape == SweepShape::Expanded) {
                        stallsMet = stallsMet && r.longestStallMs < 100;
                        busyMet = busyMet && r.longestBusyMs < 100;
                        leastPerRadio = leastPerRadio == 0 ? perRadio : std::min(leastPerRadio, perRadio);
                        mostPerRadio = std::max(mostPerRadio, perRadio);
                    }
                }
            }
            std::printf("  expanded, %s: GUI time per dropped radio from %.2f to %.2f us (x%.1f)\n",
                        halfStays ? "half dropped" : "all dropped", leastPerRadio, mostPerRadio,
                        leastPerRadio > 0 ? mostPerRadio / leastPerRadio : 0.0);
        }
    }
    std::printf("Longest stall below 100 ms at every size, expanded: %s; longest busy stretch below 100 ms: %s%s\n",
                stallsMet ? "met" : "NOT MET", busyMet ? "met" : "NOT MET",
                allFinished ? "" : " (some sweeps did not finish or left the wrong radios)");
}

void RunUpdates()
{
    std::printf("%u radios from %u senders, %u Transmitter PDUs/s, tree expanded, offscreen\n", kRadios, kSenders,
                kPdusPerSecond);
    std::printf("%-10s %-14s %10s %12s %10s\n", "tree", "refresh", "PDUs/s", "refreshes/s", "GUI busy");
    bool met = true;
    for (int interval : {CTransmitterBar::kRefreshIntervalMs, 0}) {
        for (std::int32_t type : {0, 1}) {
            const Result r = Run(type, interval);
            std::printf("%-10s %-14s %10.0f %12.1f %9.1f%%\n", type == 1 ? "by entity" : "by sender",
                        interval ? "every 100 ms" : "every pass", r.pdusPerSecond, r.refreshesPerSecond,
                        100.0 * r.busyShare);
            if (interval != 0)
                met = met && r.busyShare < 0.5;
        }
    }
    std::printf("GUI thread below 50%% of one core at 100 ms refreshes: %s\n\n", met ? "met" : "NOT MET");
}

}   // namespace

int main(int argc, char** argv)
{
    std::uint32_t part = 0;
    std::uint32_t largest = 80000;
    BenchParseOptions(argc, argv, "bench_tree_updates", "usage: bench_tree_updates [--part 0|1|2] [--largest RADIOS]",
                      [&](const std::string& option, std::uint32_t value) {
                          if (option == "--part" && value <= 2)
                              part = value;
                          else if (option == "--largest" && value >= 1000)
                              largest = value;
                          else
                              return false;
                          return true;
                      });
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (part != 2)
        RunUpdates();
    if (part != 1)
        RunSweeps(largest);
    return 0;
}
