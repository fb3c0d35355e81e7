// Detail windows in the running application: traffic from the wire (DIS) and
// from the federate's callbacks (HLA) reaches the views of the open windows,
// and the Raw Data command follows the active one.
#include "AppTestSupport.h"
#include "CChildFrame.h"
#include "CMainFrame.h"
#include "CQuorlexApp.h"
#include "CQuorlexHlaView.h"
#include "CQuorlexView.h"
#include "IMessageReporter.h"
#include "QuorlexCommands.h"
#include "engine/CProfile.h"
#include "engine/CUdpSender.h"
#include "engine/DisTraffic.h"
#include "engine/RprRadioAttribute.h"

#include "CDisplayPropsDlg.h"
#include "CPreferencesSheet.h"
#include "DialogTestSupport.h"
#include "engine/FakeHlaManager.h"

#include <QAction>
#include <QComboBox>
#include <QMdiArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace apptest;
using Bytes = std::vector<std::uint8_t>;

class SilentReporter : public IMessageReporter {
public:
    void ShowError(const QString&, const QString&) override {}
    void ShowWarning(const QString&, const QString&) override {}
};

class DetailWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_profile = std::make_unique<CProfile>(m_dir.filePath("profile.ini"));
        m_profile->Write(Profile::Properties::DISEnabled, 1);
        m_profile->Write(Profile::Properties::NetworkPort, m_port);
        m_profile->Write(Profile::Properties::HLAEnabled, 1);
        app = std::make_unique<CQuorlexApp>(*m_profile, m_reporter, [](const QString&) {
            auto manager = std::make_unique<FakeHlaManager>();
            manager->names = {{7, "radio-7"}};
            return manager;
        });
        ASSERT_TRUE(app->InitInstance());
        frame = app->mainFrame();
    }
    void TearDown() override
    {
        if (frame)
            frame->close();
        app->ExitInstance();
    }

    template <typename View>
    View* ActiveView() const
    {
        CChildFrame* child = frame->ActiveChild();
        return child ? dynamic_cast<View*>(child->view()) : nullptr;
    }
    static std::string Cell(const CDetailView& view, std::size_t line, std::size_t cell)
    {
        return line < view.Page().lines.size() ? view.Page().lines[line].cells[cell] : std::string();
    }

    QTemporaryDir m_dir;
    std::uint16_t m_port = FreePort();
    std::unique_ptr<CProfile> m_profile;
    SilentReporter m_reporter;
    std::unique_ptr<CQuorlexApp> app;
    CMainFrame* frame = nullptr;
};

TEST_F(DetailWindowTest, DisWindowShowsTheRadiosPdusAndTogglesRawData)
{
    CUdpSender sender("127.0.0.1", m_port);
    const DisRadioId radio{1, 2, 3, 4};
    ASSERT_TRUE(sender.Send(DisTraffic::TransmitterDatagram(radio, 4)));
    ASSERT_TRUE(ProcessEventsUntil([&] { return app->GetRadioCount() == 1; }));

    emit frame->openDisDetail("1/2/3/4");
    auto* view = ActiveView<CQuorlexView>();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Page().lines.size(), 21u);               // no signal yet
    EXPECT_EQ(Cell(*view, 7, PageCell::LeftValue), "1");     // Site ID
    EXPECT_EQ(Cell(*view, 10, PageCell::LeftValue), "4");    // Radio ID
    EXPECT_EQ(Cell(*view, 18, PageCell::RightValue), "4");   // Mod Parms Length
    EXPECT_EQ(Cell(*view, 20, PageCell::LeftValue), "0  1  2  3  ");

    // 4000 samples a PDU at 8 kHz: every Signal PDU is shown.
    ASSERT_TRUE(sender.Send(DisTraffic::SignalDatagram(radio, 4000, 40)));
    ASSERT_TRUE(ProcessEventsUntil([&] { return view->Page().lines.size() == 21u + 1 + 10; }));
    EXPECT_EQ(Cell(*view, 29, PageCell::RightValue), "320");   // Data Length

    QAction* rawData = frame->action(QuorlexCommand::ViewRawData);
    EXPECT_TRUE(rawData->isEnabled());
    EXPECT_FALSE(rawData->isChecked());
    rawData->trigger();
    EXPECT_TRUE(view->IsRawData());
    EXPECT_TRUE(rawData->isChecked());
    EXPECT_EQ(view->Page().style, PageStyle::Dump);
    EXPECT_EQ(view->Page().lines.size(), 7u + 1 + 5);   // 108 and 72 bytes
}

