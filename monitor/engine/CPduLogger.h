// The PDU logging engine: start and stop a session, and log every DIS
// Transmitter and Signal PDU that passes the session's filters, as text
// blocks or as binary records.
//
// Start and Stop come from the UI thread; the Log calls come from the DIS
// workers at any time, also while a session starts or stops. A worker never
// touches the file: it formats a block and hands it to the session's writer
// (see CLogFileWriter), so stopping is safe while workers log, blocks of the
// two workers never interleave, and a slow disk never stalls the intake.
#pragma once

#include "engine/CLogFileWriter.h"
#include "engine/ILogErrorReporter.h"
#include "engine/PduLogSettings.h"
#include "engine/PduView.h"
#include "engine/SenderAddress.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

class CPduLogger {
public:
    CPduLogger() = default;
    ~CPduLogger();   // Stop()
    CPduLogger(const CPduLogger&) = delete;
    CPduLogger& operator=(const CPduLogger&) = delete;

    // Who hears of a session that stopped by itself, at the moment it does
    // (IsLogging() is false from then on). Set before logging starts.
    void SetErrorReporter(std::shared_ptr<ILogErrorReporter> reporter);
    // The file writer's flush period and backlog limit for the sessions
    // started from now on (tests and benchmarks make them small).
    void SetWriterLimits(const CLogFileWriter::Limits& limits);

    // Opens (creates or empties) the file and starts a session, ending any
    // running one first. False with `error` set when the file cannot be opened.
    bool Start(const PduLogSettings& settings, std::string& error);

    // Ends the session: writes what is pending and closes the file. Also
    // cleans up after a session that stopped by itself.
    void Stop();

    // True while a session captures; false again after Stop or a failure.
    bool IsLogging() const { return m_active.load(std::memory_order_acquire); }

    // Any thread. Cheap when not logging.
    void LogTransmitterPdu(const TransmitterPduView& pdu, const SenderAddress& sender);
    void LogSignalPdu(const SignalPduView& pdu, const SenderAddress& sender);

private:
    struct Session;
    std::shared_ptr<Session> CurrentSession() const;
    template <typename View, typename FormatText>
    void Log(const View& pdu, const SenderAddress& sender, FormatText formatText);
    void OnWriterFailure(const std::string& message);
    CLogFileWriter::Limits WriterLimits() const;

    mutable std::mutex m_lock;   // guards the three members below
    std::shared_ptr<Session> m_session;
    std::shared_ptr<ILogErrorReporter> m_reporter;
    CLogFileWriter::Limits m_writerLimits;
    std::atomic<bool> m_active{false};
};
