// What the DIS and HLA detail documents share: the latest modulation
// parameters, the latest shown signal, the signal counter of the decimation
// rule, the title and the views.
//
// Writers (the DIS workers, the UI thread) and readers (views, printing) meet
// here from different threads. Every member is guarded by the document's
// lock; readers take a snapshot and draw from it, so a writer never waits for
// a paint and a paint never sees a half-written buffer.
#pragma once

#include "engine/DisPdu.h"
#include "engine/IDocumentView.h"
#include "engine/RadioKey.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Shows about four signals a second: sample rate / samples is the number of
// Signal PDUs a radio sends a second. A step below 1 becomes 1, and a PDU
// that carries no samples passes every time, since its rate is unknown.
std::uint32_t SignalDecimationStep(std::uint32_t sampleRate, std::uint32_t samples);

// The part of a snapshot both documents have.
struct DetailDocData {
    std::vector<std::uint8_t> modulationParameters;
    std::optional<SignalPdu> signal;        // the latest shown signal header
    std::vector<std::uint8_t> signalData;   // its data bytes
    std::string title;
};

class CDetailDoc {
public:
    virtual ~CDetailDoc() = default;
    CDetailDoc(const CDetailDoc&) = delete;
    CDetailDoc& operator=(const CDetailDoc&) = delete;

    virtual RadioKind GetKind() const = 0;

    // The header and data of a shown signal, stored together.
    void SetSignal(const SignalPdu& header, std::span<const std::uint8_t> data);

    // Counts one signal for this document and says whether it is shown.
    bool AdmitSignal(std::uint32_t sampleRate, std::uint32_t samples);
    std::uint32_t GetSignalCounter() const;

    void SetTitle(std::string title);
    std::string GetTitle() const;

    // Views are held weakly: a view that has gone is skipped and forgotten.
    void AddView(std::weak_ptr<IDocumentView> view);
    void RemoveView(const IDocumentView* view);
    // Tells every view what changed, outside the lock.
    void NotifyViews(DocumentHint hint);

protected:
    CDetailDoc() = default;

    // Subclasses take the lock for their own members and copy the common ones.
    void CopyCommon(DetailDocData& into) const;                 // with m_lock held
    void StoreModParams(std::span<const std::uint8_t> bytes);   // with m_lock held

    mutable std::mutex m_lock;

private:
    DetailDocData m_data;
    std::uint32_t m_signalCounter = 0;
    std::vector<std::weak_ptr<IDocumentView>> m_views;
};