TEST_F(DetailWindowTest, HlaWindowFollowsReflectionsAndSignalsAndHasNoRawData)
{
    auto reflect = [this](RprRadioAttribute attribute, const Bytes& value) {
        app->OnHlaTransmitterAttribute(7, AttributeBit(attribute), value.data(), value.size());
    };
    reflect(RprRadioAttribute::FrequencyHopInUse, {1});
    reflect(RprRadioAttribute::TimeHopInUse, {1});
    app->OnHlaObjectReflected(7);

    emit frame->openHlaDetail(7);
    auto* view = ActiveView<CQuorlexHlaView>();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Cell(*view, 0, PageCell::RightValue), "radio-7");
    EXPECT_EQ(Cell(*view, 13, PageCell::LeftValue), "1");   // Freq Hopping
    EXPECT_EQ(Cell(*view, 14, PageCell::LeftValue), "0");   // Pseudo Noise
    EXPECT_EQ(Cell(*view, 15, PageCell::LeftValue), "1");   // Time Hopping
    EXPECT_FALSE(frame->action(QuorlexCommand::ViewRawData)->isEnabled());

    reflect(RprRadioAttribute::TransmittedPower, {0x41, 0xCC, 0, 0});   // 25.5
    app->OnHlaObjectReflected(7);
    ASSERT_TRUE(ProcessEventsUntil([&] { return Cell(*view, 10, PageCell::RightValue) == "25.50"; }));

    SignalPdu header = DisTraffic::SignalRecord({}, 4000, 20);
    const Bytes data(20, 0xAB);
    app->OnHlaSignal(header, data, "radio-7");
    ASSERT_TRUE(ProcessEventsUntil([&] { return view->Page().lines.size() == 18u + 1 + 4; }));
    EXPECT_EQ(Cell(*view, 22, PageCell::LeftValue), "AB AB AB AB ");
}

// Close All, and a change of grouping, close each detail window once, quietly.
TEST_F(DetailWindowTest, ClosingEveryWindowClosesEachOnce)
{
    CUdpSender sender("127.0.0.1", m_port);
    for (std::uint16_t radio = 1; radio <= 2; ++radio)
        ASSERT_TRUE(sender.Send(DisTraffic::TransmitterDatagram({1, 2, 3, radio})));
    ASSERT_TRUE(ProcessEventsUntil([&] { return app->GetRadioCount() == 2; }));
    app->OnHlaTransmitterAttribute(7, AttributeBit(RprRadioAttribute::TransmittedPower), Bytes(4).data(), 4);

    QMap<const CDetailDoc*, int> closes;
    QObject::connect(frame, &CMainFrame::detailWindowClosed, frame,
                     [&closes](const std::shared_ptr<CDetailDoc>& document) { ++closes[document.get()]; });
    auto openAll = [&] {
        emit frame->openDisDetail("1/2/3/1");
        emit frame->openDisDetail("1/2/3/2");
        emit frame->openHlaDetail(7);
        ASSERT_EQ(frame->mdiArea()->subWindowList().size(), 3);
        closes.clear();
    };
    auto allClosedOnce = [&] {
        ASSERT_TRUE(ProcessEventsUntil([&] { return frame->mdiArea()->subWindowList().isEmpty(); }));
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();   // a second close would come now
        EXPECT_EQ(closes.size(), 3);
        for (int count : closes)
            EXPECT_EQ(count, 1);
    };

    QtMessages messages;
    openAll();
    frame->action(QuorlexCommand::WindowCloseAll)->trigger();
    allClosedOnce();

    openAll();
    dialogtest::OnNextModal<CPreferencesSheet>([](CPreferencesSheet& sheet) {
        sheet.tabs().setCurrentWidget(&sheet.displayPage());
        dialogtest::Child<QComboBox>(sheet.displayPage(), "TreeType").setCurrentIndex(1);
        dialogtest::Press(sheet, QDialogButtonBox::Ok);
    });
    frame->action(QuorlexCommand::EditPreferences)->trigger();
    allClosedOnce();
    EXPECT_EQ(messages.Taken(), QStringList());
}

