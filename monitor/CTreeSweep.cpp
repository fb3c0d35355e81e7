#include "CTreeSweep.h"

#include "CTransmitterTree.h"

#include <QItemSelectionModel>
#include <QScrollBar>
#include <QSignalBlocker>

CTreeSweep::CTreeSweep(CTransmitterTree& tree) : m_tree(tree)
{
    // A zero timer fires once the events that wait have been served.
    m_next.setSingleShot(true);
    m_next.setInterval(0);
    connect(&m_next, &QTimer::timeout, this, &CTreeSweep::RunSlice);
}

CTreeSweep::~CTreeSweep()
{
    // The tree is going: what was dropped, or is off the tree, goes with it.
    qDeleteAll(m_dropped);
}

void CTreeSweep::Start()
{
    if (IsRunning())
        return;
    Reset();
    m_phase = Phase::Survey;
    const QAbstractItemModel& model = *m_tree.model();
    // Children are pushed in order and taken from the end: the last child is
    // walked first, the order in which silent radios have always been told.
    for (int row = 0; row < model.rowCount(); ++row)
        m_walk.push_back(model.index(row, 0));
    m_current = m_tree.currentItem();
    m_selected = m_tree.selectedItems();
    RunSlice();
}

void CTreeSweep::Abandon()
{
    if (!IsRunning())
        return;
    m_next.stop();
    if (m_offTheTree) {
        // The items still off the tree go as the tree's do.
        m_dropped.append(m_offTheTree->takeChildren());
        m_offTheTree.reset();
    }
    m_dropped.append(m_moving.mid(m_moved));
    m_moving.clear();
    HandOverDropped();
    if (m_drawingStopped) {
        m_tree.setAutoScroll(m_autoScroll);
        m_tree.setUpdatesEnabled(true);
    }
    Reset();
    emit finished();
}

void CTreeSweep::Reset()
{
    m_phase = Phase::Idle;
    m_walk.clear();
    m_expanded.clear();
    m_groups.clear();
    m_changedGroups.clear();
    m_weight.clear();
    m_silentRadios = 0;
    m_position = 0;
    m_moving.clear();
    m_moved = 0;
    m_expandWalk.clear();
    m_current = nullptr;
    m_selected.clear();
    m_drawingStopped = false;
}

void CTreeSweep::RunSlice()
{
    ++m_slices;
    int budget = kStepsPerSlice;
    while (budget > 0 && IsRunning()) {
        switch (m_phase) {
        case Phase::Survey:
            Survey(budget);
            break;
        case Phase::Collapse:
            Collapse(budget);
            break;
        case Phase::TakeOff:
            TakeOff(budget);
            break;
        case Phase::Drop:
            Drop(budget);
            break;
        case Phase::PutBack:
            PutBack(budget);
            break;
        case Phase::Expand:
            Expand(budget);
            break;
        case Phase::Finish:
            Finish();
            return;
        case Phase::Idle:
            return;
        }
    }
    if (IsRunning())
        m_next.start();
}

// --- 1. Survey ------------------------------------------------------------------------------------------------

void CTreeSweep::Survey(int& budget)
{
    const QAbstractItemModel& model = *m_tree.model();
    while (budget > 0 && !m_walk.empty()) {
        const QModelIndex index = m_walk.back();
        m_walk.pop_back();
        --budget;
        auto* item = static_cast<Item*>(m_tree.itemFromIndex(index));
        if (item->childCount() > 0 && m_tree.isExpanded(index)) {
            m_expanded.push_back(index);
            item->SetWasExpanded(true);
        }
        const Item::Role role = item->role();
        if (role == Item::Role::DisRadio) {
            // The weight of the DIS root's child above it, for taking off.
            Item* top = item;
            while (top->parentItem() && top->parentItem() != m_tree.disRoot())
                top = top->parentItem();
            ++m_weight[top];
            if (!m_tree.IsRadioSeen(*item)) {
                item->SetSwept(true);
                m_changedGroups.insert(item->parentItem());
                ++m_silentRadios;
                m_tree.OnRadioDropped(*item);
            }
            continue;   // below a radio there are only its quick-view lines
        }
        if (role == Item::Role::HlaRadio || role == Item::Role::QuickView)
            continue;
        if (role == Item::Role::DisGroup || item == m_tree.disRoot())
            m_groups.push_back(item);
        for (int row = 0; row < item->childCount(); ++row)
            m_walk.push_back(model.index(row, 0, index));
    }
    if (!m_walk.empty())
        return;
    // What was seen counts until here; from now on the next period's.
    m_tree.ForgetSeen();
    m_radiosDropped += m_silentRadios;
    m_phase = m_silentRadios == 0 ? Phase::Idle : Phase::Collapse;
    if (m_phase == Phase::Idle) {
        Reset();
        emit finished();
        return;
    }
    StopDrawing();
}

