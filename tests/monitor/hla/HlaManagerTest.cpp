// Quorlex's HLA federate against the real RTI, in a serverless federation of
// the test's own, with an application that records what it is handed: the
// join (creating the execution, or finding it), the radios of another
// federate reflected and their signals received, the mapping of attribute
// handles to mask bits and of signal parameters to the Signal PDU header,
// the attribute handle sets, removal, resignation and the failures of the
// start.
#include "HlaTestSupport.h"
#include "RadioFederate.h"
#include "engine/RprRadioAttribute.h"
#include "hla/CHLAMgrRpr10.h"
#include "monitor/engine/PortHolder.h"

#include <NullFederateAmbassador.hh>
#include <fedtime.hh>
#include <gtest/gtest.h>
#include <poll.h>

#include <bit>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>

namespace {

using namespace hlatest;
using Bytes = std::vector<std::uint8_t>;
using Entry = CHLAMgrRpr10::FomEntry;

const char* const kFederation = "HlaTest";

std::string FedPath() { return FedDirectory() + "/" + CHLAMgr::kFedFileName; }

// A manager with the recording application and the program's FED file.
struct Monitor {
    Monitor() { manager->SetFedDirectories({FedDirectory()}); }
    std::shared_ptr<RecordingApplication> app = std::make_shared<RecordingApplication>();
    std::unique_ptr<CHLAMgrRpr10> manager = std::make_unique<CHLAMgrRpr10>(app);

    std::uint32_t Handle(std::size_t entry) const { return manager->GetFomName(entry).handle.value(); }
    void Tick() { manager->Tick(0.01); }
};

// Another federate: it subscribes the radio transmitters and records what it
// discovers and what leaves.
class Observer : public NullFederateAmbassador {
public:
    Observer()
    {
        rti.createFederationExecution(kFederation, FedPath().c_str());
        rti.joinFederationExecution("observer", kFederation, this);
        const RTI::ObjectClassHandle radioClass = rti.getObjectClassHandle("EmbeddedSystem.RadioTransmitter");
        std::unique_ptr<RTI::AttributeHandleSet> attributes(RTI::AttributeHandleSetFactory::create(1));
        attributes->add(rti.getAttributeHandle("EntityIdentifier", radioClass));
        rti.subscribeObjectClassAttributes(radioClass, *attributes, RTI::RTI_TRUE);
    }
    ~Observer() override
    {
        try {
            rti.resignFederationExecution(RTI::NO_ACTION);
        } catch (...) {
        }
    }
    void discoverObjectInstance(RTI::ObjectHandle object, RTI::ObjectClassHandle, const char* name) override
    {
        discovered[object] = name;
    }
    void removeObjectInstance(RTI::ObjectHandle object, const char*) override { removed.push_back(object); }

