#include "engine/CQuorlexAppCore.h"

#include "engine/CProfile.h"
#include "engine/PduView.h"

#include <algorithm>

CQuorlexAppCore::CQuorlexAppCore() : m_trimMemory([this] { m_backgroundTrim.Request(); })
{
    CMemoryTrimmer::MergeFreedBlocksAtOnce();
}

CQuorlexAppCore::~CQuorlexAppCore()
{
    m_logger.Stop();
    ShutdownHla();
}

// --- Main frame ---------------------------------------------------------------------------------------------

void CQuorlexAppCore::AttachMainFrame(std::shared_ptr<IMainFrame> frame)
{
    std::lock_guard lock(m_lock);
    m_frame = std::move(frame);
}

void CQuorlexAppCore::DetachMainFrame()
{
    std::shared_ptr<IMainFrame> frame;
    {
        std::lock_guard lock(m_lock);
        frame.swap(m_frame);
    }
    // A worker may still hold the frame for a moment; it only queues.
}

bool CQuorlexAppCore::IsFrameReady() const { return CurrentFrame() != nullptr; }

std::shared_ptr<IMainFrame> CQuorlexAppCore::CurrentFrame() const
{
    std::lock_guard lock(m_lock);
    return m_frame;
}

// --- Tick and HLA requests ------------------------------------------------------------------------------------

void CQuorlexAppCore::ReadTimeout(const CProfile& profile) { m_timeout = profile.Read(Profile::Properties::Timeout); }

void CQuorlexAppCore::OnTimerTick()
{
    ++m_ticks;
    if (m_timeout > 0) {
        // In 64 bits, so that no Timeout makes the period wrap to 0.
        std::uint64_t period = std::uint64_t{static_cast<std::uint32_t>(m_timeout)} * kTicksPerSecond;
        if (m_ticks % period == 0)
            if (auto frame = CurrentFrame()) {
                BeginSweepPeriod();
                frame->SweepTree();
            }
    }
    // After a sweep, or a release of every radio for another port or group
    // (the tree has let go of their items since).
    TrimAfterReleases();
    TickHla();
}

bool CQuorlexAppCore::TickHla(double budgetSeconds)
{
    if (!m_hla || m_hlaLost)
        return false;
    try {
        return m_hla->Tick(budgetSeconds);
    } catch (...) {
        // Most failures pass: the RTI goes on at the next tick. A lost
        // federation does not come back: every tick would fail the same way.
        if (m_hla->IsFederationLost())
            DropLostFederation();
        return false;
    }
}

void CQuorlexAppCore::DropLostFederation()
{
    m_hlaLost = true;
    // Its radios are heard no more: they go as a removed object's do.
    std::vector<std::uint32_t> objects;
    {
        std::lock_guard lock(m_lock);
        m_radios.ForEach([&objects](const CRadioReceive& radio) {
            if (radio.IsHla())
                objects.push_back(radio.GetObjectHandle());
        });
    }
    for (std::uint32_t object : objects)
        RemoveHlaObject(object);
    OnHlaFederationLost(m_hlaFederation);
}

bool CQuorlexAppCore::StartHla(std::unique_ptr<IHlaManager> manager, const std::string& federation)
{
    ShutdownHla();
    if (!manager || !manager->JoinFederation(federation))
        return false;   // the manager has told the user why
    m_hla = std::move(manager);
    m_hlaFederation = federation;
    m_hlaLost = false;
    return true;
}

void CQuorlexAppCore::ShutdownHla()
{
    if (!m_hla)
        return;
    m_hla->ResignFederation();   // a failure is the manager's to report
    m_hla.reset();
}

void CQuorlexAppCore::OnRequestAttributeUpdate(std::uint32_t object, std::uint32_t mask)
{
    if (!m_hla || m_hlaLost)
        return;
    try {
        auto attributes = m_hla->MakeAttributeHandleSet(mask);
        if (!attributes)
            return;
        if (object != 0) {
            m_hla->RequestObjectAttributeValueUpdate(object, *attributes);
        } else if (auto radioClass = m_hla->GetClassHandle(HlaClassKind::RadioTransmitter)) {
            m_hla->RequestClassAttributeValueUpdate(*radioClass, *attributes);
        }
    } catch (...) {
        // A refused request is harmless: the values come with the next update or refresh.
    }
}

