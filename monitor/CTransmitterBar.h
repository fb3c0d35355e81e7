// The docking bar "Transmitters" (bar 101) that holds the transmitter tree,
// and the way the rest of the program reaches the tree.
//
// Receiver updates are gathered: a radio updated many times before the next
// refresh is read once, at its latest state. While the tree sweeps (in
// slices), updates and removals wait until the sweep is over. The tree is refreshed
// kRefreshIntervalMs after the first update it has not shown yet, never
// earlier (a precise timer), so refreshes are at least that far apart and a
// flood of PDUs costs the GUI thread the same as a steady trickle from the
// same radios; an update waits about that long to be shown.
//
// GUI thread only.
#pragma once

#include "CResizableBar.h"
#include "ITransmitterBar.h"
#include "TransmitterTreeHost.h"
#include "engine/CRadioReceive.h"

#include <QPointer>
#include <QSet>
#include <QTimer>

#include <vector>

class CTransmitterTree;

class CTransmitterBar : public CResizableBar, public ITransmitterBar {
    Q_OBJECT
public:
    static constexpr int kBarId = 101;
    static constexpr int kRefreshIntervalMs = 100;

    // Without a host the bar stays empty until Attach.
    explicit CTransmitterBar(QWidget* parent = nullptr);
    ~CTransmitterBar() override;

    // Makes the tree of the host's tree type, with the host's roots.
    void Attach(TransmitterTreeHost host);
    CTransmitterTree* tree() const;

    void UpdateReceiver(const RadioRef& radio) override;
    void RemoveHlaRadio(const CRadioReceive& radio) override;
    void Sweep() override;
    void ResetTree() override;
    void RecreateTree() override;

    bool IsSelectionAtLevel(int level) const override;
    bool IsSelectionUnderHla() const override;
    bool GetSelectedRadio(QString& text, std::int64_t& itemData) const override;
    bool CollectRadios(QStringList& texts, QList<std::int64_t>& itemData) const override;

    // Applies the gathered updates now.
    void FlushUpdates();
    // The least time between two refreshes (kRefreshIntervalMs unless set);
    // 0 refreshes at the next event-loop pass after an update.
    void SetRefreshInterval(int milliseconds) { m_refreshTimer.setInterval(milliseconds); }
    qsizetype pendingUpdates() const { return static_cast<qsizetype>(m_pending.size()); }
    // Refreshes done since the bar was made.
    std::uint64_t refreshCount() const { return m_refreshes; }

signals:
    // The selection changed (or the tree was replaced).
    void selectionChanged();

private:
    void MakeTree();
    // The sweep is over: the removals and updates that waited for it.
    void ApplyHeldChanges();
    // Carries out a command of the main window (QuorlexCommands.h) as its
    // menu would.
    void TriggerCommand(int commandId);

    TransmitterTreeHost m_host;
    bool m_attached = false;
    QPointer<CTransmitterTree> m_tree;
    std::vector<RadioRef> m_pending;   // in the order the radios first changed
    QSet<quint64> m_pendingDis;        // DisRadioId::Packed()
    QSet<quint32> m_pendingHla;        // object handles
    std::vector<CRadioReceive> m_heldRemovals;
    QTimer m_refreshTimer;
    std::uint64_t m_refreshes = 0;
};