// A new detail window shows its whole page when the area has room for it
// (here a wide one: forty modulation parameters), and never reaches beyond
// the area.
TEST_F(DetailWindowTest, ANewWindowOpensAtTheSizeOfItsPageWithinTheArea)
{
    CUdpSender sender("127.0.0.1", m_port);
    for (std::uint16_t radio = 1; radio <= 2; ++radio)
        ASSERT_TRUE(sender.Send(DisTraffic::TransmitterDatagram({1, 2, 3, radio}, 40)));
    ASSERT_TRUE(ProcessEventsUntil([&] { return app->GetRadioCount() == 2; }));

    frame->resize(1600, 1200);
    emit frame->openDisDetail("1/2/3/1");
    auto* view = ActiveView<CQuorlexView>();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->horizontalScrollBar()->maximum(), 0) << "every column shows";
    EXPECT_EQ(view->verticalScrollBar()->maximum(), 0) << "every line shows";
    EXPECT_TRUE(frame->mdiArea()->viewport()->rect().contains(frame->ActiveChild()->geometry()));

    frame->resize(480, 360);
    emit frame->openDisDetail("1/2/3/2");
    EXPECT_TRUE(frame->mdiArea()->viewport()->rect().contains(frame->ActiveChild()->geometry()));
    EXPECT_GT(ActiveView<CQuorlexView>()->horizontalScrollBar()->maximum(), 0) << "the rest is a scroll away";
}

// A window opened before its radio's first signal has room for the signal
// part all the same: when the signal comes, every line shows.
TEST_F(DetailWindowTest, ANewWindowHasRoomForTheSignalPartThatComesLater)
{
    frame->resize(1600, 1200);
    CUdpSender sender("127.0.0.1", m_port);
    const DisRadioId radio{1, 2, 3, 4};
    ASSERT_TRUE(sender.Send(DisTraffic::TransmitterDatagram(radio)));
    ASSERT_TRUE(ProcessEventsUntil([&] { return app->GetRadioCount() == 1; }));
    emit frame->openDisDetail("1/2/3/4");
    auto* dis = ActiveView<CQuorlexView>();
    ASSERT_NE(dis, nullptr);
    EXPECT_EQ(dis->Page().lines.size(), 21u);   // no signal yet
    ASSERT_TRUE(sender.Send(DisTraffic::SignalDatagram(radio, 4000, 40)));
    ASSERT_TRUE(ProcessEventsUntil([&] { return dis->Page().lines.size() == 21u + 1 + 10; }));
    EXPECT_EQ(dis->verticalScrollBar()->maximum(), 0) << "every line of the DIS window shows";
    EXPECT_EQ(dis->horizontalScrollBar()->maximum(), 0);

    app->OnHlaTransmitterAttribute(7, AttributeBit(RprRadioAttribute::TransmittedPower), Bytes(4).data(), 4);
    emit frame->openHlaDetail(7);
    auto* hla = ActiveView<CQuorlexHlaView>();
    ASSERT_NE(hla, nullptr);
    EXPECT_EQ(hla->Page().lines.size(), 18u);
    app->OnHlaSignal(DisTraffic::SignalRecord({}, 4000, 32), Bytes(32, 0xAB), "radio-7");
    ASSERT_TRUE(ProcessEventsUntil([&] { return hla->Page().lines.size() == 18u + 1 + 4; }));
    EXPECT_EQ(hla->verticalScrollBar()->maximum(), 0) << "every line of the HLA window shows";
    EXPECT_EQ(hla->horizontalScrollBar()->maximum(), 0);
}

}   // namespace
