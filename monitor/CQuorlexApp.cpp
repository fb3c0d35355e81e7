#include "CQuorlexApp.h"

#include "CAboutDlg.h"
#include "CDetailView.h"
#include "CDisplayPropsDlg.h"
#include "CGuiPost.h"
#include "CHelpPage.h"
#include "CHlaInputPump.h"
#include "CMainFrame.h"
#include "CMainFrameLink.h"
#include "CNetworkPropsDlg.h"
#include "CPreferencesSheet.h"
#include "CQuickViewPropsDlg.h"
#include "CStatusNotices.h"
#include "CTransmitterBar.h"
#include "IMessageReporter.h"
#include "ITransmitterBar.h"
#include "QuorlexCommands.h"
#include "engine/CNetMgr.h"
#include "engine/CProfile.h"
#include "engine/NetOptions.h"
#include "hla/CHLAMgrRpr10.h"
#include "hla/CHlaAppLink.h"

#include <QAction>
#include <QCoreApplication>
#include <QStatusBar>

namespace {

constexpr int kStatusMessageMs = 10000;

// A log session that stopped by itself (a failed write) is reported in a
// message box; the writer thread only hands the text over.
class LogErrorBox final : public ILogErrorReporter {
public:
    LogErrorBox(QObject* context, IMessageReporter& reporter) : m_post(context), m_reporter(reporter) {}
    ~LogErrorBox() override { m_post.Disarm(); }
    void ReportLogError(const std::string& message) override
    {
        m_post.Post([&reporter = m_reporter, text = QString::fromStdString(message)] { reporter.ShowError(text); });
    }

private:
    CGuiPost m_post;
    IMessageReporter& m_reporter;
};

}   // namespace

CQuorlexApp::CQuorlexApp(CProfile& profile, IMessageReporter& reporter, HlaManagerFactory makeHlaManager,
                         QObject* parent)
    : QObject(parent), m_profile(profile), m_reporter(reporter), m_makeHlaManager(std::move(makeHlaManager)),
      m_logging(GetLogger(), profile, reporter)
{
    m_tickTimer.setInterval(kTickMs);
    m_tickTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_tickTimer, &QTimer::timeout, this, &CQuorlexApp::OnTick);
    GetLogger().SetErrorReporter(std::make_shared<LogErrorBox>(this, m_reporter));
}

CQuorlexApp::~CQuorlexApp()
{
    Shutdown();
    GetLogger().Stop();
}

bool CQuorlexApp::InitInstance()
{
    m_treeType = m_profile.Read(Profile::Properties::TreeType);
    SetTimeout(m_profile.Read(Profile::Properties::Timeout));
    m_disEnabled = m_profile.Read(Profile::Properties::DISEnabled) != 0;
    if (m_disEnabled && !StartNetManager())
        return false;
    m_hlaEnabled = m_profile.Read(Profile::Properties::HLAEnabled) != 0;
    if (m_hlaEnabled && !StartHla()) {
        // The federate has told the user why. An operator watching DIS keeps
        // watching it; with nothing else to watch the program ends.
        m_hlaEnabled = false;
        if (!m_disEnabled)
            return false;
    }
    CreateMainFrame();
    m_quickView = QuickViewFlags::FromProfile(m_profile);
    m_tickTimer.start();
    StartHlaInputPump();
    // After the window has appeared, so that the message has something to sit on.
    QTimer::singleShot(0, this, &CQuorlexApp::ShowProfileProblems);
    return true;
}

bool CQuorlexApp::StartNetManager()
{
    m_netManager = std::make_unique<CNetMgr>(static_cast<IPduHandler&>(*this));
    if (!m_netManager->Start(NetOptions::FromProfile(m_profile))) {
        // Said at once rather than after a wait: the socket will not open.
        QStringList details{QString::fromStdString(m_netManager->ErrorText())};
        details += m_profile.TakeProblems();
        m_netManager.reset();
        m_reporter.ShowError(kNetManagerFailed, details.join('\n'));
        return false;
    }
    return true;
}

bool CQuorlexApp::StartHla()
{
    const QString federation = m_profile.Read(Profile::Properties::HLAFederation);
    const QString fomVersion = m_profile.Read(Profile::Properties::HLAFOMVersion);
    std::unique_ptr<IHlaManager> manager = m_makeHlaManager ? m_makeHlaManager(fomVersion) : MakeHlaFederate();
    // A failed join has told the user why; the core drops the manager.
    return CQuorlexAppCore::StartHla(std::move(manager), federation.toStdString());
}

std::unique_ptr<IHlaManager> CQuorlexApp::MakeHlaFederate()
{
    // Every FOM version gets the RPR FOM 1.0 federate.
    auto link = std::make_shared<CHlaAppLink>(static_cast<CQuorlexAppCore&>(*this), [this](const std::string& text) {
        m_reporter.ShowError(QString::fromStdString(text));
    });
    auto manager = std::make_unique<CHLAMgrRpr10>(std::move(link));
    if (!m_hlaFedDirectories.empty())
        manager->SetFedDirectories(m_hlaFedDirectories);
    return manager;
}

