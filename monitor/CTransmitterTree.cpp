#include "CTransmitterTree.h"

#include "CLocalAddresses.h"
#include "CTransmitterTreeDis.h"
#include "CTransmitterTreeIP.h"
#include "QuickViewLines.h"
#include "QuorlexCommands.h"
#include "engine/CRadioReceive.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QSignalBlocker>
#include <QTimer>

#include <utility>
#include <vector>

namespace {

constexpr int kIndentation = 16;

bool PropagatesActive(CTransmitterTreeItem::Role role)
{
    return role == CTransmitterTreeItem::Role::DisRadio || role == CTransmitterTreeItem::Role::DisGroup;
}

}   // namespace

CTransmitterTree* CTransmitterTree::Create(std::int32_t treeType, TransmitterTreeHost host, QWidget* parent)
{
    CTransmitterTree* tree = nullptr;
    if (treeType == 1)
        tree = new CTransmitterTreeDis(std::move(host), parent);
    else
        tree = new CTransmitterTreeIP(std::move(host), parent);
    tree->BuildRoots();
    return tree;
}

CTransmitterTree::CTransmitterTree(TransmitterTreeHost host, QWidget* parent)
    : QTreeWidget(parent), m_host(std::move(host))
{
    setObjectName("TransmitterTree");
    setColumnCount(1);
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(16, 16));
    setIndentation(kIndentation);
    // Every row is one line with a 16-pixel picture: the view need not
    // measure rows, which keeps large trees cheap to lay out.
    setUniformRowHeights(true);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    // Long lines scroll sideways instead of being cut short. The column is
    // fitted to the texts after each batch of changes (FitColumn), not at
    // every change, which would measure every visible row each time.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::Interactive);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The rows shown change: the column follows.
    connect(this, &QTreeWidget::itemExpanded, this, &CTransmitterTree::FitColumn);
    connect(this, &QTreeWidget::itemCollapsed, this, &CTransmitterTree::FitColumn);
    connect(model(), &QAbstractItemModel::rowsInserted, this, &CTransmitterTree::FitColumn);
    connect(model(), &QAbstractItemModel::rowsRemoved, this, &CTransmitterTree::FitColumn);
    connect(model(), &QAbstractItemModel::modelReset, this, &CTransmitterTree::FitColumn);
    connect(&m_sweep, &CTreeSweep::finished, this, &CTransmitterTree::OnSweepFinished);
    connect(&m_disposal, &CItemDisposal::drained, this, [this](std::uint64_t items) {
        if (m_host.itemsReleased)
            m_host.itemsReleased(items);
    });
}

CTransmitterTree::~CTransmitterTree()
{
    // The base class empties the model after this part is gone; what it
    // signals on the way must not reach this part.
    disconnect(model(), nullptr, this, nullptr);
    disconnect(this, nullptr, this, nullptr);
}

void CTransmitterTree::BuildRoots()
{
    const MonitoringState state = m_host.monitoring ? m_host.monitoring() : MonitoringState{};
    m_root = new Item(Item::Role::Root, "Quorlex", TreeImage::Root);
    addTopLevelItem(m_root);
    if (state.disEnabled) {
        m_disRoot = new Item(Item::Role::DisRoot, QString("DIS Port %1").arg(state.port), TreeImage::Port);
        m_root->addChild(m_disRoot);
    }
    if (state.hlaEnabled) {
        m_hlaRoot = new Item(Item::Role::HlaRoot, "HLA Fed: " + state.federation, TreeImage::Port);
        m_root->addChild(m_hlaRoot);
    }
    m_root->setExpanded(true);
}

void CTransmitterTree::ResetTree()
{
    // One model signal for the lot; the items go in slices.
    m_disposal.Take(invisibleRootItem()->takeChildren());
    m_root = m_disRoot = m_hlaRoot = nullptr;
    m_hlaRadios.clear();
    BuildRoots();
    // What the owner held back comes into the new tree.
    m_sweepAgain = false;
    m_sweep.Abandon();
}

void CTransmitterTree::FitColumn()
{
    // Once per event-loop pass however many items changed or opened.
    if (m_fitQueued)
        return;
    m_fitQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_fitQueued = false;
        resizeColumnToContents(0);
    });
}

