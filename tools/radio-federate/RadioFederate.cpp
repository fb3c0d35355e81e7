#include "RadioFederate.h"

#include "util/DtBigEndian.h"

#include <unistd.h>

#include <memory>

namespace {

constexpr std::uint32_t kRadioAttributeCount = 21;
constexpr std::uint32_t kAllRadioAttributes = kAllRadioTransmitterAttributes;

constexpr const char* kSignalParameters[] = {
    "HostRadioIndex", "TransmitterSignalEncodingType", "SignalSampleRate", "SampleCount", "SignalDataLength",
    "SignalData",
};

std::string HostName()
{
    char host[260] = {};
    if (gethostname(host, sizeof host - 1) != 0)
        return "localhost";
    return host;
}

template <typename T>
std::vector<char> BigEndian(T number)
{
    std::vector<char> bytes(sizeof(T));
    DtPutBigEndian(number, bytes.data());
    return bytes;
}

}   // namespace

RadioFederate::RadioFederate(RadioFederateOptions options) : m_options(std::move(options))
{
    const std::string process = std::to_string(getpid());
    if (m_options.federateName.empty())
        m_options.federateName = "radio-federate@" + HostName() + "." + process;
    if (m_options.radioPrefix.empty())
        m_options.radioPrefix = "radio" + process;
}

RadioFederate::~RadioFederate()
{
    if (m_joined) {
        try {
            m_rti.resignFederationExecution(RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES);
        } catch (...) {
            // Going anyway.
        }
    }
}

void RadioFederate::Join()
{
    try {
        m_rti.createFederationExecution(m_options.federation.c_str(), m_options.fedFile.c_str());
    } catch (const RTI::FederationExecutionAlreadyExists&) {
    }
    m_rti.joinFederationExecution(m_options.federateName.c_str(), m_options.federation.c_str(), this);
    m_joined = true;

    m_radioClass = m_rti.getObjectClassHandle("EmbeddedSystem.RadioTransmitter");
    const std::unique_ptr<RTI::AttributeHandleSet> published(
        RTI::AttributeHandleSetFactory::create(kRadioAttributeCount));
    for (std::uint32_t bit = 0; bit < kRadioAttributeCount; ++bit) {
        m_attributes.push_back(m_rti.getAttributeHandle(kRprRadioAttributeNames[bit], m_radioClass));
        published->add(m_attributes.back());
    }
    m_rti.publishObjectClass(m_radioClass, *published);
    m_signalClass = m_rti.getInteractionClassHandle("RadioSignal.EncodedAudioRadioSignal");
    for (const char* parameter : kSignalParameters)
        m_parameters.push_back(m_rti.getParameterHandle(parameter, m_signalClass));
    m_rti.publishInteractionClass(m_signalClass);

    for (std::uint16_t number = 1; number <= m_options.radios; ++number) {
        m_names.push_back(m_options.radioPrefix + "." + std::to_string(number));
        m_objects.push_back(m_rti.registerObjectInstance(m_radioClass, m_names.back().c_str()));
        m_radios.push_back(RprRadio::Numbered(number));
        m_radios.back().hostObject = m_options.federateName;
    }
    // The first signals and updates go at the first step.
    const Clock::time_point now = Clock::now();
    m_nextSignal = now;
    m_nextUpdate = now;
}

void RadioFederate::Leave()
{
    if (!m_joined)
        return;
    DeleteRadios();
    m_rti.resignFederationExecution(RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES);
    m_joined = false;
    try {
        m_rti.destroyFederationExecution(m_options.federation.c_str());
    } catch (const RTI::Exception&) {
        // Others are still in it.
    }
}

void RadioFederate::DeleteRadios()
{
    for (RTI::ObjectHandle object : m_objects)
        m_rti.deleteObjectInstance(object, "radio switched off");
    m_objects.clear();
    m_names.clear();
    m_radios.clear();
    m_asked.clear();
}

