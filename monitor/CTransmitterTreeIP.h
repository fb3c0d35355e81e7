// The transmitter tree that groups DIS radios by the address they are sent
// from: "DIS Port %d" / sender address / radio / quick-view lines. A radio
// heard from two senders is listed under both.
#pragma once

#include "CTransmitterTree.h"

#include <QHash>

class CTransmitterTreeIP : public CTransmitterTree {
    Q_OBJECT
public:
    explicit CTransmitterTreeIP(TransmitterTreeHost host, QWidget* parent = nullptr);

    void InsertDisRadio(const CRadioReceive& radio) override;
    // Radios by their four numbers, senders by their four octets.
    int CompareItems(const Item& a, const Item& b) const override;
    int DisRadioDepth() const override { return 3; }

protected:
    // Told only when no other sender sent the radio since the last sweep.
    void OnRadioDropped(const Item& radio) override;

private:
    // The sweep period in which each radio (by key text alone) was last
    // updated from any sender: a radio that left one sender keeps its detail
    // window while another still sends it. A radio told gone leaves it.
    QHash<QString, std::uint32_t> m_radioSeenIn;
};
