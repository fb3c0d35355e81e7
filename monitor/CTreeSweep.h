// One sweep of a transmitter tree's DIS radios, done a slice at a time so
// that however many radios go the GUI thread keeps answering (input,
// painting, timers, termination requests) between two slices.
//
// Removing rows from an expanded tree is what costs: for each removal the
// model walks every persistent index it has, and the view keeps one for
// every expanded item, so item by item a sweep of n radios costs about n
// times n. The sweep therefore
//   1. surveys the tree: which items are expanded, which radios were not
//      seen since the last sweep (those are told to the application now);
//   2. collapses the expanded items, parents first (once the root is
//      collapsed nothing is visible, and a collapse is a small step);
//   3. takes the DIS root's items off the tree, one removal for them all;
//   4. drops the silent radios, and the groups they leave empty, off the
//      tree, where no model or view hears of it;
//   5. puts what remains back below the DIS root, one insertion;
//   6. expands again what was expanded, children first;
//   7. gives back the current and selected items and the scroll position,
//      and lets the tree be drawn again (it is not drawn meanwhile).
// A slice does at most kStepsPerSlice steps (an item surveyed, collapsed,
// weighed or expanded); taking the items off and putting them back are a
// slice each. The items dropped are handed to the tree's disposal at the
// end, which deletes them in slices of its own.
//
// While a sweep runs the tree must not change otherwise: its owner holds the
// radios' updates and removals until finished().
#pragma once

#include <QHash>
#include <QModelIndex>
#include <QObject>
#include <QSet>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <vector>

class CTransmitterTree;
class CTransmitterTreeItem;
class QTreeWidgetItem;

class CTreeSweep : public QObject {
    Q_OBJECT
public:
    static constexpr int kStepsPerSlice = 4000;
    // More children of the DIS root than this leave the tree, and come back,
    // all at once; fewer one at a time.
    static constexpr int kManyGroups = 64;

    explicit CTreeSweep(CTransmitterTree& tree);
    ~CTreeSweep() override;

    // Starts a sweep and runs its first slice at once: a small tree is swept
    // when this returns. Does nothing while one runs.
    void Start();
    bool IsRunning() const { return m_phase != Phase::Idle; }
    // Gives the sweep up where it stands (the tree is being emptied): the
    // items dropped so far go to the disposal, the tree is drawn again.
    void Abandon();

    // Slices run, and radios dropped, since the sweep object was made.
    std::uint64_t sliceCount() const { return m_slices; }
    std::uint64_t radiosDropped() const { return m_radiosDropped; }

signals:
    // The sweep is over; the tree may change again.
    void finished();

private:
    enum class Phase { Idle, Survey, Collapse, TakeOff, Drop, PutBack, Expand, Finish };
    using Item = CTransmitterTreeItem;

    void RunSlice();
    // Each does steps of its phase until `budget` is used up or the phase is
    // over (it then moves to the next phase).
    void Survey(int& budget);
    void Collapse(int& budget);
    void TakeOff(int& budget);
    void Drop(int& budget);
    void PutBack(int& budget);
    void Expand(int& budget);
    void Finish();
    void Reset();
    void StopDrawing();
    void HandOverDropped();

    CTransmitterTree& m_tree;
    Phase m_phase = Phase::Idle;
    QTimer m_next;
    std::uint64_t m_slices = 0;
    std::uint64_t m_radiosDropped = 0;

    // Survey: a depth-first walk by model indexes, parents before children.
    std::vector<QModelIndex> m_walk;
    std::vector<QModelIndex> m_expanded;   // in the order walked
    std::vector<Item*> m_groups;           // DIS groups in the order walked
    QSet<Item*> m_changedGroups;           // a child of theirs goes
    QHash<const Item*, int> m_weight;      // radios below each child of the DIS root
    std::size_t m_silentRadios = 0;
    std::size_t m_position = 0;   // in the list of the phase
    // Expand: a depth-first walk that expands an item after its children.
    struct Visit {
        QModelIndex index;
        bool childrenVisited;
    };
    std::vector<Visit> m_expandWalk;

    QTreeWidgetItem* m_current = nullptr;
    QList<QTreeWidgetItem*> m_selected;
    int m_scrollX = 0;
    int m_scrollY = 0;
    bool m_autoScroll = true;
    bool m_drawingStopped = false;
    QList<QTreeWidgetItem*> m_dropped;
    // Holds the DIS root's items while they are off the tree.
    std::unique_ptr<Item> m_offTheTree;
    QList<QTreeWidgetItem*> m_moving;   // children of the DIS root on their way off it or back
    qsizetype m_moved = 0;
};