bool RadioFederate::Due(Clock::time_point& next, double interval, Clock::time_point now)
{
    if (interval <= 0 || now < next)
        return false;
    const auto period = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(interval));
    next += period;
    if (next < now)
        next = now + period;   // late: no burst to catch up
    return true;
}

void RadioFederate::Step()
{
    m_rti.tick();
    // Asked for inside the tick, sent after it.
    std::map<std::size_t, std::uint32_t> asked;
    asked.swap(m_asked);
    for (const auto& [radio, mask] : asked)
        UpdateRadio(radio, mask);

    const Clock::time_point now = Clock::now();
    if (m_options.signalRate > 0 && Due(m_nextSignal, 1.0 / m_options.signalRate, now)) {
        for (std::size_t radio = 0; radio < m_objects.size(); ++radio)
            SendSignal(radio);
        ++m_sequence;
    }
    if (Due(m_nextUpdate, m_options.updateInterval, now))
        for (std::size_t radio = 0; radio < m_objects.size(); ++radio)
            UpdateRadio(radio);
}

void RadioFederate::UpdateRadio(std::size_t radio) { UpdateRadio(radio, kAllRadioAttributes); }

void RadioFederate::UpdateRadio(std::size_t radio, std::uint32_t mask)
{
    if (radio >= m_objects.size())
        return;
    const std::unique_ptr<RTI::AttributeHandleValuePairSet> values(
        RTI::AttributeSetFactory::create(kRadioAttributeCount));
    for (std::uint32_t bit = 0; bit < kRadioAttributeCount; ++bit) {
        if ((mask & (1u << bit)) == 0)
            continue;
        const std::vector<std::uint8_t> value =
            EncodeRprAttribute(m_radios[radio], static_cast<RprRadioAttribute>(bit));
        values->add(m_attributes[bit], reinterpret_cast<const char*>(value.data()),
                    static_cast<RTI::ULong>(value.size()));
    }
    if (values->size() == 0)
        return;
    m_rti.updateAttributeValues(m_objects[radio], *values, "");
    ++m_updatesSent;
}

void RadioFederate::SendSignal(std::size_t radio)
{
    if (radio >= m_objects.size())
        return;
    const RprSignal signal = RprSignal::Tone(m_sequence, m_options.samples);
    const std::unique_ptr<RTI::ParameterHandleValuePairSet> parameters(RTI::ParameterSetFactory::create(6));
    // The host radio index is the radio's object name, with its terminating zero.
    const std::string& name = m_names[radio];
    parameters->add(m_parameters[0], name.c_str(), static_cast<RTI::ULong>(name.size() + 1));
    const std::vector<char> numbers[] = {BigEndian(signal.encodingType), BigEndian(signal.sampleRate),
                                         BigEndian(signal.samples), BigEndian(signal.DataLengthBits())};
    for (std::size_t i = 0; i < 4; ++i)
        parameters->add(m_parameters[i + 1], numbers[i].data(), static_cast<RTI::ULong>(numbers[i].size()));
    parameters->add(m_parameters[5], reinterpret_cast<const char*>(signal.data.data()),
                    static_cast<RTI::ULong>(signal.data.size()));
    m_rti.sendInteraction(m_signalClass, *parameters, "");
    ++m_signalsSent;
}

void RadioFederate::provideAttributeValueUpdate(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes)
{
    for (std::size_t radio = 0; radio < m_objects.size(); ++radio) {
        if (m_objects[radio] != object)
            continue;
        std::uint32_t mask = 0;
        for (RTI::ULong i = 0; i < attributes.size(); ++i)
            for (std::uint32_t bit = 0; bit < kRadioAttributeCount; ++bit)
                if (m_attributes[bit] == attributes.getHandle(i))
                    mask |= 1u << bit;
        m_asked[radio] |= mask;
        ++m_updatesAsked;
    }
}