// --- Items ----------------------------------------------------------------------------------------------------

void CTransmitterTree::InsertSorted(Item* parent, Item* child)
{
    // Siblings are always kept in order, so a new one goes after the last
    // sibling that does not sort after it.
    int low = 0;
    int high = parent->childCount();
    while (low < high) {
        const int middle = (low + high) / 2;
        const Item& sibling = *parent->childItem(middle);
        int order = CompareItems(sibling, *child);
        if (order == 0)
            order = TreeOrder::NaturalCompare(sibling.itemText(), child->itemText());
        if (order <= 0)
            low = middle + 1;
        else
            high = middle;
    }
    parent->insertChild(low, child);
}

CTransmitterTree::Item* CTransmitterTree::FindOrInsertChild(const QString& text, Item* parent, TreeImage image,
                                                            Item::Role role)
{
    if (Item* found = parent->ChildByText(text))
        return found;
    auto* child = new Item(role, text, image);
    child->SetItemDataToSelf();
    InsertSorted(parent, child);
    parent->IndexChild(child);
    if (parent == m_disRoot || parent == m_hlaRoot)
        parent->setExpanded(true);
    return child;
}

CTransmitterTree::Item* CTransmitterTree::FindOrInsertChildByData(const QString& text, std::int64_t data, Item* parent,
                                                                  TreeImage image, Item::Role role)
{
    if (Item* found = m_hlaRadios.value(data); found && found->parentItem() == parent) {
        found->SetItemText(text);
        return found;
    }
    auto* child = new Item(role, text, image, data);
    InsertSorted(parent, child);
    m_hlaRadios.insert(data, child);
    if (parent == m_disRoot || parent == m_hlaRoot)
        parent->setExpanded(true);
    return child;
}

void CTransmitterTree::SetQuickViewLine(int index, const QString& text, Item* radio)
{
    if (Item* line = radio->QuickViewLine(index)) {
        line->SetItemText(text);
        return;
    }
    auto* line = new Item(Item::Role::QuickView, text, TreeImage::QuickView);
    line->SetQuickViewIndex(index);
    radio->insertChild(radio->QuickViewInsertPosition(index), line);
    radio->SetQuickViewLine(index, line);
}

void CTransmitterTree::RemoveQuickViewLine(int index, Item* radio)
{
    if (Item* line = radio->QuickViewLine(index))
        DeleteItem(line);
}

void CTransmitterTree::ForgetHlaRadios(Item* item)
{
    if (item->role() == Item::Role::HlaRadio) {
        auto found = m_hlaRadios.find(item->itemData());
        if (found != m_hlaRadios.end() && found.value() == item)
            m_hlaRadios.erase(found);
        return;
    }
    for (int i = 0; i < item->childCount(); ++i)
        if (Item* child = item->childItem(i))
            ForgetHlaRadios(child);
}

void CTransmitterTree::LetGo(Item* parent, Item* child)
{
    parent->UnindexChild(child);
    if (child->quickViewIndex() >= 0 && parent->QuickViewLine(child->quickViewIndex()) == child)
        parent->SetQuickViewLine(child->quickViewIndex(), nullptr);
    if (child->isActive() && PropagatesActive(child->role()) && parent->role() == Item::Role::DisGroup) {
        parent->AddActiveChildren(-1);
        SetActiveState(parent, parent->activeChildren() > 0);
    }
}

void CTransmitterTree::DeleteItem(Item* item)
{
    if (item == m_root || item == m_disRoot || item == m_hlaRoot)
        return;   // the roots stay until the whole tree goes
    if (Item* parent = item->parentItem())
        LetGo(parent, item);
    ForgetHlaRadios(item);
    delete item;
}

