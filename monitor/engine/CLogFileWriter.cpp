#include "engine/CLogFileWriter.h"

#include <cerrno>
#include <cstring>
#include <system_error>

namespace {

// The size pieces are gathered in: large enough to write in one go, small
// enough that the chunks kept for reuse cost little.
constexpr std::size_t kChunkSize = std::size_t{256} * 1024;
constexpr std::size_t kMaxSpareChunks = 8;

}   // namespace

std::unique_ptr<CLogFileWriter> CLogFileWriter::Open(const std::string& path, FailureCallback onFailure,
                                                     std::string& error, const Limits& limits)
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
        return std::unique_ptr<CLogFileWriter>(new CLogFileWriter(file, path, std::move(onFailure), limits));
    } catch (const std::system_error& failure) {
        // The writer thread could not start (the system is out of threads).
        std::fclose(file);
        error = "Cannot log to " + path + ": " + failure.what() + ".";
        return nullptr;
    }
}

CLogFileWriter::CLogFileWriter(std::FILE* file, std::string path, FailureCallback onFailure, const Limits& limits)
    : m_file(file), m_path(std::move(path)), m_onFailure(std::move(onFailure)), m_limits(limits),
      m_thread([this] { Run(); })
{
}

CLogFileWriter::~CLogFileWriter() { Close(); }

bool CLogFileWriter::Append(std::string_view bytes)
{
    std::unique_lock lock(m_lock);
    if (m_closing || m_givenUp)
        return false;
    if (m_pendingBytes + bytes.size() > m_limits.backlogLimit) {
        // The disk cannot keep up. Stop here rather than make the intake wait
        // or let the buffer grow without bound; what is pending is still
        // written, but the user hears of it now.
        lock.unlock();
        GiveUp("Logging stopped: the log file " + m_path + " could not keep up with the traffic.", false);
        return false;
    }
    if (m_pending.empty() || m_pending.back().size() + bytes.size() > m_pending.back().capacity()) {
        if (!m_spare.empty()) {
            m_pending.push_back(std::move(m_spare.back()));
            m_spare.pop_back();
        } else {
            m_pending.emplace_back().reserve(std::max(kChunkSize, bytes.size()));
        }
    }
    m_pending.back().append(bytes);
    const std::size_t before = m_pendingBytes;
    m_pendingBytes += bytes.size();
    const bool wake = before < m_limits.flushThreshold && m_pendingBytes >= m_limits.flushThreshold;
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
        if (std::fclose(m_file) != 0)
            GiveUp("Logging stopped: could not write to " + m_path + ": " + std::strerror(errno) + ".", true);
        m_file = nullptr;
    }
}

void CLogFileWriter::Run()
{
    std::vector<std::string> batch;
    std::unique_lock lock(m_lock);
    for (;;) {
        m_wake.wait_for(lock, m_limits.flushPeriod,
                        [this] { return m_closing || m_givenUp || m_pendingBytes >= m_limits.flushThreshold; });
        // The chunks written last time go back for reuse.
        for (std::string& chunk : batch)
            if (m_spare.size() < kMaxSpareChunks && chunk.capacity() <= 2 * kChunkSize) {
                chunk.clear();
                m_spare.push_back(std::move(chunk));
            }
        batch.clear();
        batch.swap(m_pending);
        m_pendingBytes = 0;
        // Given up: nothing more comes, so this is the last batch.
        const bool last = m_closing || m_givenUp;
        lock.unlock();
        if (!WriteOut(batch) || last)
            return;
        lock.lock();
    }
}

bool CLogFileWriter::WriteOut(const std::vector<std::string>& chunks)
{
    for (const std::string& chunk : chunks) {
        if (std::fwrite(chunk.data(), 1, chunk.size(), m_file) != chunk.size()) {
            GiveUp("Logging stopped: could not write to " + m_path + ": " + std::strerror(errno) + ".", true);
            return false;
        }
    }
    return true;
}

void CLogFileWriter::GiveUp(const std::string& message, bool dropPending)
{
    {
        std::lock_guard lock(m_lock);
        if (m_givenUp)
            return;   // said once
        m_givenUp = true;
        if (dropPending) {
            m_pending.clear();
            m_pending.shrink_to_fit();
            m_pendingBytes = 0;
        }
    }
    m_wake.notify_one();
    if (m_onFailure)
        m_onFailure(message);
}
