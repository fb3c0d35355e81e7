// Hands calls from any thread to the thread of a QObject (the GUI thread),
// until that object is about to go.
#pragma once

#include <QObject>

#include <functional>
#include <mutex>

// Worker threads may still hold a document's views or the main frame's link
// for a moment after the window behind them has closed; what they post then
// is dropped. Disarm() is called on the receiver's thread before the receiver
// is destroyed, and after it no call reaches the receiver.
class CGuiPost {
public:
    explicit CGuiPost(QObject* receiver) : m_receiver(receiver) {}

    // Any thread: queues `call` to run on the receiver's thread. Returns
    // false, dropping it, once disarmed.
    bool Post(std::function<void()> call);
    void Disarm();

private:
    std::mutex m_lock;   // keeps the receiver alive while a call is queued to it
    QObject* m_receiver;
};
