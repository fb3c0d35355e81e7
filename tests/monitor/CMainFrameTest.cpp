#include "CMainFrame.h"
#include "CChildFrame.h"
#include "CMdiLayout.h"
#include "CTransmitterBar.h"
#include "CTransmitterTree.h"
#include "FakeTransmitterBar.h"
#include "IPrintableView.h"
#include "IRawDataView.h"
#include "QtTestPrinting.h"
#include "QuorlexCommands.h"
#include "engine/CProfile.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace QuorlexCommand;

// A detail view that counts what it is asked to print.
class PrintableView : public QWidget, public IPrintableView {
public:
    int prints = 0, directPrints = 0, previews = 0;
    void OnFilePrint() override { ++prints; }
    void OnFilePrintDirect() override { ++directPrints; }
    void OnFilePrintPreview() override { ++previews; }
};

// A DIS detail view that offers Raw Data.
class RawView : public QWidget, public IRawDataView {
public:
    bool raw = false;
    bool IsRawData() const override { return raw; }
    void ToggleRawData() override { raw = !raw; }
};

class MainFrameTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_profile = std::make_unique<CProfile>(m_dir.filePath("profile.ini"));
    }
    std::unique_ptr<CMainFrame> MakeFrame() { return std::make_unique<CMainFrame>(*m_profile); }
    CProfile& profile() { return *m_profile; }

    void StorePlacement(int x, int y, int cx, int cy, int max)
    {
        profile().Write(Profile::Frame::x, x);
        profile().Write(Profile::Frame::y, y);
        profile().Write(Profile::Frame::cx, cx);
        profile().Write(Profile::Frame::cy, cy);
        profile().Write(Profile::Frame::Max, max);
    }
    QRect StoredRect()
    {
        return QRect(profile().Read(Profile::Frame::x), profile().Read(Profile::Frame::y),
                     profile().Read(Profile::Frame::cx), profile().Read(Profile::Frame::cy));
    }

    QTemporaryDir m_dir;
    std::unique_ptr<CProfile> m_profile;
};

