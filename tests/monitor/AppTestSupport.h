// Helpers of the tests that run the whole application: free loopback ports
// for the DIS intake, waiting for what the event loop delivers, and catching
// what Qt would print on standard error.
#pragma once

#include "QtTestPrinting.h"
#include "monitor/engine/PortHolder.h"
#include "support/WaitUntil.h"

#include <QApplication>
#include <QStringList>

#include <functional>

namespace apptest {

using testnet::FreePort;
using testnet::PortHolder;

// Runs the event loop until `done` holds; false after `timeoutMs`.
inline bool ProcessEventsUntil(const std::function<bool()>& done, int timeoutMs = 5000)
{
    return waitUntil(
        done, [] { QApplication::processEvents(QEventLoop::AllEvents, 20); }, timeoutMs / 1000.0);
}

// Collects Qt's debug messages and warnings while it exists, in place of
// printing them. One at a time.
class QtMessages {
public:
    QtMessages()
    {
        s_messages.clear();
        s_previous = qInstallMessageHandler(&QtMessages::Collect);
    }
    ~QtMessages() { qInstallMessageHandler(s_previous); }
    QtMessages(const QtMessages&) = delete;
    QtMessages& operator=(const QtMessages&) = delete;

    // What was said, but for the offscreen platform's note that it cannot
    // pass size hints on (a real desktop does).
    QStringList Taken() const
    {
        QStringList messages = s_messages;
        messages.removeAll("This plugin does not support propagateSizeHints()");
        return messages;
    }

private:
    static void Collect(QtMsgType, const QMessageLogContext&, const QString& message) { s_messages.append(message); }

    static inline QtMessageHandler s_previous = nullptr;
    static inline QStringList s_messages;
};

}   // namespace apptest
