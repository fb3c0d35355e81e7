// Where the logging engine tells the user that logging stopped by itself (a
// write failed). The GUI shows the text in a message box.
#pragma once

#include <string>

class ILogErrorReporter {
public:
    virtual ~ILogErrorReporter() = default;

    // Called on the log's writer thread (or on the thread that stops logging
    // when closing the file fails). The implementation queues the message to
    // the GUI thread; it must not call CPduLogger::Stop from here.
    virtual void ReportLogError(const std::string& message) = 0;
};