void CQuorlexApp::StartHlaInputPump()
{
    // Once the frame exists: what the RTI delivers before lands nowhere.
    IHlaManager* hla = GetHlaManager();
    if (!hla)
        return;
    const std::vector<int> descriptors = hla->InputDescriptors();
    if (!descriptors.empty())
        m_hlaInputPump = std::make_unique<CHlaInputPump>(descriptors, [this] { return TickHla(); });
}

void CQuorlexApp::StopNetManager()
{
    if (!m_netManager)
        return;
    m_netManager->Stop();   // joins every intake thread
    m_netManager.reset();
}

void CQuorlexApp::CreateMainFrame()
{
    m_frame = std::make_unique<CMainFrame>(m_profile);
    m_frame->SetViewFactory(&CDetailView::Create);
    ConnectCommands();
    connect(m_frame.get(), &CMainFrame::closing, this, &CQuorlexApp::Shutdown);
    connect(m_frame.get(), &CMainFrame::detailWindowClosed, this,
            [this](const std::shared_ptr<CDetailDoc>& document) { OnDocumentClosed(*document); });
    connect(m_frame.get(), &CMainFrame::openDisDetail, this,
            [this](const QString& key) { OpenDisDetail(key.toStdString()); });
    connect(m_frame.get(), &CMainFrame::openHlaDetail, this, [this](std::int64_t handle) {
        if (handle >= 0 && handle <= std::int64_t{UINT32_MAX})
            OpenHlaDetail(static_cast<std::uint32_t>(handle));
    });
    connect(m_frame.get(), &CMainFrame::requestAttributeUpdate, this,
            [this](std::uint32_t object, std::uint32_t mask) { OnRequestAttributeUpdate(object, mask); });

    m_logging.SetParentWindow(m_frame.get());
    if (auto* bar = qobject_cast<CTransmitterBar*>(m_frame->transmitterDock()))
        bar->Attach(TreeHost());
    m_frameLink = std::make_shared<CMainFrameLink>(*m_frame);
    AttachMainFrame(m_frameLink);   // the PDU handlers now fill the radio records
    m_frame->ShowAsStored();
}

TransmitterTreeHost CQuorlexApp::TreeHost()
{
    // The roots show what is monitored now: DIS and HLA as started, the port
    // the intake is bound to, the federation joined at start-up. Preferences
    // edited since then take effect at the next start (the port at once).
    const QString federation = m_profile.Read(Profile::Properties::HLAFederation);
    TransmitterTreeHost host;
    host.getRadio = [this](const RadioRef& radio) { return GetRadio(radio); };
    host.monitoring = [this, federation] {
        std::int32_t port = m_netManager ? m_netManager->BoundPort() : 0;
        if (port == 0)
            port = m_profile.Read(Profile::Properties::NetworkPort);
        return MonitoringState{m_disEnabled, port, m_hlaEnabled, federation};
    };
    host.quickView = [this] { return m_quickView; };
    host.treeType = [this] { return m_treeType; };
    host.radioSwept = [this](const std::string& key) { OnDisRadioSwept(key); };
    host.itemsReleased = [this](std::uint64_t items) { OnTreeItemsReleased(items); };
    return host;
}

void CQuorlexApp::ConnectCommands()
{
    using namespace QuorlexCommand;
    auto route = [this](int id, void (CQuorlexApp::*handler)()) {
        connect(m_frame->action(id), &QAction::triggered, this, handler);
    };
    route(AppAbout, &CQuorlexApp::OnAppAbout);
    route(EditPreferences, &CQuorlexApp::OnEditPreferences);
    route(LogStartLogging, &CQuorlexApp::OnLogStartLogging);
    route(HelpContents, &CQuorlexApp::OnHelpContents);
    route(WindowCloseAll, &CQuorlexApp::OnWindowCloseAll);
}

void CQuorlexApp::ShowProfileProblems()
{
    const QStringList problems = m_profile.TakeProblems();
    if (!problems.isEmpty())
        m_reporter.ShowWarning("Some of Quorlex's settings cannot be used; their defaults are used instead.",
                               problems.join('\n'));
    ShowIntakeNotice();
}

void CQuorlexApp::ShowIntakeNotice()
{
    if (!m_netManager)
        return;
    const std::string notice = m_netManager->TakeNotice();
    if (!notice.empty())
        m_reporter.ShowWarning(QString::fromStdString(notice));
    ShowPortSharing();
}

void CQuorlexApp::ShowPortSharing()
{
    // DIS monitoring goes on (broadcasts and multicasts reach every program);
    // the operator learns why some radios may be missing, for as long as it
    // may happen, in this program and in the one it shares the port with.
    const std::uint16_t port = m_netManager && m_netManager->IsPortShared() ? m_netManager->BoundPort() : 0;
    if (port == m_sharedPortShown)
        return;
    m_sharedPortShown = port;
    CStatusNotices* notices = m_frame ? m_frame->statusNotices() : nullptr;
    if (port == 0) {
        if (notices)
            notices->Clear(kSharedPortNotice);
        return;
    }
    const QString shared = QString::fromStdString(CNetMgr::SharedPortNotice(port));
    qWarning("Quorlex: %s", qPrintable(shared));
    if (notices)
        notices->Show(kSharedPortNotice, shared);
}

