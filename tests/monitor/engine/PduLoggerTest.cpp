#include "engine/CPduLogger.h"
#include "engine/CQuorlexAppCore.h"

#include "TestPdus.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const DisRadioId kRadioA{1, 3001, 17, 2};
const DisRadioId kRadioB{2, 5, 9, 1};

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The golden files hold the expected text with plain line ends; the log must
// have exactly the same lines, each ended by CR LF.
void ExpectCrLfText(const std::string& log, const char* goldenName)
{
    for (std::size_t i = 0; i < log.size(); ++i) {
        if (log[i] == '\n') {
            ASSERT_TRUE(i > 0 && log[i - 1] == '\r') << "bare LF at " << i;
        }
        if (log[i] == '\r') {
            ASSERT_TRUE(i + 1 < log.size() && log[i + 1] == '\n') << "bare CR at " << i;
        }
    }
    std::string plain;
    for (char c : log)
        if (c != '\r')
            plain += c;
    EXPECT_EQ(plain, ReadFile(fs::path(QLX_TEST_SOURCE_DIR) / "data" / goldenName));
}

class TempDir {
public:
    TempDir()
    {
        std::string pattern = (fs::temp_directory_path() / "qlx-log-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data());
    }
    ~TempDir() { fs::remove_all(m_path); }
    fs::path operator/(const char* name) const { return m_path / name; }

private:
    fs::path m_path;
};

// Keeps a PDU's bytes alive with its view.
template <typename View>
struct Held {
    testpdu::Buffer buffer;
    View view;
};

Held<TransmitterPduView> Transmitter(const Bytes& parameters, const DisRadioId& radio = kRadioA,
                                     std::uint32_t timestamp = 123456789u)
{
    TransmitterPdu t = testpdu::Transmitter(radio);
    t.header.timestamp = timestamp;
    testpdu::Buffer buffer(testpdu::Bytes(t, parameters));
    auto view = *ViewTransmitterPdu(buffer.data.get(), buffer.size);
    return {std::move(buffer), view};
}

Held<SignalPduView> Signal(const Bytes& data, const DisRadioId& radio = kRadioA)
{
    testpdu::Buffer buffer(testpdu::Bytes(testpdu::Signal(radio), data));
    auto view = *ViewSignalPdu(buffer.data.get(), buffer.size);
    return {std::move(buffer), view};
}

PduLogSettings Settings(const fs::path& file, bool binary = false, const char* portion = "first 5% of")
{
    PduLogSettings settings;
    settings.fileName = file.string();
    settings.binary = binary;
    settings.signalPortion = portion;
    return settings;
}

class PduLogger : public testing::Test {
protected:
    void Start(const PduLogSettings& settings)
    {
        std::string error;
        ASSERT_TRUE(logger.Start(settings, error)) << error;
        ASSERT_TRUE(logger.IsLogging());
    }