    RTI::RTIambassador rti;
    std::map<RTI::ObjectHandle, std::string> discovered;
    std::vector<RTI::ObjectHandle> removed;
};

RadioFederateOptions RadioOptions()
{
    RadioFederateOptions options;
    options.federation = kFederation;
    options.fedFile = FedPath();
    options.radioPrefix = "radio";
    options.signalRate = 50;
    options.updateInterval = 0;   // only when asked
    return options;
}

// --- Join, reflection, signals, removal ------------------------------------------------------------------------

// Whoever comes first creates the execution; the other finds it.
class JoinWithRadios : public testing::TestWithParam<bool> {
protected:
    FederationScope federation;
};

TEST_P(JoinWithRadios, RadiosOfAnotherFederateAreReflectedSignalledAndRemoved)
{
    const bool monitorFirst = GetParam();
    Monitor monitor;
    std::unique_ptr<RadioFederate> radios;
    if (monitorFirst) {
        ASSERT_TRUE(monitor.manager->JoinFederation(kFederation));
    }
    radios = std::make_unique<RadioFederate>(RadioOptions());
    radios->Join();
    if (!monitorFirst) {
        ASSERT_TRUE(monitor.manager->JoinFederation(kFederation));
    }
    EXPECT_EQ(monitor.app->messages, std::vector<std::string>());
    EXPECT_TRUE(monitor.manager->IsJoined());
    EXPECT_NE(monitor.manager->GetMonitorObject(), CHLAMgr::kNoObject);

    const std::uint32_t radio = static_cast<std::uint32_t>(radios->RadioObjects().at(0));
    auto step = [&] {
        monitor.Tick();
        radios->Step();
    };
    // The discovery asks for every attribute, for after the tick.
    ASSERT_TRUE(waitUntil([&] { return !monitor.app->requests.empty(); }, pausing(step)));
    EXPECT_EQ(monitor.app->requests, (std::vector<RecordingApplication::Request>{{radio, 0x1FFFFF}}));
    EXPECT_TRUE(monitor.app->attributes.empty());   // the radios update only when asked

    // What the application then asks for arrives, value by value as sent.
    const auto request = monitor.app->requests.front();
    monitor.manager->RequestObjectAttributeValueUpdate(request.object,
                                                       monitor.manager->MakeAttributeHandleSet(request.mask).value());
    ASSERT_TRUE(waitUntil([&] { return monitor.app->BitsOf(radio) == 0x1FFFFF; }, pausing(step)));
    RprRadio sent = RprRadio::Numbered(1);
    sent.hostObject = radios->FederateName();
    for (const auto& attribute : monitor.app->attributes) {
        const auto bit = static_cast<RprRadioAttribute>(std::countr_zero(attribute.bit));
        EXPECT_EQ(attribute.value, EncodeRprAttribute(sent, bit))
            << kRprRadioAttributeNames[std::countr_zero(attribute.bit)];
    }
    ASSERT_FALSE(monitor.app->reflected.empty());
    EXPECT_EQ(monitor.app->reflected.back(), radio);

    // Refresh asks the whole class.
    monitor.app->attributes.clear();
    monitor.manager->RequestClassAttributeValueUpdate(monitor.Handle(Entry::RadioTransmitterClass),
                                                      monitor.manager->MakeAttributeHandleSet(0x1FFFFF).value());
    ASSERT_TRUE(waitUntil([&] { return monitor.app->BitsOf(radio) == 0x1FFFFF; }, pausing(step)));

    ASSERT_TRUE(waitUntil([&] { return !monitor.app->heard.empty(); }, pausing(step)));
    const RecordingApplication::Signal& signal = monitor.app->heard.front();
    EXPECT_EQ(signal.hostRadioIndex, "radio.1");
    EXPECT_EQ(signal.header.encodingScheme, 1);
    EXPECT_EQ(signal.header.sampleRate, 8000u);
    EXPECT_EQ(signal.header.samples, 480);
    EXPECT_EQ(signal.header.dataLength, 480 * 8);
    EXPECT_EQ(signal.data.size(), 480u);
    EXPECT_EQ(signal.header.entityId.site, 0);   // matched by name, not by numbers

    radios->DeleteRadios();
    ASSERT_TRUE(waitUntil([&] { return !monitor.app->removed.empty(); }, pausing(step)));
    EXPECT_EQ(monitor.app->removed, std::vector<std::uint32_t>{radio});
    radios->Leave();
    EXPECT_TRUE(monitor.manager->ResignFederation());
}

INSTANTIATE_TEST_SUITE_P(Order, JoinWithRadios, testing::Bool(),
                         [](const auto& info) { return info.param ? "MonitorCreates" : "RadiosCreate"; });

bool Readable(int descriptor)
{
    pollfd entry{descriptor, POLLIN, 0};
    return ::poll(&entry, 1, 0) == 1 && (entry.revents & POLLIN) != 0;
}

// The application watches the federate's descriptors and ticks when one is
// readable; a tick whose budget is used up leaves the rest of the input
// waiting, and the descriptor readable. A budget of nothing handles one
// message.
TEST(HlaManagerInput, TheDescriptorIsReadableWhileInputWaitsAndATickStopsAtItsBudget)
{
    FederationScope federation;
    Monitor monitor;
    EXPECT_TRUE(monitor.manager->InputDescriptors().empty()) << "not joined";
    ASSERT_TRUE(monitor.manager->JoinFederation(kFederation));
    RadioFederate radios(RadioOptions());
    radios.Join();
    const std::vector<int> descriptors = monitor.manager->InputDescriptors();
    ASSERT_EQ(descriptors.size(), 1u);   // no rtiexec: the best-effort socket only
    const int descriptor = descriptors.front();
    auto drained = [&] {
        while (monitor.manager->Tick(1.0))
            ;
        return !Readable(descriptor);
    };
    ASSERT_TRUE(waitUntil(drained, pausing([&] { radios.Rti().tick(); })));

    constexpr std::size_t kSignals = 5;
    for (std::size_t i = 0; i < kSignals; ++i)
        radios.SendSignal(0);
    ASSERT_TRUE(pollUntil([&] { return Readable(descriptor); }));
    EXPECT_TRUE(monitor.manager->Tick(0));
    EXPECT_EQ(monitor.app->heard.size(), 1u);
    EXPECT_TRUE(Readable(descriptor)) << "the other signals wait";
    for (std::size_t ticks = 1; ticks < kSignals; ++ticks)
        EXPECT_TRUE(monitor.manager->Tick(0));
    EXPECT_EQ(monitor.app->heard.size(), kSignals);
    EXPECT_FALSE(monitor.manager->Tick(1.0));
    EXPECT_FALSE(Readable(descriptor));

    radios.Leave();
    EXPECT_TRUE(monitor.manager->ResignFederation());
    EXPECT_TRUE(monitor.manager->InputDescriptors().empty());
}

// --- Attribute handles and mask bits ----------------------------------------------------------------------------

class JoinedMonitor : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(monitor.manager->JoinFederation(kFederation)); }
    void TearDown() override { monitor.manager->ResignFederation(); }

    FederationScope federation;
    Monitor monitor;
};

