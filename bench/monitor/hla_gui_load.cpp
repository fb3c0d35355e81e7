// Quorlex's GUI thread while HLA radios flood it: 200 radios of
// tools/radio-federate (another process) send 50 encoded audio signals a
// second each (10,000 interactions a second) into a federation of the
// benchmark's own. Quorlex runs as the operator runs it (application object,
// its HLA federate, the main window shown offscreen), and ticks the RTI when
// its socket becomes readable, besides its 250 ms tick.
//
// Measured over a window once every radio is shown: the GUI thread's share of
// one core (its CPU time over the wall time), the latency of events posted to
// it every 10 ms (what a click on a menu waits for before the menu opens),
// the signals counted per second, and the datagrams the kernel dropped on the
// RTI's socket for want of room.
//
// Baselines, in the same run and federation: Quorlex with the same radios
// silent (no signals), and a bare federate that takes the same flood with
// the RTI alone (it polls the RTI's socket and ticks with the same budget,
// doing nothing with the signals): the RTI's own share of a core.
//
// Each side runs in a fresh process of this program. The RTI's receive
// buffer is the RID file's default unless --receive-buffer says otherwise.
// Run inside a private network namespace (run_isolated), like the tests.
#include "BenchFederation.h"
#include "BenchFreePort.h"
#include "BenchOptions.h"
#include "CHlaInputPump.h"
#include "CQuorlexApp.h"
#include "IMessageReporter.h"
#include "engine/CProfile.h"
#include "engine/CQuorlexAppCore.h"

#include <DtRtiExtensions.hh>
#include <NullFederateAmbassador.hh>
#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <RTI.hh>

#include <linux/sock_diag.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Settings {
    std::uint32_t radios = 200;
    std::uint32_t rate = 50;   // signals a second and radio
    std::uint32_t seconds = 10;
    std::uint32_t runs = 3;
    std::uint32_t receiveBuffer = 0;   // 0: the RID file's default
};

constexpr const char* kFederation = "BenchGui";

double ThreadCpuSeconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double Seconds(Clock::duration duration) { return std::chrono::duration<double>(duration).count(); }

// The kernel's account of a socket: datagrams dropped, receive buffer.
std::pair<std::uint32_t, std::uint32_t> SocketMemory(int descriptor)
{
    std::uint32_t info[SK_MEMINFO_VARS] = {};
    socklen_t size = sizeof info;
    if (::getsockopt(descriptor, SOL_SOCKET, SO_MEMINFO, info, &size) != 0)
        return {0, 0};
    return {info[SK_MEMINFO_DROPS], info[SK_MEMINFO_RCVBUF]};
}

// What one side measured over its window; printed by the child as one line.
struct Result {
    double share = 0;   // of one core
    double signalsPerSecond = 0;
    double latencyP50Ms = 0, latencyP99Ms = 0, latencyMaxMs = 0;
    std::uint32_t drops = 0;
    std::uint32_t receiveBuffer = 0;
    std::uint32_t shown = 0;
    double ticksPerSecond = 0;

    std::string Line() const
    {
        char line[256];
        std::snprintf(line, sizeof line, "%f %f %f %f %f %u %u %u %f", share, signalsPerSecond, latencyP50Ms,
                      latencyP99Ms, latencyMaxMs, drops, receiveBuffer, shown, ticksPerSecond);
        return line;
    }
    static bool Parse(const std::string& text, Result& result)
    {
        std::istringstream in(text);
        return static_cast<bool>(in >> result.share >> result.signalsPerSecond >> result.latencyP50Ms >>
                                 result.latencyP99Ms >> result.latencyMaxMs >> result.drops >> result.receiveBuffer >>
                                 result.shown >> result.ticksPerSecond);
    }
};

