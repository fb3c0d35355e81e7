#include "CTransmitterBar.h"
#include "AppTestSupport.h"
#include "CMainFrame.h"
#include "CTransmitterTreeDis.h"
#include "CTransmitterTreeIP.h"
#include "QuorlexCommands.h"
#include "TreeTestRadios.h"
#include "engine/CProfile.h"

#include <QAction>
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace {

using namespace treetest;

using apptest::ProcessEventsUntil;

class TransmitterBarTest : public testing::Test {
protected:
    void SetUp() override { host.quickView = QuickViewFlags{true, true}; }

    // A DIS radio the host knows, as the core would hold it.
    RadioRef Known(const DisRadioId& id, const std::string& sender, std::uint8_t state = kOff,
                   std::uint32_t transmits = 1)
    {
        host.disRadios[id.Packed()] = DisRadio(id, sender, state, transmits);
        return RadioRef::Dis(id);
    }
    RadioRef KnownHla(std::uint32_t handle, const std::string& name, const std::string& federateHost)
    {
        host.hlaRadios[handle] = HlaRadio(handle, name, federateHost);
        return RadioRef::Hla(handle);
    }

    Host host;
    CTransmitterBar bar;
};

TEST_F(TransmitterBarTest, UpdatesOfOneRadioAreReadOnceAtTheirLatestState)
{
    bar.Attach(host.Make());
    const DisRadioId id{1, 2, 3, 4};
    for (std::uint32_t i = 1; i <= 100; ++i)
        bar.UpdateReceiver(Known(id, "198.51.100.1", kOff, i));
    bar.UpdateReceiver(Known({1, 2, 3, 5}, "198.51.100.1"));
    EXPECT_EQ(bar.pendingUpdates(), 2);
    EXPECT_EQ(host.reads, 0);

    bar.FlushUpdates();
    EXPECT_EQ(host.reads, 2);
    EXPECT_EQ(bar.pendingUpdates(), 0);
    const CTransmitterTreeItem* radio = bar.tree()->disRoot()->childItem(0)->childItem(0);
    ASSERT_EQ(radio->itemText(), "1/2/3/4");
    EXPECT_EQ(radio->childItem(1)->itemText(), "xmits: 100");
}

// An update is shown the refresh interval after it came, never earlier.
TEST_F(TransmitterBarTest, RefreshesByItselfAfterTheInterval)
{
    bar.Attach(host.Make());
    const auto interval = std::chrono::milliseconds(CTransmitterBar::kRefreshIntervalMs);
    for (int refresh = 1; refresh <= 2; ++refresh) {
        const auto updated = std::chrono::steady_clock::now();
        bar.UpdateReceiver(Known({1, 2, 3, static_cast<std::uint16_t>(refresh)}, "198.51.100.1"));
        ASSERT_TRUE(ProcessEventsUntil([&] { return bar.refreshCount() == static_cast<std::uint64_t>(refresh); }));
        EXPECT_GE(std::chrono::steady_clock::now() - updated, interval);
        EXPECT_EQ(bar.tree()->disRoot()->childItem(0)->childCount(), refresh);
    }
}

TEST_F(TransmitterBarTest, SweepCountsGatheredUpdatesAsHeard)
{
    bar.Attach(host.Make());
    bar.UpdateReceiver(Known({1, 2, 3, 4}, "198.51.100.1"));
    bar.UpdateReceiver(Known({1, 2, 3, 5}, "198.51.100.1"));
    bar.FlushUpdates();
    bar.Sweep();
    bar.UpdateReceiver(Known({1, 2, 3, 4}, "198.51.100.1"));   // not yet shown when the sweep comes
    bar.Sweep();
    EXPECT_EQ(host.swept, std::vector<std::string>{"1/2/3/5"});
    ASSERT_EQ(bar.tree()->disRoot()->childItem(0)->childCount(), 1);
    EXPECT_EQ(bar.tree()->disRoot()->childItem(0)->childItem(0)->itemText(), "1/2/3/4");
}

TEST_F(TransmitterBarTest, RadiosGoneBeforeTheRefreshAreSkipped)
{
    bar.Attach(host.Make());
    bar.UpdateReceiver(KnownHla(9, "Radio 1", "hostA"));
    host.hlaRadios.clear();
    bar.FlushUpdates();
    EXPECT_EQ(bar.tree()->hlaRoot()->childCount(), 0);
}

TEST_F(TransmitterBarTest, SelectionQueriesDescribeTheSelectedItem)
{
    bar.Attach(host.Make());
    bar.UpdateReceiver(Known({1, 2, 3, 4}, "198.51.100.1"));
    bar.UpdateReceiver(Known({1, 2, 3, 9}, "198.51.100.1"));
    bar.UpdateReceiver(KnownHla(9, "Radio 1", "hostA"));
    bar.UpdateReceiver(KnownHla(12, "Radio 2", "hostA"));
    bar.FlushUpdates();
    CTransmitterTree* tree = bar.tree();
    QString text;
    std::int64_t data = -1;

    EXPECT_FALSE(bar.IsSelectionAtLevel(0));   // nothing selected
    EXPECT_FALSE(bar.GetSelectedRadio(text, data));
    EXPECT_TRUE(text.isEmpty());

    CTransmitterTreeItem* sender = tree->disRoot()->childItem(0);
    tree->setCurrentItem(sender->child(0));
    EXPECT_TRUE(bar.IsSelectionAtLevel(3));
    EXPECT_FALSE(bar.GetSelectedRadio(text, data));
    EXPECT_EQ(text, "1/2/3/4");

    tree->setCurrentItem(sender);
    QStringList texts;
    QList<std::int64_t> items;
    EXPECT_FALSE(bar.CollectRadios(texts, items));
    EXPECT_EQ(texts, QStringList({"1/2/3/4", "1/2/3/9"}));
    EXPECT_EQ(items.size(), 2);

    tree->setCurrentItem(tree->HlaRadioItem(12));
    EXPECT_TRUE(bar.IsSelectionUnderHla());
    EXPECT_TRUE(bar.GetSelectedRadio(text, data));
    EXPECT_EQ(text, "Radio 2");
    EXPECT_EQ(data, 12);
    tree->setCurrentItem(tree->hlaRoot()->child(0));
    texts.clear();
    items.clear();
    EXPECT_TRUE(bar.CollectRadios(texts, items));
    EXPECT_EQ(items, QList<std::int64_t>({9, 12}));
}

TEST_F(TransmitterBarTest, RecreateTreeMakesTheCurrentTypeWithRootsOnly)
{
    bar.Attach(host.Make());
    EXPECT_NE(qobject_cast<CTransmitterTreeIP*>(bar.tree()), nullptr);
    bar.UpdateReceiver(Known({1, 2, 3, 4}, "198.51.100.1"));
    bar.FlushUpdates();
    int changes = 0;
    QObject::connect(&bar, &CTransmitterBar::selectionChanged, [&] { ++changes; });

    host.treeType = 1;
    bar.RecreateTree();
    EXPECT_NE(qobject_cast<CTransmitterTreeDis*>(bar.tree()), nullptr);
    EXPECT_EQ(bar.widget(), bar.tree());
    EXPECT_EQ(bar.tree()->disRoot()->childCount(), 0);
    EXPECT_GE(changes, 1);

    bar.UpdateReceiver(Known({1, 2, 3, 4}, "198.51.100.1"));
    bar.FlushUpdates();
    bar.ResetTree();
    EXPECT_EQ(bar.tree()->disRoot()->childCount(), 0);
}

TEST(ResizableBar, SizesRestoreClampedAndPersistUnderTheBarsSection)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("profile.ini");
    {
        QSettings settings(file, QSettings::IniFormat);
        settings.setValue("BarState-SCBar-101/sizeVertCX", 10);
        settings.setValue("BarState-SCBar-101/sizeVertCY", 500);
        settings.setValue("BarState-SCBar-101/sizeFloatCX", 36);
        settings.setValue("BarState-SCBar-101/sizeHorzCY", -4);
    }
    CProfile profile(file);
    CTransmitterBar bar;
    bar.RestoreSizes(profile);
    // Below the minimum: the minimum; absent: the 200 of a new bar.
    EXPECT_EQ(bar.sizes(), (BarSizes{200, 32, 33, 500, 37, 200}));

    bar.SetSizes(BarSizes{640, 90, 250, 480, 300, 400});
    bar.StoreSizes(profile);
    profile.Sync();
    QSettings stored(file, QSettings::IniFormat);
    stored.beginGroup("BarState-SCBar-101");
    EXPECT_EQ(stored.childKeys().size(), 6);
    EXPECT_EQ(stored.value("sizeHorzCX").toInt(), 640);
    EXPECT_EQ(stored.value("sizeHorzCY").toInt(), 90);
    EXPECT_EQ(stored.value("sizeVertCX").toInt(), 250);
    EXPECT_EQ(stored.value("sizeVertCY").toInt(), 480);
    EXPECT_EQ(stored.value("sizeFloatCX").toInt(), 300);
    EXPECT_EQ(stored.value("sizeFloatCY").toInt(), 400);
}

