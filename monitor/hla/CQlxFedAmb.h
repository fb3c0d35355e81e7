// Quorlex's federate ambassador. The RTI calls it back on the UI thread,
// inside RTIambassador::tick. It reacts to the discovery of a radio
// transmitter (it asks for the object's attributes once the tick has
// returned), to reflections and interactions (the HLA manager decodes them),
// to the removal of an object (the application drops the radio) and to the
// two time-management confirmations (it notes them). The other 33 of the 42
// callbacks do nothing (NullFederateAmbassador's), and none throws.
#pragma once

#include <NullFederateAmbassador.hh>
#include <RTI.hh>

#include <cstdint>

class CHLAMgr;

class CQlxFedAmb : public NullFederateAmbassador {
public:
    CQlxFedAmb() = default;
    explicit CQlxFedAmb(CHLAMgr* manager) : m_manager(manager) {}
    ~CQlxFedAmb() override = default;
    CQlxFedAmb(const CQlxFedAmb&) = delete;
    CQlxFedAmb& operator=(const CQlxFedAmb&) = delete;

    bool IsTimeConstrained() const { return m_timeConstrained != 0; }
    bool IsTimeRegulating() const { return m_timeRegulating != 0; }

    // Object management
    void discoverObjectInstance(RTI::ObjectHandle object, RTI::ObjectClassHandle objectClass,
                                const char* name) override;
    void reflectAttributeValues(RTI::ObjectHandle object, const RTI::AttributeHandleValuePairSet& attributes,
                                const char* tag) override;
    void reflectAttributeValues(RTI::ObjectHandle object, const RTI::AttributeHandleValuePairSet& attributes,
                                const RTI::FedTime& time, const char* tag,
                                RTI::EventRetractionHandle retraction) override;
    void receiveInteraction(RTI::InteractionClassHandle interaction, const RTI::ParameterHandleValuePairSet& parameters,
                            const char* tag) override;
    void receiveInteraction(RTI::InteractionClassHandle interaction, const RTI::ParameterHandleValuePairSet& parameters,
                            const RTI::FedTime& time, const char* tag, RTI::EventRetractionHandle retraction) override;
    void removeObjectInstance(RTI::ObjectHandle object, const char* tag) override;
    void removeObjectInstance(RTI::ObjectHandle object, const RTI::FedTime& time, const char* tag,
                              RTI::EventRetractionHandle retraction) override;

    // Time management
    void timeRegulationEnabled(const RTI::FedTime&) override { m_timeRegulating = 1; }
    void timeConstrainedEnabled(const RTI::FedTime&) override { m_timeConstrained = 1; }

private:
    std::int32_t m_timeConstrained = 0;
    std::int32_t m_timeRegulating = 0;
    CHLAMgr* m_manager = nullptr;   // not owned; null from the default constructor
};