// Runs the event loop (which sleeps while nothing happens, as the program's
// own does) until `done` holds, looked at every 20 ms, or `seconds` passed.
bool RunEventLoop(double seconds, const std::function<bool()>& done = {})
{
    QEventLoop loop;
    bool met = false;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done && done()) {
            met = true;
            loop.quit();
        }
    });
    check.start(20);
    QTimer::singleShot(static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
    return met;
}

// Posts a stamped event every 10 ms and notes how long each waited.
class LatencyProbe : public QObject {
public:
    LatencyProbe()
    {
        connect(&m_timer, &QTimer::timeout, this,
                [this] { QCoreApplication::postEvent(this, new Stamped(Clock::now())); });
        m_timer.start(10);
    }
    std::vector<double>& Latencies() { return m_latencies; }

protected:
    bool event(QEvent* event) override
    {
        if (event->type() != kType)
            return QObject::event(event);
        m_latencies.push_back(Seconds(Clock::now() - static_cast<Stamped*>(event)->posted) * 1000);
        return true;
    }

private:
    static constexpr QEvent::Type kType = static_cast<QEvent::Type>(QEvent::User + 7);
    struct Stamped : QEvent {
        explicit Stamped(Clock::time_point at) : QEvent(kType), posted(at) {}
        Clock::time_point posted;
    };
    QTimer m_timer;
    std::vector<double> m_latencies;
};

double Percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(fraction * static_cast<double>(values.size())))];
}

class SilentReporter : public IMessageReporter {
public:
    void ShowError(const QString& text, const QString& details) override
    {
        std::fprintf(stderr, "error: %s %s\n", qPrintable(text), qPrintable(details));
    }
    void ShowWarning(const QString&, const QString&) override {}
};

// Quorlex itself.
int RunQuorlex(const Settings& settings)
{
    QTemporaryDir dir;
    CProfile profile(dir.filePath("profile.ini"));
    profile.Write(Profile::Properties::DISEnabled, 0);
    profile.Write(Profile::Properties::HLAEnabled, 1);
    profile.Write(Profile::Properties::HLAFederation, kFederation);
    SilentReporter reporter;
    CQuorlexApp app(profile, reporter);
    if (!app.InitInstance() || !app.hlaInputPump())
        return 1;
    std::uint64_t ticks = 0;
    QObject::connect(app.hlaInputPump(), &CHlaInputPump::ticked, [&ticks] { ++ticks; });
    auto hlaRadios = [&] {
        std::uint32_t shown = 0;
        std::uint64_t heard = 0;
        for (const CRadioReceive& radio : app.GetRadios())
            if (radio.IsHla()) {
                ++shown;
                heard += radio.GetSignalCount();
            }
        return std::pair{shown, heard};
    };
    RunEventLoop(30, [&] { return hlaRadios().first == settings.radios; });

    const int descriptor = app.GetHlaManager()->InputDescriptors().front();
    LatencyProbe probe;
    const auto [dropsBefore, buffer] = SocketMemory(descriptor);
    const std::uint64_t signalsBefore = hlaRadios().second, ticksBefore = ticks;
    const double cpuBefore = ThreadCpuSeconds();
    const Clock::time_point start = Clock::now();
    RunEventLoop(settings.seconds);
    const double wall = Seconds(Clock::now() - start);

    Result result;
    result.share = (ThreadCpuSeconds() - cpuBefore) / wall;
    const auto [shown, heard] = hlaRadios();
    result.signalsPerSecond = static_cast<double>(heard - signalsBefore) / wall;
    result.latencyP50Ms = Percentile(probe.Latencies(), 0.5);
    result.latencyP99Ms = Percentile(probe.Latencies(), 0.99);
    result.latencyMaxMs = Percentile(probe.Latencies(), 1.0);
    result.drops = SocketMemory(descriptor).first - dropsBefore;
    result.receiveBuffer = buffer;
    result.shown = shown;
    result.ticksPerSecond = static_cast<double>(ticks - ticksBefore) / wall;
    std::printf("%s\n", result.Line().c_str());
    return 0;
}

