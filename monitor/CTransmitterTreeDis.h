// The transmitter tree that groups DIS radios by their entity: "DIS Port %d" /
// "Site %d" / "App %d" / "Entity %d" / radio / quick-view lines.
#pragma once

#include "CTransmitterTree.h"

class CTransmitterTreeDis : public CTransmitterTree {
    Q_OBJECT
public:
    explicit CTransmitterTreeDis(TransmitterTreeHost host, QWidget* parent = nullptr);

    void InsertDisRadio(const CRadioReceive& radio) override;
    // Radios by their four numbers; sites, applications and entities by number.
    int CompareItems(const Item& a, const Item& b) const override;
    int DisRadioDepth() const override { return 5; }
};
