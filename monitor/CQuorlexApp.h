// Quorlex's application object: start-up, the 250 ms tick, the application's
// commands and shutdown, around the application core (radio list, PDU and
// HLA handlers, detail documents, log). One per program, made by main() next
// to the QApplication; everything here runs on the GUI thread.
#pragma once

#include "CLoggingController.h"
#include "QuickViewFlags.h"
#include "TransmitterTreeHost.h"
#include "engine/CQuorlexAppCore.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CHlaInputPump;
class CMainFrame;
class CMainFrameLink;
class CNetMgr;
class CPreferencesSheet;
class CProfile;
class IMessageReporter;

class CQuorlexApp : public QObject, public CQuorlexAppCore {
    Q_OBJECT
public:
    static constexpr int kTickMs = 250;
    static constexpr const char* kNetManagerFailed = "Timed out waiting for net manager to initialize.";
    static constexpr const char* kIntakeReopenFailed =
        "DIS monitoring cannot receive on the new network port or multicast address.";
    // Status-bar notices (CStatusNotices) and what they say.
    static constexpr const char* kSharedPortNotice = "SharedPort";
    static constexpr const char* kHlaLostNotice = "HlaLost";
    static constexpr const char* kHlaLostPane = "HLA federation lost";
    // How often the application looks whether another program shares the
    // DIS port: every this many ticks.
    static constexpr std::uint32_t kSharedPortCheckTicks = 4;
    // What the operator is told, once, when the federation is lost.
    static QString HlaLostText(const QString& federation, bool disGoesOn);

    // Makes the HLA manager for a FOM version. Without one the application
    // makes its RPR FOM 1.0 federate, for every version.
    using HlaManagerFactory = std::function<std::unique_ptr<IHlaManager>(const QString& fomVersion)>;

    // `profile` and `reporter` must outlive the application object.
    CQuorlexApp(CProfile& profile, IMessageReporter& reporter, HlaManagerFactory makeHlaManager = {},
                QObject* parent = nullptr);
    ~CQuorlexApp() override;

    // Start-up, in this order: the DIS intake, the HLA federation, the main
    // frame, the tick. False when the program must end: the user has been
    // told why, everything started is stopped again and no window was shown.
    // A federation that cannot be joined ends the program only when there is
    // no DIS traffic to watch; otherwise DIS monitoring goes on alone.
    bool InitInstance();
    // Where the HLA federate looks for its FED file (by default the current
    // directory, then the program's); before InitInstance.
    void SetHlaFedDirectories(std::vector<std::string> directories) { m_hlaFedDirectories = std::move(directories); }
    // The main window's close: stops the tick, stops the intake and joins
    // its threads, resigns from the federation, detaches the frame.
    void Shutdown();
    // The last work before the program ends: the window and the radio
    // records go. Returns the exit code.
    int ExitInstance();

    // One tick of the 250 ms timer (the timer calls it; tests may too).
    void OnTick();

    CMainFrame* mainFrame() const { return m_frame.get(); }
    CNetMgr* netManager() const { return m_netManager.get(); }
    const QTimer& tickTimer() const { return m_tickTimer; }
    // What ticks the RTI when its input arrives; null without a federation.
    CHlaInputPump* hlaInputPump() const { return m_hlaInputPump.get(); }
    std::int32_t treeType() const { return m_treeType; }
    bool isDisEnabled() const { return m_disEnabled; }
    bool isHlaEnabled() const { return m_hlaEnabled; }
    const QuickViewFlags& quickView() const { return m_quickView; }
    void setQuickView(const QuickViewFlags& flags) { m_quickView = flags; }
    const CLoggingController& logging() const { return m_logging; }

public slots:
    void OnAppAbout();
    void OnEditPreferences();
    void OnLogStartLogging();
    void OnHelpContents();
    void OnWindowCloseAll();

private:
    bool StartNetManager();
    bool StartHla();
    std::unique_ptr<IHlaManager> MakeHlaFederate();
    void StopNetManager();
    void CreateMainFrame();
    // From now on the RTI is ticked as soon as its input arrives too.
    void StartHlaInputPump();
    // What the transmitter bar reads from the application.
    TransmitterTreeHost TreeHost();
    void ConnectCommands();
    // Tells the user about unusable profile values (once the window shows).
    void ShowProfileProblems();
    // Tells the user, once, what the intake has to say about its socket.
    void ShowIntakeNotice();
    // Shows the shared-port notice while another program shares the DIS
    // port, and logs each time the port becomes shared.
    void ShowPortSharing();
    // The federation is lost: no more ticks; the operator is told once.
    void OnHlaFederationLost(const std::string& federation) override;
    // Takes over what the confirmed Preferences sheet changed.
    void ApplyPreferences(const CPreferencesSheet& sheet);
    // Tells the user when the intake's socket did not open again on a new
    // port or group (the intake then receives nothing until the next change).
    void ReportIntakeReopen(bool opened);

    CProfile& m_profile;
    IMessageReporter& m_reporter;
    HlaManagerFactory m_makeHlaManager;
    std::vector<std::string> m_hlaFedDirectories;

    std::int32_t m_treeType = 0;
    bool m_disEnabled = false;
    bool m_hlaEnabled = false;
    QuickViewFlags m_quickView;
    CLoggingController m_logging;

    std::unique_ptr<CNetMgr> m_netManager;
    std::unique_ptr<CMainFrame> m_frame;
    std::shared_ptr<CMainFrameLink> m_frameLink;
    QTimer m_tickTimer;
    std::unique_ptr<CHlaInputPump> m_hlaInputPump;
    std::uint16_t m_sharedPortShown = 0;   // the port the notice is about; 0: none shown
    bool m_shutDown = false;
};