// The RTI alone: a federate that subscribes the signals and ticks when its
// socket is readable, within the same budget, counting what it receives.
class BareFederate : public NullFederateAmbassador {
public:
    void receiveInteraction(RTI::InteractionClassHandle, const RTI::ParameterHandleValuePairSet&, const char*) override
    {
        ++heard;
    }
    std::uint64_t heard = 0;
};

int RunBare(const Settings& settings, const std::string& fedFile)
{
    BareFederate federate;
    RTI::RTIambassador rti;
    try {
        rti.createFederationExecution(kFederation, fedFile.c_str());
    } catch (const RTI::FederationExecutionAlreadyExists&) {
    }
    rti.joinFederationExecution("bare", kFederation, &federate);
    rti.subscribeInteractionClass(rti.getInteractionClassHandle("RadioSignal.EncodedAudioRadioSignal"));
    const int descriptor = DtReadFileDescriptor(&rti);
    auto runFor = [&](double seconds) {
        const Clock::time_point end =
            Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
        while (Clock::now() < end) {
            pollfd entry{descriptor, POLLIN, 0};
            if (::poll(&entry, 1, 100) > 0)
                rti.tick(0.0, CQuorlexAppCore::kHlaTickBudgetSeconds);
        }
    };
    runFor(2);   // the first signals arrive
    const auto [dropsBefore, buffer] = SocketMemory(descriptor);
    const std::uint64_t signalsBefore = federate.heard;
    const double cpuBefore = ThreadCpuSeconds();
    const Clock::time_point start = Clock::now();
    runFor(settings.seconds);
    const double wall = Seconds(Clock::now() - start);
    Result result;
    result.share = (ThreadCpuSeconds() - cpuBefore) / wall;
    result.signalsPerSecond = static_cast<double>(federate.heard - signalsBefore) / wall;
    result.drops = SocketMemory(descriptor).first - dropsBefore;
    result.receiveBuffer = buffer;
    std::printf("%s\n", result.Line().c_str());
    rti.resignFederationExecution(RTI::NO_ACTION);
    return 0;
}

// The radios, in a process of their own, for the life of the object.
class Radios {
public:
    Radios(const Settings& settings, std::uint32_t rate, const std::string& fedFile)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QCoreApplication::applicationDirPath() + "/radio-federate",
                        {"--federation", kFederation, "--fed", QString::fromStdString(fedFile), "--radios",
                         QString::number(settings.radios), "--rate", QString::number(rate), "--update", "0"});
        QByteArray output;
        while (!output.contains("ready") && m_process.waitForReadyRead(20000))
            output += m_process.readAllStandardOutput();
        m_ready = output.contains("ready");
        if (!m_ready)
            std::fprintf(stderr, "radio-federate: %s\n%s\n", qPrintable(m_process.errorString()), output.constData());
    }
    ~Radios()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(10000))
            m_process.kill();
    }
    bool ready() const { return m_ready; }

private:
    QProcess m_process;
    bool m_ready = false;
};

bool RunSide(const char* side, const Settings& settings, std::uint32_t rate, const std::string& fedFile, Result& result)
{
    Radios radios(settings, rate, fedFile);
    if (!radios.ready())
        return false;
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {"--side", side, "--fed", QString::fromStdString(fedFile), "--radios", QString::number(settings.radios),
                 "--seconds", QString::number(settings.seconds)});
    if (!child.waitForFinished(static_cast<int>(settings.seconds + 60) * 1000) || child.exitCode() != 0) {
        std::fprintf(stderr, "%s side: %s, exit code %d\n", side, qPrintable(child.errorString()), child.exitCode());
        return false;
    }
    // The last line: the RTI prints its own before.
    const QList<QByteArray> lines = child.readAllStandardOutput().trimmed().split('\n');
    return Result::Parse(lines.back().toStdString(), result);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

constexpr const char* kUsage = R"(Usage: bench_hla_gui_load [--radios N] [--rate N] [--seconds N] [--runs N]
                          [--receive-buffer BYTES]
