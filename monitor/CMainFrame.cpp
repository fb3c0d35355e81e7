#include "CMainFrame.h"

#include "CKeyLockIndicators.h"
#include "CMdiLayout.h"
#include "CQuorlexIcons.h"
#include "CStatusNotices.h"
#include "CTransmitterBar.h"
#include "IPrintableView.h"
#include "IRawDataView.h"
#include "ITransmitterBar.h"
#include "QuorlexCommands.h"
#include "engine/CProfile.h"
#include "engine/RprRadioAttribute.h"

#include <QAction>
#include <QCloseEvent>
#include <QDataStream>
#include <QDockWidget>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

namespace {

constexpr const char* kAppTitle = "Quorlex";
// Smallest stored size taken as it stands; a smaller one is a damaged profile.
constexpr int kMinFrameWidth = 320;
constexpr int kMinFrameHeight = 200;
// Marks a saved bar layout as ours; a layout of another version is ignored.
constexpr std::uint32_t kBarLayoutTag = 0x51424C31;   // "QBL1"
constexpr int kBarLayoutVersion = 1;

IRawDataView* RawDataViewOf(const CChildFrame* child)
{
    return child ? dynamic_cast<IRawDataView*>(child->view()) : nullptr;
}

IPrintableView* PrintableViewOf(const CChildFrame* child)
{
    return child ? dynamic_cast<IPrintableView*>(child->view()) : nullptr;
}

}   // namespace

CMainFrame::CMainFrame(CProfile& profile, QWidget* parent)
    : QMainWindow(parent), m_profile(profile), m_mdiArea(new QMdiArea(this))
{
    setObjectName("MainFrame");
    setWindowTitle(kAppTitle);
    m_mdiArea->setObjectName("MdiArea");
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    setDockOptions(dockOptions() | QMainWindow::AllowNestedDocks);

    CreateActions();
    CreateToolBar();
    CreateStatusBar();
    CreateTransmitterBar();
    CreateMenus();
    RestorePlacement();
    RestoreBarLayout();

    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::UpdateCommandUi);
    UpdateCommandUi();
}

CMainFrame::~CMainFrame()
{
    // The windows below are destroyed after this object's own part is gone;
    // the signals they send on the way out must not reach it.
    disconnect(m_mdiArea, nullptr, this, nullptr);
    for (QMdiSubWindow* window : m_mdiArea->subWindowList())
        disconnect(window, nullptr, this, nullptr);
    disconnect(m_transmitterDock, nullptr, this, nullptr);
}

QMenu* CMainFrame::menu(const QString& objectName) const
{
    return menuBar()->findChild<QMenu*>(objectName, Qt::FindDirectChildrenOnly);
}

QAction* CMainFrame::AddAction(int commandId, const QString& text, const QString& statusTip, QAction* existing)
{
    QAction* action = existing ? existing : new QAction(this);
    action->setText(text);
    action->setData(commandId);
    action->setStatusTip(statusTip);
    const QIcon icon = CQuorlexIcons::ForCommand(commandId);
    if (!icon.isNull())
        action->setIcon(icon);
    m_actions.insert(commandId, action);
    return action;
}

