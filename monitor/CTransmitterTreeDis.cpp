#include "CTransmitterTreeDis.h"

#include "engine/CRadioReceive.h"

CTransmitterTreeDis::CTransmitterTreeDis(TransmitterTreeHost host, QWidget* parent)
    : CTransmitterTree(std::move(host), parent)
{
}

void CTransmitterTreeDis::InsertDisRadio(const CRadioReceive& radio)
{
    if (!disRoot())
        return;
    const DisRadioId id = radio.GetDisId();
    Item* site = FindOrInsertChild(QString("Site %1").arg(id.site), disRoot(), TreeImage::Group, Item::Role::DisGroup);
    Item* app = FindOrInsertChild(QString("App %1").arg(id.application), site, TreeImage::Group, Item::Role::DisGroup);
    Item* entity = FindOrInsertChild(QString("Entity %1").arg(id.entity), app, TreeImage::Group, Item::Role::DisGroup);
    const QString radioText = RadioKeyText(radio);
    Item* radioItem = FindOrInsertChild(radioText, entity, TreeImage::Radio, Item::Role::DisRadio);
    MarkSeen(radioItem);
    ShowRadioState(radioItem, radio, false);
}

int CTransmitterTreeDis::CompareItems(const Item& a, const Item& b) const
{
    const TreeSortKey& x = a.sortKey();
    const TreeSortKey& y = b.sortKey();
    if (x.radioFields > 0 && y.radioFields > 0)
        return TreeOrder::CompareFields(x.radio, y.radio);
    if (x.group != TreeSortKey::Group::None && x.group == y.group && x.groupNumber != y.groupNumber)
        return x.groupNumber > y.groupNumber ? 1 : -1;
    return 0;
}
