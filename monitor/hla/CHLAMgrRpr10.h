// The HLA manager for the RPR FOM 1.0: it publishes and subscribes
// EmbeddedSystem.RadioTransmitter with its 21 attributes and
// RadioSignal.EncodedAudioRadioSignal, registers the monitor's own radio
// transmitter ("qlxMon.<host>"), hands reflected attributes to the
// application by their mask bits (RprRadioAttribute) and turns received
// radio signals into the fixed part of a Signal PDU.
//
// A handle counts only once it has been looked up: until then it matches
// nothing and no set or service names it.
#pragma once

#include "hla/CHLAMgr.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

class CHLAMgrRpr10 : public CHLAMgr {
public:
    // The 29 names of the object model, in this order.
    enum FomEntry : std::size_t {
        RadioTransmitterClass = 0,   // object class
        FirstRadioAttribute = 1,     // entries 1 to 21: attribute of mask bit (entry - 1)
        LastRadioAttribute = 21,
        EncodedAudioRadioSignalClass = 22,   // interaction class
        HostRadioIndex = 23,                 // its parameters
        TransmitterSignalEncodingType,
        SignalSampleRate,
        SampleCount,
        SignalDataLength,
        SignalData,
        FomEntryCount,
    };
    struct FomName {
        std::optional<std::uint32_t> handle;
        std::string name;
    };

    explicit CHLAMgrRpr10(std::shared_ptr<IHlaApplication> application);

    std::optional<HlaAttributeHandles> MakeAttributeHandleSet(std::uint32_t mask) override;
    std::optional<std::uint32_t> GetClassHandle(HlaClassKind kind) override;
    void InitFomNames() override;
    bool PublishAndSubscribe() override;
    // Manager.Federate's FederateHost and FederateHandle, for the radios'
    // hosts; nothing in the program calls these two.
    bool SubscribeFederateClass() override;
    bool UnsubscribeFederateClass() override;
    bool UnpublishAndUnsubscribe() override;
    bool RegisterMonitorObject() override;
    bool DeleteMonitorObject() override;
    bool ReflectAttributeValues(RTI::ObjectHandle object, const RTI::AttributeHandleValuePairSet& attributes) override;
    bool ReceiveInteraction(RTI::InteractionClassHandle interaction,
                            const RTI::ParameterHandleValuePairSet& parameters) override;

    const FomName& GetFomName(std::size_t entry) const { return m_fom.at(entry); }
    // The mask bit of an attribute handle (a radio-transmitter attribute, then
    // FederateHost, then FederateHandle); 0 for any other handle.
    std::uint32_t MaskBitOf(RTI::AttributeHandle handle) const;

private:
    std::array<FomName, FomEntryCount> m_fom;
    std::optional<std::uint32_t> m_federateClass;
    std::optional<std::uint32_t> m_federateHostAttribute;     // mask bit 21
    std::optional<std::uint32_t> m_federateHandleAttribute;   // mask bit 22
};