void CMainFrame::CreateActions()
{
    using namespace QuorlexCommand;
    AddAction(AppExit, "E&xit", "Quit Quorlex")->setShortcut(QKeySequence::Quit);
    AddAction(EditPreferences, "&Preferences", "Change the network, HLA and display settings");
    AddAction(LogStartLogging, "&Start Logging", "Capture the received PDUs into a log file");
    AddAction(HelpContents, "&Contents", "Show the help pages")->setShortcut(QKeySequence::HelpContents);
    AddAction(AppAbout, "&About Quorlex...", "Show the program's version and copyright");

    QAction* details = AddAction(ViewDetails, "&Details", "Open the detail window of the selected radio");
    AddAction(ViewAllDetails, "&All Details", "Open the detail windows of every radio under the selected item");
    AddAction(ViewRefresh, "Re&fresh", "Rebuild the tree and ask the HLA federation for every radio's values");
    QAction* rawData = AddAction(ViewRawData, "&Raw Data",
                                 "Show the stored record, in this computer's byte order, as a hexadecimal dump");
    rawData->setCheckable(true);

    QAction* statusBarAction = AddAction(ViewStatusBar, "&Status Bar", "Show or hide the status bar");
    statusBarAction->setCheckable(true);
    statusBarAction->setChecked(true);
    connect(statusBarAction, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });

    // The print commands are in no menu; the window holds them, so that
    // Ctrl+P works wherever the focus is (tree, toolbar, detail window).
    AddAction(FilePrint, "&Print...", "Print the active detail window")->setShortcut(QKeySequence::Print);
    AddAction(FilePrintDirect, "Print &Direct", "Print the active detail window on the default printer");
    AddAction(FilePrintPreview, "Print Pre&view...", "Show the printout of the active detail window");
    addActions({action(FilePrint), action(FilePrintDirect), action(FilePrintPreview)});

    AddAction(WindowCascade, "&Cascade", "Arrange the windows so that they overlap");
    AddAction(WindowTileHorz, "Tile &Horizontally", "Arrange the windows one above another");
    AddAction(WindowTileVert, "Tile &Vertically", "Arrange the windows side by side");
    AddAction(WindowArrange, "&Arrange Icons", "Line up the minimised windows along the bottom");
    AddAction(WindowCloseAll, "C&lose All", "Close every detail window");

    connect(action(AppExit), &QAction::triggered, this, &QWidget::close);
    connect(details, &QAction::triggered, this, &CMainFrame::OnViewDetails);
    connect(action(ViewAllDetails), &QAction::triggered, this, &CMainFrame::OnViewAllDetails);
    connect(action(ViewRefresh), &QAction::triggered, this, &CMainFrame::OnViewRefresh);
    connect(rawData, &QAction::triggered, this, &CMainFrame::OnViewRawData);
    connect(action(FilePrint), &QAction::triggered, this, &CMainFrame::OnFilePrint);
    connect(action(FilePrintDirect), &QAction::triggered, this, &CMainFrame::OnFilePrintDirect);
    connect(action(FilePrintPreview), &QAction::triggered, this, &CMainFrame::OnFilePrintPreview);
    connect(action(WindowCascade), &QAction::triggered, m_mdiArea, &QMdiArea::cascadeSubWindows);
    connect(action(WindowTileHorz), &QAction::triggered, this, [this] { CMdiLayout::TileHorizontally(*m_mdiArea); });
    connect(action(WindowTileVert), &QAction::triggered, this, [this] { CMdiLayout::TileVertically(*m_mdiArea); });
    connect(action(WindowArrange), &QAction::triggered, this, [this] { CMdiLayout::ArrangeIcons(*m_mdiArea); });
    connect(action(WindowCloseAll), &QAction::triggered, this, &CMainFrame::OnWindowCloseAll);
}

void CMainFrame::CreateMenus()
{
    using namespace QuorlexCommand;
    auto addMenu = [this](const char* objectName, const QString& title) {
        QMenu* menu = menuBar()->addMenu(title);
        menu->setObjectName(objectName);
        return menu;
    };

    QMenu* file = addMenu("FileMenu", "&File");
    file->addAction(action(AppExit));

    addMenu("EditMenu", "&Edit")->addAction(action(EditPreferences));

    // Raw Data is there only while a detail window is open (UpdateCommandUi).
    m_viewMenu = addMenu("ViewMenu", "&View");
    for (int id : {ViewToolbar, ViewStatusBar, ViewTransmitterBar})
        m_viewMenu->addAction(action(id));
    m_viewMenu->addSeparator();
    m_viewMenu->addAction(action(ViewDetails));
    m_viewMenu->addAction(action(ViewAllDetails));
    m_viewMenu->addAction(action(ViewRefresh));
    m_rawDataSeparator = m_viewMenu->addSeparator();
    m_viewMenu->addAction(action(ViewRawData));
    connect(m_viewMenu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUi);

    addMenu("LogMenu", "&Log")->addAction(action(LogStartLogging));

    m_windowMenu = addMenu("WindowMenu", "&Window");
    connect(m_windowMenu, &QMenu::aboutToShow, this, &CMainFrame::FillWindowMenu);
    FillWindowMenu();

    QMenu* help = addMenu("HelpMenu", "&Help");
    help->addAction(action(HelpContents));
    help->addAction(action(AppAbout));
}

