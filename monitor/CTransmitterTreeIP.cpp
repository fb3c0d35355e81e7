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
    MarkSeen(radioItem);
    m_radioSeenIn.insert(radioText, period());
    ShowRadioState(radioItem, radio, false);
}

void CTransmitterTreeIP::OnRadioDropped(const Item& radio)
{
    const auto seen = m_radioSeenIn.find(radio.itemText());
    if (seen != m_radioSeenIn.end() && seen.value() == period())
        return;   // another sender sends it
    if (seen != m_radioSeenIn.end())
        m_radioSeenIn.erase(seen);
    OnRadioSwept(radio.itemText());
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
