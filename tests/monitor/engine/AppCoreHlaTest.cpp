#include "engine/CNullHlaManager.h"
#include "engine/CQuorlexAppCore.h"
#include "engine/RprRadioAttribute.h"

#include "FakeHlaManager.h"
#include "FakeMainFrame.h"
#include "TestPdus.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using A = RprRadioAttribute;
using Bytes = std::vector<std::uint8_t>;

class AppCoreHla : public testing::Test {
protected:
    void SetUp() override
    {
        auto manager = std::make_unique<FakeHlaManager>();
        hla = manager.get();
        hla->names = {{7, "radio-7"}, {8, "radio-8"}};
        ASSERT_TRUE(app.StartHla(std::move(manager), "DefaultFed"));
        app.AttachMainFrame(frame);
    }

    void Reflect(std::uint32_t object, A attribute, const Bytes& value)
    {
        app.OnHlaTransmitterAttribute(object, AttributeBit(attribute), value.data(), value.size());
    }

    void SendSignal(const std::string& hostRadioIndex, std::uint16_t samples, const Bytes& data, int bits = -1)
    {
        SignalPdu header = testpdu::Signal({}, 8000, samples);
        header.dataLength = static_cast<std::uint16_t>(bits < 0 ? data.size() * 8 : bits);
        app.OnHlaSignal(header, data, hostRadioIndex);
    }

    std::shared_ptr<FakeMainFrame> frame = std::make_shared<FakeMainFrame>();
    FakeHlaManager* hla = nullptr;
    CQuorlexAppCore app;
};

TEST_F(AppCoreHla, RecordIsCreatedByItsFirstAttributeNamedAndRemovedWithItsDocument)
{
    Reflect(7, A::FederateHost, {'h', 'o', 's', 't', 'A'});
    auto radio = app.GetRadio(RadioRef::Hla(7));
    ASSERT_TRUE(radio);
    EXPECT_TRUE(radio->IsHla());
    EXPECT_EQ(radio->GetObjectHandle(), 7u);
    EXPECT_EQ(radio->GetObjectName(), "radio-7");
    EXPECT_EQ(radio->GetFederateHost(), "hostA");
    EXPECT_EQ(radio->GetTransmitCount(), 0u);

    Reflect(7, A::TransmitterOperationalStatus, {2});
    EXPECT_EQ(app.GetRadioCount(), 1u);
    EXPECT_EQ(frame->TakeUpdates(), (std::vector<RadioRef>{RadioRef::Hla(7), RadioRef::Hla(7)}));

    auto document = app.OpenHlaDetail(7);
    ASSERT_TRUE(document);
    EXPECT_EQ(document->GetTitle(), "hostA - radio-7");
    EXPECT_TRUE(document->TakeSnapshot().radio->IsActive());

    EXPECT_TRUE(app.RemoveHlaObject(7));
    EXPECT_EQ(frame->closed, (std::vector<std::shared_ptr<CDetailDoc>>{document}));
    EXPECT_FALSE(document->TakeSnapshot().radio);   // the window no longer shows the radio
    EXPECT_EQ(frame->removedRadios, std::vector<std::string>{"radio-7"});
    EXPECT_FALSE(app.GetRadio(RadioRef::Hla(7)));
    EXPECT_FALSE(app.FindHlaDetail(7));
    EXPECT_FALSE(app.RemoveHlaObject(7));
}

TEST_F(AppCoreHla, FailedNameLookUpCreatesNothingAndReachesTheCaller)
{
    EXPECT_THROW(Reflect(9, A::RadioIndex, {0, 1}), HlaError);
    EXPECT_EQ(app.GetRadioCount(), 0u);
    EXPECT_TRUE(frame->TakeUpdates().empty());
}

