#include "hla/CHLAMgrRpr10.h"

#include "engine/RprRadioAttribute.h"
#include "util/DtBigEndian.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::uint32_t kUsedMaskBits = 0x7FFFFFu;   // bits 0 to 22
constexpr std::uint32_t kFederateHostBit = AttributeBit(RprRadioAttribute::FederateHost);
constexpr std::uint32_t kFederateHandleBit = AttributeBit(RprRadioAttribute::FederateHandle);
constexpr std::uint32_t kFederateAttributes = kFederateHostBit | kFederateHandleBit;

constexpr const char* kInteractionNames[] = {
    "RadioSignal.EncodedAudioRadioSignal",
    "HostRadioIndex",
    "TransmitterSignalEncodingType",
    "SignalSampleRate",
    "SampleCount",
    "SignalDataLength",
    "SignalData",
};

// The bytes of one value, as long as the set says it is.
template <typename Set>
std::vector<std::uint8_t> ValueOf(const Set& set, RTI::ULong index)
{
    RTI::ULong length = set.getValueLength(index);
    std::vector<std::uint8_t> value(length);
    set.getValue(index, reinterpret_cast<char*>(value.data()), length);
    value.resize(std::min<std::size_t>(value.size(), length));
    return value;
}

// A text value: its bytes up to the first zero byte or its end.
std::string TextOf(const std::vector<std::uint8_t>& value)
{
    const auto end = std::find(value.begin(), value.end(), std::uint8_t{0});
    return std::string(value.begin(), end);
}

}   // namespace

CHLAMgrRpr10::CHLAMgrRpr10(std::shared_ptr<IHlaApplication> application) : CHLAMgr(std::move(application))
{
    SetFedFileName(kFedFileName);
}

void CHLAMgrRpr10::InitFomNames()
{
    m_fom[RadioTransmitterClass].name = "EmbeddedSystem.RadioTransmitter";
    for (std::size_t entry = FirstRadioAttribute; entry <= LastRadioAttribute; ++entry)
        m_fom[entry].name = kRprRadioAttributeNames[entry - FirstRadioAttribute];
    for (std::size_t entry = EncodedAudioRadioSignalClass; entry < FomEntryCount; ++entry)
        m_fom[entry].name = kInteractionNames[entry - EncodedAudioRadioSignalClass];
}

std::optional<std::uint32_t> CHLAMgrRpr10::GetClassHandle(HlaClassKind kind)
{
    if (kind == HlaClassKind::RadioTransmitter)
        return m_fom[RadioTransmitterClass].handle;
    return std::nullopt;
}

std::uint32_t CHLAMgrRpr10::MaskBitOf(RTI::AttributeHandle handle) const
{
    for (std::size_t entry = FirstRadioAttribute; entry <= LastRadioAttribute; ++entry)
        if (m_fom[entry].handle == handle)
            return 1u << (entry - FirstRadioAttribute);
    if (m_federateHostAttribute == handle)
        return kFederateHostBit;
    if (m_federateHandleAttribute == handle)
        return kFederateHandleBit;
    return 0;
}

std::optional<HlaAttributeHandles> CHLAMgrRpr10::MakeAttributeHandleSet(std::uint32_t mask)
{
    HlaAttributeHandles handles;
    mask &= kUsedMaskBits;
    for (std::size_t entry = FirstRadioAttribute; entry <= LastRadioAttribute; ++entry)
        if ((mask & (1u << (entry - FirstRadioAttribute))) && m_fom[entry].handle)
            handles.push_back(*m_fom[entry].handle);
    if ((mask & kFederateHostBit) && m_federateHostAttribute)
        handles.push_back(*m_federateHostAttribute);
    if ((mask & kFederateHandleBit) && m_federateHandleAttribute)
        handles.push_back(*m_federateHandleAttribute);
    if (handles.empty())
        return std::nullopt;
    return handles;
}

// --- Declarations ---------------------------------------------------------------------------------------------

