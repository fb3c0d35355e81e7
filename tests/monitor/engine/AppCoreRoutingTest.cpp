#include "engine/CQuorlexAppCore.h"

#include "FakeMainFrame.h"
#include "TestPdus.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

const DisRadioId kRadioA{1, 3001, 17, 2};
const DisRadioId kRadioA3{1, 3001, 17, 3};
const DisRadioId kRadioB{2, 5, 9, 1};

class AppCoreRouting : public testing::Test {
protected:
    void SetUp() override { app.AttachMainFrame(frame); }

    void Transmit(const DisRadioId& id, const char* sender, std::size_t parameters = 0)
    {
        testpdu::Buffer buffer(testpdu::Bytes(testpdu::Transmitter(id), testpdu::Counting(parameters)));
        app.OnTransmitterPdu(buffer.data.get(), buffer.size, sender);
    }

    void Signal(const DisRadioId& id, std::uint32_t sampleRate = 8000, std::uint16_t samples = 480,
                std::size_t dataBytes = 8)
    {
        testpdu::Buffer buffer(testpdu::Bytes(testpdu::Signal(id, sampleRate, samples), testpdu::Counting(dataBytes)));
        app.OnSignalPdu(buffer.data.get(), buffer.size, "10.0.0.5");
    }

    std::shared_ptr<FakeMainFrame> frame = std::make_shared<FakeMainFrame>();
    CQuorlexAppCore app;
};

// --- The routing table ----------------------------------------------------------------------------------------

struct Pdu {
    bool transmitter;
    DisRadioId radio;
    const char* sender = "10.0.0.5";
    std::size_t parameters = 0;
};

struct Expected {
    DisRadioId radio;
    std::string sender;
    std::uint32_t transmits;
    std::uint32_t signals;
    std::size_t parameters;
};

struct RoutingCase {
    const char* name;
    std::vector<Pdu> pdus;
    std::vector<Expected> records;   // in list order
};

const std::vector<RoutingCase> kRoutingCases = {
    {"SameRadioFromTwoSendersIsOneRecordWithTheLastSender",
     {{true, kRadioA, "10.0.0.5"}, {true, kRadioA, "10.0.0.6"}},
     {{kRadioA, "10.0.0.6", 2, 0, 0}}},
    {"AnotherRadioIdentifierIsAnotherRecord",
     {{true, kRadioA}, {true, kRadioA3}},
     {{kRadioA, "10.0.0.5", 1, 0, 0}, {kRadioA3, "10.0.0.5", 1, 0, 0}}},
    {"ParametersFromFourToNone",
     {{true, kRadioA, "10.0.0.5", 4}, {true, kRadioA, "10.0.0.5", 0}},
     {{kRadioA, "10.0.0.5", 2, 0, 0}}},
    {"ParametersFromNoneToFour",
     {{true, kRadioA, "10.0.0.5", 0}, {true, kRadioA, "10.0.0.5", 4}},
     {{kRadioA, "10.0.0.5", 2, 0, 4}}},
    {"SignalsCountForTheirRadioOnly",
     {{true, kRadioA}, {false, kRadioA}, {false, kRadioA}, {false, kRadioB}},
     {{kRadioA, "10.0.0.5", 1, 2, 0}}},
    {"SignalNeverCreatesARecord", {{false, kRadioA}}, {}},
    {"ListKeepsTheOrderOfFirstSight",
     {{true, kRadioB}, {true, kRadioA}, {true, kRadioB}},
     {{kRadioB, "10.0.0.5", 2, 0, 0}, {kRadioA, "10.0.0.5", 1, 0, 0}}},
};

void PrintTo(const RoutingCase& c, std::ostream* out) { *out << c.name; }

class RoutingTable : public AppCoreRouting, public testing::WithParamInterface<RoutingCase> {};