TEST_F(JoinedMonitor, ReflectionHandsEachKnownAttributeOnByItsMaskBitThenTheObjectOnce)
{
    std::unique_ptr<RTI::AttributeHandleValuePairSet> set(RTI::AttributeSetFactory::create(23));
    std::vector<RecordingApplication::Attribute> expected;
    for (std::size_t entry = Entry::FirstRadioAttribute; entry <= Entry::LastRadioAttribute; ++entry) {
        const Bytes value(entry % 5, static_cast<std::uint8_t>(entry));   // some values are empty
        set->add(monitor.Handle(entry), reinterpret_cast<const char*>(value.data()),
                 static_cast<RTI::ULong>(value.size()));
        expected.push_back({42, 1u << (entry - 1), value});
    }
    const char other[] = "of another class";
    set->add(250, other, sizeof other);   // matches no entry

    EXPECT_TRUE(monitor.manager->ReflectAttributeValues(42, *set));
    EXPECT_EQ(monitor.app->attributes, expected);
    EXPECT_EQ(monitor.app->reflected, std::vector<std::uint32_t>{42});

    // An attribute the application cannot take costs that attribute only.
    monitor.app->attributes.clear();
    monitor.app->failingBits = AttributeBit(RprRadioAttribute::Frequency);
    EXPECT_TRUE(monitor.manager->ReflectAttributeValues(42, *set));
    EXPECT_EQ(monitor.app->attributes.size(), 20u);
    EXPECT_EQ(monitor.app->BitsOf(42), 0x1FFFFFu & ~monitor.app->failingBits);
    EXPECT_EQ(monitor.app->reflected, (std::vector<std::uint32_t>{42, 42}));
}

TEST_F(JoinedMonitor, AttributeHandleSetsHoldTheHandlesOfTheMaskBitsLookedUp)
{
    CHLAMgrRpr10& manager = *monitor.manager;
    HlaAttributeHandles radio;
    for (std::size_t entry = Entry::FirstRadioAttribute; entry <= Entry::LastRadioAttribute; ++entry)
        radio.push_back(monitor.Handle(entry));

    EXPECT_EQ(manager.MakeAttributeHandleSet(0), std::nullopt);
    EXPECT_EQ(manager.MakeAttributeHandleSet(0xFF800000u), std::nullopt);   // bits above 22 only
    EXPECT_EQ(manager.MakeAttributeHandleSet(0x1FFFFF), radio);
    EXPECT_EQ(manager.MakeAttributeHandleSet(0xFF800000u | 0x81), (HlaAttributeHandles{radio[0], radio[7]}));
    // Manager.Federate's attributes count once they are looked up.
    EXPECT_EQ(manager.MakeAttributeHandleSet(0x600000), std::nullopt);
    EXPECT_EQ(manager.MaskBitOf(0x7FFFFFFF), 0u);

    ASSERT_TRUE(manager.SubscribeFederateClass());
    const auto federate = manager.MakeAttributeHandleSet(0x600000);
    ASSERT_TRUE(federate);
    ASSERT_EQ(federate->size(), 2u);   // FederateHost (bit 21), then FederateHandle (bit 22)
    EXPECT_EQ(manager.MakeAttributeHandleSet(0xFFFFFFFF)->size(), 23u);
    EXPECT_TRUE(manager.UnsubscribeFederateClass());
}

