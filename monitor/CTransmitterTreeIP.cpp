#include "CTransmitterTreeIP.h"

#include "engine/CRadioReceive.h"

CTransmitterTreeIP::CTransmitterTreeIP(TransmitterTreeHost host, QWidget* parent)
    : CTransmitterTree(std::move(host), parent)
{
}

void CTransmitterTreeIP::InsertDisRadio(const CRadioReceive& radio)
{
    if (!disRoot())
        return;
    const QString senderText = QString::fromStdString(radio.GetSenderAddress());
    const QString radioText = RadioKeyText(radio);
    Item* sender = FindOrInsertChild(senderText, disRoot(), TreeImage::Group, Item::Role::DisGroup);
    sender->SetLocal(IsLocalAddress(senderText));
    RefreshGroupImage(sender);
    Item* radioItem = FindOrInsertChild(radioText, sender, TreeImage::Radio, Item::Role::DisRadio);
    MarkSeen(radioText + "@" + senderText);
    m_seenRadios.insert(radioText);
    ShowRadioState(radioItem, radio, false);
}

void CTransmitterTreeIP::Sweep()
{
    CTransmitterTree::Sweep();
    m_seenRadios.clear();
}

void CTransmitterTreeIP::SweepRoot(Item* root)
{
    for (int s = root->childCount() - 1; s >= 0; --s) {
        Item* sender = root->childItem(s);
        for (int r = sender->childCount() - 1; r >= 0; --r) {
            Item* radio = sender->childItem(r);
            const QString radioText = radio->itemText();
            if (IsInSeenList(radioText + "@" + sender->itemText()))
                continue;
            if (!m_seenRadios.contains(radioText))
                OnRadioSwept(radioText);
            DeleteItem(radio);
        }
        if (sender->childCount() == 0)
            DeleteItem(sender);
    }
}

int CTransmitterTreeIP::CompareItems(const Item& a, const Item& b) const
{
    const TreeSortKey& x = a.sortKey();
    const TreeSortKey& y = b.sortKey();
    if (x.radioFields == 4 && y.radioFields == 4)
        return TreeOrder::CompareFields(x.radio, y.radio);
    if (x.octetFields == 4 && y.octetFields == 4)
        return TreeOrder::CompareFields(x.octets, y.octets);
    return 0;
}