void CTreeSweep::StopDrawing()
{
    // Collapsed for a moment, the tree is not drawn so; nor is its scroll
    // position lost.
    m_scrollX = m_tree.horizontalScrollBar()->value();
    m_scrollY = m_tree.verticalScrollBar()->value();
    m_autoScroll = m_tree.hasAutoScroll();
    m_tree.setAutoScroll(false);   // the removals move the current item for a moment
    m_tree.setUpdatesEnabled(false);
    m_drawingStopped = true;
}

// --- 2. Collapse ----------------------------------------------------------------------------------------------

void CTreeSweep::Collapse(int& budget)
{
    // Parents first: once the root is collapsed nothing is visible, and a
    // collapse only forgets the item's expansion. With a layout pending even
    // the root's collapse does no more (the next layout is of the root alone).
    const QSignalBlocker quiet(&m_tree);
    m_tree.scheduleDelayedItemsLayout();
    while (budget > 0 && m_position < m_expanded.size()) {
        m_tree.collapse(m_expanded[m_position++]);
        --budget;
    }
    if (m_position < m_expanded.size())
        return;
    m_expanded.clear();
    m_phase = Phase::TakeOff;
}

// --- 3. Take off ----------------------------------------------------------------------------------------------

void CTreeSweep::TakeOff(int& budget)
{
    // A removal walks the model's persistent indexes and the view's rows: a
    // few large groups leave one at a time, each with everything below it
    // (the last first, which moves no sibling); many small ones all at once.
    Item* disRoot = m_tree.disRoot();
    if (!m_offTheTree) {
        m_offTheTree = std::make_unique<Item>(Item::Role::DisRoot, disRoot->itemText(), disRoot->image());
        m_offTheTree->SwapChildIndex(*disRoot);
        for (Item*& group : m_groups)
            if (group == disRoot)
                group = m_offTheTree.get();
        if (m_changedGroups.remove(disRoot))
            m_changedGroups.insert(m_offTheTree.get());
    }
    if (disRoot->childCount() > kManyGroups) {
        m_moving = disRoot->takeChildren();
        budget = 0;
    }
    while (budget > 0 && disRoot->childCount() > 0) {
        auto* child = static_cast<Item*>(disRoot->takeChild(disRoot->childCount() - 1));
        budget -= 1 + m_weight.value(child);
        m_moving.prepend(child);
    }
    if (disRoot->childCount() > 0)
        return;
    m_offTheTree->addChildren(m_moving);
    m_moving.clear();
    m_position = m_groups.size();
    m_phase = Phase::Drop;
}

// --- 4. Drop --------------------------------------------------------------------------------------------------

void CTreeSweep::Drop(int& budget)
{
    // Children before parents: a group whose children all went goes with
    // its parent's turn.
    while (budget > 0 && m_position > 0) {
        Item* group = m_groups[--m_position];
        if (!m_changedGroups.contains(group))
            continue;
        budget -= group->childCount();
        m_tree.DropChildren(
            group,
            [](Item& child) {
                return child.isSwept() || (child.role() == Item::Role::DisGroup && child.childCount() == 0);
            },
            m_dropped);
        if (group->childCount() == 0 && group != m_offTheTree.get())
            m_changedGroups.insert(group->parentItem());
    }
    if (m_position > 0)
        return;
    m_groups.clear();
    m_changedGroups.clear();
    m_phase = Phase::PutBack;
}

