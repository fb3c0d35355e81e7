// A main frame that records what the application core asks of it.
#pragma once

#include "engine/CDetailDoc.h"
#include "engine/CRadioReceive.h"
#include "engine/IMainFrame.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

class FakeMainFrame : public IMainFrame {
public:
    void PostReceiverUpdate(const RadioRef& radio) override
    {
        std::lock_guard lock(m_lock);   // the DIS workers call this
        m_updates.push_back(radio);
    }
    void SweepTree() override
    {
        ++sweeps;
        if (onSweep)
            onSweep();
    }
    void RemoveHlaRadio(const CRadioReceive& radio) override { removedRadios.push_back(radio.GetObjectName()); }
    void OpenDocumentWindow(const std::shared_ptr<CDetailDoc>& document) override { opened.push_back(document); }
    void ActivateDocumentWindow(const std::shared_ptr<CDetailDoc>& document) override { activated.push_back(document); }
    void CloseDocumentWindow(const std::shared_ptr<CDetailDoc>& document) override { closed.push_back(document); }

    std::vector<RadioRef> TakeUpdates()
    {
        std::lock_guard lock(m_lock);
        return std::exchange(m_updates, {});
    }

    std::atomic<int> sweeps{0};
    std::function<void()> onSweep;   // what the tree does while it sweeps
    std::vector<std::string> removedRadios;
    std::vector<std::shared_ptr<CDetailDoc>> opened, activated, closed;

private:
    std::mutex m_lock;
    std::vector<RadioRef> m_updates;
};

// A view that counts what its document told it.
class CountingView : public IDocumentView {
public:
    void OnDocumentChanged(DocumentHint hint) override
    {
        std::lock_guard lock(m_lock);
        m_hints.push_back(hint);
    }
    std::vector<DocumentHint> Hints()
    {
        std::lock_guard lock(m_lock);
        return m_hints;
    }

private:
    std::mutex m_lock;
    std::vector<DocumentHint> m_hints;
};
