// Resident memory of Quorlex before, at the peak of and after a crowd of
// distinct DIS radios: 80,000 radios (one Transmitter PDU each, on
// loopback) fill the records and the transmitter tree; the tree's
// sweeps then drop every one of them and their records are released. The
// program runs as the operator runs it (application object, intake, shown
// main window offscreen) with a Timeout of 3 seconds.
//
// Each run is a fresh process of this program, in two variants: "kept", with
// the memory trim after sweeps switched off (the allocator keeps what it
// freed), and "trimmed", as shipped. Baseline: the resident memory of the
// same process before the radios came. Goal: after the sweeps, within 2x of
// the baseline. "In use" is what the allocator counts as allocated in its
// main arena (the records themselves come from the intake worker's arena).
//
// Run inside a private network namespace (run_isolated), like the tests.
#include "BenchFreePort.h"
#include "CMainFrame.h"
#include "CQuorlexApp.h"
#include "IMessageReporter.h"
#include "engine/CProfile.h"
#include "engine/CUdpSender.h"
#include "engine/DisTraffic.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

namespace {

constexpr std::uint32_t kRadios = 80000;
constexpr int kTimeoutSeconds = 3;
constexpr int kRuns = 3;

class SilentReporter : public IMessageReporter {
public:
    void ShowError(const QString& text, const QString&) override
    {
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
    }
    void ShowWarning(const QString&, const QString&) override {}
};

double ResidentMegabytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / 1e6;
}

double InUseMegabytes() { return static_cast<double>(::mallinfo2().uordblks) / 1e6; }

bool WaitFor(const std::function<bool()>& done, int seconds)
{
    const QDeadlineTimer deadline(seconds * 1000);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// One run in this process: prints "baseline peak after inUse" in MB.
int RunOnce(bool trim)
{
    QTemporaryDir dir;
    CProfile profile(dir.filePath("profile.ini"));
    const std::uint16_t port = BenchFreeUdpPort();
    profile.Write(Profile::Properties::DISEnabled, 1);
    profile.Write(Profile::Properties::NetworkPort, port);
    profile.Write(Profile::Properties::Timeout, kTimeoutSeconds);
    SilentReporter reporter;
    CQuorlexApp app(profile, reporter);
    if (!trim)
        app.SetMemoryTrimmer(nullptr);
    if (!app.InitInstance())
        return 1;
    WaitFor([] { return false; }, 1);   // the window settles
    const double baseline = ResidentMegabytes();

    // Paced well below what the intake takes, so that no datagram is lost.
    std::thread sender([port] {
        CUdpSender to("127.0.0.1", port);
        for (std::uint32_t k = 0; k < kRadios; ++k) {
            const DisRadioId radio{static_cast<std::uint16_t>(1 + k / 10000),
                                   static_cast<std::uint16_t>(1 + k / 100 % 100),
                                   static_cast<std::uint16_t>(1 + k % 100), 1};
            to.Send(DisTraffic::TransmitterDatagram(radio));
            if (k % 100 == 99)
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    double peak = baseline;
    const bool filled = WaitFor(
        [&] {
            peak = std::max(peak, ResidentMegabytes());
            return app.GetRadioCount() == kRadios;
        },
        60);
    sender.join();
    if (!filled)
        std::fprintf(stderr, "only %zu of %u radios arrived\n", app.GetRadioCount(), kRadios);
    // Two sweeps: the first finds every radio heard, the second drops them.
    const bool swept = WaitFor([&] { return app.GetRadioCount() == 0; }, 4 * kTimeoutSeconds);
    WaitFor([] { return false; }, 1);   // the tick after the sweep
    if (!swept)
        std::fprintf(stderr, "%zu radios left after the sweeps\n", app.GetRadioCount());
    std::printf("%.1f %.1f %.1f %.1f\n", baseline, peak, ResidentMegabytes(), InUseMegabytes());
    app.mainFrame()->close();
    app.ExitInstance();
    return filled && swept ? 0 : 1;
}

struct Figures {
    double baseline = 0, peak = 0, after = 0, inUse = 0;
};

bool RunChild(const char* variant, Figures& figures)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {"--variant", variant});
    if (!child.waitForFinished(180000) || child.exitCode() != 0)
        return false;
    const QList<QByteArray> numbers = child.readAllStandardOutput().trimmed().split(' ');
    if (numbers.size() != 4)
        return false;
    figures = {numbers[0].toDouble(), numbers[1].toDouble(), numbers[2].toDouble(), numbers[3].toDouble()};
    return true;
}

}   // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc == 3 && std::string(argv[1]) == "--variant")
        return RunOnce(std::string(argv[2]) == "trimmed");

    std::printf("%u distinct DIS radios, then swept (Timeout %d s); resident memory in MB\n", kRadios, kTimeoutSeconds);
    std::printf("%-8s %4s %10s %10s %10s %10s %14s\n", "variant", "run", "baseline", "peak", "after", "in use",
                "after/baseline");
    bool met = true;
    for (const char* variant : {"kept", "trimmed"}) {
        for (int run = 1; run <= kRuns; ++run) {
            Figures f;
            if (!RunChild(variant, f)) {
                std::printf("%-8s %4d failed\n", variant, run);
                met = false;
                continue;
            }
            std::printf("%-8s %4d %10.1f %10.1f %10.1f %10.1f %13.2fx\n", variant, run, f.baseline, f.peak, f.after,
                        f.inUse, f.after / f.baseline);
            if (std::string(variant) == "trimmed")
                met = met && f.after <= 2 * f.baseline;
        }
    }
    std::printf("After the sweeps within 2x of the baseline (trimmed): %s\n", met ? "met" : "NOT MET");
    return 0;
}