void CMainFrame::FillWindowMenu()
{
    using namespace QuorlexCommand;
    m_windowMenu->clear();
    for (int id : {WindowCascade, WindowTileHorz, WindowTileVert, WindowArrange, WindowCloseAll})
        m_windowMenu->addAction(action(id));

    // The open windows, numbered, the active one checked.
    const QList<QMdiSubWindow*> windows = m_mdiArea->subWindowList();
    if (!windows.isEmpty())
        m_windowMenu->addSeparator();
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* window = windows[i];
        const QString prefix = i < 9 ? QString("&%1 ").arg(i + 1) : QString("%1 ").arg(i + 1);
        QAction* entry = m_windowMenu->addAction(prefix + window->windowTitle());
        entry->setCheckable(true);
        entry->setChecked(window == m_mdiArea->currentSubWindow());
        connect(entry, &QAction::triggered, window, [this, window] { m_mdiArea->setActiveSubWindow(window); });
    }
}

void CMainFrame::CreateToolBar()
{
    using namespace QuorlexCommand;
    QToolBar* toolBar = addToolBar("Toolbar");
    toolBar->setObjectName("MainToolBar");
    toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    toolBar->setMovable(true);
    for (int id : {EditPreferences, ViewDetails, ViewRawData, LogStartLogging})
        toolBar->addAction(action(id));
    toolBar->addSeparator();
    toolBar->addAction(action(AppAbout));

    AddAction(ViewToolbar, "&Toolbar", "Show or hide the toolbar", toolBar->toggleViewAction());
}

void CMainFrame::CreateStatusBar()
{
    m_messagePane = new QLabel("Ready", this);
    m_messagePane->setObjectName("MessagePane");
    statusBar()->addWidget(m_messagePane, 1);
    m_keyLocks = new CKeyLockIndicators(statusBar());
    m_notices = new CStatusNotices(statusBar());
}

void CMainFrame::CreateTransmitterBar()
{
    using namespace QuorlexCommand;
    auto* bar = new CTransmitterBar(this);
    bar->RestoreSizes(m_profile);
    m_transmitterDock = bar;
    m_transmitterBar = bar;
    addDockWidget(Qt::LeftDockWidgetArea, m_transmitterDock);

    AddAction(ViewTransmitterBar, "T&ransmitter Bar", "Show or hide the transmitter bar",
              m_transmitterDock->toggleViewAction());
    connect(m_transmitterDock, &QDockWidget::visibilityChanged, this, &CMainFrame::UpdateCommandUi);
    connect(bar, &CTransmitterBar::selectionChanged, this, &CMainFrame::UpdateCommandUi);
}

void CMainFrame::SetTransmitterBar(QWidget* content, ITransmitterBar* bar)
{
    QWidget* old = m_transmitterDock->widget();
    m_transmitterDock->setWidget(content);
    if (old && old != content)
        old->deleteLater();
    m_transmitterBar = bar;
    UpdateCommandUi();
}