// --- DIS PDUs -----------------------------------------------------------------------------------------------

void CQuorlexAppCore::OnTransmitterPdu(const std::uint8_t* bytes, std::size_t length, const SenderAddress& sender)
{
    auto pdu = ViewTransmitterPdu(bytes, length);
    if (!pdu) {
        Reject();
        return;
    }
    m_logger.LogTransmitterPdu(*pdu, sender);

    DisRadioId id = DisRadioId::Of(pdu->record);
    std::shared_ptr<IMainFrame> frame;
    std::shared_ptr<CQuorlexDoc> document;
    {
        std::lock_guard lock(m_lock);
        if (!m_frame)
            return;
        frame = m_frame;
        m_radios.HeardDis(id, m_sweepPeriod).UpdateFromTransmitter(*pdu, sender);
        document = m_documents.FindDis(id);
    }
    frame->PostReceiverUpdate(RadioRef::Dis(id));
    if (document) {
        // The record now holds exactly this PDU's fixed part and parameters.
        document->SetTransmitter(pdu->record, pdu->modulationParameters);
        document->NotifyViews(DocumentHint::Transmitter);
    }
}

void CQuorlexAppCore::OnSignalPdu(const std::uint8_t* bytes, std::size_t length, const SenderAddress& sender)
{
    auto pdu = ViewSignalPdu(bytes, length);
    if (!pdu) {
        Reject();
        return;
    }
    m_logger.LogSignalPdu(*pdu, sender);

    DisRadioId id = DisRadioId::Of(pdu->record);
    std::shared_ptr<CQuorlexDoc> document;
    {
        std::lock_guard lock(m_lock);
        if (!m_frame)
            return;
        if (CRadioReceive* record = m_radios.FindDis(id))
            record->CountSignal();
        // A window shows the signal even before the radio's first Transmitter PDU.
        document = m_documents.FindDis(id);
    }
    if (document && document->AdmitSignal(pdu->record.sampleRate, pdu->record.samples)) {
        document->SetSignal(pdu->record, pdu->data);
        document->NotifyViews(DocumentHint::Signal);
    }
}

// --- HLA callbacks (UI thread) ------------------------------------------------------------------------------

void CQuorlexAppCore::OnHlaTransmitterAttribute(std::uint32_t object, std::uint32_t bitValue, const std::uint8_t* value,
                                                std::size_t length)
{
    auto frame = CurrentFrame();
    if (!frame)
        return;
    bool known;
    {
        std::lock_guard lock(m_lock);
        CRadioReceive* record = m_radios.FindHla(object);
        known = record != nullptr;
        if (known)
            record->DecodeHlaAttribute(bitValue, value, length);
    }
    if (!known) {
        // Only this thread adds HLA records, so the object is still unknown
        // after the look-up, which runs outside the lock. A look-up that
        // throws leaves no record behind.
        CRadioReceive record;
        record.SetObjectHandle(object);
        record.SetObjectName(m_hla ? m_hla->GetObjectInstanceName(object) : CRadioReceive::kInvalidName);
        record.DecodeHlaAttribute(bitValue, value, length);
        std::lock_guard lock(m_lock);
        m_radios.AddHla(std::move(record));
    }
    frame->PostReceiverUpdate(RadioRef::Hla(object));
}

void CQuorlexAppCore::OnHlaObjectReflected(std::uint32_t object)
{
    std::optional<CRadioReceive> radio;
    std::shared_ptr<CQuorlexHlaDoc> document;
    {
        std::lock_guard lock(m_lock);
        CRadioReceive* record = m_frame ? m_radios.FindHla(object) : nullptr;
        if (record == nullptr)
            return;
        document = m_documents.FindHla(object);
        if (document)
            radio = *record;
    }
    if (!document)
        return;
    document->SetRadio(*radio);
    document->NotifyViews(DocumentHint::Transmitter);
    document->SetTitle(radio->GetFederateHost() + " - " + radio->GetObjectName());
    document->NotifyViews(DocumentHint::Title);
}

