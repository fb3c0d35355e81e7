#include "engine/CPduLogger.h"

#include "engine/PduTextLog.h"

#include <optional>

struct CPduLogger::Session {
    PduLogSettings settings;
    SignalPortion portion = SignalPortion::First5Percent;
    // The IP filter's address; none when its text names no address, which
    // then matches no sender (a sender's text is always an address).
    std::optional<std::uint32_t> filterAddress;
    std::unique_ptr<CLogFileWriter> writer;

    bool Passes(const DisRadioId& radio, const SenderAddress& sender) const
    {
        if (settings.filterByEntity && !(radio == settings.entity))
            return false;
        return !settings.filterByIp || filterAddress == sender.Address();
    }
};

namespace {

// Each worker formats into its own buffer, which keeps its capacity between PDUs.
std::string& Scratch()
{
    thread_local std::string text;
    text.clear();
    return text;
}

}   // namespace

CPduLogger::~CPduLogger() { Stop(); }

void CPduLogger::SetErrorReporter(std::shared_ptr<ILogErrorReporter> reporter)
{
    std::lock_guard lock(m_lock);
    m_reporter = std::move(reporter);
}

bool CPduLogger::Start(const PduLogSettings& settings, std::string& error)
{
    Stop();
    auto session = std::make_shared<Session>();
    session->settings = settings;
    session->portion = SignalPortionFromText(settings.signalPortion);
    session->filterAddress = ParseDottedAddress(settings.ipAddress);
    session->writer = CLogFileWriter::Open(
        settings.fileName, [this](const std::string& message) { OnWriterFailure(message); }, error, WriterLimits());
    if (!session->writer)
        return false;
    std::lock_guard lock(m_lock);
    m_session = std::move(session);
    m_active.store(true, std::memory_order_release);
    return true;
}

void CPduLogger::Stop()
{
    std::shared_ptr<Session> session;
    {
        std::lock_guard lock(m_lock);
        m_active.store(false, std::memory_order_release);
        session.swap(m_session);
    }
    // A worker may still hold the session; its appends are refused from here on.
    if (session)
        session->writer->Close();
}

void CPduLogger::SetWriterLimits(const CLogFileWriter::Limits& limits)
{
    std::lock_guard lock(m_lock);
    m_writerLimits = limits;
}

CLogFileWriter::Limits CPduLogger::WriterLimits() const
{
    std::lock_guard lock(m_lock);
    return m_writerLimits;
}

void CPduLogger::OnWriterFailure(const std::string& message)
{
    // On the writer's thread or on a logging worker's: the session stays
    // until Stop, which joins its writer.
    m_active.store(false, std::memory_order_release);
    std::shared_ptr<ILogErrorReporter> reporter;
    {
        std::lock_guard lock(m_lock);
        reporter = m_reporter;
    }
    if (reporter)
        reporter->ReportLogError(message);
}

std::shared_ptr<CPduLogger::Session> CPduLogger::CurrentSession() const
{
    if (!IsLogging())
        return nullptr;
    std::lock_guard lock(m_lock);
    return m_session;
}

template <typename View, typename FormatText>
void CPduLogger::Log(const View& pdu, const SenderAddress& sender, FormatText formatText)
{
    auto session = CurrentSession();
    if (!session || !session->Passes(DisRadioId::Of(pdu.record), sender))
        return;
    if (session->settings.binary) {
        // The host-order record as the buffer holds it: fixed part and what its lengths announce.
        session->writer->Append({reinterpret_cast<const char*>(pdu.recordBytes.data()), pdu.recordBytes.size()});
        return;
    }
    std::string& text = Scratch();
    formatText(text, *session);
    session->writer->Append(text);
}

void CPduLogger::LogTransmitterPdu(const TransmitterPduView& pdu, const SenderAddress& sender)
{
    Log(pdu, sender, [&](std::string& text, const Session&) { AppendTransmitterText(text, pdu, sender.Text()); });
}

void CPduLogger::LogSignalPdu(const SignalPduView& pdu, const SenderAddress& sender)
{
    Log(pdu, sender, [&](std::string& text, const Session& session) {
        AppendSignalText(text, pdu, sender.Text(), session.portion);
    });
}
