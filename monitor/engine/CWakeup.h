// A wake-up that a thread blocked in poll() can wait on beside its sockets.
// Signal and Clear may be called from any thread.
#pragma once

#include "engine/UniqueFd.h"

class CWakeup {
public:
    // Throws std::system_error when the system has no descriptor left.
    CWakeup();

    void Signal();
    // Consumes pending signals (the descriptor is not readable afterwards).
    void Clear();
    // Readable (POLLIN) while signalled.
    int Fd() const { return m_fd.Get(); }

private:
    UniqueFd m_fd;
};
