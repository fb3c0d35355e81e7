// The monitor's hub without widgets: the radio list, the PDU and HLA
// handlers that route traffic into radio records and open detail documents,
// the 250 ms tick with the sweep trigger, the requests for HLA attribute
// updates, and the PDU log. The GUI's application object derives from it and
// attaches the main frame.
//
// Threads: OnTransmitterPdu runs on the DIS transmitter worker and
// OnSignalPdu on the signal worker; everything else on the UI thread (the HLA
// handlers inside IHlaManager::Tick). The radio list, the records and the
// set of open documents are guarded by one lock, never held while calling
// out (frame, views, HLA manager); each document has its own lock.
//
// The DIS intake must be stopped before this object is destroyed.
#pragma once

#include "engine/CDetailDocuments.h"
#include "engine/CMemoryTrimmer.h"
#include "engine/CPduLogger.h"
#include "engine/CRadioList.h"
#include "engine/IHlaManager.h"
#include "engine/IMainFrame.h"
#include "engine/IPduHandler.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

class CProfile;

class CQuorlexAppCore : public IPduHandler {
public:
    static constexpr std::int32_t kDefaultTimeout = 10;   // seconds
    static constexpr std::uint32_t kTicksPerSecond = 4;   // one tick every 250 ms
    // The longest the RTI's tick may hold the UI thread at a time, however
    // much input waits (the rest waits for the next tick).
    static constexpr double kHlaTickBudgetSeconds = 0.02;

    CQuorlexAppCore();
    ~CQuorlexAppCore() override;
    CQuorlexAppCore(const CQuorlexAppCore&) = delete;
    CQuorlexAppCore& operator=(const CQuorlexAppCore&) = delete;

    // The main frame, attached at the end of its creation and detached when
    // it is destroyed. While none is attached the PDU handlers only log.
    void AttachMainFrame(std::shared_ptr<IMainFrame> frame);
    void DetachMainFrame();
    bool IsFrameReady() const;

    // Seconds of silence after which a DIS radio leaves the tree; 0 (or
    // less) never. Read at every tick, so a change takes effect at once.
    void SetTimeout(std::int32_t seconds) { m_timeout = seconds; }
    void ReadTimeout(const CProfile& profile);
    std::int32_t GetTimeout() const { return m_timeout; }

    // Every 250 ms: counts the tick, asks the frame to sweep its tree every
    // Timeout seconds, gives memory back after many releases, and ticks the
    // RTI (whose callbacks run inside).
    void OnTimerTick();
    // Ticks the RTI for at most `budgetSeconds` (nothing without a
    // federation). True when input still waits; an RTI error is dropped (the
    // next tick goes on), unless it is the loss of the federation: then the
    // federation is ticked no more, its radios are dropped as a removed
    // object's are, and the application is told once (OnHlaFederationLost).
    bool TickHla(double budgetSeconds = kHlaTickBudgetSeconds);
    // The federation was lost (its rtiexec ended); DIS monitoring goes on.
    bool IsHlaLost() const { return m_hlaLost; }
    // The sweep dropped a DIS radio from the tree: its detail window closes
    // and its record is released, unless a PDU of the radio came after the
    // sweep began (the record then stays for the tree to show again). A
    // radio heard later is a new radio. UI thread, from within the sweep.
    void OnDisRadioSwept(const std::string& key);
    // Releases every DIS record that no detail window shows (the tree starts
    // afresh: the radios heard so far belong to another port or group).
    void ReleaseDisRadios();

    // Gives freed memory back to the system. Once the sweeps (and the
    // releases above) have released kTrimAfterReleases records since the
    // last time, the next tick calls it, after its sweep: the allocator
    // keeps what thousands of records and their tree items took otherwise.
    // By default the allocator's own trim, on a thread of its own (it takes
    // long with a large heap). UI thread.
    using MemoryTrimmer = std::function<void()>;
    static constexpr std::size_t kTrimAfterReleases = 1000;
    void SetMemoryTrimmer(MemoryTrimmer trimmer) { m_trimMemory = std::move(trimmer); }
    // The tree has deleted the items that a sweep dropped, after the sweep:
    // when they were many, what they held goes back to the system too.
    void OnTreeItemsReleased(std::uint64_t items);
    std::uint32_t GetTickCount() const { return m_ticks; }
    // Waits until the default trimmer has no trim to do (tests and
    // benchmarks measure the memory then).
    void WaitForMemoryTrim() const { m_backgroundTrim.WaitUntilIdle(); }

