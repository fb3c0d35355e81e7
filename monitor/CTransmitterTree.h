// The transmitter tree: every radio the monitor hears, DIS radios below
// "DIS Port %d" and HLA radios below "HLA Fed: %s", each radio with its
// quick-view lines. The two subclasses differ in how they group DIS radios
// (CTransmitterTreeIP by sender address, CTransmitterTreeDis by site,
// application and entity); HLA radios are grouped by federate host in both.
//
// GUI thread only. The tree reads copies of the radio records it is given;
// it never holds a record.
#pragma once

#include "CItemDisposal.h"
#include "CTransmitterTreeItem.h"
#include "CTreeSweep.h"
#include "TransmitterTreeHost.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QTreeWidget>

#include <cstdint>
#include <functional>

class CRadioReceive;

class CTransmitterTree : public QTreeWidget {
    Q_OBJECT
public:
    using Item = CTransmitterTreeItem;

    // A command of the context menu: its text and the main window's command id.
    struct ContextCommand {
        QString text;
        int commandId;
        bool operator==(const ContextCommand&) const = default;
    };

    // A tree of the type (1 by DIS entity, anything else by sender address)
    // with its roots built from the host's monitoring state.
    static CTransmitterTree* Create(std::int32_t treeType, TransmitterTreeHost host, QWidget* parent = nullptr);

    ~CTransmitterTree() override;

    // Inserts a DIS radio or brings its item up to date.
    virtual void InsertDisRadio(const CRadioReceive& radio) = 0;
    // Drops the DIS radios not seen since the previous sweep, closing their
    // detail windows, and the groups left empty; the roots stay. HLA radios
    // are never swept.
    //
    // A large tree is swept in slices (CTreeSweep), between which the GUI
    // thread serves its other events; a small one before this returns.
    // While a sweep runs (IsSweeping) the tree takes no other change: its
    // owner holds them until sweepFinished. A sweep asked for meanwhile
    // follows the running one. The items dropped are deleted in slices too
    // (disposal()).
    void Sweep();
    bool IsSweeping() const { return m_sweep.IsRunning(); }
    const CTreeSweep& sweep() const { return m_sweep; }
    // The sibling order where the grouping defines one: -1, 0 or 1. Siblings
    // it calls equal are kept in natural text order (see TreeOrder).
    virtual int CompareItems(const Item& a, const Item& b) const = 0;
    // How many ancestors a DIS radio item has.
    virtual int DisRadioDepth() const = 0;

    // The root "Quorlex" with the DIS and HLA roots of the monitoring state
    // in force; the tree must be empty.
    void BuildRoots();
    // Deletes every item (in slices, as the sweep does) and builds the roots
    // again; a running sweep is given up.
    void ResetTree();
    // Widens (or narrows) the column to the texts shown, once the current
    // batch of changes is done.
    void FitColumn();

    // Inserts an HLA radio or brings it up to date; a radio without a name
    // yet is not shown. A radio whose federate host changed moves to it.
    void UpdateHlaRadio(const CRadioReceive& radio);
    // Removes an HLA radio (and its host when that is left empty).
    void RemoveHlaRadio(const CRadioReceive& radio);

    // The child of `parent` with exactly this text, inserted in sibling order
    // when there is none. A new child below a root of its own is made visible.
    Item* FindOrInsertChild(const QString& text, Item* parent, TreeImage image, Item::Role role);
    // The child of `parent` with this item data (whose text becomes `text`),
    // inserted when there is none.
    Item* FindOrInsertChildByData(const QString& text, std::int64_t data, Item* parent, TreeImage image,
                                  Item::Role role);
    // Sets quick-view line `index` (QuickViewLines::kLines) of a radio, or
    // removes it.
    void SetQuickViewLine(int index, const QString& text, Item* radio);
    void RemoveQuickViewLine(int index, Item* radio);

    // The seen list: the DIS radio items updated since the last sweep. Each
    // item notes the sweep period of its last update, so that a sweep
    // forgets them all in one step, however many there are.
    void MarkSeen(Item* radio);
    bool IsRadioSeen(const Item& radio) const { return radio.seenPeriod() == m_period; }
    qsizetype seenCount() const { return m_seenCount; }
    std::uint32_t period() const { return m_period; }

    bool IsLocalAddress(const QString& dotted) const;
    bool IsSelectionUnderHla() const;
    Item* SelectedItem() const;
    // Ancestors of the item: 0 for the root "Quorlex".
    static int Depth(const QTreeWidgetItem* item);
    bool IsUnderHla(const QTreeWidgetItem* item) const;
    // The context menu of an item: by its depth and root.
    QList<ContextCommand> ContextCommands(const QTreeWidgetItem* item) const;

    Item* rootItem() const { return m_root; }
    Item* disRoot() const { return m_disRoot; }
    Item* hlaRoot() const { return m_hlaRoot; }
    // The item of an HLA radio; null when it is not shown.
    Item* HlaRadioItem(std::uint32_t objectHandle) const { return m_hlaRadios.value(objectHandle); }
    // The items that have left the tree and wait to be deleted.
    const CItemDisposal& disposal() const { return m_disposal; }

signals:
    // A command chosen in the context menu, for the main window to carry out.
    void commandRequested(int commandId);
    // A sweep is over: the tree may change again.
    void sweepFinished();

protected:
    explicit CTransmitterTree(TransmitterTreeHost host, QWidget* parent = nullptr);

    void contextMenuEvent(QContextMenuEvent* event) override;

    // The radio item's picture and active state, and its quick-view lines.
    void ShowRadioState(Item* radio, const CRadioReceive& record, bool hla);
    // A group's picture from its active and local state.
    void RefreshGroupImage(Item* group);
    // Deletes an item with its children, keeping the tree's indexes and the
    // active counts of the groups above it right.
    void DeleteItem(Item* item);
    // Takes the children of a DIS item for which `drop` holds out of the
    // tree, adding them to `dropped`; the others keep their order. One
    // removal and one insertion for the lot: a child at a time, each removal
    // would move every later sibling.
    void DropChildren(Item* parent, const std::function<bool(Item& child)>& drop, QList<QTreeWidgetItem*>& dropped);
    // A silent DIS radio is about to leave the tree at a sweep: tells the
    // application (OnRadioSwept) unless the radio stays under another item.
    virtual void OnRadioDropped(const Item& radio) { OnRadioSwept(radio.itemText()); }
    // A sweep has weighed every radio: the seen list starts again.
    void ForgetSeen();
    // A DIS radio left the tree at the sweep (no item shows it any more).
    void OnRadioSwept(const QString& key) const;
    static QString RadioKeyText(const CRadioReceive& radio);

private:
    friend class CTreeSweep;

    void InsertSorted(Item* parent, Item* child);
    void SetActiveState(Item* item, bool active);
    void ForgetHlaRadios(Item* item);
    // What the parent keeps of a child about to leave it.
    void LetGo(Item* parent, Item* child);
    void OnSweepFinished();

    TransmitterTreeHost m_host;
    Item* m_root = nullptr;
    Item* m_disRoot = nullptr;
    Item* m_hlaRoot = nullptr;
    std::uint32_t m_period = 1;   // sweeps since the tree was made, plus one
    qsizetype m_seenCount = 0;
    QHash<std::int64_t, Item*> m_hlaRadios;   // by object handle (their item data)
    bool m_fitQueued = false;
    bool m_sweepAgain = false;
    CItemDisposal m_disposal;
    CTreeSweep m_sweep{*this};
};