    TempDir dir;
    CPduLogger logger;
};

// --- The text log ---------------------------------------------------------------------------------------------

TEST_F(PduLogger, TransmitterBlocksAsGolden)
{
    Start(Settings(dir / "t.log"));
    logger.LogTransmitterPdu(Transmitter({1, 2, 3}).view, "10.0.0.5");
    logger.LogTransmitterPdu(Transmitter({}).view, "10.0.0.5");
    logger.LogTransmitterPdu(Transmitter({0, 128, 255}, kRadioA, 4294967295u).view, "192.168.100.200");
    logger.Stop();
    EXPECT_FALSE(logger.IsLogging());
    ExpectCrLfText(ReadFile(dir / "t.log"), "transmitter.txt");
}

TEST_F(PduLogger, SignalBlockUnderEachPortionAsGolden)
{
    std::string all;
    std::vector<std::string_view> portions(kSignalPortionChoices.begin(), kSignalPortionChoices.end());
    portions.push_back("anything else");
    for (std::string_view portion : portions) {
        Start(Settings(dir / "s.log", false, std::string(portion).c_str()));
        logger.LogSignalPdu(Signal(testpdu::Counting(64)).view, "10.0.0.5");
        logger.Stop();
        all += ReadFile(dir / "s.log");   // each start empties the file
    }
    ExpectCrLfText(all, "signal_portions.txt");
}

TEST_F(PduLogger, SignalPortionEdgesAsGolden)
{
    struct Case {
        const char* portion;
        std::size_t bytes;
    };
    std::string all;
    for (Case c : {Case{"first 5% of", 1024}, Case{"first 5% of", 128}, Case{"entire", 20}, Case{"last half of", 0},
                   Case{"entire", 0}}) {
        Start(Settings(dir / "e.log", false, c.portion));
        logger.LogSignalPdu(Signal(testpdu::Counting(c.bytes)).view, "10.0.0.5");
        logger.Stop();
        all += ReadFile(dir / "e.log");
    }
    ExpectCrLfText(all, "signal_edges.txt");
}

// --- The binary log -------------------------------------------------------------------------------------------

TEST_F(PduLogger, BinaryLogIsTheRecordsConcatenated)
{
    Start(Settings(dir / "b.log", true));
    auto t1 = Transmitter({1, 2, 3});
    auto s1 = Signal(testpdu::Counting(60));
    auto t2 = Transmitter({});
    // Bytes behind the announced ones (antenna patterns) stay out of the log.
    Bytes withPattern = testpdu::Bytes(testpdu::Transmitter(kRadioB), {9, 9, 9, 9});
    withPattern.resize(withPattern.size() + 6, 0xEE);
    testpdu::Buffer patternBuffer(withPattern);
    auto t3 = *ViewTransmitterPdu(patternBuffer.data.get(), patternBuffer.size);
    auto s2 = Signal({});

    std::string expected;
    auto add = [&](std::span<const std::uint8_t> bytes) { expected.append(bytes.begin(), bytes.end()); };
    logger.LogTransmitterPdu(t1.view, "10.0.0.5"), add(t1.view.recordBytes);
    logger.LogSignalPdu(s1.view, "10.0.0.5"), add(s1.view.recordBytes);
    logger.LogTransmitterPdu(t2.view, "10.0.0.5"), add(t2.view.recordBytes);
    logger.LogTransmitterPdu(t3, "10.0.0.5"), add(t3.recordBytes);
    logger.LogSignalPdu(s2.view, "10.0.0.5"), add(s2.view.recordBytes);
    logger.Stop();

    EXPECT_EQ(expected.size(), (104 + 3) + (32 + 60) + 104 + (104 + 4) + 32u);
    EXPECT_EQ(ReadFile(dir / "b.log"), expected);
}

// --- Filters --------------------------------------------------------------------------------------------------

struct FilterCase {
    const char* name;
    bool byEntity;
    bool byIp;
    int logged;   // of the four PDUs: radio A and B, each from two senders
};

void PrintTo(const FilterCase& c, std::ostream* out) { *out << c.name; }

class Filters : public PduLogger, public testing::WithParamInterface<FilterCase> {};

TEST_P(Filters, PduMustPassEveryFilterThatIsOn)
{
    PduLogSettings settings = Settings(dir / "f.log", true);
    settings.filterByEntity = GetParam().byEntity;
    settings.entity = kRadioA;
    settings.filterByIp = GetParam().byIp;
    settings.ipAddress = "10.0.0.5";
    Start(settings);
    for (const DisRadioId& radio : {kRadioA, kRadioB})
        for (const char* sender : {"10.0.0.5", "10.0.0.50"}) {
            logger.LogTransmitterPdu(Transmitter({}, radio).view, sender);
            logger.LogSignalPdu(Signal({}, radio).view, sender);
        }
    logger.Stop();
    EXPECT_EQ(ReadFile(dir / "f.log").size(), GetParam().logged * (104 + 32u));
}

INSTANTIATE_TEST_SUITE_P(PduLogger, Filters,
                         testing::Values(FilterCase{"None", false, false, 4}, FilterCase{"Entity", true, false, 2},
                                         FilterCase{"Ip", false, true, 2}, FilterCase{"Both", true, true, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Sessions, failures, flushing -----------------------------------------------------------------------------

TEST_F(PduLogger, FileThatCannotBeOpenedIsReported)
{
    std::string error;
    fs::path missing = dir / "no-such-folder";
    EXPECT_FALSE(logger.Start(Settings(missing / "x.log"), error));
    EXPECT_NE(error.find((missing / "x.log").string()), std::string::npos) << error;
    EXPECT_FALSE(logger.IsLogging());
    logger.LogTransmitterPdu(Transmitter({}).view, "10.0.0.5");   // harmless
}

TEST_F(PduLogger, EachStartEmptiesTheFile)
{
    Start(Settings(dir / "r.log", true));
    logger.LogSignalPdu(Signal({1, 2}).view, "10.0.0.5");
    Start(Settings(dir / "r.log", true));   // ends the running session first
    logger.LogSignalPdu(Signal({}).view, "10.0.0.5");
    logger.Stop();
    logger.Stop();
    EXPECT_EQ(ReadFile(dir / "r.log").size(), 32u);
}

TEST_F(PduLogger, OutputReachesTheFileWithoutStopping)
{
    Start(Settings(dir / "p.log"));
    logger.LogTransmitterPdu(Transmitter({}).view, "10.0.0.5");
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (ReadFile(dir / "p.log").empty() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(ReadFile(dir / "p.log").empty());
    EXPECT_TRUE(logger.IsLogging());
}

class RecordingReporter : public ILogErrorReporter {
public:
    void ReportLogError(const std::string& message) override
    {
        std::lock_guard lock(m_lock);
        m_messages.push_back(message);
        m_reported.notify_all();
    }
    std::vector<std::string> WaitForMessage()
    {
        std::unique_lock lock(m_lock);
        m_reported.wait_for(lock, std::chrono::seconds(10), [this] { return !m_messages.empty(); });
        return m_messages;
    }
    std::vector<std::string> Messages()
    {
        std::lock_guard lock(m_lock);
        return m_messages;
    }

private:
    std::mutex m_lock;
    std::condition_variable m_reported;
    std::vector<std::string> m_messages;
};

TEST_F(PduLogger, FailedWriteStopsLoggingWithAMessage)
{
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full to fail writes";
    auto reporter = std::make_shared<RecordingReporter>();
    logger.SetErrorReporter(reporter);
    Start(Settings("/dev/full", true));
    auto big = Signal(testpdu::Counting(8000));
    // Enough to wake the writer at once; the workers never wait for the disk.
    for (std::size_t logged = 0; logged < CLogFileWriter::Limits{}.flushThreshold;
         logged += big.view.recordBytes.size())
        logger.LogSignalPdu(big.view, "10.0.0.5");

    auto messages = reporter->WaitForMessage();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("/dev/full"), std::string::npos) << messages[0];
    EXPECT_FALSE(logger.IsLogging());
    logger.LogSignalPdu(big.view, "10.0.0.5");   // refused, not queued
    logger.Stop();
    EXPECT_EQ(reporter->WaitForMessage().size(), 1u);
}

// A disk that stops taking bytes (here a pipe nobody reads): past its backlog
// limit the writer gives up at once, on the logging thread, and says so; what
// it had accepted is still written once the bytes can go.
TEST_F(PduLogger, AWriterThatCannotWriteGivesUpAtItsBacklogLimitAtOnce)
{
    const fs::path pipe = dir / "stalled.log";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);   // there, but reading nothing yet
    ASSERT_GE(reader, 0);
    auto reporter = std::make_shared<RecordingReporter>();
    logger.SetErrorReporter(reporter);
    CLogFileWriter::Limits limits;
    limits.flushThreshold = 4096;
    limits.backlogLimit = 512 * 1024;   // beyond the pipe's own buffer
    logger.SetWriterLimits(limits);
    Start(Settings(pipe, true));

    auto big = Signal(testpdu::Counting(8000));
    std::size_t accepted = 0;
    for (int i = 0; i < 1000 && logger.IsLogging(); ++i) {
        logger.LogSignalPdu(big.view, "10.0.0.5");
        accepted += big.view.recordBytes.size();
    }
    EXPECT_FALSE(logger.IsLogging());
    const std::vector<std::string> messages = reporter->Messages();   // no waiting: already said
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("could not keep up"), std::string::npos) << messages[0];
    accepted -= big.view.recordBytes.size();   // the refused one

    // Bytes flow again: what was accepted reaches the file, and nothing is said twice.
    std::string written;
    std::thread drain([&] {
        ::fcntl(reader, F_SETFL, 0);
        char chunk[65536];
        for (ssize_t got; (got = ::read(reader, chunk, sizeof chunk)) > 0;)
            written.append(chunk, static_cast<std::size_t>(got));
    });
    logger.Stop();
    drain.join();
    ::close(reader);
    EXPECT_EQ(written.size(), accepted);
    EXPECT_EQ(reporter->Messages().size(), 1u);
}

// Blocks are whole: every block starts with its title line and ends with the rule.
void ExpectWholeBlocks(const std::string& log)
{
    const std::string rule = std::string(83, '-') + "\r\n";
    std::size_t at = 0;
    while (at < log.size()) {
        ASSERT_TRUE(log.compare(at, 13, "Transmit PDU ") == 0 || log.compare(at, 11, "Signal PDU ") == 0)
            << "block at " << at;
        std::size_t end = log.find(rule, at);
        ASSERT_NE(end, std::string::npos);
        at = end + rule.size();
    }
}

TEST_F(PduLogger, StopAndStartWhileTwoWorkersLog)
{
    std::atomic<bool> running{true};
    auto worker = [&](bool transmitter) {
        auto t = Transmitter({1, 2, 3});
        auto s = Signal(testpdu::Counting(64));
        while (running.load()) {
            if (transmitter)
                logger.LogTransmitterPdu(t.view, "10.0.0.5");
            else
                logger.LogSignalPdu(s.view, "10.0.0.6");
        }
    };
    std::thread transmitterWorker(worker, true);
    std::thread signalWorker(worker, false);
    std::vector<fs::path> files;
    for (int i = 0; i < 20; ++i) {
        files.push_back(dir / ("c" + std::to_string(i) + ".log").c_str());
        Start(Settings(files.back(), false, "entire"));
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        logger.Stop();
    }
    running = false;
    transmitterWorker.join();
    signalWorker.join();
    for (const auto& file : files) {
        SCOPED_TRACE(file.string());
        ExpectWholeBlocks(ReadFile(file));
    }
}

// --- Through the application's handlers -----------------------------------------------------------------------

TEST(PduLoggingHandlers, HandlersLogEvenBeforeTheFrameExists)
{
    TempDir dir;
    CQuorlexAppCore app;
    std::string error;
    ASSERT_TRUE(app.GetLogger().Start(Settings(dir / "h.log", true), error));
    testpdu::Buffer transmitter(testpdu::Bytes(testpdu::Transmitter(kRadioA), {7}));
    testpdu::Buffer signal(testpdu::Bytes(testpdu::Signal(kRadioA), {1, 2}));
    testpdu::Buffer shortSignal(testpdu::Bytes(testpdu::Signal(kRadioA), {1}, 16));
    app.OnTransmitterPdu(transmitter.data.get(), transmitter.size, "10.0.0.5");
    app.OnSignalPdu(signal.data.get(), signal.size, "10.0.0.5");
    app.OnSignalPdu(shortSignal.data.get(), shortSignal.size, "10.0.0.5");   // dropped: not logged either
    app.GetLogger().Stop();
    EXPECT_EQ(app.GetRadioCount(), 0u);
    EXPECT_EQ(ReadFile(dir / "h.log"),
              std::string(reinterpret_cast<const char*>(transmitter.data.get()), transmitter.size) +
                  std::string(reinterpret_cast<const char*>(signal.data.get()), signal.size));
}

}   // namespace
