// Scheduling hints for the intake's threads. The intake must keep up with
// the network, so its threads ask for more CPU than the GUI; when the system
// refuses, they go on at normal priority.
#pragma once

enum class ThreadPriority {
    Normal,
    Highest,
    TimeCritical,
};

// Applies to the calling thread only; best effort, never fails.
void SetCurrentThreadPriority(ThreadPriority priority);
