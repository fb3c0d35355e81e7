// The GUI thread's busy share while 1,000 DIS radios send 10,000 Transmitter
// PDUs per second (every one of them a receiver update). The PDUs go through
// the application core on a feeder thread, as the intake's transmitter worker
// hands them over, and reach the transmitter bar of a shown main window the
// way the program's own do (main frame link, main frame, bar); the tree is
// expanded and drawn offscreen. Goal: below 50 % of one core.
//
// The bar refreshes at most every 100 ms; for comparison the same load is run
// with a refresh at every event-loop pass that brings updates.
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

}   // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
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
    std::printf("GUI thread below 50%% of one core at 100 ms refreshes: %s\n", met ? "met" : "NOT MET");
    return 0;
}