// Frame placement: what a start restores and what the close stores.
TEST_F(MainFrameTest, FramePlacementTable)
{
    struct Case {
        const char* name;
        QRect stored;
        int storedMax;
        bool maximiseBeforeClose;
        QRect expectedStored;   // Frame x, y, cx, cy after the close
        int expectedMax;
    };
    const QRect placed(100, 80, 640, 480);
    const Case cases[] = {
        {"normal window stores its placement", placed, 0, false, placed, 0},
        {"maximised keeps the normal placement", placed, 0, true, placed, 1},
        {"started maximised and closed so", placed, 1, true, placed, 1},
        {"maximised with nothing stored before", QRect(0, 0, 0, 0), 0, true, QRect(0, 0, 0, 0), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StorePlacement(c.stored.x(), c.stored.y(), c.stored.width(), c.stored.height(), c.storedMax);
        auto frame = MakeFrame();
        EXPECT_EQ(frame->storedMaximised(), c.storedMax != 0);
        if (!c.stored.isNull()) {
            EXPECT_EQ(frame->geometry(), c.stored);
        }
        frame->ShowAsStored();
        EXPECT_EQ(frame->isMaximized(), c.storedMax != 0);
        if (c.maximiseBeforeClose)
            frame->showMaximized();
        frame->close();
        EXPECT_EQ(StoredRect(), c.expectedStored);
        EXPECT_EQ(profile().Read(Profile::Frame::Max), c.expectedMax);
    }
}

TEST_F(MainFrameTest, NormalPlacementFollowsTheWindow)
{
    StorePlacement(100, 80, 640, 480, 0);
    auto frame = MakeFrame();
    frame->show();
    frame->setGeometry(130, 90, 700, 500);
    frame->close();
    EXPECT_EQ(StoredRect(), QRect(130, 90, 700, 500));
    EXPECT_EQ(profile().Read(Profile::Frame::Max), 0);

    // The next start opens where this one ended.
    auto next = MakeFrame();
    EXPECT_EQ(next->geometry(), QRect(130, 90, 700, 500));
}

TEST_F(MainFrameTest, UnusablePlacementGivesTheDefault)
{
    auto reference = MakeFrame();   // nothing stored: the default placement
    const QRect byDefault = reference->geometry();
    EXPECT_GT(byDefault.width(), 0);
    EXPECT_GT(byDefault.height(), 0);

    StorePlacement(60000, 60000, 640, 480, 0);   // on no screen
    EXPECT_EQ(MakeFrame()->geometry(), byDefault);

    StorePlacement(10, 20, 1, 1, 0);   // too small to use: grown, kept in place
    const QRect grown = MakeFrame()->geometry();
    EXPECT_EQ(grown.topLeft(), QPoint(10, 20));
    EXPECT_GE(grown.width(), 320);
    EXPECT_GE(grown.height(), 200);
}

TEST_F(MainFrameTest, BarLayoutSurvivesARestartAndDamageIsIgnored)
{
    {
        auto frame = MakeFrame();
        frame->show();
        frame->action(ViewTransmitterBar)->trigger();
        EXPECT_TRUE(frame->transmitterDock()->isHidden());
        EXPECT_FALSE(frame->action(ViewTransmitterBar)->isChecked());
        frame->action(ViewStatusBar)->trigger();
        EXPECT_TRUE(frame->statusBar()->isHidden());
        frame->close();
    }
    {
        auto frame = MakeFrame();
        frame->show();
        EXPECT_TRUE(frame->transmitterDock()->isHidden());
        EXPECT_TRUE(frame->statusBar()->isHidden());
        EXPECT_FALSE(frame->action(ViewStatusBar)->isChecked());
        frame->OnViewTransmitterBar();
        EXPECT_FALSE(frame->transmitterDock()->isHidden());
        EXPECT_TRUE(frame->action(ViewTransmitterBar)->isChecked());
    }
    profile().Write(Profile::BarState::Layout, QByteArray("not a layout"));
    auto frame = MakeFrame();
    frame->show();
    EXPECT_FALSE(frame->transmitterDock()->isHidden());
    EXPECT_FALSE(frame->statusBar()->isHidden());
}

TEST_F(MainFrameTest, SelectionCommandsFollowTheTreeSelection)
{
    auto frame = MakeFrame();
    // Without a tree nothing is selected.
    for (int id : {ViewDetails, ViewAllDetails, ViewRefresh})
        EXPECT_FALSE(frame->action(id)->isEnabled()) << id;

    FakeTransmitterBar bar;
    frame->SetTransmitterBar(new QWidget, &bar);
    struct Case {
        int level;
        bool underHla;
        bool details, allDetails, refresh;
    };
    const Case cases[] = {
        {-1, false, false, false, false}, {0, false, false, false, false}, {0, true, false, false, false},
        {1, false, false, false, false},  {1, true, false, false, true},   {2, false, false, true, false},
        {2, true, false, true, false},    {3, false, true, true, false},   {3, true, true, true, false},
        {4, false, false, true, false},   {5, false, true, false, false},  {6, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "level " << c.level << (c.underHla ? " HLA" : " DIS"));
        bar.level = c.level;
        bar.underHla = c.underHla;
        frame->UpdateCommandUi();
        EXPECT_EQ(frame->action(ViewDetails)->isEnabled(), c.details);
        EXPECT_EQ(frame->action(ViewAllDetails)->isEnabled(), c.allDetails);
        EXPECT_EQ(frame->action(ViewRefresh)->isEnabled(), c.refresh);
    }
    // These never depend on the selection.
    for (int id : {EditPreferences, LogStartLogging, HelpContents, AppAbout, AppExit, ViewTransmitterBar})
        EXPECT_TRUE(frame->action(id)->isEnabled()) << id;
}

TEST_F(MainFrameTest, DetailCommandsOpenTheSelectedRadios)
{
    auto frame = MakeFrame();
    FakeTransmitterBar bar;
    frame->SetTransmitterBar(new QWidget, &bar);
    QStringList dis;
    QList<std::int64_t> hla;
    QList<std::pair<std::uint32_t, std::uint32_t>> update;
    QObject::connect(frame.get(), &CMainFrame::openDisDetail, [&](const QString& key) { dis << key; });
    QObject::connect(frame.get(), &CMainFrame::openHlaDetail, [&](std::int64_t handle) { hla << handle; });
    QObject::connect(frame.get(), &CMainFrame::requestAttributeUpdate, [&](std::uint32_t object, std::uint32_t mask) {
        update.append({object, mask});
    });

    bar.texts = {"1/2/3/4", "1/2/3/5"};
    bar.itemData = {0, 0};
    frame->OnViewDetails();
    frame->OnViewAllDetails();
    ASSERT_EQ(dis.size(), 3);
    EXPECT_EQ(dis, QStringList({"1/2/3/4", "1/2/3/4", "1/2/3/5"}));

    bar.underHla = true;
    bar.itemData = {41, 42};
    frame->OnViewDetails();
    frame->OnViewAllDetails();
    ASSERT_EQ(hla.size(), 3);
    EXPECT_EQ(hla, QList<std::int64_t>({41, 41, 42}));

    frame->OnViewRefresh();
    EXPECT_EQ(bar.resets, 1);
    ASSERT_EQ(update.size(), 1);
    EXPECT_EQ(update[0].first, 0u);
    EXPECT_EQ(update[0].second, 0x1FFFFFu);
}

TEST_F(MainFrameTest, DetailWindowCommandsExistWhileADetailWindowIsOpen)
{
    // Its tip says what the dump is of: the record as stored, not the bytes as received.
    EXPECT_EQ(MakeFrame()->action(QuorlexCommand::ViewRawData)->statusTip(),
              "Show the stored record, in this computer's byte order, as a hexadecimal dump");
    auto frame = MakeFrame();
    frame->show();
    QMenu* view = frame->menu("ViewMenu");
    QMenu* window = frame->menu("WindowMenu");
    ASSERT_TRUE(view && window);
    EXPECT_FALSE(window->menuAction()->isVisible());
    EXPECT_FALSE(view->actions().contains(frame->action(ViewRawData)));
    EXPECT_FALSE(frame->action(ViewRawData)->isEnabled());
    EXPECT_EQ(frame->windowTitle(), "Quorlex");

    auto* rawView = new RawView;
    auto* dis = new CChildFrame(RadioKind::Dis, rawView);
    dis->setWindowTitle("10.0.0.5 - 1/3001/17/2");
    frame->AddChild(dis);
    EXPECT_TRUE(window->menuAction()->isVisible());
    EXPECT_TRUE(view->actions().contains(frame->action(ViewRawData)));
    EXPECT_TRUE(frame->action(ViewRawData)->isEnabled());
    EXPECT_FALSE(frame->action(ViewRawData)->isChecked());
    EXPECT_EQ(frame->windowTitle(), "Quorlex - 10.0.0.5 - 1/3001/17/2");

    frame->action(ViewRawData)->trigger();
    EXPECT_TRUE(rawView->raw);
    EXPECT_TRUE(frame->action(ViewRawData)->isChecked());

    // The HLA detail view has no Raw Data.
    auto* hla = new CChildFrame(RadioKind::Hla);
    frame->AddChild(hla);
    EXPECT_EQ(frame->ActiveChild(), hla);
    EXPECT_FALSE(frame->action(ViewRawData)->isEnabled());

    frame->mdiArea()->setActiveSubWindow(dis);
    EXPECT_TRUE(frame->action(ViewRawData)->isEnabled());
}

// The main window's title names the active detail window once, also while
// that window is maximised (the platform then shows it in brackets).
TEST_F(MainFrameTest, TitleNamesTheActiveDetailWindowOnce)
{
    auto frame = MakeFrame();
    frame->show();
    auto* first = new CChildFrame(RadioKind::Dis);
    first->setWindowTitle("127.0.0.1 - 1/1/1/1");
    frame->AddChild(first);
    auto* second = new CChildFrame(RadioKind::Dis);
    second->setWindowTitle("127.0.0.1 - 2/2/2/2");
    frame->AddChild(second);
    EXPECT_EQ(frame->windowTitle(), "Quorlex - 127.0.0.1 - 2/2/2/2");

    second->showMaximized();
    EXPECT_EQ(frame->windowTitle(), "Quorlex - [127.0.0.1 - 2/2/2/2]");
    frame->mdiArea()->setActiveSubWindow(first);   // comes up maximised too
    EXPECT_EQ(frame->windowTitle(), "Quorlex - [127.0.0.1 - 1/1/1/1]");
    first->setWindowTitle("127.0.0.2 - 1/1/1/1");
    EXPECT_EQ(frame->windowTitle(), "Quorlex - [127.0.0.2 - 1/1/1/1]");
    first->showNormal();
    EXPECT_EQ(frame->windowTitle(), "Quorlex - 127.0.0.2 - 1/1/1/1");
    first->close();
    second->close();
    QApplication::processEvents();
    EXPECT_EQ(frame->windowTitle(), "Quorlex");
}

// Ctrl+P is the main window's: it prints the active detail window from the
// tree as from the window itself; Print Direct and Print Preview reach it too.
TEST_F(MainFrameTest, PrintCommandsReachTheActiveDetailWindowFromAnywhere)
{
    auto frame = MakeFrame();
    auto* bar = qobject_cast<CTransmitterBar*>(frame->transmitterDock());
    ASSERT_NE(bar, nullptr);
    bar->Attach({});
    frame->show();
    QApplication::setActiveWindow(frame.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    EXPECT_FALSE(frame->action(FilePrint)->isEnabled());

    auto* view = new PrintableView;
    frame->AddChild(new CChildFrame(RadioKind::Dis, view));
    for (int id : {FilePrint, FilePrintDirect, FilePrintPreview})
        EXPECT_TRUE(frame->action(id)->isEnabled()) << id;

    bar->tree()->setFocus();
    ASSERT_TRUE(bar->tree()->hasFocus());
    QTest::keyClick(bar->tree(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(view->prints, 1);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(view->prints, 2);

    frame->action(FilePrintDirect)->trigger();
    frame->action(FilePrintPreview)->trigger();
    EXPECT_EQ(view->directPrints, 1);
    EXPECT_EQ(view->previews, 1);
}

TEST_F(MainFrameTest, CloseAllClosesEveryDetailWindow)
{
    auto frame = MakeFrame();
    frame->show();
    QList<QPointer<CChildFrame>> children;
    for (RadioKind kind : {RadioKind::Hla, RadioKind::Dis, RadioKind::Dis}) {
        children.append(new CChildFrame(kind));
        frame->AddChild(children.back());
    }
    EXPECT_EQ(frame->Children(RadioKind::Dis).size(), 2);
    EXPECT_EQ(frame->Children(RadioKind::Hla).size(), 1);

    frame->action(WindowCloseAll)->trigger();
    // Closed once the event loop runs, not under the caller's feet.
    EXPECT_EQ(frame->mdiArea()->subWindowList().size(), 3);
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents(QEventLoop::AllEvents);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (const auto& child : children)
        EXPECT_TRUE(child.isNull());
    EXPECT_TRUE(frame->mdiArea()->subWindowList().isEmpty());
    EXPECT_FALSE(frame->menu("WindowMenu")->menuAction()->isVisible());
    EXPECT_EQ(frame->windowTitle(), "Quorlex");
}

TEST_F(MainFrameTest, TilingArrangesTheWindowsWithoutOverlap)
{
    auto frame = MakeFrame();
    frame->show();
    for (int i = 0; i < 3; ++i)
        frame->AddChild(new CChildFrame(RadioKind::Dis));
    const QList<QMdiSubWindow*> windows = frame->mdiArea()->subWindowList(QMdiArea::CreationOrder);
    const QRect area = frame->mdiArea()->viewport()->rect();

    CMdiLayout::TileHorizontally(*frame->mdiArea());   // one above another
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(windows[i]->geometry().width(), area.width());
        if (i > 0) {
            EXPECT_GE(windows[i]->geometry().top(), windows[i - 1]->geometry().bottom());
        }
    }
    CMdiLayout::TileVertically(*frame->mdiArea());   // side by side
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(windows[i]->geometry().height(), area.height());
        if (i > 0) {
            EXPECT_GE(windows[i]->geometry().left(), windows[i - 1]->geometry().right());
        }
    }
}

TEST_F(MainFrameTest, MenusAndToolbarCarryTheirCommands)
{
    auto frame = MakeFrame();
    auto texts = [](const QList<QAction*>& actions) {
        QStringList list;
        for (QAction* action : actions)
            if (!action->isSeparator())
                list << action->text();
        return list;
    };
    EXPECT_EQ(texts(frame->menu("FileMenu")->actions()), QStringList({"E&xit"}));
    EXPECT_EQ(texts(frame->menu("EditMenu")->actions()), QStringList({"&Preferences"}));
    EXPECT_EQ(texts(frame->menu("ViewMenu")->actions()),
              QStringList({"&Toolbar", "&Status Bar", "T&ransmitter Bar", "&Details", "&All Details", "Re&fresh"}));
    EXPECT_EQ(texts(frame->menu("LogMenu")->actions()), QStringList({"&Start Logging"}));
    EXPECT_EQ(texts(frame->menu("HelpMenu")->actions()), QStringList({"&Contents", "&About Quorlex..."}));
    EXPECT_EQ(texts(frame->menu("WindowMenu")->actions()),
              QStringList({"&Cascade", "Tile &Horizontally", "Tile &Vertically", "&Arrange Icons", "C&lose All"}));

    auto* toolBar = frame->findChild<QToolBar*>("MainToolBar");
    ASSERT_NE(toolBar, nullptr);
    QList<int> ids;
    for (QAction* action : toolBar->actions())
        ids << (action->isSeparator() ? 0 : action->data().toInt());
    EXPECT_EQ(ids, QList<int>({EditPreferences, ViewDetails, ViewRawData, LogStartLogging, 0, AppAbout}));
    EXPECT_EQ(frame->transmitterDock()->windowTitle(), "Transmitters");
}

}   // namespace