TEST(HlaManager, NothingMatchesBeforeTheHandlesAreLookedUp)
{
    FederationScope federation;
    Monitor monitor;   // not joined
    std::unique_ptr<RTI::AttributeHandleValuePairSet> set(RTI::AttributeSetFactory::create(3));
    for (RTI::Handle handle = 0; handle < 3; ++handle)
        set->add(handle, "x", 1);
    EXPECT_TRUE(monitor.manager->ReflectAttributeValues(7, *set));
    EXPECT_TRUE(monitor.app->attributes.empty());
    EXPECT_EQ(monitor.app->reflected, std::vector<std::uint32_t>{7});
    EXPECT_EQ(monitor.manager->MakeAttributeHandleSet(0x7FFFFF), std::nullopt);
    EXPECT_EQ(monitor.manager->GetClassHandle(HlaClassKind::RadioTransmitter), std::nullopt);
    EXPECT_TRUE(monitor.manager->DeleteMonitorObject());   // none registered: nothing to do
}

// --- Radio signals ----------------------------------------------------------------------------------------------

struct SignalRow {
    const char* name;
    std::vector<std::pair<Entry, Bytes>> parameters;
    bool handedOn;
    std::uint16_t encoding = 0;
    std::uint32_t sampleRate = 0;
    std::uint16_t samples = 0, dataLength = 0;
    Bytes data;
    std::string hostRadioIndex;
};

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

TEST_F(JoinedMonitor, RadioSignalParametersAreDecodedIntoTheSignalHeader)
{
    const Bytes data(480, 0x5A);
    // clang-format off
    const std::vector<SignalRow> rows = {
        {"every parameter",
         {{Entry::HostRadioIndex, Text(std::string("radio-7\0", 8))},
          {Entry::TransmitterSignalEncodingType, {0, 1, 0, 2}},
          {Entry::SignalSampleRate, {0, 0, 0x1F, 0x40}},
          {Entry::SampleCount, {0x01, 0xE0}},
          {Entry::SignalDataLength, {0x0F, 0x00}},
          {Entry::SignalData, data}},
         true, 2, 8000, 480, 3840, data, "radio-7"},
        {"index without its zero",
         {{Entry::HostRadioIndex, Text(std::string("radio-7"))}, {Entry::SignalData, {1, 2}}},
         true, 0, 0, 0, 0, {1, 2}, "radio-7"},
        {"index cut at a zero inside",
         {{Entry::HostRadioIndex, Text(std::string("ab\0cd", 5))}, {Entry::SignalData, {3}}},
         true, 0, 0, 0, 0, {3}, "ab"},
        {"short values leave their fields",
         {{Entry::TransmitterSignalEncodingType, {0, 1, 0}},
          {Entry::SignalSampleRate, {0, 0, 0x1F}},
          {Entry::SampleCount, {0x01}},
          {Entry::SignalDataLength, {0x0F}},
          {Entry::SignalData, {9}}},
         true, 0, 0, 0, 0, {9}, ""},
        {"long values give their first bytes",
         {{Entry::SignalSampleRate, {0, 0, 0x1F, 0x40, 0xFF, 0xFF}}, {Entry::SampleCount, {0, 0, 7}},
          {Entry::SignalData, {9}}},
         true, 0, 8000, 0, 0, {9}, ""},
        {"a data length beyond the data is handed on as it came",
         {{Entry::SignalDataLength, {0x1F, 0x40}}, {Entry::SampleCount, {0, 0}}, {Entry::SignalData, Bytes(10, 1)}},
         true, 0, 0, 0, 8000, Bytes(10, 1), ""},
        {"no signal data",
         {{Entry::HostRadioIndex, Text("radio-7")}, {Entry::SignalSampleRate, {0, 0, 0x1F, 0x40}}},
         false, 0, 0, 0, 0, {}, ""},
    };
    // clang-format on
    const RTI::InteractionClassHandle signalClass = monitor.Handle(Entry::EncodedAudioRadioSignalClass);
    for (const SignalRow& row : rows) {
        SCOPED_TRACE(row.name);
        monitor.app->heard.clear();
        std::unique_ptr<RTI::ParameterHandleValuePairSet> set(RTI::ParameterSetFactory::create(6));
        for (const auto& [entry, value] : row.parameters)
            set->add(monitor.Handle(entry), reinterpret_cast<const char*>(value.data()),
                     static_cast<RTI::ULong>(value.size()));
        EXPECT_TRUE(monitor.manager->ReceiveInteraction(signalClass, *set));
        ASSERT_EQ(monitor.app->heard.size(), row.handedOn ? 1u : 0u);
        if (!row.handedOn)
            continue;
        const RecordingApplication::Signal& signal = monitor.app->heard.front();
        EXPECT_EQ(signal.header.encodingScheme, row.encoding);
        EXPECT_EQ(signal.header.sampleRate, row.sampleRate);
        EXPECT_EQ(signal.header.samples, row.samples);
        EXPECT_EQ(signal.header.dataLength, row.dataLength);
        EXPECT_EQ(signal.data, row.data);
        EXPECT_EQ(signal.hostRadioIndex, row.hostRadioIndex);
        EXPECT_EQ(signal.header.entityId.entity, 0);
        EXPECT_EQ(signal.header.radioId, 0);
    }

    // Another interaction class is none of the monitor's business.
    std::unique_ptr<RTI::ParameterHandleValuePairSet> set(RTI::ParameterSetFactory::create(1));
    set->add(monitor.Handle(Entry::SignalData), "x", 1);
    EXPECT_TRUE(monitor.manager->ReceiveInteraction(signalClass + 1, *set));
    EXPECT_TRUE(monitor.app->heard.empty());
}