bool CHLAMgrRpr10::PublishAndSubscribe()
{
    RTI::RTIambassador* rti = Rti();
    if (!rti)
        return false;
    InitFomNames();
    try {
        const RTI::ObjectClassHandle radioClass = rti->getObjectClassHandle(m_fom[RadioTransmitterClass].name.c_str());
        m_fom[RadioTransmitterClass].handle = static_cast<std::uint32_t>(radioClass);
        for (std::size_t entry = FirstRadioAttribute; entry <= LastRadioAttribute; ++entry)
            m_fom[entry].handle =
                static_cast<std::uint32_t>(rti->getAttributeHandle(m_fom[entry].name.c_str(), radioClass));

        const RtiAttributeSet set = MakeRtiSet(MakeAttributeHandleSet(kAllRadioTransmitterAttributes).value());
        rti->subscribeObjectClassAttributes(radioClass, *set, RTI::RTI_TRUE);
        rti->publishObjectClass(radioClass, *set);

        const RTI::InteractionClassHandle signalClass =
            rti->getInteractionClassHandle(m_fom[EncodedAudioRadioSignalClass].name.c_str());
        m_fom[EncodedAudioRadioSignalClass].handle = static_cast<std::uint32_t>(signalClass);
        for (std::size_t entry = HostRadioIndex; entry < FomEntryCount; ++entry)
            m_fom[entry].handle =
                static_cast<std::uint32_t>(rti->getParameterHandle(m_fom[entry].name.c_str(), signalClass));
        rti->subscribeInteractionClass(signalClass, RTI::RTI_TRUE);
        rti->publishInteractionClass(signalClass);
    } catch (const RTI::Exception&) {
        return false;   // what was declared before stays declared
    }
    TickQuietly();
    return true;
}

bool CHLAMgrRpr10::UnpublishAndUnsubscribe()
{
    RTI::RTIambassador* rti = Rti();
    if (!rti)
        return false;
    // A class never looked up was never declared.
    if (const auto radioClass = m_fom[RadioTransmitterClass].handle) {
        rti->unsubscribeObjectClass(*radioClass);
        rti->unpublishObjectClass(*radioClass);
    }
    if (const auto signalClass = m_fom[EncodedAudioRadioSignalClass].handle) {
        rti->unsubscribeInteractionClass(*signalClass);
        rti->unpublishInteractionClass(*signalClass);
    }
    TickQuietly();
    return true;
}

bool CHLAMgrRpr10::SubscribeFederateClass()
{
    RTI::RTIambassador* rti = Rti();
    if (!rti)
        return false;
    try {
        const RTI::ObjectClassHandle federateClass = rti->getObjectClassHandle("Manager.Federate");
        m_federateClass = static_cast<std::uint32_t>(federateClass);
        m_federateHandleAttribute =
            static_cast<std::uint32_t>(rti->getAttributeHandle("FederateHandle", federateClass));
        m_federateHostAttribute = static_cast<std::uint32_t>(rti->getAttributeHandle("FederateHost", federateClass));
        const RtiAttributeSet set = MakeRtiSet(MakeAttributeHandleSet(kFederateAttributes).value());
        rti->subscribeObjectClassAttributes(federateClass, *set, RTI::RTI_TRUE);
    } catch (const RTI::Exception&) {
        return false;
    }
    TickQuietly();
    return true;
}

bool CHLAMgrRpr10::UnsubscribeFederateClass()
{
    RTI::RTIambassador* rti = Rti();
    if (!rti)
        return false;
    if (m_federateClass)
        rti->unsubscribeObjectClass(*m_federateClass);
    TickQuietly();
    return true;
}

// --- The monitor's own object ---------------------------------------------------------------------------------