void CMainFrame::RestorePlacement()
{
    const QRect stored(m_profile.Read(Profile::Frame::x), m_profile.Read(Profile::Frame::y),
                       m_profile.Read(Profile::Frame::cx), m_profile.Read(Profile::Frame::cy));
    m_storedMaximised = m_profile.Read(Profile::Frame::Max) != 0;

    // A stored placement is used unless it lies on no screen any more (a
    // monitor that was unplugged); it is never made smaller than usable.
    const bool none = stored.x() == 0 && stored.y() == 0 && stored.width() == 0 && stored.height() == 0;
    const QRect wanted(stored.topLeft(),
                       QSize(std::max(stored.width(), kMinFrameWidth), std::max(stored.height(), kMinFrameHeight)));
    bool onScreen = false;
    for (const QScreen* screen : QGuiApplication::screens())
        onScreen = onScreen || screen->availableGeometry().intersects(wanted);
    if (!none && onScreen) {
        setGeometry(wanted);
        return;
    }
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QRect available = primary ? primary->availableGeometry() : QRect(0, 0, 1024, 768);
    // The default: three quarters of the screen, centred.
    const QSize size(available.width() * 3 / 4, available.height() * 3 / 4);
    setGeometry(QRect(available.center() - QPoint(size.width() / 2, size.height() / 2), size));
}

