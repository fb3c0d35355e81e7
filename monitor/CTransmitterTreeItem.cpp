#include "CTransmitterTreeItem.h"

#include <QAbstractItemModel>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace {

// Changes an item's text or picture without the model's per-item change
// signal: for every such signal the view looks the row up among all visible
// rows and measures its place, which costs more than the change itself when
// a thousand radios update ten times a second. The view is repainted as a
// whole instead; painting covers only the rows on screen.
template <typename Change>
void ChangeQuietly(QTreeWidgetItem& item, Change change)
{
    QTreeWidget* tree = item.treeWidget();
    if (!tree) {
        change();
        return;
    }
    {
        const QSignalBlocker blocker(tree->model());
        change();
    }
    tree->viewport()->update();
}

}   // namespace

CTransmitterTreeItem::CTransmitterTreeItem(Role role, const QString& text, TreeImage image, std::int64_t itemData)
    : QTreeWidgetItem(kType), m_role(role), m_key(TreeSortKey::Parse(text)), m_image(image), m_itemData(itemData)
{
    setText(0, text);
    setIcon(0, CTransmitterTreeIcons::Icon(image));
    // Expanding everything ("*") would otherwise mark the lines expanded too,
    // each with a persistent index that every later change of the tree walks.
    if (role == Role::QuickView)
        setFlags(flags() | Qt::ItemNeverHasChildren);
}

void CTransmitterTreeItem::SetItemText(const QString& text)
{
    if (text == m_key.text)
        return;
    if (CTransmitterTreeItem* parent = parentItem(); parent && parent->ChildByText(m_key.text) == this) {
        parent->UnindexChild(this);
        m_key = TreeSortKey::Parse(text);
        parent->IndexChild(this);
    } else {
        m_key = TreeSortKey::Parse(text);
    }
    ChangeQuietly(*this, [&] { setText(0, text); });
}

void CTransmitterTreeItem::SetImage(TreeImage image)
{
    if (image == m_image)
        return;
    m_image = image;
    ChangeQuietly(*this, [&] { setIcon(0, CTransmitterTreeIcons::Icon(image)); });
}

CTransmitterTreeItem* CTransmitterTreeItem::parentItem() const
{
    QTreeWidgetItem* item = parent();
    return item && item->type() == kType ? static_cast<CTransmitterTreeItem*>(item) : nullptr;
}

CTransmitterTreeItem* CTransmitterTreeItem::childItem(int index) const
{
    QTreeWidgetItem* item = child(index);
    return item && item->type() == kType ? static_cast<CTransmitterTreeItem*>(item) : nullptr;
}

void CTransmitterTreeItem::UnindexChild(CTransmitterTreeItem* child)
{
    auto found = m_childrenByText.find(child->itemText());
    if (found != m_childrenByText.end() && found.value() == child)
        m_childrenByText.erase(found);
}

int CTransmitterTreeItem::QuickViewInsertPosition(int index) const
{
    int position = 0;
    for (int i = 0; i < index; ++i)
        position += m_lines[static_cast<std::size_t>(i)] != nullptr;
    return position;
}
