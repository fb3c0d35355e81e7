#include "core/CLogFileWriter.h"

#include <cerrno>
#include <cstring>
#include <system_error>

std::unique_ptr<CLogFileWriter> CLogFileWriter::Open(const std::string& path, FailureCallback onFailure,
                                                     std::string& error)
{
    // Binary mode: the text log writes its own CR LF line ends.
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        error = "Cannot open the log file " + path + ": " + std::strerror(errno) + ".";
        return nullptr;
    }
    // Everything reaches the file in large pieces from the writer thread; the
    // C library needs no buffer of its own.
    std::setvbuf(file, nullptr, _IONBF, 0);
    try {
        return std::unique_ptr<CLogFileWriter>(new CLogFileWriter(file, path, std::move(onFailure)));
    } catch (const std::system_error& failure) {
        // The writer thread could not start (the system is out of threads).
        std::fclose(file);
        error = "Cannot log to " + path + ": " + failure.what() + ".";
        return nullptr;
    }
}

CLogFileWriter::CLogFileWriter(std::FILE* file, std::string path, FailureCallback onFailure)
    : m_file(file), m_path(std::move(path)), m_onFailure(std::move(onFailure)), m_thread([this] { Run(); })
{
}

CLogFileWriter::~CLogFileWriter() { Close(); }

bool CLogFileWriter::Append(std::string_view bytes)
{
    std::unique_lock lock(m_lock);
    if (m_closing || m_failed)
        return false;
    if (m_pending.size() + bytes.size() > kBacklogLimit) {
        // The disk cannot keep up. Stop here rather than make the intake wait
        // or let the buffer grow without bound; what is pending is still
        // written before the failure is reported.
        m_failed = m_overflowed = true;
        lock.unlock();
        m_wake.notify_one();
        return false;
    }
    std::size_t before = m_pending.size();
    m_pending.append(bytes);
    bool wake = before < kFlushThreshold && m_pending.size() >= kFlushThreshold;
    lock.unlock();
    if (wake)
        m_wake.notify_one();
    return true;
}

void CLogFileWriter::Close()
{
    {
        std::lock_guard lock(m_lock);
        m_closing = true;
    }
    m_wake.notify_one();
    if (m_thread.joinable())
        m_thread.join();
    if (m_file != nullptr) {
        if (std::fclose(m_file) != 0 && !m_failed)
            Fail("Logging stopped: could not write to " + m_path + ": " + std::strerror(errno) + ".");
        m_file = nullptr;
    }
}

void CLogFileWriter::Run()
{
    std::string batch;
    std::unique_lock lock(m_lock);
    for (;;) {
        m_wake.wait_for(lock, kFlushPeriod,
                        [this] { return m_closing || m_overflowed || m_pending.size() >= kFlushThreshold; });
        batch.clear();
        batch.swap(m_pending);
        bool closing = m_closing;
        bool overflowed = m_overflowed;
        m_overflowed = false;
        lock.unlock();

        bool written = batch.empty() || WriteOut(batch);
        if (written && overflowed)
            Fail("Logging stopped: the log file " + m_path + " could not keep up with the traffic.");
        if (closing || !written || overflowed)
            return;
        lock.lock();
    }
}

bool CLogFileWriter::WriteOut(const std::string& bytes)
{
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) == bytes.size() && std::fflush(m_file) == 0)
        return true;
    Fail("Logging stopped: could not write to " + m_path + ": " + std::strerror(errno) + ".");
    return false;
}

void CLogFileWriter::Fail(const std::string& message)
{
    {
        std::lock_guard lock(m_lock);
        m_failed = true;
        m_pending.clear();
        m_pending.shrink_to_fit();
    }
    if (m_onFailure)
        m_onFailure(message);
}
