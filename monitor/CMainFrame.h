// Quorlex's main window: menus, toolbar, status bar, the docked transmitter
// bar and the MDI area that holds the detail windows.
#pragma once

#include "CChildFrame.h"

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class CDetailDoc;
class CKeyLockIndicators;
class CStatusNotices;
class CProfile;
class IPrintableView;
class ITransmitterBar;
class QAction;
class QDockWidget;
class QLabel;
class QMdiArea;
class QMenu;
class CRadioReceive;
struct RadioRef;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // Restores the normal placement (profile section Frame) and the bar
    // layout (BarState) from `profile`, which must outlive the frame.
    explicit CMainFrame(CProfile& profile, QWidget* parent = nullptr);
    ~CMainFrame() override;

    QMdiArea* mdiArea() const { return m_mdiArea; }
    // The action of a command id (QuorlexCommands.h), or null.
    QAction* action(int commandId) const { return m_actions.value(commandId); }
    QMenu* menu(const QString& objectName) const;

    // Shows the window maximised when it was maximised at the last exit,
    // else as a normal window.
    void ShowAsStored();
    bool storedMaximised() const { return m_storedMaximised; }
    // Writes the placement (Frame) and the bar layout (BarState); done when
    // the window closes.
    void StoreState();

    // The transmitter bar: the dock "Transmitters" (a CTransmitterBar, empty
    // until the application attaches its tree) and what the frame asks of it.
    QDockWidget* transmitterDock() const { return m_transmitterDock; }
    ITransmitterBar* transmitterBar() const { return m_transmitterBar; }
    // Replaces the dock's content and what the frame asks (tests use this);
    // `content` goes into the dock, which owns it. Call UpdateCommandUi on
    // selection changes.
    void SetTransmitterBar(QWidget* content, ITransmitterBar* bar);

    // The notices that stay in the status bar while what they tell holds.
    CStatusNotices* statusNotices() const { return m_notices; }

    // Makes the view of a detail document's window; without one (or when it
    // gives null) the window shows an empty view.
    using ViewFactory = std::function<QWidget*(const std::shared_ptr<CDetailDoc>& document)>;
    void SetViewFactory(ViewFactory factory) { m_viewFactory = std::move(factory); }

    // Detail windows.
    void OpenDocumentWindow(const std::shared_ptr<CDetailDoc>& document);
    void ActivateDocumentWindow(const std::shared_ptr<CDetailDoc>& document);
    void CloseDocumentWindow(const std::shared_ptr<CDetailDoc>& document);
    CChildFrame* FindChild(const CDetailDoc& document) const;
    void AddChild(CChildFrame* child);
    QList<CChildFrame*> Children(RadioKind kind) const;
    CChildFrame* ActiveChild() const;
    // Activates `child` and closes it once the event loop runs again, so a
    // caller inside one of the window's own handlers is not pulled away.
    void CloseChildLater(CChildFrame* child);

public slots:
    // Enables, checks and shows the commands from the current state: the
    // tree selection, the active detail window, the bars' visibility.
    void UpdateCommandUi();
    // What the application core asks of the transmitter tree.
    void OnReceiverUpdate(const RadioRef& radio);
    void SweepTree();
    void RemoveHlaRadio(const CRadioReceive& radio);

    void OnViewTransmitterBar();
    void OnViewDetails();
    void OnViewAllDetails();
    void OnViewRefresh();
    void OnViewRawData();
    // Print (Ctrl+P), Print Direct and Print Preview of the active detail window.
    void OnFilePrint();
    void OnFilePrintDirect();
    void OnFilePrintPreview();
    // Window > Close All: the DIS detail windows, then the HLA ones.
    void OnWindowCloseAll();

signals:
    // The Details commands ask the application to open a radio's window.
    void openDisDetail(const QString& key);
    void openHlaDetail(std::int64_t objectHandle);
    // Refresh asks for the radio-transmitter attributes of the whole class.
    void requestAttributeUpdate(std::uint32_t objectHandle, std::uint32_t attributeMask);
    // The user (or Close All) closed a document's window.
    void detailWindowClosed(const std::shared_ptr<CDetailDoc>& document);
    // The window is closing; its state is already stored.
    void closing();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void CreateTransmitterBar();
    void RestorePlacement();
    void RestoreBarLayout();
    QByteArray SaveBarLayout() const;

    // Registers an action under its command id (a new one, or `existing`).
    QAction* AddAction(int commandId, const QString& text, const QString& statusTip, QAction* existing = nullptr);
    void FillWindowMenu();
    void UpdateTitle();
    void OpenDetails(bool underHla, const QString& text, std::int64_t itemData);
    // Sizes a new detail window to its view's page, within the area.
    void FitChild(CChildFrame* child);
    void PrintActiveView(void (IPrintableView::*print)());

    CProfile& m_profile;
    QMdiArea* m_mdiArea;
    QHash<int, QAction*> m_actions;
    QMenu* m_viewMenu = nullptr;
    QMenu* m_windowMenu = nullptr;
    QAction* m_rawDataSeparator = nullptr;
    QDockWidget* m_transmitterDock = nullptr;
    ITransmitterBar* m_transmitterBar = nullptr;
    QLabel* m_messagePane = nullptr;
    CKeyLockIndicators* m_keyLocks = nullptr;
    CStatusNotices* m_notices = nullptr;
    bool m_storedMaximised = false;
    ViewFactory m_viewFactory;
};
