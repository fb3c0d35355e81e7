#include "CLoggingController.h"

#include "CStartLogDlg.h"
#include "CStopLoggingDlg.h"
#include "IMessageReporter.h"
#include "engine/CPduLogger.h"

#include <string>
#include <utility>

CLoggingController::CLoggingController(CPduLogger& logger, CProfile& profile, IMessageReporter& reporter,
                                       QObject* parent)
    : QObject(parent), m_logger(logger), m_profile(profile), m_reporter(reporter)
{
}

CLoggingController::~CLoggingController() { StopLogging(); }

bool CLoggingController::IsLogging() const { return m_logger.IsLogging() || m_stopWindow; }

CStopLoggingDlg* CLoggingController::stopWindow() const { return m_stopWindow; }

void CLoggingController::OnLogStartLogging()
{
    if (IsLogging()) {
        StopLogging();
        return;
    }
    // The dialog comes back, with the values just entered, until the file
    // opens or the user gives up.
    for (;;) {
        CStartLogDlg dialog(m_profile, m_parentWindow);
        if (dialog.exec() != QDialog::Accepted)
            return;
        std::string error;
        if (m_logger.Start(dialog.settings(), error))
            break;
        m_reporter.ShowError(QString::fromStdString(error));
    }
    m_stopWindow = new CStopLoggingDlg(m_parentWindow);
    connect(m_stopWindow, &CStopLoggingDlg::stopLogging, this, &CLoggingController::OnStopWindowDone);
    m_stopWindow->show();
}

void CLoggingController::StopLogging()
{
    m_logger.Stop();
    if (QPointer<CStopLoggingDlg> window = std::exchange(m_stopWindow, nullptr))
        window->Dismiss();
}

void CLoggingController::OnStopWindowDone()
{
    m_stopWindow = nullptr;
    m_logger.Stop();
}