TEST_P(RoutingTable, RecordsAndReceiverUpdates)
{
    std::vector<RadioRef> expectedUpdates;
    for (const Pdu& pdu : GetParam().pdus) {
        if (pdu.transmitter) {
            Transmit(pdu.radio, pdu.sender, pdu.parameters);
            expectedUpdates.push_back(RadioRef::Dis(pdu.radio));   // one per Transmitter PDU, none per Signal PDU
        } else {
            Signal(pdu.radio);
        }
    }
    std::vector<CRadioReceive> radios = app.GetRadios();
    const auto& expected = GetParam().records;
    ASSERT_EQ(radios.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(radios[i].GetDisId(), expected[i].radio);
        EXPECT_EQ(radios[i].GetSenderAddress(), expected[i].sender);
        EXPECT_EQ(radios[i].GetTransmitCount(), expected[i].transmits);
        EXPECT_EQ(radios[i].GetSignalCount(), expected[i].signals);
        EXPECT_EQ(radios[i].GetModulationParameters().size(), expected[i].parameters);
        EXPECT_EQ(radios[i].GetTransmitter().modulationParameterLength, expected[i].parameters);
    }
    EXPECT_EQ(frame->TakeUpdates(), expectedUpdates);
}

INSTANTIATE_TEST_SUITE_P(AppCore, RoutingTable, testing::ValuesIn(kRoutingCases),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Receiver updates, the frame gate, bad buffers ------------------------------------------------------------

TEST_F(AppCoreRouting, ReceiverUpdateNamesTheRadioWhichIsLookedUpLater)
{
    Transmit(kRadioA, "10.0.0.5", 3);
    auto updates = frame->TakeUpdates();
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_EQ(updates[0].kind, RadioKind::Dis);
    auto radio = app.GetRadio(updates[0]);
    ASSERT_TRUE(radio);
    EXPECT_EQ(radio->GetKeyText(), "1/3001/17/2");
    EXPECT_FALSE(app.GetRadio(RadioRef::Dis(kRadioB)));   // a radio that is not (or no longer) there
    EXPECT_FALSE(app.GetRadio(RadioRef::Hla(7)));
}

TEST_F(AppCoreRouting, WithoutAFrameThePdusAreOnlyLogged)
{
    app.DetachMainFrame();
    EXPECT_FALSE(app.IsFrameReady());
    Transmit(kRadioA, "10.0.0.5");
    Signal(kRadioA);
    EXPECT_EQ(app.GetRadioCount(), 0u);
    EXPECT_TRUE(frame->TakeUpdates().empty());

    app.AttachMainFrame(frame);
    Transmit(kRadioA, "10.0.0.5");
    EXPECT_EQ(app.GetRadioCount(), 1u);
}

TEST_F(AppCoreRouting, BuffersShorterThanTheirLengthsAreDroppedUnread)
{
    Bytes transmitter = testpdu::Bytes(testpdu::Transmitter(kRadioA), {1, 2, 3}, 4);   // announces 4, holds 3
    Bytes fixedOnly = testpdu::Bytes(testpdu::Transmitter(kRadioA), {});
    Bytes signal = testpdu::Bytes(testpdu::Signal(kRadioA), {1, 2, 3, 4, 5, 6, 7}, 64);   // 8 bytes announced

    std::vector<std::pair<Bytes, bool>> buffers = {
        {transmitter, true}, {Bytes(fixedOnly.begin(), fixedOnly.end() - 1), true},   // 103 bytes
        {signal, false},     {Bytes(31, 0), false},
        {Bytes{}, true},
    };
    for (const auto& [bytes, isTransmitter] : buffers) {
        testpdu::Buffer buffer(bytes);
        if (isTransmitter)
            app.OnTransmitterPdu(buffer.data.get(), buffer.size, "10.0.0.5");
        else
            app.OnSignalPdu(buffer.data.get(), buffer.size, "10.0.0.5");
    }
    app.OnTransmitterPdu(nullptr, 200, "10.0.0.5");
    EXPECT_EQ(app.GetRadioCount(), 0u);
    EXPECT_EQ(app.GetRejectedPduCount(), buffers.size() + 1);
}

// --- Detail documents -----------------------------------------------------------------------------------------

TEST_F(AppCoreRouting, DetailDocumentOpensOnceAndFollowsItsRadio)
{
    EXPECT_FALSE(app.OpenDisDetail("1/3001/17/2"));   // no record yet
    Transmit(kRadioA, "10.0.0.5", 2);

    auto document = app.OpenDisDetail("1/3001/17/2");
    ASSERT_TRUE(document);
    ASSERT_EQ(frame->opened.size(), 1u);
    EXPECT_EQ(frame->opened[0], document);
    EXPECT_EQ(app.OpenDisDetail("1/3001/17/2"), document);   // the open window comes to the front
    EXPECT_EQ(frame->opened.size(), 1u);
    EXPECT_EQ(frame->activated.size(), 1u);

    auto snapshot = document->TakeSnapshot();
    EXPECT_EQ(snapshot.title, "10.0.0.5 - 1/3001/17/2");
    EXPECT_EQ(snapshot.key, "1/3001/17/2");
    EXPECT_EQ(snapshot.modulationParameters, (Bytes{0, 1}));
    EXPECT_FALSE(snapshot.signal);

    auto view = std::make_shared<CountingView>();
    document->AddView(view);
    Transmit(kRadioA, "10.0.0.6", 5);
    snapshot = document->TakeSnapshot();
    EXPECT_EQ(snapshot.modulationParameters, testpdu::Counting(5));
    EXPECT_EQ(snapshot.transmitter.modulationParameterLength, 5);
    EXPECT_EQ(view->Hints(), std::vector<DocumentHint>{DocumentHint::Transmitter});

    Transmit(kRadioB, "10.0.0.5");   // another radio leaves the document alone
    EXPECT_EQ(view->Hints().size(), 1u);
}

TEST_F(AppCoreRouting, ClosedDocumentIsForgottenAtOnce)
{
    Transmit(kRadioA, "10.0.0.5");
    auto document = app.OpenDisDetail("1/3001/17/2");
    auto view = std::make_shared<CountingView>();
    document->AddView(view);

    app.CloseDisDetail("1/3001/17/2");
    ASSERT_EQ(frame->closed.size(), 1u);
    EXPECT_EQ(frame->closed[0], document);
    EXPECT_FALSE(app.FindDisDetail("1/3001/17/2"));
    Transmit(kRadioA, "10.0.0.5");
    EXPECT_TRUE(view->Hints().empty());

    // A window the user closes is forgotten the same way; a second notice is harmless.
    auto reopened = app.OpenDisDetail("1/3001/17/2");
    ASSERT_NE(reopened, document);
    app.OnDocumentClosed(*reopened);
    app.OnDocumentClosed(*reopened);
    EXPECT_FALSE(app.FindDisDetail("1/3001/17/2"));
}

// A radio the sweep drops from the tree is released with its window; one
// heard while the sweep runs stays for the tree to show again.
TEST_F(AppCoreRouting, ASweptRadioIsReleasedUnlessHeardSinceTheSweepBegan)
{
    Transmit(kRadioA, "10.0.0.5");
    Transmit(kRadioA3, "10.0.0.5");
    Transmit(kRadioB, "10.0.0.5");
    auto document = app.OpenDisDetail(kRadioB.KeyText());
    frame->onSweep = [&] {
        Transmit(kRadioA3, "10.0.0.6");   // arrives after the tree's last update
        for (const DisRadioId& radio : {kRadioA, kRadioA3, kRadioB})
            app.OnDisRadioSwept(radio.KeyText());
    };
    app.SetTimeout(1);
    for (int tick = 0; tick < 4; ++tick)
        app.OnTimerTick();
    ASSERT_EQ(frame->sweeps, 1);

    EXPECT_EQ(app.GetRadioCount(), 1u);
    EXPECT_FALSE(app.GetRadio(RadioRef::Dis(kRadioA)));
    EXPECT_FALSE(app.GetRadio(RadioRef::Dis(kRadioB))) << "its window closed first";
    EXPECT_EQ(frame->closed, std::vector<std::shared_ptr<CDetailDoc>>{document});
    ASSERT_TRUE(app.GetRadio(RadioRef::Dis(kRadioA3)));
    EXPECT_EQ(app.GetRadio(RadioRef::Dis(kRadioA3))->GetTransmitCount(), 2u);

    // Heard again later, a released radio is a new one.
    frame->onSweep = nullptr;
    Transmit(kRadioA, "10.0.0.5");
    EXPECT_EQ(app.GetRadio(RadioRef::Dis(kRadioA))->GetTransmitCount(), 1u);
}

// Memory goes back to the system once sweeps (or a move to another port)
// have released many records since the last time, after the sweep; fewer
// releases do not call for it. The trim itself is the allocator's; here the
// test counts the calls.
TEST_F(AppCoreRouting, MemoryGoesBackOnceManyRecordsWereReleased)
{
    int trims = 0;
    app.SetMemoryTrimmer([&] {
        EXPECT_EQ(app.GetRadioCount(), 0u) << "after the sweep";
        ++trims;
    });
    std::vector<DisRadioId> heard;
    auto hear = [&](std::size_t radios) {
        for (std::size_t k = heard.size(), end = k + radios; k < end; ++k) {
            heard.push_back({7, static_cast<std::uint16_t>(k / 1000 + 1), static_cast<std::uint16_t>(k % 1000 + 1), 1});
            Transmit(heard.back(), "10.0.0.5");
        }
    };
    frame->onSweep = [&] {
        for (const DisRadioId& radio : heard)
            app.OnDisRadioSwept(radio.KeyText());
        heard.clear();
    };
    app.SetTimeout(1);
    auto sweep = [&] {
        for (int tick = 0; tick < 4; ++tick)
            app.OnTimerTick();
    };
    const std::size_t many = CQuorlexAppCore::kTrimAfterReleases;
    hear(many - 1);
    sweep();
    EXPECT_EQ(trims, 0);
    hear(1);   // one more release makes many since the start
    sweep();
    EXPECT_EQ(trims, 1);
    sweep();
    EXPECT_EQ(trims, 1) << "nothing released since";

    frame->onSweep = nullptr;
    hear(many);
    app.ReleaseDisRadios();   // another port: every record goes
    EXPECT_EQ(trims, 1) << "the tree lets go of its items first";
    app.OnTimerTick();
    EXPECT_EQ(trims, 2);

    // The tree deletes its items after the sweep: many of them call for a
    // trim of their own.
    app.OnTreeItemsReleased(many - 1);
    EXPECT_EQ(trims, 2);
    app.OnTreeItemsReleased(many);
    EXPECT_EQ(trims, 3);
}

TEST_F(AppCoreRouting, SignalForAnUnknownRadioIsNotCountedButReachesAnOpenDocument)
{
    Transmit(kRadioA, "10.0.0.5");
    auto document = app.OpenDisDetail("1/3001/17/2");
    app.DeleteRadios();   // the document outlives its record

    Signal(kRadioA, 8000, 4000, 12);
    EXPECT_EQ(app.GetRadioCount(), 0u);
    auto snapshot = document->TakeSnapshot();
    ASSERT_TRUE(snapshot.signal);
    EXPECT_EQ(snapshot.signal->samples, 4000);
    EXPECT_EQ(snapshot.signalData, testpdu::Counting(12));
}

// --- Decimation -----------------------------------------------------------------------------------------------

struct DecimationCase {
    const char* name;
    std::uint32_t sampleRate;
    std::uint16_t samples;
    std::vector<int> shown;   // which of the first twelve Signal PDUs reach the window (1-based)
};

void PrintTo(const DecimationCase& c, std::ostream* out) { *out << c.name; }

class Decimation : public AppCoreRouting, public testing::WithParamInterface<DecimationCase> {};

TEST_P(Decimation, ShowsAboutFourSignalsASecond)
{
    Transmit(kRadioA, "10.0.0.5");
    auto document = app.OpenDisDetail("1/3001/17/2");
    auto view = std::make_shared<CountingView>();
    document->AddView(view);

    std::vector<int> shown;
    for (int i = 1; i <= 12; ++i) {
        Signal(kRadioA, GetParam().sampleRate, GetParam().samples);
        if (view->Hints().size() > shown.size())
            shown.push_back(i);
    }
    EXPECT_EQ(shown, GetParam().shown);
    EXPECT_EQ(document->GetSignalCounter(), 12u);
    EXPECT_EQ(app.GetRadio(RadioRef::Dis(kRadioA))->GetSignalCount(), 12u);   // every signal counts
}

INSTANTIATE_TEST_SUITE_P(
    AppCore, Decimation,
    testing::Values(DecimationCase{"SixteenASecondShowsEveryFourth", 8000, 480, {4, 8, 12}},
                    DecimationCase{"TwoASecondShowsEach", 8000, 4000, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
                    DecimationCase{"NoSamplesShowsEach", 8000, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
                    DecimationCase{"NoSampleRateShowsEach", 0, 480, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SignalDecimation, StepTable)
{
    EXPECT_EQ(SignalDecimationStep(8000, 480), 4u);
    EXPECT_EQ(SignalDecimationStep(8000, 4000), 1u);
    EXPECT_EQ(SignalDecimationStep(8000, 0), 1u);
    EXPECT_EQ(SignalDecimationStep(44100, 441), 25u);
    EXPECT_EQ(SignalDecimationStep(0xFFFFFFFFu, 1), 0x3FFFFFFFu);
}

}   // namespace
