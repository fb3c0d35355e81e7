// Where the logging engine tells the user that logging stopped by itself (a
// write failed). The GUI shows the text in a message box.
#pragma once

#include <string>

class ILogErrorReporter {
public:
    virtual ~ILogErrorReporter() = default;

    // Called on the thread that found the failure: the log's writer thread (a
    // failed write), a DIS worker that was logging (a backlog the disk cannot
    // work off) or the thread that stops logging (a failed close). The
    // implementation queues the message to the GUI thread; it must not call
    // CPduLogger::Stop from here.
    virtual void ReportLogError(const std::string& message) = 0;
};