Quorlex's GUI thread (share of a core, event latency) while N HLA radios send
RATE signals a second each; beside Quorlex with silent radios and a bare
federate taking the same flood. --receive-buffer sets RTI_socketReceiveBufferSize
(default: the RTI's own default).)";

}   // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Settings settings;
    // A child: --side quorlex|bare --fed PATH --radios N --seconds N.
    if (argc == 9 && std::string(argv[1]) == "--side") {
        settings.radios = static_cast<std::uint32_t>(std::stoul(argv[6]));
        settings.seconds = static_cast<std::uint32_t>(std::stoul(argv[8]));
        return std::string(argv[2]) == "bare" ? RunBare(settings, argv[4]) : RunQuorlex(settings);
    }
    BenchParseOptions(argc, argv, "bench_hla_gui_load", kUsage, [&](const std::string& name, std::uint32_t value) {
        if (name == "--radios")
            settings.radios = std::clamp(value, 1u, 2000u);
        else if (name == "--rate")
            settings.rate = std::min(value, 200u);
        else if (name == "--seconds")
            settings.seconds = std::clamp(value, 1u, 600u);
        else if (name == "--runs")
            settings.runs = std::clamp(value, 1u, 20u);
        else if (name == "--receive-buffer")
            settings.receiveBuffer = std::min(value, 1u << 28);
        else
            return false;
        return true;
    });

    const std::uint16_t port = BenchFreeUdpPort();
    const BenchFederation files(port, 0xEF4E0000u | port,
                                {"hla_gui_load", kFederation, ReadFile(QLX_SOURCE_ROOT "/monitor/hla/qlxRprFom10.fed"),
                                 static_cast<int>(settings.receiveBuffer), "(setq RTI_dumpFed 0)\n", false});
    std::printf("%u HLA radios at %u signals/s each (%u/s), %u s windows, RTI receive buffer %s; offscreen\n",
                settings.radios, settings.rate, settings.radios * settings.rate, settings.seconds,
                settings.receiveBuffer ? std::to_string(settings.receiveBuffer).c_str() : "of the RID default");
    std::printf("%-22s %4s %9s %10s %9s %9s %9s %7s %9s %6s %8s\n", "side", "run", "thread", "signals/s", "lat p50",
                "lat p99", "lat max", "drops", "rcvbuf", "shown", "ticks/s");
    struct Side {
        const char* name;
        const char* side;
        std::uint32_t rate;
    };
    const Side sides[] = {{"Quorlex, radios silent", "quorlex", 0},
                          {"Quorlex, flooded", "quorlex", settings.rate},
                          {"bare federate, flooded", "bare", settings.rate}};
    for (std::uint32_t run = 1; run <= settings.runs; ++run)
        for (const Side& side : sides) {
            Result r;
            if (!RunSide(side.side, settings, side.rate, files.fedFile(), r)) {
                std::printf("%-22s %4u failed\n", side.name, run);
                continue;
            }
            if (std::string(side.side) == "bare") {   // no event loop, no tree
                std::printf("%-22s %4u %8.1f%% %10.0f %9s %9s %9s %7u %9u %6s %8s\n", side.name, run, 100 * r.share,
                            r.signalsPerSecond, "-", "-", "-", r.drops, r.receiveBuffer, "-", "-");
                continue;
            }
            std::printf("%-22s %4u %8.1f%% %10.0f %7.1fms %7.1fms %7.1fms %7u %9u %6u %8.1f\n", side.name, run,
                        100 * r.share, r.signalsPerSecond, r.latencyP50Ms, r.latencyP99Ms, r.latencyMaxMs, r.drops,
                        r.receiveBuffer, r.shown, r.ticksPerSecond);
        }
    std::printf("Goal: the flooded GUI thread answers within 100 ms (lat max) and loses nothing (drops 0).\n");
    return 0;
}
