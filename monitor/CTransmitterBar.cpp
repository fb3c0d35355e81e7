#include "CTransmitterBar.h"

#include "CTransmitterTree.h"

#include <QAction>
#include <QMainWindow>

CTransmitterBar::CTransmitterBar(QWidget* parent) : CResizableBar("Transmitters", kBarId, parent)
{
    setObjectName("TransmitterBar");
    auto* empty = new QWidget(this);
    empty->setAutoFillBackground(true);
    empty->setBackgroundRole(QPalette::Base);
    setWidget(empty);

    m_refreshTimer.setSingleShot(true);
    // A coarse timer may fire up to 5 % early.
    m_refreshTimer.setTimerType(Qt::PreciseTimer);
    m_refreshTimer.setInterval(kRefreshIntervalMs);
    connect(&m_refreshTimer, &QTimer::timeout, this, &CTransmitterBar::FlushUpdates);
}

CTransmitterBar::~CTransmitterBar()
{
    // The tree goes first, and what it signals on its way out reaches no one.
    if (m_tree) {
        disconnect(m_tree, nullptr, this, nullptr);
        delete m_tree;
    }
}

void CTransmitterBar::Attach(TransmitterTreeHost host)
{
    m_host = std::move(host);
    m_attached = true;
    MakeTree();
}

CTransmitterTree* CTransmitterBar::tree() const { return m_tree; }

void CTransmitterBar::MakeTree()
{
    const std::int32_t type = m_host.treeType ? m_host.treeType() : 0;
    CTransmitterTree* tree = CTransmitterTree::Create(type, m_host, this);
    connect(tree, &QTreeWidget::itemSelectionChanged, this, &CTransmitterBar::selectionChanged);
    connect(tree, &CTransmitterTree::commandRequested, this, &CTransmitterBar::TriggerCommand);
    connect(tree, &CTransmitterTree::sweepFinished, this, &CTransmitterBar::ApplyHeldChanges);
    QWidget* old = widget();
    setWidget(tree);
    if (old) {
        // The old tree may be on the stack (its context menu led to the
        // preferences that changed the tree type): it goes once that returns.
        disconnect(old, nullptr, this, nullptr);
        old->hide();
        old->deleteLater();
    }
    m_tree = tree;
    m_heldRemovals.clear();   // of radios the new tree never had
    emit selectionChanged();
}

void CTransmitterBar::TriggerCommand(int commandId)
{
    // The bar stays a child of the main window while it floats.
    auto* window = qobject_cast<QMainWindow*>(parentWidget());
    if (!window)
        return;
    for (QAction* action : window->findChildren<QAction*>()) {
        if (action->data().toInt() == commandId) {
            action->trigger();
            return;
        }
    }
}

// --- Updates --------------------------------------------------------------------------------------------------

void CTransmitterBar::UpdateReceiver(const RadioRef& radio)
{
    const bool added = radio.kind == RadioKind::Hla ? !m_pendingHla.contains(radio.objectHandle)
                                                    : !m_pendingDis.contains(radio.dis.Packed());
    if (!added)
        return;   // read at its latest state when the tree is refreshed
    if (radio.kind == RadioKind::Hla)
        m_pendingHla.insert(radio.objectHandle);
    else
        m_pendingDis.insert(radio.dis.Packed());
    m_pending.push_back(radio);
    if (!m_refreshTimer.isActive())
        m_refreshTimer.start();
}

void CTransmitterBar::FlushUpdates()
{
    m_refreshTimer.stop();
    if (m_tree && m_tree->IsSweeping())
        return;   // shown once the sweep is over
    std::vector<RadioRef> pending;
    pending.swap(m_pending);
    m_pendingDis.clear();
    m_pendingHla.clear();
    if (!m_tree || !m_host.getRadio || pending.empty())
        return;
    ++m_refreshes;
    for (const RadioRef& radio : pending) {
        // A radio removed meanwhile is no longer shown.
        const std::optional<CRadioReceive> record = m_host.getRadio(radio);
        if (!record)
            continue;
        if (radio.kind == RadioKind::Hla)
            m_tree->UpdateHlaRadio(*record);
        else
            m_tree->InsertDisRadio(*record);
    }
    m_tree->FitColumn();
}

void CTransmitterBar::RemoveHlaRadio(const CRadioReceive& radio)
{
    if (m_tree && m_tree->IsSweeping())
        m_heldRemovals.push_back(radio);
    else if (m_tree)
        m_tree->RemoveHlaRadio(radio);
}

void CTransmitterBar::ApplyHeldChanges()
{
    // Removals first: an update held since is of a radio that came (back) after.
    std::vector<CRadioReceive> removals;
    removals.swap(m_heldRemovals);
    for (const CRadioReceive& radio : removals)
        RemoveHlaRadio(radio);
    FlushUpdates();
}

void CTransmitterBar::Sweep()
{
    // A radio whose update is still gathered has been heard since the last sweep.
    FlushUpdates();
    if (m_tree)
        m_tree->Sweep();
}

void CTransmitterBar::ResetTree()
{
    if (m_tree)
        m_tree->ResetTree();
}

void CTransmitterBar::RecreateTree()
{
    if (m_attached)
        MakeTree();
}

// --- Selection ------------------------------------------------------------------------------------------------

bool CTransmitterBar::IsSelectionAtLevel(int level) const
{
    const QTreeWidgetItem* item = m_tree ? m_tree->SelectedItem() : nullptr;
    return item && CTransmitterTree::Depth(item) == level;
}

bool CTransmitterBar::IsSelectionUnderHla() const { return m_tree && m_tree->IsSelectionUnderHla(); }

bool CTransmitterBar::GetSelectedRadio(QString& text, std::int64_t& itemData) const
{
    const CTransmitterTreeItem* item = m_tree ? m_tree->SelectedItem() : nullptr;
    text = item ? item->itemText() : QString();
    itemData = item ? item->itemData() : 0;
    return IsSelectionUnderHla();
}

bool CTransmitterBar::CollectRadios(QStringList& texts, QList<std::int64_t>& itemData) const
{
    if (const CTransmitterTreeItem* item = m_tree ? m_tree->SelectedItem() : nullptr) {
        for (int i = 0; i < item->childCount(); ++i) {
            const CTransmitterTreeItem* child = item->childItem(i);
            texts.append(child->itemText());
            itemData.append(child->itemData());
        }
    }
    return IsSelectionUnderHla();
}
