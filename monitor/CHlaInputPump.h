// Ticks the RTI as soon as one of its input descriptors becomes readable,
// besides the application's 250 ms tick, so that received datagrams leave the
// socket's buffer before it overflows.
//
// The GUI thread keeps its share of time: a tick stops after a budget of
// time (the input left waiting keeps the descriptor readable), notifications
// that come while a tick runs or rests are folded into the next tick, and a
// tick that had to stop with input still waiting is followed by a rest long
// enough that these ticks take at most kMaxShare of the thread while input
// floods, and then by the next tick, readable descriptor or not. Every tick returns to the event loop, so menus,
// painting and timers are served between two ticks. (The 250 ms tick comes on top, with the same budget.)
//
// GUI thread only. The descriptors stay their owner's: the pump must go
// before they are closed (before the federate resigns).
#pragma once

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <vector>

class QSocketNotifier;

class CHlaInputPump : public QObject {
    Q_OBJECT
public:
    // Runs one tick, bounded in time; true when input still waits.
    using Tick = std::function<bool()>;
    // Seconds on a steady clock.
    using Clock = std::function<double()>;

    static constexpr double kMaxShare = 2.0 / 3.0;

    CHlaInputPump(const std::vector<int>& descriptors, Tick tick, Clock clock = SteadySeconds,
                  QObject* parent = nullptr);
    ~CHlaInputPump() override;

    // The pause after a tick that took `usedSeconds`: none when the tick ran
    // out of input, else as long as keeps ticking at kMaxShare of the time.
    static double RestAfter(double usedSeconds, bool inputWaits);
    static double SteadySeconds();

    // Ticks no more, from now on (also from within a tick): the federation
    // behind the descriptors is gone, and a closed connection stays readable.
    void Stop();

    std::uint64_t tickCount() const { return m_ticks; }
    bool isWatching() const { return m_watching; }
    bool isStopped() const { return m_stopped; }
    // The rest after the last tick, in whole milliseconds (0: none).
    int lastRestMs() const { return m_lastRestMs; }

signals:
    // After each tick, once the pump has decided how to go on.
    void ticked(bool inputWaits);

private:
    void OnReadable();
    void TickOnce();
    void Watch(bool on);

    std::vector<QSocketNotifier*> m_notifiers;
    Tick m_tick;
    Clock m_clock;
    QTimer m_rest;
    std::uint64_t m_ticks = 0;
    int m_lastRestMs = 0;
    bool m_watching = false;
    bool m_stopped = false;
};
