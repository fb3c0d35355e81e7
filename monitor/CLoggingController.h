// The Start Logging command and the "Logging..." window around the PDU
// logging engine: the command asks for the file and options, opens the file
// (asking again when it cannot be opened) and shows the window whose Stop
// Logging button ends the capture; the command stops a running capture.
// GUI thread only.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

class CPduLogger;
class CProfile;
class CStopLoggingDlg;
class IMessageReporter;

class CLoggingController : public QObject {
    Q_OBJECT
public:
    // All three must outlive the controller.
    CLoggingController(CPduLogger& logger, CProfile& profile, IMessageReporter& reporter, QObject* parent = nullptr);
    ~CLoggingController() override;

    // The window the dialogs belong to.
    void SetParentWindow(QWidget* window) { m_parentWindow = window; }

    // True from a successful start until the capture is stopped; a capture
    // that ended by itself (a failed write) counts until the user stops it,
    // since its window still shows.
    bool IsLogging() const;
    CStopLoggingDlg* stopWindow() const;

public slots:
    void OnLogStartLogging();
    void StopLogging();

private:
    void OnStopWindowDone();

    CPduLogger& m_logger;
    CProfile& m_profile;
    IMessageReporter& m_reporter;
    QPointer<QWidget> m_parentWindow;
    QPointer<CStopLoggingDlg> m_stopWindow;
};
