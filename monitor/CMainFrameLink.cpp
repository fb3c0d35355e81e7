#include "CMainFrameLink.h"

#include "CMainFrame.h"

namespace {

std::pair<std::uint32_t, std::uint64_t> KeyOf(const RadioRef& radio)
{
    const auto kind = static_cast<std::uint32_t>(radio.kind);
    return {kind, radio.kind == RadioKind::Hla ? radio.objectHandle : radio.dis.Packed()};
}

}   // namespace

CMainFrameLink::CMainFrameLink(CMainFrame& frame) : m_frame(&frame), m_post(&frame) {}

void CMainFrameLink::Disconnect()
{
    m_post.Disarm();
    m_frame = nullptr;
}

void CMainFrameLink::PostReceiverUpdate(const RadioRef& radio)
{
    bool first = false;
    {
        std::lock_guard lock(m_lock);
        if (!m_pendingKeys.insert(KeyOf(radio)).second)
            return;   // already on its way
        first = m_pending.empty();
        m_pending.push_back(radio);
    }
    if (first) {
        m_post.Post([link = weak_from_this()] {
            if (auto self = link.lock())
                self->DeliverUpdates();
        });
    }
}

void CMainFrameLink::DeliverUpdates()
{
    std::vector<RadioRef> updates;
    {
        std::lock_guard lock(m_lock);
        updates.swap(m_pending);
        m_pendingKeys.clear();
    }
    for (const RadioRef& radio : updates)
        if (m_frame)
            m_frame->OnReceiverUpdate(radio);
}

void CMainFrameLink::SweepTree()
{
    // Radios heard before the sweep reach the tree first, so that it counts
    // them as seen.
    DeliverUpdates();
    if (m_frame)
        m_frame->SweepTree();
}

void CMainFrameLink::RemoveHlaRadio(const CRadioReceive& radio)
{
    if (m_frame)
        m_frame->RemoveHlaRadio(radio);
}

void CMainFrameLink::OpenDocumentWindow(const std::shared_ptr<CDetailDoc>& document)
{
    if (m_frame)
        m_frame->OpenDocumentWindow(document);
}

void CMainFrameLink::ActivateDocumentWindow(const std::shared_ptr<CDetailDoc>& document)
{
    if (m_frame)
        m_frame->ActivateDocumentWindow(document);
}

void CMainFrameLink::CloseDocumentWindow(const std::shared_ptr<CDetailDoc>& document)
{
    if (m_frame)
        m_frame->CloseDocumentWindow(document);
}
