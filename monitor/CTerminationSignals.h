// Turns SIGTERM, SIGINT and SIGHUP into a signal on the GUI thread, so that a
// program asked to end (a logout, a kill, Ctrl+C in its terminal) closes its
// main window the normal way: the profile is written and every thread joined.
// A signal that comes again before the GUI thread has heard it the first
// time ends the program at once, the default way: a GUI thread that does not
// answer cannot keep the program from ending.
#pragma once

#include <QObject>

class QSocketNotifier;

// One instance at a time; its destructor puts the default handlers back.
class CTerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit CTerminationSignals(QObject* parent = nullptr);
    ~CTerminationSignals() override;

signals:
    void terminationRequested(int signalNumber);

private:
    void ReadPending();

    int m_fds[2] = {-1, -1};   // written by the signal handler, read here
    QSocketNotifier* m_notifier = nullptr;
};
