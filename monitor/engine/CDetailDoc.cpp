#include "engine/CDetailDoc.h"

#include <algorithm>

std::uint32_t SignalDecimationStep(std::uint32_t sampleRate, std::uint32_t samples)
{
    if (samples == 0)
        return 1;
    return std::max<std::uint32_t>(sampleRate / samples / 4, 1);
}

void CDetailDoc::StoreModParams(std::span<const std::uint8_t> bytes)
{
    m_data.modulationParameters.assign(bytes.begin(), bytes.end());
}

void CDetailDoc::SetSignal(const SignalPdu& header, std::span<const std::uint8_t> data)
{
    std::lock_guard lock(m_lock);
    m_data.signal = header;
    m_data.signalData.assign(data.begin(), data.end());
}

bool CDetailDoc::AdmitSignal(std::uint32_t sampleRate, std::uint32_t samples)
{
    std::uint32_t step = SignalDecimationStep(sampleRate, samples);
    std::lock_guard lock(m_lock);
    ++m_signalCounter;
    return m_signalCounter % step == 0;
}

std::uint32_t CDetailDoc::GetSignalCounter() const
{
    std::lock_guard lock(m_lock);
    return m_signalCounter;
}

void CDetailDoc::SetTitle(std::string title)
{
    std::lock_guard lock(m_lock);
    m_data.title = std::move(title);
}

std::string CDetailDoc::GetTitle() const
{
    std::lock_guard lock(m_lock);
    return m_data.title;
}

void CDetailDoc::AddView(std::weak_ptr<IDocumentView> view)
{
    std::lock_guard lock(m_lock);
    m_views.push_back(std::move(view));
}

void CDetailDoc::RemoveView(const IDocumentView* view)
{
    std::lock_guard lock(m_lock);
    std::erase_if(m_views, [view](const std::weak_ptr<IDocumentView>& held) {
        auto alive = held.lock();
        return !alive || alive.get() == view;
    });
}

void CDetailDoc::NotifyViews(DocumentHint hint)
{
    std::vector<std::shared_ptr<IDocumentView>> views;
    {
        std::lock_guard lock(m_lock);
        std::erase_if(m_views, [](const std::weak_ptr<IDocumentView>& held) { return held.expired(); });
        views.reserve(m_views.size());
        for (const auto& held : m_views)
            if (auto view = held.lock())
                views.push_back(std::move(view));
    }
    for (const auto& view : views)
        view->OnDocumentChanged(hint);
}

void CDetailDoc::CopyCommon(DetailDocData& into) const { into = m_data; }
