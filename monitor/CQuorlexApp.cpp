#include "CQuorlexApp.h"

#include "CAboutDlg.h"
#include "CHelpPage.h"
#include "CMainFrame.h"
#include "IMessageReporter.h"
#include "QuorlexCommands.h"
#include "core/CProfile.h"

#include <QAction>
#include <QCoreApplication>
#include <QStatusBar>

CQuorlexApp::CQuorlexApp(CProfile& profile, IMessageReporter& reporter, QObject* parent)
    : QObject(parent), m_profile(profile), m_reporter(reporter)
{
}

CQuorlexApp::~CQuorlexApp()
{
    Shutdown();
}

bool CQuorlexApp::InitInstance()
{
    m_frame = std::make_unique<CMainFrame>(m_profile);
    ConnectCommands();
    connect(m_frame.get(), &CMainFrame::closing, this, &CQuorlexApp::Shutdown);
    m_frame->ShowAsStored();
    return true;
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

void CQuorlexApp::Shutdown()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
}

int CQuorlexApp::ExitInstance()
{
    Shutdown();
    m_frame.reset();
    return 0;
}

void CQuorlexApp::OnAppAbout()
{
    CAboutDlg about(m_frame.get());
    about.exec();
}

void CQuorlexApp::OnEditPreferences()
{
    // The preference pages are not built yet.
}

void CQuorlexApp::OnLogStartLogging()
{
    // The Start Logging dialog is not built yet.
}

void CQuorlexApp::OnHelpContents()
{
    const QString page = CHelpPage::Resolve(m_profile.Read(Profile::Settings::HelpIndex),
                                            QCoreApplication::applicationDirPath());
    if (!CHelpPage::Open(page) && m_frame)
        m_frame->statusBar()->showMessage(QString("Cannot open the help page %1").arg(page), 10000);
}

void CQuorlexApp::OnWindowCloseAll()
{
    if (m_frame)
        m_frame->OnWindowCloseAll();
}
