#include "CItemDisposal.h"

#include <QTreeWidgetItem>

#include <utility>

CItemDisposal::CItemDisposal(QObject* parent) : QObject(parent)
{
    // A zero timer fires once the events that wait have been served.
    m_next.setSingleShot(true);
    m_next.setInterval(0);
    connect(&m_next, &QTimer::timeout, this, &CItemDisposal::RunSlice);
}

CItemDisposal::~CItemDisposal()
{
    // Said to no one: whoever listens may be going too.
    m_next.stop();
    while (!m_waiting.empty())
        DeleteSome(kItemsPerSlice);
}

void CItemDisposal::Take(const QList<QTreeWidgetItem*>& items)
{
    for (QTreeWidgetItem* item : items)
        if (item)
            m_waiting.push_back(item);
    if (!m_waiting.empty() && !m_next.isActive())
        m_next.start();
}

void CItemDisposal::Flush()
{
    m_next.stop();
    const bool hadWork = !m_waiting.empty();
    while (!m_waiting.empty())
        DeleteSome(kItemsPerSlice);
    if (hadWork)
        emit drained(std::exchange(m_deletedSinceIdle, 0));
}

int CItemDisposal::DeleteSome(int most)
{
    int deleted = 0;
    while (deleted < most && !m_waiting.empty()) {
        QTreeWidgetItem* item = m_waiting.front();
        m_waiting.pop_front();
        // Off the tree, giving up the children costs nothing: no model hears
        // of it. They are deleted one by one like the rest.
        for (QTreeWidgetItem* child : item->takeChildren())
            m_waiting.push_back(child);
        delete item;
        ++deleted;
    }
    m_deleted += static_cast<std::uint64_t>(deleted);
    m_deletedSinceIdle += static_cast<std::uint64_t>(deleted);
    return deleted;
}

void CItemDisposal::RunSlice()
{
    ++m_slices;
    DeleteSome(kItemsPerSlice);
    if (!m_waiting.empty())
        m_next.start();
    else
        emit drained(std::exchange(m_deletedSinceIdle, 0));
}
