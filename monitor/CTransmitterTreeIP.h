// The transmitter tree that groups DIS radios by the address they are sent
// from: "DIS Port %d" / sender address / radio / quick-view lines. A radio
// heard from two senders is listed under both.
#pragma once

#include "CTransmitterTree.h"

#include <QSet>

class CTransmitterTreeIP : public CTransmitterTree {
    Q_OBJECT
public:
    explicit CTransmitterTreeIP(TransmitterTreeHost host, QWidget* parent = nullptr);

    void InsertDisRadio(const CRadioReceive& radio) override;
    void Sweep() override;
    void SweepRoot(Item* root) override;
    // Radios by their four numbers, senders by their four octets.
    int CompareItems(const Item& a, const Item& b) const override;
    int DisRadioDepth() const override { return 3; }

private:
    // The radios (by key text alone) updated since the last sweep, from any
    // sender: a radio that left one sender keeps its detail window while
    // another still sends it.
    QSet<QString> m_seenRadios;
};
