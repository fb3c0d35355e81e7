// What the main frame and the application ask of the transmitter bar.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

class CRadioReceive;
struct RadioRef;

// The docked bar that holds the transmitter tree implements this. Selection
// levels count the selected item's ancestors (a root item is at level 0).
// Every call comes from the UI thread.
class ITransmitterBar {
public:
    virtual ~ITransmitterBar() = default;

    // A radio's record changed (or appeared); the bar reads it from the
    // application's radio list.
    virtual void UpdateReceiver(const RadioRef& radio) = 0;
    // An HLA radio is gone (its last record).
    virtual void RemoveHlaRadio(const CRadioReceive& radio) = 0;
    // Radios not seen since the last sweep leave the tree.
    virtual void Sweep() = 0;
    // Deletes every item and builds the roots again.
    virtual void ResetTree() = 0;
    // Replaces the tree by one of the current tree type.
    virtual void RecreateTree() = 0;

    virtual bool IsSelectionAtLevel(int level) const = 0;
    virtual bool IsSelectionUnderHla() const = 0;
    // The selected item's text and item data; true when it lies under the HLA root.
    virtual bool GetSelectedRadio(QString& text, std::int64_t& itemData) const = 0;
    // The text and item data of every child of the selected item, in tree
    // order; true when the selection lies under the HLA root.
    virtual bool CollectRadios(QStringList& texts, QList<std::int64_t>& itemData) const = 0;
};
