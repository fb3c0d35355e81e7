// How the intake's threads present themselves to the system.
#pragma once

#include <thread>

// The intake must keep up with the network, so its threads ask for more CPU
// than the GUI; when the system refuses, they go on at normal priority.
enum class ThreadPriority {
    Normal,
    Highest,
    TimeCritical,
};

// Sets the calling thread's priority, best effort; never fails.
void SetCurrentThreadPriority(ThreadPriority priority);

// Names a thread (at most 15 characters show, in top -H, gdb and /proc).
// Called by its creator, so that the name is there once the creator goes on.
void NameThread(std::thread& thread, const char* name);
