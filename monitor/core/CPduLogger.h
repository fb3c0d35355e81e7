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

#include "core/CLogFileWriter.h"
#include "core/ILogErrorReporter.h"
#include "core/PduLogSettings.h"
#include "core/PduView.h"

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

    // Who hears of a session that stopped by itself. Set before logging starts.
    void SetErrorReporter(std::shared_ptr<ILogErrorReporter> reporter);

    // Opens (creates or empties) the file and starts a session, ending any
    // running one first. False with `error` set when the file cannot be opened.
    bool Start(const PduLogSettings& settings, std::string& error);

    // Ends the session: writes what is pending and closes the file. Also
    // cleans up after a session that stopped by itself.
    void Stop();

    // True while a session captures; false again after Stop or a failure.
    bool IsLogging() const { return m_active.load(std::memory_order_acquire); }

    // Any thread. Cheap when not logging.
    void LogTransmitterPdu(const TransmitterPduView& pdu, std::string_view sender);
    void LogSignalPdu(const SignalPduView& pdu, std::string_view sender);

private:
    struct Session;
    std::shared_ptr<Session> CurrentSession() const;
    template <typename View, typename FormatText>
    void Log(const View& pdu, std::string_view sender, FormatText formatText);
    void OnWriterFailure(const std::string& message);

    mutable std::mutex m_lock;   // guards m_session and m_reporter
    std::shared_ptr<Session> m_session;
    std::shared_ptr<ILogErrorReporter> m_reporter;
    std::atomic<bool> m_active{false};
};
