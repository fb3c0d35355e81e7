#include "engine/CMemoryTrimmer.h"

#include <malloc.h>

CMemoryTrimmer::CMemoryTrimmer(Trim trim) : m_trim(std::move(trim))
{
    if (!m_trim)
        m_trim = [] { ::malloc_trim(0); };
}

CMemoryTrimmer::~CMemoryTrimmer()
{
    {
        std::lock_guard lock(m_lock);
        m_stopping = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void CMemoryTrimmer::Request()
{
    {
        std::lock_guard lock(m_lock);
        m_requested = true;
        if (!m_thread.joinable())
            m_thread = std::thread(&CMemoryTrimmer::Run, this);
    }
    m_changed.notify_all();
}

void CMemoryTrimmer::MergeFreedBlocksAtOnce()
{
    static const bool done = [] { return ::mallopt(M_MXFAST, 0) == 1; }();
    static_cast<void>(done);
}

bool CMemoryTrimmer::IsIdle() const
{
    std::lock_guard lock(m_lock);
    return !m_requested && !m_running;
}

void CMemoryTrimmer::WaitUntilIdle() const
{
    std::unique_lock lock(m_lock);
    m_changed.wait(lock, [this] { return !m_requested && !m_running; });
}

unsigned long CMemoryTrimmer::trimCount() const
{
    std::lock_guard lock(m_lock);
    return m_trims;
}

void CMemoryTrimmer::Run()
{
    std::unique_lock lock(m_lock);
    for (;;) {
        m_changed.wait(lock, [this] { return m_requested || m_stopping; });
        if (m_stopping)
            return;
        m_requested = false;
        m_running = true;
        lock.unlock();
        m_trim();
        lock.lock();
        m_running = false;
        ++m_trims;
        m_changed.notify_all();
    }
}
