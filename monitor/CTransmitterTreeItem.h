// One item of the transmitter tree. Beside its text and picture it keeps what
// the tree looks up at every radio update, so that an update costs the same
// with ten radios as with a thousand: its children by text, the sort key read
// from its text, its quick-view lines by kind, and how many children below it
// transmit.
#pragma once

#include "CTransmitterTreeIcons.h"
#include "QuickViewLines.h"
#include "TreeSortKey.h"

#include <QHash>
#include <QString>
#include <QTreeWidgetItem>

#include <array>
#include <cstdint>

class CTransmitterTreeItem : public QTreeWidgetItem {
public:
    static constexpr int kType = QTreeWidgetItem::UserType + 1;

    // What the item stands for.
    enum class Role {
        Root,       // "Quorlex"
        DisRoot,    // "DIS Port %d"
        HlaRoot,    // "HLA Fed: %s"
        DisGroup,   // sender, site, application or entity
        DisRadio,
        HlaHost,
        HlaRadio,
        QuickView,
    };

    CTransmitterTreeItem(Role role, const QString& text, TreeImage image, std::int64_t itemData = 0);

    Role role() const { return m_role; }
    const QString& itemText() const { return m_key.text; }
    // Changes the text when it differs (a change repaints the item).
    void SetItemText(const QString& text);
    const TreeSortKey& sortKey() const { return m_key; }

    TreeImage image() const { return m_image; }
    void SetImage(TreeImage image);

    // The item data: the item itself for items found by text, the object
    // handle of an HLA radio, 0 for roots and quick-view lines.
    std::int64_t itemData() const { return m_itemData; }
    void SetItemDataToSelf() { m_itemData = static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(this)); }

    CTransmitterTreeItem* parentItem() const;
    CTransmitterTreeItem* childItem(int index) const;

    // Children found by text (those made by the tree's FindOrInsertChild).
    CTransmitterTreeItem* ChildByText(const QString& text) const { return m_childrenByText.value(text); }
    void IndexChild(CTransmitterTreeItem* child) { m_childrenByText.insert(child->itemText(), child); }
    void UnindexChild(CTransmitterTreeItem* child);
    // Hands the index of children by text to another item (with the children).
    void SwapChildIndex(CTransmitterTreeItem& other) { m_childrenByText.swap(other.m_childrenByText); }

    // A radio's quick-view lines by their index in QuickViewLines::kLines.
    CTransmitterTreeItem* QuickViewLine(int index) const { return m_lines[static_cast<std::size_t>(index)]; }
    void SetQuickViewLine(int index, CTransmitterTreeItem* line) { m_lines[static_cast<std::size_t>(index)] = line; }
    // Where a new line of that index goes among the lines there are.
    int QuickViewInsertPosition(int index) const;
    // The index of a quick-view line item among its radio's lines; -1 for other items.
    int quickViewIndex() const { return m_quickViewIndex; }
    void SetQuickViewIndex(int index) { m_quickViewIndex = index; }

    // Transmitting: a radio whose transmit state is 2, or a group with such a
    // radio below it. Kept only for DIS radios and groups, whose pictures
    // show it.
    bool isActive() const { return m_active; }
    void SetActive(bool active) { m_active = active; }
    int activeChildren() const { return m_activeChildren; }
    void AddActiveChildren(int delta) { m_activeChildren += delta; }

    // A sender that is this host.
    bool isLocal() const { return m_local; }
    void SetLocal(bool local) { m_local = local; }

    // The sweep period in which a DIS radio was last updated (0: never).
    std::uint32_t seenPeriod() const { return m_seenPeriod; }
    void SetSeenPeriod(std::uint32_t period) { m_seenPeriod = period; }
    // Marks of a running sweep: a DIS radio it drops, an item it found
    // expanded.
    bool isSwept() const { return m_swept; }
    void SetSwept(bool swept) { m_swept = swept; }
    bool wasExpanded() const { return m_wasExpanded; }
    void SetWasExpanded(bool expanded) { m_wasExpanded = expanded; }

private:
    Role m_role;
    TreeSortKey m_key;
    TreeImage m_image;
    std::int64_t m_itemData;
    QHash<QString, CTransmitterTreeItem*> m_childrenByText;
    std::array<CTransmitterTreeItem*, QuickViewLines::kCount> m_lines{};
    int m_quickViewIndex = -1;
    int m_activeChildren = 0;
    std::uint32_t m_seenPeriod = 0;
    bool m_active = false;
    bool m_local = false;
    bool m_swept = false;
    bool m_wasExpanded = false;
};