TEST_F(AppCoreHla, OneReflectionUpdatesPerAttributeAndRetitlesOnce)
{
    Reflect(7, A::RadioIndex, {0, 1});
    auto document = app.OpenHlaDetail(7);
    auto view = std::make_shared<CountingView>();
    document->AddView(view);
    frame->TakeUpdates();

    Reflect(7, A::FederateHost, {'h', 'B'});
    Reflect(7, A::ModulationParameters, {1, 2, 3});
    Reflect(7, A::Frequency, {0, 0, 0, 0, 0x0B, 0xEB, 0xC2, 0x00});
    app.OnHlaObjectReflected(7);

    EXPECT_EQ(frame->TakeUpdates().size(), 3u);
    EXPECT_EQ(view->Hints(), (std::vector<DocumentHint>{DocumentHint::Transmitter, DocumentHint::Title}));
    auto snapshot = document->TakeSnapshot();
    EXPECT_EQ(snapshot.title, "hB - radio-7");
    EXPECT_EQ(snapshot.modulationParameters, (Bytes{1, 2, 3}));
    EXPECT_EQ(snapshot.radio->GetTransmitter().frequencyLow, 200000000u);

    app.OnHlaObjectReflected(8);   // no record: nothing
    EXPECT_EQ(view->Hints().size(), 2u);
}

TEST_F(AppCoreHla, SignalsFindTheirRadioByObjectName)
{
    Reflect(7, A::RadioIndex, {0, 1});
    SendSignal("radio-9", 480, {1, 2});   // nobody by that name
    SendSignal("radio-7", 480, {1, 2});
    EXPECT_EQ(app.GetRadio(RadioRef::Hla(7))->GetSignalCount(), 1u);

    auto document = app.OpenHlaDetail(7);
    frame->TakeUpdates();
    for (int i = 0; i < 4; ++i)
        SendSignal("radio-7", 480, {1, 2, 3});   // step 4: the 4th is shown
    EXPECT_EQ(frame->TakeUpdates(), std::vector<RadioRef>{RadioRef::Hla(7)});
    EXPECT_EQ(document->TakeSnapshot().signalData, (Bytes{1, 2, 3}));

    SendSignal("radio-7", 0, {4, 5}, 64);   // announces 8 bytes, carries 2; no samples
    auto snapshot = document->TakeSnapshot();
    EXPECT_EQ(snapshot.signalData, (Bytes{4, 5}));
    EXPECT_EQ(snapshot.signal->dataLength, 64);
}

TEST_F(AppCoreHla, DisPduNeverLandsInAnHlaRecordWithTheSameNumbers)
{
    Reflect(7, A::EntityIdentifier, {0, 1, 0x0B, 0xB9, 0, 17});
    Reflect(7, A::RadioIndex, {0, 2});
    testpdu::Buffer buffer(testpdu::Bytes(testpdu::Transmitter({1, 3001, 17, 2}), {}));
    app.OnTransmitterPdu(buffer.data.get(), buffer.size, "10.0.0.5");

    auto radios = app.GetRadios();
    ASSERT_EQ(radios.size(), 2u);
    EXPECT_TRUE(radios[0].IsHla());
    EXPECT_EQ(radios[0].GetTransmitCount(), 0u);
    EXPECT_FALSE(radios[1].IsHla());
    EXPECT_EQ(radios[1].GetTransmitCount(), 1u);
}

TEST_F(AppCoreHla, HandlersWaitForTheFrame)
{
    app.DetachMainFrame();
    Reflect(7, A::RadioIndex, {0, 1});
    SendSignal("radio-7", 480, {1});
    app.OnHlaObjectReflected(7);
    EXPECT_EQ(app.GetRadioCount(), 0u);
    EXPECT_FALSE(app.OpenHlaDetail(7));
}