// --- The federate ambassador ------------------------------------------------------------------------------------

TEST_F(JoinedMonitor, FederateAmbassadorPassesOnWhatTheMonitorUses)
{
    CQlxFedAmb fedAmb(monitor.manager.get());
    const RTI::ObjectClassHandle radioClass = monitor.Handle(Entry::RadioTransmitterClass);
    fedAmb.discoverObjectInstance(5, radioClass + 1, "another class");
    fedAmb.discoverObjectInstance(6, radioClass, "a radio");
    EXPECT_EQ(monitor.app->requests, (std::vector<RecordingApplication::Request>{{6, 0x1FFFFF}}));

    std::unique_ptr<RTI::AttributeHandleValuePairSet> set(RTI::AttributeSetFactory::create(1));
    set->add(monitor.Handle(Entry::FirstRadioAttribute), "\0\1\0\2\0\3", 6);
    const RTIfedTime time(2.5);
    fedAmb.reflectAttributeValues(6, *set, "untimed");
    fedAmb.reflectAttributeValues(6, *set, time, "timed", RTI::EventRetractionHandle{1, 2});
    ASSERT_EQ(monitor.app->attributes.size(), 2u);
    EXPECT_EQ(monitor.app->attributes[0], monitor.app->attributes[1]);
    EXPECT_EQ(monitor.app->reflected, (std::vector<std::uint32_t>{6, 6}));

    std::unique_ptr<RTI::ParameterHandleValuePairSet> signal(RTI::ParameterSetFactory::create(1));
    signal->add(monitor.Handle(Entry::SignalData), "x", 1);
    const RTI::InteractionClassHandle signalClass = monitor.Handle(Entry::EncodedAudioRadioSignalClass);
    fedAmb.receiveInteraction(signalClass, *signal, "untimed");
    fedAmb.receiveInteraction(signalClass, *signal, time, "timed", RTI::EventRetractionHandle{1, 2});
    EXPECT_EQ(monitor.app->heard.size(), 2u);

    fedAmb.removeObjectInstance(6, "untimed");
    fedAmb.removeObjectInstance(99, time, "never seen", RTI::EventRetractionHandle{1, 2});
    EXPECT_EQ(monitor.app->removed, (std::vector<std::uint32_t>{6, 99}));

    EXPECT_FALSE(fedAmb.IsTimeRegulating());
    EXPECT_FALSE(fedAmb.IsTimeConstrained());
    fedAmb.timeRegulationEnabled(time);
    fedAmb.timeConstrainedEnabled(time);
    EXPECT_TRUE(fedAmb.IsTimeRegulating());
    EXPECT_TRUE(fedAmb.IsTimeConstrained());

    CQlxFedAmb alone;   // made without a manager: ignores everything
    alone.discoverObjectInstance(6, radioClass, "a radio");
    alone.removeObjectInstance(6, "");
    EXPECT_EQ(monitor.app->requests.size(), 1u);
    EXPECT_EQ(monitor.app->removed.size(), 2u);
}

