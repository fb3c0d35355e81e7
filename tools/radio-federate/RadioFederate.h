// A federate of simulated RPR FOM radios: it joins a federation with
// qlxRprFom10.fed, registers a number of EmbeddedSystem.RadioTransmitter
// objects, updates their 21 attributes (at an interval and whenever a
// federate asks) and sends RadioSignal.EncodedAudioRadioSignal interactions
// for each radio at a rate. The object names are "<prefix>.<n>" (n from 1);
// a radio's signals carry its name as their HostRadioIndex.
//
// Used on one thread: Step() ticks the RTI and does what is due.
#pragma once

#include "RprRadioValues.h"

#include <NullFederateAmbassador.hh>
#include <RTI.hh>

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct RadioFederateOptions {
    std::string federation = "DefaultFed";
    std::string fedFile = "qlxRprFom10.fed";
    std::string federateName;   // empty: "radio-federate@<host>.<process>"
    std::string radioPrefix;    // empty: "radio<process>"
    std::uint16_t radios = 1;
    double signalRate = 16.0;      // interactions per second and radio; 0: none
    double updateInterval = 5.0;   // seconds between updates of every attribute; 0: only when asked
    std::uint16_t samples = 480;   // per signal, at 8000 samples a second
};

class RadioFederate : private NullFederateAmbassador {
public:
    using Clock = std::chrono::steady_clock;

    // Makes the RTI ambassador (reads the RID file); throws RTI::Exception.
    explicit RadioFederate(RadioFederateOptions options);
    // Leaves when still joined.
    ~RadioFederate() override;
    RadioFederate(const RadioFederate&) = delete;
    RadioFederate& operator=(const RadioFederate&) = delete;

    // Creates the federation execution unless it exists, joins, publishes
    // and registers the radios. Throws RTI::Exception.
    void Join();
    // One tick, then the updates that were asked for and the signals and
    // updates that are due.
    void Step();
    // Deletes the radios, resigns and tries to destroy the execution.
    void Leave();

    void UpdateRadio(std::size_t radio);
    void SendSignal(std::size_t radio);
    // Deletes the radios' objects and forgets them.
    void DeleteRadios();

    RTI::RTIambassador& Rti() { return m_rti; }
    const std::vector<std::string>& RadioNames() const { return m_names; }
    const std::vector<RTI::ObjectHandle>& RadioObjects() const { return m_objects; }
    const std::string& FederateName() const { return m_options.federateName; }
    std::uint64_t SignalsSent() const { return m_signalsSent; }
    std::uint64_t UpdatesSent() const { return m_updatesSent; }
    std::uint64_t UpdatesAsked() const { return m_updatesAsked; }

private:
    void provideAttributeValueUpdate(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes) override;
    void UpdateRadio(std::size_t radio, std::uint32_t mask);
    bool Due(Clock::time_point& next, double interval, Clock::time_point now);

    RadioFederateOptions m_options;
    RTI::RTIambassador m_rti;
    bool m_joined = false;
    RTI::ObjectClassHandle m_radioClass = 0;
    std::vector<RTI::AttributeHandle> m_attributes;   // by mask bit
    RTI::InteractionClassHandle m_signalClass = 0;
    std::vector<RTI::ParameterHandle> m_parameters;   // HostRadioIndex, encoding, rate, count, length, data
    std::vector<std::string> m_names;
    std::vector<RTI::ObjectHandle> m_objects;
    std::vector<RprRadio> m_radios;
    std::map<std::size_t, std::uint32_t> m_asked;   // radio -> mask of attributes asked for
    Clock::time_point m_nextSignal{}, m_nextUpdate{};
    std::uint32_t m_sequence = 0;
    std::uint64_t m_signalsSent = 0, m_updatesSent = 0, m_updatesAsked = 0;
};