QString CQuorlexApp::HlaLostText(const QString& federation, bool disGoesOn)
{
    QString text = QString("The HLA federation %1 is lost: its rtiexec has ended or closed the connection. "
                           "Its radios have left the tree.")
                       .arg(federation);
    if (disGoesOn)
        text += " DIS monitoring goes on.";
    return text;
}

void CQuorlexApp::OnHlaFederationLost(const std::string& federation)
{
    // A closed connection stays readable: the pump would tick on and on.
    if (m_hlaInputPump)
        m_hlaInputPump->Stop();
    const QString text = HlaLostText(QString::fromStdString(federation), m_netManager != nullptr);
    qWarning("Quorlex: %s", qPrintable(text));
    if (m_frame)
        m_frame->statusNotices()->Show(kHlaLostNotice, kHlaLostPane, text);
    // Once the tick that found it is over.
    QTimer::singleShot(0, this, [this, text] { m_reporter.ShowWarning(text); });
}

void CQuorlexApp::OnTick()
{
    OnTimerTick();
    if (GetTickCount() % kSharedPortCheckTicks == 0)
        ShowPortSharing();
}

void CQuorlexApp::Shutdown()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    m_tickTimer.stop();
    m_hlaInputPump.reset();   // before the resignation closes the RTI's sockets
    StopNetManager();
    ShutdownHla();
    DetachMainFrame();
    if (m_frameLink)
        m_frameLink->Disconnect();
}

int CQuorlexApp::ExitInstance()
{
    Shutdown();
    GetLogger().Stop();
    m_frame.reset();
    m_frameLink.reset();
    DeleteRadios();
    return 0;
}

void CQuorlexApp::OnAppAbout()
{
    CAboutDlg about(m_frame.get());
    about.exec();
}

void CQuorlexApp::OnEditPreferences()
{
    CPreferencesSheet sheet(m_profile, m_reporter, m_frame.get());
    if (sheet.exec() == QDialog::Accepted)
        ApplyPreferences(sheet);
}

void CQuorlexApp::ApplyPreferences(const CPreferencesSheet& sheet)
{
    // Switching DIS or HLA monitoring on or off, and the HLA settings, take
    // effect at the next start.
    bool resetTree = false;
    bool listensElsewhere = false;
    const NetworkPageLogic& dis = sheet.disPage().result();
    if (sheet.WasShown(sheet.disPage()) && dis.disEnabled()) {
        listensElsewhere = dis.portChanged() || dis.multicastChanged();
        // The page refuses ports beyond 16 bits.
        if (dis.portChanged()) {
            if (m_netManager)
                ReportIntakeReopen(m_netManager->SetPort(static_cast<std::uint16_t>(dis.port())));
            resetTree = true;
        }
        if (dis.multicastChanged()) {
            if (m_netManager)
                ReportIntakeReopen(m_netManager->SetMulticastAddress(dis.multicastAddress()));
            resetTree = true;
        }
    }
    if (sheet.WasShown(sheet.quickViewPage()))
        m_quickView = QuickViewFlags::FromProfile(m_profile);   // as the page stored them

    ITransmitterBar* bar = m_frame ? m_frame->transmitterBar() : nullptr;
    const DisplayPageLogic& display = sheet.displayPage().result();
    if (sheet.WasShown(sheet.displayPage())) {
        if (display.timeoutChanged())
            SetTimeout(display.timeout());   // the tick reads it every time
        if (display.treeTypeChanged()) {
            m_treeType = display.treeType();
            if (bar)
                bar->RecreateTree();
            resetTree = true;
        }
    }
    // The radios heard so far belong to the old setting: start afresh. On
    // another port or group they are not heard again: their records go.
    if (resetTree) {
        OnWindowCloseAll();
        if (listensElsewhere)
            ReleaseDisRadios();
        if (bar)
            bar->ResetTree();
    }
}

void CQuorlexApp::ReportIntakeReopen(bool opened)
{
    if (!opened)
        m_reporter.ShowError(kIntakeReopenFailed, QString::fromStdString(m_netManager->ErrorText()));
    ShowIntakeNotice();
}

void CQuorlexApp::OnLogStartLogging() { m_logging.OnLogStartLogging(); }

void CQuorlexApp::OnHelpContents()
{
    const QString page =
        CHelpPage::Resolve(m_profile.Read(Profile::Settings::HelpIndex), QCoreApplication::applicationDirPath());
    if (!CHelpPage::Open(page) && m_frame)
        m_frame->statusBar()->showMessage(QString("Cannot open the help page %1").arg(page), kStatusMessageMs);
}

void CQuorlexApp::OnWindowCloseAll()
{
    CloseAllDetails();
    if (m_frame)
        m_frame->OnWindowCloseAll();   // any window without a document
}