TEST_F(AppCoreHla, AttributeUpdateRequests)
{
    app.OnRequestAttributeUpdate(5, 0x3);
    app.OnRequestAttributeUpdate(0, kAllRadioTransmitterAttributes);
    app.OnRequestAttributeUpdate(5, 0);   // no attribute: nothing asked
    ASSERT_EQ(hla->requests.size(), 2u);
    EXPECT_EQ(hla->requests[0], (FakeHlaManager::Request{false, 5, {100, 101}}));
    EXPECT_TRUE(hla->requests[1].wholeClass);
    EXPECT_EQ(hla->requests[1].handle, FakeHlaManager::kRadioClass);
    EXPECT_EQ(hla->requests[1].attributes.size(), 21u);

    hla->requestsThrow = true;   // refusals of either kind are swallowed
    EXPECT_NO_THROW(app.OnRequestAttributeUpdate(5, 0x3));
    EXPECT_NO_THROW(app.OnRequestAttributeUpdate(0, 0x3));
}

TEST_F(AppCoreHla, TickDrivesTheRtiWithinItsBudgetAndSwallowsItsErrors)
{
    app.OnTimerTick();
    EXPECT_EQ(hla->lastTickBudget, CQuorlexAppCore::kHlaTickBudgetSeconds);
    hla->inputWaits = true;
    EXPECT_TRUE(app.TickHla(0.005));   // what the RTI says is left waiting
    EXPECT_EQ(hla->lastTickBudget, 0.005);
    hla->tickThrows = true;
    EXPECT_NO_THROW(app.OnTimerTick());
    EXPECT_FALSE(app.TickHla());
    EXPECT_EQ(hla->ticks, 4);

    app.ShutdownHla();
    EXPECT_EQ(app.GetHlaManager(), nullptr);
    app.OnTimerTick();   // no manager: nothing to tick
    EXPECT_FALSE(app.TickHla());
    app.OnRequestAttributeUpdate(0, 0x1);
}

TEST(AppCoreHlaStart, FailedJoinDropsTheManager)
{
    CQuorlexAppCore app;
    auto manager = std::make_unique<FakeHlaManager>();
    manager->joinSucceeds = false;
    EXPECT_FALSE(app.StartHla(std::move(manager), "Fed"));
    EXPECT_EQ(app.GetHlaManager(), nullptr);

    EXPECT_TRUE(app.StartHla(std::make_unique<CNullHlaManager>(), "Fed"));
    EXPECT_NO_THROW(app.OnTimerTick());
    app.OnRequestAttributeUpdate(0, kAllRadioTransmitterAttributes);
}

// --- The sweep trigger ----------------------------------------------------------------------------------------

TEST(AppCoreTick, SweepsEveryTimeoutSecondsAtFourTicksASecond)
{
    auto frame = std::make_shared<FakeMainFrame>();
    CQuorlexAppCore app;
    app.AttachMainFrame(frame);
    std::vector<std::uint32_t> sweptAt;
    for (int i = 0; i < 100; ++i) {
        int before = frame->sweeps;
        app.OnTimerTick();
        if (frame->sweeps > before)
            sweptAt.push_back(app.GetTickCount());
    }
    EXPECT_EQ(sweptAt, (std::vector<std::uint32_t>{40, 80}));

    app.SetTimeout(0);
    for (int i = 0; i < 200; ++i)
        app.OnTimerTick();
    EXPECT_EQ(frame->sweeps, 2);

    app.SetTimeout(1);   // taken at the next tick: tick 304 is a multiple of 4
    for (int i = 0; i < 4; ++i)
        app.OnTimerTick();
    EXPECT_EQ(frame->sweeps, 3);

    app.SetTimeout(0x40000000);   // four times that wraps in 32 bits; no division by zero
    app.OnTimerTick();
    app.SetTimeout(-5);
    app.OnTimerTick();
    EXPECT_EQ(frame->sweeps, 3);
}

TEST(AppCoreTick, NoSweepWithoutAFrame)
{
    CQuorlexAppCore app;
    app.SetTimeout(1);
    for (int i = 0; i < 8; ++i)
        app.OnTimerTick();
    EXPECT_EQ(app.GetTickCount(), 8u);
}

}   // namespace
