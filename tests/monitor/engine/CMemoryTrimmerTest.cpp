// The trim runs on a thread of its own: asking returns at once, a request
// during a trim brings one more after it (not one per request), and waiting
// for the trimmer to be idle waits for both.
#include "engine/CMemoryTrimmer.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

namespace {

TEST(MemoryTrimmer, RunsAwayFromTheCallerAndFoldsRequestsDuringATrim)
{
    std::mutex lock;
    std::condition_variable changed;
    bool release = false;
    int started = 0;
    CMemoryTrimmer trimmer([&] {
        std::unique_lock guard(lock);
        ++started;
        changed.notify_all();
        changed.wait(guard, [&] { return release; });
    });
    EXPECT_TRUE(trimmer.IsIdle());
    trimmer.Request();   // returns while the trim is held
    {
        std::unique_lock guard(lock);
        changed.wait(guard, [&] { return started == 1; });
    }
    EXPECT_FALSE(trimmer.IsIdle());
    trimmer.Request();
    trimmer.Request();
    {
        std::lock_guard guard(lock);
        release = true;
    }
    changed.notify_all();
    trimmer.WaitUntilIdle();
    EXPECT_EQ(trimmer.trimCount(), 2u);
    EXPECT_EQ(started, 2);
}

TEST(MemoryTrimmer, GoesWithoutATrimWhenNeverAsked)
{
    int trims = 0;
    {
        CMemoryTrimmer trimmer([&] { ++trims; });
    }
    EXPECT_EQ(trims, 0);
}

}   // namespace
