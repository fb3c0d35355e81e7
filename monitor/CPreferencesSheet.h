// The "Preferences" sheet: the DIS, HLA, Quick View and Display pages as
// tabs. Each page is filled when it is first shown; OK writes the pages that
// were shown (after all of them accepted their values) and closes the sheet,
// Cancel writes nothing. The application then reads the pages' results.
#pragma once

#include <QDialog>
#include <QList>

class CDisplayPropsDlg;
class CHlaPropsDlg;
class CNetworkPropsDlg;
class CProfile;
class CQuickViewPropsDlg;
class IMessageReporter;
class IPreferencePage;
class QTabWidget;
class QWidget;

class CPreferencesSheet : public QDialog {
    Q_OBJECT
public:
    // `reporter` shows why values are refused; both must outlive the sheet.
    CPreferencesSheet(CProfile& profile, IMessageReporter& reporter, QWidget* parent = nullptr);

    CNetworkPropsDlg& disPage() const { return *m_disPage; }
    CHlaPropsDlg& hlaPage() const { return *m_hlaPage; }
    CQuickViewPropsDlg& quickViewPage() const { return *m_quickViewPage; }
    CDisplayPropsDlg& displayPage() const { return *m_displayPage; }
    QTabWidget& tabs() const { return *m_tabs; }

    // Whether the page was shown (and so is written on OK).
    bool WasShown(const QWidget& page) const;

public slots:
    // OK: refused values keep the sheet open on the page that refused them.
    void accept() override;

private:
    void ShowPage(int index);

    IMessageReporter& m_reporter;
    QTabWidget* m_tabs;
    CNetworkPropsDlg* m_disPage;
    CHlaPropsDlg* m_hlaPage;
    CQuickViewPropsDlg* m_quickViewPage;
    CDisplayPropsDlg* m_displayPage;
    // Pages in tab order, and which of them were shown.
    QList<QWidget*> m_pageWidgets;
    QList<IPreferencePage*> m_pages;
    QList<bool> m_shown;
};
