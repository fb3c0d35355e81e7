// radio-federate: RPR FOM radio transmitters in an HLA federation, for
// watching HLA radios in Quorlex without another RTI. It registers N radio
// transmitters, updates their 21 attributes and sends encoded audio radio
// signals for each at a rate, until interrupted or for a given time; then it
// deletes its radios and resigns.
#include "RadioFederate.h"

#include <getopt.h>
#include <unistd.h>

#include <atomic>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

namespace {

constexpr const char* kUsage = R"(Usage: radio-federate [options]
Joins an HLA federation (creating it when needed) with the RPR FOM radio
classes of qlxRprFom10.fed, registers radio transmitters, updates their 21
attributes and sends RadioSignal.EncodedAudioRadioSignal interactions for
each. Ends on Ctrl-C (or SIGTERM), or after --duration seconds: deletes its
radios, resigns and destroys the federation execution when it is the last.

The RTI is configured as for any federate: RTI_RID_FILE names the RID file
(else rid.mtl under RTI_CONFIG, else ./rid.mtl, else the defaults), and the
federation meets on the RID file's UDP port and multicast group.

Options:
  -f, --federation NAME    federation execution (default DefaultFed, as Quorlex)
      --fed PATH           FED file (default qlxRprFom10.fed in the current
                           directory, else beside this program)
  -n, --radios N           radio transmitters to register (default 1)
  -r, --rate N             signals per second and radio (default 16; 0: none)
  -u, --update SECONDS     seconds between updates of every attribute
                           (default 5; 0: only when a federate asks)
      --samples N          samples per signal at 8000 a second (default 480)
  -d, --duration SECONDS   end after this time (default 0: until interrupted)
      --name NAME          federate name (default radio-federate@HOST.PID)
      --prefix TEXT        object names are TEXT.1, TEXT.2, ... (default radioPID)
  -q, --quiet              print nothing but errors
  -h, --help               show this text

It prints "ready" and the radios' object names once they are registered.
)";

std::atomic<bool> g_stop{false};

void OnSignal(int) { g_stop.store(true); }

template <typename T>
bool Parse(const char* text, T& value)
{
    const char* end = text + std::char_traits<char>::length(text);
    const auto [rest, error] = std::from_chars(text, end, value);
    return error == std::errc() && rest == end;
}

std::string DefaultFedFile()
{
    const std::string name = "qlxRprFom10.fed";
    std::error_code error;
    if (std::filesystem::is_regular_file(name, error))
        return name;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const auto beside = program.parent_path() / name;
        if (std::filesystem::is_regular_file(beside, error))
            return beside.string();
    }
    return name;
}

int Usage(const char* problem)
{
    std::fprintf(stderr, "radio-federate: %s\n%s", problem, kUsage);
    return 2;
}

}   // namespace

int main(int argc, char** argv)
{
    RadioFederateOptions options;
    double duration = 0;
    bool quiet = false;
    bool fedGiven = false;
    enum { kFed = 1000, kSamples, kName, kPrefix };
    const option longOptions[] = {
        {"federation", required_argument, nullptr, 'f'},
        {"fed", required_argument, nullptr, kFed},
        {"radios", required_argument, nullptr, 'n'},
        {"rate", required_argument, nullptr, 'r'},
        {"update", required_argument, nullptr, 'u'},
        {"samples", required_argument, nullptr, kSamples},
        {"duration", required_argument, nullptr, 'd'},
        {"name", required_argument, nullptr, kName},
        {"prefix", required_argument, nullptr, kPrefix},
        {"quiet", no_argument, nullptr, 'q'},
        {"help", no_argument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    for (int choice; (choice = getopt_long(argc, argv, "f:n:r:u:d:qh", longOptions, nullptr)) != -1;) {
        bool ok = true;
        switch (choice) {
        case 'f':
            options.federation = optarg;
            break;
        case kFed:
            options.fedFile = optarg;
            fedGiven = true;
            break;
        case 'n':
            ok = Parse(optarg, options.radios) && options.radios > 0;
            break;
        case 'r':
            ok = Parse(optarg, options.signalRate) && options.signalRate >= 0;
            break;
        case 'u':
            ok = Parse(optarg, options.updateInterval) && options.updateInterval >= 0;
            break;
        case kSamples:
            ok = Parse(optarg, options.samples) && options.samples > 0 && options.samples <= 8000;
            break;
        case 'd':
            ok = Parse(optarg, duration) && duration >= 0;
            break;
        case kName:
            options.federateName = optarg;
            break;
        case kPrefix:
            options.radioPrefix = optarg;
            break;
        case 'q':
            quiet = true;
            break;
        case 'h':
            std::fputs(kUsage, stdout);
            return 0;
        default:
            return Usage("unknown option");
        }
        if (!ok)
            return Usage((std::string("bad value for ") + argv[optind - 1]).c_str());
    }
    if (optind != argc)
        return Usage("unexpected argument");
    if (!fedGiven)
        options.fedFile = DefaultFedFile();

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    try {
        RadioFederate federate(options);
        federate.Join();
        if (!quiet) {
            std::printf("ready: %s joined %s with %u radio(s)\n", federate.FederateName().c_str(),
                        options.federation.c_str(), static_cast<unsigned>(options.radios));
            for (const std::string& name : federate.RadioNames())
                std::printf("radio %s\n", name.c_str());
            std::fflush(stdout);
        }
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(duration);
        while (!g_stop.load() && (duration == 0 || std::chrono::steady_clock::now() < end)) {
            federate.Step();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        federate.Leave();
        if (!quiet)
            std::printf("done: %llu signals, %llu updates (%llu asked for)\n",
                        static_cast<unsigned long long>(federate.SignalsSent()),
                        static_cast<unsigned long long>(federate.UpdatesSent()),
                        static_cast<unsigned long long>(federate.UpdatesAsked()));
        return 0;
    } catch (const RTI::Exception& exception) {
        std::fprintf(stderr, "radio-federate: %s%s%s\n", exception._name ? exception._name : "RTI exception",
                     exception._reason && *exception._reason ? ": " : "", exception._reason ? exception._reason : "");
        return 1;
    }
}