void CTransmitterTree::DropChildren(Item* parent, const std::function<bool(Item& child)>& drop,
                                    QList<QTreeWidgetItem*>& dropped)
{
    const int count = parent->childCount();
    std::vector<char> goes(static_cast<std::size_t>(count), 0);
    bool any = false;
    for (int i = count - 1; i >= 0; --i) {
        if (drop(*parent->childItem(i))) {
            goes[static_cast<std::size_t>(i)] = 1;
            any = true;
        }
    }
    if (!any)
        return;
    const QList<QTreeWidgetItem*> children = parent->takeChildren();
    QList<QTreeWidgetItem*> kept;
    kept.reserve(children.size());
    for (qsizetype i = 0; i < children.size(); ++i) {
        if (goes[static_cast<std::size_t>(i)]) {
            LetGo(parent, static_cast<Item*>(children[i]));
            dropped.append(children[i]);
        } else {
            kept.append(children[i]);
        }
    }
    parent->addChildren(kept);
}

// --- Pictures -------------------------------------------------------------------------------------------------

void CTransmitterTree::RefreshGroupImage(Item* group)
{
    const bool active = group->isActive();
    if (group->isLocal())
        group->SetImage(active ? TreeImage::LocalActiveSender : TreeImage::LocalSender);
    else
        group->SetImage(active ? TreeImage::ActiveGroup : TreeImage::Group);
}

void CTransmitterTree::SetActiveState(Item* item, bool active)
{
    if (item->isActive() == active)
        return;
    item->SetActive(active);
    if (item->role() == Item::Role::DisGroup)
        RefreshGroupImage(item);
    else
        item->SetImage(active ? TreeImage::ActiveRadio : TreeImage::Radio);

    // A DIS group shows whether anything below it transmits; HLA hosts keep
    // their picture.
    Item* parent = item->parentItem();
    if (PropagatesActive(item->role()) && parent && parent->role() == Item::Role::DisGroup) {
        parent->AddActiveChildren(active ? 1 : -1);
        SetActiveState(parent, parent->activeChildren() > 0);
    }
}

void CTransmitterTree::ShowRadioState(Item* radio, const CRadioReceive& record, bool hla)
{
    SetActiveState(radio, record.IsActive());
    const QuickViewFlags flags = m_host.quickView ? m_host.quickView() : QuickViewFlags{};
    for (int i = 0; i < QuickViewLines::kCount; ++i) {
        const QuickViewLines::Line& line = QuickViewLines::kLines[static_cast<std::size_t>(i)];
        if (hla && !line.forHla)
            continue;
        if (flags.*line.flag)
            SetQuickViewLine(i, QuickViewLines::Text(i, record), radio);
        else
            RemoveQuickViewLine(i, radio);
    }
}

// --- HLA radios -----------------------------------------------------------------------------------------------

void CTransmitterTree::UpdateHlaRadio(const CRadioReceive& radio)
{
    if (!m_hlaRoot || !radio.IsHla() || radio.GetObjectName() == CRadioReceive::kInvalidName)
        return;
    const QString host = QString::fromStdString(radio.GetFederateHost());
    const std::int64_t handle = radio.GetObjectHandle();

    // The radio was listed under the host it had before (the placeholder
    // host until its federate's host arrives): it moves, keeping the selection.
    bool wasSelected = false;
    if (Item* old = m_hlaRadios.value(handle); old && old->parentItem() && old->parentItem()->itemText() != host) {
        wasSelected = SelectedItem() == old;
        Item* oldHost = old->parentItem();
        DeleteItem(old);
        if (oldHost->childCount() == 0)
            DeleteItem(oldHost);
    }

    Item* hostItem = FindOrInsertChild(host, m_hlaRoot, TreeImage::Group, Item::Role::HlaHost);
    Item* radioItem = FindOrInsertChildByData(QString::fromStdString(radio.GetObjectName()), handle, hostItem,
                                              TreeImage::Radio, Item::Role::HlaRadio);
    ShowRadioState(radioItem, radio, true);
    if (wasSelected)
        setCurrentItem(radioItem);
}

void CTransmitterTree::RemoveHlaRadio(const CRadioReceive& radio)
{
    Item* item = m_hlaRadios.value(radio.GetObjectHandle());
    if (!item)
        return;
    Item* host = item->parentItem();
    DeleteItem(item);
    if (host && host->role() == Item::Role::HlaHost && host->childCount() == 0)
        DeleteItem(host);
}

