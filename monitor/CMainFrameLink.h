// The application core's way to the main frame (IMainFrame).
#pragma once

#include "CGuiPost.h"
#include "engine/IMainFrame.h"

#include <memory>
#include <mutex>
#include <set>
#include <utility>
#include <vector>

class CMainFrame;

// Receiver updates come from the DIS workers at PDU rate. They are gathered
// and handed to the frame in one queued call per event-loop pass, a radio at
// most once, in the order the radios first changed; the tree reads the
// radio's latest record when it handles the update anyway.
//
// The frame's calls that the core makes on the UI thread go straight through
// until Disconnect(), which the frame's owner calls before the frame goes.
class CMainFrameLink final : public IMainFrame, public std::enable_shared_from_this<CMainFrameLink> {
public:
    explicit CMainFrameLink(CMainFrame& frame);

    // UI thread. Afterwards every call does nothing.
    void Disconnect();

    void PostReceiverUpdate(const RadioRef& radio) override;   // any thread
    void SweepTree() override;
    void RemoveHlaRadio(const CRadioReceive& radio) override;
    void OpenDocumentWindow(const std::shared_ptr<CDetailDoc>& document) override;
    void ActivateDocumentWindow(const std::shared_ptr<CDetailDoc>& document) override;
    void CloseDocumentWindow(const std::shared_ptr<CDetailDoc>& document) override;

private:
    void DeliverUpdates();   // UI thread

    CMainFrame* m_frame;   // UI thread; null once disconnected
    CGuiPost m_post;

    std::mutex m_lock;   // guards the pending updates
    std::vector<RadioRef> m_pending;
    std::set<std::pair<std::uint32_t, std::uint64_t>> m_pendingKeys;
};