// --- 5. Put back ----------------------------------------------------------------------------------------------

void CTreeSweep::PutBack(int& budget)
{
    Item* disRoot = m_tree.disRoot();
    if (m_moving.isEmpty() && m_offTheTree->childCount() > 0) {
        m_moving = m_offTheTree->takeChildren();
        m_moved = 0;
        if (m_moving.size() > kManyGroups) {
            disRoot->addChildren(m_moving);
            m_moved = m_moving.size();
            budget = 0;
        }
    }
    while (budget > 0 && m_moved < m_moving.size()) {
        auto* child = static_cast<Item*>(m_moving[m_moved++]);
        budget -= 1 + m_weight.value(child);
        disRoot->addChild(child);
    }
    if (m_moved < m_moving.size())
        return;
    m_moving.clear();
    disRoot->SwapChildIndex(*m_offTheTree);
    m_offTheTree.reset();
    const QAbstractItemModel& model = *m_tree.model();
    for (int row = 0; row < model.rowCount(); ++row)
        m_expandWalk.push_back({model.index(row, 0), false});
    m_phase = Phase::Expand;
}

// --- 6. Expand ------------------------------------------------------------------------------------------------

void CTreeSweep::Expand(int& budget)
{
    // Children first: with their parents still collapsed they are not
    // visible, and an expansion only notes itself.
    const QAbstractItemModel& model = *m_tree.model();
    const QSignalBlocker quiet(&m_tree);
    // The root comes last: its expansion, the one that makes the rest
    // visible, is laid out once at the end, not item by item.
    m_tree.scheduleDelayedItemsLayout();
    while (budget > 0 && !m_expandWalk.empty()) {
        Visit& visit = m_expandWalk.back();
        const QModelIndex index = visit.index;
        auto* item = static_cast<Item*>(m_tree.itemFromIndex(index));
        --budget;
        const bool leaf = item->role() == Item::Role::DisRadio || item->role() == Item::Role::HlaRadio ||
                          item->role() == Item::Role::QuickView;
        // A collapsed item may keep expanded items below it.
        if (!visit.childrenVisited && !leaf && item->childCount() > 0) {
            visit.childrenVisited = true;
            for (int row = 0; row < item->childCount(); ++row)
                m_expandWalk.push_back({model.index(row, 0, index), false});
            continue;
        }
        m_expandWalk.pop_back();
        if (item->wasExpanded()) {
            item->SetWasExpanded(false);
            m_tree.expand(index);
        }
    }
    if (m_expandWalk.empty())
        m_phase = Phase::Finish;
}

// --- 7. Finish ------------------------------------------------------------------------------------------------

void CTreeSweep::Finish()
{
    auto inTree = [this](const QTreeWidgetItem* item) { return item && item->treeWidget() == &m_tree; };
    QList<QTreeWidgetItem*> selected;
    for (QTreeWidgetItem* item : m_selected)
        if (inTree(item))
            selected.append(item);
    QTreeWidgetItem* current = inTree(m_current) ? m_current : nullptr;
    if (m_tree.currentItem() != current || m_tree.selectedItems() != selected) {
        // Nothing stands in for an item that went.
        QItemSelectionModel& selection = *m_tree.selectionModel();
        selection.clear();
        if (current)
            selection.setCurrentIndex(m_tree.indexFromItem(current), QItemSelectionModel::NoUpdate);
        for (QTreeWidgetItem* item : selected)
            item->setSelected(true);
    }
    if (m_drawingStopped) {
        // Laid out once, the view scrolls back to where it was.
        m_tree.executeDelayedItemsLayout();
        m_tree.horizontalScrollBar()->setValue(m_scrollX);
        m_tree.verticalScrollBar()->setValue(m_scrollY);
        m_tree.setAutoScroll(m_autoScroll);
        m_tree.setUpdatesEnabled(true);
        m_tree.FitColumn();   // to the rows shown again
    }
    HandOverDropped();
    Reset();
    emit finished();
}

void CTreeSweep::HandOverDropped()
{
    m_tree.m_disposal.Take(m_dropped);
    m_dropped.clear();
}
