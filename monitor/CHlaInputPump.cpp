#include "CHlaInputPump.h"

#include <QSocketNotifier>

#include <chrono>
#include <cmath>

CHlaInputPump::CHlaInputPump(const std::vector<int>& descriptors, Tick tick, Clock clock, QObject* parent)
    : QObject(parent), m_tick(std::move(tick)), m_clock(std::move(clock))
{
    m_rest.setSingleShot(true);
    // Input that waits may already be in the RTI's hands (a TCP stream is
    // read in large pieces), where no descriptor shows it: after the rest the
    // pump ticks again rather than wait for the descriptor.
    connect(&m_rest, &QTimer::timeout, this, &CHlaInputPump::TickOnce);
    for (int descriptor : descriptors) {
        auto* notifier = new QSocketNotifier(descriptor, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, &CHlaInputPump::OnReadable);
        m_notifiers.push_back(notifier);
    }
    Watch(true);
}

CHlaInputPump::~CHlaInputPump()
{
    // Before the descriptors go: a notifier must not outlive its descriptor.
    Watch(false);
}

double CHlaInputPump::SteadySeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double CHlaInputPump::RestAfter(double usedSeconds, bool inputWaits)
{
    if (!inputWaits || usedSeconds <= 0)
        return 0;
    return usedSeconds * (1 - kMaxShare) / kMaxShare;
}

void CHlaInputPump::Stop()
{
    m_stopped = true;
    m_rest.stop();
    Watch(false);
}

void CHlaInputPump::Watch(bool on)
{
    m_watching = on;
    for (QSocketNotifier* notifier : m_notifiers)
        notifier->setEnabled(on);
}

void CHlaInputPump::OnReadable()
{
    // A notification the event loop held while the pump stopped watching
    // (during a tick or its rest) neither nests a tick nor cuts a rest short.
    // The tick itself waits for the timers that are due already: a
    // notification can come in the same turn of the loop as the tick before.
    if (m_watching) {
        Watch(false);
        m_rest.start(0);
    }
}

void CHlaInputPump::TickOnce()
{
    if (m_stopped)
        return;
    // One tick serves every descriptor that is readable now and every
    // notification until the tick (and its rest) is over.
    Watch(false);
    const double start = m_clock();
    const bool inputWaits = m_tick();
    const double used = m_clock() - start;
    ++m_ticks;
    if (m_stopped)
        return;

    m_lastRestMs = static_cast<int>(std::lround(RestAfter(used, inputWaits) * 1000));
    if (inputWaits) {
        // Even without a rest, what else waits in the event loop goes first.
        m_rest.start(m_lastRestMs);
    } else {
        Watch(true);
    }
    emit ticked(inputWaits);
}