void CQuorlexAppCore::OnHlaSignal(const SignalPdu& header, std::span<const std::uint8_t> data,
                                  const std::string& hostRadioIndex)
{
    std::shared_ptr<IMainFrame> frame;
    std::shared_ptr<CQuorlexHlaDoc> document;
    std::uint32_t object;
    {
        std::lock_guard lock(m_lock);
        CRadioReceive* record = m_frame ? m_radios.FindHlaByName(hostRadioIndex) : nullptr;
        if (record == nullptr)
            return;
        record->CountSignal();
        frame = m_frame;
        object = record->GetObjectHandle();
        document = m_documents.FindHla(object);
    }
    if (!document || !document->AdmitSignal(header.sampleRate, header.samples))
        return;
    // The header's data length may announce more than the interaction carried.
    document->SetSignal(header, data.first(std::min(data.size(), SignalDataBytes(header))));
    document->NotifyViews(DocumentHint::Signal);
    frame->PostReceiverUpdate(RadioRef::Hla(object));
}

bool CQuorlexAppCore::RemoveHlaObject(std::uint32_t object)
{
    std::optional<CRadioReceive> radio;
    {
        std::lock_guard lock(m_lock);
        if (CRadioReceive* record = m_radios.FindHla(object))
            radio = *record;
    }
    if (!radio)
        return false;
    CloseHlaDetail(object);
    if (auto frame = CurrentFrame())
        frame->RemoveHlaRadio(*radio);
    std::lock_guard lock(m_lock);
    return m_radios.RemoveHla(object);
}

// --- Detail documents (UI thread) ---------------------------------------------------------------------------

void CQuorlexAppCore::ShowDocument(IMainFrame& frame, const std::shared_ptr<CDetailDoc>& document, bool isNew)
{
    if (isNew)
        frame.OpenDocumentWindow(document);
    else
        frame.ActivateDocumentWindow(document);
}

std::shared_ptr<CQuorlexDoc> CQuorlexAppCore::OpenDisDetail(const std::string& key)
{
    auto id = DisRadioId::FromKeyText(key);
    if (!id)
        return nullptr;
    std::shared_ptr<IMainFrame> frame;
    std::shared_ptr<CQuorlexDoc> document;
    bool opened = false;
    {
        std::lock_guard lock(m_lock);
        const CRadioReceive* record = m_radios.FindDis(*id);
        if (!m_frame || record == nullptr)
            return nullptr;
        frame = m_frame;
        document = m_documents.FindDis(*id);
        if (!document) {
            // Filled and registered under the lock, so the transmitter worker
            // either sees the document with the record in it or updates the
            // record before it is copied.
            document = std::make_shared<CQuorlexDoc>(*id);
            document->SetTransmitter(record->GetTransmitter(), record->GetModulationParameters());
            document->SetTitle(record->GetSenderAddress() + " - " + key);
            m_documents.Add(document);
            opened = true;
        }
    }
    ShowDocument(*frame, document, opened);
    return document;
}

std::shared_ptr<CQuorlexHlaDoc> CQuorlexAppCore::OpenHlaDetail(std::uint32_t object)
{
    std::shared_ptr<IMainFrame> frame;
    std::shared_ptr<CQuorlexHlaDoc> document;
    bool opened = false;
    {
        std::lock_guard lock(m_lock);
        const CRadioReceive* record = m_radios.FindHla(object);
        if (!m_frame || record == nullptr)
            return nullptr;
        frame = m_frame;
        document = m_documents.FindHla(object);
        if (!document) {
            document = std::make_shared<CQuorlexHlaDoc>(object);
            document->SetRadio(*record);
            document->SetTitle(record->GetFederateHost() + " - " + record->GetObjectName());
            m_documents.Add(document);
            opened = true;
        }
    }
    ShowDocument(*frame, document, opened);
    return document;
}

void CQuorlexAppCore::CloseDisDetail(const std::string& key)
{
    auto id = DisRadioId::FromKeyText(key);
    if (!id)
        return;
    std::shared_ptr<CQuorlexDoc> document;
    std::shared_ptr<IMainFrame> frame;
    {
        std::lock_guard lock(m_lock);
        document = m_documents.TakeDis(*id);
        frame = m_frame;
    }
    if (document && frame)
        frame->CloseDocumentWindow(document);
}

void CQuorlexAppCore::BeginSweepPeriod()
{
    std::lock_guard lock(m_lock);
    ++m_sweepPeriod;
}

