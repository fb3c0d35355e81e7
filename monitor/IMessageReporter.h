// Where the application shows the user a message that needs an answer
// before it goes on (start-up failures, problems in the profile).
#pragma once

#include <QString>

class IMessageReporter {
public:
    virtual ~IMessageReporter() = default;
    // `text` is the message itself; `details` (may be empty) says more, for
    // those who want to know why.
    virtual void ShowError(const QString& text, const QString& details = {}) = 0;
    virtual void ShowWarning(const QString& text, const QString& details = {}) = 0;
};
