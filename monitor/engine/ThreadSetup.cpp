#include "engine/ThreadSetup.h"

#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

void SetCurrentThreadPriority(ThreadPriority priority)
{
    // A lower nice value, not a real-time class: a real-time thread that
    // spins would starve the rest of the machine.
    int nice = 0;
    switch (priority) {
    case ThreadPriority::Normal:
        nice = 0;
        break;
    case ThreadPriority::Highest:
        nice = -5;
        break;
    case ThreadPriority::TimeCritical:
        nice = -10;
        break;
    }
    // On Linux a nice value set for a thread id applies to that thread alone.
    (void)::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), nice);
}

void NameThread(std::thread& thread, const char* name) { (void)::pthread_setname_np(thread.native_handle(), name); }