bool CHLAMgrRpr10::RegisterMonitorObject()
{
    RTI::RTIambassador* rti = Rti();
    const auto radioClass = m_fom[RadioTransmitterClass].handle;
    if (!rti || !radioClass)
        return false;
    const std::string name = MonitorName('.');
    try {
        SetMonitorObject(static_cast<std::uint32_t>(rti->registerObjectInstance(*radioClass, name.c_str())));
    } catch (const RTI::Exception&) {
        SetMonitorObject(kNoObject);
        return false;
    }
    TickQuietly();
    return true;
}

bool CHLAMgrRpr10::DeleteMonitorObject()
{
    RTI::RTIambassador* rti = Rti();
    if (GetMonitorObject() == kNoObject)
        return true;
    if (!rti)
        return false;
    try {
        rti->deleteObjectInstance(GetMonitorObject(), nullptr);
    } catch (const RTI::Exception&) {
        return false;
    }
    TickQuietly();
    return true;
}

// --- Callbacks ------------------------------------------------------------------------------------------------

bool CHLAMgrRpr10::ReflectAttributeValues(RTI::ObjectHandle object, const RTI::AttributeHandleValuePairSet& attributes)
{
    const auto objectHandle = static_cast<std::uint32_t>(object);
    for (RTI::ULong index = 0; index < attributes.size(); ++index) {
        try {
            const std::uint32_t bit = MaskBitOf(attributes.getHandle(index));
            if (bit == 0)
                continue;   // another class's attribute
            const std::vector<std::uint8_t> value = ValueOf(attributes, index);
            Application().OnHlaTransmitterAttribute(objectHandle, bit, value.data(), value.size());
        } catch (const RTI::Exception&) {
            // This attribute is lost; the others go on.
        } catch (const HlaError&) {
            // The radio's name could not be had: the same.
        }
    }
    Application().OnHlaObjectReflected(objectHandle);
    return true;
}

bool CHLAMgrRpr10::ReceiveInteraction(RTI::InteractionClassHandle interaction,
                                      const RTI::ParameterHandleValuePairSet& parameters)
{
    if (!m_fom[EncodedAudioRadioSignalClass].handle || *m_fom[EncodedAudioRadioSignalClass].handle != interaction)
        return true;
    SignalPdu header{};
    std::string hostRadioIndex;
    std::optional<std::vector<std::uint8_t>> data;
    auto isParameter = [this](RTI::Handle handle, FomEntry entry) { return m_fom[entry].handle == handle; };

    for (RTI::ULong index = 0; index < parameters.size(); ++index) {
        RTI::Handle handle;
        try {
            handle = parameters.getHandle(index);
            static_cast<void>(parameters.getValueLength(index));
        } catch (...) {
            continue;
        }
        std::vector<std::uint8_t> value;
        try {
            value = ValueOf(parameters, index);
        } catch (...) {
            return false;   // this interaction is lost
        }
        // A value too short for its number leaves that field as it was.
        auto fits = [&value](std::size_t bytes) { return value.size() >= bytes; };
        if (isParameter(handle, HostRadioIndex)) {
            hostRadioIndex = TextOf(value);
        } else if (isParameter(handle, TransmitterSignalEncodingType)) {
            if (fits(4))
                header.encodingScheme = static_cast<std::uint16_t>(DtGetBigEndian<std::uint32_t>(value.data()));
        } else if (isParameter(handle, SignalSampleRate)) {
            if (fits(4))
                header.sampleRate = DtGetBigEndian<std::uint32_t>(value.data());
        } else if (isParameter(handle, SampleCount)) {
            if (fits(2))
                header.samples = DtGetBigEndian<std::uint16_t>(value.data());
        } else if (isParameter(handle, SignalDataLength)) {
            if (fits(2))
                header.dataLength = DtGetBigEndian<std::uint16_t>(value.data());
        } else if (isParameter(handle, SignalData)) {
            data = std::move(value);
        }
    }
    // The application reads no more data than came, whatever the data length says.
    if (data)
        Application().OnHlaSignal(header, *data, hostRadioIndex);
    return true;
}