// --- In the main window ---------------------------------------------------------------------------------------

class TransmitterBarInFrameTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        profile = std::make_unique<CProfile>(m_dir.filePath("profile.ini"));
    }

    QTemporaryDir m_dir;
    std::unique_ptr<CProfile> profile;
    Host host;
};

TEST_F(TransmitterBarInFrameTest, DocksLeftAndCanGoAnywhere)
{
    CMainFrame frame(*profile);
    auto* bar = qobject_cast<CTransmitterBar*>(frame.transmitterDock());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(frame.transmitterBar(), bar);
    EXPECT_EQ(bar->windowTitle(), "Transmitters");
    EXPECT_EQ(frame.dockWidgetArea(bar), Qt::LeftDockWidgetArea);
    EXPECT_EQ(bar->allowedAreas(), Qt::AllDockWidgetAreas);
    EXPECT_TRUE(bar->features().testFlags(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                                          QDockWidget::DockWidgetFloatable));
}

TEST_F(TransmitterBarInFrameTest, ContextCommandsAndSelectionReachTheFramesCommands)
{
    using namespace QuorlexCommand;
    CMainFrame frame(*profile);
    auto* bar = qobject_cast<CTransmitterBar*>(frame.transmitterDock());
    host.disRadios[DisRadioId{1, 2, 3, 4}.Packed()] = DisRadio({1, 2, 3, 4}, "198.51.100.1");
    bar->Attach(host.Make());
    bar->UpdateReceiver(RadioRef::Dis({1, 2, 3, 4}));
    bar->FlushUpdates();

    // Selecting the radio enables Details at once.
    EXPECT_FALSE(frame.action(ViewDetails)->isEnabled());
    bar->tree()->setCurrentItem(bar->tree()->disRoot()->child(0)->child(0));
    EXPECT_TRUE(frame.action(ViewDetails)->isEnabled());

    QString opened;
    QObject::connect(&frame, &CMainFrame::openDisDetail, [&](const QString& key) { opened = key; });
    int preferences = 0;
    QObject::connect(frame.action(EditPreferences), &QAction::triggered, [&] { ++preferences; });
    emit bar->tree()->commandRequested(ViewDetails);
    emit bar->tree()->commandRequested(EditPreferences);
    EXPECT_EQ(opened, "1/2/3/4");
    EXPECT_EQ(preferences, 1);
}

TEST_F(TransmitterBarInFrameTest, DockedWidthComesBackFromTheProfile)
{
    {
        CMainFrame frame(*profile);
        frame.resize(1000, 700);
        frame.show();
        auto* bar = qobject_cast<CTransmitterBar*>(frame.transmitterDock());
        ASSERT_TRUE(ProcessEventsUntil([&] { return bar->width() == CResizableBar::kDefaultSize; })) << bar->width();
        frame.resizeDocks({bar}, {310}, Qt::Horizontal);
        ASSERT_TRUE(ProcessEventsUntil([&] { return bar->sizes().vertCx == 310; })) << bar->sizes().vertCx;
        frame.StoreState();
    }
    // Without the dock layout the bar's own sizes still place it.
    profile->Write(Profile::BarState::Layout, QByteArray());
    CMainFrame frame(*profile);
    frame.resize(1000, 700);
    frame.show();
    auto* bar = qobject_cast<CTransmitterBar*>(frame.transmitterDock());
    EXPECT_EQ(bar->sizes().vertCx, 310);
    EXPECT_TRUE(ProcessEventsUntil([&] { return bar->width() == 310; })) << bar->width();
}

}   // namespace