// --- Resignation ------------------------------------------------------------------------------------------------

// A manager whose shutdown steps fail, as the RTI may make them.
class FailingShutdownSteps : public CHLAMgrRpr10 {
public:
    using CHLAMgrRpr10::CHLAMgrRpr10;
    bool DeleteMonitorObject() override { throw std::runtime_error("gone wrong"); }
    bool UnpublishAndUnsubscribe() override { throw RTI::FederateNotExecutionMember("as if"); }
};

class Resignation : public testing::TestWithParam<bool> {};

TEST_P(Resignation, TheMonitorsObjectLeavesWithItsFederate)
{
    const bool stepsFail = GetParam();
    FederationScope federation;
    Observer observer;   // subscribed before the monitor registers
    auto app = std::make_shared<RecordingApplication>();
    std::unique_ptr<CHLAMgrRpr10> manager =
        stepsFail ? std::make_unique<FailingShutdownSteps>(app) : std::make_unique<CHLAMgrRpr10>(app);
    manager->SetFedDirectories({FedDirectory()});
    ASSERT_TRUE(manager->JoinFederation(kFederation));
    const RTI::ObjectHandle own = manager->GetMonitorObject();
    auto step = [&] {
        observer.rti.tick();
        manager->Tick(0.01);
    };
    ASSERT_TRUE(waitUntil([&] { return observer.discovered.count(own) == 1; }, pausing(step)));
    EXPECT_EQ(observer.discovered[own], CHLAMgr::MonitorName('.'));
    EXPECT_EQ(CHLAMgr::MonitorName('.').rfind("qlxMon.", 0), 0u);

    // Without the monitor's own deletion, the resignation deletes its objects.
    EXPECT_TRUE(manager->ResignFederation());
    EXPECT_FALSE(manager->IsJoined());
    EXPECT_TRUE(app->messages.empty());
    ASSERT_TRUE(waitUntil([&] { return !observer.removed.empty(); }, pausing([&] { observer.rti.tick(); })));
    EXPECT_EQ(observer.removed, std::vector<RTI::ObjectHandle>{own});
}

INSTANTIATE_TEST_SUITE_P(Steps, Resignation, testing::Bool(),
                         [](const auto& info) { return info.param ? "StepsFail" : "StepsSucceed"; });

// --- A start that fails -----------------------------------------------------------------------------------------

TEST(HlaManagerStart, FailuresAreToldWithTheirTextsAndNothingIsJoined)
{
    struct Row {
        const char* name;
        std::vector<std::string> fedDirectories;
        std::string moreForms;
        std::string message;
    };
    testnet::PortHolder taken;   // without address reuse: the RTI cannot bind it
    const std::string scratch = std::filesystem::temp_directory_path() / ("qlx-hla-" + std::to_string(getpid()));
    std::filesystem::create_directories(scratch + "/bad");
    {
        std::ofstream bad(scratch + "/bad/qlxRprFom10.fed");
        bad << "(FED (Federation X))\n";
    }
    const std::vector<Row> rows = {
        {"no FED file in either place",
         {scratch + "/none", scratch + "/nor"},
         "",
         "Could not find FED file " + scratch + "/none/qlxRprFom10.fed or " + scratch + "/nor/qlxRprFom10.fed"},
        {"a FED file that is not one, in the second place",
         {scratch + "/none", scratch + "/bad"},
         "",
         "Could not read FED file " + scratch + "/bad/qlxRprFom10.fed"},
        {"an RTI that cannot open its socket",
         {FedDirectory()},
         "(setq RTI_udpPort " + std::to_string(taken.port()) + ")\n",
         std::string("Could not create federation ") + kFederation + ": RTIinternalError"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FederationScope federation(row.moreForms);
        auto app = std::make_shared<RecordingApplication>();
        CHLAMgrRpr10 manager(app);
        manager.SetFedDirectories(row.fedDirectories);
        EXPECT_FALSE(manager.JoinFederation(kFederation));
        EXPECT_EQ(app->messages, std::vector<std::string>{row.message});
        EXPECT_FALSE(manager.IsJoined());
        EXPECT_EQ(manager.GetMonitorObject(), CHLAMgr::kNoObject);
    }
    std::filesystem::remove_all(scratch);
}

}   // namespace
