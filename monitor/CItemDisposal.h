// Deletes tree items that have already left their tree, a slice at a time,
// so that dropping tens of thousands of items never holds the GUI thread for
// long: between two slices the event loop serves input, painting, timers and
// termination requests.
//
// An item handed over must be off every tree (no parent, no tree widget):
// deleting it then tells no model and no view. An item with children gives
// them up first, so that every deletion is of one item with nothing below
// it, and a slice deletes at most kItemsPerSlice items however the dropped
// items are nested.
//
// GUI thread only. What waits when the disposal goes is deleted then.
#pragma once

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <deque>

class QTreeWidgetItem;

class CItemDisposal : public QObject {
    Q_OBJECT
public:
    static constexpr int kItemsPerSlice = 4000;

    explicit CItemDisposal(QObject* parent = nullptr);
    ~CItemDisposal() override;

    // Takes items off every tree; the first slice runs at the next pass of
    // the event loop.
    void Take(const QList<QTreeWidgetItem*>& items);
    // Deletes everything that waits, now.
    void Flush();

    bool isIdle() const { return m_waiting.empty(); }
    std::uint64_t waiting() const { return m_waiting.size(); }
    // Slices run and items deleted since the disposal was made.
    std::uint64_t sliceCount() const { return m_slices; }
    std::uint64_t deletedCount() const { return m_deleted; }

signals:
    // The last item that waited has gone; `deleted` items went since the
    // disposal was last idle.
    void drained(std::uint64_t deleted);

private:
    void RunSlice();
    // Deletes up to `most` items; how many it deleted.
    int DeleteSome(int most);

    std::deque<QTreeWidgetItem*> m_waiting;
    QTimer m_next;
    std::uint64_t m_slices = 0;
    std::uint64_t m_deleted = 0;
    std::uint64_t m_deletedSinceIdle = 0;
};
