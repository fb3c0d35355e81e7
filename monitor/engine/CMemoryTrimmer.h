// Gives the memory that the allocator holds free back to the system, on a
// thread of its own: after tens of thousands of radios have gone, the trim
// walks every free block of the heap and takes far longer than the UI
// thread may be held.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class CMemoryTrimmer {
public:
    // The trim itself; by default the allocator's (malloc_trim).
    using Trim = std::function<void()>;

    explicit CMemoryTrimmer(Trim trim = {});
    // Waits for a trim that runs.
    ~CMemoryTrimmer();
    CMemoryTrimmer(const CMemoryTrimmer&) = delete;
    CMemoryTrimmer& operator=(const CMemoryTrimmer&) = delete;

    // Starts a trim; asked while one runs, one more follows it. Any thread.
    void Request();
    // No trim runs or waits to.
    bool IsIdle() const;
    // Waits until IsIdle (tests and benchmarks measure the memory then).
    void WaitUntilIdle() const;
    unsigned long trimCount() const;

    // Has the allocator merge a freed block with its free neighbours when it
    // is freed, not later: with the default "fast bins" the blocks freed by
    // the tens of thousands (radios and their tree items going) are merged in
    // one go by the next large allocation, which holds the thread that makes
    // it for tens of milliseconds. Process-wide; once is enough.
    static void MergeFreedBlocksAtOnce();

private:
    void Run();

    Trim m_trim;
    mutable std::mutex m_lock;
    mutable std::condition_variable m_changed;
    bool m_requested = false;
    bool m_running = false;
    bool m_stopping = false;
    unsigned long m_trims = 0;
    std::thread m_thread;   // started at the first request
};
