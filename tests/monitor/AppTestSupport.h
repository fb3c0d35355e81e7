// Helpers of the tests that run the whole application: free loopback ports
// for the DIS intake and waiting for what the event loop delivers.
#pragma once

#include "monitor/core/PortHolder.h"

#include <QApplication>
#include <QDeadlineTimer>

#include <functional>

namespace apptest {

using testnet::FreePort;
using testnet::PortHolder;

inline bool ProcessEventsUntil(const std::function<bool()>& done, int timeoutMs = 5000)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

} // namespace apptest