    // Takes the HLA manager and joins the federation; on failure the manager
    // is dropped. ShutdownHla resigns and drops it (from a lost federation
    // too: the RTI lets it go).
    bool StartHla(std::unique_ptr<IHlaManager> manager, const std::string& federation);
    void ShutdownHla();
    IHlaManager* GetHlaManager() const { return m_hla.get(); }

    // Asks the RTI for the attributes of `mask` of one object, or of every
    // object of the radio-transmitter class when `object` is 0. RTI errors
    // are ignored: the next refresh asks again.
    void OnRequestAttributeUpdate(std::uint32_t object, std::uint32_t mask);

    // DIS PDUs from the intake's workers.
    void OnTransmitterPdu(const std::uint8_t* pdu, std::size_t length, const SenderAddress& sender) override;
    void OnSignalPdu(const std::uint8_t* pdu, std::size_t length, const SenderAddress& sender) override;

    // The HLA federate's callbacks. OnHlaTransmitterAttribute lets the
    // HlaError of a failed name look-up through, having created nothing.
    void OnHlaTransmitterAttribute(std::uint32_t object, std::uint32_t bitValue, const std::uint8_t* value,
                                   std::size_t length);
    void OnHlaObjectReflected(std::uint32_t object);
    void OnHlaSignal(const SignalPdu& header, std::span<const std::uint8_t> data, const std::string& hostRadioIndex);
    bool RemoveHlaObject(std::uint32_t object);

    // Detail documents by radio. Open brings an open document's window to
    // the front, or makes the document and has the frame show it; nothing
    // happens for an unknown radio or without a frame. Close forgets the
    // document at once and has the frame close its window.
    std::shared_ptr<CQuorlexDoc> OpenDisDetail(const std::string& key);
    std::shared_ptr<CQuorlexHlaDoc> OpenHlaDetail(std::uint32_t object);
    void CloseDisDetail(const std::string& key);
    void CloseHlaDetail(std::uint32_t object);
    void CloseAllDetails();
    // The user closed a document's window.
    void OnDocumentClosed(const CDetailDoc& document);
    std::shared_ptr<CQuorlexDoc> FindDisDetail(const std::string& key) const;
    std::shared_ptr<CQuorlexHlaDoc> FindHlaDetail(std::uint32_t object) const;

    // Copies of the records, for the tree and the views (any thread).
    std::optional<CRadioReceive> GetRadio(const RadioRef& radio) const;
    std::vector<CRadioReceive> GetRadios() const;   // in list order
    std::size_t GetRadioCount() const;
    void DeleteRadios();

    CPduLogger& GetLogger() { return m_logger; }
    // PDU buffers too short for what their lengths announce, dropped.
    std::uint32_t GetRejectedPduCount() const { return m_rejectedPdus.load(std::memory_order_relaxed); }

protected:
    // The federation `federation` is lost; the radios are gone already. UI
    // thread, once, from within TickHla.
    virtual void OnHlaFederationLost(const std::string& federation) { static_cast<void>(federation); }

private:
    std::shared_ptr<IMainFrame> CurrentFrame() const;
    void DropLostFederation();
    // Starts a new sweep period: PDUs from now on count as heard after the sweep.
    void BeginSweepPeriod();
    void TrimAfterReleases();
    static void ShowDocument(IMainFrame& frame, const std::shared_ptr<CDetailDoc>& document, bool isNew);
    void Reject() { m_rejectedPdus.fetch_add(1, std::memory_order_relaxed); }

    mutable std::mutex m_lock;   // guards the four members below
    CRadioList m_radios;
    CDetailDocuments m_documents;
    std::shared_ptr<IMainFrame> m_frame;
    std::uint64_t m_sweepPeriod = 0;   // sweeps begun so far

    CPduLogger m_logger;
    std::atomic<std::uint32_t> m_rejectedPdus{0};

    // UI thread only.
    std::uint32_t m_ticks = 0;
    std::int32_t m_timeout = kDefaultTimeout;
    std::unique_ptr<IHlaManager> m_hla;
    std::string m_hlaFederation;
    bool m_hlaLost = false;
    std::size_t m_releasedSinceTrim = 0;
    CMemoryTrimmer m_backgroundTrim;
    MemoryTrimmer m_trimMemory;
};