// --- Sweep ----------------------------------------------------------------------------------------------------

void CTransmitterTree::Sweep()
{
    if (!m_disRoot) {
        ForgetSeen();
        return;
    }
    if (IsSweeping()) {
        m_sweepAgain = true;   // once the running one is over
        return;
    }
    m_sweep.Start();
}

void CTransmitterTree::OnSweepFinished()
{
    emit sweepFinished();
    if (std::exchange(m_sweepAgain, false) && !IsSweeping())
        Sweep();
}

void CTransmitterTree::MarkSeen(Item* radio)
{
    if (radio->seenPeriod() == m_period)
        return;
    radio->SetSeenPeriod(m_period);
    ++m_seenCount;
}

void CTransmitterTree::ForgetSeen()
{
    ++m_period;
    m_seenCount = 0;
}

void CTransmitterTree::OnRadioSwept(const QString& key) const
{
    if (m_host.radioSwept)
        m_host.radioSwept(key.toStdString());
}

QString CTransmitterTree::RadioKeyText(const CRadioReceive& radio)
{
    return QuickViewLines::RadioText(radio.GetDisId());
}

// --- Selection and context menu -------------------------------------------------------------------------------

bool CTransmitterTree::IsLocalAddress(const QString& dotted) const
{
    return CLocalAddresses::Cached().Contains(dotted);
}

CTransmitterTree::Item* CTransmitterTree::SelectedItem() const
{
    const QList<QTreeWidgetItem*> selected = selectedItems();
    if (selected.isEmpty() || selected.first()->type() != Item::kType)
        return nullptr;
    return static_cast<Item*>(selected.first());
}

int CTransmitterTree::Depth(const QTreeWidgetItem* item)
{
    int depth = 0;
    for (const QTreeWidgetItem* up = item ? item->parent() : nullptr; up; up = up->parent())
        ++depth;
    return depth;
}

bool CTransmitterTree::IsUnderHla(const QTreeWidgetItem* item) const
{
    if (!item || !m_hlaRoot)
        return false;
    // Climb to the child of the root "Quorlex".
    while (item->parent() && item->parent() != m_root)
        item = item->parent();
    return item == m_hlaRoot;
}

bool CTransmitterTree::IsSelectionUnderHla() const { return IsUnderHla(SelectedItem()); }

QList<CTransmitterTree::ContextCommand> CTransmitterTree::ContextCommands(const QTreeWidgetItem* item) const
{
    using namespace QuorlexCommand;
    if (!item)
        return {};
    const int depth = Depth(item);
    const bool underHla = IsUnderHla(item);
    if (depth == 1) {
        QList<ContextCommand> commands{{"Edit", EditPreferences}};
        if (underHla)
            commands.append({"Refresh Objects", ViewRefresh});
        return commands;
    }
    // HLA radios stand at the same depth in both groupings.
    const int radioDepth = underHla ? 3 : DisRadioDepth();
    if (depth == radioDepth)
        return {{"View Details", ViewDetails}};
    if (depth == radioDepth - 1)
        return {{"View All", ViewAllDetails}};
    return {};
}

void CTransmitterTree::contextMenuEvent(QContextMenuEvent* event)
{
    QTreeWidgetItem* item = nullptr;
    QPoint where = event->globalPos();
    if (event->reason() == QContextMenuEvent::Mouse) {
        // Only a click on an item's picture or text opens its menu; the
        // indentation beside it does not.
        const QModelIndex index = indexAt(event->pos());
        if (index.isValid() && visualRect(index).contains(event->pos()))
            item = itemFromIndex(index);
    } else if ((item = currentItem()) != nullptr) {
        where = viewport()->mapToGlobal(visualItemRect(item).center());
    }
    if (!item) {
        QTreeWidget::contextMenuEvent(event);
        return;
    }
    setCurrentItem(item);
    const QList<ContextCommand> commands = ContextCommands(item);
    if (commands.isEmpty())
        return;
    QMenu menu(this);
    for (const ContextCommand& command : commands)
        menu.addAction(command.text)->setData(command.commandId);
    if (QAction* chosen = menu.exec(where))
        emit commandRequested(chosen->data().toInt());
}