void CQuorlexAppCore::OnDisRadioSwept(const std::string& key)
{
    CloseDisDetail(key);
    auto id = DisRadioId::FromKeyText(key);
    if (!id)
        return;
    // A PDU that came after the sweep began keeps the record: its update is
    // on its way to the tree, which shows the radio again.
    std::lock_guard lock(m_lock);
    if (!m_documents.FindDis(*id) && m_radios.ReleaseDis(*id, m_sweepPeriod))
        ++m_releasedSinceTrim;
}

void CQuorlexAppCore::ReleaseDisRadios()
{
    std::lock_guard lock(m_lock);
    std::vector<DisRadioId> released;
    m_radios.ForEach([&](const CRadioReceive& radio) {
        if (!radio.IsHla() && !m_documents.FindDis(radio.GetDisId()))
            released.push_back(radio.GetDisId());
    });
    ++m_sweepPeriod;   // none of them counts as heard in the new period
    for (const DisRadioId& id : released)
        if (m_radios.ReleaseDis(id, m_sweepPeriod))
            ++m_releasedSinceTrim;
}

void CQuorlexAppCore::TrimAfterReleases()
{
    if (m_releasedSinceTrim < kTrimAfterReleases)
        return;
    m_releasedSinceTrim = 0;
    if (m_trimMemory)
        m_trimMemory();
}

void CQuorlexAppCore::OnTreeItemsReleased(std::uint64_t items)
{
    if (items >= kTrimAfterReleases && m_trimMemory)
        m_trimMemory();
}

void CQuorlexAppCore::CloseHlaDetail(std::uint32_t object)
{
    std::shared_ptr<CQuorlexHlaDoc> document;
    std::shared_ptr<IMainFrame> frame;
    {
        std::lock_guard lock(m_lock);
        document = m_documents.TakeHla(object);
        frame = m_frame;
    }
    if (!document)
        return;
    // The window may still paint before it closes; it must not show a radio that is going.
    document->DetachRadio();
    document->NotifyViews(DocumentHint::Transmitter);
    if (frame)
        frame->CloseDocumentWindow(document);
}

void CQuorlexAppCore::CloseAllDetails()
{
    std::vector<std::shared_ptr<CDetailDoc>> documents;
    std::shared_ptr<IMainFrame> frame;
    {
        std::lock_guard lock(m_lock);
        documents = m_documents.TakeAll();
        frame = m_frame;
    }
    if (frame)
        for (const auto& document : documents)
            frame->CloseDocumentWindow(document);
}

void CQuorlexAppCore::OnDocumentClosed(const CDetailDoc& document)
{
    std::lock_guard lock(m_lock);
    m_documents.Remove(document);
}

std::shared_ptr<CQuorlexDoc> CQuorlexAppCore::FindDisDetail(const std::string& key) const
{
    auto id = DisRadioId::FromKeyText(key);
    if (!id)
        return nullptr;
    std::lock_guard lock(m_lock);
    return m_documents.FindDis(*id);
}

std::shared_ptr<CQuorlexHlaDoc> CQuorlexAppCore::FindHlaDetail(std::uint32_t object) const
{
    std::lock_guard lock(m_lock);
    return m_documents.FindHla(object);
}

// --- Records ------------------------------------------------------------------------------------------------

std::optional<CRadioReceive> CQuorlexAppCore::GetRadio(const RadioRef& radio) const
{
    std::lock_guard lock(m_lock);
    const CRadioReceive* record =
        radio.kind == RadioKind::Hla ? m_radios.FindHla(radio.objectHandle) : m_radios.FindDis(radio.dis);
    if (record == nullptr)
        return std::nullopt;
    return *record;
}

std::vector<CRadioReceive> CQuorlexAppCore::GetRadios() const
{
    std::lock_guard lock(m_lock);
    std::vector<CRadioReceive> radios;
    radios.reserve(m_radios.Size());
    m_radios.ForEach([&radios](const CRadioReceive& radio) { radios.push_back(radio); });
    return radios;
}

std::size_t CQuorlexAppCore::GetRadioCount() const
{
    std::lock_guard lock(m_lock);
    return m_radios.Size();
}

void CQuorlexAppCore::DeleteRadios()
{
    std::lock_guard lock(m_lock);
    m_radios.Clear();
}
