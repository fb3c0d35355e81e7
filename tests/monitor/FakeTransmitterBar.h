// A transmitter bar for the GUI tests: the test sets its selection and reads
// what it was asked.
#pragma once

#include "ITransmitterBar.h"
#include "engine/RadioKey.h"

#include <QList>
#include <QStringList>

class FakeTransmitterBar : public ITransmitterBar {
public:
    int level = -1;   // -1: nothing selected
    bool underHla = false;
    QStringList texts{"1/2/3/4"};
    QList<std::int64_t> itemData{7};

    QList<RadioRef> updates;
    int sweeps = 0;
    int resets = 0;
    int recreates = 0;

    void UpdateReceiver(const RadioRef& radio) override { updates.append(radio); }
    void RemoveHlaRadio(const CRadioReceive&) override {}
    void Sweep() override { ++sweeps; }
    void ResetTree() override { ++resets; }
    void RecreateTree() override { ++recreates; }
    bool IsSelectionAtLevel(int n) const override { return level >= 0 && level == n; }
    bool IsSelectionUnderHla() const override { return level >= 0 && underHla; }
    bool GetSelectedRadio(QString& text, std::int64_t& data) const override
    {
        text = texts.value(0);
        data = itemData.value(0);
        return underHla;
    }
    bool CollectRadios(QStringList& allTexts, QList<std::int64_t>& allData) const override
    {
        allTexts = texts;
        allData = itemData;
        return underHla;
    }
};
