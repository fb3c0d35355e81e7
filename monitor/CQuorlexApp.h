// Quorlex's application object: start-up, the application's commands and
// shutdown. One per program, made by main() next to the QApplication.
#pragma once

#include <QObject>

#include <memory>

class CMainFrame;
class CProfile;
class IMessageReporter;

class CQuorlexApp : public QObject {
    Q_OBJECT
public:
    // `profile` and `reporter` must outlive the application object.
    CQuorlexApp(CProfile& profile, IMessageReporter& reporter, QObject* parent = nullptr);
    ~CQuorlexApp() override;

    // Start-up; false when the program must end (the user has been told why).
    bool InitInstance();
    // The main window's close: stops everything that runs.
    void Shutdown();
    // The last work before the program ends; returns the exit code.
    int ExitInstance();

    CMainFrame* mainFrame() const { return m_frame.get(); }

public slots:
    void OnAppAbout();
    void OnEditPreferences();
    void OnLogStartLogging();
    void OnHelpContents();
    void OnWindowCloseAll();

private:
    void ConnectCommands();

    CProfile& m_profile;
    IMessageReporter& m_reporter;
    std::unique_ptr<CMainFrame> m_frame;
    bool m_shutDown = false;
};