// The stored layout: a tag, the status bar's visibility (which QMainWindow's
// own state leaves out) and QMainWindow's state of the toolbar and the docks.
QByteArray CMainFrame::SaveBarLayout() const
{
    QByteArray layout;
    QDataStream out(&layout, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << kBarLayoutTag << !statusBar()->isHidden() << saveState(kBarLayoutVersion);
    return layout;
}

void CMainFrame::RestoreBarLayout()
{
    const QByteArray layout = m_profile.Read(Profile::BarState::Layout);
    QDataStream in(layout);
    in.setVersion(QDataStream::Qt_6_0);
    std::uint32_t tag = 0;
    bool statusBarShown = true;
    QByteArray state;
    in >> tag >> statusBarShown >> state;
    // A layout that cannot be used as a whole leaves the default one.
    if (in.status() != QDataStream::Ok || tag != kBarLayoutTag || !restoreState(state, kBarLayoutVersion))
        return;
    action(QuorlexCommand::ViewStatusBar)->setChecked(statusBarShown);
}

void CMainFrame::ShowAsStored()
{
    if (m_storedMaximised)
        showMaximized();
    else
        show();
}

void CMainFrame::StoreState()
{
    if (auto* bar = qobject_cast<CTransmitterBar*>(m_transmitterDock))
        bar->StoreSizes(m_profile);
    m_profile.Write(Profile::BarState::Layout, SaveBarLayout());
    // Maximised: only the flag; the normal placement stored before stays,
    // so the window comes back there once it is restored.
    if (windowState() & Qt::WindowMaximized) {
        m_profile.Write(Profile::Frame::Max, 1);
    } else {
        const QRect normal = normalGeometry();
        m_profile.Write(Profile::Frame::x, normal.x());
        m_profile.Write(Profile::Frame::y, normal.y());
        m_profile.Write(Profile::Frame::cx, normal.width());
        m_profile.Write(Profile::Frame::cy, normal.height());
        m_profile.Write(Profile::Frame::Max, 0);
    }
    m_profile.Sync();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    StoreState();
    event->accept();
    emit closing();
}

void CMainFrame::OpenDocumentWindow(const std::shared_ptr<CDetailDoc>& document)
{
    QWidget* view = m_viewFactory ? m_viewFactory(document) : nullptr;
    AddChild(new CChildFrame(document, view));
}

void CMainFrame::ActivateDocumentWindow(const std::shared_ptr<CDetailDoc>& document)
{
    if (CChildFrame* child = FindChild(*document)) {
        if (child->isMinimized())
            child->showNormal();
        m_mdiArea->setActiveSubWindow(child);
    }
}

void CMainFrame::CloseDocumentWindow(const std::shared_ptr<CDetailDoc>& document)
{
    if (CChildFrame* child = FindChild(*document))
        CloseChildLater(child);
}

CChildFrame* CMainFrame::FindChild(const CDetailDoc& document) const
{
    for (QMdiSubWindow* window : m_mdiArea->subWindowList()) {
        auto* child = qobject_cast<CChildFrame*>(window);
        if (child && child->document().get() == &document)
            return child;
    }
    return nullptr;
}

void CMainFrame::AddChild(CChildFrame* child)
{
    m_mdiArea->addSubWindow(child);
    connect(child, &CChildFrame::closed, this, [this](CChildFrame* closed) {
        if (closed->document())
            emit detailWindowClosed(closed->document());
    });
    connect(child, &QMdiSubWindow::windowStateChanged, this, &CMainFrame::UpdateCommandUi);
    connect(child, &QWidget::windowTitleChanged, this, &CMainFrame::UpdateTitle);
    child->show();
    FitChild(child);
    m_mdiArea->setActiveSubWindow(child);
    UpdateCommandUi();
}

void CMainFrame::FitChild(CChildFrame* child)
{
    // The frame's decoration is known once the window shows in the area.
    QWidget* view = child->view();
    if (!view || !view->sizeHint().isValid() || child->isMaximized())
        return;
    const QRect room = m_mdiArea->viewport()->rect();
    const QSize wanted = view->sizeHint() + (child->size() - view->size());
    QRect placed(child->pos(), wanted.boundedTo(room.size()).expandedTo(child->minimumSizeHint()));
    // Moved back inside where the larger window would reach beyond the area.
    placed.moveRight(std::min(placed.right(), room.right()));
    placed.moveBottom(std::min(placed.bottom(), room.bottom()));
    placed.moveTopLeft(QPoint(std::max(placed.left(), room.left()), std::max(placed.top(), room.top())));
    child->setGeometry(placed);
}

QList<CChildFrame*> CMainFrame::Children(RadioKind kind) const
{
    QList<CChildFrame*> children;
    for (QMdiSubWindow* window : m_mdiArea->subWindowList(QMdiArea::CreationOrder)) {
        auto* child = qobject_cast<CChildFrame*>(window);
        if (child && child->kind() == kind)
            children.append(child);
    }
    return children;
}

CChildFrame* CMainFrame::ActiveChild() const
{
    // The current window, even while another top-level window (a dialog) is active.
    return qobject_cast<CChildFrame*>(m_mdiArea->currentSubWindow());
}

void CMainFrame::CloseChildLater(CChildFrame* child)
{
    // Close All and the core may both ask for the same window: it closes once.
    if (child->isClosing())
        return;
    child->SetClosing();
    QPointer<CChildFrame> guarded(child);
    QTimer::singleShot(0, this, [this, guarded] {
        // A window the user closed meanwhile is no longer in the area.
        if (!guarded || !m_mdiArea->subWindowList().contains(guarded))
            return;
        m_mdiArea->setActiveSubWindow(guarded);
        guarded->close();
    });
}

void CMainFrame::OnWindowCloseAll()
{
    for (RadioKind kind : {RadioKind::Dis, RadioKind::Hla})
        for (CChildFrame* child : Children(kind))
            CloseChildLater(child);
}

void CMainFrame::UpdateCommandUi()
{
    using namespace QuorlexCommand;
    const ITransmitterBar* bar = m_transmitterBar;
    auto atLevel = [bar](std::initializer_list<int> levels) {
        if (!bar)
            return false;
        for (int level : levels)
            if (bar->IsSelectionAtLevel(level))
                return true;
        return false;
    };
    action(ViewDetails)->setEnabled(atLevel({3, 5}));
    action(ViewAllDetails)->setEnabled(atLevel({2, 3, 4}));
    action(ViewRefresh)->setEnabled(atLevel({1}) && bar->IsSelectionUnderHla());

    CChildFrame* active = ActiveChild();
    const IRawDataView* rawView = RawDataViewOf(active);
    action(ViewRawData)->setEnabled(rawView != nullptr);
    action(ViewRawData)->setChecked(rawView && rawView->IsRawData());
    const bool printable = PrintableViewOf(active) != nullptr;
    for (int id : {FilePrint, FilePrintDirect, FilePrintPreview})
        action(id)->setEnabled(printable);
    // The detail windows' own menu entries exist only while one is open.
    const bool anyChild = active != nullptr;
    m_rawDataSeparator->setVisible(anyChild);
    if (anyChild != m_viewMenu->actions().contains(action(ViewRawData))) {
        if (anyChild)
            m_viewMenu->addAction(action(ViewRawData));
        else
            m_viewMenu->removeAction(action(ViewRawData));
    }
    m_windowMenu->menuAction()->setVisible(anyChild);
    UpdateTitle();
}

void CMainFrame::UpdateTitle()
{
    // The active window's title once: beside the program's name, or in
    // brackets while the window is maximised, as the platform shows it then
    // (QMdiSubWindow leaves a title that has it already).
    const CChildFrame* active = ActiveChild();
    QString title = kAppTitle;
    if (active && !active->windowTitle().isEmpty())
        title = QString(active->isMaximized() ? "%1 - [%2]" : "%1 - %2").arg(kAppTitle, active->windowTitle());
    if (windowTitle() != title)
        setWindowTitle(title);
}

void CMainFrame::OnReceiverUpdate(const RadioRef& radio)
{
    if (m_transmitterBar)
        m_transmitterBar->UpdateReceiver(radio);
}

void CMainFrame::SweepTree()
{
    if (m_transmitterBar)
        m_transmitterBar->Sweep();
}

void CMainFrame::RemoveHlaRadio(const CRadioReceive& radio)
{
    if (m_transmitterBar)
        m_transmitterBar->RemoveHlaRadio(radio);
}

void CMainFrame::OnViewTransmitterBar() { m_transmitterDock->toggleViewAction()->trigger(); }

void CMainFrame::OpenDetails(bool underHla, const QString& text, std::int64_t itemData)
{
    if (underHla)
        emit openHlaDetail(itemData);
    else
        emit openDisDetail(text);
}

void CMainFrame::OnViewDetails()
{
    if (!m_transmitterBar)
        return;
    QString text;
    std::int64_t itemData = 0;
    const bool underHla = m_transmitterBar->GetSelectedRadio(text, itemData);
    OpenDetails(underHla, text, itemData);
}

void CMainFrame::OnViewAllDetails()
{
    if (!m_transmitterBar)
        return;
    QStringList texts;
    QList<std::int64_t> itemData;
    const bool underHla = m_transmitterBar->CollectRadios(texts, itemData);
    for (qsizetype i = 0; i < texts.size() && i < itemData.size(); ++i)
        OpenDetails(underHla, texts[i], itemData[i]);
}

void CMainFrame::OnViewRefresh()
{
    if (m_transmitterBar)
        m_transmitterBar->ResetTree();
    emit requestAttributeUpdate(0, kAllRadioTransmitterAttributes);
}

void CMainFrame::OnFilePrint() { PrintActiveView(&IPrintableView::OnFilePrint); }
void CMainFrame::OnFilePrintDirect() { PrintActiveView(&IPrintableView::OnFilePrintDirect); }
void CMainFrame::OnFilePrintPreview() { PrintActiveView(&IPrintableView::OnFilePrintPreview); }

void CMainFrame::PrintActiveView(void (IPrintableView::*print)())
{
    if (IPrintableView* view = PrintableViewOf(ActiveChild()))
        (view->*print)();
}

void CMainFrame::OnViewRawData()
{
    if (IRawDataView* view = RawDataViewOf(ActiveChild()))
        view->ToggleRawData();
    UpdateCommandUi();
}
