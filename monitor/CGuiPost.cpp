#include "CGuiPost.h"

#include <QMetaObject>

bool CGuiPost::Post(std::function<void()> call)
{
    std::lock_guard lock(m_lock);
    if (!m_receiver)
        return false;
    // Queued with the receiver as context: Qt drops the call should the
    // receiver be deleted before the event loop gets to it.
    QMetaObject::invokeMethod(m_receiver, std::move(call), Qt::QueuedConnection);
    return true;
}

void CGuiPost::Disarm()
{
    std::lock_guard lock(m_lock);
    m_receiver = nullptr;
}
