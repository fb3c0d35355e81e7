// The DIS workers and the UI thread at once: the transmitter and signal
// workers route PDUs while the UI thread opens and closes detail windows,
// reads records and snapshots, ticks, and starts and stops logging. Meant for
// ThreadSanitizer; under the other builds it checks the counts.
#include "engine/CQuorlexAppCore.h"

#include "FakeMainFrame.h"
#include "TestPdus.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kRadios = 16;
constexpr int kPdusPerWorker = 20000;

DisRadioId Radio(int i) { return {1, 2, 3, static_cast<std::uint16_t>(i % kRadios)}; }

// A view that reads its document on every change, as a paint would.
class SnapshotView : public IDocumentView {
public:
    explicit SnapshotView(std::weak_ptr<CQuorlexDoc> document) : m_document(std::move(document)) {}
    void OnDocumentChanged(DocumentHint) override
    {
        if (auto document = m_document.lock()) {
            auto snapshot = document->TakeSnapshot();
            // The record and its parameters are always stored together.
            EXPECT_EQ(snapshot.modulationParameters.size(), snapshot.transmitter.modulationParameterLength);
            if (snapshot.signal) {
                EXPECT_EQ(snapshot.signalData.size(), SignalDataBytes(*snapshot.signal));
            }
        }
    }

private:
    std::weak_ptr<CQuorlexDoc> m_document;
};

TEST(AppCoreStress, TwoWorkersAndTheUiThread)
{
    auto frame = std::make_shared<FakeMainFrame>();
    CQuorlexAppCore app;
    app.AttachMainFrame(frame);
    std::string logDir = (std::filesystem::temp_directory_path() / "qlx-stress-XXXXXX").string();
    ASSERT_NE(::mkdtemp(logDir.data()), nullptr);

    std::atomic<int> workersDone{0};
    std::thread transmitterWorker([&] {
        for (int i = 0; i < kPdusPerWorker; ++i) {
            testpdu::Buffer pdu(testpdu::Bytes(testpdu::Transmitter(Radio(i)), testpdu::Counting(i % 7)));
            app.OnTransmitterPdu(pdu.data.get(), pdu.size, i % 2 ? "10.0.0.5" : "10.0.0.6");
        }
        ++workersDone;
    });
    std::thread signalWorker([&] {
        for (int i = 0; i < kPdusPerWorker; ++i) {
            testpdu::Buffer pdu(testpdu::Bytes(testpdu::Signal(Radio(i), 8000, 480), testpdu::Counting(i % 40)));
            app.OnSignalPdu(pdu.data.get(), pdu.size, "10.0.0.5");
        }
        ++workersDone;
    });

    // The UI thread.
    std::vector<std::shared_ptr<SnapshotView>> views;
    for (int round = 0; workersDone < 2; ++round) {
        std::string key = Radio(round).KeyText();
        if (auto document = app.OpenDisDetail(key)) {
            auto view = std::make_shared<SnapshotView>(document);
            document->AddView(view);
            views.push_back(view);
            document->TakeSnapshot();
        }
        for (const RadioRef& radio : frame->TakeUpdates())
            app.GetRadio(radio);
        if (round % 3 == 0)
            app.CloseDisDetail(Radio(round + kRadios / 2).KeyText());
        if (round % 50 == 0) {
            app.GetRadios();
            app.CloseAllDetails();
            views.clear();
        }
        if (round % 20 == 0) {
            std::string error;
            PduLogSettings settings;
            settings.fileName = logDir + "/stress.log";
            settings.binary = round % 40 == 0;
            ASSERT_TRUE(app.GetLogger().Start(settings, error)) << error;
        } else if (round % 20 == 10) {
            app.GetLogger().Stop();
        }
        app.OnTimerTick();
    }
    transmitterWorker.join();
    signalWorker.join();
    app.GetLogger().Stop();
    std::filesystem::remove_all(logDir);

    std::uint32_t transmits = 0;
    for (const CRadioReceive& radio : app.GetRadios())
        transmits += radio.GetTransmitCount();
    EXPECT_EQ(app.GetRadioCount(), std::size_t{kRadios});
    EXPECT_EQ(transmits, std::uint32_t{kPdusPerWorker});
}

}   // namespace
